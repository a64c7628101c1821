#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/compute/master_table.h"
#include "results/shell/console.h"
#include "results/shell/options.h"
#include "results/shell/stops.h"

int print_jun[kMaxTeams];
int print_jun_top[kPrintJunTopSize];

namespace {

constexpr int kNoRank = 32767;
constexpr int kNoTime = INT_MAX;           // no section run up to the point
constexpr int kNoCumulative = INT_MAX - 1;  // some section run, but no cumulative time

struct OrderEntry {
  int bumon_no = 0;
  int time_key = 0;
  int rank_key = 0;
  int team_no = 0;
  int open = 0;  // 1 for an open team: a regular team always sorts before it
  int rec_no = 0;
};

// For each division, the highest logical index at which any of its teams has an arrival.
void furthest_points(const EventDefinition& ev, const std::vector<MastRecord>& records,
                     int (&furthest)[kMaxDivisions + 1]) {
  std::fill(std::begin(furthest), std::end(furthest), 0);
  for (const MastRecord& rec : records) {
    if (rec.bumon_no > kMaxDivisions) continue;
    const int sections = team_sections(ev, rec);
    for (int k = sections; k > furthest[rec.bumon_no]; --k) {
      if (!hms_is_none(rec.slots[k].arrival)) {
        furthest[rec.bumon_no] = k;
        break;
      }
    }
  }
}

OrderEntry make_entry(const MastRecord& rec, int b, int rec_no) {
  OrderEntry e;
  e.bumon_no = rec.bumon_no;
  e.team_no = rec.team_no;
  e.open = is_open_team(rec) ? 1 : 0;
  e.rec_no = rec_no;
  if (b < 0) {  // the division does not pass the point: its order is never shown
    e.rank_key = kNoRank;
    e.time_key = kNoTime;
    return e;
  }
  const StationSlot& slot = rec.slots[b];
  e.rank_key = slot.cumulative_rank > 0 ? slot.cumulative_rank : kNoRank;
  e.time_key = hms_to_seconds(slot.cumulative_time);
  if (e.time_key == 0) {
    e.time_key = kNoTime;
    for (int k = 1; k <= b; ++k)
      if (hms_is_set(rec.slots[k].section_time)) e.time_key = kNoCumulative;
  }
  return e;
}

void sort_entries(std::vector<OrderEntry>& entries, int open_position) {
  using E = const OrderEntry&;
  switch (open_position) {
    case 2:  // open teams after the ranked teams, among the unranked by time
      std::sort(entries.begin(), entries.end(), [](E a, E b) {
        return std::tie(a.bumon_no, a.rank_key, a.time_key, a.open, a.team_no) <
               std::tie(b.bumon_no, b.rank_key, b.time_key, b.open, b.team_no);
      });
      break;
    case 3:  // open teams after every regular team, by time
      std::sort(entries.begin(), entries.end(), [](E a, E b) {
        return std::tie(a.bumon_no, a.open, a.time_key, a.rank_key, a.team_no) <
               std::tie(b.bumon_no, b.open, b.time_key, b.rank_key, b.team_no);
      });
      break;
    default:  // open teams among the others by time
      std::sort(entries.begin(), entries.end(), [](E a, E b) {
        return std::tie(a.bumon_no, a.time_key, a.rank_key, a.team_no) <
               std::tie(b.bumon_no, b.time_key, b.rank_key, b.team_no);
      });
  }
}

}  // namespace

void make_print_jun(int point) {
  const EventDefinition& ev = event_definition();
  const std::vector<MastRecord> records = load_master_table();
  int furthest[kMaxDivisions + 1] = {};
  if (point == kFurthestPoint) furthest_points(ev, records, furthest);

  std::vector<OrderEntry> entries;
  entries.reserve(kMaxTeams);
  {
    for (int rec_no = 0; rec_no < static_cast<int>(records.size()) && rec_no < kMaxTeams; ++rec_no) {
      const MastRecord& rec = records[rec_no];
      int b = -1;
      if (point == kFurthestPoint)
        b = rec.bumon_no <= kMaxDivisions ? furthest[rec.bumon_no] : -1;
      else
        b = team_slot_at(event_definition(), rec, point);
      if (b > team_sections(ev, rec)) b = -1;
      entries.push_back(make_entry(rec, b, rec_no));
    }
  }
  sort_entries(entries, option_int("OPEN_TEAM_OUTPUT_POSITION", 1));

  std::fill(std::begin(print_jun), std::end(print_jun), -1);
  std::fill(std::begin(print_jun_top), std::end(print_jun_top), -1);
  int filled = -1;  // last print_jun_top entry filled so far
  const int count = static_cast<int>(entries.size());
  for (int j = 0; j < count; ++j) {
    const OrderEntry& e = entries[j];
    print_jun[j] = e.rec_no;
    if (e.bumon_no > kMaxDivisions) {
      con_print("\n部門No=%d不正 in %s make_print_jun()\n", e.bumon_no, ".\\HKBKESN3");
      fatal_stop();
    }
    while (filled < e.bumon_no) print_jun_top[++filled] = j;
  }
  // Every later division gets an empty range.
  while (filled < kPrintJunTopSize - 1) print_jun_top[++filled] = count;
}

std::vector<GoalEntry> make_goal_order() {
  const EventDefinition& ev = event_definition();
  std::vector<GoalEntry> table;
  table.reserve(kMaxTeams);
  const std::vector<MastRecord> records = load_master_table();
  for (int rec_no = 0; rec_no < static_cast<int>(records.size()) && rec_no < kMaxTeams; ++rec_no) {
    const MastRecord& rec = records[rec_no];
    const int goal = team_sections(ev, rec);
    GoalEntry e;
    e.bumon_no = static_cast<std::int8_t>(rec.bumon_no);
    const HmsTime arrival = rec.slots[goal].arrival;
    const HmsTime start = rec.slots[0].departure;
    e.elapsed_seconds = goal > 0 && hms_is_valid(arrival) && hms_is_valid(start)
                            ? hms_to_seconds(arrival) - hms_to_seconds(start)
                            : INT_MAX;
    e.goal_seq = goal > 0 ? static_cast<std::uint16_t>(rec.slots[goal].input_seq) : 0;
    if (e.goal_seq == 0) e.goal_seq = 65535;
    e.rec_no = rec_no;
    table.push_back(e);
  }
  // Stable: teams whose keys are all equal (no goal time) keep the file order.
  std::stable_sort(table.begin(), table.end(), [](const GoalEntry& a, const GoalEntry& b) {
    return std::tie(a.bumon_no, a.elapsed_seconds, a.goal_seq) <
           std::tie(b.bumon_no, b.elapsed_seconds, b.goal_seq);
  });
  return table;
}
