// Shared set-up of the race-description, master-file and selection-screen tests: a
// scratch race folder that is the current folder, a virtual console, an editor that
// only records what it was asked to open, and a way to see the screen of a program
// that ended through fatal_stop inside a death test.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "results/shell/stops.h"
#include "results/shell/virtual_console.h"
#include "support/test_support.h"

namespace race_test {

// Writes a race file with CR LF line ends. Narrow literals of the tests are CP932
// already, like the race files.
inline void write_race_file(const std::string& name, const std::string& text) {
  std::string crlf;
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  test_support::write_bytes(name, crlf);
}

inline VirtualConsole*& screen_for_dump() {
  static VirtualConsole* screen = nullptr;
  return screen;
}

// Registered with on_fatal_stop: keeps the screen as UTF-8 in fatal_screen.txt so the
// parent of a death test can read what the program said before it ended.
inline void dump_screen_at_fatal_stop() {
  if (screen_for_dump() == nullptr) return;
  std::ofstream out("fatal_screen.txt", std::ios::binary);
  out << screen_for_dump()->screen_text();
}

class RaceFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    editor_script_ = dir_.file("editor.sh");
    editor_log_ = dir_.file("editor.log");
    test_support::write_bytes(editor_script_,
                              "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + editor_log_ + "'\n");
    std::string chmod = "chmod +x '" + editor_script_ + "'";
    ASSERT_EQ(std::system(chmod.c_str()), 0);
    setenv("VISUAL", editor_script_.c_str(), 1);
    screen_for_dump() = &*console_;
    on_fatal_stop(dump_screen_at_fatal_stop);
  }
  void TearDown() override {
    screen_for_dump() = nullptr;
    unsetenv("VISUAL");
  }

  // Copies a fixture race folder into the scratch folder.
  void use_fixture(const std::string& scenario) {
    test_support::copy_folder_files(std::string(FIXTURES_DIR) + "/" + scenario, dir_.path());
  }
  std::string editor_log() const { return test_support::read_bytes(editor_log_); }
  // The screen as CP932 text, comparable with the tests' literals.
  std::string screen() { return test_support::to_cp932(console_->screen_text()); }
  std::string fatal_screen() const {
    return test_support::to_cp932(test_support::read_bytes(dir_.file("fatal_screen.txt")));
  }

  test_support::ScratchDir dir_;
  ScopedVirtualConsole console_;
  std::string editor_script_;
  std::string editor_log_;
};

}  // namespace race_test
