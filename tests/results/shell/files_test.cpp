// Streams, the explaining opens, close-all, file tests and facts.
#include "results/shell/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

#include "results/shell/stops.h"
#include "results/shell/virtual_console.h"
#include "stops_test_console.h"
#include "support/test_support.h"

namespace {

using test_support::read_bytes;
using test_support::ScratchDir;
using test_support::to_cp932;
using test_support::to_utf8;
using test_support::write_bytes;

class Files : public ::testing::Test {
 protected:
  ScratchDir dir;
  ScopedVirtualConsole vc;
};

std::vector<std::string> read_all_lines(const std::string& name, const char* mode,
                                        std::size_t max_bytes = 1000) {
  Stream in = open_stream(name, mode);
  std::vector<std::string> lines;
  std::string line;
  while (in.read_line(line, max_bytes)) lines.push_back(line);
  return lines;
}

TEST_F(Files, TextModeWritesCrLfAndReadsLf) {
  {
    Stream out = open_stream("t.txt", "w");
    ASSERT_TRUE(out);
    EXPECT_TRUE(out.text_mode());
    out.write_text("line one\n");
    out.printf("%s=%d\n", "BESTNO", 10);
    out.put_char('x');
    out.put_char('\n');
    out.write_text("no newline");
  }
  EXPECT_EQ(read_bytes("t.txt"), "line one\r\nBESTNO=10\r\nx\r\nno newline");
  EXPECT_EQ(read_all_lines("t.txt", "r"),
            (std::vector<std::string>{"line one\n", "BESTNO=10\n", "x\n", "no newline"}));
  // The same file in binary mode keeps its CRs.
  EXPECT_EQ(read_all_lines("t.txt", "rb")[0], "line one\r\n");
}

TEST_F(Files, TextModeReading) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"LF only", "a\nb\n", {"a\n", "b\n"}},
      {"0x1A ends the file", "a\r\nb\x1A" "c\r\n", {"a\n", "b"}},
      {"0x1A alone on the last line", "a\r\n\x1A", {"a\n"}},
      {"a lone CR stays", "a\rb\r\n", {"a\rb\n"}},
      {"CR at the end", "a\r", {"a\r"}},
      {"trail byte 0x5C stays", "\x95\x5C\r\n", {"\x95\x5C\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write_bytes("in.txt", c.bytes);
    EXPECT_EQ(read_all_lines("in.txt", "r"), c.lines);
  }
  // Long lines come in pieces of at most max_bytes - 1 bytes.
  write_bytes("long.txt", std::string(1500, 'x') + "\r\n");
  auto pieces = read_all_lines("long.txt", "r");
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].size(), 999u);
  EXPECT_EQ(pieces[1], std::string(501, 'x') + "\n");
}

TEST_F(Files, BinaryModeMovesBytesUnchanged) {
  const std::string bytes("\x00\r\n\x1A\xFF", 5);
  {
    Stream out = open_stream("b.dat", "wb");
    EXPECT_FALSE(out.text_mode());
    EXPECT_EQ(out.write(bytes.data(), bytes.size()), bytes.size());
  }
  EXPECT_EQ(read_bytes("b.dat"), bytes);
  Stream in = open_stream("b.dat", "r+b");
  char buffer[8] = {};
  EXPECT_EQ(in.read(buffer, sizeof buffer), 5u);
  EXPECT_TRUE(in.at_end());
  ASSERT_TRUE(in.seek(3, SEEK_SET));
  EXPECT_EQ(in.tell(), 3);
  EXPECT_EQ(in.get_char(), 0x1A);  // no end mark in binary mode
}

TEST_F(Files, CloseAllCountsAndReportsLeftoverStreams) {
  Stream a = open_stream("a.txt", "w");
  Stream b = open_stream("b.txt", "w");
  Stream moved = std::move(b);  // a move keeps one registration
  EXPECT_EQ(open_stream_count(), 2);
  vc->feed_keys({'n', 'Y'});
  EXPECT_EQ(close_all(true), 2);
  EXPECT_FALSE(a.is_open());
  EXPECT_FALSE(moved.is_open());
  EXPECT_EQ(open_stream_count(), 0);
  std::string screen = vc->screen_text();
  EXPECT_NE(screen.find(u8c(u8"2 個の stream を close しました")), std::string::npos) << screen;
  EXPECT_NE(screen.find(u8c(u8"警告を確認したら Y を入力[ ]")), std::string::npos) << screen;
  EXPECT_EQ(vc->keys_left(), 0u);  // "n" was ignored, "Y" ended the wait

  // Nothing open, or no report: silent.
  EXPECT_EQ(close_all(true), 0);
  Stream c = open_stream("c.txt", "w");
  EXPECT_EQ(close_all(false), 1);
  EXPECT_EQ(vc->screen_text(), screen);
}

