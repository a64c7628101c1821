// The arrival-entry and forced-start dialogues walked through a VirtualConsole: what the
// screen shows and what MASTFILE.DAT holds after every step.
#include "entry/time_entry_fixture.h"
#include "results/entry/time_entry.h"
#include "results/shell/stops.h"

namespace {

using namespace entry_test;

TEST_F(TimeEntryDialogue, EnteredTimeIsStoredAtOnceWithTheAddedTimeAndListed) {
  line("1");    // relay point 1
  line("100");  // added time 0:01:00
  line("1");
  line("92000");
  EXPECT_FALSE(run(time_entry));
  const MastRecord t1 = record(1);
  EXPECT_EQ(t1.slots[1].arrival, t(92100));
  EXPECT_EQ(t1.slots[1].departure, t(92100));
  EXPECT_EQ(t1.slots[1].input_seq, 1);
  EXPECT_NE(row(0).find(u8c(u8" 1 : ST1　　加算時間＝0時間01分00秒")), std::string::npos) << row(0);
  EXPECT_EQ(con_->attr_at(0, 8), 0x9F);
  EXPECT_EQ(row(2), u8c(u8"  1 TEAM1                      9:21'00 (  9:20'00 +     1'00 )"));
  EXPECT_NE(row(20).find(u8c(u8"チームＮｏ＝")), std::string::npos);
}

TEST_F(TimeEntryDialogue, OptionInputseqShowsTheSequenceNumbers) {
  test_support::write_bytes("OPTION.TXT", "INPUTSEQ=\r\n");  // present, even empty
  line("1");
  enter();
  line("1");
  line("92000");
  EXPECT_FALSE(run(time_entry));
  EXPECT_EQ(row(2), u8c(u8"  1 TEAM1                      9:20'00 (  9:20'00 +       00 )    (    1)"));
}

TEST_F(TimeEntryDialogue, WrongNumbersAndStationsAreNoticedInWhiteOnRed) {
  struct Case {
    const char* typed;
    const char* notice;
  } cases[] = {
      {"999", u8c(u8"チームＮｏ（999）エラー")},
      {"0", u8c(u8"チームＮｏ（0）エラー")},
      {"101", u8c(u8"ST1 は DIV1 の中継所ではありません")},
  };
  for (const Case& c : cases) {
    line("1");
    enter();
    line(c.typed);
    EXPECT_FALSE(run(time_entry));
    EXPECT_EQ(row(22), c.notice);
    EXPECT_EQ(con_->attr_at(22, 0), kNoticeAttr);
    EXPECT_NE(row(20).find(u8c(u8"チームＮｏ＝")), std::string::npos) << c.typed;
  }
  for (const MastRecord& r : read_master()) EXPECT_TRUE(hms_is_none(r.slots[1].arrival)) << r.team_no;
}

TEST_F(TimeEntryDialogue, SecondEntryWarnsReplacesAndMovesTheTeamToTheEnd) {
  line("1");
  enter();
  line("1");
  line("92000");
  line("2");
  line("92100");
  line("1");  // again: the notice names the stored time
  EXPECT_FALSE(run(time_entry));
  EXPECT_EQ(row(22), u8c(u8"既に  9:20'00 が入力済みです。これから入力されるタイムに置き替わります。"));
  EXPECT_EQ(row(23), u8c(u8"-1 を入力すれば、このチームのこの中継所でのデータが未入力の状態に戻ります。"));
  EXPECT_EQ(con_->attr_at(23, 0), kNoticeAttr);

  line("1");
  enter();
  line("1");
  line("92000");
  line("2");
  line("92100");
  line("1");
  line("91900");
  EXPECT_FALSE(run(time_entry));
  EXPECT_EQ(record(1).slots[1].arrival, t(91900));
  EXPECT_EQ(record(1).slots[1].input_seq, 3 + 2);  // continues after the first run's numbers
  EXPECT_EQ(row(2).substr(0, 9), "  2 TEAM2");
  EXPECT_EQ(row(3).substr(0, 9), "  1 TEAM1");
  EXPECT_EQ(row(4), "");
}

TEST_F(TimeEntryDialogue, NoticeBeforeTheTimeNamesWhatWillBeReplaced) {
  const std::string minus_one = u8c(u8"-1 を入力すれば、このチームのこの中継所でのデータが未入力の状態に戻ります。");
  struct Case {
    int arrival;    // hhmmss, -1 for not entered
    int departure;
    std::vector<std::string> rows;  // rows 22 onwards
  } cases[] = {
      {-1, -1, {"", "", ""}},
      {-1, 91900, {u8c(u8"このチームのこの中継所での繰上出発タイム  9:19'00 が消えます。"), minus_one, ""}},
      {92000, 92000, {u8c(u8"既に  9:20'00 が入力済みです。これから入力されるタイムに置き替わります。"), minus_one, ""}},
      {0, 0, {u8c(u8"既に       00 が入力済みです。これから入力されるタイムに置き替わります。"), minus_one, ""}},
      {92000, -1, {u8c(u8"既に  9:20'00 が入力済みです。これから入力されるタイムに置き替わります。"), minus_one, ""}},
  };
  for (const Case& c : cases) {
    auto teams = read_master();
    teams[0].slots[1].arrival = c.arrival < 0 ? kHmsNone : t(c.arrival);
    teams[0].slots[1].departure = c.departure < 0 ? kHmsNone : t(c.departure);
    write_master(teams);
    line("1");
    enter();
    line("1");
    EXPECT_FALSE(run(time_entry));
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
      EXPECT_EQ(row(22 + static_cast<int>(i)), c.rows[i]) << c.arrival << " " << c.departure;
      if (!c.rows[i].empty()) {
        EXPECT_EQ(con_->attr_at(22 + static_cast<int>(i), 0), kNoticeAttr);
      }
    }
  }
}

