// Times copied from another master file of the same race: entered data always wins,
// imported entries follow the existing ones, mismatched files are refused.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "compute/tiny_race.h"
#include "results/setup/import_times.h"
#include "results/shell/console.h"
#include "results/shell/virtual_console.h"

namespace {

using namespace tiny_race;

class ImportTimes : public ::testing::Test {
 protected:
  void SetUp() override { define({0, 5, 10, 15}, {"++++", "+/++"}); }
  // Writes the teams as the other PC's master file.
  void write_source(const std::vector<MastRecord>& teams) {
    write_master(teams);
    ::mkdir("other", 0755);
    test_support::write_bytes("other/MASTFILE.DAT", test_support::read_bytes(kMastFile));
  }
  std::string screen() { return con_->screen_text(); }

  test_support::ScratchDir dir_;
  ScopedVirtualConsole con_{80, 60};
};

TEST_F(ImportTimes, OnlyEmptySlotsTakeTheOtherFilesTimesAfterTheOwnEntries) {
  MastRecord a = team(1, 0, false, 90000);
  arrive(a, 1, 92000, 4);
  arrive(a, 2, 94000, 7);
  MastRecord b = team(2, 0, false, 90000);
  b.slots[1].departure = t(93000);  // a forced start without an arrival
  b.slots[1].input_seq = 2;
  MastRecord gone = team(9, 0, false, 90000);
  write_source({a, b, gone});

  MastRecord own = team(1, 0, false, 90000);
  arrive(own, 1, 92005, 3);  // entered here: wins
  MastRecord newcomer = team(5, 1, false, 91500);
  write_master({own, team(2, 0, false, 90000), newcomer});

  con_->feed_keys({'Y'});
  EXPECT_EQ(import_times(kMastFile, "other/MASTFILE.DAT"), 0);
  const std::vector<MastRecord> after = read_master();
  EXPECT_EQ(after[0].slots[1].arrival, t(92005));
  EXPECT_EQ(after[0].slots[1].input_seq, 3);
  EXPECT_EQ(after[0].slots[2].arrival, t(94000));
  EXPECT_EQ(after[0].slots[2].input_seq, 3 + 7);  // after the largest own number
  EXPECT_EQ(after[1].slots[1].departure, t(93000));
  EXPECT_EQ(after[1].slots[1].arrival, kHmsNone);
  EXPECT_EQ(after[1].slots[1].input_seq, 3 + 2);
  EXPECT_EQ(after[0].slots[0].departure, t(90000));  // slot 0 had data: kept
  const std::string s = screen();
  EXPECT_NE(s.find(u8c(u8"チームＮｏ＝5：引き継ぎ元 other/MASTFILE.DAT に無し")), std::string::npos) << s;
  EXPECT_NE(s.find(u8c(u8"2 件のタイムを取り込みました")), std::string::npos) << s;
}

TEST_F(ImportTimes, ATeamMovedToAnotherCourseKeepsItsTimesAtTheirStations) {
  // In the old file team 1 ran the full course (stations 0-1-2-3); TEAM.TXT then put it
  // in the division that skips station 1 (stations 0-2-3).
  MastRecord before = team(1, 0, false, 90000);
  arrive(before, 1, 92000, 1);  // station 1: not on the new course
  arrive(before, 2, 94000, 2);  // station 2
  arrive(before, 3, 100000, 3);  // station 3, the goal
  write_source({before});
  write_master({team(1, 1, false, 91500)});

  con_->feed_keys({'Y'});
  EXPECT_EQ(import_times(kMastFile, "other/MASTFILE.DAT"), 0);
  const MastRecord after = read_master()[0];
  EXPECT_EQ(after.slots[0].departure, t(91500));  // entered here: wins
  EXPECT_EQ(after.slots[1].arrival, t(94000));    // station 2 is section 1's end now
  EXPECT_EQ(after.slots[2].arrival, t(100000));   // the goal
  EXPECT_EQ(after.slots[3].arrival, kHmsNone);    // beyond the new course
  EXPECT_NE(screen().find(u8c(u8"2 件のタイムを取り込みました")), std::string::npos) << screen();
}

TEST_F(ImportTimes, TheSameFileUnderAnotherNameIsRefused) {
  write_master({team(1, 0)});
  const std::string bytes = test_support::read_bytes(kMastFile);
  con_->feed_key('y');
  EXPECT_EQ(import_times(kMastFile, "./MASTFILE.DAT"), -1);
  EXPECT_NE(screen().find(u8c(u8"MASTFILE.DAT と ./MASTFILE.DAT は同じファイルです。")), std::string::npos);
  EXPECT_EQ(test_support::read_bytes(kMastFile), bytes);
  EXPECT_EQ(con_->beep_count(), 1);
}

TEST_F(ImportTimes, OtherNumbersOfSectionsOrRecordLengthsAreRefused) {
  write_master({team(1, 0)});
  const std::string bytes = test_support::read_bytes(kMastFile);
  std::string other = bytes;
  other[3] = 5;  // five sections
  test_support::write_bytes("five.DAT", other);
  con_->feed_key('Y');
  EXPECT_EQ(import_times(kMastFile, "five.DAT"), 1);
  EXPECT_NE(screen().find(u8c(u8"five.DAT の区間数は 5")), std::string::npos) << screen();
  EXPECT_NE(screen().find(u8c(u8"区間数が異なっています")), std::string::npos);

  other = bytes;
  other[5] = static_cast<char>(other[5] + 1);  // one byte longer records
  test_support::write_bytes("long.DAT", other);
  con_->feed_key('Y');
  EXPECT_EQ(import_times(kMastFile, "long.DAT"), 2);
  EXPECT_NE(screen().find(u8c(u8"レコード長が異なっています")), std::string::npos);
  EXPECT_NE(screen().find(u8c(u8"取り込み処理は行いませんでした。")), std::string::npos);
  EXPECT_EQ(test_support::read_bytes(kMastFile), bytes);
}

}  // namespace
