#include "results/app/other_functions.h"

#include <cstdio>
#include <cstring>

#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/output.h"
#include "results/shell/process.h"
#include "results/shell/program_info.h"
#include "results/shell/sjis.h"

namespace {

// Explains a program that could not be started, with the system's reason.
void report_start_failure(const std::string& program, int error) {
  con_print("\n\n\"%s\"\nを実行できません\n%s\n", program.c_str(),
            utf8_to_cp932(std::strerror(error)).c_str());
  wait_confirm();
}

}  // namespace

void print_program_settings() {
  const std::string txp = print_program_path();
  if (!file_accessible(txp)) {
    wait_confirm();
    return;
  }
  // Started with an argument list rather than through the shell, so a program folder
  // with blanks or shell characters in its name still works.
  const ProcessResult result = run_program(txp, {}, true);
  if (!result.started()) report_start_failure(txp, result.start_error);
}

void open_latest_version_page() {
  const std::string help = help_file_path();
  if (!file_accessible(help)) {
    wait_confirm();
    return;
  }
  const std::string page =
      has_graphical_session() ? "file://" + help + "#version" : help;
  const int error = shell_open(page);
  if (error != 0) report_start_failure(page, error);
}

void show_program_path() {
  con_print("\n今動いている%sのプログラムファイルは\n", kProgramName);
  set_colour(kAttrPath);
  con_write(program_path());
  set_colour(kAttrDefault);
  con_print("\n%s", kProgramVersion);
  if (const auto modified = file_modified_at(program_path())) {
    con_print("  %04d/%02d/%02d  %02d:%02d:%02d", modified->year, modified->month,
              modified->day, modified->hour, modified->minute, modified->second);
  }
  wait_confirm();
}

void start_command_prompt() {
  con_write("\n");
  const std::string shell = command_interpreter();
  char message[128];
  std::snprintf(message, sizeof message, "exit とタイプすると %s に戻ります\n", kProgramName);
  con_write(message);
  ProcessResult result;
  {
    // The terminal belongs to the shell until it ends; the hint is repeated on the
    // plain terminal, where the user sees it above the shell's prompt.
    ConsoleSuspension suspended;
    const std::string hint = cp932_to_utf8(message);
    std::fwrite(hint.data(), 1, hint.size(), stderr);
    result = run_program(shell, {}, false);
  }
  if (!result.started()) report_start_failure(shell, result.start_error);
}
