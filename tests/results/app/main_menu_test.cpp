// The main menu screen and the main loop on the virtual console.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "app_test_support.h"
#include "results/app/main_clock.h"
#include "results/app/main_menu.h"
#include "results/shell/files.h"
#include "results/shell/output_kind.h"
#include "results/shell/stops.h"

namespace {

using test_support::read_bytes;

struct EntryRow {
  int row;
  Attr colour;
  const char8_t* text;
};

const EntryRow kMainEntries[] = {
    {9, 0x0F, u8"[1] テキストファイルの作成・変更・閲覧"},
    {10, 0x0C, u8"[2] 出力先の変更"},
    {11, 0x09, u8"[3] スタート時刻入力（他の中継所のデータに影響無し）"},
    {12, 0x0F, u8"[4] タイム入力"},
    {13, 0x0A, u8"[5] 繰上出発タイム入力"},
    {14, 0x0E, u8"[6] 入力データ・チェック（→サブメニュー）"},
    {15, 0x0B, u8"[7] 結果出力            （→サブメニュー）"},
    {16, 0x0D, u8"[8] 賞状作成            （→サブメニュー）"},
    {17, 0x0F, u8"[9] その他              （→サブメニュー）"},
    {19, 0x0F, u8"[Esc] 終了"},
};

TEST(MainMenu, DrawsBannerFolderDestinationTitleAndEntries) {
  AppScreen s;
  s.write_option(u8"EVENTNAME = 第４２回みなと駅伝\r\nLISTFILE=kekka.txt\r\n");
  set_out_kind_no(kOutFile);
  draw_main_menu();
  VirtualConsole& v = *s.con;

  EXPECT_TRUE(std::regex_match(
      v.row_text(0), std::regex(R"(HAKOBU32 version 3\.74 \(Build \d{4}/\d\d/\d\d \d\d:\d\d:\d\d\))")))
      << v.row_text(0);
  EXPECT_EQ(v.row_text(1), u(u8"F1ｷｰでヘルプ"));
  EXPECT_EQ(v.attr_at(1, 0), 0x2F);
  EXPECT_EQ(v.row_text(2), u(u8"作業フォルダ→") + s.dir.path());
  EXPECT_EQ(v.row_text(4), u(u8"出力先→ファイル（kekka.txt）"));

  // The box is as wide as the title in bytes: 18 bytes of name + 4.
  const std::string stars(22, '*');
  EXPECT_EQ(v.row_text(5), std::string(10, ' ') + stars);
  EXPECT_EQ(v.row_text(6), std::string(10, ' ') + u(u8"* 第４２回みなと駅伝 *"));
  EXPECT_EQ(v.row_text(7), std::string(10, ' ') + stars);
  EXPECT_EQ(v.title(), test_support::to_cp932(u(u8"第４２回みなと駅伝")));

  for (const EntryRow& e : kMainEntries) {
    EXPECT_EQ(v.row_text(e.row), std::string(10, ' ') + u(e.text)) << "row " << e.row;
    EXPECT_EQ(v.attr_at(e.row, 10), e.colour) << "row " << e.row;
  }
  EXPECT_EQ(v.row_text(8), "");
  EXPECT_EQ(v.row_text(18), "");
  EXPECT_EQ(v.row_text(21), std::string(10, ' ') + u(u8"選択[ ]"));
  EXPECT_EQ(v.cursor(), (CursorPos{21, 15}));
}

TEST(MainMenu, WithoutOptionFileUsesDefaultTitleAndNoHelpHint) {
  AppScreen s(/*with_help_page=*/false);
  set_out_kind_no(kOutPrinter);
  draw_main_menu();
  VirtualConsole& v = *s.con;
  EXPECT_EQ(v.row_text(1), "");
  EXPECT_EQ(v.row_text(4), u(u8"出力先→プリンタ"));
  EXPECT_EQ(v.attr_at(4, 8), kAttrNotice);
  EXPECT_EQ(v.row_text(6), std::string(10, ' ') + u(u8"* ？？？？駅伝大会 *"));
  EXPECT_EQ(v.row_text(5), std::string(10, ' ') + std::string(20, '*'));
}

TEST(MainClock, WritesOnlyTheCharactersThatChanged) {
  AppScreen s;
  MainClock clock;
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 11;
  t.tm_hour = 13;
  t.tm_min = 42;
  t.tm_sec = 9;
  clock.tick(t);
  VirtualConsole& v = *s.con;
  EXPECT_EQ(v.text_at(1, 48, 20), "2026/12/11  13:42:09");
  EXPECT_EQ(v.row_text(1).size(), 68u);

  // Mark two cells: the one that will change is rewritten, the other is left alone.
  move_cursor(1, 48);
  con_write("X");
  move_cursor(1, 67);
  con_write("X");
  t.tm_sec = 10;
  clock.tick(t);
  EXPECT_EQ(v.text_at(1, 48, 20), "X026/12/11  13:42:10");

  clock.clear();  // a new pass of the main loop draws the whole text again
  clock.tick(t);
  EXPECT_EQ(v.text_at(1, 48, 20), "2026/12/11  13:42:10");
}

TEST(MainLoop, EscThenYEndsWithZeroAndKeepsTheDestination) {
  AppScreen s;
  set_out_kind_no(kOutClipboard);
  s.con->feed_keys({KEY_ESC, 'y'});
  EXPECT_EQ(main_loop(), 0);
  EXPECT_EQ(read_bytes(s.dir.file("SELCTOUT.DAT")), std::string("\x02\x00\x00\x00", 4));
  EXPECT_EQ(s.con->row_text(13), "");  // the screen is cleared on the way out
}

TEST(MainLoop, EscAsksAtRow13AndAnyOtherKeyStays) {
  AppScreen s;
  s.con->feed_keys({KEY_ESC});
  EXPECT_THROW(main_loop(), VirtualConsole::KeysExhausted);
  EXPECT_EQ(s.con->row_text(13), std::string(10, ' ') + u(u8"HAKOBU32 を終了しますか？（Y / N）[ ]"));

  for (int other : {int('n'), int('N'), int('x'), KEY_ENTER}) {
    AppScreen t;
    t.con->feed_keys({KEY_ESC, other});
    EXPECT_THROW(main_loop(), VirtualConsole::KeysExhausted);  // still idling in the menu
    EXPECT_EQ(t.con->find_in_row(0, "HAKOBU32 version 3.74"), 0) << other;
    EXPECT_EQ(t.con->find_in_row(13, u(u8"終了しますか")), -1) << other;
    EXPECT_EQ(t.con->byte_at(13, 46), ' ') << "the key is not echoed";
    EXPECT_FALSE(file_exists("SELCTOUT.DAT"));
  }
}

TEST(MainLoop, IdleMenuShowsTheClock) {
  AppScreen s;
  s.con->feed_keys({KEY_ESC, 'n'});
  EXPECT_THROW(main_loop(), VirtualConsole::KeysExhausted);
  EXPECT_TRUE(std::regex_match(s.con->text_at(1, 48, 20),
                               std::regex(R"(\d{4}/\d\d/\d\d  \d\d:\d\d:\d\d)")));
  EXPECT_EQ(s.con->cursor(), (CursorPos{21, 15}));
}

TEST(MainLoop, UnknownKeysBeepWithoutLeavingTheMenu) {
  AppScreen s;
  s.con->feed_keys({'x', '0', KEY_F5, KEY_ESC, 'y'});
  EXPECT_EQ(main_loop(), 0);
  EXPECT_EQ(s.con->beep_count(), 3);
}

TEST(MainLoop, F5InASubmenuComesBackToTheMainMenu) {
  AppScreen s;
  // "1" opens the text-file submenu, which needs no race files; F5 returns.
  s.con->feed_keys({'1', KEY_F5});
  EXPECT_THROW(main_loop(), VirtualConsole::KeysExhausted);
  EXPECT_EQ(s.con->find_in_row(0, "HAKOBU32 version 3.74"), 0) << s.con->screen_text();

  AppScreen t;
  t.con->feed_keys({'1', KEY_ESC, KEY_ESC, 'y'});
  EXPECT_EQ(main_loop(), 0);
}

TEST(MainLoop, StreamsLeftOpenAreClosedAndReported) {
  AppScreen s;
  test_support::write_bytes(s.dir.file("left.txt"), "x");
  Stream forgotten = open_stream("left.txt", "r");
  ASSERT_TRUE(forgotten.is_open());
  s.con->feed_keys({'q', 'y'});  // "q" is ignored silently; Y confirms
  EXPECT_THROW(main_loop(), VirtualConsole::KeysExhausted);
  EXPECT_EQ(open_stream_count(), 0);
  EXPECT_FALSE(forgotten.is_open());
  EXPECT_EQ(s.con->find_in_row(0, "HAKOBU32 version 3.74"), 0);
}

TEST(MainLoop, EntriesThreeToNineLoadTheRaceFilesFirst) {
  // Without race files the loader explains what is missing and the program would end:
  // abnormal_end waits for Y, which the test does not give.
  AppScreen s;
  s.con->feed_keys({'9'});
  EXPECT_THROW(main_loop(), VirtualConsole::KeysExhausted);
  EXPECT_NE(s.con->screen_text().find("EKI.TXT"), std::string::npos) << s.con->screen_text();
}

}  // namespace
