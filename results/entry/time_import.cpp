#include "results/entry/time_import.h"

#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <memory>

#include "results/entry/post_entry_menu.h"
#include "results/entry/time_entry.h"
#include "results/entry/time_entry_common.h"
#include "results/entry/warnings.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/select_screens.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/process.h"
#include "results/shell/regexp.h"
#include "results/shell/sjis.h"

namespace {

constexpr std::size_t kImportLineBytes = 1000;
constexpr int kImportMessageRow = 2;
constexpr int kImportMaxNumber = 1000;  // above every team number and station index

// The characters dropped from a data line, so that 9:30'15, 9.30.15 and 9ﾟ30'15 all read
// as 93015.
constexpr const char* kDroppedCharacters = "ﾟ',\".:";

// One line of an import file, without its end. A line ends at LF, CR LF or a lone CR
// (files of old Macs and of some timing devices): a CR inside a line would otherwise
// be a blank, and the next line's team number would become this line's departure.
// Only the first 999 bytes of a longer line are kept and the rest of it is dropped, so
// that its tail is never read as a line of its own, and so is a field cut in two there
// (half a time is a wrong time); a NUL ends the text of the line.
bool read_import_line(Stream& in, std::string& line) {
  auto blank = [](int b) { return b == ' ' || b == '\t' || b == '\v' || b == '\f'; };
  line.clear();
  int c = in.get_char();
  if (c == EOF) return false;
  bool text_ended = false;
  for (; c != EOF && c != '\n' && c != '\r'; c = in.get_char()) {
    if (c == '\0') text_ended = true;
    if (text_ended) continue;
    if (line.size() < kImportLineBytes - 1) {
      line.push_back(static_cast<char>(c));
    } else {
      if (!blank(c))
        while (!line.empty() && !blank(line.back())) line.pop_back();
      text_ended = true;
    }
  }
  return true;
}

// The value of a field of digits, or `cap` when it is larger (leading zeros are no
// reason to refuse a number, and a long field must not wrap round to a small one).
int capped_number(const std::string& digits, int cap) {
  long long n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
    if (n >= cap) return cap;
  }
  return static_cast<int>(n);
}

// A field of digits only (not empty).
bool all_digits(const std::string& field) {
  if (field.empty()) return false;
  for (char c : field)
    if (c < '0' || c > '9') return false;
  return true;
}

bool is_no_data(const std::string& field) { return strcasecmp(field.c_str(), "NoData") == 0; }

// A digit field read as hhmmss; false when it is no valid time.
bool digits_to_time(const std::string& field, HmsTime& time) {
  return hms_parse(time, field.c_str()) && hms_is_valid(time);
}

}  // namespace

std::string clean_import_line(const std::string& line) {
  std::string text = line;
  // A leading row number "12:" or "12." goes; a check list written with the comma
  // delimiter quotes it ("  1:",...), and its quotes go in any case below.
  RegMatch row[2];
  if (pattern_matching("^\\s*\"?\\s*\\d+[:.]", text, 2, row) == 0) text.erase(0, static_cast<std::size_t>(row[0].end));
  std::string out = remove_characters(remove_bracketed(text, '(', ')'), kDroppedCharacters);
  out.push_back(' ');
  return out;
}

int import_file_station(const std::string& file) {
  Stream in = open_retry(file, "r");
  auto station_line = new_regex("EkiNo\\s*=*\\s*(\\d+)", kRegIcase, "time_import", __LINE__);
  std::string line;
  while (read_import_line(in, line)) {
    if (regex_match(*station_line, line, "time_import", __LINE__))
      return capped_number(station_line->group(line, 1), kImportMaxNumber);
  }
  return -1;
}

int import_times(const std::string& file, int station, HmsTime added,
                 std::vector<std::string>* refused) {
  const EventDefinition& ev = event_definition();
  // A refused line is reported on the console and kept for the menu that follows.
  auto refuse = [refused](const char* reason, const std::string& shown) {
    const std::string message = reason + shown + "\n";
    con_write(message);
    if (refused) refused->push_back(message);
  };
  unsigned seq = max_input_seq();
  auto data_line = new_regex("^\\s*(\\d+)\\s+(\\S+)\\s+(\\S*)", 0, "time_import", __LINE__);
  Stream in = open_retry(file, "r");
  std::string line;
  int written = 0;
  while (read_import_line(in, line)) {
    const std::string text = clean_import_line(line);
    if (!regex_match(*data_line, text, "time_import", __LINE__)) continue;
    const std::string shown = text.substr(0, static_cast<std::size_t>(data_line->matches()[1].end));
    const std::string team_field = data_line->group(text, 1);
    const std::string arrival_field = data_line->group(text, 2);
    const std::string departure_field = data_line->group(text, 3);

    const int team_no = capped_number(team_field, kImportMaxNumber);
    const int rec_no = team_no >= 1 && team_no <= 999 ? team_index_lookup(mastfile_index(), team_no) : -1;
    if (rec_no < 0) {
      refuse("ﾁｰﾑNoエラー:", shown);
      continue;
    }
    Stream mast = open_mastfile("r+b");
    MastRecord rec;
    mast_read(mast, rec_no, rec);
    const int k = rec.bumon_no <= kMaxDivisions ? ev.phy_to_log[rec.bumon_no][station] : -1;
    if (k < 0 || k > kMaxSections) {
      refuse("該当中継所でない:", shown);
      continue;
    }

    HmsTime arrival = kHmsNone;
    if (all_digits(arrival_field)) {
      HmsTime typed{};
      if (!digits_to_time(arrival_field, typed)) {
        refuse("数字列が時刻になっていない:", shown);
        continue;
      }
      hms_add(arrival, typed, added);
    } else if (!is_no_data(arrival_field)) {
      continue;
    }
    HmsTime departure = arrival;
    if (is_no_data(departure_field)) {
      departure = kHmsNone;
    } else if (all_digits(departure_field)) {
      HmsTime typed{};
      if (digits_to_time(departure_field, typed)) hms_add(departure, typed, added);
    }

    StationSlot& slot = rec.slots[k];
    slot.arrival = arrival;
    slot.departure = departure;
    slot.input_seq = static_cast<std::int16_t>(++seq);
    mast_write(mast, rec_no, rec);
    close_or_stop(mast);
    ++written;
  }
  return written;
}

std::optional<std::string> choose_import_file(int& station_out) {
  station_out = -1;
  clear_screen();
  std::string name;
  for (;;) {
    con_write("\n入力ファイル＝");
    name.clear();
    if (read_text_line(name, 500) < 0) return std::nullopt;
    if (!name.empty() && file_exists(name)) break;
    beep();
  }
  shell_open(name);
  const int answer = ask_choice("このファイルでよろしいですか？（Y / N）", "YyNn");
  if (answer == 'N' || answer == 'n') return std::nullopt;
  station_out = import_file_station(name);
  return name;
}

void time_import() {
  int station = -1;
  const std::optional<std::string> file = choose_import_file(station);
  if (!file) return;
  if (station >= event_definition().eki_suu) station = -1;
  if (station < 0) {
    station = select_station("テキストファイルからのタイム入力", 7, false, false);
    if (station < 0) return;
  }
  clear_screen();
  HmsTime added{};
  if (!ask_added_time(station, added)) return;

  clear_screen();
  draw_entry_header(station, kAddedTimeLabel);
  con_write(hms_format_japanese(added));
  set_colour(kAttrDefault);
  move_cursor(kImportMessageRow, 0);
  std::vector<std::string> refused;
  import_times(*file, station, added, &refused);

  speed_check_all();
  post_entry_menu(2, station, refused);
}
