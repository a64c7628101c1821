// A VirtualConsole for tests of paths that end the process: when the test's last key is
// taken, the screen goes to standard error as UTF-8, so a death test can match what the
// user saw before the program ended.
#pragma once
#include <cstdio>

#include "results/shell/virtual_console.h"

class ScreenDumpingConsole : public VirtualConsole {
 public:
  int wait_key() override {
    int key = VirtualConsole::wait_key();
    if (keys_left() == 0) {
      std::fputs(screen_text().c_str(), stderr);
      std::fflush(stderr);
    }
    return key;
  }
};

// Makes a ScreenDumpingConsole current for the lifetime of the object.
class ScopedDumpingConsole {
 public:
  ScopedDumpingConsole() : previous_(has_console() ? &console() : nullptr) {
    set_console(&console_);
  }
  ~ScopedDumpingConsole() { set_console(previous_); }
  ScreenDumpingConsole* operator->() { return &console_; }

 private:
  ScreenDumpingConsole console_;
  Console* previous_;
};

inline const char* u8c(const char8_t* text) { return reinterpret_cast<const char*>(text); }
