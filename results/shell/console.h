// The console of the results program: one screen of rows and columns drawn with colour
// attribute bytes, and one integer code per key. Every screen of the program is drawn and
// read through the free functions below, which act on the process-wide current console
// (a TerminalConsole in the program, a VirtualConsole in the tests).
//
// All text is CP932 bytes (a double-byte character takes two columns); rows and columns
// count from 0. Colours are console attribute bytes: background in the high four bits,
// foreground in the low four (bit 0 blue, bit 1 green, bit 2 red, bit 3 bright).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// ---------------------------------------------------------------------------------------
// Key codes. A key with a printable character (0x20 to 0x7E) is that character's code;
// any other key is KEY_SPECIAL plus its virtual-key code.
inline constexpr int KEY_SPECIAL = 0x7F000000;
inline constexpr int KEY_BACKSPACE = KEY_SPECIAL + 0x08;
inline constexpr int KEY_TAB = KEY_SPECIAL + 0x09;
inline constexpr int KEY_ENTER = KEY_SPECIAL + 0x0D;
inline constexpr int KEY_SHIFT = KEY_SPECIAL + 0x10;  // Shift alone: never reaches a caller
inline constexpr int KEY_ESC = KEY_SPECIAL + 0x1B;
inline constexpr int KEY_PAGE_UP = KEY_SPECIAL + 0x21;
inline constexpr int KEY_PAGE_DOWN = KEY_SPECIAL + 0x22;
inline constexpr int KEY_END = KEY_SPECIAL + 0x23;
inline constexpr int KEY_HOME = KEY_SPECIAL + 0x24;
inline constexpr int KEY_LEFT = KEY_SPECIAL + 0x25;
inline constexpr int KEY_UP = KEY_SPECIAL + 0x26;
inline constexpr int KEY_RIGHT = KEY_SPECIAL + 0x27;
inline constexpr int KEY_DOWN = KEY_SPECIAL + 0x28;
inline constexpr int KEY_INSERT = KEY_SPECIAL + 0x2D;
inline constexpr int KEY_DELETE = KEY_SPECIAL + 0x2E;
inline constexpr int KEY_F1 = KEY_SPECIAL + 0x70;  // opens the help page; never reaches a caller
inline constexpr int KEY_F2 = KEY_SPECIAL + 0x71;
inline constexpr int KEY_F3 = KEY_SPECIAL + 0x72;
inline constexpr int KEY_F4 = KEY_SPECIAL + 0x73;
inline constexpr int KEY_F5 = KEY_SPECIAL + 0x74;
// A key with no virtual-key code of its own (a character outside ASCII, for example).
inline constexpr int KEY_UNKNOWN = KEY_SPECIAL;

// A Ctrl+letter combination ('A' to 'Z'): KEY_SPECIAL plus the letter's virtual-key code.
constexpr int key_ctrl(char upper_letter) { return KEY_SPECIAL + upper_letter; }

// poll_key results that are not keys.
inline constexpr int POLL_NONE = -1;         // nothing was waiting
inline constexpr int POLL_NOT_KEY = -2;      // an event that is not a key (resize, mouse)
inline constexpr int POLL_KEY_RELEASE = -3;  // a key release
inline constexpr int POLL_SHIFT = -16;       // Shift alone

// ---------------------------------------------------------------------------------------
// Colour attribute bytes, named by what they are used for.
using Attr = std::uint8_t;
inline constexpr Attr kAttrDefault = 0x0F;   // normal text: bright white on black
inline constexpr Attr kAttrCleared = 0x07;   // blanked cells: white on black
inline constexpr Attr kAttrPath = 0x9F;      // the working folder and the program path
inline constexpr Attr kAttrNotice = 0xCF;    // the output destination, the selected entry
inline constexpr Attr kAttrHintEsc = 0x2F;   // "Escｷｰで戻る"
inline constexpr Attr kAttrHintF1 = 0x2F;    // "F1ｷｰでヘルプ"
inline constexpr Attr kAttrHintF2 = 0xCF;    // "F2ｷｰで出力先変更"
inline constexpr Attr kAttrHintF5 = 0x5F;    // "F5ｷｰで大ﾒﾆｭｰ"
// Menu entry colours (bright foreground on black).
inline constexpr Attr kAttrBlue = 0x09;
inline constexpr Attr kAttrGreen = 0x0A;
inline constexpr Attr kAttrCyan = 0x0B;
inline constexpr Attr kAttrRed = 0x0C;
inline constexpr Attr kAttrMagenta = 0x0D;
inline constexpr Attr kAttrYellow = 0x0E;
inline constexpr Attr kAttrWhite = 0x0F;

// ---------------------------------------------------------------------------------------
// Key-hint flags, in display order. The hints are promises: a prompt that shows a hint
// accepts that key, and one that does not show it refuses the key with a beep.
inline constexpr int HINT_ESC = 1;
inline constexpr int HINT_F1 = 2;
inline constexpr int HINT_F2 = 4;
inline constexpr int HINT_F5 = 0x20;

struct CursorPos {
  int row = 0;
  int col = 0;
  bool operator==(const CursorPos&) const = default;
};

// ---------------------------------------------------------------------------------------
// The screen and keyboard behind the free functions. Implementations keep a screen of
// width x height cells; text written past the last column wraps to the next row, and text
// written past the last row scrolls the screen up one row, as a console does.
class Console {
 public:
  virtual ~Console() = default;

  virtual int width() const = 0;
  virtual int height() const = 0;

