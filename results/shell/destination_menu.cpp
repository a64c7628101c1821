// The destination menu (main-menu entry 2 and the F2 key): choose where printed reports go.
// The choice is kept in SELCTOUT.DAT at once, so it stays chosen between runs.
#include "results/shell/console.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "results/shell/stops.h"

namespace {

constexpr int kEntries = 3;
constexpr int kTitleRow = 2;
constexpr int kTitleCol = 8;
constexpr int kFirstEntryRow = 4;
constexpr int kEntryCol = 16;
constexpr int kPromptRow = 8;
constexpr int kPromptCol = 8;
constexpr int kDigitCol = 31;  // inside the brackets of the prompt

void draw_destination_menu(int selection, const std::string& listfile) {
  clear_screen();
  show_submenu_header();
  move_cursor(kTitleRow, kTitleCol);
  con_write("出力先の変更");
  for (int i = 0; i < kEntries; ++i) {
    move_cursor(kFirstEntryRow + i, kEntryCol);
    if (i == selection) {
      con_write("→ ");
      set_colour(kAttrNotice);
    } else {
      con_write("   ");
    }
    con_print("[%d] %s", i + 1, destination_name(i));
    if (i == kOutFile) con_print("（%s）", listfile.c_str());
    set_colour(kAttrDefault);
  }
  move_cursor(kPromptRow, kPromptCol);
  con_write("選択（エンターで確定）[ ]");
  show_key_hints(HINT_ESC | HINT_F5);
  move_cursor(kPromptRow, kDigitCol);
  con_print("%d", selection + 1);
  move_cursor(kPromptRow, kDigitCol);
}

}  // namespace

void destination_menu() {
  const std::string listfile = listfile_as_written();
  int selection = out_kind_no();
  for (;;) {
    draw_destination_menu(selection, listfile);
    const int key = read_key();
    flush_keys();
    if (key == KEY_LEFT || key == KEY_UP) {
      selection = (selection + kEntries - 1) % kEntries;
    } else if (key == KEY_RIGHT || key == KEY_DOWN) {
      selection = (selection + 1) % kEntries;
    } else if (key >= '1' && key < '1' + kEntries) {
      selection = key - '1';
    } else if (key == KEY_ENTER) {
      set_out_kind_no(selection);
      if (!save_output_kind()) {
        // The choice holds for this run; say that it will not survive a restart.
        con_print("\n\n\"%s\" に書き込めませんでした。次回の起動時には元の出力先に戻ります\n",
                  kSelctoutFile);
        wait_confirm();
      }
      return;
    } else if (key == KEY_ESC) {
      return;
    } else if (key == KEY_F5) {
      back_to_main_menu();
    } else {
      beep();
    }
  }
}
