// Key reading, one-key prompts and the line editor on a VirtualConsole.
#include <gtest/gtest.h>

#include <string>

#include "results/shell/console.h"
#include "results/shell/virtual_console.h"
#include "support/test_support.h"

namespace {

using test_support::ScratchDir;

std::string u8s(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class ConsoleInput : public ::testing::Test {
 protected:
  void SetUp() override {
    set_help_file_path(scratch.file("no-help.html"));
    set_help_action([this] { ++help_opened; });
  }
  void TearDown() override {
    set_help_action(nullptr);
    set_help_file_path("");
  }

  ScratchDir scratch;
  ScopedVirtualConsole vc;
  int help_opened = 0;
};

TEST_F(ConsoleInput, ReadKeyOpensHelpOnF1AndSkipsShiftAlone) {
  vc->feed_keys({KEY_F1, KEY_SHIFT, 'a', KEY_F1, KEY_ENTER});
  EXPECT_EQ(read_key(), 'a');
  EXPECT_EQ(help_opened, 1);
  EXPECT_EQ(read_key(), KEY_ENTER);
  EXPECT_EQ(help_opened, 2);
}

TEST_F(ConsoleInput, PollKeyReportsEmptyInputShiftAndKeys) {
  EXPECT_FALSE(key_waiting());
  EXPECT_EQ(poll_key(), POLL_NONE);
  vc->feed_keys({KEY_SHIFT, KEY_F1, KEY_ESC});
  EXPECT_TRUE(key_waiting());
  EXPECT_EQ(poll_key(), POLL_SHIFT);
  EXPECT_EQ(poll_key(), KEY_ESC);  // F1 opened the help page and the next event came
  EXPECT_EQ(help_opened, 1);
}

TEST_F(ConsoleInput, ReadingWithoutFedKeysFailsInsteadOfWaiting) {
  EXPECT_THROW(read_key(), VirtualConsole::KeysExhausted);
  vc->set_idle_poll_limit(5);
  EXPECT_THROW(
      {
        while (!key_waiting()) {
        }
      },
      VirtualConsole::KeysExhausted);
}

TEST_F(ConsoleInput, AskChoiceRefusesOtherKeysWithABeepAndEchoesTheAcceptedOne) {
  move_cursor(22, 10);
  vc->feed_keys({'x', KEY_ENTER, 'n'});
  EXPECT_EQ(ask_choice("よろしいですか？（Y / N）", "YyNn"), 'n');
  EXPECT_EQ(vc->beep_count(), 2);
  EXPECT_EQ(vc->row_text(22), std::string(10, ' ') + u8s(u8"よろしいですか？（Y / N）[n]"));
  // The cursor rests on the echoed key, inside the brackets.
  EXPECT_EQ(cursor_position(), (CursorPos{22, 10 + 25 + 1}));
  EXPECT_EQ(vc->keys_left(), 0u);
}

TEST_F(ConsoleInput, AskChoiceWithStarTakesAnyKeyWithoutEcho) {
  vc->feed_keys({KEY_ESC});
  EXPECT_EQ(ask_choice(" を終了しますか？（Y / N）", "*"), KEY_ESC);
  EXPECT_EQ(vc->row_text(0), u8s(u8" を終了しますか？（Y / N）[ ]"));
  EXPECT_EQ(vc->beep_count(), 0);
}

TEST_F(ConsoleInput, AskChoiceIgnoresSpecialKeysEvenWhenTheirLowByteIsAccepted) {
  // KEY_SPECIAL + 0x59 would be 'Y' if only the low byte counted.
  vc->feed_keys({KEY_SPECIAL + 'Y', 'Y'});
  EXPECT_EQ(ask_choice("", "Yy"), 'Y');
  EXPECT_EQ(vc->beep_count(), 1);
}

TEST_F(ConsoleInput, WaitConfirmWaitsForY) {
  con_write("エラーです");
  vc->feed_keys({'n', KEY_ENTER, 'y'});
  wait_confirm();
  EXPECT_EQ(vc->row_text(1), u8s(u8"上のメッセージを確認したら Y を入力[y]"));
  EXPECT_EQ(vc->beep_count(), 2);
}

struct LineCase {
  const char* name;
  std::string start;
  int max_length;
  std::vector<int> keys;
  int result;
  std::string text;       // the buffer afterwards
  std::string row;        // row 5 afterwards
  int beeps;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class ReadTextLine : public ConsoleInput, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ReadTextLine, EditsTheLine) {
  const LineCase& c = GetParam();
  move_cursor(5, 3);
  for (int key : c.keys) vc->feed_key(key);
  std::string text = c.start;
  EXPECT_EQ(read_text_line(text, c.max_length), c.result);
  EXPECT_EQ(text, c.text);
  EXPECT_EQ(vc->row_text(5), c.row.empty() ? "" : "   " + c.row);
  EXPECT_EQ(vc->beep_count(), c.beeps);
  if (c.result >= 0) {
    EXPECT_EQ(cursor_position(), (CursorPos{6, 0}));
  }
}

const int BS = KEY_BACKSPACE;
const int ENTER = KEY_ENTER;

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadTextLine,
    ::testing::Values(
        LineCase{"typing", "", 20, {'a', 'b', 'c', ENTER}, 3, "abc", "abc", 0},
        LineCase{"erase_into_initial_text", "kekka.txt", 20,
                 {BS, BS, BS, 'c', 's', 'v', ENTER}, 9, "kekka.csv", "kekka.csv", 0},
        LineCase{"left_arrow_erases_too", "ab", 20, {KEY_LEFT, ENTER}, 1, "a", "a", 0},
        LineCase{"erase_everything_then_beep", "ab", 20, {BS, BS, BS, 'x', ENTER}, 1, "x", "x", 1},
        LineCase{"max_length_refuses_more", "", 3, {'1', '2', '3', '4', ENTER}, 3, "123", "123", 1},
        LineCase{"erase_at_max_length", "", 3, {'1', '2', '3', BS, '9', ENTER}, 3, "129", "129", 0},
        LineCase{"full_initial_text", "abc", 3, {BS, 'z', ENTER}, 3, "abz", "abz", 0},
        LineCase{"longer_initial_text_is_cut", "abcdef", 4, {BS, ENTER}, 3, "abc", "abc", 0},
        LineCase{"special_keys_beep", "", 10, {KEY_F2, KEY_UP, 'a', ENTER}, 1, "a", "a", 2},
        LineCase{"esc_abandons", "abc", 10, {'d', KEY_ESC}, -1, "abcd", "abcd", 0},
        LineCase{"empty_enter", "", 10, {ENTER}, 0, "", "", 0}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST_F(ConsoleInput, ReadTextLineAtMaxLengthKeepsTheCursorOnTheLastCharacter) {
  vc->feed_keys({'a', 'b', 'c'});
  std::string text;
  EXPECT_THROW(read_text_line(text, 3), VirtualConsole::KeysExhausted);
  EXPECT_EQ(cursor_position(), (CursorPos{0, 2}));
}

TEST_F(ConsoleInput, HelpKeyInsideAPromptDoesNotEndIt) {
  set_help_action(nullptr);  // the normal action: no help page exists, nothing happens
  vc->feed_keys({KEY_F1, 'y'});
  EXPECT_EQ(ask_choice("", "Yy"), 'y');
  EXPECT_EQ(vc->beep_count(), 0);
}

}  // namespace
