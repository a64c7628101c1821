#include "results/app/submenus.h"

#include <initializer_list>
#include <string>

#include "results/app/other_functions.h"
#include "results/compute/results_compute.h"
#include "results/entry/check_lists.h"
#include "results/entry/time_import.h"
#include "results/reports/detail_files.h"
#include "results/reports/division_results.h"
#include "results/reports/dubious_speeds.h"
#include "results/reports/goal_flash.h"
#include "results/reports/html_pages.h"
#include "results/reports/ranking_tables.h"
#include "results/reports/section_awards.h"
#include "results/reports/speed_time_table.h"
#include "results/reports/station_pattern_csv.h"
#include "results/reports/team_awards.h"
#include "results/setup/build_master.h"
#include "results/setup/import_times.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"
#include "results/shell/process.h"

namespace {

// The race files, the report file and the certificate merge files, as named in the menu.
constexpr const char* kSectionAwardData = "区間賞TAB.txt";
constexpr const char* kTeamAwardData = "団体賞TAB.txt";
constexpr const char* kHtmlIndexPc = "html/index.htm";
constexpr const char* kHtmlIndexMobile = "html_keitai/index.htm";

void edit(const char* file) { edit_text_file(file, EditMode::kNoWait); }
void edit_eki() { edit("EKI.TXT"); }
void edit_bumon() { edit("BUMON.TXT"); }
void edit_team() { edit("TEAM.TXT"); }
void edit_sensyu() { edit("SENSYU.TXT"); }
void edit_option() { edit("OPTION.TXT"); }
void edit_listfile() { edit_text_file(list_file_setting().name, EditMode::kNoWait); }
void edit_section_award_data() { edit(kSectionAwardData); }
void edit_team_award_data() { edit(kTeamAwardData); }

// Hands both index pages of the HTML site to the desktop; a page that is not there yet
// is named on the screen instead (the HTML output writes them).
void open_html_indexes() {
  bool missing = false;
  for (const char* page : {kHtmlIndexPc, kHtmlIndexMobile}) {
    if (file_accessible(page)) {
      shell_open(page);
    } else {
      missing = true;
    }
  }
  if (missing) wait_confirm();
}

// Hands the certificate document (.docm, else .doc) of the working folder to the
// desktop; when neither is there, both reasons are on the screen.
void open_certificate_document(const std::string& stem) {
  for (const char* extension : {".docm", ".doc"}) {
    const std::string document = stem + extension;
    if (file_accessible(document)) {
      shell_open(document);
      return;
    }
  }
  wait_confirm();
}
void open_section_award_document() { open_certificate_document("区間賞賞状"); }
void open_team_award_document() { open_certificate_document("団体賞賞状"); }

// Check [6]: the same-time check runs on freshly computed results.
void same_time_check() {
  if (prepare_results(1, 0, -1) == 0) same_time_list();
}
// Certificates [3], [6] and [8]: the merge file, then (asked) the document.
void section_award_data_and_document() {
  section_award_data_and_document_entry(open_section_award_document);
}
void section_award_data() { section_award_data_entry(); }
void team_award_data() { team_award_data_entry(); }
void team_award_data_and_document() { team_award_data_and_document_entry(open_team_award_document); }

}  // namespace

Menu text_file_menu() {
  const Attr c = kAttrWhite;
  return Menu{
      "* テキストファイルの作成・変更・閲覧 *", kAttrWhite, false, 20, HINT_ESC | HINT_F5,
      {
          {'1', 9, c, "[1] 駅　　　　　EKI.TXT", edit_eki},
          {'2', 10, c, "[2] 部門　　　　BUMON.TXT", edit_bumon},
          {'3', 11, c, "[3] チーム　　　TEAM.TXT", edit_team},
          {'4', 12, c, "[4] 選手　　　　SENSYU.TXT", edit_sensyu},
          {'5', 13, c, "[5] オプション　OPTION.TXT", edit_option},
          {'6', 15, c, "[6] 出力結果　　" + list_file_setting().name, edit_listfile},
          {'7', 16, c, std::string("[7] HTML閲覧　　") + kHtmlIndexPc + ", " + kHtmlIndexMobile,
           open_html_indexes},
          {'8', 17, c, std::string("[8] 区間賞賞状差し込みデータ　") + kSectionAwardData,
           edit_section_award_data},
          {'9', 18, c, std::string("[9] 団体賞賞状差し込みデータ　") + kTeamAwardData,
           edit_team_award_data},
      }};
}

