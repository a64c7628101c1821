#include "results/shell/terminal_console.h"

#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <deque>
#include <map>
#include <unordered_map>

#include "results/shell/screen_buffer.h"
#include "results/shell/sjis.h"

// curses declares a beep() of its own and defines KEY_* macros that share names with the
// program's key codes: its beep is renamed away (the bell is written directly), and the
// curses key values are copied under other names before the macros are removed.
#define beep curses_beep_unused
#include <curses.h>
#undef beep

namespace curses_key {
constexpr int enter = KEY_ENTER;
constexpr int backspace = KEY_BACKSPACE;
constexpr int left = KEY_LEFT;
constexpr int right = KEY_RIGHT;
constexpr int up = KEY_UP;
constexpr int down = KEY_DOWN;
constexpr int shift_left = KEY_SLEFT;
constexpr int shift_right = KEY_SRIGHT;
constexpr int home = KEY_HOME;
constexpr int end = KEY_END;
constexpr int page_up = KEY_PPAGE;
constexpr int page_down = KEY_NPAGE;
constexpr int insert = KEY_IC;
constexpr int del = KEY_DC;
constexpr int back_tab = KEY_BTAB;
constexpr int f0 = KEY_F0;
}  // namespace curses_key

#undef KEY_ENTER
#undef KEY_BACKSPACE
#undef KEY_LEFT
#undef KEY_RIGHT
#undef KEY_UP
#undef KEY_DOWN
#undef KEY_HOME
#undef KEY_END

namespace {

constexpr int kScreenColumns = 80;
constexpr int kEscDelayMs = 25;

bool g_curses_active = false;

// A process that ends through exit() (fatal_stop) still leaves the terminal usable.
void restore_terminal_at_exit() {
  if (g_curses_active && !isendwin()) endwin();
}

// The terminal backend needs a UTF-8 character type; C.UTF-8 when the environment sets
// none. Numbers keep the "C" form (LC_NUMERIC is not touched).
void use_utf8_locale() {
  if (std::setlocale(LC_CTYPE, "") == nullptr ||
      std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
  }
}

// Console colour bits (blue 1, green 2, red 4, bright 8) to a curses colour number.
short curses_colour(int console_colour, bool sixteen) {
  short base = static_cast<short>(((console_colour & 4) ? COLOR_RED : 0) |
                                  ((console_colour & 2) ? COLOR_GREEN : 0) |
                                  ((console_colour & 1) ? COLOR_BLUE : 0));
  if (sixteen && (console_colour & 8)) base = static_cast<short>(base + 8);
  return base;
}

// Terminal key (from wget_wch) to the program's key code, or POLL_NOT_KEY.
int map_function_key(wint_t key) {
  switch (static_cast<int>(key)) {
    case curses_key::enter: return KEY_ENTER;
    case curses_key::backspace: return KEY_BACKSPACE;
    case curses_key::left:
    case curses_key::shift_left: return KEY_LEFT;
    case curses_key::right:
    case curses_key::shift_right: return KEY_RIGHT;
    case curses_key::up: return KEY_UP;
    case curses_key::down: return KEY_DOWN;
    case curses_key::home: return KEY_HOME;
    case curses_key::end: return KEY_END;
    case curses_key::page_up: return KEY_PAGE_UP;
    case curses_key::page_down: return KEY_PAGE_DOWN;
    case curses_key::insert: return KEY_INSERT;
    case curses_key::del: return KEY_DELETE;
    case curses_key::back_tab: return KEY_TAB;
    case KEY_RESIZE:
    case KEY_MOUSE: return POLL_NOT_KEY;
    default: break;
  }
  int function_number = static_cast<int>(key) - curses_key::f0;
  if (function_number >= 1 && function_number <= 12) {
    return KEY_F1 + function_number - 1;  // F1 to F12 are virtual keys 0x70 to 0x7B
  }
  return KEY_UNKNOWN;
}

int map_character(wint_t ch) {
  switch (ch) {
    case L'\n':
    case L'\r': return KEY_ENTER;
    case 0x1B: return KEY_ESC;
    case 0x7F:
    case L'\b': return KEY_BACKSPACE;
    case L'\t': return KEY_TAB;
    default: break;
  }
  if (ch >= 0x20 && ch <= 0x7E) return static_cast<int>(ch);
  if (ch >= 1 && ch <= 26) return key_ctrl(static_cast<char>('A' + ch - 1));
  return KEY_UNKNOWN;
}

// Terminals differ in what they send for the cursor and function keys (normal or
// application mode, VT220 or xterm function keys); both forms are taken everywhere.
void define_alternative_keys() {
  static const struct {
    const char* sequence;
    int key;
  } kAlternatives[] = {
      {"\033[A", curses_key::up},    {"\033OA", curses_key::up},
      {"\033[B", curses_key::down},  {"\033OB", curses_key::down},
      {"\033[C", curses_key::right}, {"\033OC", curses_key::right},
      {"\033[D", curses_key::left},  {"\033OD", curses_key::left},
      {"\033[H", curses_key::home},  {"\033[F", curses_key::end},
      {"\033[1~", curses_key::home}, {"\033[4~", curses_key::end},
      {"\033[2~", curses_key::insert}, {"\033[3~", curses_key::del},
      {"\033[5~", curses_key::page_up}, {"\033[6~", curses_key::page_down},
      {"\033OP", curses_key::f0 + 1}, {"\033[11~", curses_key::f0 + 1},
      {"\033[[A", curses_key::f0 + 1}, {"\033OQ", curses_key::f0 + 2},
      {"\033[12~", curses_key::f0 + 2}, {"\033[[B", curses_key::f0 + 2},
      {"\033OR", curses_key::f0 + 3}, {"\033[13~", curses_key::f0 + 3},
      {"\033OS", curses_key::f0 + 4}, {"\033[14~", curses_key::f0 + 4},
      {"\033[15~", curses_key::f0 + 5}, {"\033[[E", curses_key::f0 + 5},
  };
  for (const auto& alternative : kAlternatives) {
    if (key_defined(alternative.sequence) == 0) define_key(alternative.sequence, alternative.key);
  }
}

}  // namespace

