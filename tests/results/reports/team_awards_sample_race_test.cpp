// The team awards of the bundled sample race, end to end on the virtual console: the
// race files are built, the bundled time files imported, then the actions of result
// output [2] (to the printer) and certificate [6] run. The awarded teams and their ranks
// are checked against ranks counted here from the raw times of the files, and the rows
// of 団体賞TAB.txt against the printed list.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "division_results_test_race.h"
#include "sample_race_ranks.h"
#include "results/entry/time_import.h"
#include "results/model/event_definition.h"
#include "results/reports/team_awards.h"
#include "results/shell/console.h"
#include "results/shell/output_kind.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using division_results_test::crlf_lines;
using output_test::ScopedEnv;
using output_test::u8s;
using test_support::read_bytes;
using test_support::to_cp932;

using namespace sample_race_ranks;

using Award = std::tuple<int, int, int>;  // division from 0, rank, team number

class TeamAwardsSampleRace : public output_test::OutputTest {};

TEST_F(TeamAwardsSampleRace, AwardedTeamsAgreeWithRanksCountedFromTheTimes) {
  test_support::copy_folder_files(kSample, race_.path());
  const std::string options = read_bytes(kSample + "/OPTION.TXT");
  ASSERT_NE(options.find("BESTNO = 6"), std::string::npos) << "the sample awards six ranks";
  test_support::write_bytes(race_.file("OPTION.TXT"),
                            options + "\r\nEDITOR=" + RECORD_ARGS_PROGRAM + "\r\n");
  division_results_test::build_race_files(*con_);
  for (const std::string& file : time_files()) {
    const int station = import_file_station(file);
    ASSERT_GT(station, 0) << file;
    EXPECT_GT(import_times(file, station, HmsTime{}), 0) << file;
  }

  const SampleRace race = read_sample_race();
  std::map<int, std::vector<std::pair<int, int>>> expected;  // division: (rank, team)
  for (const auto& [team, rank] : count_goal_ranks(race, read_raw_times())) {
    if (rank >= 1 && rank <= 6) expected[race.teams.at(team).division].emplace_back(rank, team);
  }
  ASSERT_GE(expected.size(), 2u) << "awards in more than one division";

  set_out_kind_no(kOutPrinter);
  clear_screen();
  team_awards_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  const std::string list = recorded_data();
  ASSERT_FALSE(list.empty()) << screen();

  // The list: divisions in order, each under its own name, ranks never decreasing.
  const std::string rank_mark = to_cp932(u8s(u8" 位 ("));
  std::vector<Award> listed;
  std::map<int, std::vector<std::pair<int, int>>> printed;
  for (const std::string& line : crlf_lines(list)) {
    if (line.find(rank_mark) != 5) continue;
    const int team = std::stoi(line.substr(5 + rank_mark.size(), 3));
    ASSERT_TRUE(race.teams.count(team)) << team;
    const int division = race.teams.at(team).division;
    const int rank = std::stoi(line.substr(2, 3));
    if (!listed.empty()) {
      const auto& [last_division, last_rank, last_team] = listed.back();
      EXPECT_GE(division, last_division) << "team " << team;
      if (division == last_division) {
        EXPECT_GE(rank, last_rank) << "team " << team;
      } else {
        EXPECT_NE(list.find("\r\n\r\n" + std::string(event_definition().division_names[division]) +
                            "\r\n"),
                  std::string::npos);
      }
    }
    listed.emplace_back(division, rank, team);
    printed[division].emplace_back(rank, team);
  }
  for (auto& [division, awards] : expected) std::sort(awards.begin(), awards.end());
  for (auto& [division, awards] : printed) std::sort(awards.begin(), awards.end());
  EXPECT_EQ(printed, expected);

  // 団体賞TAB.txt: the same teams in the same order, division number from 1.
  ScopedEnv visual("VISUAL", RECORD_ARGS_PROGRAM);
  team_award_data_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  const auto rows = crlf_lines(read_bytes(race_.file(test_support::to_utf8(kTeamAwardDataFile))));
  ASSERT_EQ(rows.size(), listed.size() + 1);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = rows[i].find('\t', start)) != std::string::npos; start = tab + 1) {
      fields.push_back(rows[i].substr(start, tab - start));
    }
    fields.push_back(rows[i].substr(start));
    ASSERT_EQ(fields.size(), 16u + static_cast<std::size_t>(event_definition().max_kukan));
    EXPECT_EQ(Award(std::stoi(fields[1]) - 1, std::stoi(fields[6]), std::stoi(fields[10])),
              listed[i - 1]);
  }
}

}  // namespace
