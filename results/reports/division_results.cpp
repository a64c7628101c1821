#include "results/reports/division_results.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "results/compute/course.h"
#include "results/entry/warnings.h"
#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/model/select_screens.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"
#include "results/shell/sjis.h"

namespace {

constexpr const char* kDivisionListTitle = "部門別成績一覧表";
constexpr const char* kIntermediateListTitle = "中間成績一覧表";
constexpr int kTeamNameWidth = 24;
constexpr int kDivisionNameWidth = 27;
constexpr int kRankedCellWidth = 13;
constexpr int kStationChoiceColour = 0x03;  // the relay-point screen's title colour

using Row = std::vector<std::string>;

std::string right_aligned(const std::string& text, int width) {
  const int pad = width - static_cast<int>(text.size());
  return pad > 0 ? std::string(pad, ' ') + text : text;
}

// A "%-*s" style format with its width and text.
std::string padded(const char* format, int width, const char* text) {
  char out[256];
  std::snprintf(out, sizeof out, format, width, text);
  return out;
}

// One row: the fields joined by the field separator, quoted for comma-delimited data.
void write_row(Stream& out, const Row& fields) {
  write_quote();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) write_field_separator();
    out.write_text(fields[i]);
  }
  write_quote();
  out.write_text("\n");
}

void write_blank_lines(Stream& out, int count) {
  for (int i = 0; i < count; ++i) out.write_text("\n");
}

// What every division of one list shares.
struct ListContext {
  const EventDefinition& ev;
  int cell_width;   // W + 1
  int extra_lines;  // option LF
  bool has_banner;
  std::string banner;  // option SENDEN
  std::string stamp;   // date and time of the list
};

// Cumulative distance of logical station k of division d from the first station.
double station_km(const EventDefinition& ev, int d, int k) {
  return ev.distances[ev.log_to_phy[d][k]];
}

const char* station_name(const EventDefinition& ev, int d, int k) {
  return ev.station_names[ev.log_to_phy[d][k]];
}

void write_division_header(Stream& out, const ListContext& ctx, int d, int n) {
  const EventDefinition& ev = ctx.ev;
  const int w = ctx.cell_width;
  // The banner is the rest of the form feed's line: the print program reads it as the
  // page's format commands, so it is never quoted.
  if (ctx.has_banner) out.write_text(ctx.banner);
  out.write_text("\n");

  const char* title = n == ev.sections[d] ? kDivisionListTitle : kIntermediateListTitle;
  write_row(out, {"*** " + event_title() + " " + title + " ***  " + ctx.stamp});
  if (ctx.extra_lines > 0) out.write_text("\n");

  Row headings{padded("%-*s ", kDivisionNameWidth, ev.division_names[d]), ""};
  for (int i = 1; i <= n; ++i) headings.push_back(right_aligned(section_heading(i), w));
  write_row(out, headings);

  // The distance runs from the division's own start, so it is the sum of the sections.
  Row starts{"   ", kyori_text(station_km(ev, d, n) - station_km(ev, d, 0), 7, "km") +
                        std::string(16, ' ')};
  for (int i = 0; i < n; ++i) starts.push_back(right_aligned(station_name(ev, d, i), w));
  write_row(out, starts);

  Row distances{" 順", "          *:区間賞       "};
  for (int i = 1; i <= n; ++i) {
    distances.push_back(right_aligned(
        kyori_text(station_km(ev, d, i) - station_km(ev, d, i - 1), 6, "km") + "↓", w));
  }
  write_row(out, distances);

  Row ends{" 位", "          &:繰上出発     "};
  for (int i = 1; i <= n; ++i) ends.push_back(right_aligned(station_name(ev, d, i), w));
  write_row(out, ends);
  if (ctx.extra_lines > 0) out.write_text("\n");
}

