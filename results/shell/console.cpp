#include "results/shell/console.h"

#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "results/shell/files.h"
#include "results/shell/output_kind.h"
#include "results/shell/process.h"
#include "results/shell/program_info.h"
#include "results/shell/sjis.h"

namespace {

Console* g_console = nullptr;
std::function<void()> g_help_action;
std::string g_help_path_override;

constexpr const char* kHelpFileName = "hakobu32.html";

// F1 inside any prompt: the help page opens and the prompt goes on.
void on_help_key() {
  if (g_help_action) {
    g_help_action();
  } else {
    open_help_file();
  }
}

}  // namespace

const KeyHint kKeyHints[4] = {
    {HINT_ESC, "Escｷｰで戻る", kAttrHintEsc},
    {HINT_F1, "F1ｷｰでヘルプ", kAttrHintF1},
    {HINT_F2, "F2ｷｰで出力先変更", kAttrHintF2},
    {HINT_F5, "F5ｷｰで大ﾒﾆｭｰ", kAttrHintF5},
};

void set_console(Console* c) { g_console = c; }

bool has_console() { return g_console != nullptr; }

Console& console() {
  if (g_console == nullptr) {
    std::fputs("hakobu32: console used before it was set up\n", stderr);
    std::abort();
  }
  return *g_console;
}

ConsoleSuspension::ConsoleSuspension() : active_(has_console()) {
  if (active_) console().suspend();
}

ConsoleSuspension::~ConsoleSuspension() {
  if (active_ && has_console()) console().resume();
}

// --- screen operations ----------------------------------------------------------------

void clear_screen() {
  Console& c = console();
  c.set_colour(kAttrDefault);
  c.fill_blank(0, 0, c.width() * c.height(), kAttrCleared);
  c.move_cursor(0, 0);
}

void move_cursor(int row, int col) { console().move_cursor(row, col); }

CursorPos cursor_position() { return console().cursor(); }

void cursor_back(int n) {
  CursorPos at = console().cursor();
  int col = at.col - n;
  console().move_cursor(at.row, col < 0 ? 0 : col);
}

void clear_row(int row) { console().fill_blank(row, 0, console().width(), kAttrCleared); }

void clear_to_end_of_row(int row, int col) {
  int width = console().width();
  if (col < 0) col = 0;
  if (col >= width) return;
  console().fill_blank(row, col, width - col, kAttrCleared);
}

void clear_top_rows(int n) {
  Console& c = console();
  int rows = n + 1 < c.height() ? n + 1 : c.height();
  if (rows > 0) c.fill_blank(0, 0, rows * c.width(), kAttrCleared);
}

void clear_from_row(int row) {
  Console& c = console();
  if (row < 0) row = 0;
  if (row >= c.height()) return;
  c.fill_blank(row, 0, (c.height() - row) * c.width(), kAttrCleared);
}

void set_colour(Attr attr) { console().set_colour(attr); }

Attr current_colour() { return console().colour(); }

void beep() { console().beep(); }

void set_console_title(std::string_view title) { console().set_title(title); }

void con_write(std::string_view text) { console().write(text); }

void con_print(const char* format, ...) {
  char small[512];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (n < 0) return;
  if (static_cast<std::size_t>(n) < sizeof small) {
    console().write(std::string_view(small, n));
    return;
  }
  std::vector<char> big(static_cast<std::size_t>(n) + 1);
  va_start(args, format);
  std::vsnprintf(big.data(), big.size(), format, args);
  va_end(args);
  console().write(std::string_view(big.data(), n));
}

// --- input operations -----------------------------------------------------------------

int read_key() {
  for (;;) {
    int key = console().wait_key();
    if (key == KEY_F1) {
      on_help_key();
    } else if (key != KEY_SHIFT) {
      return key;
    }
  }
}

int poll_key() {
  for (;;) {
    int key = console().poll_event();
    if (key == KEY_F1) {
      on_help_key();
      continue;
    }
    return key == KEY_SHIFT ? POLL_SHIFT : key;
  }
}

bool key_waiting() { return console().input_waiting(); }

void flush_keys() { console().flush_input(); }

