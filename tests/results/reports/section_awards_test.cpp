// Section awards: the winners found in the master file and their order, the printed list
// and the mail-merge file of a small race against golden files, the race without any
// winner, and the menu entries around them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "division_results_test_race.h"
#include "results/compute/results_compute.h"
#include "results/reports/section_awards.h"
#include "results/shell/files.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

// Test output of a winner (gtest finds it beside the type).
void PrintTo(const SectionWinner& w, std::ostream* os) {
  *os << "{section " << int{w.section} << ", division " << int{w.division} << ", record "
      << w.rec_no << "}";
}

namespace {

using division_results_test::crlf_lines;
using division_results_test::without_stamp;
using output_test::ScopedEnv;
using output_test::u8s;
using test_support::read_bytes;
using test_support::to_cp932;

const std::string kFixture = std::string(FIXTURES_DIR) + "/section_awards";

std::string cp(const char8_t* utf8) { return to_cp932(u8s(utf8)); }

TEST(SectionAwardOrder, SortsByGroupThenRecord) {
  const std::vector<SectionWinner> collected = {
      {2, 1, 6}, {1, 0, 4}, {3, 0, 1}, {1, 1, 5}, {3, 0, 0}, {2, 0, 2}, {1, 0, 3},
  };
  struct Case {
    SectionAwardOrder order;
    std::vector<SectionWinner> expected;
  } cases[] = {
      {SectionAwardOrder::kByDivision,
       {{1, 0, 3}, {1, 0, 4}, {2, 0, 2}, {3, 0, 0}, {3, 0, 1}, {1, 1, 5}, {2, 1, 6}}},
      {SectionAwardOrder::kBySection,
       {{1, 0, 3}, {1, 0, 4}, {1, 1, 5}, {2, 0, 2}, {2, 1, 6}, {3, 0, 0}, {3, 0, 1}}},
  };
  for (const auto& c : cases) {
    std::vector<SectionWinner> winners = collected;
    sort_section_winners(winners, c.order);
    EXPECT_EQ(winners, c.expected);
  }
}

// The fixture race (tests/results/fixtures/section_awards/race): stations 駅前広場 0 km,
// 第一中継所 3, 山頂中継所 15.5, 陸上競技場 18.5. 一般の部 runs all four (3 sections),
// 高校の部 runs 0, 1, 3 (2 sections), 招待チームの部 (the longest division name, 14
// bytes) has no teams. Records by division and team number: 0 team 1, 1 team 2, 2 team
// 3, 3 team 4 (open), 4 team 5, 5 team 11, 6 team 12.
// 一般の部: team 1 wins section 1 (10:00) and section 2 (1:02:03, its runner has the
// longest name, 16 bytes); teams 2 and 3 tie for section 3 (10:00 each, different
// cumulative times); open team 4 is fastest everywhere but never wins; team 5 stops after
// section 1. 高校の部: team 11 wins section 1 in 0:09:05 and section 2 in 1:20:55; team 12
// stops after section 1.
class SectionAwardsRace : public output_test::OutputTest {
 protected:
  void SetUp() override {
    test_support::copy_folder_files(kFixture + "/race", race_.path());
    options();
    division_results_test::build_race_files(*con_);
  }
  void TearDown() override { EXPECT_EQ(open_stream_count(), 0); }

  void enter_times() {
    division_results_test::TimeWriter w;
    w.arrive(4, 1, 90900);
    w.arrive(11, 1, 90905);
    w.arrive(1, 1, 91000);
    w.arrive(12, 1, 91000);
    w.arrive(2, 1, 91100);
    w.arrive(3, 1, 91200);
    w.arrive(5, 1, 91500);
    w.arrive(4, 2, 100000);
    w.arrive(1, 2, 101203);
    w.arrive(2, 2, 101500);
    w.arrive(3, 2, 101600);
    w.arrive(4, 3, 100900);
    w.arrive(1, 3, 102457);
    w.arrive(2, 3, 102500);
    w.arrive(3, 3, 102600);
    w.arrive(11, 3, 103000);
  }

