// The master-file dump: every field of the header and of each record, byte by byte in
// file order, slots 0 .. the division's sections, LF line ends.
#include <gtest/gtest.h>

#include "compute/tiny_race.h"
#include "results/setup/debug_dump.h"
#include "results/shell/virtual_console.h"

namespace {

using namespace tiny_race;

TEST(DebugDump, EveryFieldOfEveryRecordInHexInFileOrder) {
  test_support::ScratchDir dir;
  ScopedVirtualConsole con;
  define({0, 5, 10}, {"+++", "+/+"});  // sections 2 and 1; max_kukan 2
  MastRecord a = team(258, 0, false, 90000);  // team number 0x0102
  arrive(a, 1, 92000, 0x0304);
  a.slots[1].section_rank = 1;
  a.slots[1].cumulative_rank = -1;
  MastRecord b = team(5, 1, true);
  write_master({a, b});

  debug_dump();

  const std::string expected = test_support::to_cp932(reinterpret_cast<const char*>(
      u8"version=4.0\n"
      u8"max_kukan=2\n"
      u8"rec_len=83\n"
      u8"チームNo=02 01,オープン参加=30,部門No=00,チーム名=TEAM258\n"
      u8"入力連番=00 00,出発時刻=09 00 00,到着時刻=09 00 00,区間時間=00 00 00,通算時間=00 00 00,区間順位=FF FF,通算順位=FF FF\n"
      u8"入力連番=04 03,出発時刻=09 14 00,到着時刻=09 14 00,区間時間=00 00 00,通算時間=00 00 00,区間順位=01 00,通算順位=FF FF\n"
      u8"入力連番=00 00,出発時刻=7F 3B 3B,到着時刻=7F 3B 3B,区間時間=00 00 00,通算時間=00 00 00,区間順位=FF FF,通算順位=FF FF\n"
      u8"\n"
      u8"チームNo=05 00,オープン参加=31,部門No=01,チーム名=TEAM5\n"
      u8"入力連番=00 00,出発時刻=7F 3B 3B,到着時刻=7F 3B 3B,区間時間=00 00 00,通算時間=00 00 00,区間順位=FF FF,通算順位=FF FF\n"
      u8"入力連番=00 00,出発時刻=7F 3B 3B,到着時刻=7F 3B 3B,区間時間=00 00 00,通算時間=00 00 00,区間順位=FF FF,通算順位=FF FF\n"
      u8"\n"));
  EXPECT_EQ(test_support::read_bytes(kDebugDumpFile), expected);
}

}  // namespace
