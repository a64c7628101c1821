// Section and cumulative times and the competition ranks per division, on a small race:
// four stations; division 0 runs all of them (3 sections), division 1 skips station 1.
#include <gtest/gtest.h>

#include <array>
#include <map>

#include "compute/tiny_race.h"
#include "results/compute/results_compute.h"

using namespace tiny_race;

namespace {

class ComputeTimes : public ::testing::Test {
 protected:
  void SetUp() override { define({0, 5, 10, 15}, {"++++", "+/++"}); }

  // The teams of the rank rules:
  //  1: a forced start at relay point 2 (arrival 9:45:00, next runner sent at 9:40:00);
  //  2: no arrival from relay point 2 on;
  //  3: every time, a plain run;
  //  4: late runner never arrived at relay point 2, the next runner was sent at 9:40:00;
  //  5: an open team, fastest everywhere;
  //  101: division 1, every time; 102: division 1, no time at all.
  std::vector<MastRecord> rank_race() {
    MastRecord t1 = team(1, 0, false, 90000);
    arrive(t1, 1, 92000, 1);
    arrive(t1, 2, 94500, 5);
    t1.slots[2].departure = t(94000);
    arrive(t1, 3, 100000, 9);
    MastRecord t2 = team(2, 0, false, 90000);
    arrive(t2, 1, 92100, 2);
    MastRecord t3 = team(3, 0, false, 90000);
    arrive(t3, 1, 92200, 3);
    arrive(t3, 2, 94300, 6);
    arrive(t3, 3, 100300, 10);
    MastRecord t4 = team(4, 0, false, 90000);
    arrive(t4, 1, 92000, 4);
    t4.slots[2].departure = t(94000);
    arrive(t4, 3, 100000, 11);
    MastRecord t5 = team(5, 0, true, 90000);
    arrive(t5, 1, 91900, 12);
    arrive(t5, 2, 93900, 13);
    arrive(t5, 3, 100000, 14);
    MastRecord t101 = team(101, 1, false, 91500);
    arrive(t101, 1, 95000, 15);
    arrive(t101, 2, 101500, 16);
    MastRecord t102 = team(102, 1, false, 91500);
    return {t1, t2, t3, t4, t5, t101, t102};
  }

