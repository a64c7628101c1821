// Teams of one division with the same cumulative time at a station: the order in which
// their times were entered decides, unless the rule does not apply to the run.
#include <gtest/gtest.h>

#include "compute/tiny_race.h"
#include "results/compute/results_compute.h"

using namespace tiny_race;

namespace {

class SameTimeRanks : public ::testing::Test {
 protected:
  void SetUp() override { define({0, 5, 10, 15}, {"++++", "+/++"}); }

  void compute() {
    calc_times();
    calc_ranks();
    adjust_same_time_ranks();
  }

  // Teams 11 (A) and 12 (B) reach relay point 1 in 20:00 and are entered B then A;
  // team 13 follows in 21:00. At the goal A and B tie again, entered A then B.
  std::vector<MastRecord> tie_race() {
    MastRecord a = team(11, 0, false, 90000);
    MastRecord b = team(12, 0, false, 90000);
    MastRecord c = team(13, 0, false, 90000);
    arrive(b, 1, 92000, 1);
    arrive(a, 1, 92000, 2);
    arrive(c, 1, 92100, 3);
    arrive(a, 2, 94000, 4);
    arrive(b, 2, 94100, 5);
    arrive(c, 2, 94200, 6);
    arrive(a, 3, 100000, 7);
    arrive(b, 3, 100000, 8);
    arrive(c, 3, 100500, 9);
    return {a, b, c};
  }

