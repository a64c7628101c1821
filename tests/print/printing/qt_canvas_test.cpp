// Drawing with Qt: Japanese glyphs, and whole pages written to a PDF by Qt itself, checked
// with poppler's tools (text per line, paper per page, ink where text and rules are).
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <cstring>
#include <QTemporaryDir>

#include "print/printing/printers.h"
#include "print/printing/qt_canvas.h"

namespace txp {
namespace {

TEST(Cp932Text, CellsBecomeUnicode) {
  auto conv = [](const char* s) {
    return Cp932ToQString(reinterpret_cast<const uint8_t*>(s), static_cast<int>(std::strlen(s))).toStdString();
  };
  EXPECT_EQ(conv("\x83\x5C"), "ソ");
  EXPECT_EQ(conv("\x82\xA0\x93\xFA"), "あ日");
  EXPECT_EQ(conv("\xB1" "A\\"), "ｱA\\");
  EXPECT_EQ(conv("\x82\x4F\x81\x40"), "０　");
  EXPECT_EQ(conv("\x84\x9F"), "─");
}

TEST(JapaneseFont, WindowsFacesPrintInIpaFonts) {
  EXPECT_EQ(JapaneseFamilyFor("ＭＳ 明朝").toStdString(), "IPAMincho");
  EXPECT_EQ(JapaneseFamilyFor("ＭＳ ゴシック").toStdString(), "IPAGothic");
  EXPECT_EQ(JapaneseFamilyFor("ＭＳ Ｐゴシック").toStdString(), "IPAPGothic");
  EXPECT_EQ(JapaneseFamilyFor("Courier New").toStdString(), "IPAMincho");
  const QFontInfo info(QFont(JapaneseFamilyFor("ＭＳ 明朝")));
  EXPECT_TRUE(info.family().contains("IPA")) << info.family().toStdString();
}

QString RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return QString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Writes every page of doc to a PDF with Qt, each page with its own paper direction.
void WritePdf(const QString& path, const Document& doc, const PrintFormat& format) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setResolution(600);
  printer.setFullPage(false);
  ApplyFormatToPrinter(printer, PageFormat(format, doc.pages[0]));
  QPainter painter;
  for (size_t i = 0; i < doc.pages.size(); ++i) {
    const PrintFormat page_format = PageFormat(format, doc.pages[i]);
    if (i > 0) {
      printer.setPageOrientation(PageLayoutFor(page_format).orientation());
      printer.newPage();
    } else {
      painter.begin(&printer);
    }
    RenderPageOn(painter, GeometryOf(printer), doc, format, static_cast<int>(i));
  }
  painter.end();
}

class QtPdf : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    format_ = DefaultPrintFormat(0);
    format_.PagePrn = 1;
    // Page 1 portrait: two lines of text and a rule; page 2 landscape (-DY); page 3 portrait.
    const std::string text =
        "Result list TXP\n"
        "Second line \x93\xFA\x96\x7B\x8C\xEA\n" +
        std::string(20, '\0') + "\n"
        "\f-DY\nLandscape page\n"
        "\f-DT\nPortrait again\n";
    std::string with_rules = text;
    std::string rule;
    for (int i = 0; i < 20; ++i) rule += "\x84\x9F";
    with_rules.replace(with_rules.find(std::string(20, '\0')), 20, rule);
    LoadTextFromBytes(doc_, with_rules, format_);
    BuildPages(doc_, format_);
    ASSERT_EQ(doc_.pages.size(), 3u);
    path_ = dir_.filePath("out.pdf");
    WritePdf(path_, doc_, format_);
  }

  QTemporaryDir dir_;
  PrintFormat format_;
  Document doc_;
  QString path_;
};

TEST_F(QtPdf, HasEveryPageWithItsDirection) {
  const QString info = RunTool("pdfinfo", {"-f", "1", "-l", "3", path_});
  ASSERT_FALSE(info.isEmpty()) << "pdfinfo failed";
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+3"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Page\\s+1 size:\\s+595\\.?\\d* x 84[12]")))
      << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Page\\s+2 size:\\s+84[12]\\.?\\d* x 595"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Page\\s+3 size:\\s+595"))) << info.toStdString();
}

TEST_F(QtPdf, KeepsTheTextLineByLine) {
  const QString text = RunTool("pdftotext", {"-layout", "-f", "1", "-l", "1", path_, "-"});
  ASSERT_FALSE(text.isEmpty()) << "pdftotext failed";
  QStringList lines;
  for (const QString& line : text.split('\n'))
    if (!line.trimmed().isEmpty()) lines << line.simplified();
  ASSERT_GE(lines.size(), 3) << text.toStdString();
  EXPECT_EQ(lines[0].remove(' '), "ResultlistTXP");
  EXPECT_TRUE(lines[1].remove(' ').startsWith("Secondline")) << lines[1].toStdString();
  EXPECT_TRUE(lines[1].contains("日本語")) << lines[1].toStdString();
  EXPECT_EQ(lines.last(), "-1-");  // the footer
  const QString page2 = RunTool("pdftotext", {"-f", "2", "-l", "2", path_, "-"});
  EXPECT_TRUE(page2.simplified().remove(' ').contains("Landscapepage")) << page2.toStdString();
}

