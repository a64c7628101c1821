#include "results/entry/team_count.h"

#include <cstring>

#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/shell/console.h"

void team_count_body(const std::string& master_file, Stream* out) {
  const EventDefinition& ev = event_definition();
  int counts[kMaxDivisions] = {};
  {
    MastHeader header;
    Stream mast = mast_open(master_file, "rb", header);
    MastRecord rec;
    while (mast_read_next(mast, rec)) {
      if (rec.bumon_no < kMaxDivisions) ++counts[rec.bumon_no];
    }
  }
  int width = 0;
  for (int i = 0; i < ev.bumon_suu; ++i) {
    width = std::max(width, static_cast<int>(std::strlen(ev.division_names[i])));
  }
  auto write = [out](const char* format, auto... args) {
    if (out != nullptr) {
      out->printf(format, args...);
    } else {
      con_print(format, args...);
    }
  };
  int total = 0;
  for (int i = 0; i < ev.bumon_suu; ++i) {
    write("%2d: %-*s %3dチーム\n", i + 1, width, ev.division_names[i], counts[i]);
    total += counts[i];
  }
  write("%*s合計 %3dチーム\n", width, "", total);
}
