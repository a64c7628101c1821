#include "results/app/startup.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "results/app/main_menu.h"
#include "results/model/master_file.h"
#include "results/setup/namefile_build.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/output_kind.h"
#include "results/shell/process.h"
#include "results/shell/program_info.h"
#include "results/shell/sjis.h"
#include "results/shell/stops.h"
#include "results/shell/terminal_console.h"

namespace {

constexpr const char* kOutOfMemoryMessage = "\nメモリの確保（new）に失敗しました\n";

void out_of_memory() {
  // Without a console yet there is nobody to confirm: the message goes to the terminal.
  if (!has_console()) {
    const std::string text = cp932_to_utf8(kOutOfMemoryMessage);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::exit(1);
  }
  con_write(kOutOfMemoryMessage);
  fatal_stop();
}

// The team index of MASTFILE.DAT lives for the whole run. It is built once the console
// is there, so that a damaged master file can be explained on the screen; a failed open
// that the user does not retry simply leads on to the main menu.
void create_team_index() {
  try {
    team_index_build(mastfile_index());
  } catch (const BackToMainMenu&) {
  }
}
void destroy_team_index() { mastfile_index().clear(); }

// The terminal lives in a static slot, so that ending the process from anywhere
// (fatal_stop, the out-of-memory handler) still leaves the terminal as it was.
std::unique_ptr<TerminalConsole>& terminal_slot() {
  static std::unique_ptr<TerminalConsole> terminal;
  return terminal;
}

}  // namespace

void install_out_of_memory_handler() { std::set_new_handler(out_of_memory); }

void handle_first_run_files(const std::string& folder) {
  if (!folder.empty()) {
    const std::string marker = folder + kFirstRunMarker;
    if (file_exists(marker) && remove_file(marker)) {
      const std::string readme = folder + kReadmeFile;
      if (file_exists(readme)) shell_open(readme);
    }
  }
  if (file_exists(kShortcutMaker)) remove_file(kShortcutMaker);
}

void check_help_file() {
  if (help_file_exists()) return;
  std::string folder = help_file_path();
  folder.erase(folder.find_last_of('/') + 1);
  con_print("ヘルプファイル（%s）を\n%s\nに置いておいてください\n", kHelpPageName, folder.c_str());
  wait_confirm();
}

int run_hakobu32(int argc, char** argv) {
  install_out_of_memory_handler();
  // First, so that every message of the start-up can name the program file.
  set_program_path(argc > 0 ? argv[0] : "hakobu32");
  load_output_kind();

  auto& terminal = terminal_slot();
  terminal = std::make_unique<TerminalConsole>();
  if (!terminal->large_enough()) {
    // The screens need 80x24: say so on the plain terminal rather than draw a broken one.
    const std::string message =
        terminal_size_message(terminal->terminal_columns(), terminal->terminal_rows());
    terminal.reset();
    std::fputs(message.c_str(), stderr);
    return 1;
  }
  set_console(terminal.get());
  clear_screen();
  create_team_index();
  install_master_maintenance();

  handle_first_run_files(program_folder());
  set_debug_flag(debug_flag_in_arguments(argc, argv));
  check_help_file();

  const int code = main_loop();
  destroy_team_index();
  set_console(nullptr);
  terminal.reset();
  return code;
}
