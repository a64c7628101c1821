#include "results/model/event_definition.h"

#include <cctype>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "results/shell/console.h"
#include "results/shell/options.h"
#include "results/shell/process.h"
#include "results/shell/program_info.h"
#include "results/shell/regexp.h"
#include "results/shell/sjis.h"
#include "results/shell/stops.h"

namespace {

constexpr std::size_t kLinePiece = 1000;  // lines are read in pieces of at most 999 bytes
constexpr const char* kSource = "KIHONDAT";

std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatted(const char* format, ...) {
  char buffer[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

// Copies text into a fixed field, cut without splitting a two-byte character.
template <std::size_t N>
void store_text(char (&field)[N], std::string_view text) {
  const std::size_t n = cut_length(text, N - 1);
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

// Reads the next piece of a line; false at the end of the file. A NUL byte ends the
// text of the line, so a damaged file can never smuggle bytes past a field.
bool read_piece(Stream& in, std::string& line) {
  if (!in.read_line(line, kLinePiece)) return false;
  line.resize(std::strlen(line.c_str()));
  return true;
}

// Collects the messages of one race file and remembers where the first error was.
struct Reader {
  const char* file;
  int line_no = 0;
  RaceFileError& error;

  // "Reporting a line": where, a title, the line as read, then the message.
  bool report(const std::string& line, const std::string& message,
              const char* title = "フォーマット・エラー") {
    error.file = file;
    error.message = formatted("\n%s %d 行目。%s\n", file, line_no, title);
    error.message += line;
    error.message += "\n";
    error.message += message;
    return false;
  }
  bool fail(const std::string& message) {
    error.file = file;
    error.message = message;
    return false;
  }
};

// The separators of an FS= value; nothing for a value that is not allowed.
std::optional<std::string> separators_from_fs(const std::string& value) {
  if (value.empty()) return std::string(" \t");
  if (value == "Tab") return std::string("\t");
  if (value.size() == 1) return value;
  return std::nullopt;
}

// The field at a URL= or NICKNAME= match: up to the next separator, cut to the field.
template <std::size_t N>
void store_keyword_value(char (&field)[N], RegExp& regex, int source_line,
                         const std::string& line, const std::string& separators) {
  if (!regex_match(regex, line, kSource, source_line)) return;
  std::string value;
  take_token(value, line.c_str() + regex.matches()[1].start, N, separators.c_str());
  store_text(field, value);
}

bool load_stations(EventDefinition& ev, RaceFileError& error) {
  ev.eki_suu = 0;
  ev.max_kukan = -1;
  ev.distance_decimals = -1;
  std::memset(ev.station_names, 0, sizeof ev.station_names);
  std::memset(ev.station_nicknames, 0, sizeof ev.station_nicknames);
  std::memset(ev.station_urls, 0, sizeof ev.station_urls);

  auto decimal = new_regex("^\\s*\\d+\\.(\\d+)", 0, kSource, 95);
  auto integer = new_regex("^\\s*\\d+", 0, kSource, 96);
  auto url = new_regex("URL\\s*=\\s*(\\S+)", kRegIcase, kSource, 97);
  auto nickname = new_regex("NICKNAME\\s*=\\s*(\\S+)", kRegIcase, kSource, 98);

  Stream in = open_retry(kEkiFile, "r");
  Reader reader{kEkiFile, 0, error};
  std::string separators = " \t";
  std::string line;
  while (read_piece(in, line)) {
    ++reader.line_no;
    strip_newline(line);
    if (line.empty() || line[0] == '*') break;
    const char* pos = skip_blanks(line.c_str());

    std::string fs_value;
    if (valofkey(pos, "FS", fs_value)) {
      std::optional<std::string> chosen = separators_from_fs(fs_value);
      if (!chosen) {
        std::string message = formatted("\nファイル \"%s\" の FS= 指定が不正です\n", kEkiFile);
        message += formatted("%d 行目\n", reader.line_no);
        return reader.fail(message);
      }
      separators = std::move(*chosen);
      continue;
    }
    if (ev.eki_suu >= kMaxStations) {
      return reader.report(line, formatted("駅数が %d を越えています\n", kMaxStations),
                           "駅数エラー");
    }
    const int s = ev.eki_suu;
    std::string name;
    pos = take_token(name, pos, kStationNameSize, separators.c_str());
    pos = skip_to_separator(pos, separators.c_str());  // the rest of an overlong name
    trim_blanks(name);
    if (*pos != '\0') ++pos;

    int decimals = 0;
    if (regex_match(*decimal, pos, kSource, 95)) {
      const RegMatch& fraction = decimal->matches()[1];
      decimals = fraction.end - fraction.start;
      if (decimals > 3) {
        return reader.report(line, "通算距離（累計距離）の小数部分は３桁以内にしてください\n");
      }
    } else if (!regex_match(*integer, pos, kSource, 96)) {
      return reader.report(line, "通算距離（累計距離）の書き方が間違っています\n");
    }
    if (decimals > ev.distance_decimals) ev.distance_decimals = decimals;
    ev.distances[s] = std::atof(pos);
    store_text(ev.station_names[s], name);
    store_keyword_value(ev.station_urls[s], *url, 97, line, separators);
    store_text(ev.station_nicknames[s], name);
    store_keyword_value(ev.station_nicknames[s], *nickname, 98, line, separators);
    ++ev.eki_suu;
  }
  if (ev.eki_suu == 0) {
    error.file = kEkiFile;
    error.no_data = true;
    return false;
  }
  return true;
}

// Reads line 2 or 3 of a division block; false at the end of the file or at a "*" line.
bool read_block_line(Stream& in, Reader& reader, std::string& line) {
  ++reader.line_no;
  if (!read_piece(in, line)) {
    line.clear();
    return false;
  }
  strip_newline(line);
  return line.empty() || line[0] != '*';
}

// Reads the number after "keyword=" anywhere on the line; false when it is not there.
bool find_keyword(const std::string& line, const char* keyword, const char*& value) {
  const char* at = std::strstr(line.c_str(), keyword);
  if (at == nullptr) return false;
  value = at + std::strlen(keyword);
  return true;
}

bool load_speeds(EventDefinition& ev, int d, const std::string& line, Reader& reader) {
  const char* max_speed = nullptr;
  const char* min_speed = nullptr;
  if (!find_keyword(line, "MaxSpeed=", max_speed)) {
    return reader.report(line, formatted("キーワード \"%s\" がありません\n", "MaxSpeed="));
  }
  if (!find_keyword(line, "MinSpeed=", min_speed)) {
    return reader.report(line, formatted("キーワード \"%s\" がありません\n", "MinSpeed="));
  }
  ev.max_speeds[d] = std::atof(max_speed);
  ev.min_speeds[d] = std::atof(min_speed);

  const char* start = nullptr;
  if (find_keyword(line, "StartTime=", start)) {
    HmsTime t{};
    const bool has_digits = std::isdigit(static_cast<unsigned char>(*skip_white(start)));
    if (!has_digits || !hms_parse(t, start) || !hms_is_valid(t)) {
      return reader.report(line, "指定したスタート時刻が不正です\n");
    }
    ev.start_times[d] = t;
  }
  return true;
}

bool load_pattern(EventDefinition& ev, int d, const std::string& line, Reader& reader) {
  int k = -1;
  for (int s = 0; s < ev.eki_suu; ++s) {
    if (static_cast<std::size_t>(s) >= line.size()) {
      return reader.report(
          line, formatted("中継所指定行の文字数が駅数（%d）に満たない\n", ev.eki_suu));
    }
    const unsigned char c = static_cast<unsigned char>(line[s]);
    if (c == '1' || c == '+') {
      if (++k > kMaxSections) {
        return reader.report(line, formatted("区間数が %d を越えている\n", kMaxSections));
      }
      ev.phy_to_log[d][s] = static_cast<signed char>(k);
      ev.log_to_phy[d][k] = static_cast<signed char>(s);
      ev.sections[d] = static_cast<signed char>(k);
    } else if (c != '0' && c != '/') {
      const std::size_t width =
          is_lead_byte(c) && static_cast<std::size_t>(s) + 1 < line.size() ? 2 : 1;
      return reader.report(line, formatted("%d文字目に不正な文字 '%s' がある\n", s + 1,
                                           line.substr(s, width).c_str()) +
                                     "３行目で使える文字は +, /, 1, 0 の４つだけ\n"
                                     "意味は下の通り\n"
                                     "\t中継所に使う=+ または 1\n"
                                     "\t中継所に使わない=/ または 0\n");
    }
  }
  // A course needs a start and a goal; fewer used stations would make a division
  // without sections that no entry or report can handle.
  if (k < 1) {
    return reader.report(line, "中継所に使う駅（+ または 1）を２つ以上指定してください\n");
  }
  return true;
}

bool load_divisions(EventDefinition& ev, RaceFileError& error) {
  ev.clear_maps();
  ev.bumon_suu = 0;
  Stream in = open_retry(kBumonFile, "r");
  Reader reader{kBumonFile, 0, error};
  std::string line;
  while (true) {
    ++reader.line_no;
    if (!read_piece(in, line) || line[0] == '*') break;
    strip_newline(line);
    std::string name = skip_blanks(line.c_str());
    if (name.empty()) {
      return reader.fail(formatted("%s %d 行目が空白です\n", kBumonFile, reader.line_no));
    }
    if (ev.bumon_suu >= kMaxDivisions) {
      return reader.report(line, formatted("部門数が %d を越えています\n", kMaxDivisions),
                           "部門数エラー");
    }
    const int d = ev.bumon_suu;
    std::string cut;
    take_token(cut, name.c_str(), kDivisionNameSize, "");
    trim_blanks(cut);
    store_text(ev.division_names[d], cut);

    if (!read_block_line(in, reader, line)) {
      return reader.report(line, formatted("第 %d 部門(%s)の２行目がありません\n", d + 1,
                                           ev.division_names[d]));
    }
    if (!load_speeds(ev, d, line, reader)) return false;

    if (!read_block_line(in, reader, line)) {
      return reader.report(line, formatted("第 %d 部門(%s)の３行目がありません\n", d + 1,
                                           ev.division_names[d]));
    }
    if (!load_pattern(ev, d, line, reader)) return false;

    if (ev.sections[d] > ev.max_kukan) ev.max_kukan = ev.sections[d];
    ++ev.bumon_suu;
  }
  if (ev.bumon_suu == 0) {
    error.file = kBumonFile;
    error.no_data = true;
    return false;
  }
  return true;
}

}  // namespace

void EventDefinition::clear_maps() {
  std::memset(phy_to_log, -1, sizeof phy_to_log);
  std::memset(log_to_phy, -1, sizeof log_to_phy);
}

EventDefinition& event_definition() {
  static EventDefinition instance;
  return instance;
}

bool load_race_files(EventDefinition& ev, RaceFileError& error) {
  error = RaceFileError{};
  // Every load starts from nothing, so a division without StartTime= or a station
  // dropped from the list never keeps a value of an earlier version of the files.
  for (HmsTime& t : ev.start_times) t = HmsTime{};
  std::memset(ev.sections, 0, sizeof ev.sections);
  if (!load_stations(ev, error)) return false;
  if (!load_divisions(ev, error)) return false;
  ev.sizeof_mastrec = mast_record_length(ev.max_kukan);
  ev.sizeof_namerec = name_record_length(ev.max_kukan);
  return true;
}

void check_required_files() {
  struct Required {
    const char* name;
    const char* older;
  };
  static constexpr Required kRequired[] = {{kEkiFile, "EKIMEI.TXT"},
                                           {kBumonFile, "BUMONMEI.TXT"},
                                           {kTeamFile, "TEAMMEI.TXT"},
                                           {kOptionFile, nullptr}};
  for (const Required& file : kRequired) {
    if (file_accessible(file.name)) continue;
    con_print("\nこのディレクトリ（フォルダ）にはファイル %s がありません\n", file.name);
    if (file.older != nullptr && file_exists(file.older)) {
      con_print("%s では、%s ではなく %s です\n", kProgramName, file.older, file.name);
    }
    fatal_stop();
  }
}

void kihon_data() {
  check_required_files();
  auto loaded = std::make_unique<EventDefinition>();
  RaceFileError error;
  if (!load_race_files(*loaded, error)) {
    if (error.no_data) no_data_prompt(error.file.c_str());
    con_write(error.message);
    fix_prompt(error.file.c_str());
  }
  EventDefinition& ev = event_definition();
  ev = *loaded;
  if (debug_flag()) dump_event_definition(ev);
  ev.fast_speed_limit = option_double("FAST_SPEED_LIMIT", 30.0);
  ev.slow_speed_limit = option_double("SLOW_SPEED_LIMIT", 3.0);
}

void fix_prompt(const char* file) {
  edit_text_file(file, EditMode::kNoWait);
  con_print("\n%s を修正してください\n", file);
  const int choice = ask_choice("修正後続行→0　中止→1　", "01");
  close_all(false);
  if (choice == '1') fatal_stop();
  back_to_main_menu();
}

void no_data_prompt(const char* file) {
  con_print("\n%s に有効なデータがありません\n", file);
  fix_prompt(file);
}

int print_kyori(Stream* stream, char* buffer, std::size_t size, double km, int width,
                const char* unit) {
  if (stream == nullptr && buffer == nullptr) {
    con_print("\nprint_kyori() error\n");
    con_print("出力バッファのアドレスが NULL です\n");
    fatal_stop();
  }
  const int decimals = event_definition().distance_decimals;
  const int d = decimals < 2 ? 1 : (decimals == 2 ? 2 : 3);
  const char* suffix = unit != nullptr ? unit : "";
  if (stream != nullptr) return stream->printf("%*.*f%s", width, d, km, suffix);
  return std::snprintf(buffer, size, "%*.*f%s", width, d, km, suffix);
}

std::string kyori_text(double km, int width, const char* unit) {
  char buffer[64];
  print_kyori(nullptr, buffer, sizeof buffer, km, width, unit);
  return buffer;
}

std::string event_definition_dump_text(const EventDefinition& ev) {
  std::string text;
  for (int d = 0; d < kMaxDivisions; ++d) {
    for (int s = 0; s <= kMaxStations; ++s) {
      if (ev.phy_to_log[d][s] != -1) {
        text += formatted("phy_to_log[%d][%d]=%d\n", d, s, ev.phy_to_log[d][s]);
      }
    }
    text += "\n";
    for (int k = 0; k <= kMaxSections; ++k) {
      if (ev.log_to_phy[d][k] != -1) {
        text += formatted("log_to_phy[%d][%d]=%d\n", d, k, ev.log_to_phy[d][k]);
      }
    }
    text += "\n";
  }
  text += formatted("eki_suu=%d\n", ev.eki_suu);
  text += formatted("bumon_suu=%d\n", ev.bumon_suu);
  text += formatted("max_kukan=%d\n", ev.max_kukan);
  text += formatted("sizeof_mastrec=%d\n", ev.sizeof_mastrec);
  text += formatted("sizeof_namerec=%d\n", ev.sizeof_namerec);
  return text;
}

void dump_event_definition(const EventDefinition& ev) {
  con_write(event_definition_dump_text(ev));
  read_key();
}
