// A race folder for the output tests: a scratch working folder with its own temporary
// folder (TMPDIR), no desktop session, a virtual console, the recording stand-in as the
// print program, and the output state reset.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "results/shell/virtual_console.h"
#include "support/test_support.h"

namespace output_test {

// Sets (or with nullptr unsets) an environment variable for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (previous_) {
      setenv(name_.c_str(), previous_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

// UTF-8 literal as a std::string.
inline std::string u8s(const char8_t* utf8) { return reinterpret_cast<const char*>(utf8); }

// Splits the recording program's file into its arguments (each ends with a NUL byte).
inline std::vector<std::string> split_args(const std::string& bytes) {
  std::vector<std::string> args;
  std::string current;
  for (char c : bytes) {
    if (c == '\0') {
      args.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  return args;
}

inline std::vector<std::string> files_in(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

class OutputTest : public ::testing::Test {
 protected:
  OutputTest()
      : tmp_(make_folder("tmp")),
        tmpdir_("TMPDIR", tmp_.c_str()),
        display_("DISPLAY", nullptr),
        wayland_("WAYLAND_DISPLAY", nullptr),
        record_file_(race_.file("recorded-args")),
        record_env_("RECORD_ARGS_FILE", record_file_.c_str()),
        exit_env_("RECORD_ARGS_EXIT", nullptr) {
    OutputChannel& ch = output_channel();
    ch.delimiter = 0;
    ch.file_mode = '0';
    ch.notice_pause_ms = 0;
    set_print_program_path(RECORD_ARGS_PROGRAM);
    set_out_kind_no(kOutFile);
  }
  ~OutputTest() override {
    set_print_program_path("");
    set_out_kind_no(kOutFile);
  }

  std::string make_folder(const std::string& name) {
    const std::string path = race_.file(name);
    std::filesystem::create_directory(path);
    return path;
  }
  // OPTION.TXT from UTF-8 lines (written as CP932 with CR LF, as an organiser's file is).
  void write_options(const std::string& utf8_lines) {
    std::string bytes;
    for (char c : test_support::to_cp932(utf8_lines)) {
      if (c == '\n') bytes += '\r';
      bytes += c;
    }
    test_support::write_bytes(race_.file("OPTION.TXT"), bytes);
  }
  // The argument list the recording program was started with ({} when it did not run).
  std::vector<std::string> recorded_args() const {
    return split_args(test_support::read_bytes(record_file_));
  }
  // The default print command ran: the print program with -p, -q and the file.
  void expect_print_program_ran() {
    const auto args = recorded_args();
    ASSERT_EQ(args.size(), 4u) << screen();
    EXPECT_EQ(args[1], "-p");
    EXPECT_EQ(args[2], "-q");
  }
  // What the recording program found in the file it was handed.
  std::string recorded_data() const { return test_support::read_bytes(record_file_ + ".data"); }
  // The screen as UTF-8, and whether it shows a text (UTF-8).
  std::string screen() { return con_->screen_text(); }
  bool shows(const char8_t* utf8) {
    return screen().find(u8s(utf8)) != std::string::npos;
  }

  test_support::ScratchDir race_;
  std::string tmp_;
  ScopedEnv tmpdir_;
  ScopedEnv display_;
  ScopedEnv wayland_;
  std::string record_file_;
  ScopedEnv record_env_;
  ScopedEnv exit_env_;
  ScopedVirtualConsole con_;
};

}  // namespace output_test
