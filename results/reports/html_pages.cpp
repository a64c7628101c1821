#include "results/reports/html_pages.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/entry/warnings.h"
#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/reports/division_results.h"
#include "results/reports/section_speeds.h"
#include "results/shell/console.h"
#include "results/shell/options.h"
#include "results/shell/program_info.h"
#include "results/shell/process.h"
#include "results/shell/sjis.h"
#include "results/shell/stops.h"

namespace {

// The made-with note links the program's home page.
constexpr const char* kProgramHomePage = "https://hakobu32.example.org/";
constexpr const char* kDefaultTableTag = "<table border=4>";
constexpr std::size_t kColourSize = 100;  // a stored colour, '#' included, is at most 99 bytes
constexpr const char* kOpenTeamText = "(オープン参加)";
// The forced-start mark, written as a reference so that a runner name after it can
// never be read as part of a character reference ("&not..." would show "¬").
constexpr const char* kForcedStartMark = "&amp;";

std::string option_or(const char* key, const char* default_value) {
  std::string value;
  return option_value(key, value) ? value : std::string(default_value);
}

// Background colours of ranks 1 to 3, reloaded at the start of each site.
struct RankColours {
  std::string colour[3];
  // " bgcolor=\"...\"" for ranks 1 to 3, else nothing.
  std::string attribute(int rank) const {
    if (rank < 1 || rank > 3) return "";
    return " bgcolor=\"" + colour[rank - 1] + "\"";
  }
};

RankColours load_colours() {
  static const char* const keys[3] = {"HTMLCOLOR1", "HTMLCOLOR2", "HTMLCOLOR3"};
  static const char* const defaults[3] = {"#FFD700", "#C0C0C0", "#CD853F"};
  RankColours colours;
  for (int i = 0; i < 3; ++i) {
    std::string value;
    if (!option_value(keys[i], value)) {
      colours.colour[i] = defaults[i];
      continue;
    }
    std::string colour(1, '#');
    colour.append(cut_text(value, kColourSize - 2));
    colours.colour[i] = html_escape(colour);
  }
  return colours;
}

std::string team_name_of(const MastRecord& rec) {
  return std::string(rec.team_name, strnlen(rec.team_name, kTeamNameSize - 1));
}

std::string runner_name_of(const NameRecord& names, int section) {
  return std::string(names.runners[section], strnlen(names.runners[section], kRunnerNameSize - 1));
}

std::string time_text(HmsTime t, int width) {
  std::string text;
  hms_format(t, text, width, 1, "");
  return text;
}

// Logical station k of division d: its physical index.
int station_of(const EventDefinition& ev, int d, int k) { return ev.log_to_phy[d][k]; }

double station_km(const EventDefinition& ev, int d, int k) {
  return ev.distances[station_of(ev, d, k)];
}

std::string station_name(const EventDefinition& ev, int d, int k) {
  return html_escape(ev.station_names[station_of(ev, d, k)]);
}

// The station name, a link opening in a new window when the station has an address.
std::string station_link(const EventDefinition& ev, int d, int k) {
  const char* url = ev.station_urls[station_of(ev, d, k)];
  if (url[0] == '\0') return station_name(ev, d, k);
  return "<a href=\"" + html_escape(url) + "\" target=_blank>" + station_name(ev, d, k) + "</a>";
}

std::string division_name(const EventDefinition& ev, int d) {
  return html_escape(ev.division_names[d]);
}

std::string page_name(int d) { return std::to_string(d + 1); }

void write_pc_head(Stream& page) {
  page.write_text("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
                  "<html lang=\"ja\">\n<head>\n");
  std::string head;
  if (option_value("HTML_HEAD", head)) {
    for (char c : head) {
      page.put_char(c);
      if (c == '>') page.put_char('\n');
    }
  }
  page.write_text("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">\n");
  page.printf("<meta name=\"generator\" content=\"%s %s\">\n", kProgramName, kProgramVersion);
}

void write_mobile_head(Stream& page) {
  page.write_text("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
                  "<html><head>\n"
                  "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=shift_jis\">\n");
}

// The teams of division d in output order: print_jun[first .. end - 1]; empty when none.
struct TeamRange {
  int first = 0;
  int end = 0;
  bool empty() const { return end <= first; }
};

TeamRange division_teams(int d) {
  TeamRange range{print_jun_top[d], print_jun_top[d + 1]};
  if (range.first < 0 || range.end > kMaxTeams) range.end = range.first < 0 ? 0 : kMaxTeams;
  if (range.first < 0) range.first = 0;
  return range;
}

// ---------------------------------------------------------------------------------------
// PC site

void write_division_page_head(Stream& page, const EventDefinition& ev, int d, int n,
                              const std::string& title, const std::string& table_tag) {
  const std::string division = division_name(ev, d);
  write_pc_head(page);
  page.write_text("<title>" + title + "　" + division + "</title>\n</head>\n<body>\n");
  page.write_text("<table width=\"100%\"><tr>\n");
  page.write_text("<th align=left><font color=blue size=\"+1\">" + title + "　" + division +
                  "</font></th>\n");
  page.printf("<td align=right><font size=\"-1\"><a href=\"./index.%s\" target=_parent>"
              "メニュー</a></font></td>\n",
              kHtmlExtension);
  page.write_text("</tr></table>\n");
  page.write_text(table_tag + "<tbody align=right>\n");

  page.write_text("<tr bgcolor=aqua>\n");
  page.write_text("<th align=left nowrap colspan=2><font color=red size=\"+1\">" + division +
                  "</font></th>\n");
  for (int i = 1; i <= n; ++i) page.write_text("<th>" + section_heading(i) + "</th>\n");
  page.write_text("</tr>\n");

  page.write_text("<tr bgcolor=aqua>\n");
  page.write_text("<td><br>順<br>位</td><td nowrap align=left>　　<b>\n");
  // The distance runs from the division's own start, as in the printed list.
  page.write_text(html_cell_text(kyori_text(station_km(ev, d, n) - station_km(ev, d, 0), 6, "km"), false));
  page.write_text(std::string("</b><br>　　*:区間賞<br>　　") + kForcedStartMark + ":繰上出発</td>\n");
  for (int i = 1; i <= n; ++i) {
    page.write_text("<td nowrap>" + station_link(ev, d, i - 1) + "<br>\n");
    const std::string km = kyori_text(station_km(ev, d, i) - station_km(ev, d, i - 1), 6, "km");
    page.write_text(html_cell_text(km, false) + "↓<br>\n");
    page.write_text(station_link(ev, d, i) + "</td>\n");
  }
  page.write_text("</tr>\n");
}

void write_team_row(Stream& page, const RankColours& colours, const MastRecord& rec,
                    const NameRecord& names, int n) {
  const StationSlot* slots = rec.slots;
  const int r = slots[n].cumulative_rank;
  page.write_text("<tr>\n");
  page.write_text("<td nowrap" + colours.attribute(r) + " align=center>");
  if (r > 0) page.printf("%d", r);
  page.write_text("<br></td>\n");

  page.write_text("<td nowrap" + colours.attribute(r) + " align=left>");
  page.printf("　 No=%d", rec.team_no);
  page.write_text(std::string(" ") + (is_open_team(rec) ? kOpenTeamText : "") + "<br>");
  page.write_text("<b>" + html_escape(team_name_of(rec)) + "</b><br>");
  page.write_text("　 " + html_cell_text(time_text(slots[n].cumulative_time, 9), false) +
                  "</td>\n");

  for (int i = 1; i <= n; ++i) {
    const int s = slots[i].section_rank;
    std::string cell = "<td nowrap" + colours.attribute(s) + ">";
    if (s == 1) cell += '*';
    if (hms_differ(slots[i - 1].arrival, slots[i - 1].departure)) cell += kForcedStartMark;
    cell += html_escape(runner_name_of(names, i)) + "<br>";
    cell += html_cell_text(ranked_time_cell(slots[i].section_time, s, '<', '>'), true) + "<br>";
    cell += html_cell_text(ranked_time_cell(slots[i].cumulative_time, slots[i].cumulative_rank,
                                            '[', ']'),
                           true);
    page.write_text(cell + "</td>\n");
  }
  page.write_text("</tr>\n");
}

void write_pc_index(const std::string& title) {
  Stream index = open_html_file(kHtmlFolder, "index");
  write_pc_head(index);
  index.write_text("<title>" + title + "</title></head>\n");
  index.write_text("<frameset rows=\"10%,90%\">\n");
  index.printf("<frame src=\"contents.%s\" name=\"AREA1\">\n", kHtmlExtension);
  index.printf("<frame src=\"1.%s\" name=\"AREA2\">\n", kHtmlExtension);
  index.write_text("</frameset>\n</html>\n");
  close_or_stop(index);
}

void write_contents_links_footer(Stream& contents) {
  contents.write_text("</font>\n");
  contents.write_text("<table width=\"100%\"><tr>\n");
  contents.printf("<!-- 下の３行のアドレスは %s で指定できます -->\n", kOptionFileName);
  std::string photo;
  if (option_value("PHOTOPAGEADDRESS", photo)) {
    contents.write_text("<td align=left><font size=\"-1\"><a href=\"" + photo + "\" target=_blank>");
    contents.write_text(option_or("PHOTOPAGENAME", "写真") + "</a></font></td>\n");
  }
  struct BackLink {
    const char* address_key;
    const char* default_address;
    const char* name_key;
    const char* default_name_format;
  };
  const BackLink links[2] = {
      {"HOMEADDRESS1", "../index.html", "HOMENAME1", "戻り先１（%s で指定）"},
      {"HOMEADDRESS2", "../../index.html", "HOMENAME2", "戻り先２（%s で指定）"},
  };
  for (const BackLink& link : links) {
    char default_name[128];
    std::snprintf(default_name, sizeof default_name, link.default_name_format, kOptionFileName);
    contents.write_text("<td align=left><font size=\"-1\"><a href=\"" +
                        option_or(link.address_key, link.default_address) + "\" target=_parent>");
    contents.write_text(option_or(link.name_key, default_name) + "</a></font></td>\n");
  }
  contents.write_text("<td align=right><font size=\"-1\">（このページは");
  contents.printf("<a href=\"%s\" target=_blank>フリーソフト %s</a>", kProgramHomePage,
                  kProgramName);
  contents.write_text("で作りました）</font></td>\n");
  contents.write_text("</tr></table>\n</body>\n</html>\n");
}

// ---------------------------------------------------------------------------------------
// Speed ranking

struct SpeedRowTexts {
  std::string runner;
  std::string team;  // team number text and team name, for the width only
  std::string from;
  std::string to;
  long distance = 0;  // km x 100, integer part
  int seconds = 0;
};

// Index of the first row with the largest value of one column.
template <typename Value>
std::size_t first_longest(const std::vector<SpeedRowTexts>& rows, Value value) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    if (value(rows[i]) > value(rows[best])) best = i;
  }
  return best;
}

