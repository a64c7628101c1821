// The ranking tables: the rank progression grid on its own, then the rank progression
// table, the section rank table and the speed ranking of a small race against golden
// files (printer with form feeds, tab- and comma-delimited files), and the menu entries.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "division_results_test_race.h"
#include "results/compute/results_compute.h"
#include "results/model/master_file.h"
#include "results/reports/ranking_tables.h"
#include "results/shell/console.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using division_results_test::crlf_lines;
using division_results_test::without_stamp;
using output_test::u8s;
using test_support::read_bytes;
using test_support::to_cp932;
using test_support::to_utf8;

const std::string kFixture = std::string(FIXTURES_DIR) + "/ranking_tables";

std::string cp(const char8_t* utf8) { return to_cp932(u8s(utf8)); }

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// ---------------------------------------------------------------------------------------
// The grid.

TEST(RankProgressionGrid, TiedTeamsFillConsecutiveRowsInTheOrderPlaced) {
  auto grid = std::make_unique<RankProgressionGrid>();
  struct Placement {
    int column, rank, rec_no;
    bool placed;
  } placements[] = {
      {1, 3, 10, true},   // row 3
      {1, 3, 11, true},   // tied: row 4
      {1, 1, 12, true},   // row 1
      {1, 4, 13, true},   // row 4 taken by the tie: row 5
      {1, 3, 14, true},   // a third tied team: rows 3 to 5 taken, row 6
      {0, 2, 15, true},   // another column is independent
      {1, 0, 16, false},  // no rank
      {1, -1, 17, false},
      {-1, 1, 18, false},  // outside the grid
      {kProgressionColumns, 1, 19, false},
  };
  for (const auto& p : placements) {
    EXPECT_EQ(grid->place(p.column, p.rank, p.rec_no), p.placed) << p.rec_no;
  }
  const int expected_column1[] = {12, -1, 10, 11, 13, 14, -1};
  for (int row = 0; row < 7; ++row) EXPECT_EQ(grid->cells[row][1], expected_column1[row]) << row;
  EXPECT_EQ(grid->cells[1][0], 15);
  EXPECT_EQ(grid->cells[0][0], -1);
  EXPECT_EQ(grid->last_used_row(), 6);
  grid->clear();
  EXPECT_EQ(grid->last_used_row(), 0);
  EXPECT_EQ(grid->cells[0][1], -1);
}

TEST(RankProgressionGrid, AFullColumnRefusesMoreTeams) {
  auto grid = std::make_unique<RankProgressionGrid>();
  for (int i = 0; i < kProgressionRows; ++i) ASSERT_TRUE(grid->place(2, 1, i));
  EXPECT_FALSE(grid->place(2, 1, kProgressionRows));
  EXPECT_FALSE(grid->place(2, kProgressionRows, kProgressionRows));
  EXPECT_TRUE(grid->place(3, kProgressionRows, 7));  // the last row of another column
  EXPECT_EQ(grid->cells[kProgressionRows - 1][2], kProgressionRows - 1);
  EXPECT_EQ(grid->last_used_row(), kProgressionRows);
}

