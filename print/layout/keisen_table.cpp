// The box-drawing table: width in columns and the four half-segments of every Shift-JIS
// box-drawing character, which are drawn as ruled lines instead of glyphs.
#include "print/layout/page_layout.h"

namespace txp {
namespace {

// Segments written as four digits: left, right, up, down (0 none, 1 thin, 2 bold).
constexpr KeisenEntry Seg(int width, int lrud) {
  return KeisenEntry{width, static_cast<uint8_t>(lrud / 1000), static_cast<uint8_t>(lrud / 100 % 10),
                     static_cast<uint8_t>(lrud / 10 % 10), static_cast<uint8_t>(lrud % 10)};
}

// JIS box drawing 0x849F-0x84BE (─ to ╂).
constexpr int kJis[] = {1100, 11,   101,  1001, 1010, 110,  111,  1101, 1011, 1110, 1111,
                        2200, 22,   202,  2002, 2020, 220,  222,  2202, 2022, 2220, 2222,
                        122,  2201, 1022, 2210, 2211, 211,  1102, 2011, 1120, 1122};
// Extended box drawing 0x86A2-0x86ED.
constexpr int kExtended[] = {
    1100, 2200, 11,   22,   1100, 2200, 11,   22,   1100, 2200, 11,   22,   101,  201,
    102,  202,  1001, 2001, 1002, 2002, 110,  210,  120,  220,  1010, 2010, 1020, 2020,
    111,  211,  121,  112,  122,  221,  212,  222,  1011, 2011, 1021, 1012, 1022, 2021,
    2012, 2022, 1101, 2101, 1201, 2201, 1102, 2102, 1202, 2202, 1110, 2110, 1210, 2210,
    1120, 2120, 1220, 2220, 1111, 2111, 1211, 2211, 1121, 1112, 1122, 2121, 1221, 2112,
    1212, 2221, 2212, 2122, 1222, 2222};
static_assert(sizeof(kJis) / sizeof(kJis[0]) == 0x84BE - 0x849F + 1);
static_assert(sizeof(kExtended) / sizeof(kExtended[0]) == 0x86ED - 0x86A2 + 1);

struct KeisenTable {
  KeisenEntry jis[32];
  KeisenEntry extended[76];
  KeisenEntry half[0x868F - 0x8643 + 1];
};

constexpr KeisenTable MakeTable() {
  KeisenTable t{};
  for (int i = 0; i < 32; ++i) t.jis[i] = Seg(2, kJis[i]);
  for (int i = 0; i < 76; ++i) t.extended[i] = Seg(2, kExtended[i]);
  // Half width: 0x8643-0x867E as 0x86A2-0x86DD, 0x867F none, 0x8680-0x868F as 0x86DE-0x86ED.
  for (int i = 0; i < 0x867F - 0x8643; ++i) t.half[i] = Seg(1, kExtended[i]);
  t.half[0x867F - 0x8643] = Seg(1, 0);
  for (int i = 0; i <= 0x868F - 0x8680; ++i) t.half[0x8680 - 0x8643 + i] = Seg(1, kExtended[0x86DE - 0x86A2 + i]);
  return t;
}

constexpr KeisenTable kTable = MakeTable();

}  // namespace

const KeisenEntry* FindKeisen(unsigned key) {
  if (key >= 0x849F && key <= 0x84BE) return &kTable.jis[key - 0x849F];
  if (key >= 0x86A2 && key <= 0x86ED) return &kTable.extended[key - 0x86A2];
  if (key >= 0x8643 && key <= 0x868F) return &kTable.half[key - 0x8643];
  return nullptr;
}

}  // namespace txp
