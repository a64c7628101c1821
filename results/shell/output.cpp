#include "results/shell/output.h"

#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "results/shell/clipboard.h"
#include "results/shell/console.h"
#include "results/shell/options.h"
#include "results/shell/output_kind.h"
#include "results/shell/process.h"
#include "results/shell/program_info.h"
#include "results/shell/regexp.h"
#include "results/shell/sjis.h"
#include "results/shell/stops.h"

namespace {

constexpr const char* kSource = "closefpout_and_callprt";

// The destination menu is registered with the console layer here, in the file every
// report links, so that F2 in any prompt and main-menu entry 2 run it.
const bool destination_menu_registered = (set_destination_menu(&destination_menu), true);

// The temporary file of an abandoned report (F5, a fatal stop) is removed at the next
// report and when the program ends, so none is left behind in the temporary folder.
struct ChannelHolder {
  OutputChannel channel;
  ~ChannelHolder() {
    channel.fpout.close();
    if (!channel.temp_name.empty()) remove_file(channel.temp_name);
  }
};

ChannelHolder& holder() {
  static ChannelHolder instance;
  return instance;
}

std::string& print_program_override() {
  static std::string path;
  return path;
}

void remove_temp_file() {
  OutputChannel& ch = output_channel();
  ch.fpout.close();
  if (!ch.temp_name.empty()) {
    remove_file(ch.temp_name);
    ch.temp_name.clear();
  }
}

void remove_temp_file_at_fatal_stop() { remove_temp_file(); }

// The system's error text, as CP932 for the console.
std::string error_text(int error) { return utf8_to_cp932(std::strerror(error)); }

// Prints prompt and the hints, puts the cursor inside the prompt's closing "[ ]" and reads
// keys until one of accepted (echoed and returned), Esc (-1) or F5 (back to the main menu).
int ask_digit(const char* prompt, const char* accepted) {
  con_write(prompt);
  const CursorPos after = cursor_position();
  show_key_hints(HINT_ESC | HINT_F5);
  move_cursor(after.row, after.col - 2);
  for (;;) {
    const int key = read_key();
    if (key > 0 && key < 0x7F && std::strchr(accepted, key) != nullptr) {
      con_print("%c", key);
      return key;
    }
    if (key == KEY_ESC) return -1;
    if (key == KEY_F5) back_to_main_menu();
    beep();
  }
}

// A new, unique file in the system's temporary folder; its CP932 name, or "" on failure.
std::string make_temp_file() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) folder = "/tmp";
  std::string pattern = (folder / "hakobu32-XXXXXX.txt").string();
  const int fd = mkstemps(pattern.data(), 4);
  if (fd < 0) return "";
  ::close(fd);
  return utf8_to_cp932(pattern);
}

bool has_delimiter_quotes(const OutputChannel& ch) {
  return ch.delimiter != 0 && ch.delimiter != '\t';
}

bool data_destination() { return out_kind_no() == kOutFile || out_kind_no() == kOutClipboard; }

