// Team awards: the rank wordings of the certificates, the printed list and 団体賞TAB.txt of
// a small race against golden files, BESTNO limits, ties, open teams, divisions with
// fewer sections or without finishers, and the menu entries.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "division_results_test_race.h"
#include "results/compute/results_compute.h"
#include "results/reports/team_awards.h"
#include "results/shell/console.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using division_results_test::crlf_lines;
using division_results_test::without_stamp;
using output_test::ScopedEnv;
using output_test::u8s;
using test_support::read_bytes;
using test_support::to_cp932;

// The race files are those of the division result list tests; the times are this test's.
const std::string kRace = std::string(FIXTURES_DIR) + "/division_results/race";
const std::string kExpected = std::string(FIXTURES_DIR) + "/team_awards";

std::string cp(const char8_t* utf8) { return to_cp932(u8s(utf8)); }

// File names are UTF-8 on disk and towards other programs.
const std::string kDataFileOnDisk = test_support::to_utf8(kTeamAwardDataFile);

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

int g_documents_opened = 0;
void count_document_opening() { ++g_documents_opened; }

TEST(TeamAwardWordings, FirstAndSecondPlacesHaveTheirOwnWords) {
  struct Case {
    int rank;
    const char8_t* first;
    const char8_t* second;
    const char8_t* third;
  } cases[] = {
      {1, u8"優　勝", u8"優　勝", u8"第 1 位"},
      {2, u8"第 2 位", u8"準優勝", u8"第 2 位"},
      {3, u8"第 3 位", u8"第 3 位", u8"第 3 位"},
      {12, u8"第 12 位", u8"第 12 位", u8"第 12 位"},
  };
  for (const auto& c : cases) {
    const auto words = rank_wordings(c.rank);
    EXPECT_EQ(words[0], cp(c.first)) << c.rank;
    EXPECT_EQ(words[1], cp(c.second)) << c.rank;
    EXPECT_EQ(words[2], cp(c.third)) << c.rank;
  }
}

// The fixture race (stations 市民広場 0 km, 第一中継所 3.5, 第二中継所 7.25, 第三中継所 10,
// 陸上競技場 12.5; 一般の部 runs all five, 4 sections; 女子の部 runs 第一中継所, 第三中継所,
// 陸上競技場, 2 sections; 招待の部 has no teams) with these results at the goal:
// 一般の部: open team 5 43:00 (best time, first in the output order, never ranked);
//   1 44:00 rank 1; 6 45:00 rank 2; 3 and 7 58:00, both started by forced starts, so they
//   share rank 3; 2 1:00:00 rank 5; 4 stops after station 2 (no rank).
// 女子の部 (only after women_finish()): 11 and 12 42:00, 12 a forced start, shared rank 1;
//   13 no time.
class TeamAwards : public output_test::OutputTest {
 protected:
  void SetUp() override {
    test_support::copy_folder_files(kRace, race_.path());
    options();
    division_results_test::build_race_files(*con_);
    w_.arrive(5, 1, 91130);
    w_.arrive(1, 1, 91200);
    w_.arrive(6, 1, 91230);
    w_.arrive(2, 1, 91230);
    w_.arrive(3, 1, 91300);
    w_.arrive(7, 1, 91330);
    w_.arrive(4, 1, 91400);
    w_.arrive(5, 2, 92430);
    w_.arrive(1, 2, 92500);
    w_.arrive(6, 2, 92530);
    w_.arrive(2, 2, 92600);
    w_.arrive(7, 2, 92700);
    w_.arrive(4, 2, 92800);
    w_.arrive(3, 2, 94000, 93500);
    w_.arrive(5, 3, 93430);
    w_.arrive(1, 3, 93500);
    w_.arrive(6, 3, 93600);
    w_.arrive(2, 3, 93630);
    w_.arrive(3, 3, 94400);
    w_.arrive(11, 3, 94000);
    w_.arrive(12, 3, 94500, 94200);
    w_.arrive(7, 3, 95000, 94500);
    w_.arrive(5, 4, 94300);
    w_.arrive(1, 4, 94400);
    w_.arrive(6, 4, 94500);
    w_.arrive(3, 4, 95300);
    w_.arrive(7, 4, 95300);
    w_.arrive(2, 4, 100000);
  }

