// The command line: tokens, options in their forms, -s lookups and the messages.
#include "print/ui/command_line.h"

#include <gtest/gtest.h>

#include <vector>

using namespace txp;

namespace {

FormatList TwoFormats() {
  FormatList list;
  for (const char* name : {"初期設定値", "Landscape A4"}) {
    PrintFormat f = DefaultPrintFormat(0);
    f.SetName = name;
    AppendFormat(list, f);
  }
  return list;
}

}  // namespace

TEST(CommandLine, SplitsOnBlanksAndKeepsQuotedBlanks) {
  EXPECT_EQ(SplitCommandLine("  -p\t-q \"/tmp/my report.txt\""),
            (std::vector<std::string>{"-p", "-q", "/tmp/my report.txt"}));
  EXPECT_EQ(SplitCommandLine("a\"b c\"d e"), (std::vector<std::string>{"ab cd", "e"}));
  EXPECT_TRUE(SplitCommandLine(" \t ").empty());
}

TEST(CommandLine, OptionsInEveryAcceptedFormAndTheirRefusals) {
  struct Case {
    std::string line;
    bool ok;
    int options;
    int format_index;
    std::string path;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"-p -q report.txt", true, kOptionPrint | kOptionQuit, -1, "report.txt", ""},
      {"-P report.txt", true, kOptionPrint, -1, "report.txt", ""},
      {"--print --quit", true, kOptionPrint | kOptionQuit, -1, "", ""},
      {"--PRINT --QUIT", true, kOptionPrint | kOptionQuit, -1, "", ""},
      {"-q report.txt", true, kOptionQuit, -1, "report.txt", ""},
      {"-print report.txt", false, 0, -1, "", "オプション「-print」が間違っています."},
      {"-X", false, 0, -1, "", "オプション「-x」が間違っています."},
      {"-s landscape a4 x.txt", false, 0, -1, "", "書式名「landscape」はありません."},
      {"-s \"landscape a4\" x.txt", true, 0, 1, "x.txt", ""},
      {"--SET 初期設定値", true, 0, 0, "", ""},
      {"x.txt -s", false, 0, -1, "", "書式名が指定されていません."},
      {"first.txt \"/tmp/second report.txt\"", true, 0, -1, "/tmp/second report.txt", ""},
      {"-h --help x.txt", true, 0, -1, "x.txt", ""},
  };
  const FormatList formats = TwoFormats();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const CommandLine r = ParseCommandLine(SplitCommandLine(c.line), formats);
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(r.options, c.options);
    EXPECT_EQ(r.format_index, c.format_index);
    EXPECT_EQ(r.path, c.path);
  }
  EXPECT_EQ(ParseCommandLine(SplitCommandLine("-h --help"), formats).help_requests, 2);
}
