// The input check lists against golden files of a small race (check_list_fixture.h), and
// the behaviours around them: layouts chosen by the destination and the options, the
// print command of each list, Esc at the output questions, the import of a saved list.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "check_list_fixture.h"
#include "results/entry/check_lists.h"
#include "results/entry/post_entry_menu.h"
#include "results/entry/time_import.h"
#include "results/shell/console.h"

namespace {

using namespace check_list_test;

// Runs a dialogue until it returns (true) or waits for a key that was not fed (false).
template <typename F>
bool run(F&& dialogue) {
  try {
    dialogue();
    return true;
  } catch (const VirtualConsole::KeysExhausted&) {
    return false;
  }
}

class RelayPointList : public CheckListTest {
 protected:
  // The list of `station` to the file destination, the delimiter answered with `key`.
  std::string to_file(bool with_names, int station, char key) {
    con_->feed_key(key);
    EXPECT_TRUE(run([&] { relay_point_check_list(with_names, false, station); }));
    EXPECT_EQ(con_->keys_left(), 0u);
    return out_txt();
  }
  std::string to_printer(bool with_names, int station) {
    set_out_kind_no(kOutPrinter);
    EXPECT_TRUE(run([&] { relay_point_check_list(with_names, false, station); }));
    return printed(with_names ? "67" : "62");
  }
};

TEST_F(RelayPointList, PlainFileWithInputSequenceNumbers) {
  options(u8"INPUTSEQ = 1\n");
  const std::string text = to_file(false, 3, '0');
  expect_golden(text, "station3_plain_inputseq.txt");
  // Arrival order: 11, 2, 3, 12, then 1 (arrived last, after its forced start), then 4.
  const std::string arrow = cp(u8"←");
  // Row number, team number in 8, then 4 blanks before each 9-column time or arrow.
  EXPECT_NE(text.find("  2:       2      9:36'00" + std::string(11, ' ') + arrow + "    (    7)"),
            std::string::npos);
  EXPECT_NE(text.find("  4:      12      9:39'00" + std::string(11, ' ') + arrow + "    (     )"),
            std::string::npos);
  EXPECT_NE(text.find("  5:       1      9:40'00      9:38'00    (   10)"), std::string::npos);
  EXPECT_EQ(text.find('\f'), std::string::npos);
}

TEST_F(RelayPointList, TeamsWithoutArrivalSortLastAsNoData) {
  const std::string text = to_file(false, 1, '0');
  expect_golden(text, "station1_plain.txt");
  // 1 and 3 arrive at the same second: 1 was entered first. 4 has no time.
  const auto first = text.find("  1:       2");
  const auto second = text.find("  2:       1");
  const auto third = text.find("  3:       3");
  const auto fourth = text.find("  4:       4       NoData       NoData\r\n");
  EXPECT_TRUE(first < second && second < third && third < fourth && fourth != std::string::npos)
      << test_support::to_utf8(text);
}

TEST_F(RelayPointList, NamesAsCommaDelimitedFile) {
  const std::string text = to_file(true, 3, '2');
  expect_golden(text, "station3_names_comma.txt");
  for (const std::string line : {"\"  2:\",\"       2\"", "\"    \",\"   ﾁｰﾑNo\""}) {
    EXPECT_NE(text.find(line), std::string::npos);
  }
}

TEST_F(RelayPointList, TwoColumnsOnThePrinterForEveryStation) {
  options(u8"INPUTSEQ = 1\nPRINT62_DANGUMI_GYOU_SUU = 2\n");
  const std::string text = to_printer(false, 99);
  expect_golden(text, "all_two_columns_printer.txt");
  // Stations 1 and 2: 4 entries, one page each; station 3 and the goal: 6 entries,
  // pages of 4 and 2. The start lists nothing.
  EXPECT_EQ(count(text, "\f"), 6);
  EXPECT_EQ(count(text, "EkiNo="), 6);
  EXPECT_EQ(text.find("EkiNo=00"), std::string::npos);
}

struct RowsCase {
  const char8_t* option;
  bool two_columns;
  int pages_at_station_3;
};

class RelayPointRows : public RelayPointList, public ::testing::WithParamInterface<RowsCase> {};

TEST_P(RelayPointRows, RowsPerColumnOption) {
  options(GetParam().option);
  const std::string text = to_printer(false, 3);
  EXPECT_EQ(text.find("  |  ") != std::string::npos, GetParam().two_columns);
  EXPECT_EQ(count(text, "\f"), GetParam().pages_at_station_3);
}

INSTANTIATE_TEST_SUITE_P(Options, RelayPointRows,
                         ::testing::Values(RowsCase{u8"", false, 1},
                                           RowsCase{u8"PRINT62_DANGUMI_GYOU_SUU = 0\n", true, 1},
                                           RowsCase{u8"PRINT62_DANGUMI_GYOU_SUU = -4\n", true, 1},
                                           RowsCase{u8"PRINT62_DANGUMI_GYOU_SUU = 1\n", true, 3}));

TEST_F(RelayPointList, WithNamesStaysOneColumnOnThePrinter) {
  options(u8"PRINT62_DANGUMI_GYOU_SUU = 2\n");
  const std::string text = to_printer(true, 3);
  EXPECT_EQ(text.find("  |  "), std::string::npos);
  EXPECT_NE(text.find(cp(u8"ひまわり走友会ランナーズ")), std::string::npos);
  EXPECT_EQ(printed("62"), "");
}

TEST_F(RelayPointList, EscAtTheDelimiterQuestionWritesNothing) {
  con_->feed_key(KEY_ESC);
  EXPECT_TRUE(run([] { relay_point_check_list(false, false, 3); }));
  EXPECT_FALSE(std::filesystem::exists(dir_.file("OUT.TXT")));
  // Chosen by the user: Esc goes back to the relay point choice, Esc there returns.
  con_->feed_text("3");
  con_->feed_key(KEY_ENTER);
  con_->feed_key(KEY_ESC);
  con_->feed_key(KEY_ESC);
  EXPECT_TRUE(run(relay_point_check_entry));
  EXPECT_EQ(con_->keys_left(), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir_.file("OUT.TXT")));
}