struct TerminalConsole::Impl {
  SCREEN* screen_handle = nullptr;
  std::FILE* output = nullptr;
  ScreenBuffer screen;
  int start_columns;
  int start_rows;
  bool colours = false;
  bool sixteen_colours = false;
  std::map<Attr, short> pairs;
  short next_pair = 1;
  std::unordered_map<unsigned, wchar_t> double_byte_cache;
  std::deque<int> pending;  // events read ahead by input_waiting
  bool suspended = false;

  Impl(int columns, int rows) : screen(kScreenColumns, rows), start_columns(columns), start_rows(rows) {}

  // The curses rendition of an attribute byte: a colour pair, brightness as bold where the
  // terminal has only 8 colours, reverse video where it has none.
  attr_t rendition(Attr attr, short& pair) {
    pair = 0;
    if (!colours) return (attr & 0xF0) ? A_REVERSE : A_NORMAL;
    attr_t extra = (!sixteen_colours && (attr & 0x08)) ? A_BOLD : A_NORMAL;
    auto found = pairs.find(attr);
    if (found != pairs.end()) {
      pair = found->second;
      return extra;
    }
    if (next_pair < COLOR_PAIRS) {
      init_pair(next_pair, curses_colour(attr & 0x0F, sixteen_colours),
                curses_colour(attr >> 4, sixteen_colours));
      pair = next_pair++;
      pairs.emplace(attr, pair);
    }
    return extra;
  }

