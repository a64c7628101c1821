// The runners' speeds of one division: which sections give an entry, the speed of each,
// the fastest-first order and the shown ranks of equal speeds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "division_results_test_race.h"
#include "results/compute/results_compute.h"
#include "results/reports/section_speeds.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

const std::string kRace = std::string(FIXTURES_DIR) + "/division_results/race";

TEST(SectionSpeedRanks, EqualSpeedsShareTheRankOfTheFirst) {
  struct Case {
    std::vector<double> speeds;
    std::vector<int> expected;
  } cases[] = {
      {{20.5, 20.5, 19.8}, {1, 1, 3}},
      {{21.0, 20.0, 20.0, 19.0}, {1, 2, 2, 4}},
      {{18.0, 18.0, 18.0}, {1, 1, 1}},
      {{17.0}, {1}},
      {{}, {}},
      // 2.75 km in 11'00 and 3.5 km in 14'00: both 15 km/h, the doubles a bit apart.
      {{2.75 / (660.0 / 3600.0), 3.5 / (840.0 / 3600.0), 14.0}, {1, 1, 3}},
  };
  for (const auto& c : cases) {
    std::vector<SectionSpeed> entries;
    for (double s : c.speeds) entries.push_back({1, s, 0, 1});
    EXPECT_EQ(shown_speed_ranks(entries), c.expected);
  }
}

TEST(SectionSpeedSort, FastestFirstEqualSpeedsInCollectedOrder) {
  std::vector<SectionSpeed> entries = {
      {3, 15.0, 0, 1}, {1, 20.0, 1, 1}, {0, 15.0, 2, 1}, {2, 18.0, 0, 2}, {5, 15.0, 1, 2}};
  sort_fastest_first(entries);
  std::vector<std::pair<int, int>> order;
  for (const auto& e : entries) order.emplace_back(e.rec_no, e.section);
  EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{1, 1}, {0, 2}, {0, 1}, {2, 1}, {1, 2}}));
}

// The division result race: 一般の部 (five stations), 女子の部 (stations 1, 3, 4),
// 招待の部 without teams.
class SectionSpeedsCollect : public output_test::OutputTest {
 protected:
  void SetUp() override {
    test_support::copy_folder_files(kRace, race_.path());
    division_results_test::build_race_files(*con_);
    division_results_test::TimeWriter w;
    w.arrive(1, 1, 91200);   // 3.5 km in 12:00 -> 17.5 km/h
    w.arrive(5, 1, 91000);   // open team: 3.5 km in 10:00 -> 21 km/h, no rank
    w.arrive(1, 2, 92700);   // 3.75 km in 15:00 -> 15 km/h
    w.arrive(2, 2, 92000);   // no time at station 1: no section time anywhere
    w.arrive(11, 3, 94000);  // 女子 section 1: 6.5 km in 30:00 -> 13 km/h
    w.arrive(12, 3, 94000);
    w.arrive(12, 4, 94600);  // 2.5 km in 6:00 -> 25 km/h
    ASSERT_EQ(prepare_results(0, 0, kFurthestPoint), 0) << screen();
  }
};

TEST_F(SectionSpeedsCollect, OneEntryPerSetSectionTimeInFileOrder) {
  const int rec1 = team_index_lookup(mastfile_index(), 1);
  const int rec5 = team_index_lookup(mastfile_index(), 5);
  auto general = collect_section_speeds(0);
  ASSERT_EQ(general.size(), 3u);
  // File order, then section order.
  for (std::size_t i = 1; i < general.size(); ++i) {
    EXPECT_TRUE(general[i - 1].rec_no < general[i].rec_no ||
                (general[i - 1].rec_no == general[i].rec_no &&
                 general[i - 1].section < general[i].section));
  }
  sort_fastest_first(general);
  EXPECT_EQ(general[0].rec_no, rec5);
  EXPECT_EQ(general[0].section, 1);
  EXPECT_LE(general[0].section_rank, 0);  // an open team holds no section rank
  EXPECT_DOUBLE_EQ(general[0].speed, 21.0);
  EXPECT_EQ(general[1].rec_no, rec1);
  EXPECT_EQ(general[1].section, 1);
  EXPECT_EQ(general[1].section_rank, 1);
  EXPECT_DOUBLE_EQ(general[1].speed, 17.5);
  EXPECT_EQ(general[2].section, 2);
  EXPECT_EQ(general[2].section_rank, 1);
  EXPECT_DOUBLE_EQ(general[2].speed, 15.0);

  auto women = collect_section_speeds(1);
  sort_fastest_first(women);
  ASSERT_EQ(women.size(), 3u);
  EXPECT_DOUBLE_EQ(women[0].speed, 25.0);
  EXPECT_EQ(women[0].section, 2);
  EXPECT_DOUBLE_EQ(women[1].speed, 13.0);
  EXPECT_DOUBLE_EQ(women[2].speed, 13.0);
  EXPECT_EQ(shown_speed_ranks(women), (std::vector<int>{1, 2, 2}));

  EXPECT_TRUE(collect_section_speeds(2).empty());   // division without teams
  EXPECT_TRUE(collect_section_speeds(7).empty());   // no such division
  EXPECT_DOUBLE_EQ(section_distance_km(1, 1), 6.5);
}

}  // namespace
