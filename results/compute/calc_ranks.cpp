#include <algorithm>
#include <vector>

#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/model/master_file.h"
#include "results/shell/options.h"

namespace {

// One team at one logical index: both measures, 0 seconds and rank 0 when not eligible.
struct RankEntry {
  int section_seconds = 0;
  int cumulative_seconds = 0;
  std::int16_t section_rank = 0;
  std::int16_t cumulative_rank = 0;
  int bumon_no = 0;
};

// Which teams may be ranked at all (option RULE_KUKAN_KIKEN).
enum class RankRule { kEveryValidTime = 1, kWhileCumulative = 2, kGoalReached = 3 };

RankRule read_rank_rule() {
  switch (option_int("RULE_KUKAN_KIKEN", 1)) {
    case 2: return RankRule::kWhileCumulative;
    case 3: return RankRule::kGoalReached;
    default: return RankRule::kEveryValidTime;
  }
}

RankEntry make_entry(const MastRecord& rec, int k, int sections, RankRule rule) {
  RankEntry e;
  e.bumon_no = rec.bumon_no;
  if (k > sections || is_open_team(rec)) return e;
  const StationSlot& slot = rec.slots[k];
  if (rule == RankRule::kWhileCumulative && !hms_is_set(slot.cumulative_time)) return e;
  if (rule == RankRule::kGoalReached && !hms_is_set(rec.slots[sections].cumulative_time))
    return e;
  if (hms_is_set(slot.section_time)) {
    e.section_rank = 1;
    e.section_seconds = hms_to_seconds(slot.section_time);
  }
  if (hms_is_set(slot.cumulative_time)) {
    e.cumulative_rank = 1;
    e.cumulative_seconds = hms_to_seconds(slot.cumulative_time);
  }
  return e;
}

// Competition ranking within each division: one plus the number of eligible entries of
// the same division with strictly fewer seconds (1, 1, 3, ...).
void rank_measure(std::vector<RankEntry>& entries, int RankEntry::*seconds,
                  std::int16_t RankEntry::*rank) {
  std::vector<int> sorted[kMaxDivisions + 1];
  for (const RankEntry& e : entries)
    if (e.*rank > 0 && e.bumon_no <= kMaxDivisions) sorted[e.bumon_no].push_back(e.*seconds);
  for (auto& list : sorted) std::sort(list.begin(), list.end());
  for (RankEntry& e : entries) {
    if (e.*rank <= 0 || e.bumon_no > kMaxDivisions) continue;
    const auto& list = sorted[e.bumon_no];
    const auto faster = std::lower_bound(list.begin(), list.end(), e.*seconds) - list.begin();
    e.*rank = static_cast<std::int16_t>(1 + faster);
  }
}

}  // namespace

void calc_ranks() {
  const EventDefinition& ev = event_definition();
  const RankRule rule = read_rank_rule();
  std::vector<RankEntry> entries;
  entries.reserve(kMaxTeams);
  MastRecord rec;
  for (int k = 1; k <= ev.max_kukan; ++k) {
    entries.clear();
    {
      Stream mast = open_mastfile("rb");
      while (mast_read_next(mast, rec)) entries.push_back(make_entry(rec, k, team_sections(ev, rec), rule));
      close_or_stop(mast);
    }
    rank_measure(entries, &RankEntry::section_seconds, &RankEntry::section_rank);
    rank_measure(entries, &RankEntry::cumulative_seconds, &RankEntry::cumulative_rank);

    Stream mast = open_mastfile("r+b");
    for (const RankEntry& e : entries) {
      if (!mast_read_next(mast, rec)) break;  // the file shrank meanwhile: nothing more to store
      rec.slots[k].section_rank = e.section_rank;
      rec.slots[k].cumulative_rank = e.cumulative_rank;
      mast_rewrite(mast, rec);
    }
    close_or_stop(mast);
  }
}