// ---------------------------------------------------------------------------------------
// The race (tests/results/fixtures/ranking_tables/race, the records in team-number order):
//   stations 0 市民広場 0 km, 1 第一中継所 3.5, 2 第二中継所 7.25, 3 第三中継所 10,
//   4 陸上競技場 12.5; 一般の部 runs all five (start 9:00), 女子の部 runs 1, 3, 4 (start
//   9:10 at station 1), 招待の部 runs 0, 1, 3, 4 and has no teams.
// 一般の部: cumulative time [cumulative rank] and <section rank> (section time), from 9:00:
//   team  station 1         station 2            station 3            goal
//   5 open 11:30            24:30 (13:00)        34:30 (10:00)        43:00 (8:30)
//   1      12:00 [1] <1>    25:00 [1] <2> 13:00  35:00 [1] <1> 10:00  44:00 [1] <2> 9:00
//   6      12:30 [2] <2>    25:30 [2] <2> 13:00  36:00 [2] <3> 10:30  45:00 [2] <2> 9:00
//   2      12:30 [3] <3>    26:30 [3] <5> 14:00  36:30 [3] <1> 10:00  45:30 [3] <2> 9:00
//   3      13:00 [4] <4>    27:00 [5] <5> 14:00  38:00 [4] <4> 11:00  46:30 [4] <1> 8:30
//   7      14:00 [5] <5>    26:30 [3] <1> 12:30  38:00 [4] <5> 11:30  47:00 [5] <2> 9:00
//   4      14:30 [6] <6>    28:00 [6] <4> 13:30  no time              no time
// Team 7's next runner was started by a forced start at 9:13:30 at station 1, so section 2
// runs from there. Teams 6 and 2 tie at station 1; 6 was entered first, so 6 is 2nd and 2
// 3rd. Teams 2 and 7 tie at station 2 and teams 3 and 7 at station 3; as 7 was started by
// a forced start both pairs keep their shared rank, and the rank progression shows them in
// file order (2 before 7 although 7 was entered first).
// 女子の部 (start 9:10 at station 1): 11 30:00 <1> then 12:00 <2>, 42:00 [1]; 12 35:00 <2>,
// forced start at 9:42 at station 3, then 7:00 <1>, 42:00 [1]; 13 has no time.
struct Arrival {
  int team, station, arrival, forced_start;
};
const Arrival kArrivals[] = {
    {5, 1, 91130, 0}, {1, 1, 91200, 0}, {6, 1, 91230, 0}, {2, 1, 91230, 0},
    {3, 1, 91300, 0}, {7, 1, 91400, 91330}, {4, 1, 91430, 0},
    {5, 2, 92430, 0}, {1, 2, 92500, 0}, {6, 2, 92530, 0}, {7, 2, 92600, 0},
    {2, 2, 92630, 0}, {3, 2, 92700, 0}, {4, 2, 92800, 0},
    {5, 3, 93430, 0}, {1, 3, 93500, 0}, {6, 3, 93600, 0}, {2, 3, 93630, 0},
    {7, 3, 93730, 0}, {3, 3, 93800, 0}, {11, 3, 94000, 0}, {12, 3, 94500, 94200},
    {5, 4, 94300, 0}, {1, 4, 94400, 0}, {6, 4, 94500, 0}, {2, 4, 94530, 0},
    {12, 4, 94900, 0}, {7, 4, 94630, 0}, {3, 4, 94630, 0}, {11, 4, 95200, 0},
};

class RankingTables : public output_test::OutputTest {
 protected:
  void SetUp() override {
    test_support::copy_folder_files(kFixture + "/race", race_.path());
    options();
    division_results_test::build_race_files(*con_);
    division_results_test::TimeWriter w;
    for (const Arrival& a : kArrivals) w.arrive(a.team, a.station, a.arrival, a.forced_start);
  }

  // OPTION.TXT: the event name, the recording program as the viewer of the file
  // destination, and the given lines.
  void options(const char8_t* extra = u8"") {
    write_options(std::string("EDITOR=") + RECORD_ARGS_PROGRAM + "\n" +
                  u8s(u8"EVENTNAME = 第１回テスト駅伝\n") + u8s(extra));
  }

  // Runs `print` after the computation on the destination `kind`; for a file,
  // `delimiter_key` answers the delimiter question ('0' none, '1' tab, '2' comma) when
  // the table asks it. Returns the bytes handed to the print program or written to
  // OUT.TXT, the time stamp of every title checked and made fixed.
  template <typename Print>
  std::string table(Print print, int kind, char delimiter_key = 0) {
    set_out_kind_no(kind);
    if (delimiter_key) con_->feed_key(delimiter_key);
    EXPECT_EQ(prepare_results(1, delimiter_key ? 1 : 0, -1), 0) << screen();
    print();
    EXPECT_EQ(con_->keys_left(), 0u) << screen();
    const std::string bytes =
        kind == kOutPrinter ? recorded_data() : read_bytes(race_.file("OUT.TXT"));
    const int stamps = count(bytes, "***  ");
    EXPECT_GT(stamps, 0);
    EXPECT_EQ(count(without_stamp(bytes), "***  YYYY/MM/DD  hh:mm:ss"), stamps);
    return without_stamp(bytes);
  }

  // Compares with the golden file; with RANKING_TABLES_ACTUAL_DIR set the text is also
  // written there for review.
  void expect_golden(const std::string& text, const std::string& name) {
    if (const char* dir = std::getenv("RANKING_TABLES_ACTUAL_DIR")) {
      test_support::write_bytes(std::string(dir) + "/" + name, text);
    }
    EXPECT_EQ(text, read_bytes(kFixture + "/expected/" + name)) << name;
  }
};

// ---------------------------------------------------------------------------------------
// Rank progression.

