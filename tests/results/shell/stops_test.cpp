// Back to the main menu, abnormal_end and fatal_stop (the ends run in death tests).
#include "results/shell/stops.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "results/shell/files.h"
#include "results/shell/output_kind.h"
#include "stops_test_console.h"
#include "support/test_support.h"

namespace {

using test_support::read_bytes;
using test_support::ScratchDir;
using test_support::write_bytes;

TEST(Stops, BackToMainMenuThrowsTheOneException) {
  EXPECT_THROW(back_to_main_menu(), BackToMainMenu);
}

TEST(StopsDeathTest, AbnormalEndWaitsForYAndExitsWithOne) {
  ScratchDir dir;
  // Every key but Y and y is ignored: the screen is dumped after the last key, so the
  // echoed "Y" inside the brackets shows that the wait ended there.
  EXPECT_EXIT(
      {
        ScopedDumpingConsole c;
        c->feed_keys({'n', 'N', ' ', 'Y'});
        abnormal_end();
      },
      testing::ExitedWithCode(1), u8c(u8"異常終了させます。\n上のメッセージを確認した後 Y を入力\\[ \\]"));
  EXPECT_EXIT(
      {
        ScopedDumpingConsole c;
        c->feed_keys({'y'});
        Stream left_open = open_stream("x.txt", "w");
        abnormal_end("TEST");
      },
      testing::ExitedWithCode(1), u8c(u8"TEST を終了します。"));
}

int g_cleanups_run = 0;
void note_cleanup() {
  ++g_cleanups_run;
  write_bytes("cleanup.ran", std::to_string(g_cleanups_run));
}

TEST(StopsDeathTest, FatalStopSavesTheDestinationDeletesTheTemporaryMasterAndEnds) {
  ScratchDir dir;
  write_bytes("MASTFILE.TMP", "half-built");
  on_fatal_stop(note_cleanup);
  on_fatal_stop(note_cleanup);  // registered once
  EXPECT_EXIT(
      {
        ScopedDumpingConsole c;
        c->feed_keys({'x', 'Y'});
        set_out_kind_no(kOutClipboard);
        fatal_stop();
      },
      testing::ExitedWithCode(1), u8c(u8"HAKOBU32 を終了します。"));
  EXPECT_FALSE(file_exists("MASTFILE.TMP"));
  EXPECT_EQ(read_bytes("SELCTOUT.DAT"), std::string("\x02\x00\x00\x00", 4));
  EXPECT_EQ(read_bytes("cleanup.ran"), "1");
}

TEST(StopsDeathTest, FatalStopWithoutATemporaryMasterIsNoError) {
  ScratchDir dir;
  EXPECT_EXIT(
      {
        ScopedDumpingConsole c;
        c->feed_key('Y');
        fatal_stop();
      },
      testing::ExitedWithCode(1), u8c(u8"確認した後 Y を入力"));
}

}  // namespace
