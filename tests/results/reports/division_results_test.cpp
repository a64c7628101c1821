// The division result list and the intermediate result list: their cells, and whole
// lists of a small race against golden files (printer with form feeds, tab- and
// comma-delimited files, a middle relay point and the start station with LF and SENDEN).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <string>
#include <vector>

#include "division_results_test_race.h"
#include "results/compute/results_compute.h"
#include "results/model/select_screens.h"
#include "results/reports/division_results.h"
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

const std::string kFixture = std::string(FIXTURES_DIR) + "/division_results";

std::string cp(const char8_t* utf8) { return to_cp932(u8s(utf8)); }

TEST(DivisionResultsCells, RankedTimeCell) {
  struct Case {
    HmsTime time;
    int rank;
    const char* expected;
  } cases[] = {
      {hms_make(0, 12, 30), 1, "    12'30< 1>"},
      {hms_make(1, 2, 3), 99, "  1:02'03<99>"},
      {hms_make(1, 2, 3), 100, "  1:02'03<100"},  // no closing bracket from 100 on
      {hms_make(10, 0, 0), 123, " 10:00'00<123"},
      {hms_make(0, 12, 30), 0, "    12'30    "},
      {hms_make(0, 12, 30), -1, "    12'30    "},
      {hms_make(0, 0, 7), 2, "       07< 2>"},
      {hms_make(0, 0, 0), 3, "             "},  // no time: blank, no rank either
      {kHmsNone, 3, "             "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ranked_time_cell(c.time, c.rank, '<', '>'), c.expected) << c.rank;
  }
  EXPECT_EQ(ranked_time_cell(hms_make(0, 44, 0), 4, '[', ']'), "    44'00[ 4]");
}

TEST(DivisionResultsCells, MarksOnlyWhileTheCellHasRoom) {
  const std::string longest = cp(u8"長谷川左衛門太郎兵衛");  // 20 bytes = W
  const std::string shorter = cp(u8"森本大地");
  struct Case {
    const std::string& runner;
    bool win;
    bool forced;
    std::string expected;
  } cases[] = {
      {shorter, true, true, "*&" + shorter},
      {shorter, true, false, "*" + shorter},
      {shorter, false, true, "&" + shorter},
      {shorter, false, false, shorter},
      {longest, true, true, "*" + longest},  // the win fills the cell: no "&"
      {longest, false, true, "&" + longest},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(runner_cell(c.runner.c_str(), c.win, c.forced, 21), c.expected);
  }
  // A name one byte shorter than the cell gets one mark only.
  EXPECT_EQ(runner_cell("ABCDEFGHIJKLMNOPQRS", true, true, 20), "*ABCDEFGHIJKLMNOPQRS");
}

TEST(DivisionResultsCells, SectionHeadingsUseFullWidthDigits) {
  EXPECT_EQ(section_heading(1), cp(u8"第１区"));
  EXPECT_EQ(section_heading(12), cp(u8"第１２区"));
  EXPECT_EQ(section_heading(20), cp(u8"第２０区"));
}

