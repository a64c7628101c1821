// The number input field on a VirtualConsole, for both NUM_INPUTTYPE layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "results/shell/console.h"
#include "results/shell/num_input.h"
#include "results/shell/output_kind.h"
#include "results/shell/stops.h"
#include "results/shell/virtual_console.h"
#include "support/test_support.h"

namespace {

using test_support::ScratchDir;
using test_support::write_bytes;

std::string u8s(const char8_t* text) { return reinterpret_cast<const char*>(text); }

constexpr int kRow = 10;
constexpr int kCol = 20;

int g_menu_runs = 0;
void count_menu_run() { ++g_menu_runs; }
int g_f5_actions = 0;
void count_f5_action() { ++g_f5_actions; }

class NumInput : public ::testing::Test {
 protected:
  void SetUp() override {
    set_help_file_path(scratch.file("no-help.html"));
    g_menu_runs = 0;
    g_f5_actions = 0;
    move_cursor(kRow, kCol);
  }
  void TearDown() override {
    set_destination_menu(real_menu_);
    set_help_file_path("");
  }
  void use_type(const char* value) {
    write_bytes(scratch.file("OPTION.TXT"), std::string("NUM_INPUTTYPE=") + value + "\r\n");
  }
  // The field's cells (width columns from the field's start).
  std::string field(int width) { return vc->text_at(kRow, kCol, width); }