TEST_F(RankingTables, RankProgressionOnThePrinter) {
  const std::string text = table(print_rank_progression, kOutPrinter);
  expect_print_program_ran();
  expect_golden(text, "progression_printer.txt");
  // Two divisions with teams, each followed by a form feed; 招待の部 has none.
  EXPECT_EQ(count(text, "\f"), 2);
  EXPECT_EQ(text.back(), '\f');
  EXPECT_EQ(text.find(cp(u8"招待の部")), std::string::npos);

  // Every row is "%3d:" and one cell of W + 4 = 24 bytes per section (4 in 一般の部, 2
  // in 女子の部), then " " and the team name when the goal column holds a team; 一般の部
  // has six rows (the teams ranked at station 1), 女子の部 two.
  const std::vector<std::pair<std::string, std::size_t>> teams_in_goal_column = {
      {cp(u8" アルファ陸上部"), 4}, {cp(u8" みなと市役所ランニング部"), 4}, {cp(u8" ベータＡＣ"), 4},
      {cp(u8" ガンマクラブ"), 4}, {cp(u8" イプシロン走友会"), 4}, {"", 4},  // team 4: none
      {cp(u8" 女子Ａクラブ"), 2}, {cp(u8" 女子Ｂクラブ"), 2}};
  std::vector<std::string> rows;
  for (const std::string& line : crlf_lines(text)) {
    if (line.size() >= 4 && line[3] == ':') rows.push_back(line);
  }
  ASSERT_EQ(rows.size(), teams_in_goal_column.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& [name, sections] = teams_in_goal_column[i];
    EXPECT_EQ(rows[i].size(), 4 + sections * 24 + name.size()) << to_utf8(rows[i]);
    EXPECT_EQ(rows[i].substr(4 + sections * 24), name) << to_utf8(rows[i]);
  }
}

TEST_F(RankingTables, RankProgressionTiesKeepFileOrder) {
  const auto lines = crlf_lines(table(print_rank_progression, kOutPrinter));
  // Column c of row r: the team number at the end of the cell.
  auto team_at = [&](const std::string& row_label, int column) {
    for (const std::string& line : lines) {
      if (line.rfind(row_label, 0) != 0) continue;
      const std::string cell = line.substr(4 + column * 24, 24);
      return cell.find_first_not_of(' ') == std::string::npos ? 0 : std::stoi(cell.substr(21));
    }
    return -1;
  };
  // 一般の部 (the first table, so the first rows with these labels).
  const int expected[6][4] = {
      {1, 1, 1, 1},
      {6, 6, 6, 6},
      {2, 2, 2, 2},
      {3, 7, 3, 3},  // station 2: 2 and 7 share rank 3 (rows 3 and 4, file order)
      {7, 3, 7, 7},  // station 3: 3 and 7 share rank 4 (rows 4 and 5, file order)
      {4, 4, 0, 0},
  };
  for (int r = 0; r < 6; ++r) {
    char label[8];
    std::snprintf(label, sizeof label, "%3d:", r + 1);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(team_at(label, c), expected[r][c]) << label << c;
  }
}

TEST_F(RankingTables, RankProgressionPrintsATeamBelowAnUnusedRank) {
  // A rank left unused pushes a team below the number of teams ranked at station 1 (set
  // here in the computed file: team 4 ranked 8th there): its row is printed all the same.
  set_out_kind_no(kOutPrinter);
  ASSERT_EQ(prepare_results(1, 0, -1), 0);
  {
    const int rec_no = team_index_lookup(mastfile_index(), 4);
    ASSERT_GE(rec_no, 0);
    Stream master = open_mastfile("r+b");
    MastRecord rec;
    mast_read(master, rec_no, rec);
    rec.slots[1].cumulative_rank = 8;
    mast_write(master, rec_no, rec);
  }
  print_rank_progression();
  const std::string blank(24, ' ');
  const std::string team4_station1 = std::string(14, ' ') + cp(u8"瀬戸優") + "   4";
  const std::string team4_station2 = std::string(14, ' ') + cp(u8"田中陸") + "   4";
  std::vector<std::string> rows;
  for (const std::string& line : crlf_lines(without_stamp(recorded_data()))) {
    if (line.size() >= 4 && line[3] == ':') rows.push_back(line);
  }
  ASSERT_EQ(rows.size(), 8u + 2u);  // 一般の部 up to row 8, 女子の部 2
  EXPECT_EQ(rows[5], "  6:" + blank + team4_station2 + blank + blank);
  EXPECT_EQ(rows[6], "  7:" + blank + blank + blank + blank);
  EXPECT_EQ(rows[7], "  8:" + team4_station1 + blank + blank + blank);
}

