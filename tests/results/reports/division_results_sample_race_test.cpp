// The division result list of the bundled sample race, end to end on the virtual
// console: the race files are built, the bundled time files imported, then the action
// of result output [3] runs with "0" (all divisions) to the file destination. The ranks
// in OUT.TXT are checked against ranks counted here from the raw times of the files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "division_results_test_race.h"
#include "sample_race_ranks.h"
#include "results/entry/time_import.h"
#include "results/reports/division_results.h"
#include "results/shell/console.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using division_results_test::crlf_lines;
using division_results_test::printed_ranks;
using output_test::u8s;
using test_support::read_bytes;
using test_support::to_cp932;
using test_support::to_utf8;

using namespace sample_race_ranks;

class DivisionResultsSampleRace : public output_test::OutputTest {};

TEST_F(DivisionResultsSampleRace, AllDivisionsToTheFileAgreeWithRanksCountedFromTheTimes) {
  test_support::copy_folder_files(kSample, race_.path());
  // The sample's options, with a viewer that only records that it was started.
  test_support::write_bytes(race_.file("OPTION.TXT"),
                            read_bytes(kSample + "/OPTION.TXT") + "\r\nEDITOR=" + RECORD_ARGS_PROGRAM + "\r\n");
  division_results_test::build_race_files(*con_);
  for (const std::string& file : time_files()) {
    const int station = import_file_station(file);
    ASSERT_GT(station, 0) << file;
    EXPECT_GT(import_times(file, station, HmsTime{}), 0) << file;
  }

  const SampleRace race = read_sample_race();
  const auto raw = read_raw_times();
  const std::map<int, int> expected = count_goal_ranks(race, raw);

  set_out_kind_no(kOutFile);
  clear_screen();
  // Divisions "0" (all) and Enter; delimiter "0" (none).
  con_->feed_keys({'0', KEY_ENTER, '0'});
  division_results_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_EQ(recorded_args().size(), 2u) << "the viewer was not started";

  const std::string text = read_bytes(race_.file("OUT.TXT"));
  ASSERT_FALSE(text.empty());
  if (const char* dir = std::getenv("DIVISION_RESULTS_ACTUAL_DIR")) {
    test_support::write_bytes(std::string(dir) + "/sample_race_OUT.TXT", text);
  }
  const auto divisions = printed_ranks(text);
  ASSERT_EQ(divisions.size(), race.divisions.size());
  std::set<int> seen;
  for (std::size_t d = 0; d < divisions.size(); ++d) {
    int previous = 0;
    for (const auto& [team, rank] : divisions[d]) {
      ASSERT_TRUE(race.teams.count(team)) << team;
      EXPECT_EQ(race.teams.at(team).division, static_cast<int>(d)) << "team " << team;
      EXPECT_EQ(rank, expected.at(team)) << "team " << team;
      if (rank > 0) {
        EXPECT_GE(rank, previous) << "team " << team << " listed out of rank order";
        previous = rank;
      }
      seen.insert(team);
    }
  }
  EXPECT_EQ(seen.size(), race.teams.size()) << "every team is listed once";
  // The sample has a finish without a rank besides the open teams, and ranked teams.
  const auto ranked = std::count_if(expected.begin(), expected.end(),
                                    [](const auto& e) { return e.second > 0; });
  EXPECT_GT(ranked, 30);
}

}  // namespace
