// 部門中継所.csv: the role of every station in every division, quoted fields, the whole
// file of a small race against a golden file written by hand, and the hand-over to the
// desktop.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "results/model/event_definition.h"
#include "results/reports/station_pattern_csv.h"
#include "results/shell/files.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using output_test::u8s;
using test_support::read_bytes;
using test_support::to_cp932;
using test_support::write_bytes;

const std::string kFixture = std::string(FIXTURES_DIR) + "/detail_files";

std::string cp(const char8_t* utf8) { return to_cp932(u8s(utf8)); }

// Division d uses the stations of `pattern` ('+' used, '/' not), as BUMON.TXT says.
void set_pattern(EventDefinition& ev, int d, const char* pattern) {
  int k = -1;
  for (int s = 0; pattern[s] != '\0'; ++s) {
    if (pattern[s] != '+') continue;
    ++k;
    ev.phy_to_log[d][s] = static_cast<signed char>(k);
    ev.log_to_phy[d][k] = static_cast<signed char>(s);
  }
  ev.sections[d] = static_cast<signed char>(k);
}

TEST(StationPattern, RoleOfEachStationInADivision) {
  EventDefinition ev;
  ev.eki_suu = 5;
  ev.bumon_suu = 3;
  set_pattern(ev, 0, "+++/+");
  set_pattern(ev, 1, "/+/++");
  set_pattern(ev, 2, "/+///");  // a single station: start and goal at once
  struct Case {
    int d, s;
    const char8_t* role;
  } cases[] = {
      {0, 0, u8"スタート"}, {0, 1, u8"第1中継所"}, {0, 2, u8"第2中継所"}, {0, 3, u8""},
      {0, 4, u8"ゴール"},   {1, 0, u8""},          {1, 1, u8"スタート"},  {1, 3, u8"第1中継所"},
      {1, 4, u8"ゴール"},   {2, 1, u8"スタート"},  {2, 4, u8""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(station_role(ev, c.d, c.s), cp(c.role)) << c.d << " " << c.s;
  }
}

TEST(StationPattern, FieldsAreQuotedAndInnerQuotesDoubled) {
  EXPECT_EQ(csv_quoted(""), "\"\"");
  EXPECT_EQ(csv_quoted(cp(u8"港\"広場\"")), std::string("\"") + cp(u8"港\"\"広場\"\"") + "\"");
  // A trail byte 0x5C (表) or a comma stays inside the quotes unchanged.
  EXPECT_EQ(csv_quoted(cp(u8"表,ソ")), std::string("\"") + cp(u8"表,ソ") + "\"");
}

TEST(StationPattern, TwoDigitStationNumbersAndOneColumnPerDivision) {
  EventDefinition ev;
  ev.eki_suu = 12;
  ev.bumon_suu = 1;
  for (int s = 0; s < ev.eki_suu; ++s) {
    std::snprintf(ev.station_names[s], kStationNameSize, "S%d", s);
    std::snprintf(ev.station_nicknames[s], kNicknameSize, "N%d", s);
  }
  std::strcpy(ev.division_names[0], "A");
  set_pattern(ev, 0, "++++++++++++");
  test_support::ScratchDir dir;
  {
    Stream out = open_stream(dir.file("p.csv"), "w");
    write_station_pattern(out, ev);
  }
  const std::string text = read_bytes(dir.file("p.csv"));
  EXPECT_EQ(text.substr(0, text.find("\r\n")), std::string("\"") + cp(u8"駅No") + "\",\"" + cp(u8"駅名") +
                                                   "\",\"" + cp(u8"作業用駅名") + "\",\"A\"");
  EXPECT_NE(text.find("\r\n\"00\",\"S0\",\"N0\",\"" + cp(u8"スタート") + "\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n\"10\",\"S10\",\"N10\",\"" + cp(u8"第10中継所") + "\"\r\n"),
            std::string::npos);
  const std::string last = std::string("\"") + cp(u8"ゴール") + "\"\r\n";
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

class StationPatternFile : public output_test::OutputTest {};

TEST_F(StationPatternFile, WholeRaceMatchesGoldenFileAndIsOpened) {
  test_support::copy_folder_files(kFixture + "/race", race_.path());
  kihon_data();
  const std::string log = race_.file("opened.log");
  const std::string viewer = race_.file("viewer.sh");
  write_bytes(viewer, "#!/bin/sh\necho \"$@\" >> '" + log + "'\n");
  chmod(viewer.c_str(), 0755);
  output_test::ScopedEnv visual("VISUAL", viewer.c_str());
  const std::string name = u8s(u8"部門中継所.csv");  // on disk in UTF-8
  write_bytes(race_.file(name), std::string(5000, 'x'));  // replaced, not appended to

  write_station_csv();

  const std::string text = read_bytes(race_.file(name));
  EXPECT_EQ(text, read_bytes(kFixture + "/expected/station_pattern.csv"));
  // 旧中継所 is used by no division: both division fields are empty.
  EXPECT_NE(text.find("\"02\",\"" + cp(u8"旧中継所") + "\",\"" + cp(u8"旧・使用せず") +
                      "\",\"\",\"\"\r\n"),
            std::string::npos);
  EXPECT_EQ(read_bytes(log), name + "\n");
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
}

TEST_F(StationPatternFile, AViewerThatCannotStartIsExplainedAndTheFileIsKept) {
  test_support::copy_folder_files(kFixture + "/race", race_.path());
  kihon_data();
  output_test::ScopedEnv visual("VISUAL", race_.file("no-such-viewer").c_str());
  con_->feed_key('Y');

  write_station_csv();

  EXPECT_TRUE(shows(u8"\"部門中継所.csv\" を開けません")) << screen();
  EXPECT_EQ(con_->keys_left(), 0u) << screen();
  EXPECT_EQ(read_bytes(race_.file(u8s(u8"部門中継所.csv"))),
            read_bytes(kFixture + "/expected/station_pattern.csv"));
}

}  // namespace
