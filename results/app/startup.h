// Start-up of the results program, from the first instruction to the main loop, and
// its end.
#pragma once
#include <string>

inline constexpr const char* kFirstRunMarker = "please_delete_me.tmp";
inline constexpr const char* kReadmeFile = "readme.txt";
inline constexpr const char* kShortcutMaker = "make_shortcut_on_desktop.exe";
inline constexpr const char* kHelpPageName = "hakobu32.html";

// Ends the program through fatal_stop when an allocation fails.
void install_out_of_memory_handler();
// The first start after installation: deletes the marker file in the program folder
// and then shows readme.txt; also deletes the shortcut maker in the working folder.
// Nothing is reported.
void handle_first_run_files(const std::string& program_folder);
// When the help page is not beside the program: says where to put it and waits for Y.
void check_help_file();

// The whole program: start-up on the terminal, the main loop, the end. Returns the
// exit code.
int run_hakobu32(int argc, char** argv);
