// Back to the main menu, and the two orderly ends of the program.
#include "results/shell/stops.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/output_kind.h"
#include "results/shell/program_info.h"
#include "results/shell/sjis.h"

namespace {

std::vector<void (*)()>& fatal_stop_cleanups() {
  static std::vector<void (*)()> cleanups;
  return cleanups;
}

}  // namespace

void back_to_main_menu() { throw BackToMainMenu{}; }

void abnormal_end(const char* name) {
  close_all(false);
  if (!has_console()) {
    // Before the console exists there is nobody to confirm; say it on standard error.
    std::string text(1, '\n');
    if (name == nullptr) {
      text.append("異常終了させます。\n");
    } else {
      text.append(name).append(" を終了します。\n");
    }
    std::fputs(cp932_to_utf8(text).c_str(), stderr);
    std::exit(1);
  }
  if (name == nullptr) {
    con_print("\n異常終了させます。");
  } else {
    con_print("\n%s を終了します。", name);
  }
  con_print("\n上のメッセージを確認した後 Y を入力[ ]");
  cursor_back(2);
  for (;;) {
    int key = read_key();
    if (key == 'Y' || key == 'y') {
      con_print("%c", key);
      break;
    }
  }
  console().suspend();  // give the terminal back in its normal state
  std::exit(1);
}

void fatal_stop() {
  static bool stopping = false;
  if (!stopping) {
    // A failure inside the clean-ups lands here again: skip them the second time.
    stopping = true;
    save_output_kind();
    remove_file("MASTFILE.TMP");  // a missing file is no error
    for (void (*cleanup)() : fatal_stop_cleanups()) cleanup();
  }
  abnormal_end(kProgramName);
}

void on_fatal_stop(void (*cleanup)()) {
  auto& cleanups = fatal_stop_cleanups();
  for (void (*known)() : cleanups) {
    if (known == cleanup) return;
  }
  cleanups.push_back(cleanup);
}