TEST_F(Files, UnwindingClosesStreams) {
  try {
    Stream s = open_stream("u.txt", "w");
    EXPECT_EQ(open_stream_count(), 1);
    back_to_main_menu();
  } catch (const BackToMainMenu&) {
  }
  EXPECT_EQ(open_stream_count(), 0);
}

TEST_F(Files, OpenRetryOfAMissingFileReturnsToTheMainMenu) {
  vc->feed_keys({'x', 'Y'});
  EXPECT_THROW(open_retry("NOFILE.TXT", "r"), BackToMainMenu);
  std::string screen = vc->screen_text();
  EXPECT_NE(screen.find(u8c(u8"\"NOFILE.TXT\" のオープンに失敗しました(mode=r)")), std::string::npos)
      << screen;
  EXPECT_NE(screen.find(u8c(u8"\"NOFILE.TXT\" が存在しません")), std::string::npos) << screen;
  EXPECT_NE(screen.find(u8c(u8"メニューへ戻ります（Y）[Y]")), std::string::npos) << screen;
  EXPECT_EQ(screen.find(u8c(u8"再試行しますか")), std::string::npos) << screen;
}

TEST_F(Files, AFolderIsNoFileToOpen) {
  std::filesystem::create_directory("MASTFILE.DAT");
  Stream s = open_stream("MASTFILE.DAT", "rb");
  EXPECT_FALSE(s.is_open());
  EXPECT_EQ(errno, EISDIR);
}

TEST_F(Files, OpenRetryReturnsAnOpenStream) {
  write_bytes("here.txt", "x");
  Stream s = open_retry("here.txt", "r");
  EXPECT_TRUE(s.is_open());
  EXPECT_EQ(s.name(), "here.txt");
}

// A console whose first wait for a key runs an action (the other program lets go of
// the file while the question is on the screen).
class ActingConsole : public VirtualConsole {
 public:
  std::function<void()> before_first_key;
  int wait_key() override {
    if (before_first_key) {
      auto action = std::move(before_first_key);
      before_first_key = nullptr;
      action();
    }
    return VirtualConsole::wait_key();
  }
};

