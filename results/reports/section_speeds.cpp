#include "results/reports/section_speeds.h"

#include <algorithm>
#include <cmath>

#include "results/compute/course.h"
#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"

double section_distance_km(int division, int section) {
  const EventDefinition& ev = event_definition();
  return ev.distances[ev.log_to_phy[division][section]] -
         ev.distances[ev.log_to_phy[division][section - 1]];
}

std::vector<SectionSpeed> collect_section_speeds(int division) {
  const EventDefinition& ev = event_definition();
  std::vector<SectionSpeed> entries;
  if (division < 0 || division >= ev.bumon_suu) return entries;
  Stream mast = open_mastfile("rb");
  MastRecord rec;
  for (int rec_no = 0; mast_read_next(mast, rec); ++rec_no) {
    if (rec.bumon_no != division) continue;
    const int n = team_sections(ev, rec);
    for (int k = 1; k <= n; ++k) {
      const StationSlot& slot = rec.slots[k];
      if (!hms_is_set(slot.section_time)) continue;
      if (static_cast<int>(entries.size()) >= kMaxSpeedEntries) return entries;
      entries.push_back({slot.section_rank,
                         section_distance_km(division, k) / hms_to_hours(slot.section_time),
                         rec_no, k});
    }
  }
  return entries;
}

namespace {

// Speeds are quotients of a distance and a time; two runs at the same true speed (2.75 km
// in 11'00 and 3.5 km in 14'00 are both 15 km/h) may differ in the last bit of the double.
// They count as equal, so they share a rank and keep file order.
bool same_speed(double a, double b) {
  return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

}  // namespace

void sort_fastest_first(std::vector<SectionSpeed>& entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const SectionSpeed& a, const SectionSpeed& b) {
    return a.speed > b.speed && !same_speed(a.speed, b.speed);
  });
}

std::vector<int> shown_speed_ranks(const std::vector<SectionSpeed>& entries) {
  std::vector<int> ranks;
  ranks.reserve(entries.size());
  double previous = -1.0;
  int shown = 0;
  for (std::size_t row = 0; row < entries.size(); ++row) {
    if (row == 0 || !same_speed(entries[row].speed, previous)) shown = static_cast<int>(row) + 1;
    previous = entries[row].speed;
    ranks.push_back(shown);
  }
  return ranks;
}
