// The dubious-speed list: which sections are collected (limits included, sections without
// a time never), both sort orders, both layouts against golden lists, the empty lists, and
// too many entries sending the user to BUMON.TXT.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "division_results_test_race.h"
#include "results/compute/results_compute.h"
#include "results/model/event_definition.h"
#include "results/reports/dubious_speeds.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "results/shell/stops.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using division_results_test::crlf_lines;
using division_results_test::without_stamp;
using output_test::u8s;
using test_support::read_bytes;
using test_support::to_cp932;

const std::string kFixture = std::string(FIXTURES_DIR) + "/dubious_speeds";

std::string cp(const char8_t* utf8) { return to_cp932(u8s(utf8)); }

// (team number, section, group, speed in hundredths) of every entry, in the order given.
using Found = std::tuple<int, int, int, int>;

// The race of tests/results/fixtures/dubious_speeds/race: stations 0 市民広場 0 km,
// 1 第一中継所 3.5, 2 第二中継所 7.25, 3 第三中継所 10, 4 陸上競技場 12.5.
// 一般の部 (MinSpeed 10, MaxSpeed 25) runs 0-1-2-3-4 from 9:00; 女子の部 (MinSpeed 8,
// MaxSpeed 20) runs 1-3-4 from 9:10. Sections and speeds of the times entered below:
//   1: s1 3.5 km 8'24 = 25.00 (at MaxSpeed), s2 3.75 km 22'30 = 10.00 (at MinSpeed),
//      s3 2.75 km 11'00 = 15, s4 2.5 km 10'00 = 15.
//   2: s1 8'00 = 26.25, s2 15'00 = 15, s3 30'00 = 5.50, no goal (s4 without a time).
//   3: s1 14'00 = 15, no arrival at station 2 (s2 and s3 without a time), s4 5'30 = 27.27.
//   5 (open): s1 7'30 = 28.00, s2 15'00 = 15.
//   6: s1 14'00 = 15.
//   11: s1 6.5 km 1:00'00 = 6.50, s2 2.5 km 10'00 = 15.
//   12: s1 30'00 = 13, s2 7'30 = 20.00 (at MaxSpeed).
//   13: arrival at station 3 at its start time (section time 0:00:00).
// None reaches the consistency warnings' limits (30 and 3 km/h).
class DubiousSpeeds : public output_test::OutputTest {
 protected:
  void SetUp() override {
    test_support::copy_folder_files(kFixture + "/race", race_.path());
    options();
    division_results_test::build_race_files(*con_);
    division_results_test::TimeWriter w;
    for (const auto& [team, station, time] : std::vector<std::tuple<int, int, int>>{
             {1, 1, 90824}, {1, 2, 93054}, {1, 3, 94154}, {1, 4, 95154},
             {2, 1, 90800}, {2, 2, 92300}, {2, 3, 95300},
             {3, 1, 91400}, {3, 3, 95000}, {3, 4, 95530},
             {5, 1, 90730}, {5, 2, 92230},
             {6, 1, 91400},
             {11, 3, 101000}, {11, 4, 102000},
             {12, 3, 94000}, {12, 4, 94730},
             {13, 3, 91000}}) {
      w.arrive(team, station, time);
    }
  }

  void options(const char8_t* extra = u8"") {
    write_options(u8s(u8"EVENTNAME = 第１回テスト駅伝\n") + "EDITOR=" + RECORD_ARGS_PROGRAM +
                  "\n" + u8s(extra));
  }

  // The whole entry on the printer; the bytes handed over with the stamp made fixed.
  std::string list() {
    set_out_kind_no(kOutPrinter);
    print_dubious_speeds();
    EXPECT_EQ(con_->keys_left(), 0u) << screen();
    EXPECT_EQ(recorded_args().size(), 4u) << screen();
    return without_stamp(recorded_data());
  }

  void expect_golden(const std::string& text, const std::string& name) {
    if (const char* dir = std::getenv("DUBIOUS_SPEEDS_ACTUAL_DIR")) {
      test_support::write_bytes(std::string(dir) + "/" + name, text);
    }
    EXPECT_EQ(text, read_bytes(kFixture + "/expected/" + name)) << name;
  }

  // What the entries say, with the team numbers read from the master file.
  static std::vector<Found> found(const std::vector<DubiousSpeed>& entries) {
    Stream mast = open_mastfile("rb");
    std::vector<Found> out;
    for (const DubiousSpeed& e : entries) {
      MastRecord rec;
      mast_read(mast, e.rec_no, rec);
      out.emplace_back(rec.team_no, e.section, e.group,
                       static_cast<int>(e.speed * 100 + 0.5));
    }
    return out;
  }

  std::vector<DubiousSpeed> collected() {
    EXPECT_EQ(prepare_results(0, 0, -1), 0);
    std::vector<DubiousSpeed> entries;
    const int count = collect_dubious_speeds(entries);
    EXPECT_EQ(count, static_cast<int>(entries.size()));
    return entries;
  }
};

