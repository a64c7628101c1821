// The hand-off to the print command: how a PRINTCMDnn value becomes a program and its
// arguments, what the started program receives, and what the user sees when it fails.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "output_test_fixture.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "results/shell/program_info.h"
#include "support/test_support.h"

namespace {

using output_test::OutputTest;
using output_test::ScopedEnv;
using output_test::u8s;
using test_support::to_utf8;
using Args = std::vector<std::string>;

const std::string kTxp = "/opt/race/txp/txp";

struct ParseCase {
  const char* label;
  std::optional<std::string> value;
  bool is_print_program;
  std::string program;
  Args args;
};

TEST(PrintCommandParse, ValuesBecomeProgramAndArguments) {
  const ParseCase cases[] = {
      {"not set: print program, print and quit", std::nullopt, true, kTxp, {"-p", "-q"}},
      {"short name alone", "txp", true, kTxp, {}},
      {"short name, any case", "TxP -s 速報", true, kTxp, {"-s", "速報"}},
      {"short name in double quotes", "\"TXP\" -p", true, kTxp, {"-p"}},
      {"short name in single quotes", "  'tXp'\t-q -p", true, kTxp, {"-q", "-p"}},
      {"name that only begins with txp", "txpview -p", false, "txpview", {"-p"}},
      {"quoted path with blanks", "\"/usr/local/my print/run\" -a  b", false,
       "/usr/local/my print/run", {"-a", "b"}},
      {"quoted path, no arguments", "'/x y/z'", false, "/x y/z", {}},
      {"plain path with words", "/usr/bin/lpr -P PDF", false, "/usr/bin/lpr", {"-P", "PDF"}},
      {"quotes inside arguments are kept", "lpr -o \"a b\"", false, "lpr",
       {"-o", "\"a", "b\""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const PrintCommand cmd = parse_print_command(c.value, kTxp);
    EXPECT_TRUE(cmd.matched);
    EXPECT_EQ(cmd.is_print_program, c.is_print_program);
    EXPECT_EQ(cmd.program, c.program);
    EXPECT_EQ(cmd.args, c.args);
  }
}

TEST(PrintCommandParse, BlankValueMatchesNothing) {
  for (const std::string value : {"", "   ", "\t \t"}) {
    EXPECT_FALSE(parse_print_command(value, kTxp).matched) << "[" << value << "]";
  }
}

TEST(PrintCommandParse, ArgumentsStopAtNinetySeven) {
  std::string value = "lpr";
  for (int i = 0; i < 120; ++i) value += " a" + std::to_string(i);
  const PrintCommand cmd = parse_print_command(value, kTxp);
  ASSERT_EQ(cmd.args.size(), 97u);
  EXPECT_EQ(cmd.args.back(), "a96");
}

TEST(PrintCommandParse, PrintProgramLivesBesideThisProgram) {
  set_print_program_path("");
  EXPECT_EQ(print_program_path(), program_folder() + "txp/txp");
}

class PrintHandOff : public OutputTest {
 protected:
  PrintHandOff() { set_out_kind_no(kOutPrinter); }

  // Writes a two-line report and hands it over with PRINTCMD73.
  void print_report() {
    Stream& out = open_fpout();
    out.write_text("成績一覧\n");
    write_page_break();
    out.write_text("2 page\n");
    closefpout_and_callprt("PRINTCMD73");
  }
  void expect_no_temp_file_left() { EXPECT_TRUE(output_test::files_in(tmp_).empty()); }
  // A copy of the recording program at the given path (folders made as needed).
  std::string copy_recorder(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::filesystem::copy_file(RECORD_ARGS_PROGRAM, path);
    return path;
  }
};

TEST_F(PrintHandOff, DefaultCommandPrintsAndQuitsOnTheTemporaryFile) {
  print_report();
  const Args args = recorded_args();
  ASSERT_EQ(args.size(), 4u) << screen();
  EXPECT_EQ(args[0], RECORD_ARGS_PROGRAM);
  EXPECT_EQ(args[1], "-p");
  EXPECT_EQ(args[2], "-q");
  EXPECT_EQ(std::filesystem::path(args[3]).parent_path(), tmp_);
  // The report as written: CP932, CR LF line ends, the form feed between the pages.
  EXPECT_EQ(recorded_data(), test_support::to_cp932(u8s(u8"成績一覧\r\n\f2 page\r\n")));
  EXPECT_TRUE(shows(u8"で印刷します")) << screen();
  expect_no_temp_file_left();
}

TEST_F(PrintHandOff, ShortNameRunsThePrintProgramNotOneAlongThePath) {
  // A "txp" along PATH must not be the one that runs.
  const std::string bin = make_folder("bin");
  test_support::write_bytes(bin + "/txp", "#!/bin/sh\necho wrong > \"$RECORD_ARGS_FILE\"\n");
  chmod((bin + "/txp").c_str(), 0755);
  const std::string path = bin + ":" + std::getenv("PATH");
  ScopedEnv path_env("PATH", path.c_str());
  for (const char8_t* value : {u8"TXP -s 速報", u8"\"txp\" -s 速報", u8"'tXp' -s 速報"}) {
    SCOPED_TRACE(u8s(value));
    write_options("PRINTCMD73=" + u8s(value) + "\n");
    std::filesystem::remove(record_file_);
    print_report();
    const Args args = recorded_args();
    ASSERT_EQ(args.size(), 4u) << screen();
    EXPECT_EQ(args[0], RECORD_ARGS_PROGRAM);
    EXPECT_EQ(args[1], "-s");
    EXPECT_EQ(args[2], u8s(u8"速報"));  // UTF-8 on the command line
    EXPECT_EQ(std::filesystem::path(args[3]).parent_path(), tmp_);
    expect_no_temp_file_left();
  }
}

TEST_F(PrintHandOff, QuotedPathWithBlanksStaysOneProgram) {
  const std::string program = copy_recorder(race_.file("my printer/print cmd"));
  write_options("PRINTCMD73=\"" + program + "\"  --copies 2 \n");
  print_report();
  const Args args = recorded_args();
  ASSERT_EQ(args.size(), 4u) << screen();
  EXPECT_EQ(args[0], program);
  EXPECT_EQ(args[1], "--copies");
  EXPECT_EQ(args[2], "2");
  EXPECT_EQ(recorded_data(), test_support::to_cp932(u8s(u8"成績一覧\r\n\f2 page\r\n")));
  expect_no_temp_file_left();
}

TEST_F(PrintHandOff, PlainPathWithWords) {
  write_options(std::string("PRINTCMD73=") + RECORD_ARGS_PROGRAM + " -o landscape\n");
  print_report();
  const Args args = recorded_args();
  ASSERT_EQ(args.size(), 4u) << screen();
  EXPECT_EQ(args[0], RECORD_ARGS_PROGRAM);
  EXPECT_EQ(args[1], "-o");
  EXPECT_EQ(args[2], "landscape");
  expect_no_temp_file_left();
}

TEST_F(PrintHandOff, BareNameRunsTheProgramOfTheWorkingFolder) {
  // A print script laid beside the race files runs as named, although the working
  // folder is not on PATH.
  copy_recorder(race_.file("myprint"));
  write_options("PRINTCMD73=myprint -x\n");
  print_report();
  const Args args = recorded_args();
  ASSERT_EQ(args.size(), 3u) << screen();
  EXPECT_EQ(std::filesystem::path(args[0]).filename(), "myprint");
  EXPECT_EQ(args[1], "-x");
  EXPECT_TRUE(shows(u8"で印刷します")) << screen();
  expect_no_temp_file_left();
}

TEST_F(PrintHandOff, CommandOfAnotherReportIsNotUsed) {
  write_options("PRINTCMD7=/nowhere/else\nPRINTCMD94=/nowhere/either\n");
  print_report();
  const Args args = recorded_args();
  ASSERT_EQ(args.size(), 4u) << screen();
  EXPECT_EQ(args[1], "-p");
}

TEST_F(PrintHandOff, NonZeroExitShowsMessageThreeAndWaitsForY) {
  ScopedEnv exit_code("RECORD_ARGS_EXIT", "3");
  write_options(std::string("PRINTCMD73=") + RECORD_ARGS_PROGRAM + "\n");
  con_->feed_keys({'n', 'Y'});
  print_report();
  EXPECT_EQ(recorded_args().size(), 2u);  // it did run
  EXPECT_TRUE(shows(u8"印刷に失敗しました(3)")) << screen();
  EXPECT_TRUE(shows(u8"を起動できないことが原因です"));
  EXPECT_TRUE(shows(u8"OPTION.TXT を確認してください"));
  EXPECT_TRUE(shows(u8"上のメッセージを確認したら Y を入力[Y]")) << screen();
  EXPECT_EQ(con_->keys_left(), 0u);
  EXPECT_EQ(con_->beep_count(), 1);  // the refused "n"
  expect_no_temp_file_left();
}

TEST_F(PrintHandOff, CommandThatCannotStartShowsMessageThree) {
  write_options("PRINTCMD73=\"" + race_.file("no such program") + "\" -p\n");
  con_->feed_key('y');
  print_report();
  EXPECT_TRUE(shows(u8"印刷に失敗しました(3)")) << screen();
  EXPECT_EQ(con_->keys_left(), 0u);
  expect_no_temp_file_left();
}

TEST_F(PrintHandOff, MissingPrintProgramShowsOneOrTwo) {
  const std::string missing = race_.file("txp/txp");
  set_print_program_path(missing);
  struct Case {
    const char* options;
    const char8_t* message;
  } cases[] = {
      {"", u8"印刷に失敗しました(2)"},
      {"PRINTCMD73=txp -p\n", u8"印刷に失敗しました(1)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(u8s(c.message));
    write_options(c.options);
    con_->feed_key('Y');
    print_report();
    EXPECT_TRUE(shows(c.message)) << screen();
    EXPECT_TRUE(shows(u8"が存在しないことが原因です")) << screen();
    EXPECT_EQ(con_->keys_left(), 0u);
    EXPECT_TRUE(recorded_args().empty());
    expect_no_temp_file_left();
  }
}

TEST_F(PrintHandOff, BlankCommandStopsWithThePatternMessage) {
  write_options("PRINTCMD73=   \n");
  con_->feed_key('Y');
  EXPECT_EXIT(print_report(), ::testing::ExitedWithCode(1), "");
  // The stop happened in a child process; the temporary file was removed before it.
  expect_no_temp_file_left();
}

}  // namespace
