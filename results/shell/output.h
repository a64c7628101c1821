// Where printed reports go and how they get there. A report is written as plain text to one
// output stream (open_fpout) and then handed to the chosen destination
// (closefpout_and_callprt): the printer (a print command, by default the print program
// txp/txp beside this program, started on a temporary file), the LISTFILE file (opened for
// viewing afterwards) or the clipboard. The destination kind itself, its names and
// SELCTOUT.DAT live in output_kind.h.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "results/shell/files.h"

// The process-wide output state besides the destination kind.
struct OutputChannel {
  char delimiter = 0;       // data-style output: 0 none, '\t' or ','
  char file_mode = '0';     // file destination: '1' appends, anything else overwrites
  Stream fpout;             // the report stream, open from open_fpout to the hand-off
  std::string file_name;    // the file destination's name (LISTFILE before its ",")
  std::string temp_name;    // the temporary file of the printer and clipboard destinations
  // How long "で印刷します" and "クリップボードへ出力しました" stay before the screen moves on.
  int notice_pause_ms = 2000;
};
OutputChannel& output_channel();

// The LISTFILE option taken apart: the name before the first "," (default "OUT.TXT",
// also for an empty name, trailing blanks removed) and the answer to the overwrite
// question that ",0" (overwrite) or ",1" (append) fixes; blanks may follow the comma.
struct ListFileSetting {
  std::string name;
  std::optional<char> fixed_mode;  // '0' or '1' when the value fixes it
};
ListFileSetting list_file_setting();

// The questions before a report; -1 when the user pressed Esc (the report is abandoned),
// else 0. Nothing is asked for the printer. With ask_delimiter: "区切文字" (0 none,
// 1 tab, 2 comma). For the file destination, when the file exists and LISTFILE fixes no
// answer: overwrite (0) or append (1). F5 returns to the main menu.
int ask_output_options(bool ask_delimiter);

// Opens the report stream: a new temporary file for the printer and the clipboard, the
// LISTFILE file for the file destination (appending when the file mode is '1'); text mode.
Stream& open_fpout();
// The open report stream.
Stream& fpout();

// Writers that make one report serve as a printed list and as delimited data.
// A form feed, for the printer only.
void write_page_break();
// A double quote, for the file or the clipboard with the comma delimiter.
void write_quote();
// For the file or the clipboard with a delimiter: a closing quote (not for tab), the
// delimiter, an opening quote (not for tab). Nothing otherwise.
void write_field_separator();

// Closes the report stream and hands the text over: the print command of the option key
// (a PRINTCMDnn name) for the printer, the viewer for the file, the clipboard. The
// temporary file is deleted afterwards, whether the hand-off worked or not.
void closefpout_and_callprt(const char* key);

// The print program: program_folder + "txp/txp".
std::string print_program_path();
// Looks for the print program elsewhere (tests); an empty path restores the normal place.
void set_print_program_path(const std::string& path);

// A PRINTCMDnn value taken apart into the program to start and its arguments (the report
// file is added last when it is started).
struct PrintCommand {
  bool matched = false;               // false: the value is empty or blank
  bool is_print_program = false;      // the print program beside this one
  std::string program;
  std::vector<std::string> args;
};
inline constexpr int kMaxPrintArgs = 97;
// value: the option's value, or nothing when the option is not set (the print program
// with "-p" and "-q"). The print program is named by its short name "txp" in any case,
// quoted or not; a quoted program path keeps its blanks; otherwise the first word is the
// program. Arguments are the blank-separated words after the program (at most 97).
PrintCommand parse_print_command(const std::optional<std::string>& value,
                                 const std::string& print_program);

// The destination menu (main-menu entry 2 and F2 in any prompt).
void destination_menu();