  wchar_t double_byte(unsigned char lead, unsigned char trail) {
    unsigned code = lead << 8 | trail;
    auto found = double_byte_cache.find(code);
    if (found != double_byte_cache.end()) return found->second;
    const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    std::string utf8 = cp932_to_utf8(std::string_view(bytes, 2));
    wchar_t wide = L'?';
    std::mbstate_t state{};
    if (std::mbrtowc(&wide, utf8.c_str(), utf8.size(), &state) != utf8.size()) wide = L'?';
    double_byte_cache.emplace(code, wide);
    return wide;
  }

  static wchar_t single_byte(unsigned char b) {
    if (b >= 0x20 && b <= 0x7E) return b;
    if (b >= 0xA1 && b <= 0xDF) return static_cast<wchar_t>(0xFF61 + (b - 0xA1));  // half-width kana
    return L'?';
  }

  void put_cell(int row, int col, wchar_t ch, Attr attr) {
    short pair = 0;
    attr_t extra = rendition(attr, pair);
    const wchar_t text[2] = {ch, L'\0'};
    cchar_t cell;
    setcchar(&cell, text, extra, pair, nullptr);
    mvadd_wch(row, col, &cell);
  }

  void draw_row(int row) {
    const int width = screen.width();
    for (int col = 0; col < width; ++col) {
      const ScreenCell& cell = screen.cell(row, col);
      if (is_lead_byte(cell.byte) && col + 1 < width) {
        wchar_t ch = double_byte(cell.byte, screen.cell(row, col + 1).byte);
        put_cell(row, col, ch, cell.attr);
        // A character the terminal shows one column wide keeps the two-column grid.
        if (wcwidth(ch) != 2) put_cell(row, col + 1, L' ', screen.cell(row, col + 1).attr);
        ++col;
      } else {
        put_cell(row, col, single_byte(cell.byte), cell.attr);
      }
    }
  }

  // Brings the terminal up to date with the screen cells.
  void present() {
    if (suspended) return;
    std::vector<bool> dirty = screen.take_dirty_rows();
    for (int row = 0; row < screen.height() && row < LINES; ++row) {
      if (dirty[row]) draw_row(row);
    }
    CursorPos at = screen.cursor();
    move(at.row, at.col);
    refresh();
  }

  void redraw_all() {
    clearok(stdscr, TRUE);
    screen.mark_all_dirty();
    present();
  }

  // One event from the terminal, mapped; POLL_NONE when nothing came without waiting.
  int read_event(bool wait) {
    present();
    nodelay(stdscr, wait ? FALSE : TRUE);
    wint_t ch = 0;
    int kind = wget_wch(stdscr, &ch);
    if (kind == ERR) return POLL_NONE;
    if (kind == KEY_CODE_YES) {
      if (ch == KEY_RESIZE) redraw_all();
      return map_function_key(ch);
    }
    return map_character(ch);
  }
};

TerminalConsole::TerminalConsole() : TerminalConsole(stdout, stdin) {}

TerminalConsole::TerminalConsole(std::FILE* output, std::FILE* input) {
  use_utf8_locale();
  SCREEN* handle = newterm(nullptr, output, input);
  if (handle == nullptr) {
    const char* term = std::getenv("TERM");
    std::fprintf(stderr, "hakobu32: the terminal (TERM=%s) cannot be used\n",
                 term != nullptr ? term : "");
    std::exit(1);
  }
  set_term(handle);
  set_escdelay(kEscDelayMs);
  g_curses_active = true;
  static bool exit_hook = false;
  if (!exit_hook) {
    std::atexit(restore_terminal_at_exit);
    exit_hook = true;
  }
  raw();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  define_alternative_keys();
  impl_ = std::make_unique<Impl>(COLS, LINES > 0 ? LINES : kMinTerminalRows);
  impl_->screen_handle = handle;
  impl_->output = output;
  if (has_colors()) {
    start_color();
    impl_->colours = true;
    impl_->sixteen_colours = COLORS >= 16;
  }
  impl_->redraw_all();
}

TerminalConsole::~TerminalConsole() {
  if (!isendwin()) endwin();
  delscreen(impl_->screen_handle);
  g_curses_active = false;
}