void pause_for_notice() {
  const int ms = output_channel().notice_pause_ms;
  timespec wait{ms / 1000, (ms % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

// Starts the print command on the temporary file and reports how it went.
void hand_to_print_command(const char* key) {
  OutputChannel& ch = output_channel();
  std::string value;
  std::optional<std::string> option;
  if (option_value(key, value)) option = value;
  const PrintCommand cmd = parse_print_command(option, print_program_path());
  if (!cmd.matched) {
    remove_temp_file();
    con_print("closefpout_and_callprt() でパターンマッチエラー\n");
    fatal_stop();
  }
  if (cmd.is_print_program && !file_accessible(cmd.program)) {
    const int error = errno;
    con_print("\n印刷に失敗しました(%d)", option ? 1 : 2);
    con_print("\nプログラム\n%s\nが存在しないことが原因です", cmd.program.c_str());
    con_print("\n%s\n", error_text(error).c_str());
    wait_confirm();
    return;
  }
  std::vector<std::string> args = cmd.args;
  args.push_back(ch.temp_name);
  // The command runs as named: a bare name that is a file of the working folder is that
  // file (a print script beside the race files); other bare names are looked up along
  // PATH, as commands such as lpr are on this system.
  const std::string program = cmd.program.find('/') == std::string::npos &&
                                      file_exists(cmd.program) && !is_folder(cmd.program)
                                  ? "./" + cmd.program
                                  : cmd.program;
  const ProcessResult result = run_program(program, args);
  if (result.started() && result.exit_code == 0) {
    con_print("\n%s\nで印刷します", cmd.program.c_str());
    pause_for_notice();
  } else {
    con_print("\n印刷に失敗しました(3)");
    con_print("\n%s\nを起動できないことが原因です", cmd.program.c_str());
    con_print("\n%s を確認してください\n", kOptionFileName);
    wait_confirm();
  }
}

// Copies the temporary file's text to the clipboard and reports how it went.
void hand_to_clipboard() {
  OutputChannel& ch = output_channel();
  std::string text;
  {
    Stream in = open_or_stop(ch.temp_name, "rt");
    for (int c; (c = in.get_char()) != EOF;) text.push_back(static_cast<char>(c));
    close_or_stop(in);
  }
  if (copy_to_clipboard(text)) {
    con_print("\nクリップボードへ出力しました\n");
    pause_for_notice();
  } else {
    con_print("\nクリップボードへのコピーに失敗しました\n");
    wait_confirm();
  }
}

// Removes the temporary file when the hand-off ends, however it ends.
struct TempFileGuard {
  ~TempFileGuard() { remove_temp_file(); }
};

}  // namespace

OutputChannel& output_channel() { return holder().channel; }

Stream& fpout() { return output_channel().fpout; }

ListFileSetting list_file_setting() {
  ListFileSetting setting;
  std::string value;
  if (!option_value("LISTFILE", value)) value = kDefaultListFile;
  const std::size_t comma = value.find(',');
  setting.name = value.substr(0, comma);
  trim_blanks(setting.name);
  if (setting.name.empty()) setting.name = kDefaultListFile;
  if (comma != std::string::npos) {
    const char* answer = skip_blanks(value.c_str() + comma + 1);
    if (*answer == '0' || *answer == '1') setting.fixed_mode = *answer;
  }
  return setting;
}

int ask_output_options(bool ask_delimiter) {
  OutputChannel& ch = output_channel();
  if (out_kind_no() == kOutPrinter) return 0;
  if (ask_delimiter) {
    const int key = ask_digit("\n\n区切文字(なし→0　ﾀﾌﾞ→1　ｶﾝﾏ→2)[ ]", "012");
    if (key < 0) return -1;
    ch.delimiter = key == '0' ? 0 : key == '1' ? '\t' : ',';
  }
  if (out_kind_no() == kOutFile) {
    const ListFileSetting setting = list_file_setting();
    if (file_exists(setting.name)) {
      if (setting.fixed_mode) {
        ch.file_mode = *setting.fixed_mode;
      } else {
        const std::string prompt =
            "\n\n\"" + setting.name + "\"は既存です(上書き→0　追加→1)[ ]";
        const int key = ask_digit(prompt.c_str(), "01");
        if (key < 0) return -1;
        ch.file_mode = static_cast<char>(key);
      }
    }
  }
  return 0;
}

Stream& open_fpout() {
  static const bool cleanup_registered = (on_fatal_stop(&remove_temp_file_at_fatal_stop), true);
  (void)cleanup_registered;
  OutputChannel& ch = output_channel();
  remove_temp_file();  // left over from an abandoned report
  switch (out_kind_no()) {
    case kOutPrinter:
    case kOutClipboard: {
      ch.temp_name = make_temp_file();
      if (ch.temp_name.empty()) {
        const int error = errno;
        con_print("\n一時ファイルを作成できません\n%s\n", error_text(error).c_str());
        ask_choice("メニューへ戻ります（Y）", "Yy");
        back_to_main_menu();
      }
      ch.fpout = open_retry(ch.temp_name, "wt");
      break;
    }
    case kOutFile:
      ch.file_name = list_file_setting().name;
      ch.fpout = open_retry(ch.file_name, ch.file_mode == '1' ? "a+t" : "wt");
      break;
    default:
      con_print("\nopen_fpout() error\n");
      con_print("out_kind_no=%d\n", out_kind_no());
      fatal_stop();
  }
  return ch.fpout;
}

void write_page_break() {
  if (out_kind_no() == kOutPrinter) fpout().put_char('\f');
}

void write_quote() {
  if (data_destination() && has_delimiter_quotes(output_channel())) fpout().put_char('"');
}

void write_field_separator() {
  const OutputChannel& ch = output_channel();
  if (!data_destination() || ch.delimiter == 0) return;
  Stream& out = fpout();
  if (ch.delimiter != '\t') out.put_char('"');
  out.put_char(ch.delimiter);
  if (ch.delimiter != '\t') out.put_char('"');
}

void closefpout_and_callprt(const char* key) {
  OutputChannel& ch = output_channel();
  close_or_stop(ch.fpout);
  switch (out_kind_no()) {
    case kOutPrinter: {
      TempFileGuard guard;
      hand_to_print_command(key);
      break;
    }
    case kOutFile:
      edit_text_file(ch.file_name, EditMode::kNoWait);
      break;
    case kOutClipboard: {
      TempFileGuard guard;
      hand_to_clipboard();
      break;
    }
  }
}

std::string print_program_path() {
  const std::string& path = print_program_override();
  return path.empty() ? program_folder() + "txp/txp" : path;
}

void set_print_program_path(const std::string& path) { print_program_override() = path; }

PrintCommand parse_print_command(const std::optional<std::string>& value,
                                 const std::string& print_program) {
  PrintCommand cmd;
  if (!value) {
    cmd.matched = true;
    cmd.is_print_program = true;
    cmd.program = print_program;
    cmd.args = {"-p", "-q"};
    return cmd;
  }
  const std::string text = *value + " ";
  static const auto short_name =
      new_regex("^\\s*([\"']*)[tT][xX][pP](\\1)\\s", 0, kSource, __LINE__);
  static const auto quoted = new_regex("^\\s*([\"']+)([^\"']+)(\\1)", 0, kSource, __LINE__);
  static const auto word = new_regex("^\\s*(\\S+)", 0, kSource, __LINE__);
  std::size_t rest = 0;
  if (regex_match(*short_name, text, kSource, __LINE__)) {
    cmd.is_print_program = true;
    cmd.program = print_program;
    rest = short_name->matches()[0].end;
  } else if (regex_match(*quoted, text, kSource, __LINE__)) {
    cmd.program = quoted->group(text, 2);
    rest = quoted->matches()[0].end;
  } else if (regex_match(*word, text, kSource, __LINE__)) {
    cmd.program = word->group(text, 1);
    rest = word->matches()[0].end;
  } else {
    return cmd;  // empty or blank
  }
  cmd.matched = true;
  while (cmd.args.size() < kMaxPrintArgs) {
    const std::string_view tail = std::string_view(text).substr(rest);
    if (!regex_match(*word, tail, kSource, __LINE__)) break;
    cmd.args.push_back(word->group(tail, 1));
    rest += word->matches()[0].end;
  }
  return cmd;
}
