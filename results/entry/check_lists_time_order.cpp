// The time-ordered grid: one column per relay point, its teams sorted by arrival. Each
// station's sorted entries wait in a temporary file of their own, so that only one
// station's entries are in memory at a time.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "results/entry/check_lists.h"
#include "results/entry/check_lists_common.h"
#include "results/model/event_definition.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"
#include "results/shell/console.h"
#include "results/shell/stops.h"

namespace {

constexpr int kGridCell = 13;

// One entry as stored in a station's temporary file: team number, input sequence number,
// arrival and departure, little-endian.
constexpr std::size_t kStoredEntryBytes = 10;

void store_entry(Stream& file, const RelayPointEntry& e) {
  const auto team = static_cast<std::uint16_t>(e.team_no);
  const unsigned char bytes[kStoredEntryBytes] = {
      static_cast<unsigned char>(team & 0xFF), static_cast<unsigned char>(team >> 8),
      static_cast<unsigned char>(e.input_seq & 0xFF), static_cast<unsigned char>(e.input_seq >> 8),
      e.arrival.hours, e.arrival.minutes, e.arrival.seconds,
      e.departure.hours, e.departure.minutes, e.departure.seconds};
  if (file.write(bytes, sizeof bytes) != sizeof bytes) {
    con_print("\nwrite error: %s\n", file.name().c_str());
    fatal_stop();
  }
}

bool load_entry(Stream& file, RelayPointEntry& e) {
  unsigned char bytes[kStoredEntryBytes];
  if (file.read(bytes, sizeof bytes) != sizeof bytes) return false;
  e.team_no = static_cast<std::int16_t>(bytes[0] | bytes[1] << 8);
  e.input_seq = static_cast<std::uint16_t>(bytes[2] | bytes[3] << 8);
  e.arrival = HmsTime{bytes[4], bytes[5], bytes[6]};
  e.departure = HmsTime{bytes[7], bytes[8], bytes[9]};
  return true;
}

struct StationColumn {
  int station = 0;
  int count = 0;
  std::string file_name;
  Stream file;
};

std::string column_file_name(int p) { return format_text("_$$$%03d_.tmp", p); }

std::string grid_cell(const RelayPointEntry& e) {
  std::string cell = format_text("%4d", e.team_no);
  if (hms_is_valid(e.arrival)) {
    cell += format_text("%3d%02d%02d", e.arrival.hours, e.arrival.minutes, e.arrival.seconds);
  } else {
    cell += format_text("%7s", "NoData");
  }
  const bool forced = hms_is_valid(e.departure) && hms_differ(e.departure, e.arrival);
  return cell + (forced ? "& " : "  ");
}

}  // namespace

void time_order_grid() {
  if (ask_output_options(true) < 0) return;
  const EventDefinition& ev = event_definition();
  std::vector<StationColumn> columns;
  for (int p = 0; p < ev.eki_suu; ++p) {
    std::vector<RelayPointEntry> entries = relay_point_entries(p);
    if (entries.empty()) continue;
    sort_by_arrival_and_input(entries);
    StationColumn column{p, static_cast<int>(entries.size()), column_file_name(p), {}};
    Stream file = open_retry(column.file_name, "wb");
    for (const RelayPointEntry& e : entries) store_entry(file, e);
    close_or_stop(file);
    columns.push_back(std::move(column));
  }

  Stream& out = open_fpout();
  out.write_text("\n");
  write_check_row(out, {"*** " + event_title() + " チェック・リスト（各中継所でタイム順） ***  " +
                        date_time_text()});
  write_check_row(out, {"（ﾁｰﾑNo  到着時刻  &=繰上出発）"});
  out.write_text("\n");
  std::vector<std::string> numbers{"    "};
  std::vector<std::string> names{"    "};
  int rows = 0;
  for (StationColumn& column : columns) {
    numbers.push_back(format_text(" %-*d", 12, column.station));
    names.push_back(format_text(" %-*s", 12, ev.station_names[column.station]));
    rows = std::max(rows, column.count);
    column.file = open_retry(column.file_name, "rb");
  }
  write_check_row(out, numbers);
  write_check_row(out, names);
  out.write_text("\n");
  for (int n = 1; n <= rows; ++n) {
    std::vector<std::string> fields{format_text("%*d:", 3, n)};
    for (StationColumn& column : columns) {
      RelayPointEntry e;
      if (n <= column.count && load_entry(column.file, e)) {
        fields.push_back(grid_cell(e));
      } else {
        fields.push_back(std::string(kGridCell, ' '));
      }
    }
    write_check_row(out, fields);
  }
  write_page_break();
  for (StationColumn& column : columns) {
    column.file.close();
    remove_file(column.file_name);
  }
  closefpout_and_callprt("PRINTCMD68");
}
