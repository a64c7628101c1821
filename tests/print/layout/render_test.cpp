// Rendering through a recording canvas, checked against the page geometry.
#include <gtest/gtest.h>

#include <vector>

#include "layout/layout_support.h"
#include "print/layout/render.h"

namespace txp {
namespace {

struct Op {
  enum Kind { Font, Text, Line } kind;
  SizeCode code = 0;
  int32_t x = 0, y = 0;
  std::string bytes;
  PenKind pen = PenKind::Thin;
  int32_t x2 = 0, y2 = 0;
};

class RecordingCanvas : public Canvas {
 public:
  std::vector<Op> ops;
  void SelectFont(SizeCode code) override {
    Op op{};
    op.kind = Op::Font;
    op.code = code;
    ops.push_back(op);
  }
  void DrawText(int32_t x, int32_t y, const uint8_t* bytes, int count) override {
    Op op{};
    op.kind = Op::Text;
    op.x = x;
    op.y = y;
    op.bytes.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
    ops.push_back(op);
  }
  void DrawLine(PenKind pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    Op op{};
    op.kind = Op::Line;
    op.pen = pen;
    op.x = x1;
    op.y = y1;
    op.x2 = x2;
    op.y2 = y2;
    ops.push_back(op);
  }
  int32_t TextWidth(const std::string& text) override { return static_cast<int32_t>(text.size()) * 10; }

