// The clipboard destination: the report reaches a clipboard tool as UTF-8 text, the
// temporary file is removed, and a failure is reported.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "output_test_fixture.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "support/test_support.h"

namespace {

using output_test::OutputTest;
using output_test::ScopedEnv;
using output_test::u8s;
using test_support::read_bytes;

// Standard output pointed at /dev/null for the lifetime of the object, so the terminal
// clipboard (OSC 52) is never tried, whether or not the tests run in a terminal.
class StdoutToNull {
 public:
  StdoutToNull() : saved_(dup(STDOUT_FILENO)) {
    const int null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, STDOUT_FILENO);
    close(null_fd);
  }
  ~StdoutToNull() {
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
  }

 private:
  int saved_;
};

class ClipboardDestination : public OutputTest {
 protected:
  ClipboardDestination()
      : bin_(make_folder("bin")), path_("PATH", bin_.c_str()), display_set_("DISPLAY", ":97") {
    set_out_kind_no(kOutClipboard);
  }
  // A stand-in clipboard tool: records its arguments and what it read, exits with code.
  void install_tool(const std::string& name, int code) {
    const std::string script = "#!/bin/sh\necho \"$@\" > \"" + race_.file(name + ".args") +
                               "\"\n/bin/cat > \"" + race_.file(name + ".text") + "\"\nexit " +
                               std::to_string(code) + "\n";
    test_support::write_bytes(bin_ + "/" + name, script);
    chmod((bin_ + "/" + name).c_str(), 0755);
  }
  void copy_report() {
    Stream& out = open_fpout();
    out.write_text("区間賞\n1区\t山田 太郎\n");
    closefpout_and_callprt("PRINTCMD72");
  }

  std::string bin_;
  ScopedEnv path_;
  ScopedEnv display_set_;
  StdoutToNull quiet_;
};

TEST_F(ClipboardDestination, ReportReachesTheToolAsUtf8) {
  install_tool("xclip", 0);
  copy_report();
  EXPECT_EQ(read_bytes(race_.file("xclip.text")), u8s(u8"区間賞\n1区\t山田 太郎\n"));
  EXPECT_EQ(read_bytes(race_.file("xclip.args")), "-selection clipboard -in\n");
  EXPECT_TRUE(shows(u8"クリップボードへ出力しました")) << screen();
  EXPECT_TRUE(output_test::files_in(tmp_).empty());
}

TEST_F(ClipboardDestination, NextToolIsTriedWhenOneFails) {
  install_tool("xclip", 1);
  install_tool("xsel", 0);
  copy_report();
  EXPECT_EQ(read_bytes(race_.file("xsel.text")), u8s(u8"区間賞\n1区\t山田 太郎\n"));
  EXPECT_EQ(read_bytes(race_.file("xsel.args")), "--clipboard --input\n");
  EXPECT_TRUE(shows(u8"クリップボードへ出力しました")) << screen();
}

TEST_F(ClipboardDestination, WaylandUsesWlCopy) {
  ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-9");
  install_tool("wl-copy", 0);
  install_tool("xclip", 0);
  copy_report();
  EXPECT_EQ(read_bytes(race_.file("wl-copy.text")), u8s(u8"区間賞\n1区\t山田 太郎\n"));
  EXPECT_EQ(read_bytes(race_.file("xclip.text")), "");
}

TEST_F(ClipboardDestination, NoWorkingToolReportsFailureAndWaitsForY) {
  install_tool("xclip", 1);
  con_->feed_key('Y');
  copy_report();
  EXPECT_TRUE(shows(u8"クリップボードへのコピーに失敗しました")) << screen();
  EXPECT_EQ(con_->keys_left(), 0u);
  EXPECT_TRUE(output_test::files_in(tmp_).empty());
}

TEST_F(ClipboardDestination, CommaDelimiterQuotesOnTheClipboardToo) {
  install_tool("xclip", 0);
  con_->feed_key('2');
  ASSERT_EQ(ask_output_options(true), 0);
  open_fpout();
  write_quote();
  fpout().write_text("a");
  write_field_separator();
  fpout().write_text("b");
  write_quote();
  fpout().write_text("\n");
  write_page_break();
  closefpout_and_callprt("PRINTCMD72");
  EXPECT_EQ(read_bytes(race_.file("xclip.text")), "\"a\",\"b\"\n");
}

}  // namespace