// ---------------------------------------------------------------------------------------
// Mobile site

// The highest logical station (0 .. sections) with an entered arrival time of any team
// of the division, -1 when none has one.
int furthest_station_reached(const EventDefinition& ev, Stream& mast, TeamRange teams) {
  int furthest = -1;
  for (int j = teams.first; j < teams.end; ++j) {
    MastRecord rec;
    mast_read(mast, print_jun[j], rec);
    for (int k = team_sections(ev, rec); k > furthest; --k) {
      if (!hms_is_none(rec.slots[k].arrival)) {
        furthest = k;
        break;
      }
    }
    if (furthest < 0 && !hms_is_none(rec.slots[0].arrival)) furthest = 0;
  }
  return furthest;
}

void write_mobile_team_block(Stream& page, const RankColours& colours, const MastRecord& rec,
                             const NameRecord& names, int n) {
  std::string block = "<hr>";
  if (n >= 0) {
    const int r = rec.slots[n].cumulative_rank;
    if (r > 0) block += std::to_string(r) + "位";
    block += " " + html_cell_text(time_text(rec.slots[n].cumulative_time, 9), false) + "<br>";
  } else {
    block += " <br>";
  }
  block += "No=" + std::to_string(rec.team_no) + " " + html_escape(team_name_of(rec));
  block += std::string(is_open_team(rec) ? kOpenTeamText : "") + "<br>";
  for (int i = 1; i <= n; ++i) {
    const int s = rec.slots[i].section_rank;
    const bool coloured = s >= 1 && s <= 3;
    if (coloured) block += "<span style=\"background-color:" + colours.colour[s - 1] + "\">";
    block += std::to_string(i) + html_escape(runner_name_of(names, i)) + " ";
    std::string time = time_text(rec.slots[i].section_time, 13);
    time = html_cell_text(time, false);
    trim_blanks(time);
    block += time.empty() ? std::string(kFullWidthSpace) : time;
    if (s > 0) {
      block += ' ';
      block += std::to_string(s);
    }
    if (coloured) block += "</span>";
    block += "<br>";
  }
  page.write_text(block + "\n");
}

