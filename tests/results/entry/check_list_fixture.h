// A small race for the check list tests, written through the record API, and the means
// to catch a list: OUT.TXT for the file destination, and for the printer a stand-in print
// command that copies the file it is handed to "printed_<key>.txt".
//
// The race: stations 0 市民広場, 1 第一中継所, 2 第二中継所, 3 第三中継所, 4 陸上競技場.
// 一般の部 runs all five; 女子の部 starts at 1 and runs 1, 3, 4.
// 一般の部: team 1 (forced start at 3), team 2, team 3 (open), team 4 (no times after the
// start). 女子の部: team 11, team 12 (its arrival at 3 has no input sequence number).
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "compute/tiny_race.h"
#include "results/model/master_file.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "results/shell/virtual_console.h"
#include "support/test_support.h"

namespace check_list_test {

using namespace tiny_race;

inline std::string cp(const char8_t* utf8) {
  return test_support::to_cp932(reinterpret_cast<const char*>(utf8));
}

inline void name_field(char* field, int size, const char8_t* utf8) {
  std::snprintf(field, static_cast<std::size_t>(size), "%s", cp(utf8).c_str());
}

// NAMEFILE.DAT with one record per team of `teams`, runners "<team>-<section>" unless given.
inline void write_names(const std::vector<NameRecord>& records) {
  const EventDefinition& ev = event_definition();
  std::string bytes(kNameHeaderBytes, '\0');
  encode_name_header(new_name_header(ev.max_kukan), reinterpret_cast<unsigned char*>(bytes.data()));
  std::vector<unsigned char> rec(ev.sizeof_namerec);
  for (const NameRecord& r : records) {
    encode_name_record(r, ev.max_kukan, rec.data());
    bytes.append(reinterpret_cast<const char*>(rec.data()), rec.size());
  }
  test_support::write_bytes(kNameFile, bytes);
}

class CheckListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    define({0, 3.5, 7.25, 10, 12.5}, {"+++++", "/+/++"});
    EventDefinition& ev = event_definition();
    const char8_t* stations[] = {u8"市民広場", u8"第一中継所", u8"第二中継所", u8"第三中継所",
                                 u8"陸上競技場"};
    for (int s = 0; s < 5; ++s) {
      name_field(ev.station_names[s], kStationNameSize, stations[s]);
      name_field(ev.station_nicknames[s], kNicknameSize, stations[s]);
    }
    name_field(ev.station_nicknames[3], kNicknameSize, u8"三中");
    name_field(ev.division_names[0], kDivisionNameSize, u8"一般の部");
    name_field(ev.division_names[1], kDivisionNameSize, u8"女子の部");

    teams_ = {team(1, 0, false, 90000), team(2, 0, false, 90000), team(3, 0, true, 90000),
              team(4, 0, false, 90000), team(11, 1, false, 91000), team(12, 1, false, 91000)};
    name_field(teams_[0].team_name, kTeamNameSize, u8"市役所");
    name_field(teams_[1].team_name, kTeamNameSize, u8"青葉陸上クラブ");
    name_field(teams_[2].team_name, kTeamNameSize, u8"招待チーム");
    name_field(teams_[3].team_name, kTeamNameSize, u8"東中学校");
    name_field(teams_[4].team_name, kTeamNameSize, u8"さくらＲＣ");
    name_field(teams_[5].team_name, kTeamNameSize, u8"ひまわり走友会ランナーズ");  // 24 bytes
    // Station 1 (一般の部 k=1): 2 first; 1 and 3 at the same time, 1 entered first.
    arrive(teams_[1], 1, 91200, 1);
    arrive(teams_[0], 1, 91230, 2);
    arrive(teams_[2], 1, 91230, 3);
    // Station 2.
    arrive(teams_[1], 2, 92500, 4);
    arrive(teams_[0], 2, 92600, 5);
    arrive(teams_[2], 2, 92630, 6);
    // Station 3 (一般の部 k=3, 女子の部 k=1): 1 arrives after its forced start.
    arrive(teams_[1], 3, 93600, 7);
    arrive(teams_[4], 1, 93500, 8);
    arrive(teams_[2], 3, 93700, 9);
    arrive(teams_[0], 3, 94000, 10);
    teams_[0].slots[3].departure = t(93800);
    arrive(teams_[5], 1, 93900, 0);
    // Goal.
    arrive(teams_[1], 4, 94800, 11);
    arrive(teams_[0], 4, 95000, 12);
    arrive(teams_[2], 4, 94730, 13);
    arrive(teams_[4], 2, 95000, 14);
    write_master(teams_);

    std::vector<NameRecord> names;
    for (const MastRecord& rec : teams_) {
      NameRecord r;
      r.team_no = rec.team_no;
      for (int k = 1; k <= 4; ++k) std::snprintf(r.runners[k], kRunnerNameSize, "R%d-%d", rec.team_no, k);
      names.push_back(r);
    }
    name_field(names[1].runners[3], kRunnerNameSize, u8"長谷川左衛門太郎");  // 16 bytes
    write_names(names);

    write_capture_script();
    options(u8"");
    set_out_kind_no(kOutFile);
    output_channel().delimiter = 0;
    output_channel().file_mode = '0';
    output_channel().notice_pause_ms = 0;
  }
  void TearDown() override { set_out_kind_no(kOutFile); }

  // OPTION.TXT: the event name, the stand-in viewer and print commands, and `extra`.
  void options(const char8_t* extra_utf8) {
    std::string text = "EVENTNAME = " + cp(u8"第１回テスト駅伝") + "\nEDITOR=/bin/true\n";
    for (const char* key : {"62", "63", "64", "66", "67", "68", "95"}) {
      text += std::string("PRINTCMD") + key + " = " + dir_.file("capture.sh") + " " + key + "\n";
    }
    text += cp(extra_utf8);
    test_support::write_bytes("OPTION.TXT", text);
  }

  // The printed text of the print command with that key ("" when it did not run).
  std::string printed(const char* key) {
    return test_support::read_bytes(dir_.file(std::string("printed_") + key + ".txt"));
  }
  std::string out_txt() { return test_support::read_bytes(dir_.file("OUT.TXT")); }

  // The date and time stamp replaced by a fixed text.
  static std::string without_stamp(const std::string& text) {
    static const std::regex stamp(R"(\d{4}/\d{2}/\d{2}  \d{2}:\d{2}:\d{2})");
    return std::regex_replace(text, stamp, "YYYY/MM/DD  hh:mm:ss");
  }

  // Compares with the golden file; with CHECK_LISTS_ACTUAL_DIR set the text is also
  // written there for review.
  void expect_golden(const std::string& text, const std::string& name) {
    const std::string fixed = without_stamp(text);
    if (const char* dir = std::getenv("CHECK_LISTS_ACTUAL_DIR")) {
      test_support::write_bytes(std::string(dir) + "/" + name, fixed);
    }
    EXPECT_EQ(fixed, test_support::read_bytes(std::string(FIXTURES_DIR) + "/check_lists/expected/" + name))
        << name;
  }

  static int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  test_support::ScratchDir dir_;
  ScopedVirtualConsole con_;
  std::vector<MastRecord> teams_;

 private:
  void write_capture_script() {
    const std::string script = dir_.file("capture.sh");
    test_support::write_bytes(script,
                              "#!/bin/sh\nkey=$1\nfor a; do last=$a; done\n"
                              "cp \"$last\" \"$(dirname \"$0\")/printed_$key.txt\"\n");
    ::chmod(script.c_str(), 0755);
  }
};

}  // namespace check_list_test
