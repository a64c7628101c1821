// txp's command line: tokens, the options -p -q -s -h (long forms --print --quit --set --help)
// and the document path.
#pragma once

#include <string>
#include <vector>

#include "print/settings/print_format.h"

namespace txp {

// Splits a command line into tokens: blanks and tabs separate them except inside double
// quotes; each quote switches quoting and is dropped.
std::vector<std::string> SplitCommandLine(const std::string& text);

constexpr int kOptionPrint = 0x01;  // -p: print every page at start-up
constexpr int kOptionQuit = 0x02;   // -q: close when printing has finished

struct CommandLine {
  bool ok = true;           // false: message says why, and the command line is ignored
  std::string message;      // the message for the box captioned "TXP"
  std::string path;         // document path, empty when none
  int options = 0;          // kOptionPrint | kOptionQuit
  int format_index = -1;    // format chosen by -s, -1 = none
  int help_requests = 0;    // how many -h were given (each opens the help page)
};

// Reads the tokens (without the program name); -s names are looked up in formats.
CommandLine ParseCommandLine(const std::vector<std::string>& tokens, const FormatList& formats);

}  // namespace txp