// <working folder>/<folder>/<name>.htm as a CP932 name. A working folder whose name
// has no CP932 form (it would not lead back to itself) is left out: the name relative
// to it reaches the same file.
std::string page_path(const std::string& folder, const std::string& name) {
  const std::string working = working_folder_display();
  if (working.empty()) {
    con_print("getcwd() error\n");
    fatal_stop();
  }
  std::string path;
  std::error_code error;
  if (cp932_to_utf8(working) == std::filesystem::current_path(error).string()) {
    path = working;
    if (path.back() != '/') path += '/';
  }
  return path + folder + "/" + name + "." + kHtmlExtension;
}

}  // namespace

std::string html_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (is_lead_byte(c) && i + 1 < text.size()) {
      out += text.substr(i, 2);
      ++i;
      continue;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += static_cast<char>(c);
    }
  }
  return out;
}

std::string html_cell_text(std::string_view text, bool trailing_nbsp) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return trailing_nbsp ? "&nbsp;" : "";
  std::string_view rest = text.substr(start);
  if (!trailing_nbsp) return std::string(rest);
  const std::size_t last = rest.find_last_not_of(' ');
  std::string out(rest.substr(0, last + 1));
  for (std::size_t i = last + 1; i < rest.size(); ++i) out += "&nbsp;";
  return out;
}

