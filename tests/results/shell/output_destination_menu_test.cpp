// The destination menu: what it draws, how the keys move the selection, and that Enter
// keeps the choice in SELCTOUT.DAT while Esc changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "output_test_fixture.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "results/shell/stops.h"
#include "support/test_support.h"

namespace {

using output_test::OutputTest;
using output_test::u8s;
using test_support::read_bytes;

class DestinationMenu : public OutputTest {
 protected:
  std::string selctout() { return read_bytes(race_.file("SELCTOUT.DAT")); }
  std::string row(int r) { return con_->row_text(r); }
};

TEST_F(DestinationMenu, DrawsTheThreeDestinationsWithTheSelectionMarked) {
  write_options("LISTFILE=kekka.txt,1\n");
  set_out_kind_no(kOutFile);
  con_->feed_key(KEY_ESC);
  destination_menu();
  EXPECT_EQ(con_->text_at(2, 8, 12), u8s(u8"出力先の変更"));
  EXPECT_EQ(row(4), u8s(u8"                   [1] プリンタ"));
  EXPECT_EQ(row(5), u8s(u8"                → [2] ファイル（kekka.txt,1）"));
  EXPECT_EQ(row(6), u8s(u8"                   [3] クリップボード"));
  EXPECT_EQ(con_->attr_at(5, 19), kAttrNotice);   // the selected entry
  EXPECT_EQ(con_->attr_at(4, 19), kAttrDefault);  // the others
  EXPECT_EQ(row(8).rfind(u8s(u8"        選択（エンターで確定）[2] Escｷｰで戻る F5ｷｰで大ﾒﾆｭｰ"), 0),
            0u)
      << row(8);
  EXPECT_EQ(con_->cursor(), (CursorPos{8, 31}));
}

TEST_F(DestinationMenu, KeysMoveTheSelectionAndEnterSavesIt) {
  struct Case {
    const char* label;
    int start;
    std::vector<int> keys;
    int chosen;
  } cases[] = {
      {"down", kOutPrinter, {KEY_DOWN, KEY_ENTER}, kOutFile},
      {"right wraps", kOutClipboard, {KEY_RIGHT, KEY_ENTER}, kOutPrinter},
      {"up wraps", kOutPrinter, {KEY_UP, KEY_ENTER}, kOutClipboard},
      {"left", kOutFile, {KEY_LEFT, KEY_ENTER}, kOutPrinter},
      {"digit", kOutPrinter, {'3', KEY_ENTER}, kOutClipboard},
      {"digit then arrow", kOutFile, {'1', KEY_DOWN, KEY_DOWN, KEY_ENTER}, kOutClipboard},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    set_out_kind_no(c.start);
    for (int key : c.keys) con_->feed_key(key);
    destination_menu();
    EXPECT_EQ(out_kind_no(), c.chosen);
    EXPECT_EQ(selctout(), std::string(1, static_cast<char>(c.chosen)) + std::string(3, '\0'));
    EXPECT_EQ(con_->keys_left(), 0u);
  }
}

TEST_F(DestinationMenu, EscChangesNothingAndOtherKeysBeep) {
  set_out_kind_no(kOutPrinter);
  con_->feed_keys({'x', '4', KEY_DOWN, KEY_ESC});
  destination_menu();
  EXPECT_EQ(out_kind_no(), kOutPrinter);
  EXPECT_EQ(selctout(), "");  // nothing saved
  EXPECT_EQ(con_->beep_count(), 2);
}

TEST_F(DestinationMenu, F5ReturnsToTheMainMenu) {
  set_out_kind_no(kOutPrinter);
  con_->feed_keys({KEY_DOWN, KEY_F5});
  EXPECT_THROW(destination_menu(), BackToMainMenu);
  EXPECT_EQ(out_kind_no(), kOutPrinter);
}

}  // namespace
