// Shared set-up of the menu tests: a scratch race folder that is the working folder, a
// virtual console, the help page in the scratch folder and no graphical session.
#pragma once
#include <cstdlib>
#include <string>

#include "results/shell/console.h"
#include "results/shell/virtual_console.h"
#include "support/test_support.h"

// UTF-8 text of a u8"" literal, as VirtualConsole rows are given back.
inline std::string u(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Sets an environment variable for the lifetime of the object (unset with nullptr).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      had_ = true;
      old_ = old;
    }
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (had_) {
      setenv(name_.c_str(), old_.c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

class AppScreen {
 public:
  explicit AppScreen(bool with_help_page = true) {
    if (with_help_page) test_support::write_bytes(dir.file("hakobu32.html"), "<html></html>");
    set_help_file_path(dir.file("hakobu32.html"));
    set_help_action([] {});
    con->set_idle_poll_limit(20);
  }
  ~AppScreen() {
    set_help_file_path("");
    set_help_action({});
  }
  // OPTION.TXT of the race folder from UTF-8 lines.
  void write_option(const char8_t* utf8) {
    test_support::write_bytes(dir.file("OPTION.TXT"), test_support::to_cp932(u(utf8)));
  }

  test_support::ScratchDir dir;
  ScopedEnv no_display{"DISPLAY", nullptr};
  ScopedEnv no_wayland{"WAYLAND_DISPLAY", nullptr};
  ScopedVirtualConsole con;
};
