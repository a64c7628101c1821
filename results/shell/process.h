// Starting other programs. Programs are started with an argument list (posix_spawn),
// never through a shell, so a file name with blanks or quotes stays one argument; only
// run_command_line and the command prompt go through the command interpreter.
// Arguments are CP932 text and reach the program as UTF-8.
#pragma once
#include <string>
#include <vector>

struct ProcessResult {
  int start_error = 0;  // errno of a failed start; 0 when the program ran
  int exit_code = -1;   // exit status; -1 when it did not start or ended by a signal
  bool started() const { return start_error == 0; }
};

// Runs program (found along PATH when it has no "/") with args and waits for its end.
// With uses_terminal the console is suspended while it runs and restored afterwards.
ProcessResult run_program(const std::string& program, const std::vector<std::string>& args,
                          bool uses_terminal = true);
// Starts program with args in its own session, not waited for; its standard streams go
// to /dev/null. Returns the errno of a failed start, 0 on success.
int start_detached(const std::string& program, const std::vector<std::string>& args);
// Runs a command line through /bin/sh -c and waits (console suspended).
ProcessResult run_command_line(const std::string& command_line);
// The command interpreter for the command prompt entry: $SHELL, else /bin/sh.
std::string command_interpreter();

// A graphical session is there (DISPLAY or WAYLAND_DISPLAY set).
bool has_graphical_session();
// The user's text editor: $VISUAL, $EDITOR, else nano, else vi.
std::string user_editor();
// Opens a file or address with the desktop's default program (xdg-open, detached).
// Without a graphical session a file is opened in the user's editor instead (waited
// for). Returns the errno of a failed start, 0 on success.
int shell_open(const std::string& file);

enum class EditMode { kNoWait, kWait };
// Opens a text file for viewing or editing: the EDITOR option when set, else the
// desktop's program for an existing file, else the user's editor; the last resort is
// the editor through the command interpreter. A terminal editor always takes over the
// terminal and is waited for; a window editor is waited for only with kWait.
void edit_text_file(const std::string& file, EditMode mode);