TEST_F(DubiousSpeeds, CollectsLimitsInclusiveAndSkipsSectionsWithoutTime) {
  const std::vector<DubiousSpeed> entries = collected();
  // File order (by team number), sections in course order; 10.00 and 25.00 and 20.00
  // exactly at a limit are listed; no section without a time (team 2 s4, team 3 s2/s3,
  // team 13 s1 of 0:00:00); the open team is checked like the others.
  const std::vector<Found> expected = {
      {1, 1, kTooFast, 2500}, {1, 2, kTooSlow, 1000}, {2, 1, kTooFast, 2625},
      {2, 3, kTooSlow, 550},  {3, 4, kTooFast, 2727}, {5, 1, kTooFast, 2800},
      {11, 1, kTooSlow, 650}, {12, 2, kTooFast, 2000}};
  EXPECT_EQ(found(entries), expected);
  // End stations are physical: 女子の部's first section ends at station 3.
  EXPECT_EQ(entries[6].end_station, 3);
  EXPECT_EQ(entries[6].bumon_no, 1);
  EXPECT_EQ(entries[7].end_station, 4);
}

TEST_F(DubiousSpeeds, ASpeedMeetingBothLimitsIsTooSlow) {
  // Limits crossed over: every timed section is at or below MinSpeed and at or above
  // MaxSpeed at once.
  event_definition().min_speeds[0] = 30;
  event_definition().max_speeds[0] = 5;
  const std::vector<DubiousSpeed> entries = collected();
  int general = 0;
  for (const DubiousSpeed& e : entries) {
    if (e.bumon_no != 0) continue;
    ++general;
    EXPECT_EQ(e.group, kTooSlow);
  }
  EXPECT_EQ(general, 12);  // every timed section of 一般の部
}

TEST(DubiousSpeedSort, OrdersAndTieBreaks) {
  auto entry = [](int station, int division, int section, int rec, double speed, int group) {
    return DubiousSpeed{static_cast<std::uint8_t>(station), static_cast<std::uint8_t>(section),
                        static_cast<std::uint8_t>(division), rec, speed,
                        static_cast<std::uint8_t>(group)};
  };
  const std::vector<DubiousSpeed> input = {
      entry(3, 0, 3, 4, 5.0, kTooSlow),  entry(1, 1, 1, 9, 30.0, kTooFast),
      entry(1, 0, 1, 2, 30.0, kTooFast), entry(4, 0, 4, 1, 31.0, kTooFast),
      entry(2, 0, 2, 0, 4.0, kTooSlow),  entry(1, 0, 1, 1, 30.0, kTooFast),
      entry(3, 0, 3, 0, 5.0, kTooSlow)};
  auto records = [](const std::vector<DubiousSpeed>& entries) {
    std::vector<int> out;
    for (const DubiousSpeed& e : entries) out.push_back(e.rec_no);
    return out;
  };
  struct Case {
    int sort_type;
    std::vector<int> expected;
  } cases[] = {
      // Station, division, section, record number.
      {kDubiousSortByStation, {1, 2, 9, 0, 0, 4, 1}},
      // Too fast, fastest first; equal speeds by station, division, section, record;
      // then too slow, slowest first.
      {1, {1, 1, 2, 9, 0, 0, 4}},
      {0, {1, 1, 2, 9, 0, 0, 4}},
  };
  for (const Case& c : cases) {
    std::vector<DubiousSpeed> entries = input;
    sort_dubious_speeds(entries, c.sort_type);
    EXPECT_EQ(records(entries), c.expected) << c.sort_type;
  }
  // The second case in detail: 31 km/h first, the three 30 km/h by station and division.
  std::vector<DubiousSpeed> grouped = input;
  sort_dubious_speeds(grouped, 1);
  EXPECT_EQ(grouped[0].speed, 31.0);
  EXPECT_EQ(grouped[3].bumon_no, 1);
  EXPECT_EQ(grouped[4].speed, 4.0);
}

TEST_F(DubiousSpeeds, GroupedListAgainstTheGoldenFile) {
  const std::string text = list();
  expect_golden(text, "grouped_printer.txt");
  EXPECT_EQ(text.back(), '\f');
  // Too fast from the fastest, then too slow from the slowest.
  const auto lines = crlf_lines(text);
  std::vector<std::string> speeds;
  for (const std::string& line : lines) {
    if (line.size() > 10 && line.compare(6, 5, "km/h ") == 0) speeds.push_back(line.substr(0, 6));
  }
  const std::vector<std::string> expected = {" 28.00", " 27.27", " 26.25", " 25.00",
                                             " 20.00", "  5.50", "  6.50", " 10.00"};
  EXPECT_EQ(speeds, expected);
  EXPECT_EQ(text.find(cp(u8"◆速すぎる")) < text.find(cp(u8"◆遅すぎる")), true);
}

