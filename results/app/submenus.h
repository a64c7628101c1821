// The five submenus of the main menu, each a table of entries (menu.h). The builders
// give the table as it is drawn now; the runners loop on it until Esc.
#pragma once
#include "results/app/menu.h"

Menu text_file_menu();        // [1] テキストファイルの作成・変更・閲覧
Menu check_menu();            // [6] 入力データ・チェック
Menu result_output_menu();    // [7] 結果出力
Menu certificate_menu();      // [8] 賞状作成
Menu other_functions_menu();  // [9] その他

void text_file_submenu();
void check_submenu();
void result_output_submenu();
void certificate_submenu();
void other_functions_submenu();
