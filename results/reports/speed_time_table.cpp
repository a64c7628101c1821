#include "results/reports/speed_time_table.h"

#include <cstdio>

#include "results/model/hms_time.h"
#include "results/shell/files.h"
#include "results/shell/output.h"

std::string speed_table_cell(int distance, int half_kmh) {
  // t = distance / (speed x 1000 / 3600) with speed = half_kmh / 2, as one fraction.
  const long long numerator = static_cast<long long>(distance) * 7200;
  const long long denominator = static_cast<long long>(half_kmh) * 1000;
  char text[32];
  if (numerator < 60 * denominator) {
    std::snprintf(text, sizeof text, "%7.2f",
                  static_cast<double>(numerator) / static_cast<double>(denominator));
    return text;
  }
  HmsTime t;
  hms_from_seconds(t, static_cast<int>(numerator / denominator));
  std::string formatted;
  hms_format(t, formatted, 9, 0, "");
  return formatted.size() > 2 ? formatted.substr(2) : std::string();
}

void write_speed_time_table(Stream& out) {
  out.write_text("スピード：タイム換算表\n\n");
  out.write_text("km/h");
  for (int distance : kSpeedTableDistances) out.printf("\t%*dm", 6, distance);
  out.write_text("\n");
  for (int half_kmh = kSpeedTableFastestHalfKmh; half_kmh >= kSpeedTableSlowestHalfKmh;
       --half_kmh) {
    out.printf("%4.1f", half_kmh / 2.0);
    for (int distance : kSpeedTableDistances) {
      out.printf("\t%s", speed_table_cell(distance, half_kmh).c_str());
    }
    out.write_text("\n");
  }
}

void print_speed_time_table() {
  write_speed_time_table(open_fpout());
  closefpout_and_callprt("PRINTCMD94");
}
