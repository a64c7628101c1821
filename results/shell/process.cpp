// Starting programs: with argument lists (posix_spawn), detached, through the shell only
// where a command line is meant; the desktop's open action and the text editor.
#include "results/shell/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/sjis.h"

extern char** environ;

namespace {

// The program name as the operating system sees it: a path goes through the file layer
// (letter-case fallback), a bare name is searched along PATH by posix_spawnp.
std::string os_program(const std::string& program) {
  return program.find('/') == std::string::npos ? cp932_to_utf8(program)
                                                 : os_file_name(program);
}

std::vector<std::string> os_argv(const std::string& program,
                                 const std::vector<std::string>& args) {
  std::vector<std::string> argv;
  argv.push_back(os_program(program));
  for (const std::string& a : args) argv.push_back(cp932_to_utf8(a));
  return argv;
}

std::vector<char*> c_argv(std::vector<std::string>& argv) {
  std::vector<char*> out;
  for (std::string& a : argv) out.push_back(a.data());
  out.push_back(nullptr);
  return out;
}

int wait_for(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? utf8_to_cp932(value) : std::string();
}

// A program of that name along PATH (or at that path) can be run.
bool runnable(const std::string& program) {
  std::string name = os_program(program);
  if (name.find('/') != std::string::npos) return ::access(name.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  for (;;) {
    std::size_t end = dirs.find(':', start);
    std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (dir.empty()) dir.push_back('.');
    if (::access((dir + "/" + name).c_str(), X_OK) == 0) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

// Splits a command such as "code -w" into words at blanks.
std::vector<std::string> split_words(const std::string& command) {
  std::vector<std::string> words;
  std::string word;
  for (char c : command) {
    if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word.push_back(c);
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

std::string base_name(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Editors that draw in the terminal: they take the terminal over and are waited for.
bool is_terminal_editor(const std::string& program) {
  static const char* const kTerminalEditors[] = {
      "vi",  "vim", "vim.basic", "vim.tiny", "nvim", "view", "nano", "nano-tiny", "pico",
      "micro", "joe", "jmacs", "jstar", "jed", "ne",  "mcedit", "mg", "ed", "hx",
      "helix", "kak", "editor", "sensible-editor"};
  std::string name = base_name(program);
  for (const char* editor : kTerminalEditors) {
    if (name == editor) return true;
  }
  return false;
}

// Editors of the vi family, which can be told how the race files are encoded.
bool is_vi_family(const std::string& program) {
  static const char* const kViEditors[] = {"vi", "vim", "vim.basic", "vim.tiny", "nvim",
                                           "view", "gvim"};
  std::string name = base_name(program);
  for (const char* editor : kViEditors) {
    if (name == editor) return true;
  }
  return false;
}

// Runs an editor command (program and its own words) on the file. A terminal editor,
// or any editor without a graphical session, takes over the terminal and is waited for.
int run_editor(const std::vector<std::string>& command, const std::string& file, EditMode mode) {
  std::vector<std::string> args(command.begin() + 1, command.end());
  // Race files are CP932 with CR LF; under a UTF-8 locale vi would otherwise show them
  // garbled and could save typed Japanese as UTF-8, which the program cannot read.
  if (is_vi_family(command[0])) {
    args.push_back("--cmd");
    args.push_back("set fileencodings=cp932 fileformats=dos,unix");
  }
  args.push_back(file);
  if (is_terminal_editor(command[0]) || !has_graphical_session()) {
    return run_program(command[0], args, true).start_error;
  }
  if (mode == EditMode::kWait) return run_program(command[0], args, false).start_error;
  return start_detached(command[0], args);
}

std::vector<std::string> user_editor_command() {
  for (const char* variable : {"VISUAL", "EDITOR"}) {
    std::vector<std::string> words = split_words(environment(variable));
    if (!words.empty()) return words;
  }
  return {runnable("nano") ? "nano" : "vi"};
}

// A word quoted for /bin/sh: single quotes, with every ' written as '\''.
std::string shell_quote(const std::string& word) {
  std::string out = "'";
  for (char c : word) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out.push_back(c);
    }
  }
  return out + "'";
}

}  // namespace

ProcessResult run_program(const std::string& program, const std::vector<std::string>& args,
                          bool uses_terminal) {
  std::vector<std::string> argv = os_argv(program, args);
  std::vector<char*> c_args = c_argv(argv);
  ProcessResult result;
  std::optional<ConsoleSuspension> suspension;
  if (uses_terminal) suspension.emplace();
  pid_t pid = 0;
  int rc = ::posix_spawnp(&pid, c_args[0], nullptr, nullptr, c_args.data(), environ);
  if (rc != 0) {
    result.start_error = rc;
    return result;
  }
  result.exit_code = wait_for(pid);
  return result;
}

int start_detached(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> argv = os_argv(program, args);
  std::vector<char*> c_args = c_argv(argv);
  // A short-lived middle process starts the program in a session of its own and reports
  // the start's result as its exit status; the program is then nobody's child to wait for.
  pid_t middle = ::fork();
  if (middle < 0) return errno;
  if (middle == 0) {
    ::setsid();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd = 0; fd <= 2; ++fd) {
      posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY,
                                       0);
    }
    pid_t pid = 0;
    int rc = ::posix_spawnp(&pid, c_args[0], &actions, nullptr, c_args.data(), environ);
    ::_exit(rc);
  }
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0) {
    if (errno != EINTR) return errno;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : ECHILD;
}

ProcessResult run_command_line(const std::string& command_line) {
  return run_program("/bin/sh", {"-c", command_line}, true);
}

std::string command_interpreter() {
  std::string shell = environment("SHELL");
  return shell.empty() ? "/bin/sh" : shell;
}

bool has_graphical_session() {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (display != nullptr && *display != '\0') || (wayland != nullptr && *wayland != '\0');
}

std::string user_editor() {
  std::vector<std::string> command = user_editor_command();
  std::string text = command[0];
  for (std::size_t i = 1; i < command.size(); ++i) text += " " + command[i];
  return text;
}

int shell_open(const std::string& file) {
  if (has_graphical_session()) return start_detached("xdg-open", {file});
  if (!file_exists(file)) return ENXIO;  // an address needs a browser window
  return run_editor(user_editor_command(), file, EditMode::kWait);
}

void edit_text_file(const std::string& file, EditMode mode) {
  std::string editor;
  std::vector<std::string> last_resort;
  if (option_value("EDITOR", editor)) {
    if (!editor.empty() && editor.front() == '"') editor.erase(0, 1);
    if (!editor.empty() && editor.back() == '"') editor.pop_back();
    // The value names one program (it may contain blanks): it is not split.
    int err = editor.empty() ? ENOENT : run_editor({editor}, file, mode);
    if (err == 0) return;
    con_print("\n\n\"%s\"\nを実行できません(1)\n", editor.c_str());
    con_print("%s\n", utf8_to_cp932(std::strerror(err)).c_str());
    con_print("%s の \"EDITOR\" の行を確認してください\n", kOptionFileName);
    con_print("代わりに、拡張子に関連づけられたプログラムで開きます\n");
    wait_confirm();
    last_resort = {editor};
  }
  if (file_exists(file) && shell_open(file) == 0) return;
  std::vector<std::string> command = user_editor_command();
  int err = run_editor(command, file, mode);
  if (err == 0) return;
  con_print("\n\n\"%s\"\nを実行できません(2)\n", command[0].c_str());
  con_print("%s\n", utf8_to_cp932(std::strerror(err)).c_str());
  if (last_resort.empty()) last_resort = command;
  std::string line;
  for (const std::string& word : last_resort) line += shell_quote(word) + " ";
  run_command_line(line + shell_quote(file));
}