// A list saved as a file is an input of the text-file import: plain, tab-delimited and
// comma-delimited (the import takes the quoted row number off too).
TEST_F(RelayPointList, SavedListImportsBackToTheSameTimes) {
  options(u8"INPUTSEQ = 1\n");
  for (char key : {'0', '1', '2'}) {
    for (int station : {1, 3, 4}) {
      std::filesystem::remove(dir_.file("OUT.TXT"));
      const std::string list = to_file(false, station, key);
      test_support::write_bytes("saved.txt", list);
      write_master(std::vector<MastRecord>{teams_});  // fresh copy of the times
      // Wipe the times of the station, then read them back from the saved list.
      std::vector<MastRecord> wiped = teams_;
      for (MastRecord& rec : wiped) {
        const int k = event_definition().phy_to_log[rec.bumon_no][station];
        if (k > 0) rec.slots[k].arrival = rec.slots[k].departure = kHmsNone;
      }
      write_master(wiped);
      EXPECT_EQ(import_file_station("saved.txt"), station);
      import_times("saved.txt", station, hms_make(0, 0, 0));
      const std::vector<MastRecord> back = read_master();
      for (std::size_t i = 0; i < teams_.size(); ++i) {
        const int k = event_definition().phy_to_log[teams_[i].bumon_no][station];
        if (k <= 0) continue;
        EXPECT_EQ(back[i].slots[k].arrival, teams_[i].slots[k].arrival)
            << "key " << key << " station " << station << " team " << teams_[i].team_no;
        EXPECT_EQ(back[i].slots[k].departure, teams_[i].slots[k].departure)
            << "key " << key << " station " << station << " team " << teams_[i].team_no;
      }
    }
  }
}

TEST_F(RelayPointList, PostEntryMenuPrintsTheStationJustEntered) {
  set_out_kind_no(kOutPrinter);
  con_->feed_text("1");
  EXPECT_TRUE(run([] { post_entry_menu(2, 3); }));
  const std::string text = printed("62");
  EXPECT_NE(text.find("EkiNo=03 " + cp(u8"三中")), std::string::npos);
  EXPECT_EQ(count(text, "EkiNo="), 1);
}

class WholeRaceLists : public CheckListTest {
 protected:
  std::string to_file(void (*list)(), char key) {
    con_->feed_key(key);
    EXPECT_TRUE(run(list));
    EXPECT_EQ(con_->keys_left(), 0u);
    return out_txt();
  }
};

TEST_F(WholeRaceLists, AllStationsGridAsTabDelimitedFile) {
  const std::string text = to_file(all_stations_grid, '1');
  expect_golden(text, "all_stations_tab.txt");
  EXPECT_EQ(count(text, cp(u8"チェック・リスト（全チーム・全中継所）")), 2);
  // Only team 1 has a departure line (its forced start at station 3).
  EXPECT_EQ(count(text, "    \t     \t" + std::string(13, ' ')), 1);
}

TEST_F(WholeRaceLists, AllStationsGridOnThePrinter) {
  set_out_kind_no(kOutPrinter);
  EXPECT_TRUE(run(all_stations_grid));
  const std::string text = printed("63");
  expect_golden(text, "all_stations_printer.txt");
  EXPECT_EQ(count(text, "\f"), 1);
}

