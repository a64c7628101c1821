#include "results/entry/warnings.h"

#include <cstring>

#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/shell/console.h"

namespace {

int sections_of(const EventDefinition& ev, const MastRecord& rec) {
  return rec.bumon_no < ev.bumon_suu ? ev.sections[rec.bumon_no] : 0;
}

const char* station_name(const EventDefinition& ev, int division, int logical) {
  const int phy = ev.log_to_phy[division][logical];
  return phy >= 0 && phy < kMaxStations ? ev.station_names[phy] : "";
}

// The warnings of one scan: the count over all teams, the team line before the first
// printed warning of each team, and the closing lines.
class WarningBlock {
 public:
  // True when the next warning is to be printed (one of the first five); the team line
  // goes out first when this is the team's first printed warning.
  bool next(const MastRecord& rec) {
    ++count_;
    if (count_ > kWarningsShown) return false;
    if (team_no_ != rec.team_no || !team_shown_) {
      const EventDefinition& ev = event_definition();
      beep();
      set_colour(kAttrRed);
      con_print("\n警告 ");
      set_colour(kAttrWhite);
      con_print("チームＮｏ=%d %s（%s）\n", rec.team_no, rec.team_name,
                rec.bumon_no < ev.bumon_suu ? ev.division_names[rec.bumon_no] : "");
      team_no_ = rec.team_no;
      team_shown_ = true;
    }
    return true;
  }
  void new_team() { team_shown_ = false; }
  int finish() {
    if (count_ > kWarningsShown) {
      con_print("\n警告は全部で %d件あります。初めの %d件だけを表示しました。\n", count_,
                kWarningsShown);
    }
    if (count_ > 0) wait_confirm();
    return count_;
  }

 private:
  int count_ = 0;
  int team_no_ = -1;
  bool team_shown_ = false;
};

}  // namespace

int missing_departure_check(int mask) {
  const EventDefinition& ev = event_definition();
  WarningBlock block;
  Stream mast = open_mastfile("rb");
  MastRecord rec;
  while (mast_read_next(mast, rec)) {
    block.new_team();
    const int d = rec.bumon_no;
    const int n = sections_of(ev, rec);
    for (int i = 1; i <= n; ++i) {
      const bool missing = hms_is_valid(rec.slots[i].arrival) &&
                           !hms_is_valid(rec.slots[i - 1].departure);
      if (!missing || (mask & kMissingDepartureBeforeArrival) == 0) continue;
      if (!block.next(rec)) continue;
      con_print("\t第%d中継所(%s)で出発時刻なし。第%d中継所(%s)で到着時刻あり。\n", i - 1,
                station_name(ev, d, i - 1), i, station_name(ev, d, i));
    }
  }
  mast.close();
  return block.finish();
}

int arrival_before_departure_check() {
  const EventDefinition& ev = event_definition();
  WarningBlock block;
  Stream mast = open_mastfile("rb");
  MastRecord rec;
  while (mast_read_next(mast, rec)) {
    block.new_team();
    const int d = rec.bumon_no;
    const int n = sections_of(ev, rec);
    for (int i = 0; i <= n; ++i) {
      const HmsTime arrival = rec.slots[i].arrival;
      const HmsTime departure = rec.slots[i].departure;
      if (hms_to_seconds(arrival) >= hms_to_seconds(departure)) continue;
      if (!block.next(rec)) continue;
      con_print("\t第%d中継所(%s)で到着時刻が出発時刻より早い。\n", i, station_name(ev, d, i));
      con_print("\t\t到着時刻=%0d:%02d'%02d", arrival.hours, arrival.minutes, arrival.seconds);
      con_print("\t出発時刻=%0d:%02d'%02d\n", departure.hours, departure.minutes,
                departure.seconds);
    }
  }
  mast.close();
  return block.finish();
}

int speed_check(MastRecord& record, int a, int report) {
  const EventDefinition& ev = event_definition();
  const int d = record.bumon_no;
  if (a < 1 || a > sections_of(ev, record)) return 0;

  // The section time as the computation derives it.
  record.slots[a].section_time = compute_section_time(record, a);
  const int seconds = hms_to_seconds(record.slots[a].section_time);
  if (seconds == 0) return 0;

  const int from = ev.log_to_phy[d][a - 1];
  const int to = ev.log_to_phy[d][a];
  if (from < 0 || to < 0) return 0;
  const double km = ev.distances[to] - ev.distances[from];
  // km per second scaled, so that a speed exactly at a limit compares equal.
  const double speed = km * 3600.0 / seconds;
  if (speed > ev.slow_speed_limit && speed < ev.fast_speed_limit) return 0;

  if (report) {
    beep();
    set_colour(kAttrRed);
    con_print("\n異常スピード");
    set_colour(kAttrWhite);
    con_print("%6.2fkm/h No=%d %s %d区", speed, record.team_no, record.team_name, a);
    con_write(kyori_text(km, 6, "km"));
    con_print(" %s→%s", ev.station_names[from], ev.station_names[to]);
  }
  return 1;
}

int speed_check_all(const std::string& master_file) {
  const EventDefinition& ev = event_definition();
  int found = 0;
  MastHeader header;
  Stream mast = mast_open(master_file, "rb", header);
  MastRecord rec;
  while (mast_read_next(mast, rec)) {
    const int n = sections_of(ev, rec);
    for (int a = 1; a <= n; ++a) {
      found += speed_check(rec, a, found < kSpeedWarningsShown ? 1 : 0);
    }
  }
  mast.close();
  if (found > 0) {
    con_print("\n異常スピードは全部で %d 件あります\n", found);
    wait_confirm();
  }
  return found;
}