  // OPTION.TXT: the event name, the recording program as the viewer of the file
  // destination, and the given lines.
  void options(const char8_t* extra = u8"") {
    write_options(std::string("EDITOR=") + RECORD_ARGS_PROGRAM + "\n" +
                  u8s(u8"EVENTNAME = 第２回区間賞テスト駅伝\n") + u8s(extra));
  }

  // The list on the destination `kind`; returns the bytes handed to the print program or
  // written to OUT.TXT.
  std::string list(int kind) {
    set_out_kind_no(kind);
    EXPECT_EQ(prepare_results(1, 0, -1), 0) << screen();
    print_section_awards();
    EXPECT_EQ(con_->keys_left(), 0u) << screen();
    return kind == kOutPrinter ? recorded_data() : read_bytes(race_.file("OUT.TXT"));
  }

  // 区間賞TAB.txt as written, after the computation of its menu entry; the user's editor
  // (no desktop here) is the recording program, which must have been handed the file.
  std::string tsv() {
    ScopedEnv visual("VISUAL", RECORD_ARGS_PROGRAM);
    EXPECT_EQ(prepare_results(0, 0, -1), 0) << screen();
    write_section_award_tsv();
    EXPECT_EQ(con_->keys_left(), 0u) << screen();
    const std::string bytes = read_bytes(race_.file(u8s(u8"区間賞TAB.txt")));
    const auto args = recorded_args();
    EXPECT_EQ(args.size(), 2u) << screen();
    if (args.size() == 2) {
      EXPECT_EQ(args[1], u8s(u8"区間賞TAB.txt"));
    }
    EXPECT_EQ(recorded_data(), bytes);
    return bytes;
  }

