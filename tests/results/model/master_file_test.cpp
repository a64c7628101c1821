// MASTFILE.DAT and NAMEFILE.DAT through the record operations: records written and
// read back byte for byte at their offsets, sequential rewriting, the team index, the
// header checks that stop the program without touching the file, the old formats.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "race_test_helpers.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"

namespace {

using test_support::read_bytes;
using test_support::write_bytes;

// Inside a death test: feed the keys the stopping program will read, then run it.
#define STOP_AFTER(statement, ...)          \
  {                                         \
    console_->feed_keys(__VA_ARGS__);       \
    statement;                              \
  }

class MasterFileTest : public race_test::RaceFolderTest {
 protected:
  void SetUp() override {
    RaceFolderTest::SetUp();
    use_fixture("two_courses");  // max_kukan 10: records of 227 and 212 bytes
    RaceFileError error;
    ASSERT_TRUE(load_race_files(event_definition(), error));
  }

  static std::string mast_header(const char* version, int max_kukan, int rec_len) {
    std::string h(version, 3);
    h += static_cast<char>(max_kukan & 0xFF);
    h += static_cast<char>((max_kukan >> 8) & 0xFF);
    h += static_cast<char>(rec_len & 0xFF);
    h += static_cast<char>((rec_len >> 8) & 0xFF);
    return h;
  }

  static MastRecord team(int team_no, const char* name) {
    MastRecord rec;
    rec.team_no = static_cast<std::int16_t>(team_no);
    std::strcpy(rec.team_name, name);
    rec.slots[3].arrival = HmsTime{9, 45, static_cast<std::uint8_t>(team_no % 60)};
    rec.slots[10].section_rank = static_cast<std::int16_t>(team_no);
    return rec;
  }

  // A MASTFILE.DAT of the loaded race with the given teams, written by mast_write.
  void write_master(const std::vector<int>& team_numbers) {
    write_bytes("MASTFILE.DAT", mast_header("4.0", 10, 227));
    Stream out = open_mastfile("r+b");
    for (std::size_t r = 0; r < team_numbers.size(); ++r) {
      mast_write(out, static_cast<int>(r), team(team_numbers[r], "TEAM"));
    }
  }

  void write_names(int max_kukan, std::int16_t mark = -1) {
    std::string h;
    for (int v : {static_cast<int>(mark), max_kukan, 21}) {
      h += static_cast<char>(v & 0xFF);
      h += static_cast<char>((v >> 8) & 0xFF);
    }
    write_bytes("NAMEFILE.DAT", h);
  }
};

TEST_F(MasterFileTest, RecordsLandAtTheirOffsetsAndReadBackByteForByte) {
  write_master({5, 17, 999, 42});
  const std::string file = read_bytes("MASTFILE.DAT");
  ASSERT_EQ(file.size(), 7u + 4 * 227);
  EXPECT_EQ(file.substr(0, 7), mast_header("4.0", 10, 227));
  std::vector<unsigned char> expected(227);
  encode_mast_record(team(42, "TEAM"), 10, expected.data());
  EXPECT_EQ(file.substr(688, 227), std::string(expected.begin(), expected.end()));

  Stream in = open_mastfile("rb");
  MastRecord back;
  mast_read(in, 3, back);
  std::vector<unsigned char> again(227);
  encode_mast_record(back, 10, again.data());
  EXPECT_EQ(again, expected);
  mast_read(in, 1, back);
  EXPECT_EQ(back.team_no, 17);
  EXPECT_EQ(back.slots[3].arrival, (HmsTime{9, 45, 17}));
  EXPECT_EQ(back.slots[4].arrival, kHmsNone);
}

TEST_F(MasterFileTest, SequentialRewriteChangesOnlyTheRecordJustRead) {
  write_master({5, 17, 999});
  const std::string before = read_bytes("MASTFILE.DAT");
  {
    Stream io = open_mastfile("r+b");
    MastRecord rec;
    int seen = 0;
    while (mast_read_next(io, rec)) {
      ++seen;
      if (rec.team_no == 17) {
        rec.slots[1].cumulative_rank = 2;
        mast_rewrite(io, rec);
      }
    }
    EXPECT_EQ(seen, 3);
  }
  const std::string after = read_bytes("MASTFILE.DAT");
  ASSERT_EQ(after.size(), before.size());
  const std::size_t changed = 7 + 227 + 29 + 18 + 16;  // record 1, slot 1, cumulative rank
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i == changed) {
      EXPECT_EQ(after[i], 2);
    } else if (i == changed + 1) {
      EXPECT_EQ(after[i], 0);
    } else {
      ASSERT_EQ(after[i], before[i]) << "byte " << i;
    }
  }
}

