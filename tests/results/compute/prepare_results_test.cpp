// prepare_results: the output questions first (Esc computes nothing), the consistency
// warnings, then the whole computation and the output order.
#include <gtest/gtest.h>

#include "compute/tiny_race.h"
#include "results/compute/results_compute.h"
#include "results/shell/output_kind.h"
#include "results/shell/virtual_console.h"

using namespace tiny_race;

namespace {

class PrepareResults : public ::testing::Test {
 protected:
  void SetUp() override {
    define({0, 5, 10, 15}, {"++++"});
    MastRecord a = team(1, 0, false, 90000), b = team(2, 0, false, 90000);
    arrive(a, 1, 92000, 1);
    arrive(b, 1, 91800, 2);
    write_master({a, b});
    previous_kind_ = out_kind_no();
  }
  void TearDown() override { set_out_kind_no(previous_kind_); }

  int previous_kind_ = 0;
  test_support::ScratchDir dir_;
  ScopedVirtualConsole con_;
};

TEST_F(PrepareResults, EscAtTheOutputQuestionsComputesNothing) {
  set_out_kind_no(kOutFile);
  test_support::write_bytes("OUT.TXT", "old report\r\n");
  con_->feed_key(KEY_ESC);
  const std::string before = test_support::read_bytes(kMastFile);
  EXPECT_EQ(prepare_results(1, 0, kFurthestPoint), -1);
  EXPECT_EQ(test_support::read_bytes(kMastFile), before);
}

TEST_F(PrepareResults, ComputesRanksAndTheOrderAtThePoint) {
  set_out_kind_no(kOutPrinter);  // no questions for the printer
  EXPECT_EQ(prepare_results(1, 1, 1), 0);
  const auto teams = read_master();
  EXPECT_EQ(find(teams, 2).slots[1].cumulative_rank, 1);
  EXPECT_EQ(find(teams, 1).slots[1].cumulative_rank, 2);
  EXPECT_EQ(find(teams, 1).slots[2].cumulative_rank, 0);  // no longer -1 as built
  EXPECT_EQ(teams.at(print_jun[0]).team_no, 2);
  EXPECT_EQ(teams.at(print_jun[1]).team_no, 1);
}

TEST_F(PrepareResults, WarningsComeBeforeTheComputation) {
  auto teams = read_master();
  teams[0].slots[2].departure = t(94000);  // a forced start later than the arrival
  teams[0].slots[2].arrival = t(93900);
  write_master(teams);
  set_out_kind_no(kOutPrinter);
  // The arrival-before-departure warning waits for Y before anything is computed.
  EXPECT_THROW(prepare_results(0, 0, -1), VirtualConsole::KeysExhausted);
  EXPECT_EQ(find(read_master(), 1).slots[1].cumulative_rank, -1);
  EXPECT_NE(con_->screen_text().find(u8c(u8"到着時刻が出発時刻より早い")), std::string::npos)
      << con_->screen_text();
  con_->feed_text("Y");
  EXPECT_EQ(prepare_results(0, 0, -1), 0);
  EXPECT_EQ(find(read_master(), 1).slots[1].cumulative_rank, 2);
}

}  // namespace
