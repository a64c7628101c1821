// One line at a time: codes, attributes and size codes of the cells.
#include <gtest/gtest.h>

#include "layout/layout_support.h"

namespace txp {
namespace {

struct CellsCase {
  const char* name;
  int width;
  std::string text;
  std::string codes;  // DumpLine of the first line
  std::string sizes;  // SizeTrack
  std::string attrs;  // AttrTrack
};

class FirstLine : public ::testing::TestWithParam<CellsCase> {};

TEST_P(FirstLine, Cells) {
  const CellsCase& c = GetParam();
  PrintFormat format = test::SmallFormat(c.width, 5);
  Document doc;
  LoadTextFromBytes(doc, c.text, format);
  LineCells cells;
  SizeCode size = kSizeNormal;
  CellAttr attr = 0;
  bool page_break = false;
  int32_t flags = 0, line = 1;
  LayoutLine(doc, 0, format, size, attr, LayoutMode::Paginate, cells, page_break, flags, line);
  EXPECT_EQ(DumpLine(cells), c.codes);
  EXPECT_EQ(test::SizeTrack(cells), c.sizes);
  EXPECT_EQ(test::AttrTrack(cells), c.attrs);
  EXPECT_EQ(cells.code[cells.length], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, FirstLine,
    ::testing::Values(
        // Normal size: a single byte takes one column, a double-byte character two.
        CellsCase{"NormalDoubleByteTakesTwo", 3, "a\x82\xA0\x82\xA0", "a<82A0>", "222222", "000"},
        // ^Y: single bytes keep size 0x22 and one column; double-byte take one column, 0x21.
        CellsCase{"HalfWidthY", 3, "\x19" "a\x82\xA0\x82\xA0", "a<82A0><82A0>", "2221212121", "00000"},
        CellsCase{"HalfQ", 3, "\x11" "a\x82\xA0\x82\xA0", "a<82A0><82A0>", "2211111111", "00000"},
        // ^N: double width, single bytes advance two columns, double-byte four.
        CellsCase{"DoubleWidthN", 5, "\x0E" "ab\x82\xA0", "ab", "2424", "00"},
        CellsCase{"DoubleWidthDoubleByte", 5, "\x0E" "a\x82\xA0", "a", "24", "0"},
        CellsCase{"DoubleWidthDoubleByteFits", 6, "\x0E" "a\x82\xA0", "a<82A0>", "242424", "000"},
        // ^V: double height; a single byte still takes one column.
        CellsCase{"DoubleHeightV", 5, "\x16" "abcdef", "abcde", "4242424242", "00000"},
        CellsCase{"HalfHeightT", 5, "\x14" "a\x82\xA0", "a<82A0>", "221212", "000"},
        // ^S41: single bytes of advance 0 always fit.
        CellsCase{"SizeS41AdvanceZero", 5, "\x13" "41abcdefgh", "abcdefgh", "4141414141414141"
                  , "00000000"},
        CellsCase{"SizeS14", 5, "\x13" "14a\x82\xA0\x82\xA0", "a<82A0>", "221414", "000"},
        // Box drawing ignores size and attribute.
        CellsCase{"BoxDrawingIsPlain", 6, "\x15\x0E\x84\x9F" "a", "[849F]a", "222224", "001"},
        // Tab spaces take 0x22 and the attribute.
        CellsCase{"TabCells", 10, "\x15\x0E" "a\t", "a      ", "24222222222222", "1111111"},
        CellsCase{"UnderlineToggles", 10, "a\x15" "b\x15" "c", "abc", "222222", "010"},
        CellsCase{"CaretAUnderlineOn", 10, "\x01" "3xyab", "ab", "2222", "11"},
        CellsCase{"CaretBUnderlineOff", 10, "\x15" "a\x02" "3b", "ab", "2222", "10"},
        CellsCase{"CaretANearEndTakesOnlyItself", 10, "a\x01" "3", "a3", "2222", "00"},
        CellsCase{"FieldSizes", 20, "\x0E\x10%2P\x19%2p\x10", "<P2><p2>", "24242222", "2222"},
        CellsCase{"FieldWidthCountsColumns", 10, "\x10%3P\x10" "abcde", "<P3>abcd", "222222222222", "220000"},
        CellsCase{"LoneLeadByteAtEndDropped", 10, "ab\x82", "ab", "2222", "00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FirstLine, CapacityIsNeverExceeded) {
  // Size 0x41 single bytes take no column, so only the cell arrays end the line.
  const std::string text = "\x13" "41" + std::string(5000, 'a');
  PrintFormat format = test::SmallFormat(5, 5);
  Document doc;
  LoadTextFromBytes(doc, text, format);
  BuildPages(doc, format);
  ASSERT_FALSE(doc.pages.empty());
  LineCells cells;
  SizeCode size = kSizeNormal;
  CellAttr attr = 0;
  bool page_break = false;
  int32_t flags = 0, line = 1;
  size_t pos = 0;
  int lines = 0;
  while (pos != kNoPosition && lines < 100) {
    pos = LayoutLine(doc, pos, format, size, attr, LayoutMode::Render, cells, page_break, flags, line);
    EXPECT_LE(cells.length, LineCells::kCapacity);
    ++lines;
  }
  EXPECT_EQ(pos, kNoPosition);
  EXPECT_GT(lines, 1);
}

TEST(FirstLine, WideTabsOfAnUnclampedFormatStayInTheArrays) {
  PrintFormat format = test::SmallFormat(5000, 5, 1500);
  Document doc;
  LoadTextFromBytes(doc, "a\tb\tc\td", format);
  LineCells cells;
  SizeCode size = kSizeNormal;
  CellAttr attr = 0;
  bool page_break = false;
  int32_t flags = 0, line = 1;
  size_t pos = 0;
  while (pos != kNoPosition) {
    pos = LayoutLine(doc, pos, format, size, attr, LayoutMode::Render, cells, page_break, flags, line);
    ASSERT_LE(cells.length, LineCells::kCapacity);
  }
}

TEST(FirstLine, RenderModeSkipsCommandLinesUnread) {
  PrintFormat format = test::SmallFormat(10, 5);
  Document doc;
  LoadTextFromBytes(doc, "\f-W40 -X\nabc", format);
  LineCells cells;
  SizeCode size = kSizeNormal;
  CellAttr attr = 0;
  bool page_break = false;
  int32_t flags = 0, line = 1;
  LayoutLine(doc, 0, format, size, attr, LayoutMode::Render, cells, page_break, flags, line);
  EXPECT_EQ(DumpLine(cells), "abc");
  EXPECT_EQ(format.Width.value, 10);
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(line, 1);
}

TEST(KeisenTable, EntriesFollowTheCharacterShapes) {
  struct Row {
    unsigned key;
    KeisenEntry expected;
  };
  const Row rows[] = {
      {0x849F, {2, 1, 1, 0, 0}},  // ─ thin horizontal
      {0x84AB, {2, 0, 0, 2, 2}},  // ┃ bold vertical
      {0x84BE, {2, 1, 1, 2, 2}},  // ╂
      {0x86A2, {2, 1, 1, 0, 0}},
      {0x86ED, {2, 2, 2, 2, 2}},
      {0x8643, {1, 1, 1, 0, 0}},  // half width as 0x86A2
      {0x867E, {1, 2, 2, 2, 0}},  // as 0x86DD
      {0x867F, {1, 0, 0, 0, 0}},
      {0x8680, {1, 1, 1, 1, 1}},  // as 0x86DE
      {0x868F, {1, 2, 2, 2, 2}},  // as 0x86ED
  };
  for (const Row& r : rows) {
    const KeisenEntry* k = FindKeisen(r.key);
    ASSERT_NE(k, nullptr) << std::hex << r.key;
    EXPECT_EQ(k->width, r.expected.width) << std::hex << r.key;
    EXPECT_EQ(k->left, r.expected.left) << std::hex << r.key;
    EXPECT_EQ(k->right, r.expected.right) << std::hex << r.key;
    EXPECT_EQ(k->up, r.expected.up) << std::hex << r.key;
    EXPECT_EQ(k->down, r.expected.down) << std::hex << r.key;
  }
  for (unsigned key : {0x849Eu, 0x84BFu, 0x86A1u, 0x86EEu, 0x8642u, 0x8690u, 0x82A0u})
    EXPECT_EQ(FindKeisen(key), nullptr) << std::hex << key;
}

TEST(LeadBytes, PrintProgramRange) {
  for (int b = 0; b < 256; ++b) {
    const bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF);
    EXPECT_EQ(IsLeadByte(static_cast<uint8_t>(b)), expected) << b;
  }
}

}  // namespace
}  // namespace txp
