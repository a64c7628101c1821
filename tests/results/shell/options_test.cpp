// OPTION.TXT: the line syntax, the lookup, the event name and the option listing.
#include "results/shell/options.h"

#include <gtest/gtest.h>

#include <string>

#include "results/shell/virtual_console.h"
#include "stops_test_console.h"
#include "support/test_support.h"

namespace {

using test_support::ScratchDir;
using test_support::to_cp932;
using test_support::to_utf8;
using test_support::write_bytes;

class Options : public ::testing::Test {
 protected:
  // Writes OPTION.TXT from UTF-8 lines as CP932 with CR LF line ends.
  void write_options(const std::string& utf8_text) {
    std::string crlf;
    for (char c : to_cp932(utf8_text)) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    write_bytes("OPTION.TXT", crlf);
  }
  // The value as UTF-8, or "<unset>".
  std::string lookup(const char* key) {
    std::string value = "untouched";
    if (!option_value(key, value)) return value == "untouched" ? "<unset>" : "<changed!>";
    return to_utf8(value);
  }

  ScratchDir dir;
  ScopedVirtualConsole vc;
};

TEST_F(Options, NoOptionFileRunsOnDefaults) {
  EXPECT_EQ(lookup("EVENTNAME"), "<unset>");
  EXPECT_EQ(to_utf8(event_title()), u8c(u8"？？？？駅伝大会"));
  EXPECT_EQ(option_int("BESTNO", 10), 10);
  EXPECT_DOUBLE_EQ(option_double("FAST_SPEED_LIMIT", 30.0), 30.0);
  EXPECT_EQ(vc->screen_text(), VirtualConsole().screen_text());  // no message
}

TEST_F(Options, LineSyntax) {
  write_options(u8c(u8"# a comment line\n"
                    u8"　 EVENTNAME　=　第１回　テスト駅伝　 # trailing comment\n"
                    u8"LISTFILE=\n"
                    u8"eventmei=lower case key\n"
                    u8"HTMLCOLOR1=#FF0000\n"
                    u8"BESTNO = 8\n"
                    u8"BESTNO = 9\n"
                    u8"PRINTCMD62=txp -s A4\n"
                    u8"EDITOR = \"/usr/bin/my editor\"  \t\n"
                    u8"HOMENAME1=表ソ\n"
                    u8"not an option line\n"
                    u8"*\n"
                    u8"LF=3\n"));
  struct Case {
    const char* key;
    const char* expected;
  } cases[] = {
      {"EVENTNAME", u8c(u8"第１回　テスト駅伝")},  // inner blanks stay
      {"LISTFILE", ""},
      {"EVENTMEI", "<unset>"},  // keys are case-sensitive
      {"HTMLCOLOR1", ""},       // "#" starts the comment
      {"BESTNO", "8"},          // the first line counts
      {"PRINTCMD6", "<unset>"}, // a prefix of another key is no match
      {"PRINTCMD62", "txp -s A4"},
      {"EDITOR", "\"/usr/bin/my editor\""},
      {"HOMENAME1", u8c(u8"表ソ")},  // trail bytes 0x5C kept
      {"LF", "<unset>"},             // after the "*" line
      {"SENDEN", "<unset>"},
  };
  for (const Case& c : cases) EXPECT_EQ(lookup(c.key), c.expected) << c.key;
}

TEST_F(Options, ValueSizeAndNumbers) {
  write_options(u8c(u8"EVENTNAME=あいう\nBESTNO=12abc\nLF=x\nFAST_SPEED_LIMIT=25.5km\n"));
  std::string value;
  ASSERT_TRUE(option_value("EVENTNAME", value, 4));  // 3 bytes: one character and no half
  EXPECT_EQ(to_utf8(value), u8c(u8"あ"));
  ASSERT_TRUE(option_value("EVENTNAME", value, 5));
  EXPECT_EQ(to_utf8(value), u8c(u8"あい"));
  EXPECT_EQ(option_int("BESTNO", 10), 12);
  EXPECT_EQ(option_int("LF", 7), 0);  // set but not a number
  EXPECT_DOUBLE_EQ(option_double("FAST_SPEED_LIMIT", 30.0), 25.5);
  EXPECT_DOUBLE_EQ(option_double("SLOW_SPEED_LIMIT", 3.0), 3.0);
}

TEST_F(Options, LongLinesAreReadInPieces) {
  // The first 999 bytes are one line (a comment); the rest is read as a line of its own.
  write_options("#" + std::string(998, 'x') + "BESTNO=5\n");
  EXPECT_EQ(lookup("BESTNO"), "5");
}

TEST_F(Options, EditsTakeEffectAtTheNextLookup) {
  write_options("EVENTMEI=first\n");
  EXPECT_EQ(event_title(), "first");
  write_options("EVENTMEI=first\nEVENTNAME=second\n");
  EXPECT_EQ(event_title(), "second");
  // A file from Windows may be called option.txt.
  std::remove("OPTION.TXT");
  write_bytes("option.txt", "EVENTNAME=lower\r\n");
  EXPECT_EQ(event_title(), "lower");
}

TEST(ValOfKey, MatchesOneLine) {
  ScopedVirtualConsole vc;
  std::string value;
  EXPECT_TRUE(valofkey("  FS = ,", "FS", value));
  EXPECT_EQ(value, ",");
  EXPECT_TRUE(valofkey("FS=\t", "FS", value));
  EXPECT_EQ(value, "");
  EXPECT_FALSE(valofkey("FSX=1", "FS", value));
  EXPECT_FALSE(valofkey("X FS=1", "FS", value));
  EXPECT_TRUE(valofkey("KEY=a b c", "KEY", value, 4));
  EXPECT_EQ(value, "a b");
}

TEST_F(Options, ListingShowsTheSetKeysInTableOrder) {
  write_options(u8c(u8"SENDEN=not listed\nBESTNO=5\nEVENTNAME=テスト駅伝 # c\nLF=\n"));
  vc->feed_key('Y');
  show_option_listing();
  EXPECT_EQ(vc->find_in_row(0, u8c(u8"作業フォルダ→")), 0);
  EXPECT_EQ(vc->row_text(2),
            u8c(u8"        \"OPTION.TXT\"に設定されているオプション・データは次の通りです"));
  const std::string rule = "        " + std::string(60, '-');
  EXPECT_EQ(vc->row_text(3), rule);
  EXPECT_EQ(vc->row_text(4), u8c(u8"        EVENTNAME=テスト駅伝"));
  EXPECT_EQ(vc->row_text(5), "        BESTNO=5");
  EXPECT_EQ(vc->row_text(6), "        LF=");
  EXPECT_EQ(vc->row_text(7), rule);
  EXPECT_EQ(vc->row_text(8), u8c(u8"メニューへ戻ります（Y）[Y]"));
  EXPECT_EQ(vc->keys_left(), 0u);
}

TEST_F(Options, TableListsTheKnownKeysOnly) {
  auto table = option_table();
  ASSERT_EQ(table.size(), 42u);
  EXPECT_STREQ(table.front().key, "EVENTNAME");
  EXPECT_STREQ(table.back().key, "HTML_TABLE");
  for (const OptionKey& k : table) {
    EXPECT_FALSE(k.required) << k.key;
    EXPECT_STRNE(k.key, "SENDEN");
    EXPECT_STRNE(k.key, "INPUTSEQ");
  }
}

}  // namespace