// The fixture race (tests/results/fixtures/division_results/race):
//   stations 0 市民広場 0 km, 1 第一中継所 3.5, 2 第二中継所 7.25, 3 第三中継所 10,
//   4 陸上競技場 12.5; 一般の部 runs all five (start 9:00), 女子の部 runs 1, 3, 4 (start
//   9:10 at station 1), 招待の部 runs 0, 1, 3, 4 and has no teams.
// 一般の部: team 5 is open; teams 6 and 2 tie at station 1 (6 entered first); teams 1 and
// 6 tie on section 2; team 3 is started by a forced start at station 2 and its section-3
// runner has the longest name (20 bytes) and wins the section; team 7 is started by a
// forced start at station 3 and wins section 4; teams 3 and 7 tie at the goal (both were
// forced starts, so they share rank 4); team 4 stops after station 2.
// 女子の部: team 12 is started by a forced start at station 3, wins section 2 and ties
// team 11 at the goal (shared rank 1); team 13 has no time at all.
class DivisionResultsList : public output_test::OutputTest {
 protected:
  void SetUp() override {
    test_support::copy_folder_files(kFixture + "/race", race_.path());
    options();
    division_results_test::build_race_files(*con_);
    division_results_test::TimeWriter w;
    // Station 1: 一般の部's first relay point, 女子の部's start.
    w.arrive(5, 1, 91130);
    w.arrive(1, 1, 91200);
    w.arrive(6, 1, 91230);
    w.arrive(2, 1, 91230);
    w.arrive(3, 1, 91300);
    w.arrive(7, 1, 91330);
    w.arrive(4, 1, 91400);
    // Station 2.
    w.arrive(5, 2, 92430);
    w.arrive(1, 2, 92500);
    w.arrive(6, 2, 92530);
    w.arrive(2, 2, 92600);
    w.arrive(7, 2, 92700);
    w.arrive(4, 2, 92800);
    w.arrive(3, 2, 94000, 93500);
    // Station 3.
    w.arrive(5, 3, 93430);
    w.arrive(1, 3, 93500);
    w.arrive(6, 3, 93600);
    w.arrive(2, 3, 93630);
    w.arrive(3, 3, 94400);
    w.arrive(11, 3, 94000);
    w.arrive(12, 3, 94500, 94200);
    w.arrive(7, 3, 95000, 94500);
    // Goal.
    w.arrive(5, 4, 94300);
    w.arrive(1, 4, 94400);
    w.arrive(6, 4, 94500);
    w.arrive(2, 4, 94530);
    w.arrive(12, 4, 94900);
    w.arrive(11, 4, 95200);
    w.arrive(3, 4, 95300);
    w.arrive(7, 4, 95300);
  }

  // OPTION.TXT: the event name, the recording program as the viewer of the file
  // destination, and the given lines.
  void options(const char8_t* extra = u8"") {
    write_options(std::string("EDITOR=") + RECORD_ARGS_PROGRAM + "\n" +
                  u8s(u8"EVENTNAME = 第１回テスト駅伝\n") + u8s(extra));
  }

  // The list at `point` on the destination `kind`; for a file, `delimiter_key` answers
  // the delimiter question ('0' none, '1' tab, '2' comma). Returns the bytes handed to
  // the print program or written to OUT.TXT, with the time stamp made fixed.
  std::string list(int point, int kind, char delimiter_key = 0) {
    set_out_kind_no(kind);
    if (point == kDivisionGoal) select_all_divisions();
    if (kind != kOutPrinter) con_->feed_key(delimiter_key);
    EXPECT_EQ(prepare_results(1, 1, point), 0) << screen();
    print_division_results(point);
    EXPECT_EQ(con_->keys_left(), 0u) << screen();
    const std::string bytes =
        kind == kOutPrinter ? recorded_data() : read_bytes(race_.file("OUT.TXT"));
    const int stamps = count(bytes, "***  ");
    EXPECT_GT(stamps, 0);
    EXPECT_EQ(count(without_stamp(bytes), "***  YYYY/MM/DD  hh:mm:ss"), stamps);
    return without_stamp(bytes);
  }

  static int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  // Compares with the golden file; with DIVISION_RESULTS_ACTUAL_DIR set the text is also
  // written there for review.
  void expect_golden(const std::string& text, const std::string& name) {
    if (const char* dir = std::getenv("DIVISION_RESULTS_ACTUAL_DIR")) {
      test_support::write_bytes(std::string(dir) + "/" + name, text);
    }
    EXPECT_EQ(text, read_bytes(kFixture + "/expected/" + name)) << name;
  }

  // Every line from `first` to `last` (a division's header after its banner line, and
  // its team blocks) of a plain (not delimited) list is 28 bytes of left part and n section columns of W + 1 = 21 bytes; the
  // second line of a team with a time at the point is one byte shorter.
  static void expect_column_widths(const std::vector<std::string>& lines, int n,
                                   std::size_t first, std::size_t last) {
    const std::size_t width = 28 + static_cast<std::size_t>(n) * 21;
    for (std::size_t i = first; i < last; ++i) {
      const std::string& line = lines[i];
      if (line.empty() || line.find("***") != std::string::npos) continue;
      const bool team_no_line = line.find(cp(u8"ﾁｰﾑNo:")) != std::string::npos;
      if (team_no_line && line.size() == width - 1) continue;
      EXPECT_EQ(line.size(), width) << "line " << i << ": " << test_support::to_utf8(line);
    }
  }
};

