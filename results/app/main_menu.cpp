#include "results/app/main_menu.h"

#include <time.h>

#include <string>

#include "results/app/freshness.h"
#include "results/app/main_clock.h"
#include "results/app/other_functions.h"
#include "results/app/submenus.h"
#include "results/entry/start_time.h"
#include "results/entry/time_entry.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/setup/debug_dump.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output_kind.h"
#include "results/shell/program_info.h"
#include "results/shell/stops.h"

namespace {

// One idle tick of the main menu. (<chrono> cannot be used here: its unit suffixes do
// not convert to the program's character set.)
void sleep_one_tick() {
  const timespec tick{0, 10 * 1000 * 1000};
  nanosleep(&tick, nullptr);
}

// Loads the race description and checks the master and name file headers, so the
// entries "3" to "9" see the files as they are on disk. Each check stops the program
// with its own message when a file is unusable.
void load_race_files() {
  kihon_data();
  mast_format_check();
  namefile_version_check();
}

// The entries of the main menu; "D" (the master-file dump) is not shown.
const std::vector<MenuEntry> kMainMenu = {
    {'1', 9, kAttrWhite, "[1] テキストファイルの作成・変更・閲覧", text_file_submenu},
    {'2', 10, kAttrRed, "[2] 出力先の変更", run_destination_menu},
    {'3', 11, kAttrBlue, "[3] スタート時刻入力（他の中継所のデータに影響無し）", start_time_entry, true},
    {'4', 12, kAttrWhite, "[4] タイム入力", time_entry, true},
    {'5', 13, kAttrGreen, "[5] 繰上出発タイム入力", forced_start_entry_from_menu, true},
    {'6', 14, kAttrYellow, "[6] 入力データ・チェック（→サブメニュー）", check_submenu, true},
    {'7', 15, kAttrCyan, "[7] 結果出力            （→サブメニュー）", result_output_submenu, true},
    {'8', 16, kAttrMagenta, "[8] 賞状作成            （→サブメニュー）", certificate_submenu, true},
    {'9', 17, kAttrWhite, "[9] その他              （→サブメニュー）", other_functions_submenu, true},
    {0, 19, kAttrWhite, "[Esc] 終了"},
    {'D', -1, kAttrWhite, "debug dump", debug_dump_entry},
};

// Idles until a key waits: the clock, the freshness check (a rebuild returns to the
// main menu), 10 ms sleeps.
void idle_until_key(MainClock& clock) {
  clock.clear();
  for (;;) {
    clock.tick(local_now());
    move_cursor(kMainPromptRow, kMainPromptCursorColumn);
    if (freshness_check() != 0) back_to_main_menu();
    const bool waiting = key_waiting();
    sleep_one_tick();
    if (waiting) return;
  }
}

// One pass of the main loop; false when the user chose to end the program.
bool main_menu_pass(MainClock& clock) {
  close_all(true);
  draw_main_menu();
  for (;;) {
    idle_until_key(clock);
    const int key = poll_key();
    flush_keys();
    if (key < 0) continue;
    if (key == KEY_ESC) return !confirm_exit();
    const MenuEntry* entry = find_menu_entry(main_menu_entries(), key);
    if (entry == nullptr || entry->handler == nullptr) {
      beep();
      continue;
    }
    con_print("%c", static_cast<char>(key));
    cursor_back(1);
    if (entry->loads_race) load_race_files();
    entry->handler();
    return true;
  }
}

}  // namespace

const std::vector<MenuEntry>& main_menu_entries() { return kMainMenu; }

void draw_main_menu() {
  const std::string title = event_title();
  set_console_title(title);
  clear_screen();
  con_print("%s %s (Build ", kProgramName, kProgramVersion);
  if (const auto built = exe_timestamp()) {
    con_print("%04d/%02d/%02d %02d:%02d:%02d", built->year, built->month, built->day,
              built->hour, built->minute, built->second);
  } else {
    con_write("----/--/-- --:--:--");
  }
  con_write(")\n");
  if (help_file_exists()) show_key_hints(HINT_F1);
  show_working_folder(0, kWorkingFolderRow);
  show_output_destination(0, kDestinationRow);
  draw_title_box("* " + title + " *", kAttrDefault);
  draw_menu_entries(kMainMenu);
  show_select_prompt(kMenuColumn, kMainPromptRow, 0);
}

bool confirm_exit() {
  clear_screen();
  move_cursor(13, kMenuColumn);
  con_write(kProgramName);
  const int key = ask_choice(" を終了しますか？（Y / N）", "*");
  return key == 'Y' || key == 'y';
}

int main_loop() {
  MainClock clock;
  for (;;) {
    try {
      if (!main_menu_pass(clock)) break;
    } catch (const BackToMainMenu&) {
      // The operation under way was abandoned; its streams closed as it unwound.
    }
  }
  save_output_kind();
  clear_screen();
  return 0;
}
