// The relay point check list: the teams of one relay point in order of arrival, as a
// printed list (one or two columns) or as data that the text-file import reads back.
#include <string>
#include <vector>

#include "results/entry/check_lists.h"
#include "results/entry/check_lists_common.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/select_screens.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"

namespace {

constexpr int kAllStations = 99;
constexpr int kStationChoiceColour = 0x06;
constexpr int kDefaultRowsPerColumn = 50;
constexpr const char* kColumnGap = "  |  ";
constexpr const char* kSameAsArrival = "←";

struct ListStyle {
  bool with_names = false;
  bool show_input_seq = false;  // option INPUTSEQ present
  int rows_per_column = 0;      // > 0: two columns on the printer
};

ListStyle list_style(bool with_names) {
  ListStyle style;
  style.with_names = with_names;
  std::string value;
  style.show_input_seq = option_value("INPUTSEQ", value);
  if (option_value("PRINT62_DANGUMI_GYOU_SUU", value)) {
    style.rows_per_column = option_int("PRINT62_DANGUMI_GYOU_SUU", 0);
    if (style.rows_per_column <= 0) style.rows_per_column = kDefaultRowsPerColumn;
  }
  return style;
}

// "←" when the departure is the arrival, else the departure (a forced start or none).
std::string departure_text(const RelayPointEntry& e) {
  if (hms_is_valid(e.departure) && hms_equal(e.departure, e.arrival)) {
    return format_text("%*s", 9, kSameAsArrival);
  }
  return check_time_text(e.departure);
}

std::string input_seq_text(const RelayPointEntry& e) {
  if (e.input_seq == RelayPointEntry::kNoInputSeq) return format_text("    (%5s)", "");
  return format_text("    (%5u)", static_cast<unsigned>(e.input_seq));
}

void write_heading(Stream& out, int p) {
  const EventDefinition& ev = event_definition();
  out.write_text("\n");
  write_check_row(out, {event_title()});
  write_check_row(out, {"*** チェック・リスト ***  " + date_time_text()});
  write_check_row(out, {format_text("EkiNo=%02d ", p), ev.station_nicknames[p]});
  out.write_text("\n");
  write_check_row(out, {"「到着時刻」の順に出力されています。"});
  write_check_row(out, {format_text("%s：「到着時刻に同じ」を示す。", kSameAsArrival)});
  out.write_text("\n");
}

std::vector<std::string> column_line(bool with_names) {
  std::vector<std::string> fields{"    ", format_text("%8s", "ﾁｰﾑNo")};
  if (with_names) {
    fields.push_back(format_text(" %-*s", 26, "部門名"));
    fields.push_back(format_text(" %-*s", 24, "チーム名"));
  }
  fields.push_back(format_text("%13s", "到着時刻"));
  fields.push_back(format_text("%13s", "出発時刻"));
  return fields;
}

std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += part;
  return text;
}

void write_single_column(Stream& out, int p, const std::vector<RelayPointEntry>& entries,
                         const ListStyle& style) {
  const EventDefinition& ev = event_definition();
  write_heading(out, p);
  write_check_row(out, column_line(style.with_names));
  Stream mast;
  if (style.with_names) mast = open_mastfile("rb");
  int n = 0;
  for (const RelayPointEntry& e : entries) {
    std::vector<std::string> fields{format_text("%*d:", 3, ++n), format_text("%8d", e.team_no)};
    if (style.with_names) {
      MastRecord rec;
      mast_read(mast, e.rec_no, rec);
      char team_name[kTeamNameSize] = {};
      std::copy(rec.team_name, rec.team_name + kTeamNameSize - 1, team_name);
      const char* division = rec.bumon_no < ev.bumon_suu ? ev.division_names[rec.bumon_no] : "";
      fields.push_back(format_text(" %-*s", 26, division));
      fields.push_back(format_text(" %-*s", 24, team_name));
    }
    fields.push_back("    " + check_time_text(e.arrival));
    fields.push_back("    " + departure_text(e));
    if (style.show_input_seq) fields.push_back(input_seq_text(e));
    write_check_row(out, fields);
  }
  write_page_break();
}

// One entry of the two-column layout, as wide as a column line.
std::string two_column_cell(const RelayPointEntry& e, int number, bool show_input_seq) {
  std::string cell = format_text("%*d:%8d%*s", 3, number, e.team_no, 4, "");
  cell += check_time_text(e.arrival) + "    " + departure_text(e);
  if (show_input_seq) cell += input_seq_text(e);
  return cell;
}

// Pages of 2r entries, the first r on the left; printer only, so nothing is quoted.
void write_two_columns(Stream& out, int p, const std::vector<RelayPointEntry>& entries,
                       const ListStyle& style) {
  const std::size_t rows = static_cast<std::size_t>(style.rows_per_column);
  const std::string columns = joined(column_line(false));
  for (std::size_t first = 0; first < entries.size(); first += 2 * rows) {
    write_heading(out, p);
    out.write_text(columns);
    if (style.show_input_seq) out.write_text(std::string(11, ' '));
    out.write_text(kColumnGap);
    if (first + rows < entries.size()) out.write_text(columns);
    for (std::size_t i = 0; i < rows && first + i < entries.size(); ++i) {
      out.write_text("\n");
      const std::size_t left = first + i;
      out.write_text(two_column_cell(entries[left], static_cast<int>(left) + 1, style.show_input_seq));
      out.write_text(kColumnGap);
      const std::size_t right = left + rows;
      if (right < entries.size()) {
        out.write_text(two_column_cell(entries[right], static_cast<int>(right) + 1, style.show_input_seq));
      }
    }
    out.write_text("\n");
    write_page_break();
  }
}

void write_station_list(Stream& out, int p, const ListStyle& style) {
  std::vector<RelayPointEntry> entries = relay_point_entries(p);
  if (entries.empty()) return;
  sort_by_arrival(entries);
  if (out_kind_no() == kOutPrinter && !style.with_names && style.rows_per_column > 0) {
    write_two_columns(out, p, entries, style);
  } else {
    write_single_column(out, p, entries, style);
  }
}

}  // namespace

void relay_point_check_list(bool with_names, bool ask, int station) {
  const char* title =
      with_names ? "チェック・リスト出力（部門名・チーム名付）" : "チェック・リスト出力";
  for (;;) {
    if (ask) {
      station = select_station(title, kStationChoiceColour, true, true);
      if (station < 0) return;
    }
    if (ask_output_options(true) < 0) {
      if (ask) continue;
      return;
    }
    const ListStyle style = list_style(with_names);
    Stream& out = open_fpout();
    if (station == kAllStations) {
      for (int p = 0; p < event_definition().eki_suu; ++p) write_station_list(out, p, style);
    } else {
      write_station_list(out, station, style);
    }
    closefpout_and_callprt(with_names ? "PRINTCMD67" : "PRINTCMD62");
    return;
  }
}

void relay_point_check_entry() { relay_point_check_list(false, true, 0); }
void relay_point_check_with_names_entry() { relay_point_check_list(true, true, 0); }