int TerminalConsole::terminal_columns() const { return impl_->start_columns; }
int TerminalConsole::terminal_rows() const { return impl_->start_rows; }
bool TerminalConsole::large_enough() const {
  return impl_->start_columns >= kMinTerminalColumns && impl_->start_rows >= kMinTerminalRows;
}

int TerminalConsole::width() const { return impl_->screen.width(); }
int TerminalConsole::height() const { return impl_->screen.height(); }

void TerminalConsole::write(std::string_view text) {
  int bells = impl_->screen.write(text);
  impl_->present();
  for (int i = 0; i < bells; ++i) beep();
}

void TerminalConsole::move_cursor(int row, int col) {
  impl_->screen.move_cursor(row, col);
  impl_->present();
}

CursorPos TerminalConsole::cursor() const { return impl_->screen.cursor(); }
void TerminalConsole::set_colour(Attr attr) { impl_->screen.set_colour(attr); }
Attr TerminalConsole::colour() const { return impl_->screen.colour(); }

void TerminalConsole::fill_blank(int row, int col, int count, Attr attr) {
  impl_->screen.fill_blank(row, col, count, attr);
  impl_->present();
}

void TerminalConsole::beep() {
  if (impl_->suspended) return;
  std::fputs("\a", impl_->output);
  std::fflush(impl_->output);
}

// The xterm title sequence, understood by xterm, tmux, GNOME Terminal, Konsole and others.
void TerminalConsole::set_title(std::string_view text) {
  const char* term = std::getenv("TERM");
  if (term == nullptr || std::strcmp(term, "linux") == 0 || std::strcmp(term, "dumb") == 0) return;
  std::string utf8 = cp932_to_utf8(text);
  for (char& ch : utf8) {
    if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = ' ';
  }
  std::fprintf(impl_->output, "\033]0;%s\007", utf8.c_str());
  std::fflush(impl_->output);
}

int TerminalConsole::wait_key() {
  for (;;) {
    int key;
    if (!impl_->pending.empty()) {
      key = impl_->pending.front();
      impl_->pending.pop_front();
    } else {
      key = impl_->read_event(true);
    }
    if (key >= 0) return key;  // resize and mouse events are not keys
  }
}

int TerminalConsole::poll_event() {
  if (!impl_->pending.empty()) {
    int key = impl_->pending.front();
    impl_->pending.pop_front();
    return key;
  }
  return impl_->read_event(false);
}

bool TerminalConsole::input_waiting() {
  if (impl_->pending.empty()) {
    int event = impl_->read_event(false);
    if (event != POLL_NONE) impl_->pending.push_back(event);
  }
  return !impl_->pending.empty();
}

void TerminalConsole::flush_input() {
  impl_->pending.clear();
  flushinp();
}

void TerminalConsole::suspend() {
  if (impl_->suspended) return;
  impl_->present();
  def_prog_mode();
  endwin();
  std::fflush(impl_->output);
  impl_->suspended = true;
}

void TerminalConsole::resume() {
  if (!impl_->suspended) return;
  impl_->suspended = false;
  reset_prog_mode();
  impl_->redraw_all();
}

std::string terminal_size_message(int columns, int rows) {
  if (columns >= kMinTerminalColumns && rows >= kMinTerminalRows) return "";
  // UTF-8: the message goes to standard error after the console has been closed.
  const char* format = reinterpret_cast<const char*>(
      u8"この端末は %d 桁 x %d 行です。HAKOBU32 の画面には %d 桁 x %d 行以上が必要です。\n"
      u8"端末を大きくしてから、もう一度起動してください。\n"
      u8"(The terminal is %dx%d; HAKOBU32 needs at least %dx%d.)\n");
  char text[512];
  std::snprintf(text, sizeof text, format, columns, rows, kMinTerminalColumns, kMinTerminalRows,
                columns, rows, kMinTerminalColumns, kMinTerminalRows);
  return text;
}
