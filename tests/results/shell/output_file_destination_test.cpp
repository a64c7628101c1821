// The file destination and the questions before a report: OUT.TXT or LISTFILE in text
// mode, overwrite or append as the user answers or as LISTFILE fixes, the delimiters.
#include <gtest/gtest.h>

#include <string>

#include "output_test_fixture.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "results/shell/stops.h"
#include "support/test_support.h"

namespace {

using output_test::OutputTest;
using output_test::u8s;
using test_support::read_bytes;
using test_support::to_cp932;
using test_support::write_bytes;

// The viewer is the recording program, so a test sees which file was opened for viewing.
class FileDestination : public OutputTest {
 protected:
  FileDestination() { set_out_kind_no(kOutFile); }

  void options(const std::string& utf8_lines) {
    write_options(std::string("EDITOR=") + RECORD_ARGS_PROGRAM + "\n" + utf8_lines);
  }
  // A one-line report through the whole path: open, write, hand over.
  void write_report(const std::string& line) {
    open_fpout().write_text(line + "\n");
    closefpout_and_callprt("PRINTCMD73");
  }
};

TEST_F(FileDestination, WritesOutTxtInTextModeAndOpensItForViewing) {
  options("");
  ASSERT_EQ(ask_output_options(false), 0);
  write_report("一行目\n二行目");
  EXPECT_EQ(read_bytes(race_.file("OUT.TXT")), to_cp932(u8s(u8"一行目\r\n二行目\r\n")));
  const auto args = recorded_args();
  ASSERT_EQ(args.size(), 2u) << screen();
  EXPECT_EQ(args[1], "OUT.TXT");
  EXPECT_TRUE(output_test::files_in(tmp_).empty());  // no temporary file for the file
}

TEST_F(FileDestination, ListFileNamesTheFile) {
  options("LISTFILE = kekka.txt   # results\n");
  write_report("a");
  EXPECT_EQ(read_bytes(race_.file("kekka.txt")), "a\r\n");
  EXPECT_EQ(read_bytes(race_.file("OUT.TXT")), "");
}

TEST_F(FileDestination, EmptyListFileFallsBackToOutTxt) {
  options("LISTFILE=,1\n");
  EXPECT_EQ(list_file_setting().name, "OUT.TXT");
  write_report("a");
  EXPECT_EQ(read_bytes(race_.file("OUT.TXT")), "a\r\n");
}

TEST_F(FileDestination, ExistingFileAsksOverwriteOrAppend) {
  struct Case {
    char answer;
    const char* expected;
  } cases[] = {{'0', "new\r\n"}, {'1', "old\r\nnew\r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    clear_screen();
    options("LISTFILE=kekka.txt\n");
    write_bytes(race_.file("kekka.txt"), "old\r\n");
    const int beeps = con_->beep_count();
    con_->feed_keys({'x', c.answer});
    ASSERT_EQ(ask_output_options(false), 0);
    EXPECT_TRUE(shows(u8"\"kekka.txt\"は既存です(上書き→0　追加→1)[")) << screen();
    EXPECT_EQ(con_->beep_count(), beeps + 1);  // the refused "x"
    EXPECT_EQ(con_->keys_left(), 0u);
    write_report("new");
    EXPECT_EQ(read_bytes(race_.file("kekka.txt")), c.expected);
  }
}

TEST_F(FileDestination, SuffixFixesTheAnswerWithoutAsking) {
  struct Case {
    const char8_t* listfile;
    const char* expected;
  } cases[] = {
      {u8"kekka.txt,1", "old\r\nnew\r\n"},
      {u8"kekka.txt, \t1", "old\r\nnew\r\n"},
      {u8"kekka.txt,　1", "old\r\nnew\r\n"},  // a full-width space after the comma
      {u8"kekka.txt,0", "new\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(u8s(c.listfile));
    options("LISTFILE=" + u8s(c.listfile) + "\n");
    write_bytes(race_.file("kekka.txt"), "old\r\n");
    ASSERT_EQ(ask_output_options(false), 0);  // no keys fed: nothing may be asked
    write_report("new");
    EXPECT_EQ(read_bytes(race_.file("kekka.txt")), c.expected);
  }
}

TEST_F(FileDestination, MissingFileIsNotAskedAbout) {
  options("LISTFILE=kekka.txt\n");
  output_channel().file_mode = '1';
  ASSERT_EQ(ask_output_options(false), 0);
  EXPECT_FALSE(shows(u8"既存です"));
  EXPECT_EQ(output_channel().file_mode, '1');  // stays as it was
}

TEST_F(FileDestination, EscAbandonsTheReportBeforeAnythingIsWritten) {
  options("LISTFILE=kekka.txt\n");
  write_bytes(race_.file("kekka.txt"), "old\r\n");
  con_->feed_key(KEY_ESC);
  EXPECT_EQ(ask_output_options(true), -1);
  EXPECT_TRUE(shows(u8"区切文字(なし→0　ﾀﾌﾞ→1　ｶﾝﾏ→2)[ ]")) << screen();
  EXPECT_FALSE(shows(u8"既存です"));
  con_->feed_key(KEY_ESC);
  ASSERT_EQ(ask_output_options(false), -1);  // Esc at the overwrite question
  EXPECT_EQ(read_bytes(race_.file("kekka.txt")), "old\r\n");
}

TEST_F(FileDestination, F5ReturnsToTheMainMenu) {
  con_->feed_key(KEY_F5);
  EXPECT_THROW(ask_output_options(true), BackToMainMenu);
}

TEST(FileDestinationKind, SelctoutHoldingSevenReadsAsTheFile) {
  test_support::ScratchDir race;
  write_bytes(race.file("SELCTOUT.DAT"), std::string("\x07\x00\x00\x00", 4));
  set_out_kind_no(kOutPrinter);
  load_output_kind();
  EXPECT_EQ(out_kind_no(), kOutFile);
  set_out_kind_no(7);
  EXPECT_EQ(out_kind_no(), kOutFile);
  set_out_kind_no(kOutFile);
}

// One report line of three fields written with the field writers, as the reports do,
// then a page break.
void write_delimited_line() {
  write_quote();
  fpout().write_text("1");
  write_field_separator();
  fpout().write_text("チーム A");
  write_field_separator();
  fpout().write_text("1:02'03");
  write_quote();
  fpout().write_text("\n");
  write_page_break();
}

TEST_F(FileDestination, DelimiterShapesTheFields) {
  struct Case {
    int kind;
    char key;  // answer to the delimiter question
    const char8_t* expected;
  } cases[] = {
      {kOutFile, '2', u8"\"1\",\"チーム A\",\"1:02'03\"\r\n"},
      {kOutFile, '1', u8"1\tチーム A\t1:02'03\r\n"},
      {kOutFile, '0', u8"1チーム A1:02'03\r\n"},
      // The printer asks nothing and never quotes, whatever delimiter is left over;
      // the page break is for the printer only.
      {kOutPrinter, '2', u8"1チーム A1:02'03\r\n\f"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    options("LISTFILE=OUT.TXT,0\n");  // always overwrite: one case at a time
    set_out_kind_no(c.kind);
    output_channel().delimiter = ',';  // what an earlier report left
    if (c.kind != kOutPrinter) con_->feed_key(c.key);
    ASSERT_EQ(ask_output_options(true), 0);
    EXPECT_EQ(con_->keys_left(), 0u);
    open_fpout();
    write_delimited_line();
    closefpout_and_callprt("PRINTCMD73");
    const std::string written =
        c.kind == kOutFile ? read_bytes(race_.file("OUT.TXT")) : recorded_data();
    EXPECT_EQ(written, to_cp932(u8s(c.expected)));
  }
}

}  // namespace
