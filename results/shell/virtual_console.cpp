#include "results/shell/virtual_console.h"

#include "results/shell/sjis.h"

VirtualConsole::VirtualConsole(int width, int height) : screen_(width, height) {}

void VirtualConsole::feed_key(int key) { keys_.push_back(key); }

void VirtualConsole::feed_keys(std::initializer_list<int> keys) {
  keys_.insert(keys_.end(), keys.begin(), keys.end());
}

void VirtualConsole::feed_text(std::string_view ascii) {
  for (char ch : ascii) keys_.push_back(static_cast<unsigned char>(ch));
}

void VirtualConsole::write(std::string_view text) {
  beeps_ += screen_.write(text);
}

void VirtualConsole::fill_blank(int row, int col, int count, Attr attr) {
  screen_.fill_blank(row, col, count, attr);
}

int VirtualConsole::wait_key() {
  if (keys_.empty()) {
    throw KeysExhausted("VirtualConsole: a key was read but no more keys were fed; screen:\n" +
                        screen_text());
  }
  empty_polls_ = 0;
  int key = keys_.front();
  keys_.pop_front();
  return key;
}

void VirtualConsole::note_empty_poll() {
  if (++empty_polls_ > idle_poll_limit_) {
    throw KeysExhausted("VirtualConsole: waited for a key that was never fed; screen:\n" +
                        screen_text());
  }
}

int VirtualConsole::poll_event() {
  if (keys_.empty()) {
    note_empty_poll();
    return POLL_NONE;
  }
  return wait_key();
}

bool VirtualConsole::input_waiting() {
  if (keys_.empty()) {
    note_empty_poll();
    return false;
  }
  return true;
}

void VirtualConsole::suspend() {
  ++suspends_;
  suspended_ = true;
}

void VirtualConsole::resume() { suspended_ = false; }

std::string VirtualConsole::text_at(int row, int col, int count) const {
  std::string bytes;
  if (row < 0 || row >= height()) return bytes;
  int end = std::min(width(), col + count);
  for (int c = std::max(col, 0); c < end; ++c) {
    unsigned char b = screen_.cell(row, c).byte;
    bytes.push_back(static_cast<char>(b));
    if (is_lead_byte(b) && c + 1 < width()) {
      bytes.push_back(static_cast<char>(screen_.cell(row, ++c).byte));
    }
  }
  return cp932_to_utf8(bytes);
}

std::string VirtualConsole::row_text(int row) const {
  std::string text = text_at(row, 0, width());
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string VirtualConsole::screen_text() const {
  std::string text;
  for (int r = 0; r < height(); ++r) {
    if (r > 0) text += '\n';
    text += row_text(r);
  }
  return text;
}

Attr VirtualConsole::attr_at(int row, int col) const { return screen_.cell(row, col).attr; }

unsigned char VirtualConsole::byte_at(int row, int col) const {
  return screen_.cell(row, col).byte;
}

int VirtualConsole::find_in_row(int row, std::string_view utf8) const {
  for (int c = 0; c < width(); ++c) {
    if (text_at(row, c, width() - c).starts_with(utf8)) return c;
  }
  return -1;
}

ScopedVirtualConsole::ScopedVirtualConsole(int width, int height)
    : console_(width, height), previous_(has_console() ? &console() : nullptr) {
  set_console(&console_);
}

ScopedVirtualConsole::~ScopedVirtualConsole() { set_console(previous_); }
