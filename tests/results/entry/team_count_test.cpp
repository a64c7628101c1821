// Teams per division of a master file, to a file and to the console.
#include <gtest/gtest.h>

#include <cstdio>

#include "compute/tiny_race.h"
#include "results/entry/team_count.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/virtual_console.h"

namespace {

using namespace tiny_race;

TEST(TeamCount, PerDivisionAndTotalToAFileOrTheConsole) {
  test_support::ScratchDir dir;
  ScopedVirtualConsole con;
  define({0, 5, 10, 15}, {"++++", "+/++", "++++"});
  std::snprintf(event_definition().division_names[1], kDivisionNameSize, "WOMEN");
  write_master({team(1, 0), team(2, 0), team(101, 1)});
  {
    Stream out = open_stream("count.txt", "wb");
    team_count_body(kMastFile, &out);
  }
  EXPECT_EQ(test_support::read_bytes("count.txt"),
            " 1: DIV0    2\x83\x60\x81\x5B\x83\x80\n"
            " 2: WOMEN   1\x83\x60\x81\x5B\x83\x80\n"
            " 3: DIV2    0\x83\x60\x81\x5B\x83\x80\n"
            "     \x8D\x87\x8C\x76   3\x83\x60\x81\x5B\x83\x80\n");
  team_count_body(kMastFile, nullptr);
  EXPECT_EQ(con->row_text(3), u8c(u8"     合計   3チーム"));
}

}  // namespace
