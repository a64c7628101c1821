// Printer list, paper and margin limits.
#include <gtest/gtest.h>

#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "print/printing/printers.h"

namespace txp {
namespace {

class PrinterListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPrinterList({{"Office", "", ""}, {"PDF", "", ""}, {"office", "", ""}}, "PDF");
  }
};

TEST_F(PrinterListTest, IndexByNameIsExactThenDefaultThenFirst) {
  EXPECT_EQ(EnumPrinterList(), 3);
  EXPECT_EQ(DefaultPrinterIndex(), 1);
  EXPECT_EQ(PrinterIndexByName("office"), 2);
  EXPECT_EQ(PrinterIndexByName("Office"), 0);
  EXPECT_EQ(PrinterIndexByName("OFFICE"), 1);  // no exact match: the default printer
  EXPECT_EQ(PrinterName(1), "PDF");
  EXPECT_EQ(PrinterName(3), "");
  SetPrinterList({{"A", "", ""}, {"B", "", ""}}, "gone");
  EXPECT_EQ(DefaultPrinterIndex(), -1);
  EXPECT_EQ(PrinterIndexByName("C"), 0);
}

TEST_F(PrinterListTest, NoPrinterReachesTheNoPrinterDialog) {
  SetPrinterList({}, "");
  int shown = 0;
  EXPECT_FALSE(EnsurePrinters(EnumPrinterList(), [&] { ++shown; }));
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(EnsurePrinters(1, [&] { ++shown; }));
  EXPECT_EQ(shown, 1);
  // Nothing to ask: margin limits fail with dialog 120 and keep the bounds.
  PrintFormat f = DefaultPrintFormat(0);
  int failures = 0;
  EXPECT_FALSE(SetMarginLimits(f, [&] { ++failures; }));
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(f.LeftMgnMm.lower, 10);
  EXPECT_EQ(f.LeftMgnMm.upper, 100);
}

struct PaperCase {
  int16_t code;
  const char* name;
  int dir;
  QPageSize::PageSizeId expected;
  QPageLayout::Orientation orientation;
};

TEST(PageLayoutForTest, PaperByCodeThenNameAndDirection) {
  const PaperCase cases[] = {
      {9, "A4", 0, QPageSize::A4, QPageLayout::Portrait},
      {9, "A4", 1, QPageSize::A4, QPageLayout::Landscape},
      {8, "A3", 0, QPageSize::A3, QPageLayout::Portrait},
      {1, "Letter", 0, QPageSize::Letter, QPageLayout::Portrait},
      {0, "A5", 0, QPageSize::A5, QPageLayout::Portrait},
      {0, "", 0, QPageSize::A4, QPageLayout::Portrait},
  };
  for (const PaperCase& c : cases) {
    PrintFormat f = DefaultPrintFormat(0);
    f.PaperSize = c.code;
    f.PaperName = c.name;
    f.PaperDir = c.dir;
    const QPageLayout layout = PageLayoutFor(f);
    EXPECT_EQ(layout.pageSize().id(), c.expected) << c.code << " " << c.name;
    EXPECT_EQ(layout.orientation(), c.orientation) << c.code;
  }
  EXPECT_EQ(QPageSize(QPageSize::A4).windowsId(), 9);
}

TEST(MarginLimits, FromThePrintableArea) {
  // 600 dpi: 4 hundredths of a mm per dot (2540 / 600, truncated).
  DeviceGeometry d;
  d.dpi_x = d.dpi_y = 600;
  d.physical_width = 4960;
  d.physical_height = 7016;
  d.offset_x = 100;
  d.offset_y = 120;
  d.printable_width = 4760;
  d.printable_height = 6736;
  PrintFormat f = DefaultPrintFormat(0);
  SetMarginLimitsFrom(f, d);
  EXPECT_EQ(f.LeftMgnMm.lower, (4 * 100 + 99) / 100);
  EXPECT_EQ(f.RightMgnMm.lower, (4 * 100 + 99) / 100);
  EXPECT_EQ(f.TopMgnMm.lower, (4 * 120 + 99) / 100);
  EXPECT_EQ(f.BottomMgnMm.lower, (4 * 160 + 99) / 100);
  EXPECT_EQ(f.LeftMgnMm.upper, (4 * 4960 - 1000) / 200);
  EXPECT_EQ(f.RightMgnMm.upper, (4 * 4960 - 1000) / 200);
  EXPECT_EQ(f.TopMgnMm.upper, (4 * 7016 - 1000) / 200);
  EXPECT_EQ(f.LeftMgnMm.value, 20);  // values stay; ClampFormat moves them
  f.LeftMgnMm.value = 2;
  EXPECT_EQ(ClampFormat(f), kClampLeft);
  EXPECT_EQ(f.LeftMgnMm.value, 4);
}

TEST(Geometry, ImageIsAllPrintableAndPdfPrinterHasItsPaper) {
  QImage image(300, 400, QImage::Format_RGB32);
  image.setDotsPerMeterX(3937);  // 100 dpi
  image.setDotsPerMeterY(3937);
  const DeviceGeometry g = GeometryOf(image);
  EXPECT_EQ(g.physical_width, 300);
  EXPECT_EQ(g.printable_height, 400);
  EXPECT_EQ(g.offset_x, 0);
  EXPECT_EQ(g.dpi_x, 100);

  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setResolution(600);
  PrintFormat f = DefaultPrintFormat(0);
  f.PaperDir = 1;
  ApplyFormatToPrinter(printer, f);
  const DeviceGeometry p = GeometryOf(printer);
  EXPECT_EQ(p.dpi_y, 600);
  EXPECT_NEAR(p.physical_width, 297 * 600 / 25.4, 5);  // landscape A4
  EXPECT_NEAR(p.physical_height, 210 * 600 / 25.4, 5);
  EXPECT_EQ(p.physical_width - p.offset_x - p.printable_width, p.offset_x);
}

TEST(Geometry, RealPrinterWhenOneIsInstalled) {
  SetPrinterList({}, "");
  // Read the real list again.
  std::vector<PrinterInfo> real;
  for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) real.push_back({info.printerName().toStdString(), "", ""});
  if (real.empty()) GTEST_SKIP() << "no printer queue on this machine";
  SetPrinterList(real, QPrinterInfo::defaultPrinterName().toStdString());
  PrintFormat f = DefaultPrintFormat(0);
  DeviceGeometry g;
  ASSERT_TRUE(PrinterGeometry(f, g));
  EXPECT_GT(g.dpi_x, 0);
  EXPECT_GE(g.physical_width, g.printable_width);
  EXPECT_TRUE(SetMarginLimits(f));
  EXPECT_GT(f.LeftMgnMm.upper, f.LeftMgnMm.lower);
  EXPECT_FALSE(PaperList(0).empty());

  // Papers known only by name are told apart too.
  f.PaperSize = 0;
  f.PaperName = "A5";
  DeviceGeometry a5;
  ASSERT_TRUE(PrinterGeometry(f, a5));
  f.PaperName = "A3";
  DeviceGeometry a3;
  ASSERT_TRUE(PrinterGeometry(f, a3));
  EXPECT_GT(a3.physical_width, a5.physical_width * 3 / 2);
}

}  // namespace
}  // namespace txp
