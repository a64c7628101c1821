#include "results/reports/ranking_tables.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/entry/warnings.h"
#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include "results/model/select_screens.h"
#include "results/reports/ranking_tables_text.h"
#include "results/reports/section_speeds.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"
#include "results/shell/stops.h"

using namespace ranking_tables;

namespace {

// Where the zero-time guard of the section rank table says it stopped.
constexpr const char* kSourceName = "HKBPRNT6";

// Every record of MASTFILE.DAT in file order (the index in the vector is the record
// number).
std::vector<MastRecord> read_all_teams() {
  std::vector<MastRecord> teams;
  Stream mast = open_mastfile("rb");
  MastRecord rec;
  while (static_cast<int>(teams.size()) < kMaxTeams && mast_read_next(mast, rec)) {
    teams.push_back(rec);
  }
  close_or_stop(mast);
  return teams;
}

const char* station_name(const EventDefinition& ev, int d, int k) {
  return ev.station_names[ev.log_to_phy[d][k]];
}

// The grid of division d; returns the number of rows to print: the teams ranked at the
// first relay point, or more when a rank left unused by a tie pushed a team further down.
int fill_progression_grid(RankProgressionGrid& grid, const std::vector<MastRecord>& teams,
                          int d, int n) {
  grid.clear();
  int ranked_at_first = 0;
  for (std::size_t rec_no = 0; rec_no < teams.size(); ++rec_no) {
    const MastRecord& rec = teams[rec_no];
    if (rec.bumon_no != d) continue;
    for (int c = 0; c < n; ++c) {
      grid.place(c, rec.slots[c + 1].cumulative_rank, static_cast<std::int32_t>(rec_no));
    }
    if (rec.slots[1].cumulative_rank >= 1) ++ranked_at_first;
  }
  return std::max(ranked_at_first, grid.last_used_row());
}

void write_progression_table(Stream& out, Stream& names, const RankProgressionGrid& grid,
                             const std::vector<MastRecord>& teams, int d, int n, int rows,
                             int cell_width, const std::string& stamp) {
  const EventDefinition& ev = event_definition();
  out.printf("\n*** %s 順位変遷表 ***  %s\n", event_title().c_str(), stamp.c_str());
  out.printf("%s\n", ev.division_names[d]);
  out.printf("%4s", "");
  for (int i = 1; i <= n; ++i) out.write_text(right_aligned(station_name(ev, d, i), cell_width));
  out.write_text("\n\n");

  for (int r = 0; r < rows; ++r) {
    out.printf("%3d:", r + 1);
    for (int c = 0; c < n; ++c) {
      const std::int32_t rec_no = grid.cells[r][c];
      if (rec_no < 0) {
        out.write_text(std::string(cell_width, ' '));
        continue;
      }
      NameRecord runners;
      name_read(names, rec_no, runners);
      char team_no[16];
      std::snprintf(team_no, sizeof team_no, " %3d", teams[rec_no].team_no);
      out.write_text(right_aligned(runner_name(runners, c + 1) + team_no, cell_width));
    }
    const std::int32_t last = grid.cells[r][n - 1];
    if (last >= 0) out.write_text(prefixed(" ", team_name(teams[last])));
    out.write_text("\n");
  }
}

// The division heading of the section rank table: the title, then the section, the
// division, its route and distance, and an empty line.
void write_section_heading(Stream& out, int d, int section, const std::string& stamp) {
  const EventDefinition& ev = event_definition();
  out.write_text("\n");
  write_row(out, {prefixed("*** ", event_title()) + "  区間順位表 ***  " + stamp});
  char text[256];
  std::snprintf(text, sizeof text, "%2d 区  %s    %s → %s ", section, ev.division_names[d],
                station_name(ev, d, section - 1), station_name(ev, d, section));
  write_row(out, {text + kyori_text(section_distance_km(d, section), 6, "km")});
  out.write_text("\n");
}

}  // namespace

void RankProgressionGrid::clear() {
  for (auto& row : cells) std::fill(std::begin(row), std::end(row), -1);
}

bool RankProgressionGrid::place(int column, int rank, std::int32_t rec_no) {
  if (column < 0 || column >= kProgressionColumns || rank < 1) return false;
  for (int row = rank - 1; row < kProgressionRows; ++row) {
    if (cells[row][column] < 0) {
      cells[row][column] = rec_no;
      return true;
    }
  }
  return false;
}

