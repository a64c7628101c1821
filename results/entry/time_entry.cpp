#include "results/entry/time_entry.h"

#include <string>

#include "results/entry/post_entry_menu.h"
#include "results/entry/time_entry_common.h"
#include "results/entry/warnings.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/select_screens.h"
#include "results/shell/console.h"
#include "results/shell/num_input.h"
#include "results/shell/options.h"
#include "results/shell/regexp.h"

namespace {

// One visit of a relay point: the recent list and whether any team was entered.
struct Visit {
  int station = 0;
  bool show_seq = false;  // option INPUTSEQ present
  RecentList recent;
  bool entered_any = false;
};

// The notice shown before the time of a team that already has data at this relay point.
std::string replacement_notice(const StationSlot& slot) {
  const char* kForcedGone = "このチームのこの中継所での繰上出発タイム%s が消えます。";
  char line[200];
  std::string notice;
  if (hms_is_none(slot.arrival)) {
    if (!hms_is_none(slot.departure)) {
      std::snprintf(line, sizeof line, kForcedGone, entry_time_text(slot.departure).c_str());
      notice = line;
    }
  } else {
    std::snprintf(line, sizeof line, "既に%s が入力済みです。これから入力されるタイムに置き替わります。",
                  entry_time_text(slot.arrival).c_str());
    notice = line;
    if (hms_differ(slot.departure, slot.arrival) && !hms_is_none(slot.departure)) {
      std::snprintf(line, sizeof line, kForcedGone, entry_time_text(slot.departure).c_str());
      notice += "\n";
      notice += line;
    }
  }
  if (!notice.empty())
    notice += "\n-1 を入力すれば、このチームのこの中継所でのデータが未入力の状態に戻ります。";
  return notice;
}

// Asks for the team's time until a usable one is typed. False after Esc.
bool ask_team_time(const EntryTeam& team, HmsTime added, HmsTime& typed, HmsTime& stored) {
  for (;;) {
    clear_row(kEntryPromptRow);
    move_cursor(kEntryPromptRow, 0);
    con_print("%d %s のタイム＝", team.rec.team_no, team.rec.team_name);
    std::string text;
    const int n = num_input(text, 6, nullptr, HINT_ESC | HINT_F5);
    if (n == NUM_INPUT_ESC) return false;
    if (n <= 0) {
      beep();
      continue;
    }
    if (is_clearing_input(text)) {
      typed = kHmsNone;
      stored = kHmsNone;
      return true;
    }
    if (parse_typed_time(text, typed) && hms_is_valid(typed)) {
      hms_add(stored, typed, added);
      if (hms_is_valid(stored)) return true;
    }
    show_entry_notice("入力タイム（" + text + "）エラー");
  }
}

// After an accepted time: the speeds of the section ending and the section starting here.
void check_speeds(const EntryTeam& team, HmsTime typed, HmsTime stored) {
  MastRecord copy = team.rec;
  int reported = speed_check(copy, team.slot, 1);
  copy = team.rec;
  reported += speed_check(copy, team.slot + 1, 1);
  if (reported == 0) return;
  con_print("\n入力タイム＝%s（加算後 %s）", trimmed(entry_time_text(typed), false).c_str(),
            trimmed(entry_time_text(stored), false).c_str());
  wait_confirm();
  clear_from_row(kEntryPromptRow);
}

// One series with one added time: team numbers and times until Esc.
void entry_series(Visit& visit, HmsTime added) {
  unsigned seq = max_input_seq();
  const std::string added_text = hms_format_japanese(added);
  for (;;) {
    clear_top_rows(21);
    draw_entry_header(visit.station, kAddedTimeLabel);
    con_write(added_text);
    set_colour(kAttrDefault);
    visit.recent.draw();

    move_cursor(kEntryPromptRow, 0);
    con_write("チームＮｏ＝");
    std::string typed_no;
    if (num_input(typed_no, 3, nullptr, HINT_ESC | HINT_F5) == NUM_INPUT_ESC) {
      clear_from_row(kEntryPromptRow);
      move_cursor(kEntryPromptRow, 0);
      return;
    }
    EntryTeam team;
    if (!look_up_entry_team(typed_no, visit.station, team)) continue;
    const std::string notice = replacement_notice(team.rec.slots[team.slot]);
    if (!notice.empty()) show_entry_notice(notice);

    HmsTime typed{}, stored{};
    if (!ask_team_time(team, added, typed, stored)) continue;

    StationSlot& slot = team.rec.slots[team.slot];
    slot.arrival = stored;
    slot.departure = stored;  // an arrival replaces a forced start recorded here
    slot.input_seq = static_cast<std::int16_t>(++seq);
    write_entry_record(team.rec_no, team.rec);
    visit.entered_any = true;

    check_speeds(team, typed, stored);

    std::string text = entry_time_text(stored) + " (" + entry_time_text(typed) + " +" +
                       entry_time_text(added) + " )";
    if (visit.show_seq) {
      char number[32];
      std::snprintf(number, sizeof number, "    (%5u)", seq);
      text += number;
    }
    visit.recent.add({team.rec.team_no, team.rec.team_name, text});
  }
}

}  // namespace

void time_entry() {
  std::string ignored;
  const bool show_seq = option_value("INPUTSEQ", ignored);
  for (;;) {
    const int station = select_station("タイム入力", 7, false, false);
    if (station < 0) return;
    Visit visit;
    visit.station = station;
    visit.show_seq = show_seq;
    clear_screen();
    HmsTime added{};
    while (ask_added_time(station, added)) entry_series(visit, added);
    if (visit.entered_any) post_entry_menu(2, station);
  }
}
