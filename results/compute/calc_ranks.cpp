#include <algorithm>
#include <vector>

#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/compute/master_table.h"
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
  std::vector<MastRecord> records = load_master_table();
  std::vector<RankEntry> entries(records.size());
  for (int k = 1; k <= ev.max_kukan && k <= kMaxSections; ++k) {
    for (std::size_t i = 0; i < records.size(); ++i)
      entries[i] = make_entry(records[i], k, team_sections(ev, records[i]), rule);
    rank_measure(entries, &RankEntry::section_seconds, &RankEntry::section_rank);
    rank_measure(entries, &RankEntry::cumulative_seconds, &RankEntry::cumulative_rank);
    for (std::size_t i = 0; i < records.size(); ++i) {
      records[i].slots[k].section_rank = entries[i].section_rank;
      records[i].slots[k].cumulative_rank = entries[i].cumulative_rank;
    }
  }
  store_master_table(records);
}
