// Text pieces the ranking tables share: record fields as strings, fixed-width fields and
// one row of fields as the output destination wants it.
#pragma once
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "results/model/master_records.h"
#include "results/shell/files.h"
#include "results/shell/output.h"

namespace ranking_tables {

// A fixed-size name field of a record as text (it need not end with a NUL).
template <std::size_t N>
std::string field_text(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

inline std::string runner_name(const NameRecord& names, int section) {
  return field_text(names.runners[section]);
}
inline std::string team_name(const MastRecord& rec) { return field_text(rec.team_name); }

// The text right-aligned in width bytes (longer text is kept whole).
inline std::string right_aligned(const std::string& text, int width) {
  const int pad = width - static_cast<int>(text.size());
  return pad > 0 ? std::string(pad, ' ') + text : text;
}
// The text left-aligned in width bytes (longer text is kept whole).
inline std::string left_aligned(const std::string& text, int width) {
  const int pad = width - static_cast<int>(text.size());
  return pad > 0 ? text + std::string(pad, ' ') : text;
}

// The prefix followed by the text (written out so that no text is inserted in front of a
// temporary string).
inline std::string prefixed(const char* prefix, const std::string& text) {
  std::string joined(prefix);
  joined += text;
  return joined;
}

// "(%3d %-24s)": the team number and the team name.
inline std::string team_field(const MastRecord& rec) {
  char number[16];
  std::snprintf(number, sizeof number, "(%3d ", rec.team_no);
  return prefixed(number, left_aligned(team_name(rec), 24)) + ")";
}

// " %5.2fkm/h".
inline std::string speed_field(double kmh) {
  char text[64];
  std::snprintf(text, sizeof text, " %5.2fkm/h", kmh);
  return text;
}

// One row: the quote, the fields joined by the field separator, the quote, a line end.
// The quote and the separator are empty for the printer and for undelimited data.
inline void write_row(Stream& out, const std::vector<std::string>& fields) {
  write_quote();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) write_field_separator();
    out.write_text(fields[i]);
  }
  write_quote();
  out.write_text("\n");
}

}  // namespace ranking_tables
