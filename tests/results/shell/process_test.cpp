// Starting programs with argument lists, detached starts, command lines, the desktop's
// open action and the text editor; and the program's own facts.
#include "results/shell/process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "results/shell/files.h"
#include "results/shell/program_info.h"
#include "results/shell/virtual_console.h"
#include "stops_test_console.h"
#include "support/test_support.h"

namespace {

using test_support::read_bytes;
using test_support::ScratchDir;
using test_support::to_cp932;
using test_support::write_bytes;

// Sets environment variables for one test and puts the old values back afterwards.
class EnvironmentGuard {
 public:
  void set(const char* name, const char* value) {
    if (saved_.find(name) == saved_.end()) {
      const char* old = std::getenv(name);
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvironmentGuard() {
    for (auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

class Process : public ::testing::Test {
 protected:
  void SetUp() override {
    env.set("DISPLAY", nullptr);
    env.set("WAYLAND_DISPLAY", nullptr);
    env.set("VISUAL", nullptr);
    env.set("EDITOR", nullptr);
  }
  // An executable script that writes its arguments, one per line, into record_file.
  std::string make_recorder(const std::string& name, const std::string& record_file) {
    std::string path = dir.file(name);
    write_bytes(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                          dir.file(record_file) + "'\n");
    chmod(path.c_str(), 0755);
    return path;
  }
  // Waits (at most a few seconds) for a file that a detached program writes.
  std::string wait_for_file(const std::string& name) {
    for (int i = 0; i < 500 && read_bytes(name).empty(); ++i) {
      usleep(10000);
    }
    return read_bytes(name);
  }

  ScratchDir dir;
  ScopedVirtualConsole vc;
  EnvironmentGuard env;
};

TEST_F(Process, RunProgramWaitsAndReturnsTheExitCode) {
  ProcessResult r = run_program("sh", {"-c", "exit 3"});
  EXPECT_TRUE(r.started());
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_EQ(vc->suspend_count(), 1);  // the terminal was handed over and taken back
  EXPECT_FALSE(vc->suspended());
  EXPECT_EQ(run_program("true", {}, false).exit_code, 0);
  EXPECT_EQ(vc->suspend_count(), 1);
}

TEST_F(Process, AMissingProgramReportsTheStartError) {
  ProcessResult r = run_program("no-such-program-here", {"x"});
  EXPECT_FALSE(r.started());
  EXPECT_EQ(r.start_error, ENOENT);
  EXPECT_FALSE(vc->suspended());
  EXPECT_EQ(start_detached("no-such-program-here", {}), ENOENT);
}

TEST_F(Process, ArgumentsStayWholeAndBecomeUtf8) {
  const std::string kanji = to_cp932(u8c(u8"区間賞TAB.txt"));
  ProcessResult r = run_program(
      "sh", {"-c", "printf '%s|' \"$@\" > args.txt", "sh", "a b", "it's \"q\"; rm x", kanji});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(read_bytes("args.txt"),
            std::string("a b|it's \"q\"; rm x|") + u8c(u8"区間賞TAB.txt") + "|");
}

TEST_F(Process, CommandLinesGoThroughTheShell) {
  EXPECT_EQ(run_command_line("echo hi > cl.txt; exit 4").exit_code, 4);
  EXPECT_EQ(read_bytes("cl.txt"), "hi\n");
  env.set("SHELL", "/bin/bash");
  EXPECT_EQ(command_interpreter(), "/bin/bash");
  env.set("SHELL", nullptr);
  EXPECT_EQ(command_interpreter(), "/bin/sh");
}

TEST_F(Process, DetachedStartIsNotWaitedFor) {
  EXPECT_EQ(start_detached("sh", {"-c", "echo detached > det.txt"}), 0);
  EXPECT_EQ(wait_for_file("det.txt"), "detached\n");
}

TEST_F(Process, ShellOpenUsesXdgOpenInAGraphicalSession) {
  make_recorder("xdg-open", "opened.txt");
  env.set("PATH", (dir.path() + ":" + std::getenv("PATH")).c_str());
  env.set("DISPLAY", ":99");
  EXPECT_TRUE(has_graphical_session());
  EXPECT_EQ(shell_open("my file.htm"), 0);
  EXPECT_EQ(wait_for_file("opened.txt"), "my file.htm\n");
  EXPECT_EQ(vc->suspend_count(), 0);
}

TEST_F(Process, WithoutAGraphicalSessionAFileOpensInTheUsersEditor) {
  env.set("VISUAL", make_recorder("viewer", "viewed.txt").c_str());
  write_bytes("EKI.TXT", "x");
  EXPECT_EQ(shell_open("EKI.TXT"), 0);
  EXPECT_EQ(read_bytes("viewed.txt"), "EKI.TXT\n");  // waited for
  EXPECT_EQ(vc->suspend_count(), 1);
  EXPECT_EQ(shell_open("https://example.org/"), ENXIO);
}

TEST_F(Process, ViFamilyEditorsReadAndWriteTheFileAsCp932WithCrLf) {
  env.set("VISUAL", make_recorder("vim", "viewed.txt").c_str());
  write_bytes("TEAM.TXT", "x");
  EXPECT_EQ(shell_open("TEAM.TXT"), 0);
  EXPECT_EQ(read_bytes("viewed.txt"),
            "--cmd\nset fileencodings=cp932 fileformats=dos,unix\nTEAM.TXT\n");
  // Other editors get the file alone.
  env.set("VISUAL", make_recorder("nano", "viewed2.txt").c_str());
  EXPECT_EQ(shell_open("TEAM.TXT"), 0);
  EXPECT_EQ(read_bytes("viewed2.txt"), "TEAM.TXT\n");
}

TEST_F(Process, UserEditorFallsBackToNanoOrVi) {
  env.set("EDITOR", "code -w");
  EXPECT_EQ(user_editor(), "code -w");
  env.set("VISUAL", "vim");
  EXPECT_EQ(user_editor(), "vim");
  env.set("VISUAL", nullptr);
  env.set("EDITOR", nullptr);
  std::string fallback = user_editor();
  EXPECT_TRUE(fallback == "nano" || fallback == "vi") << fallback;
}

TEST_F(Process, EditTextFileUsesTheEditorOption) {
  std::string editor = make_recorder("my editor", "edited.txt");
  write_bytes("OPTION.TXT", "EDITOR=\"" + editor + "\"\r\n");
  edit_text_file("TEAM LIST.TXT", EditMode::kNoWait);
  EXPECT_EQ(read_bytes("edited.txt"), "TEAM LIST.TXT\n");
}

TEST_F(Process, EditTextFileExplainsABrokenEditorOptionAndFallsBack) {
  write_bytes("OPTION.TXT", "EDITOR=/no/such/editor\r\n");
  env.set("VISUAL", make_recorder("fallback", "edited.txt").c_str());
  write_bytes("BUMON.TXT", "x");
  vc->feed_key('Y');
  edit_text_file("BUMON.TXT", EditMode::kNoWait);
  std::string screen = vc->screen_text();
  EXPECT_NE(screen.find(u8c(u8"\"/no/such/editor\"\nを実行できません(1)")), std::string::npos)
      << screen;
  EXPECT_NE(screen.find(u8c(u8"OPTION.TXT の \"EDITOR\" の行を確認してください")),
            std::string::npos);
  EXPECT_EQ(read_bytes("edited.txt"), "BUMON.TXT\n");
}

TEST_F(Process, EditTextFileOpensANewFileInTheUsersEditor) {
  env.set("VISUAL", make_recorder("fallback", "edited.txt").c_str());
  edit_text_file("NEW.TXT", EditMode::kNoWait);
  EXPECT_EQ(read_bytes("edited.txt"), "NEW.TXT\n");
  // When even that editor cannot start, the message names it (the last resort through
  // the command interpreter fails too, quietly).
  env.set("VISUAL", "/no/such/visual");
  edit_text_file("NEW.TXT", EditMode::kNoWait);
  EXPECT_NE(vc->screen_text().find(u8c(u8"\"/no/such/visual\"\nを実行できません(2)")),
            std::string::npos)
      << vc->screen_text();
}

TEST(ProgramInfo, PathAndFolderOfTheRunningProgram) {
  set_program_path("whatever");
  EXPECT_EQ(program_folder(), std::string(BIN_DIR) + "/");
  EXPECT_EQ(program_path(), program_folder() + "test_results_shell");
}

TEST(ProgramInfo, DebugFlagFromTheCommandLine) {
  struct Case {
    std::vector<const char*> argv;
    bool debug;
  } cases[] = {
      {{"-d"}, false},  // the program's own name does not count
      {{"hakobu32", "-d"}, true},
      {{"hakobu32", "-D"}, true},
      {{"hakobu32", "-xd"}, true},
      {{"hakobu32", "d"}, false},
      {{"hakobu32", "-x", "dd"}, false},
      {{"hakobu32", "-x", "-abcD"}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(debug_flag_in_arguments(static_cast<int>(c.argv.size()), c.argv.data()), c.debug)
        << c.argv.back();
  }
  set_debug_flag(true);
  EXPECT_TRUE(debug_flag());
  set_debug_flag(false);
  EXPECT_FALSE(debug_flag());
}

TEST(ProgramInfo, BuildStampIsTheBuildTime) {
  auto stamp = exe_timestamp();
  ASSERT_TRUE(stamp.has_value());
  EXPECT_GE(stamp->year, 2020);
  EXPECT_GE(stamp->month, 1);
  EXPECT_LE(stamp->month, 12);
}

}  // namespace
