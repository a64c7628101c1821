// The five submenus: placement, colours, prompts and keys, on the virtual console.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_test_support.h"
#include "results/app/main_menu.h"
#include "results/app/menu.h"
#include "results/app/other_functions.h"
#include "results/app/submenus.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "results/shell/stops.h"

namespace {

using test_support::read_bytes;
using test_support::write_bytes;

struct Line {
  int row;
  Attr colour;
  const char8_t* text;
};

struct SubmenuCase {
  const char* name;
  Menu (*build)();
  const char8_t* title_line;
  Attr title_colour;
  bool destination;
  int prompt_row;
  const char8_t* hints;  // as shown after "選択[ ]"
  std::vector<Line> lines;
};

const char8_t* kHintsEscF5 = u8"Escｷｰで戻る F5ｷｰで大ﾒﾆｭｰ";
const char8_t* kHintsEscF2F5 = u8"Escｷｰで戻る F2ｷｰで出力先変更 F5ｷｰで大ﾒﾆｭｰ";

const std::vector<SubmenuCase>& submenu_cases() {
  static const std::vector<SubmenuCase> cases = {
      {"text files", text_file_menu, u8"* テキストファイルの作成・変更・閲覧 *", 0x0F, false, 20,
       kHintsEscF5,
       {{9, 0x0F, u8"[1] 駅　　　　　EKI.TXT"},
        {10, 0x0F, u8"[2] 部門　　　　BUMON.TXT"},
        {11, 0x0F, u8"[3] チーム　　　TEAM.TXT"},
        {12, 0x0F, u8"[4] 選手　　　　SENSYU.TXT"},
        {13, 0x0F, u8"[5] オプション　OPTION.TXT"},
        {15, 0x0F, u8"[6] 出力結果　　OUT.TXT"},
        {16, 0x0F, u8"[7] HTML閲覧　　html/index.htm, html_keitai/index.htm"},
        {17, 0x0F, u8"[8] 区間賞賞状差し込みデータ　区間賞TAB.txt"},
        {18, 0x0F, u8"[9] 団体賞賞状差し込みデータ　団体賞TAB.txt"}}},
      {"checks", check_menu, u8"* 入力データ・チェック *", 0x0E, true, 18, kHintsEscF2F5,
       {{9, 0x0E, u8"[1] チーム指定（画面）"},
        {10, 0x0E, u8"[2] 中継所指定"},
        {11, 0x0E, u8"[3] 全中継所・全チーム"},
        {12, 0x0E, u8"[4] チーム名・選手名"},
        {13, 0x0E, u8"[5] 疑問スピード・チェック"},
        {14, 0x0E, u8"[6] 同タイム・チェック"},
        {15, 0x0E, u8"[7] 中継所指定（部門名・チーム名付）"},
        {16, 0x0E, u8"[8] 全中継所・全チーム（各中継所でタイム順）"}}},
      {"result output", result_output_menu, u8"* 結果出力 *", 0x0B, true, 20, kHintsEscF2F5,
       {{9, 0x0C, u8"[0] ゴール速報"},
        {10, 0x0B, u8"[1] 区間賞一覧表出力"},
        {11, 0x0B, u8"[2] 団体賞一覧表出力"},
        {12, 0x0B, u8"[3] 部門別成績一覧表出力"},
        {13, 0x0B, u8"[4] 順位変遷表出力"},
        {14, 0x0B, u8"[5] 区間順位表出力"},
        {15, 0x0B, u8"[6] 部門別成績一覧 HTML 出力"},
        {16, 0x0B, u8"[7] 中間成績一覧表出力（中継所指定）"},
        {17, 0x0B, u8"[8] スピード・ランキング表出力"},
        {18, 0x0B, u8"[9] 全明細データファイル出力"}}},
      {"certificates", certificate_menu, u8"* 賞状作成 *", 0x0D, false, 21, kHintsEscF5,
       {{9, 0x0F, u8"MS-Word の差し込み印刷機能を使って賞状を作ります。"},
        {10, 0x0F, u8"鋳型の Wordファイルにはマクロが含まれています。"},
        {11, 0x0F, u8"開くとき [マクロを有効にする] を選択してください。"},
        {13, 0x0D, u8"[1] 区間賞差し込みファイル（\"区間賞TAB.txt\"）を作る"},
        {14, 0x0D, u8"[2] 区間賞賞状（Wordファイル）を開く"},
        {15, 0x0D, u8"[3] [1]と[2]を続けて実行"},
        {17, 0x0D, u8"[6] 団体賞差し込みファイル（\"団体賞TAB.txt\"）を作る"},
        {18, 0x0D, u8"[7] 団体賞賞状（Wordファイル）を開く"},
        {19, 0x0D, u8"[8] [6]と[7]を続けて実行"}}},
      {"other functions", other_functions_menu, u8"* その他 *", 0x0F, true, 21, kHintsEscF2F5,
       {{9, 0x0F, u8"[1] タイムデータの初期化"},
        {10, 0x0F, u8"[2] 他のMASTFILE.DATからのタイムデータ取り込み"},
        {11, 0x0F, u8"[3] テキストファイルからのタイムデータ読み込み"},
        {12, 0x0F, u8"[4] スピード：タイム換算表出力"},
        {13, 0x0F, u8"[5] 部門別チーム数一覧表出力"},
        {14, 0x0F, u8"[6] 駅・部門パターン出力"},
        {15, 0x0F, u8"[7] OPTION.TXT 設定内容の確認"},
        {16, 0x0F, u8"[8] テキストファイル印刷ソフト TXP の設定"},
        {17, 0x0F, u8"[9] HAKOBU32 最新バージョン"},
        {18, 0x0F, u8"[P] HAKOBU32 プログラムファイルのPATH を表示"},
        {19, 0x0F, u8"[C] コマンドプロンプトを起動"}}},
  };
  return cases;
}

TEST(Submenus, DrawnAsPlaced) {
  for (const SubmenuCase& c : submenu_cases()) {
    SCOPED_TRACE(c.name);
    AppScreen s;
    set_out_kind_no(kOutPrinter);
    draw_submenu(c.build());
    VirtualConsole& v = *s.con;
    const std::string pad(10, ' ');

    EXPECT_EQ(v.row_text(0), u(u8"F1ｷｰでヘルプ"));
    EXPECT_EQ(v.row_text(2), u(u8"作業フォルダ→") + s.dir.path());
    EXPECT_EQ(v.row_text(4), c.destination ? u(u8"出力先→プリンタ") : "");

    const std::string title = u(c.title_line);
    const std::string stars(test_support::to_cp932(title).size(), '*');
    EXPECT_EQ(v.row_text(5), pad + stars);
    EXPECT_EQ(v.row_text(6), pad + title);
    EXPECT_EQ(v.row_text(7), pad + stars);
    for (int row = 5; row <= 7; ++row) EXPECT_EQ(v.attr_at(row, 10), c.title_colour);

    std::vector<bool> used(25, false);
    for (const Line& line : c.lines) {
      EXPECT_EQ(v.row_text(line.row), pad + u(line.text)) << "row " << line.row;
      EXPECT_EQ(v.attr_at(line.row, 10), line.colour) << "row " << line.row;
      used[line.row] = true;
    }
    used[c.prompt_row] = true;
    for (int row = 8; row < 25; ++row) {
      if (!used[row]) {
        EXPECT_EQ(v.row_text(row), "") << "row " << row;
      }
    }
    EXPECT_EQ(v.row_text(c.prompt_row), pad + u(u8"選択[ ] ") + u(c.hints));
    EXPECT_EQ(v.cursor(), (CursorPos{c.prompt_row, 15}));
  }
}

TEST(Submenus, FileDestinationShowsTheListFile) {
  AppScreen s;
  s.write_option(u8"LISTFILE = kekka.txt,1\r\n");
  set_out_kind_no(kOutFile);
  draw_submenu(other_functions_menu());
  EXPECT_EQ(s.con->row_text(4), u(u8"出力先→ファイル（kekka.txt,1）"));
  draw_submenu(text_file_menu());
  EXPECT_EQ(s.con->row_text(15), std::string(10, ' ') + u(u8"[6] 出力結果　　kekka.txt"));
}

TEST(Submenus, EscReturnsF5GoesToTheMainMenuOtherKeysBeep) {
  for (const SubmenuCase& c : submenu_cases()) {
    SCOPED_TRACE(c.name);
    {
      AppScreen s;
      // Keys that no entry carries only beep.
      s.con->feed_keys({'x', 'Z', KEY_ESC});
      run_submenu(c.build);
      EXPECT_EQ(s.con->keys_left(), 0u);
    }
    {
      AppScreen s;
      s.con->feed_keys({KEY_F5});
      EXPECT_THROW(run_submenu(c.build), BackToMainMenu);
    }
  }
}

TEST(Submenus, F2OnlyWhereThePromptOffersIt) {
  int runs = 0;
  static int* counter = nullptr;
  counter = &runs;
  set_destination_menu([] { ++*counter; });
  for (const SubmenuCase& c : submenu_cases()) {
    SCOPED_TRACE(c.name);
    AppScreen s;
    runs = 0;
    s.con->feed_keys({KEY_F2, KEY_ESC});
    run_submenu(c.build);
    const bool offered = std::u8string(c.hints).find(u8"F2") != std::u8string::npos;
    EXPECT_EQ(runs, offered ? 1 : 0);
    EXPECT_EQ(s.con->beep_count(), offered ? 0 : 1);
  }
  set_destination_menu(destination_menu);  // the real one back
}

TEST(Submenus, EveryNumberedEntryRunsSomething) {
  // A numbered entry without an action would only beep on race day.
  for (Menu (*build)() : {text_file_menu, check_menu, result_output_menu, certificate_menu,
                          other_functions_menu}) {
    const Menu menu = build();
    for (const MenuEntry& entry : menu.entries) {
      if (entry.key != 0) {
        EXPECT_NE(entry.handler, nullptr) << entry.text;
      }
    }
  }
  for (const MenuEntry& entry : main_menu_entries()) {
    if (entry.key != 0) {
      EXPECT_NE(entry.handler, nullptr) << entry.text;
    }
  }
}

}  // namespace
