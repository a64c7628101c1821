// Menus as tables: every menu screen of the program is a list of entries (key, row,
// colour, text, handler) drawn and dispatched by the routines here, so the main menu
// and the five submenus share one drawing and one key loop.
#pragma once
#include <string>
#include <vector>

#include "results/shell/console.h"

// A menu action: takes nothing, returns nothing, and comes back to its menu.
using MenuHandler = void (*)();

struct MenuEntry {
  int key = 0;                   // '0'..'9' or an upper-case letter (either case runs it);
                                 // 0 for a line of text that runs nothing
  int row = -1;                  // screen row; -1 for a key that is not shown
  Attr colour = kAttrDefault;
  std::string text;              // CP932, as shown at column kMenuColumn
  MenuHandler handler = nullptr;  // nullptr: not available in this build, the key beeps
  bool loads_race = false;       // the race files are loaded and checked before the handler
};

// A submenu screen; the title line includes its "* " and " *".
struct Menu {
  std::string title_line;
  Attr colour = kAttrDefault;    // the title box
  bool shows_destination = false;
  int prompt_row = 21;
  int hints = 0;                 // HINT_* flags of the selection prompt
  std::vector<MenuEntry> entries;
};

inline constexpr int kMenuColumn = 10;          // title box, entries and prompt
inline constexpr int kTitleBoxRow = 5;          // asterisks, title, asterisks: rows 5 to 7
inline constexpr int kWorkingFolderRow = 2;
inline constexpr int kDestinationRow = 4;

// The title box: a line of asterisks as long as the title line (in bytes, so a
// full-width name gets a box of its screen width), the title line, the asterisks again.
void draw_title_box(const std::string& title_line, Attr colour);
// Every entry with a row, at its row and column kMenuColumn in its colour; colour
// kAttrDefault afterwards.
void draw_menu_entries(const std::vector<MenuEntry>& entries);
// The entry that a key runs (letters in either case), or nullptr.
const MenuEntry* find_menu_entry(const std::vector<MenuEntry>& entries, int key);

// Draws a whole submenu screen and leaves the cursor inside the prompt's brackets.
void draw_submenu(const Menu& menu);

// Runs a submenu until Esc: the menu is built anew for every redraw (an option such as
// LISTFILE may have changed meanwhile). An accepted key is echoed and its handler runs;
// F5 returns to the main menu; F2 (when the prompt offers it) runs the destination menu;
// any other key beeps.
void run_submenu(Menu (*build)());