  // Writes CP932 text at the cursor in the current colour and moves the cursor on.
  // "\n" goes to the start of the next row, "\r" to the start of the row, "\t" to the
  // next multiple of 8, "\a" beeps, "\b" moves one column left.
  virtual void write(std::string_view text) = 0;
  virtual void move_cursor(int row, int col) = 0;
  virtual CursorPos cursor() const = 0;
  virtual void set_colour(Attr attr) = 0;
  virtual Attr colour() const = 0;
  // Fills count cells from (row, col) onwards with blanks of the given attribute, running
  // on into the following rows and stopping at the end of the screen; the cursor stays.
  virtual void fill_blank(int row, int col, int count, Attr attr) = 0;
  virtual void beep() = 0;
  virtual void set_title(std::string_view text) = 0;

  // One key code; blocks until a key comes. May return KEY_F1 and KEY_SHIFT (the free
  // read_key deals with those).
  virtual int wait_key() = 0;
  // One event without waiting: a key code, or one of the POLL_* values.
  virtual int poll_event() = 0;
  // True when at least one input event waits.
  virtual bool input_waiting() = 0;
  // Discards every waiting input event.
  virtual void flush_input() = 0;

  // Hands the terminal to another program (an editor, a shell) and takes it back; resume
  // redraws the screen as it was.
  virtual void suspend() = 0;
  virtual void resume() = 0;
};

// The process-wide current console. console() aborts with a message when none was set.
void set_console(Console* c);
Console& console();
bool has_console();

// Suspends the current console for the lifetime of the object (a child program runs).
class ConsoleSuspension {
 public:
  ConsoleSuspension();
  ~ConsoleSuspension();
  ConsoleSuspension(const ConsoleSuspension&) = delete;
  ConsoleSuspension& operator=(const ConsoleSuspension&) = delete;

 private:
  bool active_;
};

// ---------------------------------------------------------------------------------------
// Screen operations.

// Colour kAttrDefault; every cell blank with kAttrCleared; cursor to (0, 0).
void clear_screen();
void move_cursor(int row, int col);
CursorPos cursor_position();
// n columns left on the cursor's row, never past column 0.
void cursor_back(int n);
// Blanks the whole row (kAttrCleared); the cursor stays.
void clear_row(int row);
// Blanks from (row, col) to the end of that row; the cursor stays.
void clear_to_end_of_row(int row, int col);
// Blanks rows 0 to n.
void clear_top_rows(int n);
// Blanks from the start of the row to the end of the screen.
void clear_from_row(int row);
void set_colour(Attr attr);
Attr current_colour();
// Sounds the bell (BEL).
void beep();
// The terminal window's title (CP932 text).
void set_console_title(std::string_view title);
// printf-style text at the cursor in the current colour.
void con_print(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Text as it is (no format), at the cursor in the current colour.
void con_write(std::string_view text);

// ---------------------------------------------------------------------------------------
// Input operations.

// One key code; blocks. F1 opens the help page and reading goes on; Shift alone is skipped.
int read_key();
// One event without waiting: POLL_NONE, POLL_NOT_KEY, POLL_KEY_RELEASE, POLL_SHIFT, or a
// key code. F1 opens the help page and the next event is taken.
int poll_key();
// True when an input event waits.
bool key_waiting();
// Discards the waiting input events.
void flush_keys();

// Prints "<prompt>[ ]", puts the cursor inside the brackets and reads keys until one is in
// accepted; that key is echoed, the cursor moved back onto it, and the key returned.
// A "*" in accepted takes any key at once, without echo. Every refused key beeps.
int ask_choice(const char* prompt, const char* accepted);
// ask_choice("\n上のメッセージを確認したら Y を入力", "Yy"): ends every message that needs
// reading before the screen changes.
void wait_confirm();
// Edits one line of ASCII text that starts with text's current content. Enter ends it
// (a newline is printed) and returns its length; Esc returns -1 (text then holds what was
// typed so far).
int read_text_line(std::string& text, int max_length);

// ---------------------------------------------------------------------------------------
// Status elements.

// The hint texts (CP932) and colours, in display order.
struct KeyHint {
  int flag;
  const char* text;
  Attr attr;
};
extern const KeyHint kKeyHints[4];

// Prints at the cursor the hints whose flags are set, in table order, each in its colour,
// a blank before each one (except the first when the cursor stood in column 0). Returns
// the number of columns printed. The colour is kAttrDefault afterwards.
int show_key_hints(int flags);
// At (row, col) "選択[ ]", then the hints, then the cursor inside the brackets.
void show_select_prompt(int col, int row, int hints);
// At (row, col) "作業フォルダ→" and the full path of the current folder in kAttrPath.
void show_working_folder(int col, int row);
// At (row, col) "出力先→" and the destination name in kAttrNotice; for the file
// destination also "（LISTFILE）".
void show_output_destination(int col, int row);
// The first line of every submenu: the F1 hint when the help page exists, then two blanks.
void show_submenu_header();

// The current folder as CP932 text for display ("" when it cannot be read).
std::string working_folder_display();

// ---------------------------------------------------------------------------------------
// The help page (hakobu32.html in the program folder), opened by F1.

std::string help_file_path();
bool help_file_exists();
// Puts the help page somewhere else (tests use a scratch folder, so that the result does
// not depend on what lies beside the test program); "" restores the program folder.
void set_help_file_path(std::string path);
// Opens the help page with the desktop's default program when it exists; else nothing.
void open_help_file();
// Replaces what F1 does (tests count presses instead of opening a browser). An empty
// function restores the normal action. Returns the previous replacement.
std::function<void()> set_help_action(std::function<void()> action);