TEST_F(MasterFileTest, NameRecordsLandAtTheirOffsets) {
  write_names(10);
  {
    Stream io = open_retry("NAMEFILE.DAT", "r+b");
    for (int r = 0; r < 4; ++r) {
      NameRecord rec;
      rec.team_no = static_cast<std::int16_t>(100 + r);
      std::strcpy(rec.runners[1], "first");
      std::strcpy(rec.runners[10], r == 3 ? "ABCDEFGHIJKLMNOPQRST" : "last");
      name_write(io, r, rec);
    }
  }
  const std::string file = read_bytes("NAMEFILE.DAT");
  ASSERT_EQ(file.size(), 6u + 4 * 212);
  EXPECT_EQ(static_cast<unsigned char>(file[642]), 103);
  EXPECT_EQ(file.substr(642 + 2, 6), std::string("first\0", 6));
  EXPECT_EQ(file.substr(642 + 2 + 9 * 21, 20), "ABCDEFGHIJKLMNOPQRST");

  Stream in = open_retry("NAMEFILE.DAT", "rb");
  NameRecord back;
  name_read(in, 2, back);
  EXPECT_EQ(back.team_no, 102);
  EXPECT_STREQ(back.runners[10], "last");
  in.close();
  EXPECT_EQ(runner_name_width(), 20);
}

TEST_F(MasterFileTest, RunnerNameWidthIsAtLeastTwelve) {
  write_names(10);
  {
    Stream io = open_retry("NAMEFILE.DAT", "r+b");
    NameRecord rec;
    std::strcpy(rec.runners[2], "short");
    name_write(io, 0, rec);
  }
  EXPECT_EQ(runner_name_width(), 12);
}

TEST_F(MasterFileTest, TeamIndexMapsTeamNumbersToRecords) {
  write_master({5, 17, 999, 5});
  TeamIndex index;
  team_index_build(index);
  EXPECT_EQ(team_index_lookup(index, 5), 3);  // the later record of a number wins
  EXPECT_EQ(team_index_lookup(index, 17), 1);
  EXPECT_EQ(team_index_lookup(index, 999), 2);
  EXPECT_EQ(team_index_lookup(index, 18), -1);
  EXPECT_EQ(team_index_lookup(index, 0), -9);
  EXPECT_EQ(team_index_lookup(index, 1000), -9);
  EXPECT_EQ(team_index_lookup(index, -3), -9);

  TeamIndex missing("NOFILE.DAT");
  team_index_build(missing);
  EXPECT_EQ(team_index_lookup(missing, 5), -1);
}

TEST_F(MasterFileTest, TeamNumberOutsideTheRangeMeansADamagedFile) {
  write_master({5, 1000});
  TeamIndex index;
  EXPECT_EXIT(STOP_AFTER(team_index_build(index), {'Y'}), ::testing::ExitedWithCode(1), "");
  const std::string shown = fatal_screen();
  EXPECT_NE(shown.find("チームＮｏ=1000 エラー in set()"), std::string::npos) << shown;
  EXPECT_NE(shown.find("MASTFILE.DAT が壊れています"), std::string::npos);
  EXPECT_NE(shown.find("レコード長=227"), std::string::npos);
}

TEST_F(MasterFileTest, ReadingPastTheEndReportsTheRecordAndStops) {
  write_master({5, 17});
  Stream in = open_mastfile("rb");
  MastRecord rec;
  EXPECT_EXIT(STOP_AFTER(mast_read(in, 2, rec), {'Y'}), ::testing::ExitedWithCode(1), "");
  const std::string shown = fatal_screen();
  EXPECT_NE(shown.find("fread error in mast_read(rec_no=2)\nfile position=461\n"
                       "sizeof_mastrec=227"),
            std::string::npos)
      << shown;
}

TEST_F(MasterFileTest, ShortHeaderStopsTheOpen) {
  write_bytes("MASTFILE.DAT", "4.0");
  EXPECT_EXIT(STOP_AFTER(open_mastfile("rb"), {'Y'}), ::testing::ExitedWithCode(1), "");
  EXPECT_NE(fatal_screen().find("fread error in mast_open(rb) filename=MASTFILE.DAT"),
            std::string::npos);
}

TEST_F(MasterFileTest, FormatCheckPassesAndRebuildsTheIndex) {
  write_master({7, 8});
  mastfile_index().clear();
  mast_format_check();
  EXPECT_EQ(team_index_lookup(mastfile_index(), 8), 1);
  write_names(10);
  namefile_version_check();  // same number of sections: nothing to say
  EXPECT_EQ(console_->keys_left(), 0u);
}

