// Entries of the other-functions submenu that this folder carries itself: the print
// program's settings, the latest-version page, the program path and the command prompt.
#pragma once
#include <string>

#include "results/shell/program_info.h"

// [8] Starts the print program without arguments, for its settings, and waits for it.
// A missing print program is reported and confirmed.
void print_program_settings();
// [9] Opens the version section of the help page with the desktop's browser.
void open_latest_version_page();
// [P] The running program file's full path, version and modification time.
void show_program_path();
// [C] A shell ($SHELL, else /bin/sh) in the terminal until the user types exit.
void start_command_prompt();
