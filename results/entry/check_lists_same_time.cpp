// The same-time check list: teams of one division with equal cumulative times at a
// station, as the computation's same-time rule sees them, with the ranks it gave.
#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "results/entry/check_lists.h"
#include "results/entry/check_lists_common.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"

namespace {

// One team with a cumulative time at the station looked at.
struct TieEntry {
  int bumon_no = 0;
  int team_no = 0;
  int cumulative_seconds = 0;
  std::uint16_t input_seq = 0;
  int slot = 0;  // logical index of the station on the team's course
  MastRecord rec;
};

// Physical station of the first relay point before slot b where the team was started by
// a forced start (departure differs from arrival), or 0.
int first_forced_start(const EventDefinition& ev, const MastRecord& rec, int b) {
  for (int j = 1; j < b; ++j) {
    if (hms_differ(rec.slots[j].departure, rec.slots[j].arrival)) return ev.log_to_phy[rec.bumon_no][j];
  }
  return 0;
}

std::vector<TieEntry> tie_entries(const EventDefinition& ev, const std::vector<MastRecord>& records,
                                  int p) {
  std::vector<TieEntry> entries;
  for (const MastRecord& rec : records) {
    if (rec.bumon_no >= ev.bumon_suu) continue;
    const int b = ev.phy_to_log[rec.bumon_no][p];
    if (b <= 0 || b > ev.sections[rec.bumon_no]) continue;
    if (!hms_is_set(rec.slots[b].cumulative_time)) continue;
    TieEntry e;
    e.bumon_no = rec.bumon_no;
    e.team_no = rec.team_no;
    e.cumulative_seconds = hms_to_seconds(rec.slots[b].cumulative_time);
    e.input_seq = static_cast<std::uint16_t>(rec.slots[b].input_seq);
    e.slot = b;
    e.rec = rec;
    entries.push_back(e);
  }
  std::sort(entries.begin(), entries.end(), [](const TieEntry& a, const TieEntry& b) {
    return std::tie(a.bumon_no, a.cumulative_seconds, a.input_seq, a.team_no) <
           std::tie(b.bumon_no, b.cumulative_seconds, b.input_seq, b.team_no);
  });
  return entries;
}

void write_run(Stream& out, const EventDefinition& ev, const TieEntry* first, const TieEntry* end) {
  const int d = first->bumon_no;
  const int b = first->slot;
  out.printf("\n%s", ev.division_names[d]);
  if (b == ev.sections[d]) {
    out.write_text("（ゴール）\n");
  } else {
    out.printf("（第 %d 中継所）\n", b);
  }
  for (const TieEntry* e = first; e != end; ++e) {
    const StationSlot& slot = e->rec.slots[b];
    char team_name[kTeamNameSize] = {};
    std::memcpy(team_name, e->rec.team_name, kTeamNameSize - 1);
    out.printf("    %3d: %-24s ", e->team_no, team_name);
    hms_print(slot.cumulative_time, out, 11, 1, "");
    if (e->rec.open_flag == '1') {
      out.write_text("オープン参加");
    } else if (slot.cumulative_rank > 0) {
      out.printf("%3d位", slot.cumulative_rank);
    } else {
      out.write_text("     ");  // no rank (for example not at the goal under rule 3)
    }
    const int forced = first_forced_start(ev, e->rec, b);
    if (forced > 0) out.printf(" %sで繰上出発している", ev.station_names[forced]);
    out.write_text("\n");
  }
}

}  // namespace

void same_time_list() {
  const EventDefinition& ev = event_definition();
  std::vector<MastRecord> records;
  {
    Stream mast = open_mastfile("rb");
    MastRecord rec;
    while (mast_read_next(mast, rec)) records.push_back(rec);
  }
  const std::string title = event_title();
  const std::string stamp = date_time_text();
  Stream& out = open_fpout();
  bool written = false;
  for (int p = 1; p < ev.eki_suu; ++p) {
    const std::vector<TieEntry> entries = tie_entries(ev, records, p);
    bool station_heading = false;
    for (std::size_t start = 0; start < entries.size();) {
      std::size_t end = start + 1;
      while (end < entries.size() && entries[end].bumon_no == entries[start].bumon_no &&
             entries[end].cumulative_seconds == entries[start].cumulative_seconds) {
        ++end;
      }
      if (end - start >= 2) {
        if (!station_heading) {
          out.printf("\n*** %s 同タイム・チェック・リスト ***  %s\n", title.c_str(), stamp.c_str());
          out.printf("%02d %s\n", p, ev.station_names[p]);
          station_heading = true;
        }
        write_run(out, ev, entries.data() + start, entries.data() + end);
        written = true;
      }
      start = end;
    }
  }
  if (written) write_page_break();
  closefpout_and_callprt("PRINTCMD66");
}