// ---------------------------------------------------------------------------------------
// Section rank table.

TEST_F(RankingTables, SectionRanksOfTheFirstSectionOnThePrinter) {
  const std::string text = table([] { print_section_ranks(1); }, kOutPrinter);
  expect_print_program_ran();
  expect_golden(text, "section1_printer.txt");
  // Both divisions on one page: one form feed at the very end.
  EXPECT_EQ(count(text, "\f"), 1);
  EXPECT_EQ(text.back(), '\f');
  // The open team is listed last in its division with "  open".
  const std::size_t open = text.find("  open");
  ASSERT_NE(open, std::string::npos);
  EXPECT_LT(open, text.find(cp(u8"女子の部")));
  EXPECT_GT(open, text.find(cp(u8"  6 位")));
  EXPECT_EQ(text.find(cp(u8"石井葵")), std::string::npos) << "team 13 has no time";
}

TEST_F(RankingTables, SectionRanksAsCommaDelimitedFile) {
  const std::string text = table([] { print_section_ranks(2); }, kOutFile, '2');
  expect_golden(text, "section2_comma.txt");
  EXPECT_EQ(text.find('\f'), std::string::npos);
  // Every row but the empty lines is quoted field by field: five fields per team row.
  for (const std::string& line : crlf_lines(text)) {
    if (line.empty()) continue;
    EXPECT_EQ(line.front(), '"') << to_utf8(line);
    EXPECT_EQ(line.back(), '"') << to_utf8(line);
  }
  EXPECT_EQ(count(text, "\",\""), 4 * (7 + 2));  // 一般の部 7 teams, 女子の部 2
  EXPECT_EQ(recorded_args().size(), 2u);  // handed to the viewer
}

TEST_F(RankingTables, SectionRanksOfASectionOnlyOneDivisionRuns) {
  // 女子の部 has two sections: the third is 一般の部's alone; team 4 has no time there.
  const std::string text = table([] { print_section_ranks(3); }, kOutFile, '1');
  expect_golden(text, "section3_tab.txt");
  EXPECT_EQ(text.find(cp(u8"女子の部")), std::string::npos);
  EXPECT_EQ(count(text, "\t"), 4 * 6);
  EXPECT_EQ(text.find('"'), std::string::npos);
}

TEST_F(RankingTables, SectionRanksOfASectionNobodyRanWriteNothing) {
  // Section 4 of 女子の部 does not exist and 一般の部 has no time there once its goal
  // times are gone.
  set_out_kind_no(kOutPrinter);
  for (int team : {1, 2, 3, 5, 6, 7}) division_results_test::TimeWriter().arrive(team, 4, -1);
  ASSERT_EQ(prepare_results(1, 1, -1), 0);
  print_section_ranks(4);
  EXPECT_EQ(recorded_data(), "");
}

// ---------------------------------------------------------------------------------------
// Speed ranking.

TEST_F(RankingTables, SpeedRankingOnThePrinter) {
  const std::string text = table(print_speed_ranking, kOutPrinter);
  expect_print_program_ran();
  expect_golden(text, "speed_printer.txt");
  // 一般の部 and 女子の部, a form feed after each; 招待の部 (no time) left out.
  EXPECT_EQ(count(text, "\f"), 2);
  EXPECT_EQ(text.find(cp(u8"招待の部")), std::string::npos);
  // 一般の部: 6 teams x 4 sections and team 4's first two; 女子の部: 11 and 12 twice.
  EXPECT_EQ(count(text, "km/h"), 26 + 4);
}

TEST_F(RankingTables, SpeedRankingAsTabDelimitedFile) {
  const std::string text = table(print_speed_ranking, kOutFile, '1');
  expect_golden(text, "speed_tab.txt");
  EXPECT_EQ(text.find('\f'), std::string::npos);
  // Eight fields per runner row.
  for (const std::string& line : crlf_lines(text)) {
    if (line.find("km/h") == std::string::npos) continue;
    EXPECT_EQ(count(line, "\t"), 7) << to_utf8(line);
  }
}

// The shown ranks of one division's list in the order printed, and its speeds.
std::vector<std::pair<int, double>> printed_speed_rows(const std::string& text,
                                                       const std::string& division) {
  std::vector<std::pair<int, double>> rows;
  bool inside = false;
  for (const std::string& line : crlf_lines(text)) {
    if (line.find("***") != std::string::npos) inside = false;
    if (line == division) inside = true;
    if (!inside || line.size() < 5 || line[4] != ':') continue;
    const std::size_t kmh = line.find("km/h");
    rows.emplace_back(std::stoi(line.substr(0, 4)), std::stod(line.substr(kmh - 5, 5)));
  }
  return rows;
}

