#include "results/reports/detail_files.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/entry/warnings.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/reports/data_files.h"
#include "results/shell/files.h"
#include "results/shell/options.h"

namespace {

// Column names of 結果明細中継所TAB.txt (24) and 結果明細区間TAB.txt (36).
constexpr const char* kRelayPointHeader[] = {
    "イベント名", "部門No", "部門名", "区間数", "チームNo", "チーム名",
    "オープン参加か", "中継所No", "駅No", "駅名", "駅ニックネーム", "URL",
    "通算距離", "到着選手名", "到着時", "到着分", "到着秒", "出発選手名",
    "出発時", "出発分", "出発秒", "繰上出発か", "出力日付", "出力時刻",
};

constexpr const char* kSectionHeader[] = {
    "イベント名", "部門No", "部門名", "区間数", "チームNo", "チーム名",
    "オープン参加か", "区間No", "選手名", "出発駅No", "出発駅名", "出発駅ニックネーム",
    "出発駅URL", "出発時", "出発分", "出発秒", "到着駅No", "到着駅名",
    "到着駅ニックネーム", "到着駅URL", "到着時", "到着分", "到着秒", "区間タイム時",
    "区間タイム分", "区間タイム秒", "区間順位", "通算タイム時", "通算タイム分", "通算タイム秒",
    "通算順位", "区間距離", "区間スピード", "繰上出発か", "出力日付", "出力時刻",
};
static_assert(std::size(kRelayPointHeader) == 24 && std::size(kSectionHeader) == 36);

using Row = std::vector<std::string>;

// Every name followed by a tab, then the line end.
template <std::size_t N>
void write_header(Stream& out, const char* const (&names)[N]) {
  for (const char* name : names) {
    out.write_text(name);
    out.write_text("\t");
  }
  out.write_text("\n");
}

// The fields joined by tabs; no tab after the last one.
void write_row(Stream& out, const Row& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out.write_text("\t");
    out.write_text(fields[i]);
  }
  out.write_text("\n");
}

std::string number_text(int n) { return std::to_string(n); }

std::string km_text(double km) {
  char text[64];
  std::snprintf(text, sizeof text, "%3.2f", km);
  return text;
}

// Runner of section k (1 .. max_kukan), empty outside.
std::string runner_text(const NameRecord& names, int k) {
  if (k < 1 || k > kMaxSections) return "";
  return tsv_field(record_text(names.runners[k], kRunnerNameSize));
}

// The runner of section k + 1 was started by a forced start at logical station k: a
// relay point (not the start, not the goal) whose recorded departure differs from the
// recorded arrival. A missing departure is no forced start.
bool forced_start_at(const MastRecord& rec, int k, int sections) {
  if (k <= 0 || k >= sections) return false;
  const StationSlot& slot = rec.slots[k];
  return hms_is_valid(slot.departure) && hms_differ(slot.departure, slot.arrival);
}

std::string yes_no(bool yes) { return yes ? "Yes" : "No"; }

// What every row of one team starts with: イベント名 .. オープン参加か.
Row team_columns(const EventDefinition& ev, const std::string& title, const MastRecord& rec) {
  const int d = rec.bumon_no;
  return {title,
          number_text(d + 1),
          tsv_field(record_text(ev.division_names[d], kDivisionNameSize)),
          number_text(team_sections(ev, rec)),
          number_text(rec.team_no),
          tsv_field(record_text(rec.team_name, kTeamNameSize)),
          yes_no(is_open_team(rec))};
}

// Station number, name, nickname and URL of physical station s.
void add_station(Row& row, const EventDefinition& ev, int s) {
  row.push_back(number_text(s));
  if (s < 0 || s >= kMaxStations) {
    row.insert(row.end(), {"", "", ""});
    return;
  }
  row.push_back(tsv_field(record_text(ev.station_names[s], kStationNameSize)));
  row.push_back(tsv_field(record_text(ev.station_nicknames[s], kNicknameSize)));
  row.push_back(tsv_field(record_text(ev.station_urls[s], kStationUrlSize)));
}

double station_distance(const EventDefinition& ev, int s) {
  return s >= 0 && s < kMaxStations ? ev.distances[s] : 0.0;
}

// A record of a division that the race description knows; others take no part.
bool known_division(const EventDefinition& ev, const MastRecord& rec) {
  return rec.bumon_no < ev.bumon_suu && rec.bumon_no < kMaxDivisions;
}

