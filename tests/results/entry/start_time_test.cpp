// Start times: typed per division (main menu [3]) and registered as slot 0 of every team.
#include <gtest/gtest.h>

#include "compute/tiny_race.h"
#include "results/entry/start_time.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/virtual_console.h"

namespace {

using namespace tiny_race;

class StartTimes : public ::testing::Test {
 protected:
  void SetUp() override {
    define({0, 5, 10, 15}, {"++++", "+/++"});
    event_definition().start_times[0] = t(90000);
    event_definition().start_times[1] = t(91500);
    MastRecord entered = team(1, 0, false, 85000);
    arrive(entered, 1, 92000, 1);
    write_master({entered, team(2, 0), team(101, 1)});
  }
  bool run(void (*operation)()) {
    try {
      operation();
      return true;
    } catch (const VirtualConsole::KeysExhausted&) {
      return false;
    }
  }
  std::string screen() { return con_->screen_text(); }

  test_support::ScratchDir dir_;
  ScopedVirtualConsole con_;
};

TEST_F(StartTimes, RegisterWritesSlotZeroOfEveryTeamAndNothingElse) {
  const std::vector<MastRecord> before = read_master();
  con_->feed_key('Y');
  EXPECT_TRUE(run([] { start_time_register(); }));
  EXPECT_NE(screen().find(u8c(u8" 2: DIV1                       のスタート時刻＝  9:15'00")), std::string::npos)
      << screen();
  const std::vector<MastRecord> after = read_master();
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0].slots[0].departure, t(90000));
  EXPECT_EQ(after[0].slots[0].arrival, t(90000));
  EXPECT_EQ(after[1].slots[0].departure, t(90000));
  EXPECT_EQ(after[2].slots[0].arrival, t(91500));
  EXPECT_EQ(after[0].slots[1].arrival, before[0].slots[1].arrival);  // relay points untouched
  EXPECT_EQ(after[0].slots[1].input_seq, 1);
}

TEST_F(StartTimes, NoLeavesTheMasterFileAsItWas) {
  const std::string bytes = test_support::read_bytes(kMastFile);
  con_->feed_key('n');
  EXPECT_TRUE(run([] { start_time_register(); }));
  EXPECT_EQ(test_support::read_bytes(kMastFile), bytes);
}

TEST_F(StartTimes, TypedTimesAreRegisteredInvalidOnesAskAgain) {
  con_->feed_key(KEY_ENTER);  // empty: asked again
  con_->feed_text("86000");   // 60 minutes: asked again
  con_->feed_key(KEY_ENTER);
  con_->feed_text("83000");
  con_->feed_key(KEY_ENTER);
  con_->feed_text("0");  // midnight is a valid start
  con_->feed_key(KEY_ENTER);
  con_->feed_key('Y');
  EXPECT_TRUE(run(start_time_entry));
  EXPECT_EQ(con_->beep_count(), 2);
  const std::vector<MastRecord> after = read_master();
  EXPECT_EQ(after[0].slots[0].departure, t(83000));
  EXPECT_EQ(after[2].slots[0].departure, HmsTime{});
}

TEST_F(StartTimes, EscKeepsTypedTimesInMemoryOnly) {
  const std::string bytes = test_support::read_bytes(kMastFile);
  con_->feed_text("81500");
  con_->feed_key(KEY_ENTER);
  con_->feed_key(KEY_ESC);
  EXPECT_TRUE(run(start_time_entry));
  EXPECT_EQ(test_support::read_bytes(kMastFile), bytes);
  EXPECT_EQ(event_definition().start_times[0], t(81500));
  EXPECT_EQ(event_definition().start_times[1], t(91500));
}

TEST_F(StartTimes, PromptsFollowTheTitleOneRowEach) {
  con_->feed_text("83000");
  con_->feed_key(KEY_ENTER);
  con_->feed_key(KEY_ENTER);  // empty: the bell and the prompt again on the next row
  con_->feed_key(KEY_ESC);
  EXPECT_TRUE(run(start_time_entry));
  EXPECT_NE(con_->row_text(2).find(u8c(u8"第１走者のスタート時刻入力")), std::string::npos)
      << screen();
  EXPECT_EQ(con_->row_text(3).rfind(u8c(u8" 1: DIV0                       のスタート時刻＝"), 0), 0u)
      << screen();
  EXPECT_EQ(con_->row_text(4).rfind(u8c(u8" 2: DIV1                       のスタート時刻＝"), 0), 0u)
      << screen();
  EXPECT_EQ(con_->row_text(5).rfind(u8c(u8" 2: DIV1                       のスタート時刻＝"), 0), 0u)
      << screen();
}

}  // namespace
