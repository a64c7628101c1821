// The goal flash: every team of each division by its time from the division's start to
// the goal, from the entered start and goal times alone, against a golden list; the
// destinations, an empty master file and Esc at the output question.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "division_results_test_race.h"
#include "results/model/master_file.h"
#include "results/reports/goal_flash.h"
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

const std::string kFixture = std::string(FIXTURES_DIR) + "/goal_flash";

std::string cp(const char8_t* utf8) { return to_cp932(u8s(utf8)); }

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The race of tests/results/fixtures/goal_flash/race: 一般の部 starts at 9:00 at station 0
// and ends at station 4 (four sections), 女子の部 starts at 9:10 at station 1 and ends at
// station 4 (two sections), 招待の部 has no teams. Goal arrivals in the order entered:
//   5 (open) 9:43:00 -> 43'00;  2 9:44:00 -> 44'00;  1 9:44:00 -> 44'00 (entered after 2);
//   12 9:49:00 -> 39'00;  11 9:52:00 -> 42'00;  3 9:53:00 -> 53'00 (forced start at
//   station 2, which plays no part);  7 9:58:20 -> 58'20;  6 10:05:10 -> 1:05'10;
//   4 and 13 never reach the goal (4 has relay times, which are ignored).
class GoalFlash : public output_test::OutputTest {
 protected:
  void SetUp() override {
    test_support::copy_folder_files(kFixture + "/race", race_.path());
    write_options(u8s(u8"EVENTNAME = 第１回テスト駅伝\n") + "EDITOR=" + RECORD_ARGS_PROGRAM + "\n");
    division_results_test::build_race_files(*con_);
    division_results_test::TimeWriter w;
    w.arrive(4, 1, 91400);
    w.arrive(4, 2, 92800);
    w.arrive(3, 2, 94000, 93500);
    w.arrive(5, 4, 94300);
    w.arrive(2, 4, 94400);
    w.arrive(1, 4, 94400);
    w.arrive(12, 4, 94900);
    w.arrive(11, 4, 95200);
    w.arrive(3, 4, 95300);
    w.arrive(7, 4, 95820);
    w.arrive(6, 4, 100510);
  }

  // The list on the destination `kind`, its time stamps made fixed after checking that
  // every heading carries one.
  std::string flash(int kind) {
    set_out_kind_no(kind);
    print_goal_flash();
    EXPECT_EQ(con_->keys_left(), 0u) << screen();
    const std::string bytes =
        kind == kOutPrinter ? recorded_data() : read_bytes(race_.file("OUT.TXT"));
    const int headings = count(bytes, cp(u8" ゴール速報 ***  "));
    EXPECT_EQ(count(without_stamp(bytes), cp(u8" ゴール速報 ***  YYYY/MM/DD  hh:mm:ss")),
              headings);
    return without_stamp(bytes);
  }

  void expect_golden(const std::string& text, const std::string& name) {
    if (const char* dir = std::getenv("GOAL_FLASH_ACTUAL_DIR")) {
      test_support::write_bytes(std::string(dir) + "/" + name, text);
    }
    EXPECT_EQ(text, read_bytes(kFixture + "/expected/" + name)) << name;
  }

  // Team numbers of the team lines, per division heading, in the order printed.
  static std::vector<std::vector<int>> printed_teams(const std::string& text) {
    std::vector<std::vector<int>> divisions;
    for (const std::string& line : crlf_lines(text)) {
      if (line.find(cp(u8"ゴール     スタート")) != std::string::npos) divisions.emplace_back();
      if (line.size() > 8 && line.compare(3, 2, ": ") == 0 && !divisions.empty()) {
        divisions.back().push_back(std::stoi(line.substr(5, 3)));
      }
    }
    return divisions;
  }
};

TEST_F(GoalFlash, PrinterListInGoalOrderAgainstTheGoldenFile) {
  const std::string text = flash(kOutPrinter);
  const auto args = recorded_args();
  ASSERT_EQ(args.size(), 4u) << screen();
  EXPECT_EQ(args[1], "-p");
  expect_golden(text, "printer.txt");

  // Equal times follow the order of entry (2 before 1); teams without a goal come last;
  // the open team is listed like the others; 招待の部 (no teams) has no heading.
  const std::vector<std::vector<int>> expected = {{5, 2, 1, 3, 7, 6, 4}, {12, 11, 13}};
  EXPECT_EQ(printed_teams(text), expected);
  EXPECT_EQ(text.find(cp(u8"招待の部")), std::string::npos);
  // One page break, at the very end.
  EXPECT_EQ(count(text, "\f"), 1);
  EXPECT_EQ(text.back(), '\f');
  // The team without a goal: "NoData" for the goal and the difference, its start shown.
  EXPECT_NE(text.find("  4 " + cp(u8"デルタ走ろう会")), std::string::npos);
  const std::string no_goal = "   NoData" + cp(u8" － ") + "  9:00'00" + cp(u8" ＝ ") + "   NoData\r\n";
  EXPECT_EQ(count(text, no_goal), 1);
  // Team lines: "%3d: %3d %-26s" then three 9-byte times joined by " － " and " ＝ ".
  for (const std::string& line : crlf_lines(text)) {
    if (line.size() > 8 && line.compare(3, 2, ": ") == 0) {
      EXPECT_EQ(line.size(), 35u + 9 + 4 + 9 + 4 + 9) << test_support::to_utf8(line);
    }
  }
}

TEST_F(GoalFlash, FileDestinationHasTheSameLinesWithoutThePageBreak) {
  const std::string printed = flash(kOutPrinter);
  const std::string filed = flash(kOutFile);
  EXPECT_EQ(filed.find('\f'), std::string::npos);
  EXPECT_EQ(filed + "\f", printed);
}

TEST_F(GoalFlash, NoTeamWritesNothingButStillHandsOver) {
  // MASTFILE.DAT with its header only.
  std::filesystem::resize_file(race_.file("MASTFILE.DAT"), kMastHeaderBytes);
  set_out_kind_no(kOutPrinter);
  print_goal_flash();
  EXPECT_EQ(recorded_args().size(), 4u) << screen();
  EXPECT_EQ(recorded_data(), "");
}

TEST_F(GoalFlash, EscAtTheOverwriteQuestionHandsNothingOver) {
  test_support::write_bytes(race_.file("OUT.TXT"), "old list\r\n");
  set_out_kind_no(kOutFile);
  con_->feed_key(KEY_ESC);
  print_goal_flash();
  EXPECT_EQ(con_->keys_left(), 0u);
  EXPECT_TRUE(recorded_args().empty());
  EXPECT_EQ(read_bytes(race_.file("OUT.TXT")), "old list\r\n");
}

}  // namespace
