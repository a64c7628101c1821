#include "results/model/select_screens.h"

#include <cstdlib>
#include <string>

#include "results/shell/console.h"
#include "results/shell/num_input.h"

namespace {

constexpr int kSelectHints = HINT_ESC | HINT_F2 | HINT_F5;
constexpr int kNumberWidth = 2;

// One number from the field: the length typed, NUM_INPUT_ESC or NUM_INPUT_F2; `value`
// holds the number typed (0 for an empty entry).
int read_number(int& value) {
  std::string text;
  const int result = num_input(text, kNumberWidth, nullptr, kSelectHints);
  value = result > 0 ? std::atoi(text.c_str()) : 0;
  return result;
}

void draw_division_screen() {
  const EventDefinition& ev = event_definition();
  clear_screen();
  con_write("成績一覧表 出力部門選択");
  show_output_destination(48, 0);
  move_cursor(2, 8);
  con_write(" 0. 全部門");
  for (int d = 0; d < ev.bumon_suu; ++d) {
    move_cursor(3 + d, 8);
    con_print("%2d. %s", d + 1, ev.division_names[d]);
  }
  con_write("\n\n");
}

// Where the station list goes: one column at column 20 while it fits between row 2
// and row 21; a longer list (up to 50 stations) runs on in three columns.
constexpr int kStationRows = 20;
CursorPos station_cell(int index, int count) {
  if (count <= kStationRows) return {2 + index, 20};
  return {2 + index % kStationRows, 1 + (index / kStationRows) * 27};
}

// Draws the station screen and returns the row of the prompt.
int draw_station_screen(const char* title, int colour, bool show_destination, bool allow_all) {
  const EventDefinition& ev = event_definition();
  clear_screen();
  show_submenu_header();
  if (show_destination) show_output_destination(44, 1);
  move_cursor(1, 0);
  set_colour(colour == 7 ? 0xF8 : static_cast<Attr>(colour * 16 + 15));
  con_write(title);
  set_colour(static_cast<Attr>(colour + 8));
  const int count = ev.eki_suu + (allow_all ? 1 : 0);
  for (int i = 0; i < count; ++i) {
    const CursorPos cell = station_cell(i, count);
    move_cursor(cell.row, cell.col);
    if (i < ev.eki_suu) {
      con_print("%3d : %s", i, ev.station_nicknames[i]);
    } else {
      con_print("%3d : %s", 99, "すべて");
    }
  }
  set_colour(kAttrDefault);
  const int rows_used = count < kStationRows ? count : kStationRows;
  return 2 + rows_used + 1;
}

}  // namespace

DivisionSelection& division_selection() {
  static DivisionSelection selection;
  return selection;
}

void select_all_divisions() {
  DivisionSelection& selection = division_selection();
  for (int d = 0; d < kMaxDivisions; ++d) selection.selected[d] = d < event_definition().bumon_suu;
}

int select_divisions() {
  const EventDefinition& ev = event_definition();
  DivisionSelection& selection = division_selection();
  while (true) {
    draw_division_screen();
    selection = DivisionSelection{};
    bool chosen = false;
    bool redraw = false;
    while (!redraw) {
      con_write("選択部門No(空入力で選択終了)＝");
      int value = 0;
      const int typed = read_number(value);
      if (typed == NUM_INPUT_ESC) return 0;
      if (typed == NUM_INPUT_F2) {
        redraw = true;
      } else if (typed == 0) {
        return chosen ? 1 : 0;
      } else if (value == 0) {
        select_all_divisions();
        return 1;
      } else if (value >= 1 && value <= ev.bumon_suu) {
        selection.selected[value - 1] = true;
        chosen = true;
      } else {
        beep();
      }
    }
  }
}

int select_section() {
  const int max_kukan = event_definition().max_kukan;
  while (true) {
    clear_screen();
    con_write("区間順位表出力");
    show_output_destination(48, 0);
    while (true) {
      move_cursor(2, 8);
      con_write("区間＝");
      int value = 0;
      const int typed = read_number(value);
      if (typed == NUM_INPUT_ESC) return 0;
      if (typed == NUM_INPUT_F2) break;
      if (value >= 1 && value <= max_kukan) return value;
      beep();
    }
  }
}

int select_station(const char* title, int colour, bool show_destination, bool allow_all) {
  const int eki_suu = event_definition().eki_suu;
  while (true) {
    const int prompt_row = draw_station_screen(title, colour, show_destination, allow_all);
    while (true) {
      move_cursor(prompt_row, 0);
      con_write("中継所Ｎｏ＝");
      int value = 0;
      const int typed = read_number(value);
      if (typed == NUM_INPUT_ESC) return -1;
      if (typed == NUM_INPUT_F2) break;
      if (typed > 0 && value >= 0 && value < eki_suu) return value;
      if (typed > 0 && value == 99 && allow_all) return 99;
      beep();
    }
  }
}