TEST_F(QtPdf, InkWhereTextAndRulesAre) {
  const QString base = dir_.filePath("page1");
  RunTool("pdftoppm", {"-gray", "-r", "60", "-f", "1", "-l", "1", "-singlefile", path_, base});
  QImage image(base + ".pgm");
  ASSERT_FALSE(image.isNull());
  // Page metrics at 600 dpi, scaled to 60 dpi (a tenth).
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setResolution(600);
  ApplyFormatToPrinter(printer, format_);
  const DeviceGeometry device = GeometryOf(printer);
  const PageMetrics m = ComputeMetrics(device, PageFormat(format_, doc_.pages[0]));
  auto dark_in = [&](int x0, int y0, int x1, int y1) {
    int dark = 0;
    for (int y = std::max(0, y0); y <= std::min(image.height() - 1, y1); ++y)
      for (int x = std::max(0, x0); x <= std::min(image.width() - 1, x1); ++x)
        if (qGray(image.pixel(x, y)) < 128) ++dark;
    return dark;
  };
  auto px = [&](int32_t dots_x) { return (dots_x + device.offset_x) / 10; };
  auto py = [&](int32_t dots_y) { return (dots_y + device.offset_y) / 10; };
  const int text_x = px(m.left / 100), text_y = py(m.top / 100);
  const int fh = m.base_font.height / 10;
  // The first line's glyphs.
  EXPECT_GT(dark_in(text_x, text_y, text_x + 12 * m.column_pitch / 1000, text_y + fh), 20);
  // The rule of the third line: a horizontal line at half the font height across 40 columns.
  const int rule_y = py((m.top + 2 * m.line_pitch) / 100 + m.base_font.height / 2);
  const int rule_x1 = px((m.left + 40 * m.column_pitch) / 100);
  EXPECT_GT(dark_in(text_x, rule_y - 1, rule_x1 - 1, rule_y + 1), (rule_x1 - text_x) * 8 / 10);
  // Nothing between the rule and the glyph row above it, nor right of the rule.
  EXPECT_EQ(dark_in(rule_x1 + 3, rule_y - 1, rule_x1 + 40, rule_y + 1), 0);
  // Blank margin.
  EXPECT_EQ(dark_in(0, 0, text_x - 3, text_y - 3), 0);
}

TEST(QtCanvasImage, PreviewScaleImageGetsInk) {
  PrintFormat f = DefaultPrintFormat(0);
  Document doc;
  LoadTextFromBytes(doc, "\x82\xA0\x82\xA2\x82\xA4 ABC\n\x84\xAB\n\x84\xAB", f);
  BuildPages(doc, f);
  QImage image(500, 707, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  RenderPageOn(painter, GeometryOf(image), doc, f, 0);
  painter.end();
  int dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ++dark;
  EXPECT_GT(dark, 30);
}


// Glyphs are drawn together in runs, yet each stays in its own grid cell: with 40 columns the
// pitch is about twice the font's own advance, so glyphs placed by the font would drift left.
TEST(QtCanvasImage, GlyphRunsKeepTheGridPositions) {
  PrintFormat f = DefaultPrintFormat(0);
  f.Width.value = 40;
  f.Height.value = 20;
  std::string text;
  for (int i = 0; i < 20; ++i) text += "| ";
  text += "\x0E";  // the full line ends; then double width, stretched glyphs of two columns
  for (int i = 0; i < 10; ++i) text += "| ";
  Document doc;
  LoadTextFromBytes(doc, text, f);
  BuildPages(doc, f);
  QImage image(1654, 2339, QImage::Format_RGB32);  // A4 at 200 dpi
  image.setDotsPerMeterX(7874);
  image.setDotsPerMeterY(7874);
  image.fill(Qt::white);
  QPainter painter(&image);
  const DeviceGeometry device = GeometryOf(image);
  RenderPageOn(painter, device, doc, f, 0);
  painter.end();
  const PageMetrics m = ComputeMetrics(device, PageFormat(f, doc.pages[0]));
  auto dark_in = [&](int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    int dark = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (qGray(image.pixel(x, y)) < 128) ++dark;
    return dark;
  };
  for (int line = 0; line < 2; ++line) {
    const int cell = line == 0 ? 1 : 2;  // columns per character
    const int32_t y0 = (m.top + line * m.line_pitch) / 100;
    const int32_t y1 = y0 + m.base_font.height;
    for (int k = 0; k < 40 / cell; ++k) {
      const int32_t x0 = (m.left + k * cell * m.column_pitch) / 100;
      const int32_t x1 = (m.left + (k + 1) * cell * m.column_pitch) / 100;
      if (k % 2 == 0)
        EXPECT_GT(dark_in(x0, x1, y0, y1), 0) << "line " << line << " cell " << k;
      else
        EXPECT_EQ(dark_in(x0, x1, y0, y1), 0) << "line " << line << " cell " << k;
    }
  }
}

}  // namespace
}  // namespace txp
