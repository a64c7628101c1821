// The results program is compiled so that narrow literals are CP932 bytes, as the race files are.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace {

struct LiteralCase {
  const char* literal;   // compiled with the program's execution character set
  std::string expected;  // its CP932 bytes
  const char8_t* utf8;   // the same text as UTF-8
};

TEST(LiteralCharset, NarrowLiteralsAreCp932Bytes) {
  const LiteralCase cases[] = {
      // 作業フォルダ→ : plain double-byte text
      {"作業フォルダ→", "\x8d\xec\x8b\xc6\x83\x74\x83\x48\x83\x8b\x83\x5f\x81\xa8",
       u8"作業フォルダ→"},
      // ソ : trail byte 0x5C, the backslash byte
      {"ソ", "\x83\x5c", u8"ソ"},
      // 表 : trail byte 0x5C
      {"表", "\x95\x5c", u8"表"},
      // full-width tilde (U+FF5E) is 0x81 0x60 in CP932
      {"～", "\x81\x60", u8"～"},
      // ASCII stays ASCII
      {"OUT.TXT", "OUT.TXT", u8"OUT.TXT"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(c.literal), c.expected) << reinterpret_cast<const char*>(c.utf8);
    EXPECT_EQ(test_support::to_utf8(c.literal), std::string(reinterpret_cast<const char*>(c.utf8)));
  }
}

}  // namespace