namespace {

bool is_accepted(int key, const char* accepted) {
  return key > 0 && key < 0x80 && std::strchr(accepted, key) != nullptr;
}

}  // namespace

int ask_choice(const char* prompt, const char* accepted) {
  con_print("%s[ ]", prompt);
  cursor_back(2);
  bool any_key = std::strchr(accepted, '*') != nullptr;
  for (;;) {
    int key = read_key();
    if (any_key) return key;
    if (is_accepted(key, accepted)) {
      char echo = static_cast<char>(key);
      con_write(std::string_view(&echo, 1));
      cursor_back(1);
      return key;
    }
    beep();
  }
}

void wait_confirm() { ask_choice("\n上のメッセージを確認したら Y を入力", "Yy"); }

int read_text_line(std::string& text, int max_length) {
  if (max_length < 0) max_length = 0;
  // A start text longer than the field is cut, and a full field keeps the cursor on its
  // last character, as typing up to the limit does.
  if (text.size() > static_cast<std::size_t>(max_length)) text.resize(max_length);
  con_write(text);
  if (max_length > 0 && text.size() == static_cast<std::size_t>(max_length)) cursor_back(1);
  for (;;) {
    int key = read_key();
    int length = static_cast<int>(text.size());
    if (key == KEY_ESC) return -1;
    if (key == KEY_ENTER) {
      con_write("\n");
      return length;
    }
    if (key == KEY_BACKSPACE || key == KEY_LEFT) {
      if (text.empty()) {
        beep();
        continue;
      }
      if (length < max_length) cursor_back(1);
      con_write(" ");
      cursor_back(1);
      text.pop_back();
      continue;
    }
    if (key >= 0x20 && key < 0x7F && length < max_length) {
      char ch = static_cast<char>(key);
      text.push_back(ch);
      con_write(std::string_view(&ch, 1));
      if (length + 1 == max_length) cursor_back(1);
      continue;
    }
    beep();
  }
}

// --- status elements ------------------------------------------------------------------

int show_key_hints(int flags) {
  Console& c = console();
  bool at_line_start = c.cursor().col == 0;
  int columns = 0;
  for (const KeyHint& hint : kKeyHints) {
    if ((flags & hint.flag) == 0) continue;
    if (columns > 0 || !at_line_start) {
      c.write(" ");
      ++columns;
    }
    c.set_colour(hint.attr);
    c.write(hint.text);
    c.set_colour(kAttrDefault);
    columns += static_cast<int>(std::strlen(hint.text));
  }
  return columns;
}

void show_select_prompt(int col, int row, int hints) {
  move_cursor(row, col);
  con_write("選択[ ]");
  show_key_hints(hints);
  move_cursor(row, col + 5);
}

std::string working_folder_display() {
  std::vector<char> buffer(4096);
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
      return utf8_to_cp932(buffer.data());
    }
    if (errno != ERANGE || buffer.size() > (1u << 20)) return "";
    buffer.resize(buffer.size() * 2);
  }
}

void show_working_folder(int col, int row) {
  std::string folder = working_folder_display();
  if (folder.empty()) return;
  move_cursor(row, col);
  con_write("作業フォルダ→");
  set_colour(kAttrPath);
  con_write(folder);
  set_colour(kAttrDefault);
}

void show_output_destination(int col, int row) {
  int kind = out_kind_no();
  move_cursor(row, col);
  con_write("出力先→");
  set_colour(kAttrNotice);
  con_write(destination_name(kind));
  if (kind == kOutFile) con_print("（%s）", listfile_as_written().c_str());
  set_colour(kAttrDefault);
}

void show_submenu_header() {
  if (help_file_exists()) show_key_hints(HINT_F1);
  con_write("  ");
}

// --- help page ------------------------------------------------------------------------

std::string help_file_path() {
  return g_help_path_override.empty() ? program_folder() + kHelpFileName : g_help_path_override;
}

void set_help_file_path(std::string path) { g_help_path_override = std::move(path); }

bool help_file_exists() { return file_exists(help_file_path()); }

void open_help_file() {
  if (help_file_exists()) shell_open(help_file_path());
}

std::function<void()> set_help_action(std::function<void()> action) {
  std::function<void()> previous = std::move(g_help_action);
  g_help_action = std::move(action);
  return previous;
}