TEST_F(DubiousSpeeds, ByStationListAgainstTheGoldenFile) {
  options(u8"GIMON_SPEED_SORTTYPE = 2\n");
  const std::string text = list();
  expect_golden(text, "by_station_printer.txt");
  EXPECT_EQ(text.find(cp(u8"◆")), std::string::npos);
  // Every entry line: 12 + " → " (4) + 12 + " %2d区 " (6) + distance (8) + " %6.2fkm/h " (12) +
  // time (9) + "  %3d:" (6) + team (24) + 2 + the division name.
  for (const std::string& line : crlf_lines(text)) {
    if (line.find(cp(u8"区 ")) == std::string::npos) continue;
    const std::string division = line.substr(line.size() - 8);
    EXPECT_TRUE(division == cp(u8"一般の部") || division == cp(u8"女子の部"));
    EXPECT_EQ(line.size(), 12u + 4 + 12 + 6 + 8 + 12 + 9 + 6 + 24 + 2 + 8)
        << test_support::to_utf8(line);
  }
}

TEST_F(DubiousSpeeds, NothingFoundInEitherLayout) {
  // Limits nobody reaches.
  std::string bumon = read_bytes(race_.file("BUMON.TXT"));
  for (const char* from : {"MaxSpeed=25.0 MinSpeed=10.0", "MaxSpeed=20.0 MinSpeed=8.0"}) {
    bumon.replace(bumon.find(from), std::string(from).size(), "MaxSpeed=29.0 MinSpeed=4.0 ");
  }
  test_support::write_bytes(race_.file("BUMON.TXT"), bumon);
  kihon_data();
  EXPECT_EQ(without_stamp(list()),
            "\r\n*** " + cp(u8"第１回テスト駅伝 疑問スピード") + " ***  YYYY/MM/DD  hh:mm:ss\r\n" +
                cp(u8"該当なし") + "\r\n\f");
  options(u8"GIMON_SPEED_SORTTYPE = 2\n");
  EXPECT_EQ(list(), cp(u8"該当なし") + "\r\n\f");
}

TEST_F(DubiousSpeeds, EscAtTheOutputQuestionWritesNothing) {
  test_support::write_bytes(race_.file("OUT.TXT"), "old\r\n");
  set_out_kind_no(kOutFile);
  con_->feed_key(KEY_ESC);
  print_dubious_speeds();
  EXPECT_EQ(con_->keys_left(), 0u);
  EXPECT_TRUE(recorded_args().empty());
  EXPECT_EQ(read_bytes(race_.file("OUT.TXT")), "old\r\n");
}

TEST_F(DubiousSpeeds, TooManyEntriesSendTheUserToTheDivisionFile) {
  // 250 teams of 一般の部, each with four sections at 15 km/h or so, and a MinSpeed above
  // every speed: the 1000th entry (the last team's last section) stops the list.
  std::string teams = "FS=Tab\r\n";
  for (int team = 1; team <= 250; ++team) teams += std::to_string(team) + "\tT" + std::to_string(team) + "\t1\r\n";
  test_support::write_bytes(race_.file("TEAM.TXT"), teams);
  test_support::write_bytes(race_.file("SENSYU.TXT"), "FS=Tab\r\n");
  std::string bumon = read_bytes(race_.file("BUMON.TXT"));
  const std::string general = "MaxSpeed=25.0 MinSpeed=10.0";
  bumon.replace(bumon.find(general), general.size(), "MaxSpeed=90.0 MinSpeed=80.0");
  test_support::write_bytes(race_.file("BUMON.TXT"), bumon);
  std::filesystem::remove(race_.file("MASTFILE.DAT"));  // a fresh build, no times carried over
  std::filesystem::remove(race_.file("NAMEFILE.DAT"));
  division_results_test::build_race_files(*con_);
  {
    Stream master = open_mastfile("r+b");
    for (int rec_no = 0; rec_no < 250; ++rec_no) {
      MastRecord rec;
      mast_read(master, rec_no, rec);
      for (int k = 1; k <= 4; ++k) {
        rec.slots[k].arrival = rec.slots[k].departure = hms_make(9, 15 * k, 0);
        rec.slots[k].input_seq = static_cast<std::int16_t>(rec_no * 4 + k);
      }
      mast_write(master, rec_no, rec);
    }
  }
  set_out_kind_no(kOutPrinter);
  con_->feed_key('0');  // continue after fixing the file: back to the main menu
  EXPECT_THROW(print_dubious_speeds(), BackToMainMenu);
  EXPECT_EQ(con_->keys_left(), 0u);
  EXPECT_TRUE(shows(u8"疑問スピードの件数が多すぎます")) << screen();
  EXPECT_TRUE(shows(u8"BUMON.TXT を修正してください")) << screen();
  // Exactly the limit was collected, and no list was handed over (the recording program
  // stands in for the editor as well, which is handed BUMON.TXT).
  std::vector<DubiousSpeed> entries;
  EXPECT_EQ(collect_dubious_speeds(entries), kMaxDubiousSpeeds);
  EXPECT_EQ(test_support::read_bytes(record_file_ + ".data").find(cp(u8"疑問スピード")),
            std::string::npos);
}

}  // namespace
