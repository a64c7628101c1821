// Converting a MASTFILE.DAT of the older layout (no header, 16-byte slots without input
// sequence numbers) when the header check finds it and the user agrees.
#include "results/model/master_file.h"
#include "results/setup/namefile_build.h"
#include "setup/setup_fixture.h"

namespace setup_test {
namespace {

// One record of the older layout for a race of `max_kukan` sections: the team fields,
// then per slot departure, arrival, section time, cumulative time and both ranks.
std::string old_record(int team_no, char division, const char* name, int max_kukan,
                       HmsTime arrival_at_1) {
  std::string bytes;
  bytes += static_cast<char>(team_no & 0xFF);
  bytes += static_cast<char>((team_no >> 8) & 0xFF);
  bytes += '0';
  bytes += division;
  std::string field(kTeamNameSize, '\0');
  field.replace(0, std::strlen(name), name);
  bytes += field;
  for (int k = 0; k <= max_kukan; ++k) {
    const HmsTime none = kHmsNone;
    const HmsTime start = t(90000);
    const HmsTime at = k == 0 ? start : (k == 1 ? arrival_at_1 : none);
    for (const HmsTime& time : {at, at, HmsTime{0, 20, 0}, HmsTime{1, 0, 0}}) {
      bytes += static_cast<char>(time.hours);
      bytes += static_cast<char>(time.minutes);
      bytes += static_cast<char>(time.seconds);
    }
    bytes += std::string{'\x02', '\0', '\x05', '\0'};  // section rank 2, cumulative rank 5
  }
  return bytes;
}

class ConvertOldMaster : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    small_race();
    kihon_data();
    install_master_maintenance();
  }
};

TEST_F(ConvertOldMaster, OldRecordsGetTheHeaderAndZeroSequenceNumbers) {
  const int kukan = event_definition().max_kukan;
  const std::string old = old_record(12, 0, "西浜", kukan, t(92000)) +
                          old_record(7, 1, "東浜", kukan, kHmsNone);
  test_support::write_bytes(kMastFile, old);
  EXPECT_EQ(run(mast_format_check, {'Y'}), "returned");

  EXPECT_EQ(test_support::read_bytes("MASTFILE.OLD"), old);
  EXPECT_FALSE(file_exists(kMastTempFile));
  const std::string bytes = test_support::read_bytes(kMastFile);
  EXPECT_EQ(bytes.substr(0, 3), "4.0");
  const std::vector<MastRecord> teams = read_master();
  ASSERT_EQ(teams.size(), 2u);
  EXPECT_EQ(teams[0].team_no, 12);
  EXPECT_STREQ(teams[0].team_name, "西浜");
  EXPECT_EQ(teams[1].bumon_no, 1);
  for (const MastRecord& rec : teams) {
    for (int k = 0; k <= kukan; ++k) {
      EXPECT_EQ(rec.slots[k].input_seq, 0);
      EXPECT_EQ(rec.slots[k].section_time, (HmsTime{0, 20, 0}));
      EXPECT_EQ(rec.slots[k].cumulative_time, (HmsTime{1, 0, 0}));
      EXPECT_EQ(rec.slots[k].section_rank, 2);
      EXPECT_EQ(rec.slots[k].cumulative_rank, 5);
    }
    EXPECT_EQ(rec.slots[0].departure, t(90000));
  }
  EXPECT_EQ(teams[0].slots[1].arrival, t(92000));
  EXPECT_EQ(teams[1].slots[1].arrival, kHmsNone);
  EXPECT_EQ(team_index_lookup(mastfile_index(), 7), 1);  // the check went on with the new file
}

TEST_F(ConvertOldMaster, AFileOfAnotherRaceStopsAndStaysAsItWas) {
  const int kukan = event_definition().max_kukan;
  const std::string old = old_record(12, 0, "西浜", kukan, t(92000)) +
                          old_record(1500, 0, "遠く", kukan, kHmsNone);
  test_support::write_bytes(kMastFile, old);
  console_->feed_keys({'Y', 'Y'});
  EXPECT_EXIT(mast_format_check(), ::testing::ExitedWithCode(1), "");
  const std::string screen = fatal_screen();
  for (const char* line : {"        EKI.TXT, BUMON.TXT と\n", "        MASTFILE.DAT が\n",
                           "        異なる駅伝大会のものと思われます\n", "旧レコード長=93\n",
                           "新レコード長=101\n"}) {
    EXPECT_NE(screen.find(line), std::string::npos) << line << screen;
  }
  EXPECT_EQ(test_support::read_bytes(kMastFile), old);
  EXPECT_FALSE(file_exists(kMastTempFile));
  EXPECT_FALSE(file_exists("MASTFILE.OLD"));
}

}  // namespace
}  // namespace setup_test
