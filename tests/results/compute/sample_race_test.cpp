// The bundled sample race with its arrival-time files: the files import without a
// message, and the computed race shows what the files were written to show (a tie at
// relay point 3, forced starts at relay point 6, open teams, a team that dropped out).
#include <gtest/gtest.h>

#include <sstream>

#include "compute/tiny_race.h"
#include "results/compute/results_compute.h"
#include "results/entry/time_import.h"
#include "results/shell/virtual_console.h"

using namespace tiny_race;

namespace {

// MASTFILE.DAT from TEAM.TXT as the build lays it out (by division, then team number),
// with every division's start time registered.
void build_sample_master() {
  const EventDefinition& ev = event_definition();
  std::istringstream team_list(test_support::read_bytes("TEAM.TXT"));
  std::vector<MastRecord> teams;
  std::string line;
  while (std::getline(team_list, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] < '0' || line[0] > '9') continue;
    std::istringstream fields(line);
    std::string no, name, division, open;
    std::getline(fields, no, '\t');
    std::getline(fields, name, '\t');
    std::getline(fields, division, '\t');
    std::getline(fields, open, '\t');
    const int d = std::stoi(division) - 1;
    const HmsTime start = ev.start_times[d];
    MastRecord rec = team(std::stoi(no), d, open == "open");
    std::snprintf(rec.team_name, kTeamNameSize, "%s", name.c_str());
    rec.slots[0].arrival = rec.slots[0].departure = start;
    teams.push_back(rec);
  }
  std::sort(teams.begin(), teams.end(), [](const MastRecord& a, const MastRecord& b) {
    return std::tie(a.bumon_no, a.team_no) < std::tie(b.bumon_no, b.team_no);
  });
  write_master(teams);
}

class SampleRace : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::copy_folder_files(SAMPLE_RACE_DIR, dir_.path());
    RaceFileError error;
    ASSERT_TRUE(load_race_files(event_definition(), error)) << error.message;
    build_sample_master();
    for (int s = 1; s <= 7; ++s) {
      const std::string file = "TIMEIN0" + std::to_string(s) + ".TXT";
      ASSERT_EQ(import_file_station(file), s);
      move_cursor(2, 0);
      EXPECT_GT(import_times(file, s, HmsTime{}), 0) << file;
      EXPECT_EQ(con_->row_text(2), "") << file;  // no line refused
    }
    calc_times();
    calc_ranks();
    adjust_same_time_ranks();
    make_print_jun(kFurthestPoint);
    teams_ = read_master();
  }

  const MastRecord& team_no(int no) {
    for (const MastRecord& r : teams_)
      if (r.team_no == no) return r;
    throw std::runtime_error("no team " + std::to_string(no));
  }

  test_support::ScratchDir dir_;
  ScopedVirtualConsole con_;
  std::vector<MastRecord> teams_;
};

TEST_F(SampleRace, EveryTeamButOneFinishes) {
  const EventDefinition& ev = event_definition();
  for (const MastRecord& r : teams_) {
    const int goal = ev.sections[r.bumon_no];
    EXPECT_EQ(hms_is_set(r.slots[goal].cumulative_time), r.team_no != 18) << r.team_no;
  }
  const MastRecord& dropped = team_no(18);
  EXPECT_TRUE(hms_is_set(dropped.slots[4].cumulative_time));
  EXPECT_EQ(dropped.slots[5].cumulative_rank, 0);
  EXPECT_GT(dropped.slots[4].section_rank, 0);
}

TEST_F(SampleRace, TieAtRelayPoint3FollowsTheOrderOfTheLines) {
  const MastRecord& first = team_no(10);  // listed first in TIMEIN03.TXT
  const MastRecord& second = team_no(4);
  ASSERT_EQ(first.slots[3].cumulative_time, second.slots[3].cumulative_time);
  EXPECT_EQ(second.slots[3].cumulative_rank, first.slots[3].cumulative_rank + 1);
}

TEST_F(SampleRace, ForcedStartsAtRelayPoint6) {
  for (int no : {21, 12, 23}) {
    const MastRecord& r = team_no(no);
    EXPECT_EQ(r.slots[6].departure, t(105500)) << no;
    EXPECT_GT(hms_to_seconds(r.slots[7].cumulative_time),
              hms_to_seconds(r.slots[7].arrival) - hms_to_seconds(r.slots[0].departure))
        << no;
  }
}

TEST_F(SampleRace, OpenTeamsAreTimedButNotRanked) {
  for (int no : {25, 115}) {
    const MastRecord& r = team_no(no);
    const int goal = event_definition().sections[r.bumon_no];
    EXPECT_TRUE(hms_is_set(r.slots[goal].cumulative_time)) << no;
    for (int k = 1; k <= goal; ++k) {
      EXPECT_EQ(r.slots[k].section_rank, 0) << no << " " << k;
      EXPECT_EQ(r.slots[k].cumulative_rank, 0) << no << " " << k;
    }
  }
}

TEST_F(SampleRace, GoalOrderOfTheGeneralDivision) {
  // Division 0 in print_jun order: ranks 1, 2, ... with the open team among them by
  // time and the team that dropped out last.
  std::vector<int> ranks;
  int last = -1;
  for (int j = print_jun_top[0]; j < print_jun_top[1]; ++j) {
    const MastRecord& r = teams_.at(print_jun[j]);
    last = r.team_no;
    if (r.open_flag != '1' && r.slots[7].cumulative_rank > 0) ranks.push_back(r.slots[7].cumulative_rank);
  }
  EXPECT_EQ(last, 18);
  ASSERT_EQ(ranks.size(), 23u);
  for (std::size_t i = 0; i < ranks.size(); ++i) EXPECT_EQ(ranks[i], static_cast<int>(i) + 1);
}

}  // namespace
