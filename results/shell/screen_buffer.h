// The cells of a console screen: one CP932 byte and one attribute per cell, a cursor and
// a current colour. Both console backends keep their screen here, so wrapping, scrolling
// and double-byte placement behave the same on the terminal and in the tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "results/shell/console.h"

struct ScreenCell {
  unsigned char byte = ' ';
  Attr attr = kAttrCleared;
  bool operator==(const ScreenCell&) const = default;
};

class ScreenBuffer {
 public:
  ScreenBuffer(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  CursorPos cursor() const { return cursor_; }
  Attr colour() const { return colour_; }
  void set_colour(Attr attr) { colour_ = attr; }
  // Clamps to the screen.
  void move_cursor(int row, int col);
  // Writes text at the cursor (see Console::write); returns the number of BEL characters
  // met, which the caller sounds.
  int write(std::string_view text);
  void fill_blank(int row, int col, int count, Attr attr);

  const ScreenCell& cell(int row, int col) const { return cells_[index(row, col)]; }
  // Rows changed since the last take_dirty_rows (one flag per row), then cleared.
  std::vector<bool> take_dirty_rows();
  void mark_all_dirty();

 private:
  std::size_t index(int row, int col) const {
    return static_cast<std::size_t>(row) * width_ + col;
  }
  void put_byte(unsigned char b);
  void new_line();
  void scroll_up();

  int width_;
  int height_;
  std::vector<ScreenCell> cells_;
  std::vector<bool> dirty_;
  CursorPos cursor_;
  Attr colour_ = kAttrDefault;
  bool pending_trail_ = false;  // the last byte written was a lead byte
};