TEST_F(DivisionResultsList, GoalOnThePrinterWithFormFeeds) {
  options(u8"SENDEN = ＜成績一覧表＞\n");
  const std::string text = list(kDivisionGoal, kOutPrinter);
  expect_print_program_ran();
  expect_golden(text, "goal_printer.txt");

  // Two divisions with teams, each followed by a form feed; the banner starts the text
  // and follows the first form feed on the same line; 招待の部 (no teams) is absent.
  EXPECT_EQ(count(text, "\f"), 2);
  EXPECT_EQ(text.substr(text.size() - 1), "\f");
  const std::string banner = cp(u8"＜成績一覧表＞");
  EXPECT_EQ(text.rfind(banner + "\r\n", 0), 0u);
  EXPECT_NE(text.find("\f" + banner + "\r\n"), std::string::npos);
  EXPECT_EQ(text.find(cp(u8"招待の部")), std::string::npos);

  const auto lines = crlf_lines(text);
  const std::size_t second = [&] {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find('\f') != std::string::npos) return i;
    return lines.size();
  }();
  expect_column_widths(lines, 4, 1, second);
  expect_column_widths(lines, 2, second + 1, lines.size() - 1);
}

TEST_F(DivisionResultsList, GoalAsTabDelimitedFile) {
  options();
  const std::string text = list(kDivisionGoal, kOutFile, '1');
  expect_golden(text, "goal_tab.txt");
  EXPECT_EQ(text.find('\f'), std::string::npos);
  EXPECT_EQ(text.find('"'), std::string::npos);
  // Header line 3 of 一般の部: the division name and a blank in 28 bytes, an empty
  // field, then the four section headings right-aligned in 21 bytes.
  const std::string name = cp(u8"一般の部");
  std::string expected = name + std::string(28 - name.size(), ' ') + "\t";
  for (const char8_t* heading : {u8"第１区", u8"第２区", u8"第３区", u8"第４区"}) {
    expected += "\t" + std::string(21 - 6, ' ') + cp(heading);
  }
  EXPECT_NE(text.find("\r\n" + expected + "\r\n"), std::string::npos);
  // The file is handed to the viewer (the recording program stands in for the editor).
  EXPECT_EQ(recorded_args().size(), 2u);
}

TEST_F(DivisionResultsList, GoalAsCommaDelimitedFile) {
  options();
  const std::string text = list(kDivisionGoal, kOutFile, '2');
  expect_golden(text, "goal_comma.txt");
  // Every row but the (empty) banner line is quoted field by field.
  for (const std::string& line : crlf_lines(text)) {
    if (line.empty()) continue;
    EXPECT_EQ(line.front(), '"') << test_support::to_utf8(line);
    EXPECT_EQ(line.back(), '"') << test_support::to_utf8(line);
  }
  const std::string tab_free = text;
  EXPECT_EQ(tab_free.find('\t'), std::string::npos);
}

TEST_F(DivisionResultsList, MiddleRelayPointWithLfAndSenden) {
  options(u8"SENDEN = ＜中間＞\nLF = 2\n");
  const std::string text = list(3, kOutPrinter);
  expect_print_program_ran();
  expect_golden(text, "station3_lf2_printer.txt");
  // 一般の部 up to its third section, 女子の部 up to its first, 招待の部 (passing station 3
  // without teams) nothing; both titles are the intermediate list's.
  EXPECT_EQ(count(text, "\f"), 2);
  EXPECT_EQ(count(text, cp(u8"中間成績一覧表")), 2);
  EXPECT_EQ(text.find(cp(u8"招待の部")), std::string::npos);
  EXPECT_EQ(text.find(cp(u8"第４区")), std::string::npos);
  // Each team block is followed by two empty lines: 7 + 3 teams.
  EXPECT_EQ(count(text, "\r\n\r\n\r\n"), 10);
}

