// The full result data files (結果明細中継所TAB.txt, 結果明細区間TAB.txt) of a small race
// against golden files, their row and column structure, and the menu entry that computes,
// writes both files with one time stamp and hands them to the desktop.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "division_results_test_race.h"
#include "results/compute/results_compute.h"
#include "results/model/event_definition.h"
#include "results/reports/detail_files.h"
#include "results/shell/files.h"
#include "results/shell/options.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using division_results_test::crlf_lines;
using output_test::u8s;
using test_support::read_bytes;
using test_support::to_cp932;
using test_support::to_utf8;
using test_support::write_bytes;

const std::string kFixture = std::string(FIXTURES_DIR) + "/detail_files";
const OutputStamp kStamp{"2026/01/02", "03:04:05"};

std::string cp(const char8_t* utf8) { return to_cp932(u8s(utf8)); }

std::vector<std::string> split_tabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

TEST(DetailFileFields, TimeColumns) {
  struct Case {
    HmsTime time;
    bool shown;
    const char* expected;
  } cases[] = {
      {hms_make(9, 5, 7), true, "9\t05\t07"},
      {hms_make(10, 0, 0), true, "10\t00\t00"},
      {hms_make(0, 5, 7), true, "0\t5\t07"},  // no hours: minutes without a leading zero
      {hms_make(0, 0, 0), true, "0\t0\t00"},
      {hms_make(9, 5, 7), false, "\t\t"},
      {kHmsNone, false, "\t\t"},
  };
  for (const auto& c : cases) EXPECT_EQ(time_columns(c.time, c.shown), c.expected) << c.expected;
}

TEST(DetailFileFields, TabsAndLineEndsInsideAFieldBecomeBlanks) {
  EXPECT_EQ(tsv_field("a\tb\rc\nd"), "a b c d");
  // Two-byte characters whose trail bytes look like ASCII ("表" is 0x95 0x5C) stay whole.
  const std::string name = cp(u8"表ソ\t能");
  EXPECT_EQ(tsv_field(name), cp(u8"表ソ 能"));
}

// The fixture race (tests/results/fixtures/detail_files/race):
//   stations 0 スタート地点 0 km (nickname 本部前, URL), 1 第一中継所 3 (URL),
//   2 旧中継所 4.5 (used by no division), 3 第二中継所 6.5 (nickname 二中),
//   4 第三中継所 10.25, 5 第四中継所 12, 6 ゴール競技場 15.5 (URL);
//   一般の部 (start 9:00:00) runs 0, 1, 3, 4, 5, 6: five sections;
//   短縮の部 (no start time: 0:00:00) runs 1, 3, 6: two sections.
// 一般の部: team 1 is started by a forced start at station 4 (9:40:00, arrival 9:42:00);
// team 2's arrival at station 3 was never entered, so its sections 2 and 3 have no time
// and it has no cumulative time from section 2 on; team 3 is an open team. Teams 1 and 2
// tie on sections 4 and 5.
// 短縮の部: team 11 finishes; team 12 never arrives at station 3 but its second runner
// is started there by a forced start (0:15:00).
class DetailFiles : public output_test::OutputTest {
 protected:
  void SetUp() override {
    test_support::copy_folder_files(kFixture + "/race", race_.path());
    division_results_test::build_race_files(*con_);
    division_results_test::TimeWriter w;
    w.arrive(3, 1, 91130);
    w.arrive(1, 1, 91200);
    w.arrive(2, 1, 91300);
    w.arrive(3, 3, 92500);
    w.arrive(1, 3, 92600);
    w.arrive(11, 3, 1400);
    w.arrive(12, 3, -1, 1500);
    w.arrive(3, 4, 94030);
    w.arrive(1, 4, 94200, 94000);
    w.arrive(2, 4, 94500);
    w.arrive(3, 5, 94730);
    w.arrive(1, 5, 94700);
    w.arrive(2, 5, 95200);
    w.arrive(3, 6, 100200);
    w.arrive(1, 6, 100100);
    w.arrive(2, 6, 100600);
    w.arrive(11, 6, 5000);
  }

  // Runs the computation as the menu entry does and checks that it asked nothing.
  void compute() {
    ASSERT_EQ(prepare_results(0, 0, -1), 0) << screen();
    ASSERT_EQ(con_->keys_left(), 0u) << screen();
  }

  template <typename Writer>
  std::string written(Writer writer) {
    {
      Stream out = open_stream(race_.file("detail.txt"), "w");
      writer(out, kStamp);
    }
    return read_bytes(race_.file("detail.txt"));
  }

  // Compares with the golden file; with DETAIL_FILES_ACTUAL_DIR set the text is also
  // written there for review.
  static void expect_golden(const std::string& text, const std::string& name) {
    if (const char* dir = std::getenv("DETAIL_FILES_ACTUAL_DIR")) {
      write_bytes(std::string(dir) + "/" + name, text);
    }
    EXPECT_EQ(text, read_bytes(kFixture + "/expected/" + name)) << name;
  }