// Runs body in a child process without root's right to write anywhere; the child's
// exit code is the number of failed checks.
int run_unprivileged(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

TEST_F(Files, OpenRetryOffersARetryWhenWritingIsRefused) {
  chmod(dir.path().c_str(), 0755);
  write_bytes("OUT.TXT", "old");
  chmod("OUT.TXT", 0444);
  if (geteuid() == 0) {
    ASSERT_EQ(chown("OUT.TXT", 65534, 65534), 0);
  }

  // Y after the file became writable: the open succeeds.
  int failures = run_unprivileged([] {
    ActingConsole c;
    set_console(&c);
    c.before_first_key = [] { chmod("OUT.TXT", 0644); };
    c.feed_key('Y');
    int bad = 0;
    Stream s = open_retry("OUT.TXT", "w");
    bad += !s.is_open();
    std::string screen = c.screen_text();
    bad += screen.find(u8c(u8"\"OUT.TXT\" を他のソフトで開いていたら閉じてください")) ==
           std::string::npos;
    bad += screen.find(u8c(u8"再試行しますか？（Y / N）[Y]")) == std::string::npos;
    return bad;
  });
  EXPECT_EQ(failures, 0);

  // Y while it is still refused asks again; N returns to the main menu.
  chmod("OUT.TXT", 0444);
  failures = run_unprivileged([] {
    VirtualConsole c;
    set_console(&c);
    c.feed_keys({'y', 'n', 'Y'});
    int bad = 1;
    try {
      open_retry("OUT.TXT", "a");
    } catch (const BackToMainMenu&) {
      bad = 0;
    }
    std::string screen = c.screen_text();
    std::size_t first = screen.find(u8c(u8"再試行しますか？（Y / N）[y]"));
    bad += first == std::string::npos;
    bad += screen.find(u8c(u8"再試行しますか？（Y / N）[n]"), first) == std::string::npos;
    bad += screen.find(u8c(u8"メニューへ戻ります（Y）[Y]")) == std::string::npos;
    return bad;
  });
  EXPECT_EQ(failures, 0);
}

TEST_F(Files, OpenOrStopEndsTheProgram) {
  EXPECT_EXIT(
      {
        ScopedDumpingConsole c;
        c->feed_keys({'n', 'Y'});
        open_or_stop("NOFILE.TXT", "r");
      },
      testing::ExitedWithCode(1), u8c(u8"\"NOFILE.TXT\" のオープンに失敗しました"));
}

TEST_F(Files, CaseInsensitiveFallbackForRaceFiles) {
  write_bytes("eki.txt", "stations\n");
  EXPECT_TRUE(file_exists("EKI.TXT"));
  EXPECT_EQ(read_all_lines("EKI.TXT", "r"), (std::vector<std::string>{"stations\n"}));
  EXPECT_EQ(os_file_name("EKI.TXT"), "eki.txt");
  // An exact name wins; two candidates are ambiguous, so the name stays missing.
  write_bytes("EKI.TXT", "exact\n");
  EXPECT_EQ(read_all_lines("EKI.TXT", "r"), (std::vector<std::string>{"exact\n"}));
  write_bytes("team.txt", "");
  write_bytes("Team.txt", "");
  EXPECT_FALSE(file_exists("TEAM.TXT"));
  // Inside a folder too.
  std::filesystem::create_directory("html");
  write_bytes("html/Index.htm", "");
  EXPECT_EQ(os_file_name("html/index.htm"), "html/Index.htm");
}

TEST_F(Files, Cp932NamesAreUtf8OnDisk) {
  const std::string name = to_cp932(u8c(u8"区間賞TAB.txt"));
  { Stream out = open_stream(name, "w"); ASSERT_TRUE(out); }
  EXPECT_TRUE(std::filesystem::exists(u8c(u8"区間賞TAB.txt")));
  EXPECT_TRUE(file_exists(name));
  EXPECT_TRUE(rename_file(name, to_cp932(u8c(u8"表.txt"))));  // trail byte 0x5C
  EXPECT_TRUE(std::filesystem::exists(u8c(u8"表.txt")));
  EXPECT_TRUE(remove_file(to_cp932(u8c(u8"表.txt"))));
  EXPECT_FALSE(std::filesystem::exists(u8c(u8"表.txt")));
}

TEST_F(Files, FileAccessibleExplainsAMissingFile) {
  write_bytes("yes.txt", "");
  EXPECT_TRUE(file_accessible("yes.txt"));
  EXPECT_FALSE(file_accessible("no.txt"));
  EXPECT_NE(vc->screen_text().find(u8c(u8"\"no.txt\" パスまたはファイルが見つかりません")),
            std::string::npos);
  EXPECT_TRUE(is_folder("."));
  EXPECT_FALSE(is_folder("yes.txt"));
}

TEST_F(Files, FileTimeInThePackedDosForm) {
  EXPECT_EQ(file_time("missing.txt"), 0u);
  write_bytes("f.txt", "");
  std::tm tm{};
  tm.tm_year = 2024 - 1900;
  tm.tm_mon = 5 - 1;
  tm.tm_mday = 6;
  tm.tm_hour = 7;
  tm.tm_min = 8;
  tm.tm_sec = 11;
  tm.tm_isdst = -1;
  timeval times[2] = {{mktime(&tm), 0}, {mktime(&tm), 0}};
  ASSERT_EQ(utimes("f.txt", times), 0);
  std::uint32_t expected = ((44u * 512 + 5 * 32 + 6) << 16) | (7u * 2048 + 8 * 32 + 5);
  EXPECT_EQ(file_time("f.txt"), expected);
  EXPECT_EQ(compare_file_times(file_time("f.txt"), file_time("missing.txt")), 1);
  EXPECT_EQ(compare_file_times(0, file_time("f.txt")), -1);
  EXPECT_EQ(compare_file_times(expected, expected), 0);
  EXPECT_EQ(compare_file_times(0x80000000u, 1u), 1);  // unsigned
  auto at = file_modified_at("f.txt");
  ASSERT_TRUE(at.has_value());
  EXPECT_EQ(at->year, 2024);
  EXPECT_EQ(at->second, 11);
}

TEST_F(Files, SameFile) {
  write_bytes("a.txt", "a");
  write_bytes("b.txt", "b");
  std::filesystem::create_directory("sub");
  ASSERT_EQ(symlink("../a.txt", "sub/link.txt"), 0);
  ASSERT_EQ(link("a.txt", "hard.txt"), 0);
  EXPECT_EQ(same_file("a.txt", "./a.txt"), 0);
  EXPECT_EQ(same_file("a.txt", dir.file("a.txt")), 0);
  EXPECT_EQ(same_file("sub/link.txt", "a.txt"), 0);
  EXPECT_EQ(same_file("hard.txt", "a.txt"), 0);
  EXPECT_EQ(same_file("a.txt", "b.txt"), 1);
  EXPECT_EQ(same_file("none.txt", "a.txt"), -1);
  EXPECT_EQ(same_file("a.txt", "none.txt"), -2);
}

TEST_F(Files, CopyAndRemove) {
  const std::string bytes("x\r\ny\x1A\0z", 7);
  write_bytes("src.dat", bytes);
  copy_file("src.dat", "dst.dat");
  EXPECT_EQ(read_bytes("dst.dat"), bytes);
  EXPECT_EQ(open_stream_count(), 0);
  remove_or_stop("dst.dat");
  EXPECT_FALSE(file_exists("dst.dat"));
}

TEST_F(Files, RemoveOrStopOfAMissingFileIsFatal) {
  EXPECT_EXIT(
      {
        ScopedDumpingConsole c;
        c->feed_key('Y');
        remove_or_stop("gone.txt");
      },
      testing::ExitedWithCode(1), "can't unlink gone.txt");
}

}  // namespace
