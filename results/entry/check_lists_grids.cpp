// The whole-race check lists in file order (by division, then team number): the times of
// every station, and the team and runner names.
#include <cstring>
#include <string>
#include <vector>

#include "results/entry/check_lists.h"
#include "results/entry/check_lists_common.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"
#include "results/shell/sjis.h"

namespace {

constexpr int kGridCell = 13;

int division_sections(const EventDefinition& ev, int d) {
  if (d < 0 || d >= ev.bumon_suu) return -1;
  return ev.sections[d];
}

const char* course_station_name(const EventDefinition& ev, int d, int k) {
  const int p = ev.log_to_phy[d][k];
  return p >= 0 ? ev.station_names[p] : "";
}

std::string right_aligned(const std::string& text, int width) {
  const int pad = width - static_cast<int>(text.size());
  return pad > 0 ? std::string(pad, ' ') + text : text;
}

// A fixed-size name field as a NUL-terminated text.
template <std::size_t N>
std::string field_text(const char (&field)[N]) {
  return std::string(field, strnlen(field, N - 1));
}

void write_grid_heading(Stream& out, const EventDefinition& ev, int d, const std::string& stamp) {
  const int n = ev.sections[d];
  out.write_text("\n");
  write_check_row(out, {"*** " + event_title() + " チェック・リスト（全チーム・全中継所） ***  " + stamp});
  write_check_row(out, {ev.division_names[d]});
  out.write_text("\n");
  std::vector<std::string> numbers{"    ", "ﾁｰﾑNo", format_text("%*s", kGridCell, "START")};
  for (int k = 1; k < n; ++k) numbers.push_back(format_text("%*d", kGridCell, k));
  numbers.push_back(format_text("%*s", kGridCell, "GOAL"));
  write_check_row(out, numbers);
  std::vector<std::string> names{"    ", "     "};
  for (int k = 0; k <= n; ++k) {
    names.push_back(format_text("%*s", kGridCell, course_station_name(ev, d, k)));
  }
  write_check_row(out, names);
  out.write_text("\n");
}

void write_grid_team(Stream& out, const MastRecord& rec, int n, int row) {
  std::vector<std::string> arrivals{format_text("%*d:", 3, row), format_text("%*d", 5, rec.team_no)};
  bool any_forced = false;
  for (int k = 0; k <= n; ++k) {
    arrivals.push_back("    " + check_time_text(rec.slots[k].arrival));
    if (hms_differ(rec.slots[k].departure, rec.slots[k].arrival)) any_forced = true;
  }
  write_check_row(out, arrivals);
  if (!any_forced) return;
  std::vector<std::string> departures{"    ", "     "};
  for (int k = 0; k <= n; ++k) {
    const StationSlot& slot = rec.slots[k];
    departures.push_back(hms_differ(slot.departure, slot.arrival)
                             ? right_aligned(check_time_text(slot.departure), kGridCell)
                             : std::string(kGridCell, ' '));
  }
  write_check_row(out, departures);
  out.write_text("\n");
}

std::string section_title(int section) {
  return "第" + to_full_width(std::to_string(section)) + "区";
}

void write_names_heading(Stream& out, const EventDefinition& ev, int d, int name_width,
                         const std::string& stamp) {
  out.write_text("\n");
  write_check_row(out, {"*** " + event_title() + " チーム名・選手名チェック・リスト ***  " + stamp});
  write_check_row(out, {ev.division_names[d]});
  out.write_text("\n");
  std::vector<std::string> fields{"    ", "ﾁｰﾑNo", format_text(" %-*s", 30, "チーム名")};
  for (int i = 1; i <= ev.sections[d]; ++i) {
    fields.push_back(format_text(" %*s", name_width, section_title(i).c_str()));
  }
  write_check_row(out, fields);
}

void write_names_team(Stream& out, const MastRecord& rec, const NameRecord& names, int n,
                      int name_width, int row) {
  const std::string team_name = field_text(rec.team_name);
  std::vector<std::string> fields{
      format_text("%*d:", 3, row), format_text("%*d", 5, rec.team_no),
      format_text(" %-*s%-6s", 24, team_name.c_str(), rec.open_flag == '1' ? "(open)" : "")};
  for (int i = 1; i <= n; ++i) {
    fields.push_back(format_text(" %*s", name_width, field_text(names.runners[i]).c_str()));
  }
  write_check_row(out, fields);
}

}  // namespace

void all_stations_grid() {
  if (ask_output_options(true) < 0) return;
  const EventDefinition& ev = event_definition();
  const std::string stamp = date_time_text();
  Stream& out = open_fpout();
  Stream mast = open_mastfile("rb");
  MastRecord rec;
  int division = -1;
  int row = 0;
  bool written = false;
  while (mast_read_next(mast, rec)) {
    const int n = division_sections(ev, rec.bumon_no);
    if (n < 0) continue;
    if (rec.bumon_no != division) {
      division = rec.bumon_no;
      row = 0;
      write_grid_heading(out, ev, division, stamp);
    }
    write_grid_team(out, rec, n, ++row);
    written = true;
  }
  mast.close();
  if (written) write_page_break();
  closefpout_and_callprt("PRINTCMD63");
}

void names_check_list() {
  const int name_width = runner_name_width();
  if (ask_output_options(true) < 0) return;
  const EventDefinition& ev = event_definition();
  const std::string stamp = date_time_text();
  Stream& out = open_fpout();
  Stream mast = open_mastfile("rb");
  Stream names_file = open_retry(kNameFile, "rb");
  MastRecord rec;
  NameRecord names;
  int division = -1;
  int row = 0;
  bool written = false;
  for (int rec_no = 0; mast_read_next(mast, rec); ++rec_no) {
    const int n = division_sections(ev, rec.bumon_no);
    if (n < 0) continue;
    name_read(names_file, rec_no, names);
    if (rec.bumon_no != division) {
      division = rec.bumon_no;
      row = 0;
      write_names_heading(out, ev, division, name_width, stamp);
    }
    write_names_team(out, rec, names, n, name_width, ++row);
    written = true;
  }
  mast.close();
  names_file.close();
  if (written) write_page_break();
  closefpout_and_callprt("PRINTCMD64");
}
