// Building MASTFILE.DAT and NAMEFILE.DAT from the team and runner lists: the sample
// race, broken lists, the carry-over of entered times and stops while the new file is
// written.
#include <signal.h>

#include <algorithm>
#include <map>

#include "results/setup/build_master.h"
#include "results/setup/file_replace.h"
#include "results/setup/namefile_build.h"
#include "setup/setup_fixture.h"

namespace setup_test {
namespace {

using race_test::write_race_file;

// Keys of a first build: start, register the start times, back to the menu.
const std::initializer_list<int> kFirstBuild = {'Y', 'Y', 'Y'};

TEST_F(SetupTest, SampleRaceBuildsSortedFreshRecordsWithStartTimesAndNames) {
  sample_race();
  EXPECT_EQ(run([] { EXPECT_EQ(build_master(false), 1); }, {'Y', 'Y'}), "returned");
  EXPECT_FALSE(test_support::read_bytes(kMastTempFile).size());

  const EventDefinition& ev = event_definition();
  const std::vector<MastRecord> teams = read_master();
  ASSERT_EQ(teams.size(), 50u);
  EXPECT_TRUE(std::is_sorted(teams.begin(), teams.end(), [](const MastRecord& a, const MastRecord& b) {
    return a.bumon_no != b.bumon_no ? a.bumon_no < b.bumon_no : a.team_no < b.team_no;
  }));
  const HmsTime starts[] = {t(90000), t(91500), t(100000)};
  for (const MastRecord& rec : teams) {
    SCOPED_TRACE(rec.team_no);
    ASSERT_LT(rec.bumon_no, 3);
    EXPECT_EQ(rec.slots[0].departure, starts[rec.bumon_no]);
    EXPECT_EQ(rec.slots[0].arrival, starts[rec.bumon_no]);
    for (int k = 0; k <= ev.max_kukan; ++k) {
      const StationSlot& s = rec.slots[k];
      if (k > 0) {
        EXPECT_EQ(s.departure, kHmsNone);
        EXPECT_EQ(s.arrival, kHmsNone);
      }
      EXPECT_EQ(s.section_time, HmsTime{});
      EXPECT_EQ(s.cumulative_time, HmsTime{});
      EXPECT_EQ(s.section_rank, -1);
      EXPECT_EQ(s.cumulative_rank, -1);
      EXPECT_EQ(s.input_seq, 0);
    }
    EXPECT_EQ(rec.open_flag, rec.team_no == 115 || rec.team_no == 25 ? '1' : '0');
  }
  EXPECT_STREQ(teams.front().team_name, "みなと市役所");

  const std::vector<NameRecord> names = read_names();
  ASSERT_EQ(names.size(), teams.size());
  for (std::size_t r = 0; r < teams.size(); ++r) EXPECT_EQ(names[r].team_no, teams[r].team_no);
  const auto& first = names.front();  // team 1, seven sections
  EXPECT_STREQ(first.runners[1], "後藤拓也");
  EXPECT_STREQ(first.runners[7], "松本誠");
  EXPECT_EQ(team_index_lookup(mastfile_index(), 1), 0);
  EXPECT_TRUE(shows("MASTFILE.DAT を作り直しました"));
  EXPECT_TRUE(shows("NAMEFILE.DAT を作り直しました"));
}

TEST_F(SetupTest, DecliningTheStartTimesLeavesThemOpen) {
  small_race();
  EXPECT_EQ(run([] { build_master(true); }, {'Y', 'N', 'Y'}), "returned");
  for (const MastRecord& rec : read_master()) EXPECT_EQ(rec.slots[0].departure, kHmsNone);
}

TEST_F(SetupTest, SmallRaceListsTeamsByDivisionWithOpenEntriesAndRunnerNames) {
  small_race();
  EXPECT_EQ(run([] { build_master(true); }, kFirstBuild), "returned");
  const std::vector<MastRecord> teams = read_master();
  ASSERT_EQ(teams.size(), 4u);
  const int order[] = {7, 12, 3, 5};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(teams[i].team_no, order[i]);
  EXPECT_EQ(teams[2].open_flag, '1');
  EXPECT_EQ(teams[3].open_flag, '0');
  EXPECT_TRUE(shows(" 1: 一般の部   2チーム\n 2: 女子の部   2チーム\n")) << screen();
  EXPECT_TRUE(shows("        合計   4チーム")) << screen();

  const std::vector<NameRecord> names = read_names();
  ASSERT_EQ(names.size(), 4u);
  EXPECT_STREQ(names[0].runners[1], "太郎");  // fewer names than sections
  EXPECT_STREQ(names[0].runners[2], "");
  EXPECT_STREQ(names[1].runners[3], "三郎");
  EXPECT_STREQ(names[3].runners[2], "桃子");
  EXPECT_STREQ(names[2].runners[1], "");  // not in SENSYU.TXT
}

TEST_F(SetupTest, NoAtTheQuestionBuildsNothing) {
  small_race();
  EXPECT_EQ(run([] { EXPECT_EQ(build_master(true), 0); }, {'N'}), "returned");
  EXPECT_FALSE(file_exists(kMastFile));
}

// Separators: the comma keeps inner blanks, characters of regular expressions work,
// over-long names are cut whole and the change is shown.
TEST_F(SetupTest, FieldSeparatorsAndCutNames) {
  small_race();
  write_race_file("TEAM.TXT",
                  "FS=,\n"
                  "12, 西浜 ＡＣ ,1\n"
                  "FS=|\n"
                  "7|港|1|備考 open\n"
                  "FS=.\n"
                  "3.あいうえおかきくけこさしす.2\n"
                  "FS=\n"
                  "5 北町 2 走友会\n"
                  "*\n"
                  "999\n");
  EXPECT_EQ(run([] { build_master(true); }, kFirstBuild), "returned");
  std::map<int, MastRecord> by_no;
  for (const MastRecord& r : read_master()) by_no[r.team_no] = r;
  ASSERT_EQ(by_no.size(), 4u);
  EXPECT_STREQ(by_no[12].team_name, "西浜 ＡＣ");
  EXPECT_STREQ(by_no[7].team_name, "港");
  EXPECT_EQ(by_no[7].open_flag, '1');
  EXPECT_STREQ(by_no[3].team_name, "あいうえおかきくけこさし");
  EXPECT_STREQ(by_no[5].team_name, "北町");  // blanks end the name
  EXPECT_EQ(by_no[5].bumon_no, 1);
  EXPECT_TRUE(shows("\" 西浜 ＡＣ \" → \"西浜 ＡＣ\""));
  EXPECT_TRUE(shows("\"あいうえおかきくけこさしす\" → \"あいうえおかきくけこさし\""));
}

struct BrokenList {
  const char* name;
  const char* file;      // the list written
  const char* text;
  std::vector<const char*> messages;
};

class BrokenLists : public SetupTest, public ::testing::WithParamInterface<BrokenList> {};

TEST_P(BrokenLists, AreReportedAndLeaveTheMasterFileAlone) {
  const BrokenList& c = GetParam();
  small_race();
  EXPECT_EQ(run([] { build_master(true); }, kFirstBuild), "returned");
  const std::string master = test_support::read_bytes(kMastFile);
  const std::string names = test_support::read_bytes(kNameFile);
  write_race_file(c.file, c.text);

  const bool team_list = std::string(c.file) == "TEAM.TXT";
  auto operation = team_list ? std::function<void()>([] { build_master(true); })
                             : std::function<void()>([] { build_namefile(); });
  EXPECT_EQ(run(operation, team_list ? std::initializer_list<int>{'Y', '0'}
                                     : std::initializer_list<int>{'0'}),
            "menu");
  for (const char* message : c.messages) EXPECT_TRUE(shows(message)) << message << "\n" << screen();
  EXPECT_TRUE(shows(std::string(c.file) + " を修正してください"));
  EXPECT_NE(editor_log().find(c.file), std::string::npos);
  EXPECT_EQ(test_support::read_bytes(kMastFile), master);
  EXPECT_EQ(test_support::read_bytes(kNameFile), names);
  EXPECT_FALSE(file_exists(kMastTempFile));
  EXPECT_FALSE(file_exists("NAMEFILE.TMP"));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, BrokenLists,
    ::testing::Values(
        BrokenList{"NoName", "TEAM.TXT", "12 西浜 1\n# x\n7\n",
                   {"\nチーム名がありません\n", "ファイル \"TEAM.TXT\" の 3行目"}},
        BrokenList{"NoDivision", "TEAM.TXT", "12 西浜\n",
                   {"\n部門Ｎｏの指定がありません(1)\n", "ファイル \"TEAM.TXT\" の 1行目"}},
        BrokenList{"DivisionNotADigit", "TEAM.TXT", "\n12 西浜 一\n",
                   {"\n部門Ｎｏの指定がありません(2)\n", "ファイル \"TEAM.TXT\" の 2行目"}},
        BrokenList{"DuplicateTeam", "TEAM.TXT", "12 西浜 1\n12 東浜 2\n",
                   {"12 東浜 2\n    チームNo（12）が重複している。\n"}},
        BrokenList{"TeamOverThreeDigits", "TEAM.TXT", "1000 西浜 1\n",
                   {"1000 西浜 1\n    チームNoは３桁以内。\n"}},
        BrokenList{"DivisionOutOfRange", "TEAM.TXT", "12 西浜 3\n7 東浜 0\n",
                   {"12 西浜 3\n    部門No（3）不正。\n", "7 東浜 0\n    部門No（0）不正。\n"}},
        BrokenList{"NoTeams", "TEAM.TXT", "# 空\n*\n12 西浜 1\n",
                   {"\nTEAM.TXT に有効なデータがありません\n"}},
        BrokenList{"FsLength", "TEAM.TXT", "# 固定長\n  FS = Length\n12 西浜 1\n",
                   {"\nファイル \"TEAM.TXT\" の FS= 指定が不正です\n2 行目\n"
                    "FS=Length の指定は ver3.40 からできなくなりました\n"}},
        BrokenList{"FsLong", "TEAM.TXT", "FS=;;\n12 西浜 1\n",
                   {"\nファイル \"TEAM.TXT\" の FS= 指定が不正です\n1 行目\n\n"}},
        BrokenList{"DuplicateRunnerTeam", "SENSYU.TXT", "12 一郎\n7 太郎\n\n12 二郎\n",
                   {"\nチームＮｏ＝12 が重複しています\n4 行目\n"}}),
    [](const ::testing::TestParamInfo<BrokenList>& info) { return info.param.name; });

TEST_F(SetupTest, MoreThanFiveHundredTeamsStopTheProgram) {
  small_race();
  EXPECT_EQ(run([] { build_master(true); }, kFirstBuild), "returned");
  const std::string master = test_support::read_bytes(kMastFile);
  std::string list;
  for (int no = 1; no <= 501; ++no) list += std::to_string(no) + " T" + std::to_string(no) + " 1\n";
  write_race_file("TEAM.TXT", list);
  console_->feed_keys({'Y', 'Y'});
  EXPECT_EXIT(build_master(true), ::testing::ExitedWithCode(1), "");
  EXPECT_NE(fatal_screen().find("チーム数 > 500\n"), std::string::npos) << fatal_screen();
  EXPECT_EQ(test_support::read_bytes(kMastFile), master);
  EXPECT_FALSE(file_exists(kMastTempFile));
}

TEST_F(SetupTest, FiveHundredTeamsAreBuilt) {
  small_race();
  std::string list;
  for (int no = 500; no >= 1; --no) list += std::to_string(no) + " T " + std::to_string(no % 2 + 1) + "\n";
  write_race_file("TEAM.TXT", list);
  EXPECT_EQ(run([] { build_master(true); }, kFirstBuild), "returned");
  const std::vector<MastRecord> teams = read_master();
  ASSERT_EQ(teams.size(), 500u);
  EXPECT_EQ(teams.front().team_no, 2);  // division 1: the even numbers
  EXPECT_EQ(teams[249].team_no, 500);
  EXPECT_EQ(teams[250].team_no, 1);
  EXPECT_EQ(teams.back().team_no, 499);
}

// Times entered at the start, relay points and the goal, as the entry screens store them.
void enter_times() {
  std::vector<MastRecord> teams = read_master();
  int seq = 0;
  for (MastRecord& rec : teams) {
    const int sections = event_definition().sections[rec.bumon_no];
    for (int k = 1; k <= sections; ++k) {
      tiny_race::arrive(rec, k, 90000 + 1500 * k + rec.team_no, ++seq);
    }
  }
  teams[1].slots[1].departure = t(93000);  // a forced start at the first relay point
  tiny_race::write_master(teams);
}

TEST_F(SetupTest, CarryOverKeepsEveryEnteredTimeOfTeamsStillListed) {
  small_race();
  EXPECT_EQ(run([] { build_master(true); }, kFirstBuild), "returned");
  enter_times();
  std::map<int, MastRecord> before;
  for (const MastRecord& r : read_master()) before[r.team_no] = r;

  // A renamed team, a team gone, a new team.
  write_race_file("TEAM.TXT", "12 西浜ＡＣ 1\n7 港ランナーズＢ 1\n5 北町走友会 2\n20 新顔 2\n");
  EXPECT_EQ(run([] { EXPECT_EQ(build_master(true), 1); }, {'Y', 'Y', 'Y', 'Y', 'Y'}), "returned");

  std::map<int, MastRecord> after;
  for (const MastRecord& r : read_master()) after[r.team_no] = r;
  ASSERT_EQ(after.size(), 4u);
  EXPECT_STREQ(after[7].team_name, "港ランナーズＢ");
  for (int no : {12, 7, 5}) {
    SCOPED_TRACE(no);
    const int sections = event_definition().sections[after[no].bumon_no];
    for (int k = 0; k <= sections; ++k) {
      EXPECT_EQ(after[no].slots[k].arrival, before[no].slots[k].arrival) << k;
      EXPECT_EQ(after[no].slots[k].departure, before[no].slots[k].departure) << k;
      EXPECT_EQ(after[no].slots[k].input_seq, before[no].slots[k].input_seq) << k;
    }
  }
  EXPECT_EQ(after[20].slots[1].arrival, kHmsNone);
  EXPECT_EQ(after[20].slots[0].departure, kHmsNone);  // carried over: no registration
}

TEST_F(SetupTest, DecliningBothQuestionsKeepsTheOldFile) {
  small_race();
  EXPECT_EQ(run([] { build_master(true); }, kFirstBuild), "returned");
  enter_times();
  const std::string master = test_support::read_bytes(kMastFile);
  write_race_file("TEAM.TXT", "12 西浜ＡＣ 1\n");
  EXPECT_EQ(run([] { EXPECT_EQ(build_master(true), 0); }, {'Y', 'N', 'N'}), "returned");
  EXPECT_TRUE(shows("タイムデータがすべて初期化されます"));
  EXPECT_EQ(test_support::read_bytes(kMastFile), master);
  EXPECT_FALSE(file_exists(kMastTempFile));
}

// Crash tests: the process is killed at one step of writing the new master file.
const char* g_kill_step = "";
int g_kill_count = 0;
void kill_at(const char* step, int count) {
  if (std::string(step) == g_kill_step && count == g_kill_count) raise(SIGKILL);
}

TEST_F(SetupTest, KilledWhileWritingLeavesTheOldOrTheNewFileWhole) {
  small_race();
  EXPECT_EQ(run([] { build_master(true); }, kFirstBuild), "returned");
  enter_times();
  const std::string old_master = test_support::read_bytes(kMastFile);
  write_race_file("TEAM.TXT", "12 西浜ＡＣ 1\n7 港ランナーズ 1\n5 北町走友会 2\n20 新顔 2\n3 女子選抜 2\n");

  struct Point {
    const char* step;
    int count;
    bool new_file;
  };
  for (const Point& p : {Point{"record", 1, false}, Point{"record", 4, false},
                         Point{"flushed", 0, false}, Point{"renamed", 0, true}}) {
    SCOPED_TRACE(std::string(p.step) + std::to_string(p.count));
    test_support::write_bytes(kMastFile, old_master);
    g_kill_step = p.step;
    g_kill_count = p.count;
    console_->feed_keys({'Y', 'N', 'Y', 'Y', 'Y'});
    EXPECT_EXIT(
        {
          set_write_probe(kill_at);
          build_master(true);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    const std::string now = test_support::read_bytes(kMastFile);
    if (!p.new_file) {
      EXPECT_EQ(now, old_master);
      continue;
    }
    ASSERT_EQ(now.size(), kMastHeaderBytes + 5u * event_definition().sizeof_mastrec);
    const std::vector<MastRecord> teams = read_master();
    EXPECT_EQ(teams[4].team_no, 20);
    EXPECT_EQ(teams[0].slots[0].departure, t(90000));  // registered before the rename
    EXPECT_EQ(teams[0].slots[1].arrival, kHmsNone);
  }
}

TEST_F(SetupTest, NameFileFollowsRunnerListEdits) {
  small_race();
  EXPECT_EQ(run([] { build_master(true); }, kFirstBuild), "returned");
  write_race_file("SENSYU.TXT", "FS=Tab\n5\t  春子 \t夏子\n3\t秋子\n");
  EXPECT_EQ(run([] { EXPECT_EQ(build_namefile(), 1); }, {}), "returned");
  const std::vector<NameRecord> names = read_names();
  EXPECT_STREQ(names[3].runners[1], "春子");
  EXPECT_STREQ(names[3].runners[2], "夏子");
  EXPECT_STREQ(names[2].runners[1], "秋子");
  EXPECT_STREQ(names[1].runners[1], "");

  remove_file(kMastFile);
  EXPECT_EQ(build_namefile(), 0);
}

}  // namespace
}  // namespace setup_test
