// The regular-expression layer: result codes, match arrays, flags, CP932 bytes, trim.
#include "results/shell/regexp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "results/shell/virtual_console.h"
#include "stops_test_console.h"
#include "support/test_support.h"

namespace {

using test_support::to_cp932;

class Regex : public ::testing::Test {
 protected:
  ScopedVirtualConsole vc;
};

TEST_F(Regex, MatchesWithPosixStyleCodesAndOffsets) {
  RegExp re("^(\\d+)(x)?(y)?\\s*$", 0);
  ASSERT_EQ(re.compile_result(), 0);
  EXPECT_EQ(re.group_count(), 3);
  ASSERT_EQ(re.matches().size(), 13u);  // groups + 10
  EXPECT_EQ(re.regexec("123y  "), 0);
  const auto& m = re.matches();
  EXPECT_EQ(m[0].start, 0);
  EXPECT_EQ(m[0].end, 6);
  EXPECT_EQ(m[1].start, 0);
  EXPECT_EQ(m[1].end, 3);
  EXPECT_EQ(m[2].start, -1);  // did not take part
  EXPECT_EQ(m[2].end, -1);
  EXPECT_EQ(m[3].start, 3);
  for (std::size_t i = 4; i < m.size(); ++i) EXPECT_EQ(m[i].start, -1) << i;
  EXPECT_EQ(re.group("123y  ", 1), "123");
  EXPECT_EQ(re.group("123y  ", 2), "");
  EXPECT_EQ(re.regexec("abc"), kRegNoMatch);
  EXPECT_EQ(re.matches()[1].start, -1);  // a failed match leaves nothing behind
}

TEST_F(Regex, CaseFlagAndUnanchoredMatching) {
  auto re = new_regex("URL\\s*=\\s*(\\S+)", kRegIcase, __FILE__, __LINE__);
  const char* line = "  see url = http://x.example/ here";
  ASSERT_TRUE(regex_match(*re, line, __FILE__, __LINE__));
  EXPECT_EQ(re->group(line, 1), "http://x.example/");
  RegExp exact("URL\\s*=", 0);
  EXPECT_EQ(exact.regexec(line), kRegNoMatch);
}

TEST_F(Regex, LazyRepetitionAndBackReferences) {
  RegMatch m[4];
  EXPECT_EQ(pattern_matching("^(.*?)(\\d)\\2", "ab1233", 4, m), 0);
  EXPECT_EQ(m[1].end, 4);  // "ab12", then "33"
  EXPECT_EQ(pattern_matching("^\\s*(\\S+)", "", 4, m), kRegNoMatch);
  EXPECT_EQ(m[0].start, -1);
}

TEST_F(Regex, Cp932BytesStandForThemselves) {
  // "\s" is ASCII white space only: the full-width space is two bytes of its own.
  const std::string fw = "\x81\x40";
  RegExp blanks("^\\s*$", 0);
  EXPECT_EQ(blanks.regexec(" \t" + fw), kRegNoMatch);
  RegExp either("^(　|\\s)*$", 0);
  EXPECT_EQ(either.regexec(" \t" + fw + fw), 0);
  // 表 and ソ end in 0x5C, ポ in 0x7C ("|"): in a pattern they stay one character each.
  const std::string hyo = to_cp932(u8c(u8"表")), so = to_cp932(u8c(u8"ソ")),
                    po = to_cp932(u8c(u8"ポ"));
  RegExp table("^" + hyo + "=(.*)$", 0);
  ASSERT_EQ(table.compile_result(), 0);
  EXPECT_EQ(table.regexec(hyo + "=" + so), 0);
  EXPECT_EQ(table.group(hyo + "=" + so, 1), so);
  RegExp alternatives("^(" + po + "|" + so + ")$", 0);
  ASSERT_EQ(alternatives.compile_result(), 0);
  EXPECT_EQ(alternatives.regexec(po), 0);
  EXPECT_EQ(alternatives.regexec(so), 0);
  EXPECT_EQ(alternatives.regexec("\x83"), kRegNoMatch);
  RegExp klass("^[" + so + "]+$", 0);
  EXPECT_EQ(klass.regexec(so + so), 0);
}

TEST_F(Regex, BrokenPatternIsReportedAndUnusable) {
  RegExp broken("(unclosed", 0);
  EXPECT_NE(broken.compile_result(), 0);
  EXPECT_EQ(broken.regexec("unclosed"), -1);
  EXPECT_NE(vc->screen_text().find("RegExp::regcomp()"), std::string::npos);
}

TEST(RegexDeathTest, NewRegexStopsOnABrokenPattern) {
  test_support::ScratchDir dir;  // fatal_stop writes SELCTOUT.DAT here
  EXPECT_EXIT(
      {
        ScopedDumpingConsole c;
        c->feed_key('Y');
        new_regex("a(b", 0, "SOURCE", 42);
      },
      testing::ExitedWithCode(1), u8c(u8"SOURCE\\(42\\):正規表現コンパイルエラー"));
}

TEST(RegexDeathTest, RegexMatchStopsOnAMatchingError) {
  test_support::ScratchDir dir;
  // Catastrophic backtracking runs into the library's match limit: an error, not a miss.
  EXPECT_EXIT(
      {
        ScopedDumpingConsole c;
        c->feed_key('Y');
        auto re = new_regex("^(\\w+\\s?)*$", 0, "SOURCE", 7);
        regex_match(*re, std::string(40, 'a') + "!", "SOURCE", 8);
      },
      testing::ExitedWithCode(1),
      u8c(u8"RegExp::regexec\\(\\)エラー\nrc=-47(.|\n)*SOURCE\\(8\\):正規表現マッチンッグエラー"));
}

TEST(RegexDeathTest, PatternMatchingEndsOnABrokenPattern) {
  test_support::ScratchDir dir;
  EXPECT_EXIT(
      {
        ScopedDumpingConsole c;
        c->feed_key('Y');
        RegMatch m[2];
        pattern_matching("[z-a]", "x", 2, m);
      },
      testing::ExitedWithCode(1), "regcomp\\(\\) error in pattern_matching\\(\\)");
}

TEST(Trim, TrimsAsciiAndFullWidthWhiteSpace) {
  const std::string fw = "\x81\x40";
  struct Case {
    std::string text;
    bool full_width;
    std::string expected;
  } cases[] = {
      {"  abc \t\r\n", false, "abc"},
      {"abc" + fw + fw + "\t", true, "abc"},
      {"abc" + fw + fw + "\t", false, "abc" + fw + fw},
      {fw + " a b " + fw, true, "a b"},
      {"   ", true, ""},
      {"", true, ""},
      // 0x81 as a trail byte followed by "@" is not a full-width space.
      {"x\x88\x81@", true, "x\x88\x81@"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(trimmed(c.text, c.full_width), c.expected) << c.text;
    std::string buffer = c.text;
    buffer.push_back('\0');
    char* start = trim(buffer.data(), c.full_width);
    EXPECT_EQ(std::string(start), c.expected) << c.text;
  }
}

}  // namespace