// Calls row_writer(rec, names) for every record in file order with its name record.
template <typename RowWriter>
void for_each_team(RowWriter row_writer) {
  Stream mast = open_mastfile("rb");
  Stream names = open_retry(kNameFile, "rb");
  MastRecord rec;
  NameRecord runners;
  for (int rec_no = 0; mast_read_next(mast, rec); ++rec_no) {
    if (!known_division(event_definition(), rec)) continue;
    name_read(names, rec_no, runners);
    row_writer(rec, runners);
  }
}

// Writes one file (replaced), the header and rows by `writer`.
template <typename Writer>
void write_file(const char* file, const OutputStamp& stamp, Writer writer) {
  Stream out = open_retry(file, "w");
  writer(out, stamp);
  close_or_stop(out);
}

}  // namespace

OutputStamp output_stamp_now() {
  const std::string both = date_time_text();  // "date  time"
  const std::size_t gap = both.find("  ");
  return {both.substr(0, gap), both.substr(gap + 2)};
}

std::string time_columns(HmsTime time, bool shown) {
  return shown ? hms_format_sep(time, '\t') : "\t\t";
}

std::string tsv_field(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

void write_relay_point_details(Stream& out, const OutputStamp& stamp) {
  const EventDefinition& ev = event_definition();
  const std::string title = tsv_field(event_title());
  write_header(out, kRelayPointHeader);
  for_each_team([&](const MastRecord& rec, const NameRecord& runners) {
    const int sections = team_sections(ev, rec);
    for (int k = 0; k <= sections; ++k) {
      const int s = ev.log_to_phy[rec.bumon_no][k];
      const StationSlot& slot = rec.slots[k];
      const bool start = k == 0;
      const bool goal = k == sections;
      Row row = team_columns(ev, title, rec);
      row.push_back(number_text(k));
      add_station(row, ev, s);
      row.push_back(km_text(station_distance(ev, s)));
      row.push_back(start ? "" : runner_text(runners, k));
      row.push_back(time_columns(slot.arrival, !start && hms_is_valid(slot.arrival)));
      row.push_back(goal ? "" : runner_text(runners, k + 1));
      row.push_back(time_columns(slot.departure, !goal && hms_is_valid(slot.departure)));
      row.push_back(yes_no(forced_start_at(rec, k, sections)));
      row.push_back(stamp.date);
      row.push_back(stamp.time);
      write_row(out, row);
    }
  });
}

void write_section_details(Stream& out, const OutputStamp& stamp) {
  const EventDefinition& ev = event_definition();
  const std::string title = tsv_field(event_title());
  write_header(out, kSectionHeader);
  for_each_team([&](const MastRecord& rec, const NameRecord& runners) {
    const int sections = team_sections(ev, rec);
    for (int k = 1; k <= sections; ++k) {
      const int a = ev.log_to_phy[rec.bumon_no][k - 1];
      const int b = ev.log_to_phy[rec.bumon_no][k];
      const StationSlot& from = rec.slots[k - 1];
      const StationSlot& to = rec.slots[k];
      const double km = station_distance(ev, b) - station_distance(ev, a);
      const bool timed = hms_is_set(to.section_time);
      Row row = team_columns(ev, title, rec);
      row.push_back(number_text(k));
      row.push_back(runner_text(runners, k));
      add_station(row, ev, a);
      row.push_back(time_columns(from.departure, hms_is_valid(from.departure)));
      add_station(row, ev, b);
      row.push_back(time_columns(to.arrival, hms_is_valid(to.arrival)));
      row.push_back(time_columns(to.section_time, timed));
      row.push_back(to.section_rank > 0 ? number_text(to.section_rank) : "");
      row.push_back(time_columns(to.cumulative_time, hms_is_set(to.cumulative_time)));
      row.push_back(to.cumulative_rank > 0 ? number_text(to.cumulative_rank) : "");
      row.push_back(km_text(km));
      row.push_back(timed ? km_text(km / hms_to_hours(to.section_time)) : "");
      row.push_back(yes_no(forced_start_at(rec, k, sections)));
      row.push_back(stamp.date);
      row.push_back(stamp.time);
      write_row(out, row);
    }
  });
}

void write_detail_files() {
  const OutputStamp stamp = output_stamp_now();
  write_file(kRelayPointDetailFile, stamp, write_relay_point_details);
  write_file(kSectionDetailFile, stamp, write_section_details);
  open_written_file(kRelayPointDetailFile);
  open_written_file(kSectionDetailFile);
}

void detail_files_entry() {
  missing_departure_check(kMissingDepartureBeforeArrival);
  if (prepare_results(0, 0, -1) != 0) return;
  write_detail_files();
}
