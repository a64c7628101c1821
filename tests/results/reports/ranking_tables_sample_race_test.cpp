// The rank progression table of the bundled sample race, end to end on the virtual
// console: the race files are built, the bundled time files imported, then result output
// [4] runs to the file destination. The goal column of every division is checked against
// goal ranks counted here from the raw times of the files.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "division_results_test_race.h"
#include "results/entry/time_import.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/reports/ranking_tables.h"
#include "results/shell/console.h"
#include "results/shell/output_kind.h"
#include "sample_race_ranks.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using division_results_test::crlf_lines;
using test_support::read_bytes;
using test_support::to_utf8;

using namespace sample_race_ranks;

class RankingTablesSampleRace : public output_test::OutputTest {};

TEST_F(RankingTablesSampleRace, GoalColumnsAgreeWithRanksCountedFromTheTimes) {
  test_support::copy_folder_files(kSample, race_.path());
  test_support::write_bytes(race_.file("OPTION.TXT"),
                            read_bytes(kSample + "/OPTION.TXT") + "\r\nEDITOR=" + RECORD_ARGS_PROGRAM + "\r\n");
  division_results_test::build_race_files(*con_);
  for (const std::string& file : time_files()) {
    const int station = import_file_station(file);
    ASSERT_GT(station, 0) << file;
    EXPECT_GT(import_times(file, station, HmsTime{}), 0) << file;
  }
  const SampleRace race = read_sample_race();
  const std::map<int, int> ranks = count_goal_ranks(race, read_raw_times());

  // Where each ranked team must stand in its division's goal column: its rank, one row
  // further down for every team of the same rank before it in the file (team-number
  // order within a division).
  std::vector<std::map<int, int>> expected_rows(race.divisions.size());  // row -> team
  for (const auto& [team, info] : race.teams) {
    const int rank = ranks.at(team);
    if (rank <= 0) continue;
    int row = rank;
    while (expected_rows[info.division].count(row)) ++row;
    expected_rows[info.division][row] = team;
  }

  set_out_kind_no(kOutFile);
  clear_screen();
  rank_progression_entry();  // no question: OUT.TXT does not exist, no delimiter
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  const std::string text = read_bytes(race_.file("OUT.TXT"));
  ASSERT_FALSE(text.empty()) << screen();

  // The goal column of every table: the last section's cell (W + 4 bytes).
  const EventDefinition& ev = event_definition();
  const std::size_t cell = static_cast<std::size_t>(runner_name_width()) + 4;
  std::vector<std::map<int, int>> printed;
  int division = -1;
  const auto lines = crlf_lines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find("*** ") == 0) {
      ASSERT_LT(i + 1, lines.size());
      division = -1;
      for (int d = 0; d < ev.bumon_suu; ++d) {
        if (lines[i + 1] == ev.division_names[d]) division = d;
      }
      ASSERT_GE(division, 0) << to_utf8(lines[i + 1]);
      printed.resize(division + 1);
      continue;
    }
    if (division < 0 || lines[i].size() < 4 || lines[i][3] != ':') continue;
    const std::size_t goal = 4 + (ev.sections[division] - 1) * cell;
    ASSERT_GE(lines[i].size(), goal + cell) << to_utf8(lines[i]);
    const std::string team_no = lines[i].substr(goal + cell - 3, 3);
    if (team_no == "   ") continue;
    printed[division][std::stoi(lines[i].substr(0, 3))] = std::stoi(team_no);
  }
  printed.resize(race.divisions.size());
  int ranked = 0;
  for (std::size_t d = 0; d < race.divisions.size(); ++d) {
    EXPECT_EQ(printed[d], expected_rows[d]) << "division " << d + 1;
    ranked += static_cast<int>(expected_rows[d].size());
  }
  EXPECT_GT(ranked, 30);
}

}  // namespace
