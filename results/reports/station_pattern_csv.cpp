#include "results/reports/station_pattern_csv.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "results/reports/data_files.h"
#include "results/shell/files.h"

std::string csv_quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';  // never a CP932 trail byte
    out += c;
  }
  return out + "\"";
}

std::string station_role(const EventDefinition& ev, int d, int s) {
  const int k = ev.phy_to_log[d][s];
  if (k < 0) return "";
  if (k == 0) return "スタート";
  if (k == ev.sections[d]) return "ゴール";
  char text[32];
  std::snprintf(text, sizeof text, "第%d中継所", k);
  return text;
}

namespace {

// Appends "," and the quoted field.
void add_field(std::string& line, const std::string& text) {
  line += ',';
  line += csv_quoted(text);
}

}  // namespace

void write_station_pattern(Stream& out, const EventDefinition& ev) {
  const int divisions = std::min(ev.bumon_suu, kMaxDivisions);
  const int stations = std::min(ev.eki_suu, kMaxStations);
  std::string line = csv_quoted("駅No");
  add_field(line, "駅名");
  add_field(line, "作業用駅名");
  for (int d = 0; d < divisions; ++d) {
    add_field(line, record_text(ev.division_names[d], kDivisionNameSize));
  }
  out.write_text(line + "\n");
  for (int s = 0; s < stations; ++s) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", s);
    line = csv_quoted(number);
    add_field(line, record_text(ev.station_names[s], kStationNameSize));
    add_field(line, record_text(ev.station_nicknames[s], kNicknameSize));
    for (int d = 0; d < divisions; ++d) add_field(line, station_role(ev, d, s));
    out.write_text(line + "\n");
  }
}

void write_station_csv() {
  Stream out = open_retry(kStationPatternFile, "w");
  write_station_pattern(out, event_definition());
  close_or_stop(out);
  open_written_file(kStationPatternFile);
}