TEST_F(TimeEntryDialogue, MinusOneClearsArrivalAndForcedStartAndTakesANumber) {
  MastRecord t1 = team(1, 0, false, 90000);
  t1.slots[1].arrival = t(92000);
  t1.slots[1].departure = t(91900);  // a forced start recorded here
  t1.slots[1].input_seq = 7;
  auto teams = read_master();
  teams[0] = t1;
  write_master(teams);
  line("1");
  enter();
  line("1");
  EXPECT_FALSE(run(time_entry));
  EXPECT_EQ(row(22), u8c(u8"既に  9:20'00 が入力済みです。これから入力されるタイムに置き替わります。"));
  EXPECT_EQ(row(23), u8c(u8"このチームのこの中継所での繰上出発タイム  9:19'00 が消えます。"));

  line("1");
  enter();
  line("1");
  line("-1");
  EXPECT_FALSE(run(time_entry));
  const MastRecord after = record(1);
  EXPECT_TRUE(hms_is_none(after.slots[1].arrival));
  EXPECT_TRUE(hms_is_none(after.slots[1].departure));
  EXPECT_EQ(after.slots[1].input_seq, 8);
}

TEST_F(TimeEntryDialogue, ZeroMinusAndNegativeNumbersAsTimes) {
  struct Case {
    const char* typed;
    int stored;  // hhmmss, -1 for not entered
    const char* listed;
  } cases[] = {
      {"0", 0, u8c(u8"  1 TEAM1                           00 (       00 +       00 )")},
      {"-", 0, u8c(u8"  1 TEAM1                           00 (       00 +       00 )")},
      {"-0", 0, u8c(u8"  1 TEAM1                           00 (       00 +       00 )")},
      {"-25", -1, u8c(u8"  1 TEAM1                       NoData (   NoData +       00 )")},
  };
  int seq = 0;
  for (const Case& c : cases) {
    line("1");
    enter();
    line("1");
    line(c.typed);
    EXPECT_FALSE(run(time_entry));
    const StationSlot slot = record(1).slots[1];
    const HmsTime want = c.stored < 0 ? kHmsNone : t(c.stored);
    EXPECT_EQ(slot.arrival, want) << c.typed;
    EXPECT_EQ(slot.departure, want) << c.typed;
    EXPECT_EQ(slot.input_seq, ++seq) << c.typed;  // clearing takes a number too
    EXPECT_EQ(row(2), c.listed);
  }
}

