// The consistency warnings on the console: texts, the five-warning and eleven-line
// limits, speeds exactly at the limits.
#include <gtest/gtest.h>

#include "compute/tiny_race.h"
#include "results/entry/warnings.h"
#include "results/shell/console.h"
#include "results/shell/virtual_console.h"

namespace {

using namespace tiny_race;

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class Warnings : public ::testing::Test {
 protected:
  void SetUp() override { define({0, 5, 10, 15}, {"++++", "+/++"}); }
  std::string screen() { return con_->screen_text(); }

  test_support::ScratchDir dir_;
  ScopedVirtualConsole con_{80, 80};
};

TEST_F(Warnings, SixArrivalsBeforeDeparturesPrintFiveAndTheTotal) {
  std::vector<MastRecord> teams;
  for (int no = 1; no <= 6; ++no) {
    MastRecord rec = team(no, 0, false, 90000);
    arrive(rec, 1, 92000, no);
    rec.slots[1].departure = t(93000);  // forced start after the real arrival
    teams.push_back(rec);
  }
  MastRecord fine = team(7, 0, false, 90000);
  fine.slots[2].departure = t(100000);  // forced start, no arrival: the largest value
  teams.push_back(fine);
  write_master(teams);
  con_->feed_key('Y');
  EXPECT_EQ(arrival_before_departure_check(), 6);
  const std::string s = screen();
  EXPECT_EQ(occurrences(s, u8c(u8"で到着時刻が出発時刻より早い。")), 5u) << s;
  EXPECT_NE(s.find(u8c(u8"警告 チームＮｏ=1 TEAM1（DIV0）")), std::string::npos) << s;
  EXPECT_NE(s.find(u8c(u8"第1中継所(ST1)で到着時刻が出発時刻より早い。")), std::string::npos);
  EXPECT_NE(s.find(u8c(u8"到着時刻=9:20'00")), std::string::npos);
  EXPECT_NE(s.find(u8c(u8"出発時刻=9:30'00")), std::string::npos);
  EXPECT_EQ(s.find(u8c(u8"チームＮｏ=6 ")), std::string::npos);
  EXPECT_NE(s.find(u8c(u8"警告は全部で 6件あります。初めの 5件だけを表示しました。")), std::string::npos);
  EXPECT_NE(s.find(u8c(u8"上のメッセージを確認したら Y を入力")), std::string::npos);
  EXPECT_EQ(con_->keys_left(), 0u);
  EXPECT_EQ(con_->beep_count(), 5);
}

TEST_F(Warnings, NothingToReportAsksNothing) {
  MastRecord rec = team(1, 0, false, 90000);
  arrive(rec, 1, 92000, 1);
  write_master({rec});
  EXPECT_EQ(arrival_before_departure_check(), 0);
  EXPECT_EQ(missing_departure_check(kMissingDepartureBeforeArrival), 0);
  EXPECT_EQ(speed_check_all(), 0);
  EXPECT_EQ(screen().find(u8c(u8"上のメッセージ")), std::string::npos);
}

TEST_F(Warnings, MissingDepartureBeforeAnArrival) {
  MastRecord rec = team(3, 1, false, 91500);
  arrive(rec, 2, 94000, 1);  // division 1: logical 2 is station 3 (goal)
  MastRecord no_start = team(4, 0);
  arrive(no_start, 1, 92000, 2);
  write_master({rec, no_start});
  con_->feed_key('Y');
  EXPECT_EQ(missing_departure_check(kMissingDepartureBeforeArrival), 2);
  const std::string s = screen();
  EXPECT_NE(s.find(u8c(u8"第1中継所(ST2)で出発時刻なし。第2中継所(ST3)で到着時刻あり。")), std::string::npos) << s;
  EXPECT_NE(s.find(u8c(u8"第0中継所(ST0)で出発時刻なし。第1中継所(ST1)で到着時刻あり。")), std::string::npos) << s;
  EXPECT_EQ(s.find(u8c(u8"警告は全部で")), std::string::npos);
}

TEST_F(Warnings, SpeedsExactlyAtTheLimitsAreAbnormal) {
  struct Case {
    int arrival;
    int expected;
  };
  for (const Case& c : {Case{91000, 1}, Case{91001, 0}, Case{104000, 1}, Case{103959, 0}}) {
    SCOPED_TRACE(c.arrival);
    MastRecord rec = team(1, 0, false, 90000);
    arrive(rec, 1, c.arrival, 1);
    EXPECT_EQ(speed_check(rec, 1, 0), c.expected);
    EXPECT_NE(rec.slots[1].section_time, HmsTime{});
  }
  MastRecord no_time = team(2, 0, false, 90000);
  EXPECT_EQ(speed_check(no_time, 1, 1), 0);    // no arrival: no section time
  EXPECT_EQ(speed_check(no_time, 4, 1), 0);    // beyond the division's sections
  EXPECT_EQ(con_->beep_count(), 0);
}

TEST_F(Warnings, TwelveAbnormalSpeedsPrintElevenAndTheTotal) {
  std::vector<MastRecord> teams;
  for (int no = 1; no <= 6; ++no) {
    MastRecord rec = team(no, 0, false, 90000);
    arrive(rec, 1, 91000, 1);   // 30 km/h
    arrive(rec, 2, 111000, 2);  // 5 km in 2 hours: 2.5 km/h
    arrive(rec, 3, 113000, 3);  // 15 km/h
    teams.push_back(rec);
  }
  write_master(teams);
  con_->feed_key('Y');
  EXPECT_EQ(speed_check_all(), 12);
  const std::string s = screen();
  EXPECT_EQ(occurrences(s, u8c(u8"異常スピード ")), 11u) << s;
  EXPECT_NE(s.find(u8c(u8"異常スピード 30.00km/h No=1 TEAM1 1区   5.0km ST0→ST1")), std::string::npos) << s;
  EXPECT_NE(s.find(u8c(u8"異常スピード  2.50km/h No=1 TEAM1 2区   5.0km ST1→ST2")), std::string::npos);
  EXPECT_NE(s.find(u8c(u8"異常スピードは全部で 12 件あります")), std::string::npos);
  EXPECT_EQ(con_->keys_left(), 0u);
}

}  // namespace
