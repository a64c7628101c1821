// The printed speed ranking: every runner of a division over all its sections, fastest
// first, from the same speed entries as the speed table of the HTML pages.
#include <cstdio>
#include <string>
#include <vector>

#include "results/compute/results_compute.h"
#include "results/entry/warnings.h"
#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include "results/reports/ranking_tables.h"
#include "results/reports/ranking_tables_text.h"
#include "results/reports/section_speeds.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"

using namespace ranking_tables;

namespace {

constexpr int kStationNameWidth = 12;

// One row: shown rank, runner, team, speed, section, route, distance, time.
std::vector<std::string> speed_row(const SectionSpeed& entry, int shown_rank, int d,
                                   const MastRecord& rec, const NameRecord& runners,
                                   int runner_width) {
  const EventDefinition& ev = event_definition();
  const int k = entry.section;
  char rank[16];
  std::snprintf(rank, sizeof rank, "%4d:", shown_rank);
  char section[16];
  std::snprintf(section, sizeof section, " %2d区", k);
  const std::string route =
      prefixed(" ", right_aligned(ev.station_names[ev.log_to_phy[d][k - 1]], kStationNameWidth)) +
      " → " + left_aligned(ev.station_names[ev.log_to_phy[d][k]], kStationNameWidth);
  std::string time_cell;
  hms_format(rec.slots[k].section_time, time_cell, 9, 1, "");
  return {rank,
          prefixed(" ", left_aligned(runner_name(runners, k), runner_width)),
          team_field(rec),
          speed_field(entry.speed),
          section,
          route,
          kyori_text(section_distance_km(d, k), 6, "km"),
          time_cell};
}

}  // namespace

void print_speed_ranking() {
  const EventDefinition& ev = event_definition();
  const int runner_width = runner_name_width();
  const std::string stamp = date_time_text();
  Stream& out = open_fpout();
  Stream mast = open_mastfile("rb");
  Stream names = open_retry(kNameFile, "rb");
  for (int d = 0; d < ev.bumon_suu && d < kMaxDivisions; ++d) {
    std::vector<SectionSpeed> entries = collect_section_speeds(d);
    if (entries.empty()) continue;
    sort_fastest_first(entries);
    const std::vector<int> shown = shown_speed_ranks(entries);
    out.write_text("\n");
    write_row(out, {prefixed("*** ", event_title()) + " スピード・ランキング表 ***  " + stamp});
    write_row(out, {ev.division_names[d]});
    for (std::size_t i = 0; i < entries.size(); ++i) {
      MastRecord rec;
      NameRecord runners;
      mast_read(mast, entries[i].rec_no, rec);
      name_read(names, entries[i].rec_no, runners);
      write_row(out, speed_row(entries[i], shown[i], d, rec, runners, runner_width));
    }
    write_page_break();
  }
  close_or_stop(mast);
  close_or_stop(names);
  closefpout_and_callprt("PRINTCMD78");
}

void speed_ranking_entry() {
  missing_departure_check(kMissingDepartureBeforeArrival);
  if (prepare_results(1, 1, -1) != 0) return;
  print_speed_ranking();
}