int RankProgressionGrid::last_used_row() const {
  for (int row = kProgressionRows - 1; row >= 0; --row) {
    for (std::int32_t cell : cells[row]) {
      if (cell >= 0) return row + 1;
    }
  }
  return 0;
}

void print_rank_progression() {
  const EventDefinition& ev = event_definition();
  const int cell_width = runner_name_width() + 4;
  const std::string stamp = date_time_text();
  const std::vector<MastRecord> teams = read_all_teams();
  Stream& out = open_fpout();
  Stream names = open_retry(kNameFile, "rb");
  auto grid = std::make_unique<RankProgressionGrid>();
  for (int d = 0; d < ev.bumon_suu && d < kMaxDivisions; ++d) {
    const int n = std::clamp<int>(ev.sections[d], 0, kProgressionColumns);
    if (n == 0) continue;
    const int rows = fill_progression_grid(*grid, teams, d, n);
    if (rows == 0) continue;
    write_progression_table(out, names, *grid, teams, d, n, rows, cell_width, stamp);
    write_page_break();
  }
  close_or_stop(names);
  closefpout_and_callprt("PRINTCMD74");
}

std::vector<SectionRankEntry> collect_section_ranks(int section) {
  const EventDefinition& ev = event_definition();
  std::vector<SectionRankEntry> entries;
  if (section < 1 || section > kMaxSections) return entries;
  Stream mast = open_mastfile("rb");
  MastRecord rec;
  for (int rec_no = 0; mast_read_next(mast, rec); ++rec_no) {
    if (team_sections(ev, rec) < section) continue;
    const StationSlot& slot = rec.slots[section];
    if (!hms_is_set(slot.section_time)) continue;
    if (static_cast<int>(entries.size()) >= kMaxSectionRankEntries) break;
    entries.push_back({static_cast<std::int8_t>(rec.bumon_no), rec_no,
                       slot.section_rank > 0 ? slot.section_rank : kNoSectionRank});
  }
  close_or_stop(mast);
  std::sort(entries.begin(), entries.end(), [](const SectionRankEntry& a, const SectionRankEntry& b) {
    if (a.bumon_no != b.bumon_no) return a.bumon_no < b.bumon_no;
    if (a.rank != b.rank) return a.rank < b.rank;
    return a.rec_no < b.rec_no;
  });
  return entries;
}

void print_section_ranks(int section) {
  const int runner_width = runner_name_width() + 2;
  const std::string stamp = date_time_text();
  Stream& out = open_fpout();
  const std::vector<SectionRankEntry> entries = collect_section_ranks(section);
  Stream mast = open_mastfile("rb");
  Stream names = open_retry(kNameFile, "rb");
  int previous_division = -1;
  for (const SectionRankEntry& entry : entries) {
    MastRecord rec;
    NameRecord runners;
    mast_read(mast, entry.rec_no, rec);
    name_read(names, entry.rec_no, runners);
    const HmsTime time = rec.slots[section].section_time;
    const double hours = hms_to_hours(time);
    if (hours == 0.0) {
      con_print("%s error. hours is zero\n", kSourceName);
      fatal_stop();
    }
    const int d = entry.bumon_no;
    if (d != previous_division) {
      write_section_heading(out, d, section, stamp);
      previous_division = d;
    }
    char rank[16] = "  open";
    if (entry.rank != kNoSectionRank) std::snprintf(rank, sizeof rank, "%3d 位", entry.rank);
    std::string time_cell;
    hms_format(time, time_cell, 9, 1, "");
    write_row(out, {rank, time_cell, prefixed("  ", left_aligned(runner_name(runners, section), runner_width)),
                    team_field(rec), speed_field(section_distance_km(d, section) / hours)});
  }
  close_or_stop(mast);
  close_or_stop(names);
  if (!entries.empty()) write_page_break();
  closefpout_and_callprt("PRINTCMD75");
}

void rank_progression_entry() {
  missing_departure_check(kMissingDepartureBeforeArrival);
  if (prepare_results(1, 0, -1) != 0) return;
  print_rank_progression();
}

void section_ranks_entry() {
  int section;
  do {
    section = select_section();
    if (section < 1) return;
  } while (prepare_results(1, 1, -1) != 0);
  print_section_ranks(section);
}
