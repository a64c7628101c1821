// A small race and a VirtualConsole for walking the entry dialogues: keys are fed
// first, the dialogue runs until it returns or waits for a key that was not fed.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "compute/tiny_race.h"
#include "results/shell/console.h"
#include "results/shell/virtual_console.h"

namespace entry_test {

using namespace tiny_race;

constexpr Attr kNoticeAttr = 0xCF;

class TimeEntryDialogue : public ::testing::Test {
 protected:
  void SetUp() override {
    define({0, 5, 10, 15}, {"++++", "+/++"});
    std::vector<MastRecord> teams;
    for (int no = 1; no <= 17; ++no) teams.push_back(team(no, 0, false, 90000));
    teams.push_back(team(101, 1, false, 91500));
    write_master(teams);
  }

  void keys(std::string_view text) { con_->feed_text(text); }
  void enter() { con_->feed_key(KEY_ENTER); }
  void line(std::string_view text) { keys(text); enter(); }
  void esc() { con_->feed_key(KEY_ESC); }

  // Runs the dialogue until the keys run out (the screen then shows the waiting prompt)
  // or it returns. True when it returned by itself.
  bool run(const std::function<void()>& dialogue) {
    try {
      dialogue();
      return true;
    } catch (const VirtualConsole::KeysExhausted&) {
      return false;
    }
  }

  std::string row(int r) { return con_->row_text(r); }
  MastRecord record(int no) { return find(read_master(), no); }

  test_support::ScratchDir dir_;
  ScopedVirtualConsole con_;
};

}  // namespace entry_test