TEST_F(DivisionResultsList, StartStationShowsOnlyTheLeftPart) {
  options(u8"SENDEN = ＜スタート＞\nLF = 2\n");
  const std::string text = list(0, kOutPrinter);
  expect_golden(text, "station0_lf2_printer.txt");
  // Only 一般の部 starts at station 0 with teams; 女子の部 does not pass it.
  EXPECT_EQ(count(text, "\f"), 1);
  EXPECT_EQ(text.find(cp(u8"女子")), std::string::npos);
  EXPECT_EQ(text.find(cp(u8"第１区")), std::string::npos);
  const auto lines = crlf_lines(text);
  expect_column_widths(lines, 0, 1, lines.size() - 1);
}

TEST_F(DivisionResultsList, DivisionWithoutTeamsAtThePointWritesNothing) {
  // Station 4 is the goal of every division; only 一般の部 is selected for the goal list.
  options(u8"SENDEN = ＜一般＞\n");
  set_out_kind_no(kOutPrinter);
  ASSERT_EQ(prepare_results(1, 1, kDivisionGoal), 0);
  division_selection() = DivisionSelection{};
  division_selection().selected[2] = true;  // 招待の部: no teams
  print_division_results(kDivisionGoal);
  EXPECT_EQ(recorded_data(), "");
}

TEST_F(DivisionResultsList, GoalOfADivisionAtTheChosenPointGetsTheDivisionTitle) {
  options();
  const std::string text = list(4, kOutPrinter);
  EXPECT_EQ(count(text, cp(u8"部門別成績一覧表")), 2);
  EXPECT_EQ(text.find(cp(u8"中間成績一覧表")), std::string::npos);
  // The same list as the goal list of every division, banner and stamp aside.
  select_all_divisions();
  EXPECT_EQ(text, list(kDivisionGoal, kOutPrinter));
}

// Order and rank fields of whole lists of the fixture race under the ranking rule and
// the open-team position, counted by hand from the entered times (see the race above):
// 一般の部 at the goal: open 5 43:00; 1 44:00; 6 45:00; 2 45:30; 3 and 7 58:00 (both
// forced starts, shared rank 4); 4 dropped out after station 2 (28:00 there).
// 女子の部 at the goal: 11 and 12 42:00 (12 a forced start, shared rank 1); 13 no time.
struct ListOrderCase {
  const char8_t* option;
  int point;
  std::vector<std::vector<std::pair<int, int>>> divisions;  // (team, printed rank)
};

class DivisionResultsOrder : public DivisionResultsList,
                             public ::testing::WithParamInterface<ListOrderCase> {};

TEST_P(DivisionResultsOrder, TeamsAndRanksAsCountedByHand) {
  options(GetParam().option);
  const std::string text = list(GetParam().point, kOutPrinter);
  EXPECT_EQ(division_results_test::printed_ranks(text), GetParam().divisions)
      << test_support::to_utf8(text);
}

const std::vector<std::pair<int, int>> kWomenAtTheGoal = {{11, 1}, {12, 1}, {13, 0}};

INSTANTIATE_TEST_SUITE_P(
    Options, DivisionResultsOrder,
    ::testing::Values(
        // Open team among the others by time.
        ListOrderCase{u8"",
                      kDivisionGoal,
                      {{{5, 0}, {1, 1}, {6, 2}, {2, 3}, {3, 4}, {7, 4}, {4, 0}}, kWomenAtTheGoal}},
        // After the ranked teams, among the unranked ones by time.
        ListOrderCase{u8"OPEN_TEAM_OUTPUT_POSITION = 2\n",
                      kDivisionGoal,
                      {{{1, 1}, {6, 2}, {2, 3}, {3, 4}, {7, 4}, {5, 0}, {4, 0}}, kWomenAtTheGoal}},
        // After every regular team.
        ListOrderCase{u8"OPEN_TEAM_OUTPUT_POSITION = 3\n",
                      kDivisionGoal,
                      {{{1, 1}, {6, 2}, {2, 3}, {3, 4}, {7, 4}, {4, 0}, {5, 0}}, kWomenAtTheGoal}},
        // Rule 3 at station 2 (which 女子の部 and 招待の部 skip): team 4 did not finish and
        // is not ranked, so 7 (27:00) is 4th and 3 (40:00) 5th.
        ListOrderCase{u8"RULE_KUKAN_KIKEN = 3\n",
                      2,
                      {{{5, 0}, {1, 1}, {6, 2}, {2, 3}, {7, 4}, {4, 0}, {3, 5}}}},
        // Rule 2 at station 2: team 4 still has its cumulative time there (rank 5).
        ListOrderCase{u8"RULE_KUKAN_KIKEN = 2\nOPEN_TEAM_OUTPUT_POSITION = 3\n",
                      2,
                      {{{1, 1}, {6, 2}, {2, 3}, {7, 4}, {4, 5}, {3, 6}, {5, 0}}}},
        // Station 1 is 女子の部's start: its teams in team-number order without ranks; in
        // 一般の部 6 and 2 tie (12:30) and 6 was entered first.
        ListOrderCase{u8"",
                      1,
                      {{{5, 0}, {1, 1}, {6, 2}, {2, 3}, {3, 4}, {7, 5}, {4, 6}},
                       {{11, 0}, {12, 0}, {13, 0}}}}));