TEST_F(WholeRaceLists, NamesListPlain) {
  const std::string text = to_file(names_check_list, '0');
  expect_golden(text, "names_plain.txt");
  EXPECT_NE(text.find(cp(u8"招待チーム") + std::string(14, ' ') + "(open)"), std::string::npos);
  // The name columns are as wide as the longest runner name (16 bytes).
  EXPECT_NE(text.find(std::string(11, ' ') + cp(u8"第１区")), std::string::npos);
}

TEST_F(WholeRaceLists, TimeOrderGridOnThePrinterLeavesNoTemporaryFiles) {
  set_out_kind_no(kOutPrinter);
  EXPECT_TRUE(run(time_order_grid));
  const std::string text = printed("68");
  expect_golden(text, "time_order_printer.txt");
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
  // Team 1's forced start at station 3 is marked; team 4 without times is NoData.
  EXPECT_NE(text.find("   1  94000& "), std::string::npos);
  EXPECT_NE(text.find("   4 NoData  "), std::string::npos);
}

TEST_F(WholeRaceLists, EscAtTheDelimiterQuestionCancelsEveryList) {
  for (void (*list)() : {all_stations_grid, names_check_list, time_order_grid}) {
    con_->feed_key(KEY_ESC);
    EXPECT_TRUE(run(list));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("OUT.TXT")));
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
}

TEST_F(WholeRaceLists, TeamCountsWithoutQuestions) {
  EXPECT_TRUE(run(team_count_list));
  expect_golden(out_txt(), "team_count.txt");
}

// The same-time list reads the ranks the computation left; here they are written by hand.
// At the goal of 一般の部, team 1 (forced start at station 3) ties with the open team 3;
// team 11 of 女子の部 has the same time at its own goal and is not listed with them.
// At station 3, 女子の部's teams 11 and 12 tie on their first section.
TEST_F(WholeRaceLists, SameTimeList) {
  auto cumulative = [&](int index, int k, int hhmmss, int rank) {
    teams_[index].slots[k].cumulative_time = t(hhmmss);
    teams_[index].slots[k].cumulative_rank = static_cast<std::int16_t>(rank);
  };
  cumulative(0, 4, 5000, 1);
  cumulative(2, 4, 5000, -1);
  cumulative(1, 4, 4800, 1);
  cumulative(4, 2, 5000, 1);
  cumulative(4, 1, 2500, 1);
  cumulative(5, 1, 2500, 2);
  cumulative(0, 1, 1230, 2);
  cumulative(2, 1, 1230, -1);
  write_master(teams_);
  EXPECT_TRUE(run(same_time_list));
  const std::string text = out_txt();
  expect_golden(text, "same_time.txt");
  EXPECT_EQ(count(text, cp(u8"同タイム・チェック・リスト")), 3);
  EXPECT_NE(text.find(cp(u8"オープン参加")), std::string::npos);
  EXPECT_EQ(text.find(cp(u8"さくらＲＣ") + std::string(14, ' ') + "    50'00"), std::string::npos);
}

TEST_F(WholeRaceLists, SameTimeListWithoutTiesWritesNothing) {
  set_out_kind_no(kOutPrinter);
  EXPECT_TRUE(run(same_time_list));
  EXPECT_EQ(printed("66"), "");
}

TEST_F(CheckListTest, TeamOnTheScreen) {
  con_->feed_text("1");
  con_->feed_key(KEY_ENTER);
  EXPECT_FALSE(run(team_screen_check));
  const std::string screen = con_->screen_text();
  for (const char8_t* line : {u8" 市役所 （一般の部）",
                              u8"                            到着時刻  出発時刻",
                              u8"スタート    : 市民広場       9:00'00   9:00'00",
                              u8"第 3 中継所 : 第三中継所     9:40'00   9:38'00  3区 R1-3",
                              u8"ゴール      : 陸上競技場     9:50'00   9:50'00  4区 R1-4"}) {
    EXPECT_NE(screen.find(reinterpret_cast<const char*>(line)), std::string::npos)
        << reinterpret_cast<const char*>(line) << "\n" << screen;
  }
}

TEST_F(CheckListTest, TeamOnTheScreenOpenTeamAndErrors) {
  con_->feed_text("3");
  con_->feed_key(KEY_ENTER);
  con_->feed_text("999");
  con_->feed_key(KEY_ENTER);
  con_->feed_key(KEY_ENTER);
  con_->feed_key(KEY_ESC);
  EXPECT_TRUE(run(team_screen_check));
  const std::string screen = con_->screen_text();
  EXPECT_NE(screen.find(reinterpret_cast<const char*>(u8" 招待チーム （一般の部）（オープン参加）")),
            std::string::npos) << screen;
  EXPECT_NE(screen.find(reinterpret_cast<const char*>(u8"ナンバー=999 エラー")), std::string::npos)
      << screen;
  EXPECT_NE(screen.find(reinterpret_cast<const char*>(u8" 4区 R3-4")), std::string::npos) << screen;
}

}  // namespace
