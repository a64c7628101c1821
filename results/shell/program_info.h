// Facts about the running program: where its file is, the debug flag, the build stamp.
#pragma once
#include <optional>
#include <string>

#include "results/shell/files.h"

// The program's name and version as the banner, the messages and the HTML pages show them.
inline constexpr const char* kProgramName = "HAKOBU32";
inline constexpr const char* kProgramVersion = "version 3.74";

// Remembers the program path; call once at start with argv[0]. The path is resolved
// through /proc/self/exe, so a program found along PATH still knows its folder; argv[0]
// is kept when that cannot be read.
void set_program_path(const char* argv0);
// The program file's full path (CP932 text); "hakobu32" before set_program_path.
const std::string& program_path();
// The folder of the program file with a trailing "/" ("" when the path has none). The
// help page, the first-run files and the print program txp/txp are looked up there.
std::string program_folder();

// The debug flag: set when an argument after the first begins with "-" and has "d" or
// "D" anywhere after the dash. The race-description loader then prints its dump.
bool debug_flag();
void set_debug_flag(bool on);
// Scans the command line for the debug flag (without setting it).
bool debug_flag_in_arguments(int argc, const char* const argv[]);

// The build stamp shown in the banner: the build time fixed at compile time
// (SOURCE_DATE_EPOCH when set), in local time.
std::optional<LocalDateTime> exe_timestamp();
