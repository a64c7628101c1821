// Times read from text files: the line forms a timing device or a corrected check list
// produce, what each leaves in MASTFILE.DAT, and the relay point named in the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "compute/tiny_race.h"
#include "results/entry/time_import.h"
#include "results/shell/virtual_console.h"

using namespace tiny_race;
using test_support::to_cp932;

namespace {

class TimeImport : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VISUAL", "true", 1);  // "showing" the file must not wait for anybody
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    define({0, 5, 10, 15}, {"++++", "+/++"});
    MastRecord t105 = team(105, 0, false, 90000);
    arrive(t105, 1, 91500, 5);  // something to overwrite
    write_master({t105, team(106, 0, false, 90000), team(7, 1, false, 91500)});
  }

  void write_file(const std::string& name, const std::string& utf8_lines) {
    test_support::write_bytes(name, to_cp932(utf8_lines));
  }

  test_support::ScratchDir dir_;
  ScopedVirtualConsole con_;
};

struct LineCase {
  const char* line;  // UTF-8
  bool written;
  int arrival;       // hhmmss, -1 for not entered
  int departure;
  const char* message;  // what the console shows, "" for nothing
};

class ImportLines : public TimeImport, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ImportLines, LineLeavesThisInTheMasterFile) {
  const LineCase& c = GetParam();
  write_file("in.txt", std::string(c.line) + "\r\n");
  move_cursor(2, 0);
  EXPECT_EQ(import_times("in.txt", 1, HmsTime{}), c.written ? 1 : 0);
  const MastRecord r = find(read_master(), 105);
  const HmsTime arrival = c.arrival < 0 ? kHmsNone : t(c.arrival);
  const HmsTime departure = c.departure < 0 ? kHmsNone : t(c.departure);
  EXPECT_EQ(r.slots[1].arrival, arrival);
  EXPECT_EQ(r.slots[1].departure, departure);
  EXPECT_EQ(r.slots[1].input_seq, c.written ? 6 : 5);
  EXPECT_EQ(con_->row_text(2), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ImportLines,
    ::testing::Values(
        LineCase{u8c(u8"12: 105 93015"), true, 93015, 93015, ""},
        LineCase{u8c(u8"105 9:30'15 (3)"), true, 93015, 93015, ""},
        LineCase{u8c(u8"  3. 105 9.30.15"), true, 93015, 93015, ""},
        LineCase{u8c(u8"105 9ﾟ30'15"), true, 93015, 93015, ""},
        LineCase{u8c(u8"105 93015 (遅れ（ゴール前）)"), true, 93015, 93015, ""},
        LineCase{u8c(u8"105 NoData"), true, -1, -1, ""},
        LineCase{u8c(u8"105 nodata 94000"), true, -1, 94000, ""},
        LineCase{u8c(u8"105 93015 94500"), true, 93015, 94500, ""},
        LineCase{u8c(u8"105 93015 ←"), true, 93015, 93015, ""},
        LineCase{u8c(u8"105 93015 96000"), true, 93015, 93015, ""},  // bad departure: as arrival
        LineCase{u8c(u8"105 9:5:3"), true, 953, 953, ""},
        LineCase{u8c(u8"105 96015"), false, 91500, 91500, u8c(u8"数字列が時刻になっていない:105")},
        LineCase{u8c(u8"105 9時30分"), false, 91500, 91500, ""},
        LineCase{u8c(u8"999 93015"), false, 91500, 91500, u8c(u8"ﾁｰﾑNoエラー:999")},
        LineCase{u8c(u8"  7 93015"), false, 91500, 91500, u8c(u8"該当中継所でない:  7")},
        LineCase{u8c(u8"EkiNo=01"), false, 91500, 91500, ""},
        LineCase{u8c(u8"チームNo 到着"), false, 91500, 91500, ""},
        LineCase{u8c(u8""), false, 91500, 91500, ""}));

// Files as they come from devices and other programs: bytes as they stand in the file.
struct RawCase {
  const char* what;
  std::string bytes;
  int arrival_105;    // hhmmss, -1 for not entered
  int departure_105;
  int arrival_106;
  const char* message;  // row 2 of the console, "" for nothing
};

TEST_F(TimeImport, HostileFilesNeverPutATimeAtTheWrongTeam) {
  using namespace std::string_literals;
  const std::string sonota = "\x83\x5C";  // ソ: its second byte is the backslash
  const std::string hyou = "\x95\x5C";    // 表
  const RawCase cases[] = {
      {"lone CR line ends", "105 93015\r106 92000\r", 93015, 93015, 92000, ""},
      {"CR LF line ends", "105 93015\r\n106 92000\r\n", 93015, 93015, 92000, ""},
      {"the tail of an overlong line is no line of its own",
       "105 93015" + std::string(2000, ' ') + "106 92000\r\n", 93015, 93015, -1, ""},
      {"a field cut at the end of an overlong line is no field",
       "105 93015" + std::string(987, ' ') + "94500\r\n", 93015, 93015, -1, ""},
      {"an overlong line does not disturb the next",
       std::string(1500, 'x') + "\r\n106 92000\r\n", 91500, 91500, 92000, ""},
      {"an overlong digit field goes with the rest of the line",
       "105 " + std::string(1200, '9') + "\r\n", 91500, 91500, -1, ""},
      {"NUL ends the text of the line", "105 93015\0 94500\r\n"s, 93015, 93015, -1, ""},
      {"NUL padding after the time", "105 93015\0\0\0\r\n"s, 93015, 93015, -1, ""},
      {"NUL inside the team number", "1\0" "05 92000\r\n"s, 91500, 91500, -1, ""},
      {"0x5C trail byte as departure", "105 93015 " + sonota + "\r\n", 93015, 93015, -1, ""},
      {"0x5C trail byte in parentheses", "105 (" + hyou + ")93015 (" + sonota + ")\r\n", 93015,
       93015, -1, ""},
      {"0x5C trail byte before the line", sonota + "105 93015\r\n", 91500, 91500, -1, ""},
      {"team number 0", "0 93015\r\n", 91500, 91500, -1, u8c(u8"ﾁｰﾑNoエラー:0")},
      {"team number 1000", "1000 93015\r\n", 91500, 91500, -1, u8c(u8"ﾁｰﾑNoエラー:1000")},
      {"team number past 32 bits", "4294967401 93015\r\n", 91500, 91500, -1,
       u8c(u8"ﾁｰﾑNoエラー:4294967401")},
      {"team number with leading zeros", "00000000000000000105 93015\r\n", 93015, 93015, -1, ""},
      {"arrival past 999999", "105 1000000\r\n", 91500, 91500, -1,
       u8c(u8"数字列が時刻になっていない:105")},
      {"departure past 999999", "105 93015 99999999999999999999\r\n", 93015, 93015, -1, ""},
      {"check list written with the tab",
       "  1:\t     105\t    9:30'15\t        " + to_cp932(u8c(u8"←")) + "\t    (    6)\r\n", 93015,
       93015, -1, ""},
      {"check list written with the comma",
       "\"  1:\",\"     105\",\"    9:30'15\",\"    9:45'00\"\r\n", 93015, 94500, -1, ""},
  };
  for (const RawCase& c : cases) {
    SetUp();
    test_support::write_bytes("in.txt", c.bytes);
    move_cursor(2, 0);
    import_times("in.txt", 1, HmsTime{});
    const auto teams = read_master();
    const MastRecord r105 = find(teams, 105);
    const MastRecord r106 = find(teams, 106);
    auto time_of = [](int hhmmss) { return hhmmss < 0 ? kHmsNone : t(hhmmss); };
    EXPECT_EQ(r105.slots[1].arrival, time_of(c.arrival_105)) << c.what;
    EXPECT_EQ(r105.slots[1].departure, time_of(c.departure_105)) << c.what;
    EXPECT_EQ(r106.slots[1].arrival, time_of(c.arrival_106)) << c.what;
    EXPECT_EQ(con_->row_text(2), c.message) << c.what;
    clear_screen();
  }
}

TEST_F(TimeImport, AddedTimeAndSequenceNumbersFollowTheLines) {
  write_file("in.txt", u8c(u8"EkiNo=01\r\n# 港公園\r\n106 92000\r\n105 92000\r\n106 92010\r\n"));
  move_cursor(2, 0);
  EXPECT_EQ(import_times("in.txt", 1, t(100)), 3);
  const auto teams = read_master();
  // A team on several lines keeps its last line and a new number for each line.
  EXPECT_EQ(find(teams, 106).slots[1].arrival, t(92110));
  EXPECT_EQ(find(teams, 106).slots[1].input_seq, 8);
  EXPECT_EQ(find(teams, 105).slots[1].arrival, t(92100));
  EXPECT_EQ(find(teams, 105).slots[1].input_seq, 7);
}

TEST_F(TimeImport, LineCleaning) {
  EXPECT_EQ(clean_import_line(" 12: 105 9:30'15 (3)"), " 105 93015  ");
  EXPECT_EQ(clean_import_line("105 (a(b)c) 1,2\"3"), "105  123 ");
  EXPECT_EQ(clean_import_line("1.5"), "5 ");
  EXPECT_EQ(clean_import_line("\"  3:\",\"  105\""), "  105 ");
  // ﾟ goes, but め (0x82 0xDF) keeps its second byte, the same as ﾟ.
  EXPECT_EQ(clean_import_line(to_cp932(u8c(u8"105 ﾟ めソ"))), to_cp932(u8c(u8"105  めソ ")));
}

TEST_F(TimeImport, StationLineOfTheFile) {
  struct Case {
    const char* text;
    int station;
  } cases[] = {
      {"EkiNo = 3\r\n105 93015\r\n", 3},
      {"# header\r\nekino==07 \r\n", 7},
      {"105 93015\r\n", -1},
  };
  for (const Case& c : cases) {
    write_file("in.txt", c.text);
    EXPECT_EQ(import_file_station("in.txt"), c.station) << c.text;
  }
  // A number past 32 bits is no station of any race (it must not wrap round to one).
  write_file("in.txt", "EkiNo=4294967299\r\n");
  EXPECT_GE(import_file_station("in.txt"), kMaxStations);
  write_file("in.txt", "EkiNo=0000000000003\r\n");
  EXPECT_EQ(import_file_station("in.txt"), 3);
}

class TimeImportDialogue : public TimeImport {
 protected:
  bool run() {
    try {
      time_import();
      return true;
    } catch (const VirtualConsole::KeysExhausted&) {
      return false;
    }
  }
};

TEST_F(TimeImportDialogue, FileNamingItsStationImportsThereWithoutAsking) {
  write_file("times.txt", "EkiNo = 3\r\n105 100000\r\n");
  con_->feed_text("nothere.txt");
  con_->feed_key(KEY_ENTER);
  con_->feed_key(KEY_ESC);
  EXPECT_TRUE(run());  // a missing file beeps and asks again; Esc cancels
  EXPECT_TRUE(hms_is_none(find(read_master(), 105).slots[3].arrival));

  con_->feed_text("times.txt");
  con_->feed_key(KEY_ENTER);
  con_->feed_text("Y");
  con_->feed_key(KEY_ENTER);  // added time 0
  EXPECT_FALSE(run());        // waits in the post-entry menu
  EXPECT_EQ(find(read_master(), 105).slots[3].arrival, t(100000));
  EXPECT_NE(con_->row_text(6).find(u8c(u8"中継所  3 : ST3")), std::string::npos) << con_->screen_text();
}

TEST_F(TimeImportDialogue, RefusedLinesStayListedUnderThePostEntryMenu) {
  write_file("times.txt", "EkiNo = 3\r\n105 100000\r\n998 100500\r\n105 96015\r\n");
  con_->feed_text("times.txt");
  con_->feed_key(KEY_ENTER);
  con_->feed_text("Y");
  con_->feed_key(KEY_ENTER);  // added time 0; no further key: the menu comes at once
  EXPECT_FALSE(run());        // waits in the post-entry menu
  EXPECT_NE(con_->row_text(6).find(u8c(u8"中継所  3 : ST3")), std::string::npos) << con_->screen_text();
  EXPECT_NE(con_->row_text(13).find(u8c(u8"取り込めなかった行 2 件")), std::string::npos)
      << con_->screen_text();
  EXPECT_NE(con_->row_text(14).find(u8c(u8"ﾁｰﾑNoエラー:998")), std::string::npos) << con_->screen_text();
  EXPECT_NE(con_->row_text(15).find(u8c(u8"数字列が時刻になっていない:105")), std::string::npos)
      << con_->screen_text();
}

TEST_F(TimeImportDialogue, UnknownStationNumberAsksForTheRelayPoint) {
  write_file("times.txt", "EkiNo=77\r\n105 93000\r\n");
  con_->feed_text("times.txt");
  con_->feed_key(KEY_ENTER);
  con_->feed_text("y");
  EXPECT_FALSE(run());
  EXPECT_NE(con_->screen_text().find(u8c(u8"中継所Ｎｏ＝")), std::string::npos) << con_->screen_text();
  con_->feed_text("times.txt");
  con_->feed_key(KEY_ENTER);
  con_->feed_text("y1");
  con_->feed_key(KEY_ENTER);
  con_->feed_key(KEY_ENTER);
  EXPECT_FALSE(run());
  EXPECT_EQ(find(read_master(), 105).slots[1].arrival, t(93000));
}

TEST_F(TimeImportDialogue, AnsweringNoCancels) {
  write_file("times.txt", "EkiNo=1\r\n105 93000\r\n");
  con_->feed_text("times.txt");
  con_->feed_key(KEY_ENTER);
  con_->feed_text("n");
  EXPECT_TRUE(run());
  EXPECT_EQ(find(read_master(), 105).slots[1].arrival, t(91500));
}

}  // namespace
