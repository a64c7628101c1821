// An in-memory console for tests: an 80x25 screen of cells with attributes, a queue of
// keys fed by the test, and readers that give rows back as UTF-8 text.
#pragma once

#include <deque>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include "results/shell/console.h"
#include "results/shell/screen_buffer.h"

class VirtualConsole : public Console {
 public:
  // Thrown by wait_key (and by a long run of empty polls) when the test fed no more keys,
  // so that a test that forgot a key fails at once instead of hanging.
  struct KeysExhausted : std::runtime_error {
    using std::runtime_error::runtime_error;
  };

  explicit VirtualConsole(int width = 80, int height = 25);

  // --- feeding keys ---
  void feed_key(int key);
  void feed_keys(std::initializer_list<int> keys);
  // Each byte of ASCII text as its own key ("12" is '1' then '2').
  void feed_text(std::string_view ascii);
  std::size_t keys_left() const { return keys_.size(); }
  // How many empty polls in a row (input_waiting false, poll_event none) are allowed
  // before KeysExhausted is thrown; an idle loop then ends instead of spinning forever.
  void set_idle_poll_limit(int limit) { idle_poll_limit_ = limit; }

  // --- reading the screen ---
  // A row as UTF-8, trailing blanks removed.
  std::string row_text(int row) const;
  // count columns from (row, col) as UTF-8, blanks kept. A double-byte character whose
  // first byte lies inside the range is taken whole.
  std::string text_at(int row, int col, int count) const;
  // The whole screen, rows joined by "\n" with trailing blanks removed (for failure output).
  std::string screen_text() const;
  Attr attr_at(int row, int col) const;
  // The CP932 byte of a cell.
  unsigned char byte_at(int row, int col) const;
  // Column of the first occurrence of UTF-8 text in the row, or -1.
  int find_in_row(int row, std::string_view utf8) const;

  int beep_count() const { return beeps_; }
  const std::string& title() const { return title_; }
  int suspend_count() const { return suspends_; }
  bool suspended() const { return suspended_; }
  int flush_count() const { return flushes_; }

  // --- Console ---
  int width() const override { return screen_.width(); }
  int height() const override { return screen_.height(); }
  void write(std::string_view text) override;
  void move_cursor(int row, int col) override { screen_.move_cursor(row, col); }
  CursorPos cursor() const override { return screen_.cursor(); }
  void set_colour(Attr attr) override { screen_.set_colour(attr); }
  Attr colour() const override { return screen_.colour(); }
  void fill_blank(int row, int col, int count, Attr attr) override;
  void beep() override { ++beeps_; }
  void set_title(std::string_view text) override { title_ = std::string(text); }
  int wait_key() override;
  int poll_event() override;
  bool input_waiting() override;
  void flush_input() override { ++flushes_; }
  void suspend() override;
  void resume() override;

 private:
  void note_empty_poll();

  ScreenBuffer screen_;
  std::deque<int> keys_;
  int beeps_ = 0;
  std::string title_;
  int suspends_ = 0;
  bool suspended_ = false;
  int flushes_ = 0;
  int idle_poll_limit_ = 1000;
  int empty_polls_ = 0;
};

// Makes a VirtualConsole the current console for the lifetime of the object and restores
// the previous one afterwards.
class ScopedVirtualConsole {
 public:
  explicit ScopedVirtualConsole(int width = 80, int height = 25);
  ~ScopedVirtualConsole();
  ScopedVirtualConsole(const ScopedVirtualConsole&) = delete;
  ScopedVirtualConsole& operator=(const ScopedVirtualConsole&) = delete;
  VirtualConsole& operator*() { return console_; }
  VirtualConsole* operator->() { return &console_; }

 private:
  VirtualConsole console_;
  Console* previous_;
};