  // Compares with the golden file; with SECTION_AWARDS_ACTUAL_DIR set the text is also
  // written there for review.
  static void expect_golden(const std::string& text, const std::string& name) {
    if (const char* dir = std::getenv("SECTION_AWARDS_ACTUAL_DIR")) {
      test_support::write_bytes(std::string(dir) + "/" + name, text);
    }
    EXPECT_EQ(text, read_bytes(kFixture + "/expected/" + name)) << name;
  }
};

TEST_F(SectionAwardsRace, CollectsEveryRankOneSlotInFileOrder) {
  enter_times();
  ASSERT_EQ(prepare_results(0, 0, -1), 0) << screen();
  const std::vector<SectionWinner> expected = {
      {1, 0, 0}, {2, 0, 0}, {3, 0, 1}, {3, 0, 2}, {1, 1, 5}, {2, 1, 5},
  };
  EXPECT_EQ(collect_section_winners(), expected);
}

TEST_F(SectionAwardsRace, PrintedListsMatchTheGoldenFiles) {
  enter_times();
  struct Case {
    const char8_t* options;
    int kind;
    const char* golden;
  } cases[] = {
      {u8"", kOutPrinter, "by_division_printer.txt"},
      {u8"KUKANSYOU_PRINTTYPE=2\n", kOutFile, "by_section_file.txt"},
      {u8"KUKANSYOU_PRINTTYPE=1\nKUKANSYOU_OUTPUT_MODE=2\n", kOutFile,
       "by_division_brief_file.txt"},
      {u8"KUKANSYOU_PRINTTYPE=0\nKUKANSYOU_OUTPUT_MODE=2\n", kOutPrinter,
       "by_section_brief_printer.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.golden);
    options(c.options);
    test_support::write_bytes(race_.file("OUT.TXT"), "");
    if (c.kind == kOutFile) con_->feed_key('0');  // overwrite OUT.TXT
    const std::string text = list(c.kind);
    const std::string stamped = without_stamp(text);
    EXPECT_NE(stamped, text);  // the title carries the date and time
    expect_golden(stamped, c.golden);
    // The printer gets the print program with -p and -q; the file goes to the viewer.
    const auto args = recorded_args();
    ASSERT_FALSE(args.empty()) << screen();
    EXPECT_EQ(args.size(), c.kind == kOutPrinter ? 4u : 2u);
  }
}

// A new group never continues the line before it, even with the same section (grouped by
// division: 一般の部 ends with section 1, 高校の部 starts with it) or the same division
// (grouped by section: section 1 ends with 高校の部, section 2 starts with it).
TEST_F(SectionAwardsRace, ANewGroupStartsWithAFullLine) {
  division_results_test::TimeWriter w;
  w.arrive(1, 1, 91000);
  w.arrive(11, 1, 90905);
  w.arrive(11, 3, 103000);
  for (const char8_t* order : {u8"KUKANSYOU_PRINTTYPE=1\n", u8"KUKANSYOU_PRINTTYPE=2\n"}) {
    SCOPED_TRACE(test_support::to_utf8(cp(order)));
    options(order);
    test_support::write_bytes(race_.file("OUT.TXT"), "");
    con_->feed_key('0');
    int full_lines = 0;
    for (const std::string& line : crlf_lines(list(kOutFile))) {
      if (line.find(cp(u8" → ")) != std::string::npos) ++full_lines;
      EXPECT_NE(line.rfind("          ", 0), 0u) << test_support::to_utf8(line);
    }
    EXPECT_EQ(full_lines, 3);
  }
}

TEST_F(SectionAwardsRace, ListLineWidthsFollowTheNameWidths) {
  enter_times();
  set_out_kind_no(kOutFile);
  const auto lines = crlf_lines(list(kOutFile));
  // W = 16 (the longest runner name); route columns 1 + 12 + 4 + 12 + 1, then 8 for the
  // distance and 10 for the speed.
  const std::size_t team_end = 14 + 9 + 16 + 30;
  const std::size_t full = team_end + 30 + 8 + 10;
  int full_lines = 0;
  for (const std::string& line : lines) {
    if (line.find(cp(u8"第 ")) == 4) {
      EXPECT_EQ(line.size(), full) << test_support::to_utf8(line);
      ++full_lines;
    } else if (line.find(cp(u8"鈴木蓮")) != std::string::npos) {
      EXPECT_EQ(line.size(), 25 + 16 + 30u) << test_support::to_utf8(line);
    }
  }
  EXPECT_EQ(full_lines, 5);
}

TEST_F(SectionAwardsRace, MergeFilesMatchTheGoldenFiles) {
  enter_times();
  struct Case {
    const char8_t* options;
    const char* golden;
  } cases[] = {
      {u8"", "tsv_by_division.txt"},
      {u8"KUKANSYOU_PRINTTYPE=3\n", "tsv_by_section.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.golden);
    options(c.options);
    const std::string text = tsv();
    // One stamp, taken once: the same on every row.
    static const std::regex stamp(R"(^\d{4}/\d{2}/\d{2}  \d{2}:\d{2}:\d{2}\t)");
    std::set<std::string> stamps;
    const auto lines = crlf_lines(text);
    for (std::size_t i = 1; i < lines.size(); ++i) {
      std::smatch m;
      ASSERT_TRUE(std::regex_search(lines[i], m, stamp)) << i;
      stamps.insert(m.str());
    }
    EXPECT_EQ(stamps.size(), 1u);
    expect_golden(without_stamp(text), c.golden);
  }
}

TEST_F(SectionAwardsRace, WithoutWinnersTheListIsEmptyAndTheMergeFileHasItsHeaderOnly) {
  const std::string list_bytes = list(kOutPrinter);
  EXPECT_EQ(list_bytes, "");
  EXPECT_EQ(recorded_args().size(), 4u) << "the empty list is still handed over";

  // The header line of the golden file alone.
  const std::string golden = read_bytes(kFixture + "/expected/tsv_by_division.txt");
  EXPECT_EQ(tsv(), golden.substr(0, golden.find("\r\n") + 2));
}

TEST_F(SectionAwardsRace, MergeFileIsWrittenAnew) {
  enter_times();
  test_support::write_bytes(race_.file(u8s(u8"区間賞TAB.txt")), std::string(5000, 'x'));
  const std::string text = tsv();
  EXPECT_EQ(text.find('x'), std::string::npos);
  EXPECT_EQ(crlf_lines(text).size(), 7u);
}

TEST_F(SectionAwardsRace, EscAtTheOutputQuestionPrintsNothing) {
  enter_times();
  set_out_kind_no(kOutFile);
  test_support::write_bytes(race_.file("OUT.TXT"), "kept");
  con_->feed_key(KEY_ESC);
  section_awards_entry();
  EXPECT_EQ(read_bytes(race_.file("OUT.TXT")), "kept");
  EXPECT_TRUE(recorded_args().empty());
  EXPECT_EQ(con_->keys_left(), 0u);
}

TEST_F(SectionAwardsRace, ListEntryComputesBeforeItPrints) {
  enter_times();  // no ranks yet: the entry computes them
  set_out_kind_no(kOutPrinter);
  section_awards_entry();
  EXPECT_EQ(without_stamp(recorded_data()),
            read_bytes(kFixture + "/expected/by_division_printer.txt"));
}

int g_documents_opened = 0;
void count_document_opening() { ++g_documents_opened; }

TEST_F(SectionAwardsRace, MergeFileAndDocumentEntryOpensTheDocumentOnlyOnYes) {
  enter_times();
  ScopedEnv visual("VISUAL", RECORD_ARGS_PROGRAM);
  struct Case {
    std::vector<int> keys;
    int opened;
  } cases[] = {
      {{'x', 'N'}, 0},
      {{'n'}, 0},
      {{'Y'}, 1},
      {{'q', 'y'}, 1},
  };
  for (const auto& c : cases) {
    g_documents_opened = 0;
    const int beeps = con_->beep_count();
    for (int key : c.keys) con_->feed_key(key);
    section_award_data_and_document_entry(count_document_opening);
    EXPECT_EQ(g_documents_opened, c.opened);
    EXPECT_EQ(con_->keys_left(), 0u);
    EXPECT_EQ(con_->beep_count() - beeps, static_cast<int>(c.keys.size()) - 1);
    EXPECT_EQ(con_->row_text(22).find(u8s(u8"この差し込みファイルでよろしいですか？（Y / N）[")),
              10u);
    EXPECT_NE(read_bytes(race_.file(u8s(u8"区間賞TAB.txt"))).find(cp(u8"南高校")),
              std::string::npos);
  }
}

TEST_F(SectionAwardsRace, MergeFileEntryComputesAndOpensTheFile) {
  enter_times();
  ScopedEnv visual("VISUAL", RECORD_ARGS_PROGRAM);
  section_award_data_entry();
  EXPECT_EQ(without_stamp(read_bytes(race_.file(u8s(u8"区間賞TAB.txt")))),
            read_bytes(kFixture + "/expected/tsv_by_division.txt"));
  EXPECT_EQ(recorded_args().size(), 2u);
}

TEST_F(SectionAwardsRace, AMergeFileThatCannotBeOpenedIsReported) {
  enter_times();
  ScopedEnv visual("VISUAL", (race_.path() + "/no-such-editor").c_str());
  ScopedEnv editor("EDITOR", nullptr);
  ScopedEnv path("PATH", race_.path().c_str());  // no nano or vi either
  con_->feed_key('Y');
  section_award_data_entry();
  EXPECT_TRUE(shows(u8"\"区間賞TAB.txt\" を開けません")) << screen();
  EXPECT_EQ(con_->keys_left(), 0u);
}

}  // namespace