  ScratchDir scratch;
  ScopedVirtualConsole vc;
  // The menu the output layer registered, put back after each test.
  DestinationMenu real_menu_ = set_destination_menu(nullptr);
};

TEST_F(NumInput, InputTypeFollowsTheOption) {
  EXPECT_EQ(num_input_type(), 1);  // no OPTION.TXT
  const std::pair<const char*, int> cases[] = {{"2", 2}, {"1", 1}, {"3", 1}, {"x", 1}, {"", 1}};
  for (const auto& [value, type] : cases) {
    use_type(value);
    EXPECT_EQ(num_input_type(), type) << value;
  }
}

TEST_F(NumInput, DrawsDotsAndHintsThenWaitsOnTheLastDotForType1) {
  vc->feed_keys({KEY_ENTER});
  std::string text = "junk";
  EXPECT_EQ(num_input(text, 4, nullptr, HINT_ESC | HINT_F2 | HINT_F5), 0);
  EXPECT_EQ(text, "");
  // Enter clears the field's row from its first column and writes the empty text aligned.
  EXPECT_EQ(vc->row_text(kRow), "");
  EXPECT_EQ(cursor_position(), (CursorPos{kRow + 1, 0}));
}

TEST_F(NumInput, FieldAndHintsBeforeAnyKey) {
  std::string text;
  EXPECT_THROW(num_input(text, 4, nullptr, HINT_ESC | HINT_F2 | HINT_F5),
               VirtualConsole::KeysExhausted);
  EXPECT_EQ(vc->row_text(kRow),
            std::string(kCol, ' ') + u8s(u8".... Escｷｰで戻る F2ｷｰで出力先変更 F5ｷｰで大ﾒﾆｭｰ"));
  EXPECT_EQ(vc->attr_at(kRow, kCol + 5), kAttrHintEsc);
  EXPECT_EQ(vc->attr_at(kRow, kCol + 17), kAttrHintF2);
  EXPECT_EQ(vc->attr_at(kRow, kCol + 34), kAttrHintF5);
  EXPECT_EQ(cursor_position(), (CursorPos{kRow, kCol + 3}));
}

TEST_F(NumInput, Type2WaitsOnTheFirstDot) {
  use_type("2");
  std::string text;
  EXPECT_THROW(num_input(text, 4, nullptr, 0), VirtualConsole::KeysExhausted);
  EXPECT_EQ(vc->row_text(kRow), std::string(kCol, ' ') + "....");
  EXPECT_EQ(cursor_position(), (CursorPos{kRow, kCol}));
}

struct TypingCase {
  const char* name;
  const char* type;       // NUM_INPUTTYPE
  int width;
  std::vector<int> keys;  // the keys before the check (no Enter)
  std::string field;      // the field's cells afterwards
  int cursor_col;         // relative to the field
  int beeps;
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

class NumInputTyping : public NumInput, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(NumInputTyping, DrawsTheTextHeld) {
  const TypingCase& c = GetParam();
  use_type(c.type);
  for (int key : c.keys) vc->feed_key(key);
  std::string text;
  EXPECT_THROW(num_input(text, c.width, nullptr, HINT_ESC), VirtualConsole::KeysExhausted);
  EXPECT_EQ(field(c.width), c.field);
  EXPECT_EQ(cursor_position(), (CursorPos{kRow, kCol + c.cursor_col}));
  EXPECT_EQ(vc->beep_count(), c.beeps);
  // The hint after the field is never overwritten.
  EXPECT_EQ(vc->text_at(kRow, kCol + c.width, 12), u8s(u8" Escｷｰで戻る"));
}

const int BS = KEY_BACKSPACE;

INSTANTIATE_TEST_SUITE_P(
    Cases, NumInputTyping,
    ::testing::Values(
        TypingCase{"type1_grows_leftwards", "1", 4, {'1', '2'}, "..12", 3, 0},
        TypingCase{"type2_grows_rightwards", "2", 4, {'1', '2'}, "12..", 2, 0},
        TypingCase{"type1_width_limit", "1", 3, {'1', '2', '3', '4'}, "123", 2, 1},
        TypingCase{"type2_width_limit", "2", 3, {'1', '2', '3', '4'}, "123", 2, 1},
        TypingCase{"minus_first_only", "1", 4, {'-', '5', '-'}, "..-5", 3, 1},
        TypingCase{"minus_after_digit_refused", "2", 4, {'5', '-'}, "5...", 1, 1},
        TypingCase{"letters_refused", "1", 4, {'a', ' ', '7'}, "...7", 3, 2},
        TypingCase{"type1_backspace", "1", 4, {'1', '2', '3', BS}, "..12", 3, 0},
        TypingCase{"type1_delete_erases", "1", 4, {'1', '2', KEY_DELETE}, "...1", 3, 0},
        TypingCase{"type1_left_refused", "1", 4, {'1', KEY_LEFT}, "...1", 3, 1},
        TypingCase{"type2_left_erases", "2", 4, {'1', '2', KEY_LEFT}, "1...", 1, 0},
        TypingCase{"type2_delete_refused", "2", 4, {'1', KEY_DELETE}, "1...", 1, 1},
        TypingCase{"type2_backspace_from_full", "2", 3, {'1', '2', '3', BS}, "12.", 2, 0},
        TypingCase{"backspace_on_empty_beeps", "1", 4, {BS}, "....", 3, 1},
        TypingCase{"other_keys_beep", "1", 4, {KEY_UP, KEY_TAB, KEY_F3}, "....", 3, 3}),
    [](const ::testing::TestParamInfo<TypingCase>& info) { return info.param.name; });

TEST_F(NumInput, EnterReturnsTheLengthAndWritesTheTextRightAligned) {
  for (const char* type : {"1", "2"}) {
    SCOPED_TRACE(type);
    use_type(type);
    clear_screen();
    move_cursor(kRow, kCol);
    vc->feed_keys({'4', '2', KEY_ENTER});
    std::string text;
    EXPECT_EQ(num_input(text, 5, nullptr, HINT_ESC | HINT_F5), 2);
    EXPECT_EQ(text, "42");
    EXPECT_EQ(vc->row_text(kRow), std::string(kCol, ' ') + "   42");
    EXPECT_EQ(cursor_position(), (CursorPos{kRow + 1, 0}));
  }
}

TEST_F(NumInput, LoneMinusIsAcceptedAsText) {
  vc->feed_keys({'-', KEY_ENTER});
  std::string text;
  EXPECT_EQ(num_input(text, 3, nullptr, 0), 1);
  EXPECT_EQ(text, "-");
}

TEST_F(NumInput, EscOnlyWithItsHint) {
  con_write("");
  move_cursor(kRow, 0);
  con_write("Team No=");
  move_cursor(kRow, kCol);
  vc->feed_keys({KEY_ESC});
  std::string text;
  EXPECT_EQ(num_input(text, 3, nullptr, HINT_ESC), NUM_INPUT_ESC);
  // The field's line is cleared from its first column; what stands before it stays.
  EXPECT_EQ(vc->row_text(kRow), "Team No=");
  EXPECT_EQ(cursor_position(), (CursorPos{kRow, kCol}));

  vc->feed_keys({KEY_ESC, '7', KEY_ENTER});
  EXPECT_EQ(num_input(text, 3, nullptr, HINT_F2 | HINT_F5), 1);
  EXPECT_EQ(text, "7");
  EXPECT_EQ(vc->beep_count(), 1);
}

TEST_F(NumInput, F2RunsTheDestinationMenuOnlyWithItsHint) {
  set_destination_menu(count_menu_run);
  vc->feed_keys({'1', KEY_F2});
  std::string text;
  EXPECT_EQ(num_input(text, 3, nullptr, HINT_ESC | HINT_F2), NUM_INPUT_F2);
  EXPECT_EQ(g_menu_runs, 1);

  vc->feed_keys({KEY_F2, KEY_ENTER});
  EXPECT_EQ(num_input(text, 3, nullptr, HINT_ESC | HINT_F5), 0);
  EXPECT_EQ(g_menu_runs, 1);
  EXPECT_EQ(vc->beep_count(), 1);
}

TEST_F(NumInput, F5RunsTheActionAndReturnsToTheMainMenuOnlyWithItsHint) {
  vc->feed_keys({'1', KEY_F5});
  std::string text;
  EXPECT_THROW(num_input(text, 3, count_f5_action, HINT_F5), BackToMainMenu);
  EXPECT_EQ(g_f5_actions, 1);

  vc->feed_keys({KEY_F5});
  EXPECT_THROW(num_input(text, 3, nullptr, HINT_F5), BackToMainMenu);

  vc->feed_keys({KEY_F5, KEY_ENTER});
  EXPECT_EQ(num_input(text, 3, count_f5_action, HINT_ESC | HINT_F2), 0);
  EXPECT_EQ(g_f5_actions, 1);
  EXPECT_EQ(vc->beep_count(), 1);
}

}  // namespace
