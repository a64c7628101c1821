// CP932 text helpers: double-byte characters are never split nor taken for separators.
#include "results/shell/sjis.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "support/test_support.h"

namespace {

using test_support::to_cp932;

std::string cp(const char8_t* utf8) { return to_cp932(reinterpret_cast<const char*>(utf8)); }

// Pieces joined by appending (GCC 12 warns falsely on "literal" + std::string).
std::string join(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (std::string_view p : pieces) out.append(p);
  return out;
}

TEST(Sjis, LeadBytes) {
  for (int c = 0; c < 256; ++c) {
    bool expected = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    EXPECT_EQ(is_lead_byte(static_cast<unsigned char>(c)), expected) << c;
  }
}

TEST(Sjis, CutWithoutSplitting) {
  const std::string text = join({"a", cp(u8"表ソ"), "b"});  // a 95 5C 83 5C b
  EXPECT_EQ(cut_text(text, 0), "");
  EXPECT_EQ(cut_text(text, 2), "a");
  EXPECT_EQ(cut_text(text, 3), join({"a", cp(u8"表")}));
  EXPECT_EQ(cut_text(text, 4), join({"a", cp(u8"表")}));
  EXPECT_EQ(cut_text(text, 100), text);
}

TEST(Sjis, ConversionBothWays) {
  EXPECT_EQ(cp932_to_utf8(cp(u8"区間賞TAB.txt")), reinterpret_cast<const char*>(u8"区間賞TAB.txt"));
  EXPECT_EQ(utf8_to_cp932(reinterpret_cast<const char*>(u8"～表")), "\x81\x60\x95\x5C");
  // Bytes that do not convert are kept rather than lost.
  EXPECT_EQ(cp932_to_utf8(std::string("a\x80z")), "a\x80z");
}

TEST(Sjis, TrimmingAndSkipping) {
  std::string s = "abc\n";
  strip_newline(s);
  strip_newline(s);
  EXPECT_EQ(s, "abc");
  s = "abc \t\r\n";
  trim_white(s);
  EXPECT_EQ(s, "abc");
  s = join({"abc", cp(u8"　"), " \t", cp(u8"　")});
  EXPECT_EQ(trim_blanks(s), 6);
  EXPECT_EQ(s, "abc");
  s = "x\x88\x81@";  // 0x81 as a trail byte, then "@": not a full-width space
  EXPECT_EQ(trim_blanks(s), 0);

  const std::string blanks = join({" \t", cp(u8"　"), "x"});
  EXPECT_EQ(*skip_blanks(blanks.c_str()), 'x');
  EXPECT_STREQ(skip_white(" \r\n\tz"), "z");
  EXPECT_STREQ(skip_digits("123ab"), "ab");
  // A separator byte inside a double-byte character is not a separator.
  const std::string fields = join({cp(u8"ソ"), "\\rest"});
  EXPECT_STREQ(skip_to_separator(fields.c_str(), "\\"), "\\rest");
  EXPECT_STREQ(skip_to_separator("abc", ","), "");
}

TEST(Sjis, TakeToken) {
  struct Case {
    std::string text;
    std::size_t size;
    const char* separators;
    std::string token;
    std::string rest;
  } cases[] = {
      {"abc,def", 13, ",", "abc", ",def"},
      {"a\tb,c", 13, ",", "a b", ",c"},  // a tab becomes a blank
      {"a\tb,c", 13, "\t,", "a", "\tb,c"},
      {std::string(20, 'x'), 13, ",", std::string(12, 'x'), std::string(8, 'x')},
      // A double-byte character at bytes 12 and 13 does not fit: the copy stops at 11.
      {join({std::string(11, 'x'), cp(u8"表"), "y"}), 13, ",", std::string(11, 'x'),
       join({cp(u8"表"), "y"})},
      {join({cp(u8"ソ"), "\\", cp(u8"表")}), 13, "\\", cp(u8"ソ"), join({"\\", cp(u8"表")})},
      {"abc", 0, ",", "", "abc"},
  };
  for (const Case& c : cases) {
    std::string token = "old";
    const char* end = take_token(token, c.text.c_str(), c.size, c.separators);
    EXPECT_EQ(token, c.token) << c.text;
    EXPECT_EQ(std::string(end), c.rest) << c.text;
  }
}

TEST(Sjis, RemoveAndWiden) {
  EXPECT_EQ(remove_characters(cp(u8"第１区・ソ表-x"), join({cp(u8"・表"), "-"})), cp(u8"第１区ソx"));
  // ソ (83 5C) is not removed by a set holding "\" (5C).
  EXPECT_EQ(remove_characters(join({cp(u8"ソ"), "\\a"}), "\\"), join({cp(u8"ソ"), "a"}));
  EXPECT_EQ(remove_bracketed("a(b(c)d)e(f)g", '(', ')'), "aeg");
  EXPECT_EQ(remove_bracketed("ab)cd)e", '\0', ')'), "cd)e");
  EXPECT_EQ(remove_bracketed(join({cp(u8"ソ"), "(x)"}), '(', ')'), cp(u8"ソ"));
  EXPECT_EQ(to_full_width("A1 z~"), cp(u8"Ａ１　ｚ～"));
  EXPECT_EQ(to_full_width("\xB6\xDE"), cp(u8"カ゛"));  // half-width katakana
  EXPECT_EQ(to_full_width(cp(u8"表")), cp(u8"表"));
}

}  // namespace