  void women_finish() {
    w_.arrive(12, 4, 94900);
    w_.arrive(11, 4, 95200);
  }

  void options(const char8_t* extra = u8"") {
    write_options(std::string("EDITOR=") + RECORD_ARGS_PROGRAM + "\n" +
                  u8s(u8"EVENTNAME = 第１回テスト駅伝\n") + u8s(extra));
  }

  // The printed list as handed to the print program, the time stamp made fixed.
  std::string printed_list() {
    set_out_kind_no(kOutPrinter);
    EXPECT_EQ(prepare_results(1, 0, kFurthestPoint), 0) << screen();
    print_team_awards();
    EXPECT_EQ(con_->keys_left(), 0u) << screen();
    const std::string bytes = recorded_data();
    EXPECT_EQ(count(bytes, "***  "), count(without_stamp(bytes), "***  YYYY/MM/DD  hh:mm:ss"));
    return without_stamp(bytes);
  }

  // 団体賞TAB.txt as written, the time stamp made fixed; the file is handed to the
  // desktop's program (without a desktop, the user's editor: the recording program).
  std::string merge_file() {
    ScopedEnv visual("VISUAL", RECORD_ARGS_PROGRAM);
    team_award_data_entry();
    EXPECT_EQ(con_->keys_left(), 0u) << screen();
    const auto args = recorded_args();
    EXPECT_EQ(args.size(), 2u) << screen();
    if (args.size() == 2) {
      EXPECT_EQ(args[1], kDataFileOnDisk);
    }
    return without_stamp(read_bytes(race_.file(kDataFileOnDisk)));
  }

  // Compares with the golden file; with TEAM_AWARDS_ACTUAL_DIR set the text is also
  // written there for review.
  void expect_golden(const std::string& text, const std::string& name) {
    if (const char* dir = std::getenv("TEAM_AWARDS_ACTUAL_DIR")) {
      test_support::write_bytes(std::string(dir) + "/" + name, text);
    }
    EXPECT_EQ(text, read_bytes(kExpected + "/" + name)) << name;
  }

  // Team numbers of the listed lines ("  %3d 位 (%3d) ..."), in the order printed.
  static std::vector<int> listed_teams(const std::string& text) {
    std::vector<int> teams;
    const std::string rank_mark = cp(u8" 位 (");
    for (const std::string& line : crlf_lines(text)) {
      const std::size_t at = line.find(rank_mark);
      if (at == 5) teams.push_back(std::stoi(line.substr(at + rank_mark.size(), 3)));
    }
    return teams;
  }

  division_results_test::TimeWriter w_;
};

TEST_F(TeamAwards, PrintedListOnThePrinter) {
  options(u8"BESTNO = 3\n");
  women_finish();
  const std::string text = printed_list();
  expect_golden(text, "list_best3_printer.txt");
  const auto args = recorded_args();
  ASSERT_EQ(args.size(), 4u) << screen();
  EXPECT_EQ(args[1], "-p");
  EXPECT_EQ(args[2], "-q");
  // One page: a form feed at the very end only.
  EXPECT_EQ(count(text, "\f"), 1);
  EXPECT_EQ(text.back(), '\f');
  // The tie at rank 3 lists both teams; the open team and rank 5 stay out.
  EXPECT_EQ(listed_teams(text), (std::vector<int>{1, 6, 3, 7, 11, 12}));
  // Every team line: "  " + "%3d" + " 位 " + "(%3d)" + " " + 26 + 9 = 50 bytes.
  for (const std::string& line : crlf_lines(text)) {
    if (line.find(cp(u8" 位 (")) == 5) {
      EXPECT_EQ(line.size(), 50u) << test_support::to_utf8(line);
    }
  }
}

