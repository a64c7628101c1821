#include "results/reports/goal_flash.h"

#include <cstring>

#include "results/compute/course.h"
#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"

namespace {

constexpr int kTimeWidth = 9;
constexpr const char* kNoData = "NoData";

void write_division_heading(Stream& out, const EventDefinition& ev, int d,
                            const std::string& stamp) {
  out.printf("\n*** %s ゴール速報 ***  %s\n", event_title().c_str(), stamp.c_str());
  out.write_text("注意！この資料は正式なチーム順位表ではありません\n");
  out.write_text("途中の中継所のデータは、入力済／未入力にかかわらず一切無視されています\n\n");
  out.printf("%-38sゴール     スタート           差\n", ev.division_names[d]);
}

void write_team_line(Stream& out, int position, const MastRecord& rec, int goal) {
  char team_name[kTeamNameSize] = {};
  std::memcpy(team_name, rec.team_name, kTeamNameSize - 1);
  out.printf("%3d: %3d %-26s", position, rec.team_no, team_name);
  const HmsTime arrival = rec.slots[goal].arrival;
  const HmsTime start = rec.slots[0].departure;
  hms_print(arrival, out, kTimeWidth, 0, kNoData);
  out.write_text(" － ");
  hms_print(start, out, kTimeWidth, 0, kNoData);
  out.write_text(" ＝ ");
  // A missing time on either side, or a goal before the start, leaves no valid difference.
  HmsTime elapsed;
  hms_sub(elapsed, arrival, start);
  hms_print(elapsed, out, kTimeWidth, 1, kNoData);
  out.write_text("\n");
}

}  // namespace

int write_goal_flash(Stream& out, const std::vector<GoalEntry>& entries,
                     const std::string& stamp) {
  const EventDefinition& ev = event_definition();
  Stream mast = open_mastfile("rb");
  int written = 0;
  int division = -1;
  int position = 0;
  for (const GoalEntry& entry : entries) {
    if (written >= kMaxTeams) break;  // the list holds one master file's worth of teams
    MastRecord rec;
    mast_read(mast, entry.rec_no, rec);
    // A record of a division the race no longer describes has no heading to stand under.
    if (rec.bumon_no >= ev.bumon_suu || rec.bumon_no >= kMaxDivisions) continue;
    if (rec.bumon_no != division) {
      division = rec.bumon_no;
      position = 0;
      write_division_heading(out, ev, division, stamp);
    }
    write_team_line(out, ++position, rec, team_sections(ev, rec));
    ++written;
  }
  close_or_stop(mast);
  return written;
}

void print_goal_flash() {
  if (ask_output_options(false) == -1) return;
  const std::vector<GoalEntry> entries = make_goal_order();
  Stream& out = open_fpout();
  if (write_goal_flash(out, entries, date_time_text()) > 0) write_page_break();
  closefpout_and_callprt("PRINTCMD70");
}
