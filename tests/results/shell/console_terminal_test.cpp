// The ncursesw console on a pseudo-terminal: key sequences become the program's key codes,
// CP932 text reaches the terminal as UTF-8, the title uses the xterm sequence.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "results/shell/console.h"
#include "results/shell/terminal_console.h"

namespace {

std::string u8s(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Keeps an environment variable changed for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (had_) {
      ::setenv(name_, old_.c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_;
  std::string old_;
};

class TerminalOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    winsize size{};
    size.ws_row = 25;
    size.ws_col = 80;
    ASSERT_EQ(::openpty(&master_, &slave_, nullptr, nullptr, &size), 0);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    out_ = ::fdopen(::dup(slave_), "w");
    in_ = ::fdopen(::dup(slave_), "r");
    ASSERT_NE(out_, nullptr);
    ASSERT_NE(in_, nullptr);
    terminal_ = std::make_unique<TerminalConsole>(out_, in_);
    set_console(terminal_.get());
  }
  void TearDown() override {
    set_console(nullptr);
    terminal_.reset();
    std::fclose(out_);
    std::fclose(in_);
    ::close(slave_);
    ::close(master_);
  }
  // Everything the console has sent to the terminal since the last call.
  std::string drain() {
    std::string text;
    char buffer[4096];
    for (;;) {
      ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      text.append(buffer, n);
    }
    return text;
  }
  void type(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  ScopedEnv term_{"TERM", "xterm-256color"};
  ScopedEnv lines_{"LINES", nullptr};
  ScopedEnv columns_{"COLUMNS", nullptr};
  int master_ = -1;
  int slave_ = -1;
  std::FILE* out_ = nullptr;
  std::FILE* in_ = nullptr;
  std::unique_ptr<TerminalConsole> terminal_;
};

TEST_F(TerminalOnPty, ScreenIsEightyColumnsAndAsTallAsTheTerminal) {
  EXPECT_EQ(terminal_->width(), 80);
  EXPECT_EQ(terminal_->height(), 25);
  EXPECT_TRUE(terminal_->large_enough());
}

TEST_F(TerminalOnPty, KeySequencesBecomeKeyCodes) {
  struct Case {
    const char* bytes;
    int key;
  };
  const Case cases[] = {
      {"a", 'a'},          {"7", '7'},           {"\r", KEY_ENTER},      {"\x7f", KEY_BACKSPACE},
      {"\033[D", KEY_LEFT}, {"\033[A", KEY_UP},   {"\033[C", KEY_RIGHT},  {"\033[B", KEY_DOWN},
      {"\033[3~", KEY_DELETE}, {"\033OQ", KEY_F2}, {"\033[15~", KEY_F5},   {"\033OP", KEY_F1},
      {"\033OD", KEY_LEFT}, {"\033OA", KEY_UP}, {"\033[11~", KEY_F1}, {"\033[12~", KEY_F2},
      {"\t", KEY_TAB},     {"\x03", key_ctrl('C')}, {"\033", KEY_ESC},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    type(c.bytes);
    EXPECT_EQ(console().wait_key(), c.key);
  }
}

TEST_F(TerminalOnPty, PollingSeesWaitingKeysOnce) {
  EXPECT_FALSE(key_waiting());
  EXPECT_EQ(poll_key(), POLL_NONE);
  type("12");
  ::usleep(20000);
  EXPECT_TRUE(key_waiting());
  EXPECT_EQ(poll_key(), '1');
  flush_keys();
  EXPECT_EQ(poll_key(), POLL_NONE);
}

TEST_F(TerminalOnPty, TextReachesTheTerminalAsUtf8AndTheTitleAsXtermSequence) {
  drain();
  move_cursor(6, 10);
  set_colour(kAttrRed);
  con_write("* 第１回テスト駅伝 *");
  set_console_title("第１回テスト駅伝");
  std::string sent = drain();
  EXPECT_NE(sent.find(u8s(u8"第１回テスト駅伝")), std::string::npos);
  EXPECT_NE(sent.find(u8s(u8"\033]0;第１回テスト駅伝\007")), std::string::npos);
  EXPECT_EQ(sent.find("\x91\xe6"), std::string::npos) << "no CP932 bytes on the terminal";
}

TEST_F(TerminalOnPty, SuspendHandsTheTerminalBackAndResumeRedraws) {
  con_write("ABCDEFG");
  drain();
  terminal_->suspend();
  drain();
  terminal_->resume();
  EXPECT_NE(drain().find("ABCDEFG"), std::string::npos);
  EXPECT_EQ(terminal_->cursor(), (CursorPos{0, 7}));
}

TEST(TerminalSize, MessageOnlyForTerminalsBelowEightyByTwentyFour) {
  struct Case {
    int columns, rows;
    bool message;
  };
  const Case cases[] = {{80, 24, false}, {200, 60, false}, {79, 24, true}, {80, 23, true}, {0, 0, true}};
  for (const Case& c : cases) {
    std::string message = terminal_size_message(c.columns, c.rows);
    EXPECT_EQ(!message.empty(), c.message) << c.columns << "x" << c.rows;
    if (c.message) {
      EXPECT_NE(message.find(std::to_string(c.columns) + u8s(u8" 桁")), std::string::npos) << message;
    }
  }
}

}  // namespace
