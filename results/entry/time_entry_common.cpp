#include "results/entry/time_entry_common.h"

#include <cerrno>
#include <cstdlib>

#include "results/entry/time_entry.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/shell/console.h"
#include "results/shell/num_input.h"

namespace {

constexpr Attr kAttrEntryHeader = 0x9F;  // white on blue
constexpr Attr kAttrEntryNotice = 0xCF;  // bright white on red

}  // namespace

void show_entry_notice(const std::string& text) {
  beep();
  clear_from_row(kEntryNoticeRow);
  move_cursor(kEntryNoticeRow, 0);
  set_colour(kAttrEntryNotice);
  con_write(text);
  set_colour(kAttrDefault);
}

void RecentList::add(Entry entry) {
  std::erase_if(entries_, [&](const Entry& e) { return e.team_no == entry.team_no; });
  entries_.push_back(std::move(entry));
  if (entries_.size() > static_cast<std::size_t>(kRecentListSize)) entries_.erase(entries_.begin());
}

void RecentList::draw() const {
  int row = kEntryListRow;
  for (const Entry& e : entries_) {
    move_cursor(row++, 0);
    if (e.text.empty())
      con_print("%3d %-*s", e.team_no, kShownNameWidth, e.name.c_str());
    else
      con_print("%3d %-*s %s", e.team_no, kShownNameWidth, e.name.c_str(), e.text.c_str());
  }
}

bool parse_typed_time(const std::string& text, HmsTime& time) {
  char* end = nullptr;
  errno = 0;
  const long n = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || n < 0 || n > 999999) return false;
  if (end == text.c_str() && text != "-") return false;  // no digits at all
  hms_set(time, static_cast<int>(n / 10000 % 100), static_cast<int>(n / 100 % 100),
          static_cast<int>(n % 100));
  return true;
}

bool is_clearing_input(const std::string& text) {
  return std::strtol(text.c_str(), nullptr, 10) < 0;
}

std::string entry_time_text(HmsTime t) {
  std::string out;
  hms_format(t, out, 9, 0, "NoData");
  return out;
}

void draw_entry_header(int station, const char* label) {
  move_cursor(kEntryHeaderRow, kEntryHeaderCol);
  set_colour(kAttrEntryHeader);
  con_print("%2d : %s　　%s", station, event_definition().station_nicknames[station], label);
}

bool look_up_entry_team(const std::string& typed, int station, EntryTeam& team) {
  const int team_no = std::atoi(typed.c_str());
  const int rec_no = team_no >= 1 && team_no <= 999 ? team_index_lookup(mastfile_index(), team_no) : -1;
  if (rec_no < 0) {
    show_entry_notice(std::string("チームＮｏ（") + typed + "）エラー");
    return false;
  }
  clear_from_row(kEntryNoticeRow);
  {
    Stream mast = open_mastfile("rb");
    mast_read(mast, rec_no, team.rec);
    close_or_stop(mast);
  }
  const EventDefinition& ev = event_definition();
  const int d = team.rec.bumon_no;
  team.rec_no = rec_no;
  team.slot = d <= kMaxDivisions ? ev.phy_to_log[d][station] : -1;
  if (team.slot < 0 || team.slot > kMaxSections) {
    const char* division = d < kMaxDivisions ? ev.division_names[d] : "";
    std::string text(ev.station_nicknames[station]);
    text += " は ";
    text += division;
    text += " の中継所ではありません";
    show_entry_notice(text);
    return false;
  }
  return true;
}

void write_entry_record(int rec_no, const MastRecord& rec) {
  Stream mast = open_mastfile("r+b");
  mast_write(mast, rec_no, rec);
  close_or_stop(mast);
}

// Asks for the added time of the next series; false after Esc.
bool ask_added_time(int station, HmsTime& added) {
  for (;;) {
    clear_row(kEntryHeaderRow);
    draw_entry_header(station, kAddedTimeLabel);
    set_colour(kAttrDefault);
    std::string text;
    const int n = num_input(text, 6, nullptr, HINT_ESC | HINT_F5);
    if (n == NUM_INPUT_ESC) return false;
    added = HmsTime{};
    if (n == 0) return true;
    if (parse_typed_time(text, added) && hms_is_valid(added)) return true;
    beep();
  }
}

unsigned max_input_seq(const std::string& master_file) {
  const EventDefinition& ev = event_definition();
  unsigned largest = 0;
  MastHeader header;
  Stream mast = mast_open(master_file, "rb", header);
  MastRecord rec;
  while (mast_read_next(mast, rec)) {
    const int sections = rec.bumon_no < kMaxDivisions ? ev.sections[rec.bumon_no] : 0;
    for (int k = 1; k <= sections && k <= kMaxSections; ++k) {
      const auto seq = static_cast<std::uint16_t>(rec.slots[k].input_seq);
      if (seq > largest) largest = seq;
    }
  }
  close_or_stop(mast);
  return largest;
}
