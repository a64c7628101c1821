// Race folders for the division result list tests: the master and name files are built
// from the race's text files by the program's own build, and times are entered through
// the record operations, each with the next input sequence number as an entry screen
// would store it.
#pragma once
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/setup/build_master.h"
#include "results/shell/virtual_console.h"
#include "support/test_support.h"

namespace division_results_test {

// hhmmss as one number, as the operator types it.
inline HmsTime hms(int hhmmss) {
  return hms_make(hhmmss / 10000, hhmmss / 100 % 100, hhmmss % 100);
}

// MASTFILE.DAT and NAMEFILE.DAT built from EKI.TXT, BUMON.TXT, TEAM.TXT and SENSYU.TXT
// of the current folder, start times registered (other functions [1], answered Y).
inline void build_race_files(VirtualConsole& con) {
  con.feed_text("YYY");
  ASSERT_EQ(build_master(true), 1) << con.screen_text();
  ASSERT_EQ(con.keys_left(), 0u) << con.screen_text();
  kihon_data();
  mast_format_check();
}

// One arrival at a physical station: the departure equals the arrival unless a forced
// start time is given. Unknown teams or stations off the team's course fail the test.
class TimeWriter {
 public:
  void arrive(int team_no, int station, int arrival, int forced_start = 0) {
    const int rec_no = team_index_lookup(mastfile_index(), team_no);
    ASSERT_GE(rec_no, 0) << "team " << team_no;
    Stream master = open_mastfile("r+b");
    MastRecord rec;
    mast_read(master, rec_no, rec);
    const int k = event_definition().phy_to_log[rec.bumon_no][station];
    ASSERT_GT(k, 0) << "team " << team_no << " station " << station;
    StationSlot& slot = rec.slots[k];
    slot.arrival = arrival < 0 ? kHmsNone : hms(arrival);
    slot.departure = forced_start ? hms(forced_start) : slot.arrival;
    slot.input_seq = static_cast<std::int16_t>(++seq_);
    mast_write(master, rec_no, rec);
  }

 private:
  int seq_ = 0;
};

// The list's date and time stamp replaced by a fixed text, after checking its form and
// that every title line carries one.
inline std::string without_stamp(const std::string& text) {
  static const std::regex stamp(R"(\d{4}/\d{2}/\d{2}  \d{2}:\d{2}:\d{2})");
  return std::regex_replace(text, stamp, "YYYY/MM/DD  hh:mm:ss");
}

// Lines of a CR LF text without their line ends (a bare LF inside a line is kept).
inline std::vector<std::string> crlf_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Team number and printed rank (0 for blanks) of every team block of a plain list, per
// division page in the order printed.
inline std::vector<std::vector<std::pair<int, int>>> printed_ranks(const std::string& text) {
  std::vector<std::vector<std::pair<int, int>>> divisions;
  const std::string team_no = test_support::to_cp932(reinterpret_cast<const char*>(u8"ﾁｰﾑNo:"));
  const auto lines = crlf_lines(text);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].find("*** ") == 0) divisions.emplace_back();
    const std::size_t at = lines[i].find(team_no);
    if (at != 6 || divisions.empty()) continue;
    const std::string rank = lines[i - 1].substr(0, 3);
    divisions.back().emplace_back(std::stoi(lines[i].substr(at + team_no.size(), 6)),
                                  rank == "   " ? 0 : std::stoi(rank));
  }
  return divisions;
}

}  // namespace division_results_test