void write_team_block(Stream& out, const ListContext& ctx, const MastRecord& rec,
                      const NameRecord& names, int n) {
  const int w = ctx.cell_width;
  const StationSlot* slots = rec.slots;

  char rank[16] = "   ";
  if (slots[n].cumulative_rank > 0) std::snprintf(rank, sizeof rank, "%3d", slots[n].cumulative_rank);
  char team_name[kTeamNameSize] = {};
  std::memcpy(team_name, rec.team_name, kTeamNameSize - 1);
  Row runners{rank, padded(" %-*s", kTeamNameWidth, team_name)};
  for (int i = 1; i <= n; ++i) {
    char runner[kRunnerNameSize] = {};
    std::memcpy(runner, names.runners[i], kRunnerNameSize - 1);
    const bool forced_start = hms_differ(slots[i - 1].arrival, slots[i - 1].departure);
    runners.push_back(right_aligned(
        runner_cell(runner, slots[i].section_rank == 1, forced_start, w), w));
  }
  write_row(out, runners);

  char team_no[32];
  std::snprintf(team_no, sizeof team_no, "   ﾁｰﾑNo:%-6d", rec.team_no);
  std::string total;
  hms_format(slots[n].cumulative_time, total, 10, 1, "");
  Row sections{"   ", team_no + total};
  for (int i = 1; i <= n; ++i) {
    sections.push_back(right_aligned(
        ranked_time_cell(slots[i].section_time, slots[i].section_rank, '<', '>'), w));
  }
  write_row(out, sections);

  Row cumulative{"   ", padded("   %-*s", 22, is_open_team(rec) ? "(オープン参加)" : "")};
  for (int i = 1; i <= n; ++i) {
    cumulative.push_back(right_aligned(
        ranked_time_cell(slots[i].cumulative_time, slots[i].cumulative_rank, '[', ']'), w));
  }
  write_row(out, cumulative);
  write_blank_lines(out, ctx.extra_lines);
}

// The logical station up to which division d is listed, or -1 when it is left out.
int division_extent(const EventDefinition& ev, int d, int point) {
  if (point == kDivisionGoal) return division_selection().selected[d] ? ev.sections[d] : -1;
  if (point < 0 || point >= kMaxStations) return -1;
  return ev.phy_to_log[d][point];
}

}  // namespace

std::string ranked_time_cell(HmsTime time, int rank, char open, char close) {
  std::string cell;
  hms_format_with_rank(time, cell, rank, open, close, kRankedCellWidth, 1, "");
  return cell;
}

std::string runner_cell(const char* runner, bool section_win, bool forced_start,
                        int cell_width) {
  std::string cell;
  int length = static_cast<int>(std::strlen(runner));
  if (section_win && cell_width > length) {
    cell += '*';
    ++length;
  }
  if (forced_start && cell_width > length) cell += '&';
  return cell + runner;
}

std::string section_heading(int section) {
  return "第" + to_full_width(std::to_string(section)) + "区";
}

void print_division_results(int point) {
  const EventDefinition& ev = event_definition();
  ListContext ctx{ev, runner_name_width() + 1, option_int("LF", 0), false, {}, date_time_text()};
  ctx.has_banner = option_value("SENDEN", ctx.banner);

  Stream& out = open_fpout();
  Stream mast = open_mastfile("rb");
  Stream names = open_retry(kNameFile, "rb");
  for (int d = 0; d < ev.bumon_suu && d < kMaxDivisions; ++d) {
    const int n = division_extent(ev, d, point);
    if (n < 0) continue;
    const int first = print_jun_top[d];
    const int end = print_jun_top[d + 1];
    if (first < 0 || end <= first) continue;
    write_division_header(out, ctx, d, n);
    for (int j = first; j < end && j < kMaxTeams; ++j) {
      MastRecord rec;
      NameRecord runners;
      mast_read(mast, print_jun[j], rec);
      name_read(names, print_jun[j], runners);
      write_team_block(out, ctx, rec, runners, n);
    }
    write_page_break();
  }
  close_or_stop(mast);
  close_or_stop(names);
  closefpout_and_callprt(point == kDivisionGoal ? "PRINTCMD73" : "PRINTCMD77");
}

void division_results_entry() {
  missing_departure_check(kMissingDepartureBeforeArrival);
  do {
    if (select_divisions() == 0) return;
  } while (prepare_results(1, 1, kDivisionGoal) != 0);
  print_division_results(kDivisionGoal);
}

void intermediate_results_entry() {
  int station;
  do {
    station = select_station("中間成績一覧表出力", kStationChoiceColour, true, false);
    if (station < 0) return;
    select_all_divisions();
  } while (prepare_results(1, 1, station) != 0);
  print_division_results(station);
}
