// The forced-start dialogue walked through a VirtualConsole: only departures change, and
// teams that arrived later than the forced-start time are pointed out.
#include "entry/time_entry_fixture.h"
#include "results/entry/post_entry_menu.h"
#include "results/entry/time_entry.h"
#include "results/shell/stops.h"

namespace {

using namespace entry_test;

class ForcedStartDialogue : public TimeEntryDialogue {
 protected:
  void SetUp() override {
    TimeEntryDialogue::SetUp();
    auto teams = read_master();
    arrive(teams[0], 2, 94000, 1);  // team 1 in time
    arrive(teams[1], 2, 95000, 2);  // team 2 late
    write_master(teams);
  }
};

TEST_F(ForcedStartDialogue, SetsOnlyTheDepartureAndWarnsAboutLateTeams) {
  line("2");
  line("94500");
  line("2");
  esc();
  EXPECT_FALSE(run([] { forced_start_entry(1, 0); }));
  const MastRecord t2 = record(2);
  EXPECT_EQ(t2.slots[2].departure, t(94500));
  EXPECT_EQ(t2.slots[2].arrival, t(95000));
  EXPECT_EQ(t2.slots[2].input_seq, 2);
  EXPECT_EQ(forced_start_time(), t(94500));
  // Teams 3 to 17 and 101 have not arrived and were not started at 9:45:00.
  EXPECT_EQ(row(20), u8c(u8"警告！次のチームは繰上出発ではありませんか？"));
  EXPECT_EQ(con_->attr_at(20, 0), 0x0C);
  EXPECT_EQ(row(21), "   3   4   5   6   7   8   9  10  11  12");
  EXPECT_EQ(row(22), "  13  14  15  16  17 101");
}

TEST_F(ForcedStartDialogue, TheForcedStartTimeIsAskedUnderTheRelayPointChooser) {
  line("2");
  EXPECT_FALSE(run([] { forced_start_entry(1, 0); }));
  EXPECT_EQ(row(7).rfind(u8c(u8"中継所Ｎｏ＝"), 0), 0u) << row(7);
  EXPECT_EQ(row(8).rfind(u8c(u8" 2 : ST2　　繰上出発タイム＝"), 0), 0u) << row(8);

  line("2");
  enter();        // empty: the bell, asked again on the next row
  line("96000");  // 60 minutes: the same
  const int beeps = con_->beep_count();
  EXPECT_FALSE(run([] { forced_start_entry(1, 0); }));
  EXPECT_EQ(con_->beep_count() - beeps, 2);
  EXPECT_EQ(row(10).rfind(u8c(u8" 2 : ST2　　繰上出発タイム＝"), 0), 0u) << row(10);
  for (const MastRecord& r : read_master()) EXPECT_EQ(r.slots[2].departure, r.slots[2].arrival);
}

TEST_F(ForcedStartDialogue, NoTeamEnteredIsWarned) {
  line("2");
  line("94500");
  esc();
  EXPECT_FALSE(run([] { forced_start_entry(1, 0); }));
  EXPECT_EQ(row(20), u8c(u8"警告！ナンバーを１件も入力していません"));
  EXPECT_EQ(con_->attr_at(20, 0), 0x0C);
}

TEST_F(ForcedStartDialogue, FromThePostEntryMenuTheStationIsGiven) {
  line("94500");
  line("1");
  esc();
  EXPECT_FALSE(run([] { forced_start_entry(2, 2); }));
  EXPECT_EQ(record(1).slots[2].departure, t(94500));
  EXPECT_EQ(record(1).slots[2].arrival, t(94000));
}

}  // namespace

namespace {

using namespace entry_test;

TEST_F(ForcedStartDialogue, F5AtTheTeamPromptRunsTheWarningFirst) {
  line("2");
  line("94500");
  line("2");
  con_->feed_key(KEY_F5);
  con_->feed_text("Y");  // confirms the warning, then the jump back to the main menu
  EXPECT_THROW(forced_start_entry(1, 0), BackToMainMenu);
  EXPECT_EQ(row(20), u8c(u8"警告！次のチームは繰上出発ではありませんか？"));
  EXPECT_EQ(record(2).slots[2].departure, t(94500));
}

TEST_F(TimeEntryDialogue, PostEntryMenuKeys) {
  struct Case {
    int offer;
    std::vector<int> keys;
    bool returned;   // the menu ended by itself
    int beeps;
  } cases[] = {
      {2, {KEY_ESC}, true, 0},
      {1, {'2', 'x', KEY_ESC}, true, 2},  // [2] is not offered
      {1, {'1', KEY_ESC}, true, 0},       // the check list: Esc at its delimiter question
  };
  for (const Case& c : cases) {
    for (int key : c.keys) con_->feed_key(key);
    const int beeps = con_->beep_count();
    EXPECT_EQ(run([&] { post_entry_menu(c.offer, 1); }), c.returned);
    EXPECT_EQ(con_->beep_count() - beeps, c.beeps);
    EXPECT_NE(row(6).find(u8c(u8"中継所  1 : ST1")), std::string::npos);
    EXPECT_EQ(row(9).find(u8c(u8"[2] 繰上出発タイム入力")) != std::string::npos, c.offer == 2);
  }
  con_->feed_key(KEY_F5);
  EXPECT_THROW(post_entry_menu(2, 1), BackToMainMenu);
}

}  // namespace
