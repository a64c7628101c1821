#include "results/entry/check_lists_common.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <tuple>

#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/shell/files.h"
#include "results/shell/output.h"

std::vector<RelayPointEntry> relay_point_entries(int p) {
  const EventDefinition& ev = event_definition();
  std::vector<RelayPointEntry> entries;
  if (p < 0 || p >= ev.eki_suu) return entries;
  Stream mast = open_mastfile("rb");
  MastRecord rec;
  for (int rec_no = 0; mast_read_next(mast, rec); ++rec_no) {
    if (rec.bumon_no >= ev.bumon_suu) continue;
    const int k = ev.phy_to_log[rec.bumon_no][p];
    if (k < 1 || k > ev.sections[rec.bumon_no]) continue;
    RelayPointEntry e;
    e.team_no = rec.team_no;
    const auto seq = static_cast<std::uint16_t>(rec.slots[k].input_seq);
    e.input_seq = seq == 0 ? RelayPointEntry::kNoInputSeq : seq;
    e.arrival = rec.slots[k].arrival;
    e.departure = rec.slots[k].departure;
    e.rec_no = rec_no;
    entries.push_back(e);
  }
  return entries;
}

void sort_by_arrival(std::vector<RelayPointEntry>& entries) {
  auto key = [](const RelayPointEntry& e) {
    return std::make_tuple(hms_to_seconds(e.arrival), hms_to_seconds(e.departure), e.input_seq,
                           e.team_no);
  };
  std::sort(entries.begin(), entries.end(),
            [&](const RelayPointEntry& a, const RelayPointEntry& b) { return key(a) < key(b); });
}

void sort_by_arrival_and_input(std::vector<RelayPointEntry>& entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const RelayPointEntry& a, const RelayPointEntry& b) {
                     return std::make_tuple(hms_to_seconds(a.arrival), a.input_seq) <
                            std::make_tuple(hms_to_seconds(b.arrival), b.input_seq);
                   });
}

std::string check_time_text(HmsTime t) {
  std::string text;
  hms_format(t, text, 9, 0, "NoData");
  return text;
}

std::string format_text(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

void write_check_row(Stream& out, const std::vector<std::string>& fields) {
  write_quote();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) write_field_separator();
    out.write_text(fields[i]);
  }
  write_quote();
  out.write_text("\n");
}
