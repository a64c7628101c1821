// OPTION.TXT lookup, the event name and the option listing.
#include "results/shell/options.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <string>

#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/regexp.h"
#include "results/shell/sjis.h"
#include "results/shell/stops.h"

namespace {

// The known keys in listing order. OPEN_TEAM_OUTPUT_POSITION, INPUTSEQ and SENDEN are
// read by the program too but are not part of the table, so they are never listed.
constexpr std::array<OptionKey, 42> kOptionTable = {{
    {"EVENTNAME", false},                 // event name: console title, menu, headings
    {"EVENTMEI", false},                  // second choice for the event name
    {"LISTFILE", false},                  // report file of the file destination
    {"EDITOR", false},                    // editor of the text-file submenu
    {"KUKANSYOU_PRINTTYPE", false},       // grouping of the section award list
    {"KUKANSYOU_OUTPUT_MODE", false},     // 2: section awards without route and speed
    {"NUM_INPUTTYPE", false},             // 2: numbers typed left-aligned
    {"GIMON_SPEED_SORTTYPE", false},      // layout of the dubious-speed list
    {"BESTNO", false},                    // last rank with a team award
    {"LF", false},                        // blank lines after each team block
    {"PRINTCMD62", false},                // print commands of the reports, by number
    {"PRINTCMD63", false},
    {"PRINTCMD64", false},
    {"PRINTCMD65", false},
    {"PRINTCMD66", false},
    {"PRINTCMD67", false},
    {"PRINTCMD68", false},
    {"PRINTCMD70", false},
    {"PRINTCMD71", false},
    {"PRINTCMD72", false},
    {"PRINTCMD73", false},
    {"PRINTCMD74", false},
    {"PRINTCMD75", false},
    {"PRINTCMD77", false},
    {"PRINTCMD78", false},
    {"PRINTCMD94", false},
    {"PRINTCMD95", false},
    {"HTMLCOLOR1", false},                // colours of the first three places (HTML)
    {"HTMLCOLOR2", false},
    {"HTMLCOLOR3", false},
    {"HOMEADDRESS1", false},              // links at the foot of the HTML pages
    {"HOMENAME1", false},
    {"HOMEADDRESS2", false},
    {"HOMENAME2", false},
    {"PHOTOPAGEADDRESS", false},          // photo page link (HTML)
    {"PHOTOPAGENAME", false},
    {"RULE_KUKAN_KIKEN", false},          // which teams get section ranks
    {"PRINT62_DANGUMI_GYOU_SUU", false},  // lines per column block of the check list
    {"FAST_SPEED_LIMIT", false},          // abnormal speeds, km/h
    {"SLOW_SPEED_LIMIT", false},
    {"HTML_HEAD", false},                 // text in the head of the PC pages
    {"HTML_TABLE", false},                // opening tag of the result tables
}};

// "key = value" with ASCII white space or full-width spaces around the key and "=".
std::unique_ptr<RegExp> key_line_pattern(std::string_view key) {
  std::string pattern = "^(　|\\s)*";
  pattern += key;
  pattern += "(　|\\s)*=(　|\\s)*([^#]*)";
  return new_regex(pattern, 0, "VALOFKEY", 20);
}

bool match_key_line(RegExp& regex, std::string_view line, std::string& value,
                    std::size_t size) {
  if (!regex_match(regex, line, "VALOFKEY", 22)) return false;
  std::string found = regex.group(line, 4);
  found = trimmed(found, true);
  value = cut_text(found, size == 0 ? 0 : size - 1);
  return true;
}

}  // namespace

bool valofkey(std::string_view line, std::string_view key, std::string& value,
              std::size_t size) {
  std::unique_ptr<RegExp> regex = key_line_pattern(key);
  return match_key_line(*regex, line, value, size);
}

bool option_value(std::string_view key, std::string& value, std::size_t size) {
  if (!file_exists(kOptionFileName)) return false;
  std::unique_ptr<RegExp> regex = key_line_pattern(key);
  Stream in = open_retry(kOptionFileName, "r");
  std::string line;
  while (in.read_line(line, 1000)) {
    if (line[0] == '*') break;
    strip_newline(line);
    std::size_t comment = line.find('#');
    if (comment != std::string::npos) line.resize(comment);
    if (match_key_line(*regex, line, value, size)) return true;
  }
  return false;
}

int option_int(std::string_view key, int default_value) {
  std::string value;
  if (!option_value(key, value)) return default_value;
  return std::atoi(value.c_str());
}

double option_double(std::string_view key, double default_value) {
  std::string value;
  if (!option_value(key, value)) return default_value;
  return std::strtod(value.c_str(), nullptr);
}

std::string event_title() {
  std::string value;
  if (option_value("EVENTNAME", value)) return value;
  if (option_value("EVENTMEI", value)) return value;
  return "？？？？駅伝大会";
}

std::span<const OptionKey> option_table() {
  return kOptionTable;
}

void show_option_listing() {
  clear_screen();
  set_colour(kAttrDefault);
  show_working_folder(0, 0);
  std::string value;
  for (const OptionKey& entry : option_table()) {
    if (entry.required && !option_value(entry.key, value)) {
      con_print("必須キーワード %s が設定されていません\n", entry.key);
      con_print("ファイル \"%s\" を見直して下さい\n", kOptionFileName);
      fatal_stop();
    }
  }
  const std::string rule = "\t" + std::string(60, '-') + "\n";
  con_print("\n\n\t\"%s\"に設定されているオプション・データは次の通りです\n", kOptionFileName);
  con_write(rule);
  for (const OptionKey& entry : option_table()) {
    if (option_value(entry.key, value)) con_print("\t%s=%s\n", entry.key, value.c_str());
  }
  con_write(rule);
  ask_choice("メニューへ戻ります（Y）", "Yy");
}
