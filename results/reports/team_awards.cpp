#include "results/reports/team_awards.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/entry/warnings.h"
#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include "results/reports/data_files.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"
#include "results/shell/process.h"
#include "results/shell/sjis.h"

namespace {


// A NUL-terminated field of a fixed-size record; never reads past the field.
std::string field_text(const char* field, std::size_t size) {
  return std::string(field, strnlen(field, size - 1));
}

std::string team_name(const MastRecord& team) { return field_text(team.team_name, kTeamNameSize); }

int best_no() { return option_int("BESTNO", kDefaultBestNo); }

const char* station_name(const EventDefinition& ev, int d, int k) {
  return ev.station_names[ev.log_to_phy[d][k]];
}

// Distance of division d from its start to its goal.
double course_km(const EventDefinition& ev, int d) {
  return ev.distances[ev.log_to_phy[d][ev.sections[d]]] - ev.distances[ev.log_to_phy[d][0]];
}

std::string rank_text(int rank) {
  char text[32];
  std::snprintf(text, sizeof text, "第 %d 位", rank);
  return text;
}

void write_list(Stream& out, const std::vector<TeamAward>& awards, int best) {
  const EventDefinition& ev = event_definition();
  int division = -1;
  for (const TeamAward& award : awards) {
    if (&award == &awards.front()) {
      char title[64];
      std::snprintf(title, sizeof title, " 団体賞（%d位まで）一覧表 ***  ", best);
      out.write_text("\n*** " + event_title() + title + date_time_text() + "\n");
    }
    if (award.division != division) {
      division = award.division;
      out.write_text(std::string("\n") + ev.division_names[division] + "\n");
    }
    char line[96];
    std::snprintf(line, sizeof line, "  %3d 位 (%3d) %-26s", award.rank, award.team.team_no,
                  team_name(award.team).c_str());
    std::string time;
    hms_format(award.team.slots[ev.sections[division]].cumulative_time, time, 9, 1, "");
    out.write_text(line + time + "\n");
  }
}

void write_tsv(Stream& out, const std::vector<TeamAward>& awards) {
  const EventDefinition& ev = event_definition();
  const int max_sections = ev.max_kukan;
  std::string header =
      "データ作成日時\t部門No\t部門名\t発駅\t着駅\t距離\t順位\t順位文字列1\t順位文字列2\t"
      "順位文字列3\tチームNo\tチーム名\tタイム\tタイム時間\tタイム分\tタイム秒";
  for (int k = 1; k <= max_sections; ++k) header += "\t第" + std::to_string(k) + "区選手";
  out.write_text(header + "\n");

  const std::string stamp = date_time_text();
  for (const TeamAward& award : awards) {
    const int d = award.division;
    const HmsTime time = award.team.slots[ev.sections[d]].cumulative_time;
    const auto wordings = rank_wordings(award.rank);
    std::string row = stamp;
    for (const std::string& field :
         {std::to_string(d + 1), std::string(ev.division_names[d]),
          std::string(station_name(ev, d, 0)), std::string(station_name(ev, d, ev.sections[d])),
          kyori_text(course_km(ev, d), 3, "km"), std::to_string(award.rank), wordings[0],
          wordings[1], wordings[2], std::to_string(award.team.team_no), team_name(award.team),
          hms_format_japanese_short(time), hms_format_sep(time, '\t')}) {
      row += "\t" + field;
    }
    for (int k = 1; k <= max_sections; ++k) {
      row += "\t";
      if (k <= ev.sections[d]) row += field_text(award.runners.runners[k], kRunnerNameSize);
    }
    out.write_text(row + "\n");
  }
}

}  // namespace

std::vector<TeamAward> collect_team_awards(int best_no, bool with_runners) {
  const EventDefinition& ev = event_definition();
  std::vector<TeamAward> awards;
  Stream mast = open_mastfile("rb");
  Stream names;
  if (with_runners) names = open_retry(kNameFile, "rb");
  for (int d = 0; d < ev.bumon_suu && d < kMaxDivisions; ++d) {
    const int first = print_jun_top[d];
    const int end = print_jun_top[d + 1];
    for (int j = first < 0 ? end : first; j < end && j < kMaxTeams; ++j) {
      TeamAward award;
      mast_read(mast, print_jun[j], award.team);
      award.rank = award.team.slots[ev.sections[d]].cumulative_rank;
      // Open teams are never ranked; the flag is checked as well so that a stale rank of
      // a team made open after the last computation cannot slip in.
      if (award.rank < 1 || award.rank > best_no || is_open_team(award.team)) continue;
      award.division = d;
      if (with_runners) name_read(names, print_jun[j], award.runners);
      awards.push_back(award);
    }
  }
  close_or_stop(mast);
  if (with_runners) close_or_stop(names);
  return awards;
}

std::array<std::string, 3> rank_wordings(int rank) {
  const std::string numbered = rank_text(rank);
  return {rank == 1 ? "優　勝" : numbered,
          rank == 1 ? "優　勝" : rank == 2 ? "準優勝" : numbered, numbered};
}

void print_team_awards() {
  const int best = best_no();
  Stream& out = open_fpout();
  const std::vector<TeamAward> awards = collect_team_awards(best, false);
  write_list(out, awards, best);
  if (!awards.empty()) write_page_break();
  closefpout_and_callprt("PRINTCMD72");
}

bool write_team_award_tsv() {
  const std::vector<TeamAward> awards = collect_team_awards(best_no(), true);
  Stream out = open_retry(kTeamAwardDataFile, "w");
  write_tsv(out, awards);
  if (!close_written_file(out, kTeamAwardDataFile)) return false;
  open_written_file(kTeamAwardDataFile);
  return true;
}

void team_awards_entry() {
  missing_departure_check(kMissingDepartureBeforeArrival);
  if (prepare_results(1, 0, kFurthestPoint) != 0) return;
  print_team_awards();
}

bool team_award_data_entry() {
  prepare_results(0, 0, kFurthestPoint);
  return write_team_award_tsv();
}

void team_award_data_and_document_entry(void (*open_document)()) {
  // Nothing to confirm when the merge file could not be written.
  if (team_award_data_entry()) confirm_merge_file_then_open(open_document);
}
