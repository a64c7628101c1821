#include "results/reports/dubious_speeds.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"

namespace {

constexpr int kStationNameWidth = 12;
constexpr int kTeamNameWidth = 24;
constexpr int kTimeWidth = 9;

double section_km(const EventDefinition& ev, int d, int k) {
  return ev.distances[ev.log_to_phy[d][k]] - ev.distances[ev.log_to_phy[d][k - 1]];
}

// km per second scaled to km/h in one division, so that a speed exactly at a limit
// (3.5 km in 8'24 is 25 km/h) compares equal instead of falling a rounding step short.
double section_speed(const EventDefinition& ev, const MastRecord& rec, int k) {
  return section_km(ev, rec.bumon_no, k) * 3600.0 / hms_to_seconds(rec.slots[k].section_time);
}

auto station_order(const DubiousSpeed& e) {
  return std::tuple(e.end_station, e.bumon_no, e.section, e.rec_no);
}

// "%-12s → %-12s %2d区 " and the section distance.
void write_section(Stream& out, const EventDefinition& ev, const DubiousSpeed& e) {
  const int d = e.bumon_no;
  out.printf("%-*s → %-*s %2d区 ", kStationNameWidth,
             ev.station_names[ev.log_to_phy[d][e.section - 1]], kStationNameWidth,
             ev.station_names[ev.log_to_phy[d][e.section]], e.section);
  print_kyori(&out, nullptr, 0, section_km(ev, d, e.section), 6, "km");
}

// "  %3d:%-24s  %s\n" with the team and its division.
void write_team(Stream& out, const EventDefinition& ev, const MastRecord& rec) {
  char team_name[kTeamNameSize] = {};
  std::memcpy(team_name, rec.team_name, kTeamNameSize - 1);
  out.printf("  %3d:%-*s  %s\n", rec.team_no, kTeamNameWidth, team_name,
             ev.division_names[rec.bumon_no]);
}

void write_by_station(Stream& out, Stream& mast, const EventDefinition& ev,
                      const std::vector<DubiousSpeed>& entries, const std::string& stamp) {
  if (entries.empty()) {
    out.write_text("該当なし\n");
    return;
  }
  out.printf("\n*** %s 疑問スピード ***  %s\n\n", event_title().c_str(), stamp.c_str());
  out.printf("%*s距離   スピード    タイム\n", 38, "");
  for (const DubiousSpeed& e : entries) {
    MastRecord rec;
    mast_read(mast, e.rec_no, rec);
    write_section(out, ev, e);
    out.printf(" %6.2fkm/h ", section_speed(ev, rec, e.section));
    hms_print(rec.slots[e.section].section_time, out, kTimeWidth, 1, "");
    write_team(out, ev, rec);
  }
}

void write_grouped(Stream& out, Stream& mast, const EventDefinition& ev,
                   const std::vector<DubiousSpeed>& entries, const std::string& stamp) {
  out.printf("\n*** %s 疑問スピード ***  %s\n", event_title().c_str(), stamp.c_str());
  if (entries.empty()) out.write_text("該当なし\n");
  int group = -1;
  for (const DubiousSpeed& e : entries) {
    if (e.group != group) {
      group = e.group;
      out.printf("\n◆%s\n", group == kTooFast ? "速すぎる" : "遅すぎる");
      out.printf("  スピード%*s距離   タイム\n", 39, "");
    }
    MastRecord rec;
    mast_read(mast, e.rec_no, rec);
    out.printf("%6.2fkm/h ", e.speed);
    write_section(out, ev, e);
    hms_print(rec.slots[e.section].section_time, out, kTimeWidth, 1, "");
    write_team(out, ev, rec);
  }
}

}  // namespace

int collect_dubious_speeds(std::vector<DubiousSpeed>& entries) {
  const EventDefinition& ev = event_definition();
  entries.clear();
  Stream mast = open_mastfile("rb");
  MastRecord rec;
  for (int rec_no = 0; mast_read_next(mast, rec); ++rec_no) {
    const int d = rec.bumon_no;
    if (d >= ev.bumon_suu || d >= kMaxDivisions) continue;
    const int n = team_sections(ev, rec);
    for (int k = 1; k <= n; ++k) {
      if (!hms_is_set(rec.slots[k].section_time)) continue;
      const double speed = section_speed(ev, rec, k);
      std::uint8_t group;
      if (speed <= ev.min_speeds[d]) {
        group = kTooSlow;
      } else if (speed >= ev.max_speeds[d]) {
        group = kTooFast;
      } else {
        continue;
      }
      entries.push_back({static_cast<std::uint8_t>(ev.log_to_phy[d][k]),
                         static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(d), rec_no,
                         speed, group});
      if (static_cast<int>(entries.size()) >= kMaxDubiousSpeeds) {
        close_or_stop(mast);
        return static_cast<int>(entries.size());
      }
    }
  }
  close_or_stop(mast);
  return static_cast<int>(entries.size());
}

void sort_dubious_speeds(std::vector<DubiousSpeed>& entries, int sort_type) {
  if (sort_type == kDubiousSortByStation) {
    std::sort(entries.begin(), entries.end(), [](const DubiousSpeed& a, const DubiousSpeed& b) {
      return station_order(a) < station_order(b);
    });
    return;
  }
  std::sort(entries.begin(), entries.end(), [](const DubiousSpeed& a, const DubiousSpeed& b) {
    if (a.group != b.group) return a.group < b.group;
    if (a.speed != b.speed) return a.group == kTooFast ? a.speed > b.speed : a.speed < b.speed;
    return station_order(a) < station_order(b);
  });
}

void write_dubious_speeds(Stream& out, const std::vector<DubiousSpeed>& entries,
                          int sort_type, const std::string& stamp) {
  const EventDefinition& ev = event_definition();
  Stream mast = open_mastfile("rb");
  if (sort_type == kDubiousSortByStation) {
    write_by_station(out, mast, ev, entries, stamp);
  } else {
    write_grouped(out, mast, ev, entries, stamp);
  }
  close_or_stop(mast);
  write_page_break();
}

void print_dubious_speeds() {
  if (prepare_results(1, 0, -1) != 0) return;
  std::vector<DubiousSpeed> entries;
  if (collect_dubious_speeds(entries) >= kMaxDubiousSpeeds) {
    con_print("\n疑問スピードの件数が多すぎます\n");
    fix_prompt(kBumonFile);
  }
  const int sort_type = option_int("GIMON_SPEED_SORTTYPE", 1);
  sort_dubious_speeds(entries, sort_type);
  write_dubious_speeds(open_fpout(), entries, sort_type, date_time_text());
  closefpout_and_callprt("PRINTCMD65");
}
