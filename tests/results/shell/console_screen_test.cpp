// Screen operations and status elements drawn on a VirtualConsole.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "results/shell/console.h"
#include "results/shell/output_kind.h"
#include "results/shell/virtual_console.h"
#include "support/test_support.h"

namespace {

using test_support::ScratchDir;
using test_support::to_cp932;
using test_support::to_utf8;
using test_support::write_bytes;

std::string u8s(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class ConsoleScreen : public ::testing::Test {
 protected:
  void SetUp() override { set_help_file_path(scratch.file("no-help.html")); }
  void TearDown() override { set_help_file_path(""); }

  ScratchDir scratch;
  ScopedVirtualConsole vc;
};

TEST_F(ConsoleScreen, ClearScreenBlanksEveryCellAndHomesTheCursor) {
  set_colour(kAttrNotice);
  con_write("abc");
  move_cursor(24, 79);
  con_write("z");
  clear_screen();
  EXPECT_EQ(cursor_position(), (CursorPos{0, 0}));
  EXPECT_EQ(current_colour(), kAttrDefault);
  EXPECT_EQ(vc->screen_text(), std::string(24, '\n'));
  EXPECT_EQ(vc->attr_at(0, 0), kAttrCleared);
  EXPECT_EQ(vc->attr_at(24, 79), kAttrCleared);
}

TEST_F(ConsoleScreen, TextTakesTheCurrentColourAndDoubleByteCharactersTakeTwoColumns) {
  move_cursor(3, 10);
  set_colour(kAttrRed);
  con_write("[2] 出力先の変更");
  EXPECT_EQ(vc->row_text(3), std::string(10, ' ') + u8s(u8"[2] 出力先の変更"));
  EXPECT_EQ(cursor_position(), (CursorPos{3, 10 + 4 + 6 * 2}));
  EXPECT_EQ(vc->attr_at(3, 10), kAttrRed);
  EXPECT_EQ(vc->attr_at(3, 25), kAttrRed);
  EXPECT_EQ(vc->attr_at(3, 26), kAttrCleared);
  EXPECT_EQ(vc->text_at(3, 14, 4), u8s(u8"出力"));
}

TEST_F(ConsoleScreen, ConPrintFormatsLikePrintfAndHandlesLongText) {
  con_print("%s %04d/%02d", "HAKOBU32", 2024, 3);
  EXPECT_EQ(vc->row_text(0), "HAKOBU32 2024/03");
  std::string long_text(300, 'x');
  clear_screen();
  con_print("%s|", long_text.c_str());
  EXPECT_EQ(vc->row_text(3), std::string(60, 'x') + "|");
}

TEST_F(ConsoleScreen, TextWrapsAtTheLastColumn) {
  move_cursor(5, 75);
  con_write("abcdefgh");
  EXPECT_EQ(vc->row_text(5), std::string(75, ' ') + "abcde");
  EXPECT_EQ(vc->row_text(6), "fgh");
  EXPECT_EQ(cursor_position(), (CursorPos{6, 3}));
}

TEST_F(ConsoleScreen, DoubleByteCharacterThatWouldNotFitStartsOnTheNextRow) {
  move_cursor(0, 79);
  con_write("駅伝");
  EXPECT_EQ(vc->row_text(0), "");
  EXPECT_EQ(vc->row_text(1), u8s(u8"駅伝"));
}

TEST_F(ConsoleScreen, TextPastTheLastRowScrollsTheScreenUp) {
  for (int i = 0; i < 30; ++i) con_print("line %d\n", i);
  // 30 lines and the cursor's empty line: the first six have left the 25-row screen.
  EXPECT_EQ(vc->row_text(0), "line 6");
  EXPECT_EQ(vc->row_text(23), "line 29");
  EXPECT_EQ(vc->row_text(24), "");
  EXPECT_EQ(cursor_position(), (CursorPos{24, 0}));
  con_write("last");
  EXPECT_EQ(vc->row_text(24), "last");
}

TEST_F(ConsoleScreen, ScrollingKeepsColoursWithTheirText) {
  move_cursor(24, 0);
  set_colour(kAttrGreen);
  con_write("green\n");
  EXPECT_EQ(vc->row_text(23), "green");
  EXPECT_EQ(vc->attr_at(23, 0), kAttrGreen);
  EXPECT_EQ(vc->attr_at(24, 0), kAttrCleared);
}

TEST_F(ConsoleScreen, ControlCharactersMoveTheCursorAsOnAConsole) {
  con_write("ab\tc\rX\n");
  EXPECT_EQ(vc->row_text(0), "Xb      c");
  con_write("abc\bZ\a");
  EXPECT_EQ(vc->row_text(1), "abZ");
  EXPECT_EQ(vc->beep_count(), 1);
}

TEST_F(ConsoleScreen, CursorBackStopsAtColumnZero) {
  move_cursor(4, 6);
  cursor_back(2);
  EXPECT_EQ(cursor_position(), (CursorPos{4, 4}));
  cursor_back(10);
  EXPECT_EQ(cursor_position(), (CursorPos{4, 0}));
}

TEST_F(ConsoleScreen, ClearingOperationsBlankTheirCellsOnly) {
  struct Case {
    const char* name;
    void (*clear)();
    std::vector<int> blank_rows;  // rows 0 to 4 checked
    int partial_row;              // row blanked from column 5, or -1
  };
  const Case cases[] = {
      {"clear_row", [] { clear_row(2); }, {2}, -1},
      {"clear_to_end_of_row", [] { clear_to_end_of_row(1, 5); }, {}, 1},
      {"clear_top_rows", [] { clear_top_rows(2); }, {0, 1, 2}, -1},
      {"clear_from_row", [] { clear_from_row(3); }, {3, 4}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clear_screen();
    for (int r = 0; r < 5; ++r) {
      move_cursor(r, 0);
      set_colour(kAttrYellow);
      con_write("0123456789");
    }
    move_cursor(4, 7);
    c.clear();
    EXPECT_EQ(cursor_position(), (CursorPos{4, 7})) << "the cursor stays";
    for (int r = 0; r < 5; ++r) {
      bool blank = std::find(c.blank_rows.begin(), c.blank_rows.end(), r) != c.blank_rows.end();
      if (blank) {
        EXPECT_EQ(vc->row_text(r), "") << "row " << r;
        EXPECT_EQ(vc->attr_at(r, 0), kAttrCleared);
      } else if (r == c.partial_row) {
        EXPECT_EQ(vc->row_text(r), "01234") << "row " << r;
        EXPECT_EQ(vc->attr_at(r, 4), kAttrYellow);
        EXPECT_EQ(vc->attr_at(r, 5), kAttrCleared);
      } else {
        EXPECT_EQ(vc->row_text(r), "0123456789") << "row " << r;
      }
    }
  }
}

TEST_F(ConsoleScreen, TitleAndBeepReachTheConsole) {
  set_console_title("第１回テスト駅伝");
  EXPECT_EQ(vc->title(), "第１回テスト駅伝");
  beep();
  beep();
  EXPECT_EQ(vc->beep_count(), 2);
}

// --- status elements ------------------------------------------------------------------

TEST_F(ConsoleScreen, KeyHintsAppearInTableOrderEachInItsColour) {
  struct Case {
    int flags;
    int start_col;
    const char8_t* text;  // from start_col
    int columns;          // return value
  };
  const Case cases[] = {
      {HINT_ESC, 0, u8"Escｷｰで戻る", 11},
      {HINT_ESC, 3, u8" Escｷｰで戻る", 12},
      {HINT_F5 | HINT_ESC, 0, u8"Escｷｰで戻る F5ｷｰで大ﾒﾆｭｰ", 11 + 1 + 12},
      {HINT_ESC | HINT_F1 | HINT_F2 | HINT_F5, 0,
       u8"Escｷｰで戻る F1ｷｰでヘルプ F2ｷｰで出力先変更 F5ｷｰで大ﾒﾆｭｰ", 11 + 1 + 12 + 1 + 16 + 1 + 12},
      {0, 0, u8"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    clear_screen();
    move_cursor(7, c.start_col);
    EXPECT_EQ(show_key_hints(c.flags), c.columns);
    EXPECT_EQ(vc->text_at(7, c.start_col, 79 - c.start_col).substr(0, u8s(c.text).size()),
              u8s(c.text));
    EXPECT_EQ(cursor_position(), (CursorPos{7, c.start_col + c.columns}));
    EXPECT_EQ(current_colour(), kAttrDefault);
  }
  // Colours, hint by hint, on the full row.
  clear_screen();
  show_key_hints(HINT_ESC | HINT_F1 | HINT_F2 | HINT_F5);
  EXPECT_EQ(vc->attr_at(0, 0), 0x2F);
  EXPECT_EQ(vc->attr_at(0, 10), 0x2F);
  EXPECT_EQ(vc->attr_at(0, 12), 0x2F);  // F1 hint
  EXPECT_EQ(vc->attr_at(0, 25), 0xCF);  // F2 hint
  EXPECT_EQ(vc->attr_at(0, 42), 0x5F);  // F5 hint
  EXPECT_EQ(vc->attr_at(0, 53), 0x5F);
  EXPECT_EQ(vc->attr_at(0, 54), kAttrCleared);
}

TEST_F(ConsoleScreen, SelectPromptPutsTheCursorInsideItsBrackets) {
  show_select_prompt(10, 21, HINT_ESC | HINT_F5);
  EXPECT_EQ(vc->row_text(21),
            std::string(10, ' ') + u8s(u8"選択[ ] Escｷｰで戻る F5ｷｰで大ﾒﾆｭｰ"));
  EXPECT_EQ(cursor_position(), (CursorPos{21, 15}));
  EXPECT_EQ(vc->attr_at(21, 18), 0x2F);
  EXPECT_EQ(vc->attr_at(21, 30), 0x5F);
}

TEST_F(ConsoleScreen, SelectPromptWithoutHints) {
  show_select_prompt(10, 18, 0);
  EXPECT_EQ(vc->row_text(18), std::string(10, ' ') + u8s(u8"選択[ ]"));
  EXPECT_EQ(cursor_position(), (CursorPos{18, 15}));
}

TEST_F(ConsoleScreen, WorkingFolderShowsTheFullPathInThePathColour) {
  show_working_folder(0, 2);
  const std::string label = u8s(u8"作業フォルダ→");
  EXPECT_EQ(vc->row_text(2), label + scratch.path());
  EXPECT_EQ(vc->attr_at(2, 0), kAttrDefault);
  EXPECT_EQ(vc->attr_at(2, 14), kAttrPath);
  EXPECT_EQ(vc->attr_at(2, 14 + static_cast<int>(scratch.path().size()) - 1), kAttrPath);
  EXPECT_EQ(current_colour(), kAttrDefault);
}

TEST_F(ConsoleScreen, WorkingFolderWithJapaneseNameIsShownAsText) {
  ScratchDir inner(false);
  std::string folder = inner.path() + u8s(u8"/駅伝フォルダ");
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  ASSERT_EQ(::chdir(folder.c_str()), 0);
  show_working_folder(0, 2);
  EXPECT_EQ(vc->row_text(2), u8s(u8"作業フォルダ→") + folder);
  ASSERT_EQ(::chdir(scratch.path().c_str()), 0);
}

TEST_F(ConsoleScreen, OutputDestinationShowsTheKindAndTheListFile) {
  struct Case {
    int kind;
    const char* option_file;  // OPTION.TXT contents, nullptr for none
    const char8_t* text;
  };
  const Case cases[] = {
      {kOutPrinter, nullptr, u8"出力先→プリンタ"},
      {kOutClipboard, nullptr, u8"出力先→クリップボード"},
      {kOutFile, nullptr, u8"出力先→ファイル（OUT.TXT）"},
      {kOutFile, "LISTFILE=kekka.txt,1\r\n", u8"出力先→ファイル（kekka.txt,1）"},
      {7, nullptr, u8"出力先→ファイル（OUT.TXT）"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(to_utf8(c.option_file ? c.option_file : "-") + std::to_string(c.kind));
    if (c.option_file != nullptr) {
      write_bytes(scratch.file("OPTION.TXT"), c.option_file);
    } else {
      ::unlink(scratch.file("OPTION.TXT").c_str());
    }
    set_out_kind_no(c.kind);
    clear_screen();
    show_output_destination(0, 4);
    EXPECT_EQ(vc->row_text(4), u8s(c.text));
    EXPECT_EQ(vc->attr_at(4, 7), kAttrDefault);  // the label's last half
    EXPECT_EQ(vc->attr_at(4, 8), kAttrNotice);
    int end = static_cast<int>(to_cp932(vc->row_text(4)).size());
    EXPECT_EQ(vc->attr_at(4, end - 1), kAttrNotice);
    EXPECT_EQ(current_colour(), kAttrDefault);
  }
  set_out_kind_no(kOutFile);
}

TEST_F(ConsoleScreen, SubmenuHeaderShowsTheHelpHintOnlyWhenTheHelpPageExists) {
  show_submenu_header();
  EXPECT_EQ(cursor_position(), (CursorPos{0, 2}));
  EXPECT_EQ(vc->row_text(0), "");

  write_bytes(scratch.file("help.html"), "<html></html>");
  set_help_file_path(scratch.file("help.html"));
  clear_screen();
  show_submenu_header();
  EXPECT_EQ(vc->text_at(0, 0, 14), u8s(u8"F1ｷｰでヘルプ  "));
  EXPECT_EQ(vc->attr_at(0, 0), kAttrHintF1);
  EXPECT_EQ(cursor_position(), (CursorPos{0, 14}));
}

}  // namespace