TEST_F(TimeEntryDialogue, UnusableTimesAreRefusedAndNothingIsWritten) {
  struct Case {
    const char* added;
    const char* typed;
    const char* notice;  // nullptr: only the bell
  } cases[] = {
      {"", "96000", u8c(u8"入力タイム（96000）エラー")},    // 60 minutes
      {"", "92060", u8c(u8"入力タイム（92060）エラー")},    // 60 seconds
      {"10000", "990000", u8c(u8"入力タイム（990000）エラー")},  // 100 hours with the added time
      {"", "", nullptr},
  };
  for (const Case& c : cases) {
    line("1");
    line(c.added);
    line("1");
    line(c.typed);
    const int beeps = con_->beep_count();
    EXPECT_FALSE(run(time_entry));
    EXPECT_GT(con_->beep_count(), beeps);
    if (c.notice) {
      EXPECT_EQ(row(22), c.notice) << c.typed;
    }
    EXPECT_NE(row(20).find(u8c(u8"1 TEAM1 のタイム＝")), std::string::npos) << row(20);
    EXPECT_TRUE(hms_is_none(record(1).slots[1].arrival)) << c.typed;
  }
}

TEST_F(TimeEntryDialogue, AbnormalSpeedOfEitherSectionIsShownWithTheTypedTime) {
  auto teams = read_master();
  arrive(teams[1], 2, 92200, 1);  // team 2 reached relay point 2 at 9:22:00
  write_master(teams);
  struct Case {
    const char* team;
    const char* added;
    const char* typed;
    const char* shown;  // nullptr: no warning
  } cases[] = {
      {"1", "100", "90400", u8c(u8"入力タイム＝9:04'00（加算後 9:05'00）")},  // 5 km in 5 min
      {"2", "", "92000", u8c(u8"入力タイム＝9:20'00（加算後 9:20'00）")},     // next: 5 km in 2 min
      {"3", "", "92000", nullptr},                                               // 15 km/h
  };
  for (const Case& c : cases) {
    line("1");
    line(c.added);
    line(c.team);
    line(c.typed);
    EXPECT_FALSE(run(time_entry));
    const std::string screen = con_->screen_text();
    EXPECT_EQ(screen.find(u8c(u8"異常スピード")) != std::string::npos, c.shown != nullptr) << screen;
    if (c.shown) {
      EXPECT_NE(screen.find(c.shown), std::string::npos) << screen;
      EXPECT_NE(screen.find(u8c(u8"上のメッセージを確認したら Y を入力")), std::string::npos);
      line("1");  // again, confirmed: the team prompt follows, the team in the list
      line(c.added);
      line(c.team);
      line(c.typed);
      keys("Y");
      EXPECT_FALSE(run(time_entry));
      EXPECT_EQ(row(2).substr(0, 9), std::string("  ") + c.team + " TEAM" + c.team);
      EXPECT_EQ(row(22), "");
      EXPECT_NE(row(20).find(u8c(u8"チームＮｏ＝")), std::string::npos);
    }
    EXPECT_NE(record(std::atoi(c.team)).slots[1].arrival, kHmsNone) << c.team;  // written before the check
  }
}

TEST_F(TimeEntryDialogue, RecentListKeepsTheLastFifteen) {
  line("1");
  enter();
  for (int no = 1; no <= 16; ++no) {
    line(std::to_string(no));
    line(std::to_string(92000 + no));
  }
  EXPECT_FALSE(run(time_entry));
  EXPECT_EQ(row(2).substr(0, 9), "  2 TEAM2");
  EXPECT_EQ(row(16).substr(0, 10), " 16 TEAM16");
  for (int no = 1; no <= 16; ++no) EXPECT_EQ(record(no).slots[1].arrival, t(92000 + no)) << no;
}

TEST_F(TimeEntryDialogue, F5InTheMiddleOfASeriesKeepsWhatWasAccepted) {
  line("1");
  enter();
  line("3");
  line("92000");
  line("4");
  keys("921");
  con_->feed_key(KEY_F5);
  EXPECT_THROW(time_entry(), BackToMainMenu);
  EXPECT_EQ(record(3).slots[1].arrival, t(92000));
  EXPECT_TRUE(hms_is_none(record(4).slots[1].arrival));
}

TEST_F(TimeEntryDialogue, LeavingARelayPointOffersTheForcedStartEntry) {
  line("1");
  enter();
  line("1");
  line("92000");
  esc();  // team number
  esc();  // added time
  EXPECT_FALSE(run(time_entry));
  EXPECT_NE(row(6).find(u8c(u8"中継所  1 : ST1")), std::string::npos) << row(6);
  EXPECT_NE(row(8).find(u8c(u8"[1] チェックリスト出力")), std::string::npos);
  EXPECT_NE(row(9).find(u8c(u8"[2] 繰上出発タイム入力")), std::string::npos);
  esc();      // post-entry menu
  esc();      // relay-point chooser
  EXPECT_TRUE(run([] {}));
}

}  // namespace
