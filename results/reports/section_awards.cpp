#include "results/reports/section_awards.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>

#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/reports/data_files.h"
#include "results/reports/section_speeds.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "results/shell/output.h"
#include "results/shell/process.h"
#include "results/shell/sjis.h"

namespace {

constexpr int kTeamNameWidth = 24;
constexpr int kStationNameWidth = 12;
constexpr int kTimeCellWidth = 11;

// What one line or row tells about a winner, read from the master and name files.
struct WinnerFacts {
  int section = 0;
  int division = 0;
  int team_no = 0;
  std::string team_name;
  std::string runner;
  HmsTime time = kHmsNone;
  std::string from_station;
  std::string to_station;
  double km = 0.0;
  bool has_speed = false;  // a set section time; rank 1 always has one
  double speed = 0.0;      // km/h
};

// A fixed-size text field of a record as a string (its NUL or its full size ends it).
std::string field_text(const char* field, std::size_t size) {
  return std::string(field, strnlen(field, size));
}

WinnerFacts read_facts(Stream& mast, Stream& names, const SectionWinner& w) {
  const EventDefinition& ev = event_definition();
  MastRecord rec;
  NameRecord runners;
  mast_read(mast, w.rec_no, rec);
  name_read(names, w.rec_no, runners);
  WinnerFacts f;
  f.section = w.section;
  f.division = w.division;
  f.team_no = rec.team_no;
  f.team_name = field_text(rec.team_name, kTeamNameSize - 1);
  f.runner = field_text(runners.runners[w.section], kRunnerNameSize - 1);
  f.time = rec.slots[w.section].section_time;
  f.from_station = ev.station_names[ev.log_to_phy[w.division][w.section - 1]];
  f.to_station = ev.station_names[ev.log_to_phy[w.division][w.section]];
  f.km = section_distance_km(w.division, w.section);
  f.has_speed = hms_is_set(f.time);
  if (f.has_speed) f.speed = f.km / hms_to_hours(f.time);
  return f;
}

// Calls write(facts) for every winner in order, with the master and name files open.
template <typename Write>
void for_each_winner(const std::vector<SectionWinner>& winners, Write write) {
  if (winners.empty()) return;
  Stream mast = open_mastfile("rb");
  Stream names = open_retry(kNameFile, "rb");
  for (const SectionWinner& w : winners) write(read_facts(mast, names, w));
  close_or_stop(mast);
  close_or_stop(names);
}

std::vector<SectionWinner> sorted_winners(SectionAwardOrder order) {
  std::vector<SectionWinner> winners = collect_section_winners();
  sort_section_winners(winners, order);
  return winners;
}

int longest_division_name() {
  const EventDefinition& ev = event_definition();
  int longest = 0;
  for (int d = 0; d < ev.bumon_suu && d < kMaxDivisions; ++d)
    longest = std::max(longest, static_cast<int>(std::strlen(ev.division_names[d])));
  return longest;
}

// The list's lines, one winner at a time; remembers the group of the line before.
class ListWriter {
 public:
  ListWriter(Stream& out, SectionAwardOrder order, bool with_route)
      : out_(out),
        order_(order),
        with_route_(with_route),
        runner_width_(runner_name_width()),
        division_width_(longest_division_name()) {}

  void write(const WinnerFacts& f) {
    const bool continuation = order_ == SectionAwardOrder::kByDivision
                                  ? division_group_label(f)
                                  : section_group_label(f);
    if (!continuation) hms_print(f.time, out_, kTimeCellWidth, 1, "");
    out_.printf("%-*s", runner_width_, f.runner.c_str());
    out_.printf("(%3d %-*s)", f.team_no, kTeamNameWidth, f.team_name.c_str());
    if (with_route_ && !continuation) {
      out_.printf(" %*s → %-*s ", kStationNameWidth, f.from_station.c_str(), kStationNameWidth,
                  f.to_station.c_str());
      print_kyori(&out_, nullptr, 0, f.km, 6, "km");
      if (f.has_speed) out_.printf(" %5.2fkm/h", f.speed);
    }
    out_.write_text("\n");
  }

 private:
  // Grouping by division: the division heading when it changes, then the section label
  // or, for a further winner of the same section, blanks. True for a continuation.
  bool division_group_label(const WinnerFacts& f) {
    if (f.division != division_) {
      out_.printf("\n%s\n", event_definition().division_names[f.division]);
      division_ = f.division;
      section_ = -1;
    }
    if (f.section == section_) {
      out_.printf("%25s", "");
      return true;
    }
    section_ = f.section;
    out_.printf("    第 %2d 区  ", f.section);
    return false;
  }

  // Grouping by section: the section heading when it changes, then the division label
  // or, for a further winner of the same division, blanks. True for a continuation.
  bool section_group_label(const WinnerFacts& f) {
    if (f.section != section_) {
      out_.printf("\n第 %2d 区\n", f.section);
      section_ = f.section;
      division_ = -1;
    }
    if (f.division == division_) {
      out_.printf("%*s", division_width_ + 17, "");
      return true;
    }
    division_ = f.division;
    out_.printf("      %-*s", division_width_, event_definition().division_names[f.division]);
    return false;
  }