Menu check_menu() {
  const Attr c = kAttrYellow;
  return Menu{"* 入力データ・チェック *", kAttrYellow, true, 18, HINT_ESC | HINT_F2 | HINT_F5,
              {
                  {'1', 9, c, "[1] チーム指定（画面）", team_screen_check},
                  {'2', 10, c, "[2] 中継所指定", relay_point_check_entry},
                  {'3', 11, c, "[3] 全中継所・全チーム", all_stations_grid},
                  {'4', 12, c, "[4] チーム名・選手名", names_check_list},
                  {'5', 13, c, "[5] 疑問スピード・チェック", print_dubious_speeds},
                  {'6', 14, c, "[6] 同タイム・チェック", same_time_check},
                  {'7', 15, c, "[7] 中継所指定（部門名・チーム名付）", relay_point_check_with_names_entry},
                  {'8', 16, c, "[8] 全中継所・全チーム（各中継所でタイム順）", time_order_grid},
              }};
}

Menu result_output_menu() {
  const Attr c = kAttrCyan;
  return Menu{"* 結果出力 *", kAttrCyan, true, 20, HINT_ESC | HINT_F2 | HINT_F5,
              {
                  {'0', 9, kAttrRed, "[0] ゴール速報", print_goal_flash},
                  {'1', 10, c, "[1] 区間賞一覧表出力", section_awards_entry},
                  {'2', 11, c, "[2] 団体賞一覧表出力", team_awards_entry},
                  {'3', 12, c, "[3] 部門別成績一覧表出力", division_results_entry},
                  {'4', 13, c, "[4] 順位変遷表出力", rank_progression_entry},
                  {'5', 14, c, "[5] 区間順位表出力", section_ranks_entry},
                  {'6', 15, c, "[6] 部門別成績一覧 HTML 出力", html_pages_entry},
                  {'7', 16, c, "[7] 中間成績一覧表出力（中継所指定）", intermediate_results_entry},
                  {'8', 17, c, "[8] スピード・ランキング表出力", speed_ranking_entry},
                  {'9', 18, c, "[9] 全明細データファイル出力", detail_files_entry},
              }};
}

Menu certificate_menu() {
  const Attr c = kAttrMagenta;
  return Menu{
      "* 賞状作成 *", kAttrMagenta, false, 21, HINT_ESC | HINT_F5,
      {
          {0, 9, kAttrWhite, "MS-Word の差し込み印刷機能を使って賞状を作ります。"},
          {0, 10, kAttrWhite, "鋳型の Wordファイルにはマクロが含まれています。"},
          {0, 11, kAttrWhite, "開くとき [マクロを有効にする] を選択してください。"},
          {'1', 13, c, std::string("[1] 区間賞差し込みファイル（\"") + kSectionAwardData + "\"）を作る",
           section_award_data},
          {'2', 14, c, "[2] 区間賞賞状（Wordファイル）を開く", open_section_award_document},
          {'3', 15, c, "[3] [1]と[2]を続けて実行", section_award_data_and_document},
          {'6', 17, c, std::string("[6] 団体賞差し込みファイル（\"") + kTeamAwardData + "\"）を作る",
           team_award_data},
          {'7', 18, c, "[7] 団体賞賞状（Wordファイル）を開く", open_team_award_document},
          {'8', 19, c, "[8] [6]と[7]を続けて実行", team_award_data_and_document},
      }};
}

Menu other_functions_menu() {
  const Attr c = kAttrWhite;
  return Menu{"* その他 *", kAttrWhite, true, 21, HINT_ESC | HINT_F2 | HINT_F5,
              {
                  {'1', 9, c, "[1] タイムデータの初期化", master_build_dialogue},
                  {'2', 10, c, "[2] 他のMASTFILE.DATからのタイムデータ取り込み", import_times_dialogue},
                  {'3', 11, c, "[3] テキストファイルからのタイムデータ読み込み", time_import},
                  {'4', 12, c, "[4] スピード：タイム換算表出力", print_speed_time_table},
                  {'5', 13, c, "[5] 部門別チーム数一覧表出力", team_count_list},
                  {'6', 14, c, "[6] 駅・部門パターン出力", write_station_csv},
                  {'7', 15, c, "[7] OPTION.TXT 設定内容の確認", show_option_listing},
                  {'8', 16, c, "[8] テキストファイル印刷ソフト TXP の設定", print_program_settings},
                  {'9', 17, c, "[9] HAKOBU32 最新バージョン", open_latest_version_page},
                  {'P', 18, c, "[P] HAKOBU32 プログラムファイルのPATH を表示", show_program_path},
                  {'C', 19, c, "[C] コマンドプロンプトを起動", start_command_prompt},
              }};
}

void text_file_submenu() { run_submenu(text_file_menu); }
void check_submenu() { run_submenu(check_menu); }
void result_output_submenu() { run_submenu(result_output_menu); }
void certificate_submenu() { run_submenu(certificate_menu); }
void other_functions_submenu() { run_submenu(other_functions_menu); }
