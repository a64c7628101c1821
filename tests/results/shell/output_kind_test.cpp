// The output destination kind and its file SELCTOUT.DAT.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "results/shell/output_kind.h"
#include "results/shell/virtual_console.h"
#include "support/test_support.h"

namespace {

using test_support::read_bytes;
using test_support::ScratchDir;
using test_support::to_utf8;
using test_support::write_bytes;

class OutputKind : public ::testing::Test {
 protected:
  void TearDown() override { set_out_kind_no(kOutFile); }
  ScratchDir scratch;
};

TEST_F(OutputKind, SaveWritesFourLittleEndianBytesAndLoadReadsThemBack) {
  for (int kind : {kOutPrinter, kOutFile, kOutClipboard}) {
    SCOPED_TRACE(kind);
    set_out_kind_no(kind);
    ASSERT_TRUE(save_output_kind());
    EXPECT_EQ(read_bytes(scratch.file("SELCTOUT.DAT")), std::string({static_cast<char>(kind), 0, 0, 0}));
    set_out_kind_no(kind == kOutPrinter ? kOutClipboard : kOutPrinter);
    load_output_kind();
    EXPECT_EQ(out_kind_no(), kind);
  }
}

TEST_F(OutputKind, UnusableFilesReadAsTheFileDestination) {
  struct Case {
    const char* name;
    std::string bytes;  // "-" for no file
  };
  const Case cases[] = {
      {"missing", "-"},
      {"seven", std::string("\x07\x00\x00\x00", 4)},
      {"minus_one", std::string("\xff\xff\xff\xff", 4)},
      {"high_byte_set", std::string("\x00\x00\x00\x01", 4)},
      {"too_short", std::string("\x00\x00", 2)},
      {"empty", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::unlink(scratch.file("SELCTOUT.DAT").c_str());
    if (c.bytes != "-") write_bytes(scratch.file("SELCTOUT.DAT"), c.bytes);
    set_out_kind_no(kOutPrinter);
    load_output_kind();
    EXPECT_EQ(out_kind_no(), kOutFile);
  }
}

TEST_F(OutputKind, ValidKindsAreReadFromTheFile) {
  write_bytes(scratch.file("SELCTOUT.DAT"), std::string("\x02\x00\x00\x00", 4));
  load_output_kind();
  EXPECT_EQ(out_kind_no(), kOutClipboard);
  write_bytes(scratch.file("SELCTOUT.DAT"), std::string("\x00\x00\x00\x00", 4));
  load_output_kind();
  EXPECT_EQ(out_kind_no(), kOutPrinter);
}

TEST_F(OutputKind, OutOfRangeKindReadsAsFileAndIsSavedAsFile) {
  set_out_kind_no(7);
  EXPECT_EQ(out_kind_no(), kOutFile);
  ASSERT_TRUE(save_output_kind());
  EXPECT_EQ(read_bytes(scratch.file("SELCTOUT.DAT")), std::string("\x01\x00\x00\x00", 4));
}

TEST_F(OutputKind, SaveFailsWhenTheFolderCannotBeWritten) {
  set_out_kind_no(kOutPrinter);
  ASSERT_TRUE(save_output_kind());
  ::chmod(scratch.path().c_str(), 0555);
  set_out_kind_no(kOutClipboard);
  bool saved = save_output_kind();
  ::chmod(scratch.path().c_str(), 0755);
  if (::geteuid() != 0) {  // root writes anyway
    EXPECT_FALSE(saved);
    EXPECT_EQ(read_bytes(scratch.file("SELCTOUT.DAT")), std::string("\x00\x00\x00\x00", 4));
  }
}

TEST_F(OutputKind, DestinationNames) {
  EXPECT_EQ(to_utf8(destination_name(0)), reinterpret_cast<const char*>(u8"プリンタ"));
  EXPECT_EQ(to_utf8(destination_name(1)), reinterpret_cast<const char*>(u8"ファイル"));
  EXPECT_EQ(to_utf8(destination_name(2)), reinterpret_cast<const char*>(u8"クリップボード"));
  EXPECT_EQ(to_utf8(destination_name(7)), reinterpret_cast<const char*>(u8"ファイル"));
  EXPECT_EQ(to_utf8(destination_name(-1)), reinterpret_cast<const char*>(u8"ファイル"));
}

TEST_F(OutputKind, ListFileAsWrittenOrOutTxt) {
  EXPECT_EQ(listfile_as_written(), "OUT.TXT");
  write_bytes(scratch.file("OPTION.TXT"), "LISTFILE=kekka.txt,1\r\n");
  EXPECT_EQ(listfile_as_written(), "kekka.txt,1");
}

int g_runs = 0;

TEST_F(OutputKind, DestinationMenuRunsWhatWasRegisteredAndBeepsWithoutOne) {
  ScopedVirtualConsole vc;
  DestinationMenu real = set_destination_menu(nullptr);
  run_destination_menu();
  EXPECT_EQ(vc->beep_count(), 1);
  EXPECT_EQ(set_destination_menu([] { ++g_runs; }), nullptr);
  run_destination_menu();
  EXPECT_EQ(g_runs, 1);
  EXPECT_EQ(vc->beep_count(), 1);
  set_destination_menu(real);
}

}  // namespace
