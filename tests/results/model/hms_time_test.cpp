// Time values: parsing, carries and borrows, the not-entered mark and every text form.
#include "results/model/hms_time.h"

#include <gtest/gtest.h>

#include <string>

#include "results/shell/files.h"
#include "support/test_support.h"

namespace {

using test_support::read_bytes;
using test_support::ScratchDir;
using test_support::to_utf8;

std::string u8s(const char8_t* text) { return reinterpret_cast<const char*>(text); }

HmsTime T(int h, int m, int s) { return hms_make(h, m, s); }

std::string show(HmsTime t) {
  return std::to_string(t.hours) + ":" + std::to_string(t.minutes) + ":" +
         std::to_string(t.seconds);
}

TEST(HmsTime, ThreeBytesAndPackedForm) {
  HmsTime t = T(1, 2, 3);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&t);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1], 2);
  EXPECT_EQ(bytes[2], 3);
  EXPECT_EQ(hms_pack(t), 0x030201u);
  EXPECT_EQ(hms_unpack(0x3B3B7Fu), kHmsNone);
}

TEST(HmsTime, ValidSetNone) {
  struct Case {
    HmsTime t;
    bool valid, set, none;
  } cases[] = {
      {T(0, 0, 0), true, false, false},    {T(0, 0, 1), true, true, false},
      {T(99, 59, 59), true, true, false},  {T(100, 0, 0), false, false, false},
      {T(1, 60, 0), false, false, false},  {T(1, 0, 60), false, false, false},
      {T(127, 59, 59), false, false, true}, {T(0xFF, 59, 59), false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(show(c.t));
    EXPECT_EQ(hms_is_valid(c.t), c.valid);
    EXPECT_EQ(hms_is_set(c.t), c.set);
    EXPECT_EQ(hms_is_none(c.t), c.none);
  }
  HmsTime t = T(5, 5, 5);
  EXPECT_TRUE(hms_is_none(hms_set_none(t)));
  EXPECT_EQ(hms_zero(t), T(0, 0, 0));
  EXPECT_EQ(hms_set(t, 256 + 7, 8, 9), T(7, 8, 9));  // truncated to 8 bits
}

TEST(HmsTime, SecondsAndHours) {
  EXPECT_EQ(hms_to_seconds(T(1, 2, 3)), 3723);
  EXPECT_EQ(hms_to_seconds(kHmsNone), 127 * 3600 + 59 * 60 + 59);
  EXPECT_DOUBLE_EQ(hms_to_hours(T(0, 30, 0)), 0.5);
  struct Case {
    int n;
    HmsTime expected;
  } cases[] = {
      {0, T(0, 0, 0)},        {59, T(0, 0, 59)},      {60, T(0, 1, 0)},
      {3661, T(1, 1, 1)},     {360000, T(100, 0, 0)}, {-1, T(0xFF, 59, 59)},
      {-3600, T(0xFF, 0, 0)}, {-3601, T(0xFE, 59, 59)},
  };
  for (const Case& c : cases) {
    HmsTime t;
    EXPECT_EQ(hms_from_seconds(t, c.n), c.expected) << c.n;
  }
  HmsTime hundred;
  EXPECT_FALSE(hms_is_valid(hms_from_seconds(hundred, 360000)));
}

TEST(HmsTime, Parse) {
  struct Case {
    const char* text;
    bool ok;
    HmsTime expected;
  } cases[] = {
      {"93015", true, T(9, 30, 15)},    {"1234", true, T(0, 12, 34)},
      {"999999", true, T(99, 99, 99)},  {"  +120000", true, T(12, 0, 0)},
      {"12ab", true, T(0, 0, 12)},      {"", true, T(0, 0, 0)},
      {"-0", true, T(0, 0, 0)},         {"1000000", false, T(7, 7, 7)},
      {"-5", false, T(7, 7, 7)},        {"99999999999999999999", false, T(7, 7, 7)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    HmsTime t = T(7, 7, 7);
    EXPECT_EQ(hms_parse(t, c.text), c.ok);
    EXPECT_EQ(t, c.expected);
  }
  HmsTime t;
  hms_parse(t, "999999");
  EXPECT_FALSE(hms_is_valid(t));
}

TEST(HmsTime, AddAndSubtractWithCarriesAndBorrows) {
  struct Case {
    HmsTime a, b, sum, difference;
  } cases[] = {
      {T(0, 59, 59), T(0, 0, 1), T(1, 0, 0), T(0, 59, 58)},
      {T(1, 0, 0), T(0, 0, 1), T(1, 0, 1), T(0, 59, 59)},
      {T(0, 0, 0), T(0, 0, 1), T(0, 0, 1), T(0xFF, 59, 59)},
      {T(2, 30, 45), T(1, 45, 30), T(4, 16, 15), T(0, 45, 15)},
      {T(9, 0, 0), T(8, 59, 59), T(17, 59, 59), T(0, 0, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(show(c.a) + " and " + show(c.b));
    HmsTime r;
    EXPECT_EQ(hms_add(r, c.a, c.b), c.sum);
    EXPECT_EQ(hms_sub(r, c.a, c.b), c.difference);
  }
  HmsTime negative;
  hms_sub(negative, T(0, 0, 0), T(0, 0, 1));
  EXPECT_FALSE(hms_is_valid(negative));
  std::string text;
  EXPECT_EQ(hms_format(negative, text, 9, 0, "--"), 1);
  EXPECT_TRUE(hms_equal(T(1, 2, 3), T(1, 2, 3)));
  EXPECT_TRUE(hms_differ(T(1, 2, 3), T(1, 2, 4)));
}

TEST(HmsTime, FixedWidthText) {
  struct Case {
    HmsTime t;
    int width, mode;
    const char* placeholder;
    const char* expected;
    int used;
  } cases[] = {
      {T(1, 2, 3), 9, 0, "", "  1:02'03", 0},
      {T(12, 34, 56), 9, 0, "", " 12:34'56", 0},
      {T(0, 2, 3), 9, 0, "", "     2'03", 0},
      {T(0, 0, 3), 9, 0, "", "       03", 0},
      {T(0, 0, 0), 9, 0, "***", "       00", 0},
      {T(0, 0, 0), 9, 1, "***", "      ***", 1},
      {kHmsNone, 9, 0, "---", "      ---", 1},
      {kHmsNone, 9, 1, "", "         ", 1},
      {kHmsNone, 9, 2, "", " 127:59'5", 0},  // no test in mode 2: cut at width
      {T(1, 2, 3), 13, 0, "", "  1:02'03", 0},
      {T(1, 2, 3), 20, 0, "", "  1:02'03", 0},
      {T(1, 2, 3), 7, 0, "", "  1:02'", 0},
      {kHmsNone, 20, 0, "x", "            x", 1},  // width limited to 13
      {kHmsNone, 2, 0, "long", "long", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(show(c.t) + " width " + std::to_string(c.width) + " mode " +
                 std::to_string(c.mode));
    std::string text = "old";
    EXPECT_EQ(hms_format(c.t, text, c.width, c.mode, c.placeholder), c.used);
    EXPECT_EQ(text, c.expected);
  }
}

TEST(HmsTime, TextWithRank) {
  struct Case {
    HmsTime t;
    int rank, width;
    const char* expected;
  } cases[] = {
      {T(1, 2, 3), 5, 13, "  1:02'03( 5)"},
      {T(1, 2, 3), 12, 13, "  1:02'03(12)"},
      {T(1, 2, 3), 123, 13, "  1:02'03(123"},
      {T(1, 2, 3), 0, 13, "  1:02'03    "},
      {T(1, 2, 3), -4, 13, "  1:02'03    "},
      {T(1, 2, 3), 5, 11, "  1:02'03( "},
      {T(1, 2, 3), 5, 20, "  1:02'03( 5)"},
      {kHmsNone, 5, 13, "            -"},  // no rank after the placeholder
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    std::string text;
    hms_format_with_rank(c.t, text, c.rank, '(', ')', c.width, 0, "-");
    EXPECT_EQ(text, c.expected);
  }
}

TEST(HmsTime, JapaneseAndSeparatorForms) {
  EXPECT_EQ(to_utf8(hms_format_japanese(T(1, 2, 3))), u8s(u8"1時間02分03秒"));
  EXPECT_EQ(to_utf8(hms_format_japanese(T(0, 2, 3))), u8s(u8"0時間02分03秒"));
  EXPECT_EQ(to_utf8(hms_format_japanese_short(T(1, 2, 3))), u8s(u8"1時間02分03秒"));
  EXPECT_EQ(to_utf8(hms_format_japanese_short(T(0, 2, 3))), u8s(u8"2分03秒"));
  EXPECT_EQ(hms_format_japanese_short(T(0, 0, 0)), "");
  EXPECT_EQ(hms_format_japanese_short(kHmsNone), "");
  EXPECT_EQ(hms_format_sep(T(1, 2, 3), ':'), "1:02:03");
  EXPECT_EQ(hms_format_sep(T(0, 2, 3), ':'), "0:2:03");
  EXPECT_EQ(hms_format_sep(T(10, 0, 9), '.'), "10.00.09");
}

TEST(HmsTime, PrintsToTextStreams) {
  ScratchDir dir;
  {
    Stream out = open_stream("times.txt", "w");
    ASSERT_TRUE(out);
    hms_print(T(1, 2, 3), out, 9, 0, "");
    out.write_text("|");
    hms_print(kHmsNone, out, 9, 0, "-");
    out.write_text("\n");
    hms_print_japanese(T(0, 5, 6), out);
    hms_print_japanese_short(T(0, 5, 6), out);
    hms_print_sep(T(0, 5, 6), out, ':');
    hms_print_fmt(T(4, 5, 6), out, "[%d-%02d-%02d]\n");
  }
  EXPECT_EQ(to_utf8(read_bytes("times.txt")),
            u8s(u8"  1:02'03|        -\r\n0時間05分06秒5分06秒0:5:06[4-05-06]\r\n"));
}

TEST(HmsTime, DateAndTimeTexts) {
  std::string date = date_text();
  std::string time = time_text();
  ASSERT_EQ(date.size(), 10u);
  EXPECT_EQ(date[4], '/');
  EXPECT_EQ(date[7], '/');
  ASSERT_EQ(time.size(), 8u);
  EXPECT_EQ(time[2], ':');
  std::string both = date_time_text();
  ASSERT_EQ(both.size(), 20u);
  EXPECT_EQ(both.substr(10, 2), "  ");
}

}  // namespace
