#include "results/shell/num_input.h"

#include <algorithm>

#include "results/shell/console.h"
#include "results/shell/options.h"
#include "results/shell/output_kind.h"
#include "results/shell/stops.h"

namespace {

// The field on the screen: where it starts, how wide it is, and how it is filled.
struct Field {
  CursorPos start;
  int width;
  bool left_aligned;  // NUM_INPUTTYPE 2
};

// Redraws the field with the text held and puts the cursor where the next key acts:
// type 1 on the last dot (the text grows leftwards from there), type 2 after the text.
void draw(const Field& field, const std::string& text) {
  const int held = static_cast<int>(text.size());
  const std::string dots(field.width - held, '.');
  move_cursor(field.start.row, field.start.col);
  if (field.left_aligned) {
    con_write(text);
    con_write(dots);
    move_cursor(field.start.row, field.start.col + std::min(held, field.width - 1));
  } else {
    con_write(dots);
    con_write(text);
    move_cursor(field.start.row, field.start.col + field.width - 1);
  }
}

bool accepts_character(int key, const std::string& text, int width) {
  if (static_cast<int>(text.size()) >= width) return false;
  return (key >= '0' && key <= '9') || (key == '-' && text.empty());
}

}  // namespace

int num_input_type() { return option_int("NUM_INPUTTYPE", 1) == 2 ? 2 : 1; }

int num_input(std::string& text, int width, void (*f5_action)(), int hints) {
  const Field field{cursor_position(), std::max(width, 1), num_input_type() == 2};
  const int erase_key = field.left_aligned ? KEY_LEFT : KEY_DELETE;
  text.clear();
  con_write(std::string(field.width, '.'));
  show_key_hints(hints);
  draw(field, text);
  for (;;) {
    const int key = read_key();
    if (accepts_character(key, text, field.width)) {
      text.push_back(static_cast<char>(key));
      draw(field, text);
    } else if (key == KEY_BACKSPACE || key == erase_key) {
      if (text.empty()) {
        beep();
        continue;
      }
      text.pop_back();
      draw(field, text);
    } else if (key == KEY_ENTER) {
      clear_to_end_of_row(field.start.row, field.start.col);
      move_cursor(field.start.row, field.start.col);
      con_print("%*s\n", field.width, text.c_str());
      return static_cast<int>(text.size());
    } else if (key == KEY_ESC && (hints & HINT_ESC)) {
      clear_to_end_of_row(field.start.row, field.start.col);
      move_cursor(field.start.row, field.start.col);
      return NUM_INPUT_ESC;
    } else if (key == KEY_F2 && (hints & HINT_F2)) {
      run_destination_menu();
      return NUM_INPUT_F2;
    } else if (key == KEY_F5 && (hints & HINT_F5)) {
      if (f5_action != nullptr) f5_action();
      back_to_main_menu();
    } else {
      beep();
    }
  }
}