  // Data rows (header dropped) as fields; every row has exactly `columns` fields and the
  // header names each followed by a tab.
  static std::vector<std::vector<std::string>> rows_of(const std::string& text,
                                                       std::size_t columns) {
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    const auto lines = crlf_lines(text);
    EXPECT_EQ(split_tabs(lines.at(0)).size(), columns + 1);
    EXPECT_EQ(lines.at(0).back(), '\t');
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) {
      rows.push_back(split_tabs(lines[i]));
      EXPECT_EQ(rows.back().size(), columns) << "line " << i << ": " << to_utf8(lines[i]);
      EXPECT_EQ(lines[i].find('\n'), std::string::npos);
    }
    return rows;
  }

  // The rows of one team, by team number (column 5).
  static std::vector<std::vector<std::string>> team_rows(
      const std::vector<std::vector<std::string>>& rows, int team_no) {
    std::vector<std::vector<std::string>> out;
    for (const auto& row : rows) {
      if (row[4] == std::to_string(team_no)) out.push_back(row);
    }
    return out;
  }
};

TEST_F(DetailFiles, RelayPointFileMatchesGoldenFile) {
  compute();
  const std::string text = written(write_relay_point_details);
  expect_golden(text, "relay_points.txt");

  const auto rows = rows_of(text, 24);
  // Records in file order (TEAM.TXT order), k = 0 .. sections for each.
  std::vector<std::string> order;
  for (const auto& row : rows) order.push_back(row[4] + ":" + row[7]);
  EXPECT_EQ(order, (std::vector<std::string>{"1:0", "1:1", "1:2", "1:3", "1:4", "1:5",
                                             "2:0", "2:1", "2:2", "2:3", "2:4", "2:5",
                                             "3:0", "3:1", "3:2", "3:3", "3:4", "3:5",
                                             "11:0", "11:1", "11:2", "12:0", "12:1", "12:2"}));
  for (const auto& row : rows) {
    EXPECT_EQ(row[0], cp(u8"第３回明細テスト駅伝"));
    EXPECT_EQ(row[22], kStamp.date);
    EXPECT_EQ(row[23], kStamp.time);
  }
  const auto team1 = team_rows(rows, 1);
  // The start: no arriving runner or time, the start time as departure, never a forced start.
  EXPECT_EQ(std::vector<std::string>(team1[0].begin() + 13, team1[0].begin() + 22),
            (std::vector<std::string>{"", "", "", "", cp(u8"青木一郎"), "9", "00", "00", "No"}));
  // The goal: no departing runner or time.
  EXPECT_EQ(std::vector<std::string>(team1[5].begin() + 13, team1[5].begin() + 22),
            (std::vector<std::string>{cp(u8"大野五郎"), "10", "01", "00", "", "", "", "", "No"}));
  // The forced start at station 4 (relay point 3).
  EXPECT_EQ(std::vector<std::string>(team1[3].begin() + 8, team1[3].begin() + 22),
            (std::vector<std::string>{"4", cp(u8"第三中継所"), cp(u8"第三中継所"), "", "10.25",
                                      cp(u8"上田三郎"), "9", "42", "00", cp(u8"江藤四郎"), "9",
                                      "40", "00", "Yes"}));
  // The arrival never entered at station 3: empty arrival and departure times.
  const auto team2 = team_rows(rows, 2);
  EXPECT_EQ(std::vector<std::string>(team2[2].begin() + 13, team2[2].begin() + 22),
            (std::vector<std::string>{cp(u8"加藤誠"), "", "", "", cp(u8"木村薫"), "", "",
                                      "", "No"}));
  // A zero start time is a valid time; a forced start without an arrival is one.
  const auto team12 = team_rows(rows, 12);
  EXPECT_EQ(std::vector<std::string>(team12[0].begin() + 17, team12[0].begin() + 22),
            (std::vector<std::string>{cp(u8"渡辺結衣"), "0", "0", "00", "No"}));
  EXPECT_EQ(std::vector<std::string>(team12[1].begin() + 13, team12[1].begin() + 22),
            (std::vector<std::string>{cp(u8"渡辺結衣"), "", "", "", cp(u8"和田美咲"), "0", "15",
                                      "00", "Yes"}));
  EXPECT_EQ(team_rows(rows, 3)[0][6], "Yes");
  EXPECT_EQ(team1[0][6], "No");
}