Stream open_html_file(const std::string& folder, const std::string& name) {
  const std::string os_folder = os_file_name(folder);
  struct stat st {};
  if (::mkdir(os_folder.c_str(), 0777) != 0 &&
      !(errno == EEXIST && ::stat(os_folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) {
    con_print("mkdir(\"%s\") error\n", folder.c_str());
    fatal_stop();
  }
  return open_retry(page_path(folder, name), "w");
}

void write_speed_ranking_table(int division, Stream& page, const std::string& table_tag) {
  std::vector<SectionSpeed> entries = collect_section_speeds(division);
  if (entries.empty()) return;
  sort_fastest_first(entries);
  const EventDefinition& ev = event_definition();
  const int d = division;

  Stream mast = open_mastfile("rb");
  Stream name_file = open_retry(kNameFile, "rb");
  std::vector<MastRecord> records(entries.size());
  std::vector<SpeedRowTexts> rows(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const SectionSpeed& e = entries[i];
    NameRecord names;
    mast_read(mast, e.rec_no, records[i]);
    name_read(name_file, e.rec_no, names);
    SpeedRowTexts& row = rows[i];
    row.runner = runner_name_of(names, e.section);
    row.team = std::to_string(records[i].team_no) + team_name_of(records[i]);
    row.from = ev.station_names[station_of(ev, d, e.section - 1)];
    row.to = ev.station_names[station_of(ev, d, e.section)];
    row.distance = static_cast<long>(section_distance_km(d, e.section) * 100);
    row.seconds = hms_to_seconds(records[i].slots[e.section].section_time);
  }
  close_or_stop(mast);
  close_or_stop(name_file);

  const std::size_t longest_runner = first_longest(rows, [](const auto& r) { return r.runner.size(); });
  const std::size_t longest_team = first_longest(rows, [](const auto& r) { return r.team.size(); });
  const std::size_t longest_from = first_longest(rows, [](const auto& r) { return r.from.size(); });
  const std::size_t longest_to = first_longest(rows, [](const auto& r) { return r.to.size(); });
  const std::size_t longest_km = first_longest(rows, [](const auto& r) { return r.distance; });
  const std::size_t longest_time = first_longest(rows, [](const auto& r) { return r.seconds; });
  auto nowrap = [](std::size_t row, std::size_t longest) { return row == longest ? " nowrap" : ""; };

  const RankColours colours = load_colours();
  page.write_text("<br>\n" + table_tag + "<tbody align=right>\n");
  page.write_text("<tr bgcolor=aqua><th colspan=11 align=left>" + html_escape(event_title()) + "　" +
                  division_name(ev, d) + "　スピードランキング</th></tr>\n");
  page.write_text("<tr bgcolor=aqua>\n<th align=left nowrap>順位</th>\n<th align=left>選手</th>\n"
                  "<th align=left nowrap>No.</th>\n<th align=left>チーム名</th>\n"
                  "<th nowrap>km/h</th>\n<th>区</th>\n<th align=left>発駅</th>\n"
                  "<th align=left>着駅</th>\n<th nowrap>km</th>\n<th nowrap>タイム</th>"
                  "<th nowrap>区間順位</th>\n</tr>\n");

  const std::vector<int> shown = shown_speed_ranks(entries);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const SectionSpeed& e = entries[i];
    const MastRecord& rec = records[i];
    char speed[64];
    std::snprintf(speed, sizeof speed, "%7.2f", e.speed);
    std::string row = "<tr><td>" + std::to_string(shown[i]) + "</td>";
    row += std::string("<td") + nowrap(i, longest_runner) + colours.attribute(e.section_rank) +
           " align=left>" + html_escape(rows[i].runner) + "</td>";
    row += "<td>" + std::to_string(rec.team_no) + "</td>";
    row += std::string("<td align=left") + nowrap(i, longest_team) + ">" +
           html_escape(team_name_of(rec)) + "</td>";
    row += std::string("<th") + (i == 0 ? " nowrap" : "") + ">" + html_cell_text(speed, false) + "</th>";
    row += "<td>" + std::to_string(e.section) + "</td>";
    row += std::string("<td align=left") + nowrap(i, longest_from) + ">" + html_escape(rows[i].from) + "</td>";
    row += std::string("<td align=left") + nowrap(i, longest_to) + ">" + html_escape(rows[i].to) + "</td>";
    row += std::string("<td") + nowrap(i, longest_km) + ">" +
           html_cell_text(kyori_text(section_distance_km(d, e.section), 7, ""), false) + "</td>";
    row += std::string("<td") + nowrap(i, longest_time) + ">" +
           html_cell_text(time_text(rec.slots[e.section].section_time, 9), false) + "</td>";
    row += e.section_rank > 0 ? "<td>" + std::to_string(e.section_rank) + "</td>" : "<td>-</td>";
    page.write_text(row + "</tr>\n");
  }
  // The closing tag belongs to this table, so a division without speeds leaves none.
  page.write_text("</table>");
}

void write_pc_site() {
  const EventDefinition& ev = event_definition();
  const RankColours colours = load_colours();
  const std::string title = html_escape(event_title());
  const std::string table_tag = option_or("HTML_TABLE", kDefaultTableTag);
  write_pc_index(title);

  Stream contents = open_html_file(kHtmlFolder, "contents");
  write_pc_head(contents);
  contents.write_text("</head>\n<body><font size=\"-1\">\n");
  Stream mast = open_mastfile("rb");
  Stream names = open_retry(kNameFile, "rb");
  for (int d = 0; d < ev.bumon_suu && d < kMaxDivisions; ++d) {
    const TeamRange teams = division_teams(d);
    if (teams.empty()) continue;
    const int n = ev.sections[d];
    Stream page = open_html_file(kHtmlFolder, page_name(d));
    write_division_page_head(page, ev, d, n, title, table_tag);
    contents.printf("<a href=\"%d.%s\" TARGET=\"AREA2\">", d + 1, kHtmlExtension);
    contents.write_text(division_name(ev, d) + "</a>　\n");
    for (int j = teams.first; j < teams.end; ++j) {
      MastRecord rec;
      NameRecord runners;
      mast_read(mast, print_jun[j], rec);
      name_read(names, print_jun[j], runners);
      write_team_row(page, colours, rec, runners, n);
    }
    page.write_text("</table>\n");
    write_speed_ranking_table(d, page, table_tag);
    page.write_text("</body></html>\n");
    close_or_stop(page);
  }
  close_or_stop(mast);
  close_or_stop(names);
  write_contents_links_footer(contents);
  close_or_stop(contents);
}

void write_mobile_site() {
  const EventDefinition& ev = event_definition();
  const RankColours colours = load_colours();
  const std::string title = html_escape(event_title());

  Stream index = open_html_file(kMobileHtmlFolder, "index");
  write_mobile_head(index);
  index.write_text("<title>" + title + "</title></head><body>\n" + title + "<br>\n");
  for (int d = 0; d < ev.bumon_suu && d < kMaxDivisions; ++d) {
    index.printf("<a href=\"%d.%s\">", d + 1, kHtmlExtension);
    index.write_text(division_name(ev, d) + "</a><br>");
  }
  index.write_text("\n</body></html>\n");
  close_or_stop(index);

  Stream mast = open_mastfile("rb");
  Stream names = open_retry(kNameFile, "rb");
  for (int d = 0; d < ev.bumon_suu && d < kMaxDivisions; ++d) {
    const TeamRange teams = division_teams(d);
    if (teams.empty()) continue;
    const int n = furthest_station_reached(ev, mast, teams);
    const std::string heading = title + "　" + division_name(ev, d);
    Stream page = open_html_file(kMobileHtmlFolder, page_name(d));
    write_mobile_head(page);
    page.write_text("<title>" + heading + "</title>\n</head>\n<body>\n" + heading + "\n");
    page.printf("<a href=\"./index.%s\">メニュー</a><br>\n", kHtmlExtension);
    for (int j = teams.first; j < teams.end; ++j) {
      MastRecord rec;
      NameRecord runners;
      mast_read(mast, print_jun[j], rec);
      name_read(names, print_jun[j], runners);
      write_mobile_team_block(page, colours, rec, runners, n);
    }
    page.write_text("</body></html>\n");
    close_or_stop(page);
  }
  close_or_stop(mast);
  close_or_stop(names);
}

void write_html_pages() {
  write_pc_site();
  write_mobile_site();
  for (const char* folder : {kHtmlFolder, kMobileHtmlFolder}) {
    shell_open(page_path(folder, "index"));
  }
}

void html_pages_entry() {
  missing_departure_check(kMissingDepartureBeforeArrival);
  if (prepare_results(0, 0, kFurthestPoint) != 0) return;
  write_html_pages();
}
