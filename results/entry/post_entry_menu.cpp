#include "results/entry/post_entry_menu.h"

#include "results/entry/check_lists.h"
#include "results/entry/time_entry.h"
#include "results/model/event_definition.h"
#include "results/shell/console.h"
#include "results/shell/output_kind.h"
#include "results/shell/sjis.h"
#include "results/shell/stops.h"

namespace {

constexpr int kRefusedRow = 13;
constexpr int kRefusedCol = 10;
constexpr int kLastRow = 23;

// The import's refused lines under the menu, as many as fit, and how many more there are.
void show_refused_lines(const std::vector<std::string>& refused) {
  if (refused.empty()) return;
  move_cursor(kRefusedRow, kRefusedCol);
  set_colour(kAttrNotice);
  con_print("取り込めなかった行 %d 件", static_cast<int>(refused.size()));
  set_colour(kAttrDefault);
  const int room = kLastRow - kRefusedRow;
  const bool all_fit = static_cast<int>(refused.size()) <= room;
  const int shown = all_fit ? static_cast<int>(refused.size()) : room - 1;
  for (int i = 0; i < shown; ++i) {
    std::string line = refused[i];
    strip_newline(line);
    move_cursor(kRefusedRow + 1 + i, kRefusedCol);
    con_write(cut_text(line, 80 - kRefusedCol - 1));
  }
  if (!all_fit) {
    move_cursor(kLastRow, kRefusedCol);
    con_print("ほか %d 件", static_cast<int>(refused.size()) - shown);
  }
}

}  // namespace

void post_entry_menu(int offer, int station, const std::vector<std::string>& refused) {
  for (;;) {
    clear_screen();
    show_working_folder(0, 2);
    show_output_destination(0, 4);
    move_cursor(6, 10);
    con_print("中継所 %2d : %s", station, event_definition().station_nicknames[station]);
    move_cursor(8, 10);
    con_write("[1] チェックリスト出力");
    if (offer == 2) {
      move_cursor(9, 10);
      con_write("[2] 繰上出発タイム入力");
    }
    show_refused_lines(refused);
    show_select_prompt(10, 11, HINT_ESC | HINT_F2 | HINT_F5);
    const int key = read_key();
    flush_keys();
    if (key == KEY_ESC) return;
    if (key == KEY_F2) {
      run_destination_menu();
      continue;
    }
    if (key == KEY_F5) back_to_main_menu();
    if (key == '1') {
      con_print("%c", key);
      relay_point_check_list(false, false, station);
      return;
    }
    if (key == '2' && offer == 2) {
      con_print("%c", key);
      forced_start_entry(2, station);
      return;
    }
    beep();
  }
}