  Stream& out_;
  SectionAwardOrder order_;
  bool with_route_;
  int runner_width_;
  int division_width_;
  int division_ = -1;  // of the line before; -1 at the start and after a new group
  int section_ = -1;
};

void write_tsv_row(Stream& out, const WinnerFacts& f, SectionAwardOrder order,
                   const std::string& stamp) {
  const char* division_name = event_definition().division_names[f.division];
  out.printf("%s\t", stamp.c_str());
  if (order == SectionAwardOrder::kByDivision) {
    out.printf("%d\t%s\t%d\t", f.division + 1, division_name, f.section);
  } else {
    out.printf("%d\t%d\t%s\t", f.section, f.division + 1, division_name);
  }
  hms_print_japanese_short(f.time, out);
  out.write_text("\t");
  hms_print_sep(f.time, out, '\t');
  out.printf("\t%s\t%d\t%s\t%s\t%s\t", f.runner.c_str(), f.team_no, f.team_name.c_str(),
             f.from_station.c_str(), f.to_station.c_str());
  print_kyori(&out, nullptr, 0, f.km, 3, "km");
  out.write_text("\t");
  if (f.has_speed) out.printf("%4.2fkm/h", f.speed);
  out.write_text("\n");
}

}  // namespace

SectionAwardOrder section_award_order() {
  return option_int("KUKANSYOU_PRINTTYPE", 1) == 1 ? SectionAwardOrder::kByDivision
                                                    : SectionAwardOrder::kBySection;
}

std::vector<SectionWinner> collect_section_winners() {
  const EventDefinition& ev = event_definition();
  std::vector<SectionWinner> winners;
  Stream mast = open_mastfile("rb");
  MastRecord rec;
  for (std::int32_t rec_no = 0; mast_read_next(mast, rec); ++rec_no) {
    // A division outside the race description has no sections; slot 0 is the start.
    const int n = rec.bumon_no < ev.bumon_suu ? team_sections(ev, rec) : 0;
    for (int k = 1; k <= n; ++k) {
      if (rec.slots[k].section_rank != 1) continue;
      winners.push_back({static_cast<std::int8_t>(k), static_cast<std::int8_t>(rec.bumon_no),
                         rec_no});
    }
  }
  close_or_stop(mast);
  return winners;
}

void sort_section_winners(std::vector<SectionWinner>& winners, SectionAwardOrder order) {
  const auto key = [order](const SectionWinner& w) {
    return order == SectionAwardOrder::kByDivision
               ? std::make_tuple(w.division, w.section, w.rec_no)
               : std::make_tuple(w.section, w.division, w.rec_no);
  };
  std::sort(winners.begin(), winners.end(),
            [&key](const SectionWinner& a, const SectionWinner& b) { return key(a) < key(b); });
}

void print_section_awards() {
  const SectionAwardOrder order = section_award_order();
  const bool with_route = option_int("KUKANSYOU_OUTPUT_MODE", 1) != 2;
  Stream& out = open_fpout();
  const std::vector<SectionWinner> winners = sorted_winners(order);
  if (!winners.empty()) {
    out.printf("\n*** %s  区間賞受賞者一覧表 ***  %s\n", event_title().c_str(),
               date_time_text().c_str());
    ListWriter list(out, order, with_route);
    for_each_winner(winners, [&list](const WinnerFacts& f) { list.write(f); });
    write_page_break();
  }
  closefpout_and_callprt("PRINTCMD71");
}

bool write_section_award_tsv() {
  const SectionAwardOrder order = section_award_order();
  const std::vector<SectionWinner> winners = sorted_winners(order);
  const std::string stamp = date_time_text();
  Stream out = open_retry(kSectionAwardDataFile, "w");
  out.write_text("データ作成日時\t");
  out.write_text(order == SectionAwardOrder::kByDivision ? "部門No\t部門名\t区間\t"
                                                         : "区間\t部門No\t部門名\t");
  out.write_text(
      "タイム\tタイム時間\tタイム分\tタイム秒\t選手名\tチームＮｏ\tチーム名\t発駅\t着駅\t距離\tスピード\n");
  for_each_winner(winners,
                  [&](const WinnerFacts& f) { write_tsv_row(out, f, order, stamp); });
  if (!close_written_file(out, kSectionAwardDataFile)) return false;
  open_written_file(kSectionAwardDataFile);
  return true;
}

void section_awards_entry() {
  if (prepare_results(1, 0, -1) != 0) return;
  print_section_awards();
}

bool section_award_data_entry() {
  prepare_results(0, 0, -1);
  return write_section_award_tsv();
}

void section_award_data_and_document_entry(void (*open_document)()) {
  // Nothing to confirm when the merge file could not be written.
  if (section_award_data_entry()) confirm_merge_file_then_open(open_document);
}