struct HeaderCase {
  const char* label;
  std::string header;
  std::vector<const char*> lines;
};

TEST_F(MasterFileTest, HeaderDisagreeingWithTheRaceStopsAndLeavesTheFileAlone) {
  const std::vector<HeaderCase> cases = {
      {"sections", mast_header("4.0", 9, 209),
       {"EKI.TXT, BUMON.TXT から決まる最大区間数(10)と", "MASTFILE.DAT の区間数(9)が違います",
        "EKI.TXT, BUMON.TXT を修正するか", "MASTFILE.DAT を削除してください"}},
      {"record length", mast_header("4.0", 10, 228),
       {"sizeof_mastrec エラー in kihon_data()", "MASTFILE.DAT が壊れています"}},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string bytes = c.header + std::string(227, 'r');
    write_bytes("MASTFILE.DAT", bytes);
    EXPECT_EXIT(STOP_AFTER(mast_format_check(), {'Y'}), ::testing::ExitedWithCode(1), "");
    const std::string shown = fatal_screen();
    for (const char* line : c.lines) EXPECT_NE(shown.find(line), std::string::npos) << shown;
    EXPECT_EQ(read_bytes("MASTFILE.DAT"), bytes);
  }
}

TEST_F(MasterFileTest, OldMasterLayoutOffersAConversionThatIsNotAvailable) {
  const std::string bytes = mast_header("3.5", 10, 227);
  write_bytes("MASTFILE.DAT", bytes);

  EXPECT_EXIT(STOP_AFTER(mast_format_check(), {'n', 'Y'}), ::testing::ExitedWithCode(1), "");
  std::string shown = fatal_screen();
  EXPECT_NE(shown.find("MASTFILE.DAT が古いバージョンのフォーマットです"), std::string::npos);
  EXPECT_NE(shown.find("変換しますか？（Y / N）[n]"), std::string::npos);
  EXPECT_NE(shown.find("MASTFILE.DAT を削除してから再実行してください"), std::string::npos);

  EXPECT_EXIT(STOP_AFTER(mast_format_check(), {'y', 'Y'}), ::testing::ExitedWithCode(1), "");
  shown = fatal_screen();
  EXPECT_NE(shown.find("MASTFILE.DAT を変換する機能がこのプログラムにはありません"),
            std::string::npos)
      << shown;
  EXPECT_EQ(read_bytes("MASTFILE.DAT"), bytes);
}

TEST_F(MasterFileTest, OldMasterLayoutIsConvertedByTheRegisteredRoutine) {
  write_bytes("MASTFILE.DAT", mast_header("3.5", 10, 227));
  set_old_master_converter([] {
    write_bytes("MASTFILE.DAT", mast_header("4.0", 10, 227));
    return true;
  });
  console_->feed_key('Y');
  mast_format_check();
  set_old_master_converter(nullptr);
  EXPECT_EQ(console_->keys_left(), 0u);
}

TEST_F(MasterFileTest, NameFileWithOtherSectionsStops) {
  write_names(9);
  EXPECT_EXIT(STOP_AFTER(namefile_version_check(), {'Y'}), ::testing::ExitedWithCode(1), "");
  const std::string shown = fatal_screen();
  EXPECT_NE(shown.find("        NAMEFILE.DAT の区間数(9)が違います"), std::string::npos) << shown;
}

TEST_F(MasterFileTest, OldNameFileFormat) {
  write_names(10, 0x0102);
  const std::string bytes = read_bytes("NAMEFILE.DAT");

  EXPECT_EXIT(STOP_AFTER(namefile_version_check(), {'N'}), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(STOP_AFTER(namefile_version_check(), {'Y', 'Y'}), ::testing::ExitedWithCode(1), "");
  const std::string shown = fatal_screen();
  EXPECT_NE(shown.find("NAMEFILE.DAT のフォーマットが古いので、新しいフォーマットに変換します。"),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find("NAMEFILE.DAT を変換する機能がこのプログラムにはありません"),
            std::string::npos);
  EXPECT_EQ(read_bytes("NAMEFILE.DAT"), bytes);

  set_namefile_rebuilder([] {
    write_bytes("NAMEFILE.DAT", std::string("\xFF\xFF\x0A\x00\x15\x00", 6));
    return true;
  });
  console_->feed_keys({'Y', 'Y'});
  EXPECT_THROW(namefile_version_check(), BackToMainMenu);
  set_namefile_rebuilder(nullptr);
  EXPECT_EQ(read_bytes("NAMEFILE.OLD"), bytes);
  EXPECT_NE(screen().find("NAMEFILE.DAT を作り直しました(1)"), std::string::npos);
}

}  // namespace
