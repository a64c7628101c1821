// The output order of the teams (print_jun / print_jun_top) and the goal-arrival order.
#include <gtest/gtest.h>

#include <vector>

#include "compute/tiny_race.h"
#include "results/compute/results_compute.h"

using namespace tiny_race;

namespace {

class PrintOrder : public ::testing::Test {
 protected:
  void SetUp() override { define({0, 5, 10, 15}, {"++++", "+/++"}); }

  // Division 0 at the goal: 1 in 1:00:00, open 6 in 1:01:00, 2 in 1:02:00, 3 without a
  // cumulative time but with sections run, 4 and 5 and open 8 without any time.
  // Division 1: nobody at the goal yet; 102 reached station 2 before 101; 103 nothing.
  std::vector<MastRecord> order_race() {
    std::vector<MastRecord> r;
    auto runner = [&](int no, bool open, int goal, int seq) {
      MastRecord m = team(no, 0, open, 90000);
      arrive(m, 1, 92000, seq);
      arrive(m, 2, 94000, seq + 100);
      arrive(m, 3, goal, seq + 200);
      r.push_back(m);
    };
    runner(1, false, 100000, 1);
    runner(2, false, 100200, 2);
    MastRecord three = team(3, 0, false, 90000);
    arrive(three, 1, 92000, 3);  // then nothing: sections run, no time at the goal
    r.push_back(three);
    r.push_back(team(4, 0, false, 90000));
    r.push_back(team(5, 0, false, 90000));
    runner(6, true, 100100, 6);
    r.push_back(team(8, 0, true, 90000));
    MastRecord d101 = team(101, 1, false, 91500), d102 = team(102, 1, false, 91500);
    arrive(d101, 1, 95000, 7);
    arrive(d102, 1, 94500, 8);
    r.push_back(d101);
    r.push_back(d102);
    r.push_back(team(103, 1, false, 91500));
    return r;
  }

  // Team numbers in print_jun order from print_jun_top[from] to print_jun_top[to].
  std::vector<int> order(int from_division, int to_division) {
    const auto teams = read_master();
    std::vector<int> out;
    for (int j = print_jun_top[from_division]; j < print_jun_top[to_division]; ++j)
      out.push_back(teams.at(print_jun[j]).team_no);
    return out;
  }

  void compute(int point) {
    calc_times();
    calc_ranks();
    adjust_same_time_ranks();
    make_print_jun(point);
  }

  test_support::ScratchDir dir_;
};

struct OpenPositionCase {
  const char* option;
  std::vector<int> division0;
};

class OpenTeamPosition : public PrintOrder, public ::testing::WithParamInterface<OpenPositionCase> {};

TEST_P(OpenTeamPosition, OpenTeamsArePlacedByTheOption) {
  if (*GetParam().option) test_support::write_bytes("OPTION.TXT", GetParam().option);
  write_master(order_race());
  compute(kFurthestPoint);
  EXPECT_EQ(order(0, 1), GetParam().division0);
  // The furthest point of division 1 is station 2: 102 before 101, then 103.
  EXPECT_EQ(order(1, 2), (std::vector<int>{102, 101, 103}));
  EXPECT_EQ(print_jun_top[0], 0);
  EXPECT_EQ(print_jun_top[2], 10);
  EXPECT_EQ(print_jun[10], -1);
  for (int d = 3; d < kPrintJunTopSize; ++d) EXPECT_EQ(print_jun_top[d], 10) << d;
}

INSTANTIATE_TEST_SUITE_P(
    Option, OpenTeamPosition,
    ::testing::Values(OpenPositionCase{"", {1, 6, 2, 3, 4, 5, 8}},
                      OpenPositionCase{"OPEN_TEAM_OUTPUT_POSITION=1\r\n", {1, 6, 2, 3, 4, 5, 8}},
                      OpenPositionCase{"OPEN_TEAM_OUTPUT_POSITION=2\r\n", {1, 2, 6, 3, 4, 5, 8}},
                      OpenPositionCase{"OPEN_TEAM_OUTPUT_POSITION=3\r\n", {1, 2, 3, 4, 5, 6, 8}},
                      OpenPositionCase{"OPEN_TEAM_OUTPUT_POSITION=9\r\n", {1, 6, 2, 3, 4, 5, 8}}));

TEST_F(PrintOrder, OrderAtARelayPointUsesThatStationsTimes) {
  auto race = order_race();
  // At station 1 team 3 was fastest (9:19:00); the division-1 teams do not pass it.
  race[2].slots[1].arrival = race[2].slots[1].departure = t(91900);
  write_master(race);
  compute(1);
  const auto d0 = order(0, 1);
  ASSERT_EQ(d0.size(), 7u);
  EXPECT_EQ(d0[0], 3);
  EXPECT_EQ(order(1, 2).size(), 3u);
}

TEST_F(PrintOrder, EmptyDivisionGetsAnEmptyRange) {
  define({0, 5, 10, 15}, {"++++", "+/++", "/+++"});
  auto race = order_race();
  race.erase(race.begin() + 7, race.end());  // division 1 without teams
  MastRecord d2 = team(201, 2, false, 100000);
  race.push_back(d2);
  write_master(race);
  compute(kFurthestPoint);
  EXPECT_EQ(print_jun_top[1], 7);
  EXPECT_EQ(print_jun_top[2], 7);
  EXPECT_EQ(print_jun_top[3], 8);
  EXPECT_EQ(order(2, 3), (std::vector<int>{201}));
}

TEST_F(PrintOrder, GoalOrderFollowsElapsedTimeThenEntryAtTheGoal) {
  // 31 and 32 reach the goal after the same 1:00:00 from the start, 32 entered first;
  // 33 has a forced start (its cumulative time is longer) but an elapsed 0:59:00;
  // 34 has no goal time; 35 in division 1 starts later.
  MastRecord a = team(31, 0, false, 90000), b = team(32, 0, false, 90000);
  MastRecord c = team(33, 0, false, 90000), d = team(34, 0, false, 90000);
  MastRecord e = team(35, 1, false, 91500);
  arrive(a, 3, 100000, 12);
  arrive(b, 3, 100000, 11);
  arrive(c, 2, 94500, 5);
  c.slots[2].departure = t(94000);
  arrive(c, 3, 95900, 13);
  arrive(e, 2, 100000, 14);
  write_master({a, b, c, d, e});
  const std::vector<GoalEntry> order = make_goal_order();
  ASSERT_EQ(order.size(), 5u);
  const auto teams = read_master();
  std::vector<int> nos;
  for (const GoalEntry& g : order) nos.push_back(teams.at(g.rec_no).team_no);
  EXPECT_EQ(nos, (std::vector<int>{33, 32, 31, 34, 35}));
  EXPECT_EQ(order[0].elapsed_seconds, 59 * 60);
  EXPECT_EQ(order[3].elapsed_seconds, 2147483647);
  EXPECT_EQ(order[3].goal_seq, 65535);
  EXPECT_EQ(order[4].elapsed_seconds, 45 * 60);
}

}  // namespace
