#include "results/shell/screen_buffer.h"

#include <algorithm>

#include "results/shell/sjis.h"

ScreenBuffer::ScreenBuffer(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      cells_(static_cast<std::size_t>(width_) * height_),
      dirty_(height_, true) {}

void ScreenBuffer::move_cursor(int row, int col) {
  cursor_.row = std::clamp(row, 0, height_ - 1);
  cursor_.col = std::clamp(col, 0, width_ - 1);
  pending_trail_ = false;
}

// Rows move up by one; the last row comes in blank, the cursor stays on the last row.
void ScreenBuffer::scroll_up() {
  std::move(cells_.begin() + width_, cells_.end(), cells_.begin());
  std::fill(cells_.end() - width_, cells_.end(), ScreenCell{});
  std::fill(dirty_.begin(), dirty_.end(), true);
}

void ScreenBuffer::new_line() {
  cursor_.col = 0;
  if (cursor_.row + 1 < height_) {
    ++cursor_.row;
  } else {
    scroll_up();
  }
}

// A byte lands in the cursor's cell and the cursor moves on; a console moves to the next
// row as soon as the last column is written. A double-byte character that would not fit
// in the row starts on the next row, so its two bytes always stand side by side.
void ScreenBuffer::put_byte(unsigned char b) {
  if (!pending_trail_ && is_lead_byte(b) && cursor_.col == width_ - 1) {
    cells_[index(cursor_.row, cursor_.col)] = ScreenCell{' ', colour_};
    dirty_[cursor_.row] = true;
    new_line();
  }
  pending_trail_ = !pending_trail_ && is_lead_byte(b);
  cells_[index(cursor_.row, cursor_.col)] = ScreenCell{b, colour_};
  dirty_[cursor_.row] = true;
  if (++cursor_.col >= width_) new_line();
}

int ScreenBuffer::write(std::string_view text) {
  int bells = 0;
  for (char ch : text) {
    auto b = static_cast<unsigned char>(ch);
    if (pending_trail_) {  // the second byte of a double-byte character is never a control
      put_byte(b);
      continue;
    }
    switch (b) {
      case '\n':
        new_line();
        break;
      case '\r':
        cursor_.col = 0;
        break;
      case '\t':  // blanks up to the next multiple of 8 (or the end of the row)
        do put_byte(' ');
        while (cursor_.col % 8 != 0);
        break;
      case '\a':
        ++bells;
        break;
      case '\b':
        if (cursor_.col > 0) --cursor_.col;
        break;
      case '\0':
        break;
      default:
        put_byte(b);
    }
  }
  return bells;
}

void ScreenBuffer::fill_blank(int row, int col, int count, Attr attr) {
  if (row < 0 || row >= height_ || count <= 0) return;
  col = std::clamp(col, 0, width_ - 1);
  std::size_t from = index(row, col);
  std::size_t to = std::min(cells_.size(), from + static_cast<std::size_t>(count));
  std::fill(cells_.begin() + from, cells_.begin() + to, ScreenCell{' ', attr});
  for (std::size_t r = from / width_; r <= (to - 1) / width_; ++r) dirty_[r] = true;
}

std::vector<bool> ScreenBuffer::take_dirty_rows() {
  std::vector<bool> rows(height_, false);
  rows.swap(dirty_);
  return rows;
}

void ScreenBuffer::mark_all_dirty() { std::fill(dirty_.begin(), dirty_.end(), true); }