  test_support::ScratchDir dir_;
};

TEST_F(SameTimeRanks, EntryOrderBreaksTiesAndFirstRelayPointSectionRanksFollow) {
  write_master(tie_race());
  compute();
  const auto teams = read_master();
  const MastRecord a = find(teams, 11), b = find(teams, 12), c = find(teams, 13);
  EXPECT_EQ(b.slots[1].cumulative_rank, 1);
  EXPECT_EQ(a.slots[1].cumulative_rank, 2);
  EXPECT_EQ(b.slots[1].section_rank, 1);
  EXPECT_EQ(a.slots[1].section_rank, 2);
  EXPECT_EQ(c.slots[1].cumulative_rank, 3);
  // At the goal A was entered first.
  EXPECT_EQ(a.slots[3].cumulative_rank, 1);
  EXPECT_EQ(b.slots[3].cumulative_rank, 2);
  EXPECT_EQ(c.slots[3].cumulative_rank, 3);
  EXPECT_EQ(b.slots[3].section_rank, 1);  // 19:00
  EXPECT_EQ(a.slots[3].section_rank, 2);  // 20:00
}

TEST_F(SameTimeRanks, ForcedStartEarlierOrMissingSequenceKeepsTheSharedRank) {
  struct Case {
    const char* name;
    void (*change)(std::vector<MastRecord>&);
  };
  const Case cases[] = {
      {"forced start of B at relay point 1",
       [](std::vector<MastRecord>& r) {
         // B arrived 9:20:30, its next runner was sent at 9:20:00; B then gains the 30
         // seconds back in section 3, so A and B still tie at the goal with 1:00:00.
         r[1].slots[1].arrival = t(92030);
         r[1].slots[1].departure = t(92000);
         r[1].slots[3].arrival = r[1].slots[3].departure = t(95930);
       }},
      {"sequence number 0 for A at the goal",
       [](std::vector<MastRecord>& r) { r[0].slots[3].input_seq = 0; }},
  };
  for (const Case& c : cases) {
    auto race = tie_race();
    c.change(race);
    write_master(race);
    compute();
    const auto teams = read_master();
    const MastRecord a = find(teams, 11), b = find(teams, 12);
    ASSERT_EQ(a.slots[3].cumulative_time, t(10000)) << c.name;
    ASSERT_EQ(b.slots[3].cumulative_time, t(10000)) << c.name;
    EXPECT_EQ(a.slots[3].cumulative_rank, 1) << c.name;
    EXPECT_EQ(b.slots[3].cumulative_rank, 1) << c.name;
    EXPECT_EQ(find(teams, 13).slots[3].cumulative_rank, 3) << c.name;
  }
}

TEST_F(SameTimeRanks, UnrankedEntriesInTheRunPushNobodyDown) {
  // Teams without a rank tie with ranked teams at relay point 1: they keep no rank, and
  // the ranked teams take consecutive ranks in the order of entry, counted among the
  // ranked teams only, so the next slower team's rank is still its own.
  struct Case {
    const char* name;
    int open_seq;  // input sequence number of the open team (B is 2, A is 3)
    int b_rank, a_rank;
  } cases[] = {
      {"open team entered first", 1, 1, 2},
      {"open team entered between B and A", 2, 1, 2},
      {"open team entered last", 4, 1, 2},
  };
  for (const Case& c : cases) {
    auto race = tie_race();
    MastRecord open = team(20, 0, true, 90000);
    open.slots[1].arrival = open.slots[1].departure = t(92000);
    open.slots[1].input_seq = static_cast<std::int16_t>(c.open_seq);
    race[1].slots[1].input_seq = 2;  // B
    race[0].slots[1].input_seq = 3;  // A
    race.push_back(open);
    write_master(race);
    compute();
    const auto teams = read_master();
    EXPECT_EQ(find(teams, 20).slots[1].cumulative_rank, 0) << c.name;
    EXPECT_EQ(find(teams, 12).slots[1].cumulative_rank, c.b_rank) << c.name;
    EXPECT_EQ(find(teams, 11).slots[1].cumulative_rank, c.a_rank) << c.name;
    EXPECT_EQ(find(teams, 12).slots[1].section_rank, c.b_rank) << c.name;
    EXPECT_EQ(find(teams, 11).slots[1].section_rank, c.a_rank) << c.name;
    EXPECT_EQ(find(teams, 13).slots[1].cumulative_rank, 3) << c.name;  // 21:00, two ahead
  }
}

TEST_F(SameTimeRanks, LoneRankedTeamInARunKeepsItsRank) {
  // Under rule 3 team 12 (B) did not reach the goal: at relay point 1 it ties with A
  // without a rank of its own, and A, the only ranked team of the run, stays first.
  test_support::write_bytes("OPTION.TXT", "RULE_KUKAN_KIKEN=3\r\n");
  auto race = tie_race();
  race[1].slots[3].arrival = race[1].slots[3].departure = kHmsNone;
  write_master(race);
  compute();
  const auto teams = read_master();
  EXPECT_EQ(find(teams, 12).slots[1].cumulative_rank, 0);
  EXPECT_EQ(find(teams, 11).slots[1].cumulative_rank, 1);
  EXPECT_EQ(find(teams, 11).slots[1].section_rank, 1);
  EXPECT_EQ(find(teams, 13).slots[1].cumulative_rank, 2);
}

TEST_F(SameTimeRanks, DifferentDivisionsNeverTie) {
  MastRecord a = team(1, 0, false, 90000);
  MastRecord x = team(101, 1, false, 90000);
  arrive(x, 1, 92000, 1);  // division 1 reaches station 2 at its slot 1
  arrive(a, 1, 91000, 2);
  arrive(a, 2, 92000, 3);  // division 0 at station 2, same cumulative 20:00
  write_master({a, x});
  compute();
  const auto teams = read_master();
  EXPECT_EQ(find(teams, 1).slots[2].cumulative_rank, 1);
  EXPECT_EQ(find(teams, 101).slots[1].cumulative_rank, 1);
}

TEST_F(SameTimeRanks, RunningTheComputationTwiceGivesTheSameFile) {
  write_master(tie_race());
  compute();
  const std::string once = test_support::read_bytes(kMastFile);
  compute();
  EXPECT_EQ(test_support::read_bytes(kMastFile), once);
}

}  // namespace