TEST_F(DetailFiles, SectionFileMatchesGoldenFile) {
  compute();
  const std::string text = written(write_section_details);
  expect_golden(text, "sections.txt");

  const auto rows = rows_of(text, 36);
  EXPECT_EQ(rows.size(), 5u * 3 + 2u * 2);  // sections 1 .. N per team
  const auto team1 = team_rows(rows, 1);
  ASSERT_EQ(team1.size(), 5u);
  // Section 3 ends at the forced start: measured to the late arrival; section 4 from the
  // forced-start time.
  EXPECT_EQ(std::vector<std::string>(team1[2].begin() + 7, team1[2].begin() + 36),
            (std::vector<std::string>{
                "3", cp(u8"上田三郎"), "3", cp(u8"第二中継所"), cp(u8"二中"), "", "9", "26", "00",
                "4", cp(u8"第三中継所"), cp(u8"第三中継所"), "", "9", "42", "00", "0", "16",
                "00", "1", "0", "42", "00", "1", "3.75", "14.06", "Yes", kStamp.date,
                kStamp.time}));
  EXPECT_EQ(team1[3][13] + ":" + team1[3][14] + ":" + team1[3][15], "9:40:00");
  EXPECT_EQ(team1[3][33], "No");
  // The first section leaves the start with its URL and the start time.
  EXPECT_EQ(std::vector<std::string>(team1[0].begin() + 9, team1[0].begin() + 16),
            (std::vector<std::string>{"0", cp(u8"スタート地点"), cp(u8"本部前"),
                                      "http://example.jp/start", "9", "00", "00"}));
  // Team 2: no section time at sections 2 and 3 (empty time, rank and speed, distance
  // kept); no cumulative time or rank from section 2 on even where a section has a time.
  const auto team2 = team_rows(rows, 2);
  for (int k : {1, 2}) {
    EXPECT_EQ(std::vector<std::string>(team2[k].begin() + 23, team2[k].begin() + 33),
              (std::vector<std::string>{"", "", "", "", "", "", "", "", team1[k][31], ""}))
        << "section " << k + 1;
  }
  EXPECT_EQ(std::vector<std::string>(team2[3].begin() + 23, team2[3].begin() + 33),
            (std::vector<std::string>{"0", "7", "00", "1", "", "", "", "", "1.75", "15.00"}));
  // The open team has times but no ranks.
  for (const auto& row : team_rows(rows, 3)) {
    EXPECT_NE(row[23], "");
    EXPECT_EQ(row[26], "");
    EXPECT_EQ(row[30], "");
  }
}

TEST_F(DetailFiles, EntryComputesWritesBothFilesWithOneStampAndOpensThem) {
  const std::string log = race_.file("opened.log");
  const std::string viewer = race_.file("viewer.sh");
  write_bytes(viewer, "#!/bin/sh\necho \"$@\" >> '" + log + "'\n");
  chmod(viewer.c_str(), 0755);
  output_test::ScopedEnv visual("VISUAL", viewer.c_str());
  // Old files are replaced, not appended to.
  const std::string relay_name = u8s(u8"結果明細中継所TAB.txt");
  const std::string section_name = u8s(u8"結果明細区間TAB.txt");
  write_bytes(race_.file(relay_name), std::string(100000, 'x'));
  write_bytes(race_.file(section_name), std::string(100000, 'x'));

  // The fixture has a forced start without an arrival: the missing-departure warning that
  // comes before the computation is confirmed with Y.
  con_->feed_key('Y');
  detail_files_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_NE(screen().find(u8s(u8"出発時刻なし")), std::string::npos) << screen();

  // Names on disk are UTF-8; the desktop stand-in got them in writing order.
  EXPECT_EQ(read_bytes(log), relay_name + "\n" + section_name + "\n");
  const std::string relay = read_bytes(race_.file(relay_name));
  const std::string sections = read_bytes(race_.file(section_name));
  EXPECT_EQ(relay.find("xxxx"), std::string::npos);
  EXPECT_EQ(sections.find("xxxx"), std::string::npos);
  // The entry computed the results itself: team 1's first section has its rank.
  const auto section_rows = rows_of(sections, 36);
  EXPECT_EQ(section_rows.at(0)[26], "1");

  // One date and one time for every row of both files.
  const std::regex date(R"(\d{4}/\d{2}/\d{2})");
  const std::regex time(R"(\d{2}:\d{2}:\d{2})");
  const auto relay_rows = rows_of(relay, 24);
  ASSERT_FALSE(relay_rows.empty());
  const std::string stamp_date = relay_rows[0][22];
  const std::string stamp_time = relay_rows[0][23];
  EXPECT_TRUE(std::regex_match(stamp_date, date)) << stamp_date;
  EXPECT_TRUE(std::regex_match(stamp_time, time)) << stamp_time;
  for (const auto& row : relay_rows) EXPECT_EQ(row[22] + " " + row[23], stamp_date + " " + stamp_time);
  for (const auto& row : section_rows) EXPECT_EQ(row[34] + " " + row[35], stamp_date + " " + stamp_time);
}

TEST_F(DetailFiles, ATabInTheEventNameDoesNotShiftTheColumns) {
  write_options(u8s(u8"EVENTNAME = 第３回\t明細テスト駅伝\n"));
  ASSERT_NE(event_title().find('\t'), std::string::npos);  // the option keeps the tab
  compute();
  const auto rows = rows_of(written(write_relay_point_details), 24);
  EXPECT_EQ(rows.at(0)[0], cp(u8"第３回 明細テスト駅伝"));
}

}  // namespace
