// Pieces shared by the arrival entry, the forced-start entry and the text-file import:
// the notice line, the list of teams handled last, the reading of typed times, and the
// master-record access of one team at one relay point.
#pragma once
#include <string>
#include <vector>

#include "results/model/hms_time.h"
#include "results/model/master_records.h"

// Screen rows of the entry dialogues.
inline constexpr int kEntryHeaderRow = 0;
inline constexpr int kEntryListRow = 2;
inline constexpr int kEntryPromptRow = 20;
inline constexpr int kEntryNoticeRow = 22;
inline constexpr int kEntryHeaderCol = 8;
inline constexpr int kRecentListSize = 15;
inline constexpr int kShownNameWidth = 24;

// Bell, rows 22 to the bottom cleared, the text at row 22 in bright white on red.
void show_entry_notice(const std::string& text);

// The teams handled last at this relay point, newest last; a team entered again moves to
// the end, and the oldest falls off beyond 15.
class RecentList {
 public:
  struct Entry {
    int team_no = 0;
    std::string name;
    std::string text;  // what was stored (arrival entry); empty for forced starts
  };
  void add(Entry entry);
  void clear() { entries_.clear(); }
  const std::vector<Entry>& entries() const { return entries_; }
  // One row per entry from row 2: "%3d %-24s %s".
  void draw() const;

 private:
  std::vector<Entry> entries_;
};

// A time typed as one number hhmmss (empty text is for the caller to handle; here
// "-" and "-0" are 0:00:00). Returns false for text that is not a number or
// a number outside 0 .. 999999 (negative numbers included).
bool parse_typed_time(const std::string& text, HmsTime& time);
// The text is a negative number ("-1", "-25"): the time is to be cleared.
bool is_clearing_input(const std::string& text);

// hms_format with width 9, mode 0 and "NoData", as the entry screens show times.
std::string entry_time_text(HmsTime t);

// The header of the entry screens at row 0, column 8 in white on blue:
// "%2d : %s　　<label>" with the station number and working name.
void draw_entry_header(int station, const char* label);

inline constexpr const char* kAddedTimeLabel = "加算時間＝";

// Asks at row 0 for the added time of the next series (empty input is 0:00:00; a time
// that does not parse beeps and is asked again). False after Esc.
bool ask_added_time(int station, HmsTime& added);

// The team of a typed number, read from MASTFILE.DAT. Shows the notices of a wrong
// number or a team whose course does not pass the station and returns false then.
struct EntryTeam {
  int rec_no = -1;
  int slot = -1;  // logical index of the station on the team's course
  MastRecord rec;
};
bool look_up_entry_team(const std::string& typed, int station, EntryTeam& team);

// Writes one record back into MASTFILE.DAT at once (opened for update and closed again).
void write_entry_record(int rec_no, const MastRecord& rec);
