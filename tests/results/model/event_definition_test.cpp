// Loading EKI.TXT and BUMON.TXT: the maps and counts of a valid race, the cutting of
// over-long fields, every format error with its message and the fix prompt, the
// required-files check, the distance text and the diagnostic dump.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "race_test_helpers.h"
#include "results/model/event_definition.h"
#include "results/shell/program_info.h"
#include "results/shell/stops.h"

namespace {

using race_test::write_race_file;
using test_support::to_utf8;

constexpr const char* kTwoStations = "S 0\nG 5\n";
constexpr const char* kThreeStations = "S 0\nM 2\nG 5\n";
constexpr const char* kOneDivision = "A\nMaxSpeed=20 MinSpeed=5\n++\n";

std::string numbered_lines(const char* prefix, int count, const std::string& suffix) {
  std::string text;
  for (int i = 0; i < count; ++i) text += prefix + std::to_string(i) + suffix;
  return text;
}

// The console text of a failed load, as kihon_data shows it before the fix prompt.
std::string shown_message(const RaceFileError& error) {
  if (error.no_data) return "\n" + error.file + " に有効なデータがありません\n";
  return error.message;
}

class EventDefinitionTest : public race_test::RaceFolderTest {
 protected:
  void write_race(const std::string& eki, const std::string& bumon) {
    write_race_file("EKI.TXT", eki);
    write_race_file("BUMON.TXT", bumon);
    write_race_file("TEAM.TXT", "1 A 1\n");
    write_race_file("OPTION.TXT", "\n");
  }
  EventDefinition ev_;
  RaceFileError error_;
};

TEST_F(EventDefinitionTest, TwoCoursesGiveTheMapsCountsAndRecordLengths) {
  use_fixture("two_courses");
  ASSERT_TRUE(load_race_files(ev_, error_)) << to_utf8(error_.message);
  EXPECT_EQ(ev_.eki_suu, 11);
  EXPECT_EQ(ev_.bumon_suu, 2);
  EXPECT_EQ(ev_.sections[0], 10);
  EXPECT_EQ(ev_.sections[1], 6);
  EXPECT_EQ(ev_.max_kukan, 10);
  EXPECT_EQ(ev_.sizeof_mastrec, 227);
  EXPECT_EQ(ev_.sizeof_namerec, 212);
  // The junior course skips stations 6 to 9 and ends at the goal, station 10.
  EXPECT_EQ(ev_.phy_to_log[1][5], 5);
  EXPECT_EQ(ev_.phy_to_log[1][6], -1);
  EXPECT_EQ(ev_.phy_to_log[1][10], 6);
  EXPECT_EQ(ev_.log_to_phy[1][6], 10);
  EXPECT_EQ(ev_.log_to_phy[1][7], -1);
  EXPECT_EQ(ev_.phy_to_log[0][10], 10);
  EXPECT_EQ(ev_.phy_to_log[2][0], -1);
  EXPECT_STREQ(ev_.station_names[0], "スタート");
  EXPECT_STREQ(ev_.station_nicknames[0], "市役所前");
  EXPECT_STREQ(ev_.station_urls[0], "http://example.jp/start");
  EXPECT_STREQ(ev_.station_nicknames[1], "第一中継所");
  EXPECT_STREQ(ev_.station_nicknames[10], "競技場");  // "nickname = " in lower case
  EXPECT_STREQ(ev_.station_urls[1], "");
  EXPECT_DOUBLE_EQ(ev_.distances[3], 10.25);
  EXPECT_EQ(ev_.distance_decimals, 2);
  EXPECT_STREQ(ev_.division_names[1], "中学生の部");
  EXPECT_DOUBLE_EQ(ev_.max_speeds[0], 24.0);
  EXPECT_DOUBLE_EQ(ev_.min_speeds[1], 6.0);
  EXPECT_EQ(ev_.start_times[0], (HmsTime{9, 0, 0}));
  EXPECT_EQ(ev_.start_times[1], (HmsTime{0, 0, 0}));
}

struct StationCase {
  const char* label;
  std::string eki;
  std::string name;
  double distance;
  int decimals;
};

TEST_F(EventDefinitionTest, StationLinesAreSplitAndCutWithinTheirFields) {
  const std::vector<StationCase> cases = {
      {"three decimals", "S 12.345\nG 20\n", "S", 12.345, 3},
      {"point without decimals", "S 12.\nG 20\n", "S", 12, 0},
      {"leading blanks", "\t　 S 1.5\nG 20\n", "S", 1.5, 1},
      {"comma separator", "FS=,\nSt art  , 3\nG,20\n", "St art", 3, 0},
      {"tab separator", "FS=Tab\nみなと 公園\t7\nG\t20\n", "みなと 公園", 7, 0},
      {"long name cut", "あいうえおかきくけこ 4\nG 20\n", "あいうえおか", 4, 0},
      {"double-byte never split", "Aあいうえおかき 4\nG 20\n", "Aあいうえお", 4, 0},
      {"tab in a comma name", "FS=,\nA\tB,2\nG,20\n", "A B", 2, 0},
      {"NUL after the distance", std::string("S 6\0junk\nG 20\n", 14), "S", 6, 0},
  };
  for (const StationCase& c : cases) {
    SCOPED_TRACE(c.label);
    write_race(c.eki, kOneDivision);
    ASSERT_TRUE(load_race_files(ev_, error_)) << to_utf8(error_.message);
    EXPECT_EQ(std::string(ev_.station_names[0]), c.name);
    EXPECT_DOUBLE_EQ(ev_.distances[0], c.distance);
    EXPECT_EQ(ev_.distance_decimals, c.decimals);
    EXPECT_EQ(ev_.eki_suu, 2);
  }
}

TEST_F(EventDefinitionTest, OverLongNicknameUrlAndDivisionNameAreCut) {
  const std::string url(600, 'u');
  write_race("S 0 NICKNAME=" + std::string(30, 'n') + " URL=" + url + "\nG 5\n",
             "一二三四五六七八九十一二三四五\nMaxSpeed=20 MinSpeed=5\n++++\n");
  ASSERT_TRUE(load_race_files(ev_, error_)) << to_utf8(error_.message);
  EXPECT_EQ(std::string(ev_.station_nicknames[0]), std::string(20, 'n'));
  EXPECT_EQ(std::string(ev_.station_urls[0]), std::string(512, 'u'));
  EXPECT_STREQ(ev_.division_names[0], "一二三四五六七八九十一二三");
}

TEST_F(EventDefinitionTest, FiftyStationsAndTwentyDivisionsAreTheLimits) {
  const std::string twenty =
      numbered_lines("D", 20, "\nMaxSpeed=20 MinSpeed=5\n++" + std::string(48, '/') + "\n");
  write_race(numbered_lines("S", 50, " 1\n"), twenty);
  ASSERT_TRUE(load_race_files(ev_, error_)) << to_utf8(error_.message);
  EXPECT_EQ(ev_.eki_suu, 50);
  EXPECT_EQ(ev_.bumon_suu, 20);
  EXPECT_EQ(ev_.max_kukan, 1);
}

struct BrokenCase {
  const char* label;
  std::string eki;
  std::string bumon;
  std::string file;
  std::string message;  // as shown on the console before the fix prompt
};

std::vector<BrokenCase> broken_cases() {
  const std::string long_line = std::string(1500, 'x') + " 5\n";
  return {
      {"bad FS", "FS=ab\nS 0\nG 5\n", kOneDivision, "EKI.TXT",
       "\nファイル \"EKI.TXT\" の FS= 指定が不正です\n1 行目\n"},
      {"51 stations", numbered_lines("S", 51, " 1\n"), kOneDivision, "EKI.TXT",
       "\nEKI.TXT 51 行目。駅数エラー\nS50 1\n駅数が 50 を越えています\n"},
      {"four decimals", "S 0\nG 12.3456\n", kOneDivision, "EKI.TXT",
       "\nEKI.TXT 2 行目。フォーマット・エラー\nG 12.3456\n"
       "通算距離（累計距離）の小数部分は３桁以内にしてください\n"},
      {"missing distance", "S 0\nG\n", kOneDivision, "EKI.TXT",
       "\nEKI.TXT 2 行目。フォーマット・エラー\nG\n"
       "通算距離（累計距離）の書き方が間違っています\n"},
      {"NUL cuts the line", std::string("S 0\nG\0 5\n", 9), kOneDivision, "EKI.TXT",
       "\nEKI.TXT 2 行目。フォーマット・エラー\nG\n"
       "通算距離（累計距離）の書き方が間違っています\n"},
      {"line over 999 bytes", long_line, kOneDivision, "EKI.TXT",
       "\nEKI.TXT 1 行目。フォーマット・エラー\n" + std::string(999, 'x') +
           "\n通算距離（累計距離）の書き方が間違っています\n"},
      {"no stations", "", kOneDivision, "EKI.TXT",
       "\nEKI.TXT に有効なデータがありません\n"},
      {"only a field-separator line", "FS=,\n*\nS,0\n", kOneDivision, "EKI.TXT",
       "\nEKI.TXT に有効なデータがありません\n"},
      {"empty division line", kThreeStations, "\n", "BUMON.TXT",
       "BUMON.TXT 1 行目が空白です\n"},
      {"blank line after a block", kThreeStations, "A\nMaxSpeed=20 MinSpeed=5\n+++\n  \n",
       "BUMON.TXT", "BUMON.TXT 4 行目が空白です\n"},
      {"missing second line", kThreeStations, "A\n", "BUMON.TXT",
       "\nBUMON.TXT 2 行目。フォーマット・エラー\n\n第 1 部門(A)の２行目がありません\n"},
      {"missing third line", kThreeStations, "A\nMaxSpeed=20 MinSpeed=5\n*\n", "BUMON.TXT",
       "\nBUMON.TXT 3 行目。フォーマット・エラー\n*\n第 1 部門(A)の３行目がありません\n"},
      {"missing MaxSpeed", kThreeStations, "A\nMinSpeed=5\n+++\n", "BUMON.TXT",
       "\nBUMON.TXT 2 行目。フォーマット・エラー\nMinSpeed=5\n"
       "キーワード \"MaxSpeed=\" がありません\n"},
      {"missing MinSpeed", kThreeStations, "A\nMaxSpeed=20 minspeed=5\n+++\n", "BUMON.TXT",
       "\nBUMON.TXT 2 行目。フォーマット・エラー\nMaxSpeed=20 minspeed=5\n"
       "キーワード \"MinSpeed=\" がありません\n"},
      {"start time with 60 minutes", kThreeStations,
       "A\nMaxSpeed=20 MinSpeed=5 StartTime=096000\n+++\n", "BUMON.TXT",
       "\nBUMON.TXT 2 行目。フォーマット・エラー\nMaxSpeed=20 MinSpeed=5 StartTime=096000\n"
       "指定したスタート時刻が不正です\n"},
      {"start time without digits", kThreeStations,
       "A\nMaxSpeed=20 MinSpeed=5 StartTime=nine\n+++\n", "BUMON.TXT",
       "\nBUMON.TXT 2 行目。フォーマット・エラー\nMaxSpeed=20 MinSpeed=5 StartTime=nine\n"
       "指定したスタート時刻が不正です\n"},
      {"short pattern", kThreeStations, "A\nMaxSpeed=20 MinSpeed=5\n++\n", "BUMON.TXT",
       "\nBUMON.TXT 3 行目。フォーマット・エラー\n++\n"
       "中継所指定行の文字数が駅数（3）に満たない\n"},
      {"bad pattern character", kThreeStations, "A\nMaxSpeed=20 MinSpeed=5\n+＋+\n",
       "BUMON.TXT",
       "\nBUMON.TXT 3 行目。フォーマット・エラー\n+＋+\n2文字目に不正な文字 '＋' がある\n"
       "３行目で使える文字は +, /, 1, 0 の４つだけ\n意味は下の通り\n"
       "\t中継所に使う=+ または 1\n\t中継所に使わない=/ または 0\n"},
      {"21 sections", numbered_lines("S", 22, " 1\n"),
       "A\nMaxSpeed=20 MinSpeed=5\n" + std::string(22, '+') + "\n", "BUMON.TXT",
       "\nBUMON.TXT 3 行目。フォーマット・エラー\n" + std::string(22, '+') +
           "\n区間数が 20 を越えている\n"},
      {"course of one station", kThreeStations, "A\nMaxSpeed=20 MinSpeed=5\n/+/\n",
       "BUMON.TXT",
       "\nBUMON.TXT 3 行目。フォーマット・エラー\n/+/\n"
       "中継所に使う駅（+ または 1）を２つ以上指定してください\n"},
      {"21 divisions", kTwoStations, numbered_lines("D", 21, "\nMaxSpeed=20 MinSpeed=5\n++\n"),
       "BUMON.TXT", "\nBUMON.TXT 61 行目。部門数エラー\nD20\n部門数が 20 を越えています\n"},
      {"no divisions", kThreeStations, "*\nA\n", "BUMON.TXT",
       "\nBUMON.TXT に有効なデータがありません\n"},
  };
}

TEST_F(EventDefinitionTest, EveryFormatErrorNamesFileLineAndReason) {
  for (const BrokenCase& c : broken_cases()) {
    SCOPED_TRACE(c.label);
    write_race(c.eki, c.bumon);
    ASSERT_FALSE(load_race_files(ev_, error_));
    EXPECT_EQ(error_.file, c.file);
    EXPECT_EQ(shown_message(error_), c.message);
  }
}

// The whole path through kihon_data: the message on the console, the file opened in
// the editor, the continue-or-stop question; 0 goes back to the main menu.
TEST_F(EventDefinitionTest, FormatErrorOpensTheEditorAndContinueReturnsToTheMenu) {
  for (const BrokenCase& c : broken_cases()) {
    SCOPED_TRACE(c.label);
    write_race(c.eki, c.bumon);
    std::remove(editor_log_.c_str());
    clear_screen();
    console_->feed_key('0');
    EXPECT_THROW(kihon_data(), BackToMainMenu);
    EXPECT_EQ(editor_log(), c.file + "\n");
    const std::string shown = screen();
    EXPECT_NE(shown.find(c.file + " を修正してください"), std::string::npos) << shown;
    EXPECT_NE(shown.find("修正後続行→0　中止→1　[0]"), std::string::npos) << shown;
    // The last line of the reason stands just above the question.
    std::string last_line = c.message.substr(0, c.message.size() - 1);
    last_line = last_line.substr(last_line.rfind('\n') + 1);
    if (last_line[0] == '\t') last_line = last_line.substr(1);
    EXPECT_NE(shown.find(last_line), std::string::npos) << shown;
  }
}

TEST_F(EventDefinitionTest, StoppingAtTheFixPromptEndsTheProgramWithCodeOne) {
  write_race("S 0\nG 12.3456\n", kOneDivision);
  console_->feed_keys({'1', 'Y'});
  EXPECT_EXIT(kihon_data(), ::testing::ExitedWithCode(1), "");
  EXPECT_NE(fatal_screen().find("修正後続行→0　中止→1　[1]"), std::string::npos);
}

TEST_F(EventDefinitionTest, MissingRequiredFileNamesTheOlderFileName) {
  write_race(kTwoStations, kOneDivision);
  std::rename("EKI.TXT", "EKIMEI.TXT");
  console_->feed_key('Y');
  EXPECT_EXIT(kihon_data(), ::testing::ExitedWithCode(1), "");
  const std::string shown = fatal_screen();
  EXPECT_NE(shown.find("このディレクトリ（フォルダ）にはファイル EKI.TXT がありません"),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find("HAKOBU32 では、EKIMEI.TXT ではなく EKI.TXT です"), std::string::npos)
      << shown;
}

TEST_F(EventDefinitionTest, MissingOptionFileStopsAlthoughOptionsHaveDefaults) {
  write_race(kTwoStations, kOneDivision);
  std::remove("OPTION.TXT");
  console_->feed_key('Y');
  EXPECT_EXIT(kihon_data(), ::testing::ExitedWithCode(1), "");
  EXPECT_NE(fatal_screen().find("ファイル OPTION.TXT がありません"), std::string::npos);
}

TEST_F(EventDefinitionTest, KihonDataFillsTheProcessWideDescriptionAndSpeedLimits) {
  write_race(kThreeStations, "A\nMaxSpeed=20 MinSpeed=5\n+/+\n");
  write_race_file("OPTION.TXT", "FAST_SPEED_LIMIT = 25.5\n");
  kihon_data();
  const EventDefinition& ev = event_definition();
  EXPECT_EQ(ev.eki_suu, 3);
  EXPECT_EQ(ev.max_kukan, 1);
  EXPECT_DOUBLE_EQ(ev.fast_speed_limit, 25.5);
  EXPECT_DOUBLE_EQ(ev.slow_speed_limit, 3.0);
  EXPECT_EQ(console_->keys_left(), 0u);
}

TEST_F(EventDefinitionTest, DistanceTextFollowsTheMostDecimalsWritten) {
  struct Case {
    int decimals;
    const char* expected;
  };
  const Case cases[] = {{-1, "  12.5km"}, {0, "  12.5km"}, {1, "  12.5km"},
                        {2, " 12.50km"}, {3, "12.500km"}};
  EventDefinition& ev = event_definition();
  const int saved = ev.distance_decimals;
  for (const Case& c : cases) {
    ev.distance_decimals = c.decimals;
    EXPECT_EQ(kyori_text(12.5, 6, "km"), c.expected) << c.decimals;
    char buffer[4];
    EXPECT_EQ(print_kyori(nullptr, buffer, sizeof buffer, 12.5, 6, "km"), 8);
    EXPECT_EQ(std::strlen(buffer), 3u);  // never past the caller's buffer
  }
  ev.distance_decimals = saved;
}

TEST_F(EventDefinitionTest, DistancesWrittenWithTwoDecimalsShowTwoEverywhere) {
  write_race("S 3\nM 6.5\nG 10.25\n", "A\nMaxSpeed=20 MinSpeed=5\n+++\n");
  kihon_data();
  EXPECT_EQ(kyori_text(event_definition().distances[0], 5, ""), " 3.00");
}

TEST_F(EventDefinitionTest, DebugDumpShowsTheMapsAndCountsOfTheSampleRace) {
  test_support::copy_folder_files(SAMPLE_RACE_DIR, dir_.path());
  ASSERT_TRUE(load_race_files(ev_, error_)) << to_utf8(error_.message);
  const std::string dump = event_definition_dump_text(ev_);
  // Division 2 (index 1) runs stations 0, 2, 4, 6, 7.
  EXPECT_NE(dump.find("phy_to_log[1][4]=2\nphy_to_log[1][6]=3\nphy_to_log[1][7]=4\n\n"
                      "log_to_phy[1][0]=0\n"),
            std::string::npos)
      << dump;
  EXPECT_EQ(dump.find("phy_to_log[1][1]="), std::string::npos);
  EXPECT_NE(dump.find("eki_suu=8\nbumon_suu=3\nmax_kukan=7\nsizeof_mastrec=173\n"
                      "sizeof_namerec=149\n"),
            std::string::npos)
      << dump;

  set_debug_flag(true);
  console_->feed_key('x');
  kihon_data();
  set_debug_flag(false);
  EXPECT_EQ(console_->keys_left(), 0u);  // the dump waited for a key
  EXPECT_NE(screen().find("max_kukan=7\nsizeof_mastrec=173\nsizeof_namerec=149"),
            std::string::npos)
      << screen();
}

}  // namespace
