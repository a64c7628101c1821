// The first start in a new race folder: the idle main menu notices that MASTFILE.DAT and
// NAMEFILE.DAT are missing and builds both from the lists, registering the start times.
// The expectations are read from the sample race's own text files, not from the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app_test_support.h"
#include "compute/tiny_race.h"
#include "results/app/main_menu.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/setup/debug_dump.h"

namespace {

using test_support::read_bytes;

// The data lines of a tab-separated list file of the sample race, split into fields.
std::vector<std::vector<std::string>> data_lines(const std::string& path) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(read_bytes(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] < '0' || line[0] > '9') continue;
    std::vector<std::string> fields;
    std::istringstream split(line);
    std::string field;
    while (std::getline(split, field, '\t')) fields.push_back(field);
    lines.push_back(fields);
  }
  return lines;
}

TEST(FirstStart, IdleMainMenuBuildsMasterAndNameFilesSortedWithStartTimes) {
  AppScreen s;
  test_support::copy_folder_files(SAMPLE_RACE_DIR, s.dir.path());
  // The build registers the start times ("Y"), then asks to return to the menu ("Y");
  // then the program is left with Esc and "y".
  s.con->feed_keys({'y', 'y', KEY_ESC, 'y'});
  EXPECT_EQ(main_loop(), 0);

  // Teams as TEAM.TXT lists them: (division index, team number, name, open).
  std::vector<std::tuple<int, int, std::string, bool>> expected;
  for (const auto& f : data_lines(s.dir.file("TEAM.TXT"))) {
    expected.emplace_back(std::stoi(f[2]) - 1, std::stoi(f[0]), f[1],
                          f.size() > 3 && f[3] == "open");
  }
  std::sort(expected.begin(), expected.end());
  ASSERT_EQ(expected.size(), 50u);

  const EventDefinition& ev = event_definition();
  const HmsTime start_times[] = {tiny_race::t(90000), tiny_race::t(91500), tiny_race::t(100000)};
  const std::vector<MastRecord> teams = tiny_race::read_master();
  ASSERT_EQ(teams.size(), expected.size());
  for (std::size_t i = 0; i < teams.size(); ++i) {
    const auto& [division, number, name, open] = expected[i];
    const MastRecord& r = teams[i];
    SCOPED_TRACE(number);
    EXPECT_EQ(r.bumon_no, division);
    EXPECT_EQ(r.team_no, number);
    EXPECT_EQ(std::string(r.team_name), name);
    EXPECT_EQ(r.open_flag, open ? '1' : '0');
    EXPECT_EQ(r.slots[0].departure, start_times[division]);
    for (int k = 1; k <= ev.max_kukan; ++k) {
      EXPECT_TRUE(hms_is_none(r.slots[k].arrival)) << k;
      EXPECT_TRUE(hms_is_none(r.slots[k].departure)) << k;
      EXPECT_EQ(r.slots[k].section_rank, -1) << k;
      EXPECT_EQ(r.slots[k].cumulative_rank, -1) << k;
      EXPECT_EQ(r.slots[k].input_seq, 0) << k;
    }
  }

  // NAMEFILE.DAT: one record per master record, in the same order, with SENSYU.TXT's runners.
  std::map<int, std::vector<std::string>> runners;
  for (const auto& f : data_lines(s.dir.file("SENSYU.TXT"))) {
    runners[std::stoi(f[0])] = std::vector<std::string>(f.begin() + 1, f.end());
  }
  Stream names = open_retry(kNameFile, "rb");
  for (std::size_t i = 0; i < teams.size(); ++i) {
    NameRecord n;
    name_read(names, static_cast<int>(i), n);
    SCOPED_TRACE(teams[i].team_no);
    EXPECT_EQ(n.team_no, teams[i].team_no);
    const std::vector<std::string>& listed = runners[teams[i].team_no];
    ASSERT_EQ(static_cast<int>(listed.size()), ev.sections[teams[i].bumon_no]);
    for (std::size_t k = 0; k < listed.size(); ++k) EXPECT_EQ(std::string(n.runners[k + 1]), listed[k]);
  }
}

TEST(FirstStart, HiddenKeyDWritesTheMasterFileDump) {
  AppScreen s;
  test_support::copy_folder_files(SAMPLE_RACE_DIR, s.dir.path());
  s.con->feed_keys({'y', 'y', 'd', KEY_ESC, 'y'});
  EXPECT_EQ(main_loop(), 0);
  const std::string dump = read_bytes(s.dir.file(kDebugDumpFile));
  EXPECT_EQ(dump.rfind("version=4.0\nmax_kukan=7\nrec_len=173\n", 0), 0u) << dump.substr(0, 80);
}

}  // namespace