  test_support::ScratchDir dir_;
};

TEST_F(ComputeTimes, ForcedStartCountsBothRunnersInTheCumulativeTime) {
  write_master(rank_race());
  calc_times();
  const MastRecord t1 = find(read_master(), 1);
  EXPECT_EQ(t1.slots[1].section_time, t(2000));
  EXPECT_EQ(t1.slots[2].section_time, t(2500));  // late runner: arrival - previous departure
  EXPECT_EQ(t1.slots[3].section_time, t(2000));  // next runner from the forced start 9:40:00
  EXPECT_EQ(t1.slots[2].cumulative_time, t(4500));
  EXPECT_EQ(t1.slots[3].cumulative_time, t(10500));  // 1:05:00, more than goal - start
  EXPECT_EQ(t1.slots[0].cumulative_time, t(0));
}

TEST_F(ComputeTimes, MissingArrivalMakesLaterSectionsAndCumulativeTimesEmpty) {
  write_master(rank_race());
  calc_times();
  const auto teams = read_master();
  const MastRecord t2 = find(teams, 2);
  EXPECT_EQ(t2.slots[1].section_time, t(2100));
  EXPECT_EQ(t2.slots[1].cumulative_time, t(2100));
  for (int k = 2; k <= 3; ++k) {
    EXPECT_EQ(t2.slots[k].section_time, t(0)) << k;
    EXPECT_EQ(t2.slots[k].cumulative_time, t(0)) << k;
  }
  // A section measured from a forced start after a missing arrival has a time, but the
  // cumulative time stays empty from the first invalid section on.
  const MastRecord t4 = find(teams, 4);
  EXPECT_EQ(t4.slots[2].section_time, t(0));
  EXPECT_EQ(t4.slots[3].section_time, t(2000));
  EXPECT_EQ(t4.slots[3].cumulative_time, t(0));
  // Division 1 has two sections: slot 3 is not touched.
  const MastRecord t101 = find(teams, 101);
  EXPECT_EQ(t101.slots[1].section_time, t(3500));
  EXPECT_EQ(t101.slots[2].cumulative_time, t(10000));
  EXPECT_EQ(t101.slots[3].section_time, t(0));
}

TEST_F(ComputeTimes, ArrivalBeforeDepartureOrZeroGivesNoSectionTime) {
  MastRecord a = team(1, 0, false, 90000);
  arrive(a, 1, 85959, 1);  // before the start
  MastRecord b = team(2, 0, false, 90000);
  arrive(b, 1, 0, 2);  // typed 0: entered, but 0:00:00
  MastRecord c = team(3, 0, false, 90000);
  arrive(c, 1, 90000, 3);  // equal to the start: a zero duration is no time
  write_master({a, b, c});
  calc_times();
  for (const MastRecord& r : read_master()) {
    EXPECT_EQ(r.slots[1].section_time, t(0)) << r.team_no;
    EXPECT_EQ(r.slots[1].cumulative_time, t(0)) << r.team_no;
  }
}

// Expected (section rank, cumulative rank) of the teams at k = 1, 2, 3.
using RankRow = std::array<std::pair<int, int>, 3>;
struct RankRuleCase {
  const char* option;  // OPTION.TXT contents ("" for none)
  std::map<int, RankRow> ranks;
};

class RankRules : public ComputeTimes, public ::testing::WithParamInterface<RankRuleCase> {};

TEST_P(RankRules, RanksFollowTheRule) {
  const RankRuleCase& c = GetParam();
  if (*c.option) test_support::write_bytes("OPTION.TXT", c.option);
  write_master(rank_race());
  calc_times();
  calc_ranks();
  const auto teams = read_master();
  for (const auto& [no, row] : c.ranks) {
    const MastRecord r = find(teams, no);
    for (int k = 1; k <= 3; ++k) {
      EXPECT_EQ(r.slots[k].section_rank, row[k - 1].first) << "team " << no << " k " << k;
      EXPECT_EQ(r.slots[k].cumulative_rank, row[k - 1].second) << "team " << no << " k " << k;
    }
  }
}

const std::map<int, RankRow> kRule1 = {
    {1, {{{1, 1}, {2, 2}, {1, 2}}}},
    {2, {{{3, 3}, {0, 0}, {0, 0}}}},
    {3, {{{4, 4}, {1, 1}, {1, 1}}}},
    {4, {{{1, 1}, {0, 0}, {1, 0}}}},  // a section time after an invalid section is ranked
    {5, {{{0, 0}, {0, 0}, {0, 0}}}},  // open: never ranked, pushes nobody down
    {101, {{{1, 1}, {1, 1}, {0, 0}}}},  // division 1 has no section 3
    {102, {{{0, 0}, {0, 0}, {0, 0}}}},
};
const std::map<int, RankRow> kRule2 = {
    {1, {{{1, 1}, {2, 2}, {1, 2}}}},
    {2, {{{3, 3}, {0, 0}, {0, 0}}}},
    {3, {{{4, 4}, {1, 1}, {1, 1}}}},
    {4, {{{1, 1}, {0, 0}, {0, 0}}}},
    {5, {{{0, 0}, {0, 0}, {0, 0}}}},
};
const std::map<int, RankRow> kRule3 = {
    {1, {{{1, 1}, {2, 2}, {1, 2}}}},
    {2, {{{0, 0}, {0, 0}, {0, 0}}}},
    {3, {{{2, 2}, {1, 1}, {1, 1}}}},
    {4, {{{0, 0}, {0, 0}, {0, 0}}}},
    {5, {{{0, 0}, {0, 0}, {0, 0}}}},
    {101, {{{1, 1}, {1, 1}, {0, 0}}}},
};

INSTANTIATE_TEST_SUITE_P(
    Option, RankRules,
    ::testing::Values(RankRuleCase{"", kRule1}, RankRuleCase{"RULE_KUKAN_KIKEN = 1\r\n", kRule1},
                      RankRuleCase{"RULE_KUKAN_KIKEN = 2\r\n", kRule2},
                      RankRuleCase{"RULE_KUKAN_KIKEN=3\r\n", kRule3},
                      RankRuleCase{"RULE_KUKAN_KIKEN = 7\r\n", kRule1}));

}  // namespace