// A virtual console that also keeps everything written to it, so that a message cleared
// from the screen by a later step can still be checked.
class TranscriptConsole : public VirtualConsole {
 public:
  TranscriptConsole() : previous_(&console()) { set_console(this); }
  ~TranscriptConsole() override { set_console(previous_); }
  void write(std::string_view text) override {
    transcript_ += text;
    VirtualConsole::write(text);
  }
  std::string transcript() const { return test_support::to_utf8(transcript_); }

 private:
  Console* previous_;
  std::string transcript_;
};

TEST_F(DivisionResultsList, MenuEntryWarnsOfAMissingDepartureFirst) {
  options();
  // Team 4 has no time at station 3 but one at the goal: the last section has no start.
  division_results_test::TimeWriter().arrive(4, 4, 100000);
  set_out_kind_no(kOutPrinter);
  TranscriptConsole con;
  con.feed_keys({'Y', '0', KEY_ENTER});
  division_results_entry();
  EXPECT_EQ(con.keys_left(), 0u) << con.screen_text();
  const std::string transcript = con.transcript();
  const std::size_t warning = transcript.find(u8s(u8"出発時刻なし"));
  ASSERT_NE(warning, std::string::npos) << transcript;
  EXPECT_LT(warning, transcript.find(u8s(u8"選択部門No"))) << "the warning comes first";
  EXPECT_EQ(count(without_stamp(recorded_data()), cp(u8"部門別成績一覧表")), 2);
}

TEST_F(DivisionResultsList, MenuEntryAsksForTheDivisionsAgainAfterEscAtTheDelimiter) {
  options();
  set_out_kind_no(kOutFile);
  // Division 2 only; Esc at the delimiter question; then division 1 only, tab.
  con_->feed_keys({'2', KEY_ENTER, KEY_ENTER, KEY_ESC, '1', KEY_ENTER, KEY_ENTER, '1'});
  division_results_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  const std::string text = read_bytes(race_.file("OUT.TXT"));
  EXPECT_NE(text.find(cp(u8"一般の部")), std::string::npos);
  EXPECT_EQ(text.find(cp(u8"女子の部")), std::string::npos);
  EXPECT_NE(text.find('\t'), std::string::npos);
}

TEST_F(DivisionResultsList, MenuEntriesWriteNothingAfterEsc) {
  options();
  set_out_kind_no(kOutFile);
  con_->feed_keys({KEY_ESC});
  division_results_entry();
  con_->feed_keys({KEY_ESC});
  intermediate_results_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_FALSE(std::filesystem::exists(race_.file("OUT.TXT")));
  EXPECT_TRUE(recorded_args().empty());
}

TEST_F(DivisionResultsList, IntermediateEntryListsEveryDivisionPassingTheStation) {
  options(u8"SENDEN = ＜中間＞\nLF = 2\n");
  set_out_kind_no(kOutPrinter);
  division_selection() = DivisionSelection{};  // the entry marks every division itself
  con_->feed_keys({'3', KEY_ENTER});
  intermediate_results_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_EQ(without_stamp(recorded_data()),
            read_bytes(kFixture + "/expected/station3_lf2_printer.txt"));
}

}  // namespace
