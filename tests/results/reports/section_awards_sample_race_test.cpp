// The section award merge file of the bundled sample race, end to end on the virtual
// console: the race files are built, the bundled time files imported, then certificate
// [1] runs. Its rows are checked against the section winners counted here from the raw
// times of the files.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "division_results_test_race.h"
#include "results/entry/time_import.h"
#include "results/reports/section_awards.h"
#include "sample_race_ranks.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using division_results_test::crlf_lines;
using output_test::ScopedEnv;
using output_test::u8s;
using test_support::read_bytes;
using test_support::to_utf8;

using namespace sample_race_ranks;

// One winner as the merge file names it: division number from 1, section, team number,
// and the section time in seconds.
using Winner = std::tuple<int, int, int, int>;

// Section winners counted from the raw times: section k runs from the departure at the
// course's station k - 1 (the division's start time for k = 1) to the arrival at station
// k; the best time of the regular teams of a division wins, ties shared, except in the
// first section, where the section time is also the cumulative time and equal times are
// ranked in the order they were entered.
std::vector<Winner> count_section_winners(const SampleRace& race, const std::vector<RawTime>& raw) {
  struct Passage {
    int arrival = -1, departure = -1, order = 0;
  };
  std::map<int, std::map<int, Passage>> passages;  // team -> physical station -> times
  int order = 0;
  for (const RawTime& t : raw) passages[t.team][t.station] = {t.arrival, t.departure, ++order};

  // (division, section) -> (seconds, entry order, team) of every regular team with a time.
  std::map<std::pair<int, int>, std::vector<std::tuple<int, int, int>>> sections;
  for (const auto& [team_no, team] : race.teams) {
    if (team.open) continue;
    const auto& course = race.divisions[team.division].stations;
    auto& at = passages[team_no];
    for (std::size_t k = 1; k < course.size(); ++k) {
      const int from = k == 1 ? race.divisions[team.division].start_seconds
                              : (at.count(course[k - 1]) ? at[course[k - 1]].departure : -1);
      if (!at.count(course[k])) continue;
      const Passage& arrival = at[course[k]];
      if (from < 0 || arrival.arrival <= from) continue;
      sections[{team.division, static_cast<int>(k)}].emplace_back(arrival.arrival - from,
                                                                  arrival.order, team_no);
    }
  }
  std::vector<Winner> winners;
  for (auto& [key, times] : sections) {
    std::sort(times.begin(), times.end());
    for (const auto& [seconds, entered, team_no] : times) {
      if (seconds != std::get<0>(times.front())) break;
      winners.emplace_back(key.first + 1, key.second, team_no, seconds);
      if (key.second == 1) break;  // the first entered keeps rank 1
    }
  }
  std::sort(winners.begin(), winners.end());  // tied winners by team number
  return winners;
}

std::vector<std::string> split_tabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

class SectionAwardsSampleRace : public output_test::OutputTest {};

TEST_F(SectionAwardsSampleRace, MergeFileAgreesWithWinnersCountedFromTheTimes) {
  test_support::copy_folder_files(kSample, race_.path());
  division_results_test::build_race_files(*con_);
  for (const std::string& file : time_files()) {
    const int station = import_file_station(file);
    ASSERT_GT(station, 0) << file;
    EXPECT_GT(import_times(file, station, HmsTime{}), 0) << file;
  }
  const std::vector<Winner> expected = count_section_winners(read_sample_race(), read_raw_times());
  ASSERT_GE(expected.size(), 10u);

  ScopedEnv visual("VISUAL", RECORD_ARGS_PROGRAM);
  section_award_data_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_EQ(recorded_args().size(), 2u) << "the merge file was not opened";

  const auto lines = crlf_lines(read_bytes(race_.file(u8s(u8"区間賞TAB.txt"))));
  ASSERT_FALSE(lines.empty());
  std::vector<Winner> written;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto fields = split_tabs(to_utf8(lines[i]));
    ASSERT_EQ(fields.size(), 15u) << to_utf8(lines[i]);
    const int seconds =
        std::stoi(fields[5]) * 3600 + std::stoi(fields[6]) * 60 + std::stoi(fields[7]);
    written.emplace_back(std::stoi(fields[1]), std::stoi(fields[3]), std::stoi(fields[9]),
                         seconds);
  }
  // Records stand by division and team number, so the rows follow the counted order.
  EXPECT_EQ(written, expected);
}

}  // namespace