struct BestNoCase {
  const char8_t* option;
  const char8_t* title;
  std::vector<int> teams;
};

class TeamAwardsBestNo : public TeamAwards, public ::testing::WithParamInterface<BestNoCase> {};

TEST_P(TeamAwardsBestNo, ListsTheRanksUpToBestNo) {
  options(GetParam().option);
  women_finish();
  const std::string text = printed_list();
  EXPECT_EQ(listed_teams(text), GetParam().teams) << test_support::to_utf8(text);
  EXPECT_NE(text.find(cp(GetParam().title)), std::string::npos) << test_support::to_utf8(text);
}

INSTANTIATE_TEST_SUITE_P(
    Options, TeamAwardsBestNo,
    ::testing::Values(
        // Absent: the first ten ranks.
        BestNoCase{u8"", u8"団体賞（10位まで）一覧表", {1, 6, 3, 7, 2, 11, 12}},
        BestNoCase{u8"BESTNO = 5\n", u8"団体賞（5位まで）一覧表", {1, 6, 3, 7, 2, 11, 12}},
        // Rank 3 is shared, so rank 4 does not exist and only the two tied teams follow 2.
        BestNoCase{u8"BESTNO = 4\n", u8"団体賞（4位まで）一覧表", {1, 6, 3, 7, 11, 12}},
        BestNoCase{u8"BESTNO = 2\n", u8"団体賞（2位まで）一覧表", {1, 6, 11, 12}},
        BestNoCase{u8"BESTNO = 1\n", u8"団体賞（1位まで）一覧表", {1, 11, 12}}));

TEST_F(TeamAwards, NothingAwardedWritesNothingButStillHandsOver) {
  options(u8"BESTNO = 0\n");
  women_finish();
  EXPECT_EQ(printed_list(), "");
  EXPECT_EQ(recorded_args().size(), 4u) << "the empty list still goes to the print command";
}

TEST_F(TeamAwards, DivisionWithoutFinishersIsLeftOut) {
  options(u8"BESTNO = 3\n");
  const std::string text = printed_list();
  EXPECT_EQ(text.find(cp(u8"女子の部")), std::string::npos);
  EXPECT_EQ(listed_teams(text), (std::vector<int>{1, 6, 3, 7}));
  // The same lines as the full list up to the women's division.
  const std::string full = read_bytes(kExpected + "/list_best3_printer.txt");
  const std::size_t women = full.find("\r\n" + cp(u8"女子の部"));
  ASSERT_NE(women, std::string::npos);
  EXPECT_EQ(text, full.substr(0, women) + "\f");
}

TEST_F(TeamAwards, ListToAFileHasNoFormFeed) {
  options(u8"BESTNO = 3\n");
  women_finish();
  set_out_kind_no(kOutFile);
  ASSERT_EQ(prepare_results(1, 0, kFurthestPoint), 0) << screen();
  print_team_awards();
  const std::string text = without_stamp(read_bytes(race_.file("OUT.TXT")));
  const std::string printer = read_bytes(kExpected + "/list_best3_printer.txt");
  EXPECT_EQ(text, printer.substr(0, printer.size() - 1));
}

TEST_F(TeamAwards, MergeFileRowsInListOrder) {
  options(u8"BESTNO = 3\n");
  women_finish();
  const std::string text = merge_file();
  expect_golden(text, "tab_best3.txt");
  const auto lines = crlf_lines(text);
  ASSERT_EQ(lines.size(), 7u);  // the header and six teams
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  // 16 columns and one runner column per section of the largest division (4), on every
  // row; the women's rows leave sections 3 and 4 empty.
  for (const std::string& line : lines) {
    EXPECT_EQ(count(line, "\t"), 19) << test_support::to_utf8(line);
    EXPECT_EQ(line.find('\n'), std::string::npos);
  }
  EXPECT_EQ(lines[5].substr(lines[5].size() - 2), "\t\t");
  EXPECT_EQ(lines[6].substr(lines[6].size() - 2), "\t\t");
}

