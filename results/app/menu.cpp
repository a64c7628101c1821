#include "results/app/menu.h"

#include <cctype>

#include "results/shell/output_kind.h"
#include "results/shell/stops.h"

void draw_title_box(const std::string& title_line, Attr colour) {
  const std::string stars(title_line.size(), '*');
  set_colour(colour);
  move_cursor(kTitleBoxRow, kMenuColumn);
  con_write(stars);
  move_cursor(kTitleBoxRow + 1, kMenuColumn);
  con_write(title_line);
  move_cursor(kTitleBoxRow + 2, kMenuColumn);
  con_write(stars);
  set_colour(kAttrDefault);
}

void draw_menu_entries(const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    if (entry.row < 0) continue;
    move_cursor(entry.row, kMenuColumn);
    set_colour(entry.colour);
    con_write(entry.text);
  }
  set_colour(kAttrDefault);
}

const MenuEntry* find_menu_entry(const std::vector<MenuEntry>& entries, int key) {
  if (key <= 0 || key > 0x7E) return nullptr;
  const int wanted = std::toupper(key);
  for (const MenuEntry& entry : entries) {
    if (entry.key != 0 && entry.key == wanted) return &entry;
  }
  return nullptr;
}

void draw_submenu(const Menu& menu) {
  clear_screen();
  show_submenu_header();
  show_working_folder(0, kWorkingFolderRow);
  if (menu.shows_destination) show_output_destination(0, kDestinationRow);
  draw_title_box(menu.title_line, menu.colour);
  draw_menu_entries(menu.entries);
  set_colour(kAttrDefault);
  show_select_prompt(kMenuColumn, menu.prompt_row, menu.hints);
}

void run_submenu(Menu (*build)()) {
  for (;;) {
    const Menu menu = build();
    draw_submenu(menu);
    for (;;) {
      const int key = read_key();
      flush_keys();
      if (key == KEY_ESC) return;
      if (key == KEY_F5) back_to_main_menu();
      if (key == KEY_F2 && (menu.hints & HINT_F2)) {
        run_destination_menu();
        break;
      }
      const MenuEntry* entry = find_menu_entry(menu.entries, key);
      if (entry == nullptr || entry->handler == nullptr) {
        beep();
        continue;
      }
      con_print("%c", static_cast<char>(key));
      cursor_back(1);
      entry->handler();
      break;
    }
  }
}