TEST_F(RankingTables, SpeedRankingSharesRanksOfEqualSpeedsAndRanksOpenTeams) {
  const std::string text = table(print_speed_ranking, kOutPrinter);
  const auto rows = printed_speed_rows(text, cp(u8"一般の部"));
  ASSERT_EQ(rows.size(), 26u);
  EXPECT_EQ(rows[0].first, 1);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    // Fastest first; a shown rank is the row number or, for the same speed, the one above.
    EXPECT_GE(rows[i - 1].second, rows[i].second) << "row " << i + 1;
    if (rows[i].second != rows[i - 1].second) {
      EXPECT_EQ(rows[i].first, static_cast<int>(i) + 1) << "row " << i + 1;
    } else if (rows[i].first != static_cast<int>(i) + 1) {
      EXPECT_EQ(rows[i].first, rows[i - 1].first) << "row " << i + 1;
    }
  }
  // Open team 5's section 1 (11:30 over 3.5 km) is the fastest; its section 4 and team
  // 3's (8:30 over 2.5 km each) are the same speed and both show rank 3.
  const auto lines = crlf_lines(text);
  const std::string team5 = cp(u8"(  5 オープン選抜");
  const std::string team3 = cp(u8"(  3 ガンマクラブ");
  int shared = 0;
  for (const std::string& line : lines) {
    if (line.find("18.26km/h") != std::string::npos) {
      EXPECT_EQ(line.substr(0, 5), "   1:") << to_utf8(line);
      EXPECT_NE(line.find(team5), std::string::npos) << to_utf8(line);
    }
    if (line.find("17.65km/h") == std::string::npos) continue;
    ++shared;
    EXPECT_EQ(line.substr(0, 5), "   3:") << to_utf8(line);
    EXPECT_TRUE(line.find(team5) != std::string::npos || line.find(team3) != std::string::npos)
        << to_utf8(line);
  }
  EXPECT_EQ(shared, 2);
}

// ---------------------------------------------------------------------------------------
// Menu entries.

TEST_F(RankingTables, SectionEntryAsksForTheSectionAgainAfterEscAtTheDelimiter) {
  set_out_kind_no(kOutFile);
  con_->feed_keys({'2', KEY_ENTER, KEY_ESC, '1', KEY_ENTER, '1'});
  section_ranks_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  const std::string text = read_bytes(race_.file("OUT.TXT"));
  EXPECT_NE(text.find(cp(u8" 1 区  一般の部")), std::string::npos) << to_utf8(text);
  EXPECT_NE(text.find(cp(u8" 1 区  女子の部")), std::string::npos) << to_utf8(text);
  EXPECT_EQ(text.find(cp(u8" 2 区")), std::string::npos);
  EXPECT_NE(text.find('\t'), std::string::npos);
}

TEST_F(RankingTables, EntriesWriteNothingAfterEsc) {
  set_out_kind_no(kOutFile);
  test_support::write_bytes(race_.file("OUT.TXT"), "old\r\n");
  con_->feed_keys({KEY_ESC});
  section_ranks_entry();  // Esc at the section
  con_->feed_keys({KEY_ESC});
  rank_progression_entry();  // Esc at the overwrite question
  con_->feed_keys({KEY_ESC});
  speed_ranking_entry();  // Esc at the delimiter question
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_EQ(read_bytes(race_.file("OUT.TXT")), "old\r\n");
  EXPECT_TRUE(recorded_args().empty());
}

TEST_F(RankingTables, ProgressionAndSpeedEntriesWarnOfAMissingDepartureFirst) {
  // Team 4 has no time at station 3 but one at the goal: the last section has no start.
  division_results_test::TimeWriter().arrive(4, 4, 100000);
  set_out_kind_no(kOutPrinter);
  con_->feed_keys({'Y'});
  rank_progression_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_EQ(count(without_stamp(recorded_data()), cp(u8"順位変遷表")), 2);

  set_out_kind_no(kOutFile);
  con_->feed_keys({'Y', '2'});  // the warning, comma
  speed_ranking_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  const std::string text = read_bytes(race_.file("OUT.TXT"));
  EXPECT_EQ(count(text, cp(u8"スピード・ランキング表")), 2);
  EXPECT_NE(text.find("\",\""), std::string::npos);
}

}  // namespace