  std::vector<Op> Of(Op::Kind kind) const {
    std::vector<Op> out;
    for (const Op& op : ops)
      if (op.kind == kind) out.push_back(op);
    return out;
  }
};

// 254 dpi: 10 dots per mm, 1000 centi-dots per mm. A4 with no unprintable border.
DeviceGeometry A4At254() {
  DeviceGeometry d;
  d.dpi_x = d.dpi_y = 254;
  d.physical_width = d.printable_width = 2100;
  d.physical_height = d.printable_height = 2970;
  return d;
}

// Font height for 11 pt at 254 dpi (11 * 254 / 72) and its width.
constexpr int kH = 38;
constexpr int kW = 19;
// Body from 20 mm to 190 mm across, 20 mm to 277 mm down, 80 columns, 50 lines.
constexpr int kLeft = 20000, kTop = 20000;
constexpr int kColumn = (190000 - 20000) / 80;
constexpr int kLine = (277000 - 20000) / 50;

struct Rendered {
  Document doc;
  RecordingCanvas canvas;
  PageMetrics metrics;
};

// Lays out text with the default format (plus changes) and renders page `page`.
void Render(Rendered& r, const std::string& text, const PrintFormat& format, size_t page = 0,
            const DeviceGeometry& device = A4At254()) {
  LoadTextFromBytes(r.doc, text, format);
  BuildPages(r.doc, format);
  ASSERT_LT(page, r.doc.pages.size());
  const PrintFormat page_format = PageFormat(format, r.doc.pages[page]);
  r.metrics = ComputeMetrics(device, page_format);
  const DrawTools tools = CreateDrawTools(r.metrics);
  RenderPage(r.canvas, r.doc, r.doc.pages[page].start, r.doc.pages[page].end, r.metrics, page_format, tools, 0,
             0);
}

TEST(Metrics, FollowTheDeviceAndTheFormat) {
  DeviceGeometry d = A4At254();
  d.offset_x = 40;
  d.offset_y = 50;
  d.printable_width = 2000;
  d.printable_height = 2850;
  PrintFormat f = DefaultPrintFormat(0);
  f.FontStyle = 3;
  const PageMetrics m = ComputeMetrics(d, f);
  EXPECT_EQ(m.right_gap, 60);
  EXPECT_EQ(m.bottom_gap, 70);
  EXPECT_EQ(m.left, 20000 - 4000);
  EXPECT_EQ(m.top, 20000 - 5000);
  EXPECT_EQ(m.right, (60 + 2000) * 100 - 20000);
  EXPECT_EQ(m.bottom, (70 + 2850) * 100 - 20000);
  EXPECT_EQ(m.column_pitch, (m.right - m.left) / 80);
  EXPECT_EQ(m.line_pitch, (m.bottom - m.top) / 50);
  EXPECT_EQ(m.base_font.height, kH);
  EXPECT_EQ(m.base_font.width, kW);
  EXPECT_EQ(m.base_font.weight, 700);
  EXPECT_TRUE(m.base_font.italic);
  EXPECT_EQ(m.base_font.face, "ＭＳ 明朝");
  // 0.2 mm * (254 / 72 = 3) * 28 / 100 truncates to 1; 0.5 mm gives 4.
  EXPECT_EQ(m.thin_pen, 1);
  EXPECT_EQ(m.bold_pen, 4);
}

TEST(Metrics, FooterTakesItsRoomFromTheBody) {
  PrintFormat f = DefaultPrintFormat(0);
  f.PagePrn = 1;
  const PageMetrics m = ComputeMetrics(A4At254(), f);
  EXPECT_EQ(m.footer_top, 2770 - kH);
  EXPECT_EQ(m.line_pitch, (277000 - kH * 100 - 10 * 1000 - 20000) / 50);
}

TEST(DrawToolsTest, SevenFontsFromTheBaseSize) {
  const DrawTools t = CreateDrawTools(ComputeMetrics(A4At254(), DefaultPrintFormat(0)));
  const int expected[kFontCount][2] = {{kW, kH},     {2 * kW, kH},     {2 * kW, 2 * kH}, {kW, 2 * kH},
                                       {kW, kH / 2}, {kW / 2, kH / 2}, {kW / 2, kH}};
  for (int i = 0; i < kFontCount; ++i) {
    EXPECT_EQ(t.fonts[i].width, expected[i][0]) << i;
    EXPECT_EQ(t.fonts[i].height, expected[i][1]) << i;
    EXPECT_EQ(FontIndexOf(kFontSizeCodes[i]), i);
  }
  EXPECT_EQ(FontIndexOf(0x14), -1);
  EXPECT_EQ(FontIndexOf(0x41), -1);
}

TEST(RenderPageTest, TextSitsOnTheGrid) {
  Rendered r;
  Render(r, "ab\ncd", DefaultPrintFormat(0));
  const std::vector<Op> text = r.canvas.Of(Op::Text);
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(text[1].bytes, "b");
  EXPECT_EQ(text[1].x, (kLeft + kColumn) / 100);
  EXPECT_EQ(text[1].y, kTop / 100);
  EXPECT_EQ(text[2].bytes, "c");
  EXPECT_EQ(text[2].x, kLeft / 100);
  EXPECT_EQ(text[2].y, (kTop + kLine) / 100);
}

TEST(RenderPageTest, FooterIsCentredBelowTheBody) {
  PrintFormat f = DefaultPrintFormat(0);
  f.PageStart.value = 7;
  f.PagePrn = 1;
  Rendered r;
  Render(r, "x", f);
  const Op& footer = r.canvas.ops.back();
  ASSERT_EQ(footer.kind, Op::Text);
  EXPECT_EQ(footer.bytes, "-7-");
  EXPECT_EQ(footer.x, (kLeft + (190000 - kLeft) / 2) / 100 - 30 / 2);
  EXPECT_EQ(footer.y, 2770 - kH);
  EXPECT_EQ(r.canvas.ops[r.canvas.ops.size() - 2].kind, Op::Font);
  EXPECT_EQ(r.canvas.ops[r.canvas.ops.size() - 2].code, kSizeNormal);
}

TEST(RenderPageTest, NoFooterWithoutPagePrn) {
  Rendered r;
  Render(r, "x", DefaultPrintFormat(0));
  for (const Op& op : r.canvas.Of(Op::Text)) EXPECT_NE(op.bytes, "-1-");
}

struct UnderlineCase {
  const char* name;
  std::string text;
  std::vector<std::pair<int, int>> spans;  // x from, x to
};

class Underlines : public ::testing::TestWithParam<UnderlineCase> {};

TEST_P(Underlines, Lengths) {
  Rendered r;
  Render(r, GetParam().text, DefaultPrintFormat(0));
  std::vector<Op> lines;
  for (const Op& op : r.canvas.Of(Op::Line))
    if (op.pen == PenKind::Underline) lines.push_back(op);
  ASSERT_EQ(lines.size(), GetParam().spans.size());
  const int y = kTop / 100 + kH + r.metrics.underline_pen / 2;
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].pen, PenKind::Underline);
    EXPECT_EQ(lines[i].x, GetParam().spans[i].first) << i;
    EXPECT_EQ(lines[i].x2, GetParam().spans[i].second) << i;
    EXPECT_EQ(lines[i].y, y);
    EXPECT_EQ(lines[i].y2, y);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Render, Underlines,
    ::testing::Values(
        UnderlineCase{"DoubleWidthDoubleByteFourWidths", "\x15\x0E\x82\xA0\x15", {{200, 200 + 4 * kW}}},
        UnderlineCase{"NormalDoubleByteTwoWidths", "\x15\x82\xA0\x15", {{200, 200 + 2 * kW}}},
        UnderlineCase{"SingleByteOneWidth", "\x15\x0E" "a\x15", {{200, 200 + kW}}},
        UnderlineCase{"RunEndsAtLastCell", "\x15" "ab\x15" "c", {{200, (kLeft + kColumn) / 100 + kW}}},
        UnderlineCase{"BrokenUnderBoxDrawing", "\x15" "a\x84\x9F" "b\x15",
                      {{200, 200 + kW}, {(kLeft + 3 * kColumn) / 100, (kLeft + 3 * kColumn) / 100 + kW}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RenderPageTest, ThinHorizontalBoxLineAtHalfHeight) {
  Rendered r;
  Render(r, "\x84\x9F", DefaultPrintFormat(0));
  const std::vector<Op> lines = r.canvas.Of(Op::Line);
  ASSERT_EQ(lines.size(), 2u);
  const int centre = kTop / 100 + kH / 2;
  const int middle = kLeft / 100 + kW * 2 / 2;
  EXPECT_EQ(lines[0].pen, PenKind::Thin);
  EXPECT_EQ(lines[0].x, kLeft / 100);
  EXPECT_EQ(lines[0].x2, middle);
  EXPECT_EQ(lines[1].x, middle);
  EXPECT_EQ(lines[1].x2, (kLeft + 2 * kColumn) / 100);
  for (const Op& op : lines) {
    EXPECT_EQ(op.y, centre);
    EXPECT_EQ(op.y2, centre);
  }
  EXPECT_TRUE(r.canvas.Of(Op::Text).empty());
}

TEST(RenderPageTest, BoldVerticalBoxLineReachesTheNextLine) {
  Rendered r;
  Render(r, "a\x84\xAB", DefaultPrintFormat(0));
  const std::vector<Op> lines = r.canvas.Of(Op::Line);
  ASSERT_EQ(lines.size(), 2u);
  const int middle = (kLeft + kColumn) / 100 + kW * 2 / 2;
  const int centre = kTop / 100 + kH / 2;
  EXPECT_EQ(lines[0].pen, PenKind::Bold);
  EXPECT_EQ(lines[0].x, middle);
  EXPECT_EQ(lines[0].y, kTop / 100);
  EXPECT_EQ(lines[0].y2, centre);
  EXPECT_EQ(lines[1].pen, PenKind::Bold);
  EXPECT_EQ(lines[1].x2, middle);
  EXPECT_EQ(lines[1].y, centre);
  EXPECT_EQ(lines[1].y2, (kTop + kLine) / 100);
}

TEST(RenderPageTest, MixedBoxDrawsThinBeforeBold) {
  Rendered r;
  Render(r, "\x84\xBE", DefaultPrintFormat(0));  // ╂: thin left/right, bold up/down
  const std::vector<Op> lines = r.canvas.Of(Op::Line);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].pen, PenKind::Thin);
  EXPECT_EQ(lines[1].pen, PenKind::Thin);
  EXPECT_EQ(lines[2].pen, PenKind::Bold);
  EXPECT_EQ(lines[3].pen, PenKind::Bold);
}

std::string Texts(const RecordingCanvas& c) {
  std::string s;
  for (const Op& op : c.Of(Op::Text)) s += op.bytes + "|";
  return s;
}

TEST(RenderPageTest, PageNumberFieldFullWidthPaddedToN) {
  PrintFormat f = DefaultPrintFormat(0);
  f.PageStart.value = 7;
  Rendered r;
  Render(r, "\x10%3P\x10" "x", f);
  EXPECT_EQ(Texts(r.canvas), "\x81\x40|\x81\x40|\x82\x56|x|");
  const std::vector<Op> text = r.canvas.Of(Op::Text);
  EXPECT_EQ(text[1].x, (kLeft + 2 * kColumn) / 100);
  EXPECT_EQ(text[3].x, (kLeft + 6 * kColumn) / 100);  // the field took 6 columns
}

TEST(RenderPageTest, FieldOutsidePageModeIsText) {
  PrintFormat f = DefaultPrintFormat(0);
  f.PageStart.value = 7;
  Rendered r;
  Render(r, "%3P", f);
  EXPECT_EQ(Texts(r.canvas), "%|3|P|");
}

TEST(RenderPageTest, NarrowFieldKeepsLeadingCharacters) {
  PrintFormat f = DefaultPrintFormat(0);
  f.PageStart.value = 123;
  Rendered r;
  Render(r, "\x10%2p\x10", f);
  EXPECT_EQ(Texts(r.canvas), "1|2|");
}

TEST(RenderPageTest, TotalPagesFromNTThenFromTheCount) {
  const PrintFormat f = DefaultPrintFormat(0);
  const std::string text = "\f-NT12\n\x10%3T\x10\n\fa\n\f-NT\n\x10%3T\x10";
  Rendered first, third;
  Render(first, text, f, 0);
  Render(third, text, f, 2);
  EXPECT_EQ(Texts(first.canvas), "\x81\x40|\x82\x50|\x82\x51|");
  EXPECT_EQ(Texts(third.canvas), "\x81\x40|\x81\x40|\x82\x52|");
}

TEST(RenderPageTest, FontChosenPerSizeCode) {
  Rendered r;
  Render(r, "\x0E" "a\x13" "14\x82\xA0\x16\x82\xA0\x14\x82\xA0\x0F" "b", DefaultPrintFormat(0));
  std::vector<int> fonts;
  for (const Op& op : r.canvas.Of(Op::Font)) fonts.push_back(op.code);
  // 0x14 has no font and keeps 0x24.
  EXPECT_EQ(fonts, (std::vector<int>{0x22, 0x24, 0x42, 0x12, 0x22}));
  const std::vector<Op> text = r.canvas.Of(Op::Text);
  ASSERT_EQ(text.size(), 5u);
  EXPECT_EQ(text[2].y, kTop / 100 - kH);      // double height rises by a font height
  EXPECT_EQ(text[3].y, kTop / 100 + kH / 2);  // half height sits half a font height lower
  EXPECT_EQ(text[0].y, kTop / 100);
}

TEST(RenderPageTest, ScrollShiftsEverythingAndLinePositionsAreRecorded) {
  const PrintFormat f = DefaultPrintFormat(0);
  Document doc;
  LoadTextFromBytes(doc, "a\nb\nc", f);
  BuildPages(doc, f);
  const PageMetrics m = ComputeMetrics(A4At254(), f);
  RecordingCanvas canvas;
  LinePositions lines;
  RenderPage(canvas, doc, doc.pages[0].start, doc.pages[0].end, m, PageFormat(f, doc.pages[0]), CreateDrawTools(m),
             5, 7, &lines);
  const std::vector<Op> text = canvas.Of(Op::Text);
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[2].x, kLeft / 100 - 5);
  EXPECT_EQ(text[2].y, (kTop + 2 * kLine) / 100 - 7);
  ASSERT_EQ(lines.count, 3);
  EXPECT_EQ(lines.position[1], 2u);
  EXPECT_EQ(lines.top[2], (kTop + 2 * kLine) / 100);
}

TEST(RenderPageTest, DrawsOnlyItsOwnPage) {
  PrintFormat f = test::SmallFormat(10, 5);
  Rendered r;
  Render(r, "1\n2\n3\n4\n5\n6\n7", f, 1);
  EXPECT_EQ(Texts(r.canvas), "6|7|");
}

}  // namespace
}  // namespace txp