TEST_F(TeamAwards, MergeFileWithNothingAwardedHasItsHeaderOnly) {
  options(u8"BESTNO = 0\n");
  const auto lines = crlf_lines(merge_file());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind(cp(u8"データ作成日時\t部門No\t"), 0), 0u);
}

TEST_F(TeamAwards, MergeFileIsWrittenAnew) {
  options(u8"BESTNO = 1\n");
  women_finish();
  test_support::write_bytes(race_.file(kDataFileOnDisk), std::string(5000, 'x'));
  const auto lines = crlf_lines(merge_file());
  EXPECT_EQ(lines.size(), 4u);  // the header, team 1, teams 11 and 12
  EXPECT_EQ(lines[1].find('x'), std::string::npos);
}

TEST_F(TeamAwards, MergeFileThatCannotBeWrittenIsReportedAndNotOpened) {
  options(u8"BESTNO = 3\n");
  women_finish();
  // Writing to a full device fails at the latest when the file is closed.
  std::filesystem::create_symlink("/dev/full", race_.file(kDataFileOnDisk));
  ScopedEnv visual("VISUAL", RECORD_ARGS_PROGRAM);
  con_->feed_key('Y');
  EXPECT_FALSE(team_award_data_entry());
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_TRUE(shows(u8"団体賞TAB.txt を書き込めませんでした")) << screen();
  EXPECT_TRUE(recorded_args().empty());
  // Certificate [8]: only the message is confirmed; no question, no document.
  g_documents_opened = 0;
  clear_screen();
  con_->feed_key('Y');
  team_award_data_and_document_entry(count_document_opening);
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_FALSE(shows(u8"この差し込みファイルでよろしいですか")) << screen();
  EXPECT_EQ(g_documents_opened, 0);
}

TEST_F(TeamAwards, ResultOutputEntryComputesFirst) {
  options(u8"BESTNO = 3\n");
  women_finish();
  // The list goes out with ranks computed by the entry itself (none were stored yet).
  set_out_kind_no(kOutPrinter);
  team_awards_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_EQ(without_stamp(recorded_data()), read_bytes(kExpected + "/list_best3_printer.txt"));
}

TEST_F(TeamAwards, ResultOutputEntryStopsAtEscOfTheOutputQuestion) {
  options(u8"BESTNO = 3\n");
  set_out_kind_no(kOutFile);
  test_support::write_bytes(race_.file("OUT.TXT"), "old");
  con_->feed_key(KEY_ESC);  // at the overwrite / append question
  team_awards_entry();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_EQ(read_bytes(race_.file("OUT.TXT")), "old");
  EXPECT_TRUE(recorded_args().empty());
}

TEST_F(TeamAwards, CertificateEntryOpensTheDocumentOnlyOnYes) {
  options(u8"BESTNO = 3\n");
  women_finish();
  ScopedEnv visual("VISUAL", RECORD_ARGS_PROGRAM);
  struct Case {
    int key;
    int opened;
  } cases[] = {{'N', 0}, {'n', 0}, {'Y', 1}, {'y', 1}};
  for (const auto& c : cases) {
    g_documents_opened = 0;
    test_support::write_bytes(race_.file(kDataFileOnDisk), "");
    con_->feed_keys({'x', c.key});  // a refused key first
    team_award_data_and_document_entry(count_document_opening);
    EXPECT_EQ(con_->keys_left(), 0u) << screen();
    EXPECT_EQ(g_documents_opened, c.opened) << static_cast<char>(c.key);
    EXPECT_EQ(crlf_lines(read_bytes(race_.file(kDataFileOnDisk))).size(), 7u);
    EXPECT_EQ(con_->row_text(22).find(u8s(u8"この差し込みファイルでよろしいですか？（Y / N）")), 10u)
        << screen();
  }
}

}  // namespace
