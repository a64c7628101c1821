#include <algorithm>
#include <tuple>
#include <vector>

#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/compute/master_table.h"

namespace {

// One team with a cumulative time at the station being looked at.
struct TieEntry {
  int bumon_no = 0;
  int team_no = 0;
  int cumulative_seconds = 0;
  std::uint16_t input_seq = 0;
  int forced_start_station = 0;  // first relay point before with a forced start, 0 for none
  std::size_t rec_no = 0;  // position in the file
  int slot = 0;                  // logical index of the station on the team's course
};

// Physical index of the first relay point before slot b where the team was started by a
// forced start (departure differs from arrival), or 0.
int first_forced_start(const EventDefinition& ev, const MastRecord& rec, int b) {
  for (int j = 1; j < b; ++j)
    if (hms_differ(rec.slots[j].departure, rec.slots[j].arrival))
      return ev.log_to_phy[rec.bumon_no][j];
  return 0;
}

// Gives the ranked entries of one run of equal times consecutive ranks in the order of
// entry. Entries without a rank (open teams, or teams that did not reach the goal under
// rule 3) keep none and take no place in the count: an unranked team never pushes a
// ranked one down, so the first ranked team of the run keeps the shared rank and the
// next slower team's rank still follows the last ranked one of the run.
void spread_run(std::vector<MastRecord>& records, const std::vector<TieEntry>& run) {
  for (const TieEntry& e : run)
    if (e.forced_start_station != 0 || e.input_seq == 0) return;
  std::int16_t offset = 0;
  for (const TieEntry& e : run) {
    StationSlot& slot = records[e.rec_no].slots[e.slot];
    if (slot.cumulative_rank <= 0) continue;
    slot.cumulative_rank = static_cast<std::int16_t>(slot.cumulative_rank + offset);
    if (e.slot == 1 && slot.section_rank > 0)
      slot.section_rank = static_cast<std::int16_t>(slot.section_rank + offset);
    ++offset;
  }
}

}  // namespace

void adjust_same_time_ranks() {
  const EventDefinition& ev = event_definition();
  std::vector<MastRecord> records = load_master_table();
  std::vector<TieEntry> entries;
  entries.reserve(kMaxTeams);
  std::vector<TieEntry> run;
  for (int p = 1; p < ev.eki_suu; ++p) {
    entries.clear();
    for (std::size_t rec_no = 0; rec_no < records.size(); ++rec_no) {
      const MastRecord& rec = records[rec_no];
      const int b = team_slot_at(ev, rec, p);
      if (b <= 0 || b > team_sections(ev, rec)) continue;
      if (!hms_is_set(rec.slots[b].cumulative_time)) continue;
      TieEntry e;
      e.bumon_no = rec.bumon_no;
      e.team_no = rec.team_no;
      e.cumulative_seconds = hms_to_seconds(rec.slots[b].cumulative_time);
      e.input_seq = static_cast<std::uint16_t>(rec.slots[b].input_seq);
      e.forced_start_station = first_forced_start(ev, rec, b);
      e.rec_no = rec_no;
      e.slot = b;
      entries.push_back(e);
    }
    std::sort(entries.begin(), entries.end(), [](const TieEntry& a, const TieEntry& b) {
      return std::tie(a.bumon_no, a.cumulative_seconds, a.input_seq, a.team_no) <
             std::tie(b.bumon_no, b.cumulative_seconds, b.input_seq, b.team_no);
    });
    for (std::size_t start = 0; start < entries.size();) {
      std::size_t end = start + 1;
      while (end < entries.size() && entries[end].bumon_no == entries[start].bumon_no &&
             entries[end].cumulative_seconds == entries[start].cumulative_seconds)
        ++end;
      if (end - start >= 2) {
        run.assign(entries.begin() + static_cast<long>(start), entries.begin() + static_cast<long>(end));
        spread_run(records, run);
      }
      start = end;
    }
  }
  store_master_table(records);
}
