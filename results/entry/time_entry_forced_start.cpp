// Forced starts (繰上出発): one forced-start time for a relay point, then the numbers of
// every team whose next runner was sent at that time. Only the departure changes.
#include <string>

#include "results/entry/post_entry_menu.h"
#include "results/entry/time_entry.h"
#include "results/entry/time_entry_common.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/select_screens.h"
#include "results/shell/console.h"
#include "results/shell/num_input.h"

namespace {

constexpr Attr kAttrWarning = 0x0C;   // red
constexpr Attr kAttrTeamName = 0x0B;  // light cyan
constexpr const char* kForcedLabel = "繰上出発タイム＝";

int g_station = -1;       // relay point of the last forced-start dialogue
HmsTime g_forced_time{};  // its forced-start time

// Asks for the forced-start time; false after Esc. No added time, no clearing.
bool ask_forced_time(int station, HmsTime& time) {
  for (;;) {
    con_print("%2d : %s　　%s", station, event_definition().station_nicknames[station], kForcedLabel);
    std::string text;
    const int n = num_input(text, 6, nullptr, HINT_ESC | HINT_F5);
    if (n == NUM_INPUT_ESC) return false;
    if (n > 0 && !is_clearing_input(text) && parse_typed_time(text, time) && hms_is_valid(time))
      return true;
    beep();
    move_cursor(cursor_position().row, 0);
  }
}

// The team-number loop; returns the number of teams given the forced start.
int forced_start_series(int station, HmsTime forced) {
  RecentList recent;
  int count = 0;
  for (;;) {
    clear_top_rows(21);
    draw_entry_header(station, kForcedLabel);
    con_write(entry_time_text(forced));
    set_colour(kAttrDefault);
    recent.draw();

    move_cursor(kEntryPromptRow, 0);
    con_write("\nチームＮｏ＝");
    std::string typed_no;
    if (num_input(typed_no, 3, forced_start_warning, HINT_ESC | HINT_F5) == NUM_INPUT_ESC) return count;
    EntryTeam team;
    if (!look_up_entry_team(typed_no, station, team)) continue;
    clear_from_row(kEntryNoticeRow);
    move_cursor(kEntryNoticeRow, 0);
    set_colour(kAttrTeamName);
    con_write(team.rec.team_name);
    set_colour(kAttrDefault);

    // Read again just before writing: only the departure of this slot changes.
    Stream mast = open_mastfile("r+b");
    MastRecord rec;
    mast_read(mast, team.rec_no, rec);
    rec.slots[team.slot].departure = forced;
    mast_write(mast, team.rec_no, rec);
    close_or_stop(mast);
    ++count;
    recent.add({rec.team_no, rec.team_name, ""});
  }
}

}  // namespace

int forced_start_station() { return g_station; }
HmsTime forced_start_time() { return g_forced_time; }

void forced_start_entry(int mode, int station) {
  for (;;) {
    if (mode == 1) {
      // The forced-start time is asked right under the relay-point chooser.
      station = select_station("繰上出発タイム入力", 2, false, false);
      if (station < 0) return;
    } else {
      clear_screen();
      con_write("\t繰上出発タイム入力では、加算時間は無効です。\n\n");
    }
    HmsTime forced{};
    if (!ask_forced_time(station, forced)) {
      if (mode == 1) continue;
      return;
    }
    g_station = station;
    g_forced_time = forced;

    const int count = forced_start_series(station, forced);
    if (count == 0) {
      beep();
      clear_from_row(kEntryPromptRow);
      move_cursor(kEntryPromptRow, 0);
      set_colour(kAttrWarning);
      con_write("警告！ナンバーを１件も入力していません");
      set_colour(kAttrDefault);
      move_cursor(kEntryPromptRow + 1, 0);
      wait_confirm();
    }
    forced_start_warning();
    if (count > 0) post_entry_menu(1, station);
    return;
  }
}

void forced_start_entry_from_menu() { forced_start_entry(1, -1); }

void forced_start_warning() {
  clear_from_row(kEntryPromptRow);
  move_cursor(kEntryPromptRow, 0);
  if (g_station < 0) return;
  const EventDefinition& ev = event_definition();
  const int forced_seconds = hms_to_seconds(g_forced_time);
  int listed = 0;
  Stream mast = open_mastfile("rb");
  MastRecord rec;
  while (mast_read_next(mast, rec)) {
    if (rec.bumon_no > kMaxDivisions) continue;
    const int k = ev.phy_to_log[rec.bumon_no][g_station];
    // A division that starts here has no hand-over to force.
    if (k < 1) continue;
    const StationSlot& slot = rec.slots[k];
    if (hms_to_seconds(slot.arrival) <= forced_seconds || hms_equal(slot.departure, g_forced_time))
      continue;
    if (listed == 0) {
      beep();
      move_cursor(kEntryPromptRow, 0);
      set_colour(kAttrWarning);
      con_write("警告！次のチームは繰上出発ではありませんか？");
      move_cursor(kEntryPromptRow + 1, 0);
      set_colour(kAttrDefault);
    }
    con_print("%4d", rec.team_no);
    if (++listed % 10 == 0) con_write("\n");
  }
  close_or_stop(mast);
  if (listed > 0) wait_confirm();
}
