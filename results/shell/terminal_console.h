// The console of the real program: the terminal through ncursesw. The screen is kept as
// CP932 cells and turned into UTF-8 only when drawn; attribute bytes become curses colour
// pairs; curses keys become the program's key codes.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "results/shell/console.h"

// The smallest terminal the screens fit in.
inline constexpr int kMinTerminalColumns = 80;
inline constexpr int kMinTerminalRows = 24;

class TerminalConsole : public Console {
 public:
  // Starts curses on the terminal (UTF-8 locale, C.UTF-8 when the environment sets none;
  // short ESCDELAY). The screen is 80 columns wide and as tall as the terminal.
  TerminalConsole();
  // The same on another terminal (a pseudo-terminal in the tests).
  TerminalConsole(std::FILE* output, std::FILE* input);
  // Ends curses and leaves the terminal as it was.
  ~TerminalConsole() override;
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  // The terminal's own size at start (columns, rows).
  int terminal_columns() const;
  int terminal_rows() const;
  // True when the terminal is at least kMinTerminalColumns x kMinTerminalRows.
  bool large_enough() const;

  int width() const override;
  int height() const override;
  void write(std::string_view text) override;
  void move_cursor(int row, int col) override;
  CursorPos cursor() const override;
  void set_colour(Attr attr) override;
  Attr colour() const override;
  void fill_blank(int row, int col, int count, Attr attr) override;
  void beep() override;
  void set_title(std::string_view text) override;
  int wait_key() override;
  int poll_event() override;
  bool input_waiting() override;
  void flush_input() override;
  void suspend() override;
  void resume() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A message (UTF-8) for a terminal smaller than 80x24, or "" when it is large enough; the
// program writes it to standard error after closing the console, and ends.
std::string terminal_size_message(int columns, int rows);
