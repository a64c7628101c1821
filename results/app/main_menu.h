// The main menu and the main loop: each pass closes what an abandoned operation left
// open, draws the menu with its clock, idles until a key comes and runs the entry.
#pragma once
#include <vector>

#include "results/app/menu.h"

inline constexpr int kMainPromptRow = 21;
inline constexpr int kMainPromptCursorColumn = 15;  // inside the brackets of "選択[ ]"

// The entries of the main menu (keys "1" to "9", the hidden "D" and the Esc line).
const std::vector<MenuEntry>& main_menu_entries();

// Draws the whole main menu: window title, banner with the build stamp, F1 hint,
// working folder, output destination, the title box with the event name, the entries
// and the selection prompt.
void draw_main_menu();

// The Esc question: true when the user answered Y or y (the program then ends).
bool confirm_exit();

// Runs the main loop until the user confirms the exit; returns the exit code 0.
int main_loop();
