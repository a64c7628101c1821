// Printing through a real CUPS queue: the cups-pdf queue "PDF" started by scripts/start-cups.
// Its PDFs come back through PostScript (no text layer, landscape pages turned onto portrait
// sheets), so they are judged by page count, ink and the orientation of the content.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "print/printing/printers.h"
#include "print/printing/qt_canvas.h"

namespace txp {
namespace {

// cups-pdf's output folder for this user: its "Out" setting with ${HOME} replaced.
QString CupsPdfFolder() {
  QString out = "${HOME}/PDF";
  QFile conf("/etc/cups/cups-pdf.conf");
  if (conf.open(QIODevice::ReadOnly)) {
    for (const QString& line : QString::fromUtf8(conf.readAll()).split('\n')) {
      const QString t = line.trimmed();
      if (t.startsWith("Out ") || t.startsWith("Out\t")) out = t.mid(4).trimmed();
    }
  }
  const passwd* pw = getpwuid(getuid());
  return out.replace("${HOME}", pw ? QString::fromLocal8Bit(pw->pw_dir) : QDir::homePath());
}

QString RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return QString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Bounding box of the ink on a rasterised page.
QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 192) box |= QRect(x, y, 1, 1);
  return box;
}

TEST(CupsQueue, PagesAndDirectionsComeOut) {
  const QPrinterInfo queue = QPrinterInfo::printerInfo("PDF");
  if (queue.isNull()) GTEST_SKIP() << "no CUPS queue named PDF (scripts/start-cups makes one)";
  SetPrinterList({{"PDF", "", ""}}, "PDF");

  PrintFormat format = DefaultPrintFormat(0);
  // Page 2 is landscape by its command line; its text is a long line, so the ink is wide.
  std::string wide(70, 'W');
  std::string rule;
  for (int i = 0; i < 30; ++i) rule += "\x84\x9F";
  const std::string text = "Portrait page\n" + rule + "\n\f-DY\n" + wide + "\n" + wide + "\n\f-DT\nPortrait\n";
  Document doc;
  LoadTextFromBytes(doc, text, format);
  BuildPages(doc, format);
  ASSERT_EQ(doc.pages.size(), 3u);

  const QString title = QString("txp-test-%1-%2").arg(getpid()).arg(QDateTime::currentMSecsSinceEpoch());
  const QString folder = CupsPdfFolder();
  {
    QPrinter printer(queue, QPrinter::HighResolution);
    printer.setDocName(title);
    ApplyFormatToPrinter(printer, PageFormat(format, doc.pages[0]));
    QPainter painter;
    for (size_t i = 0; i < doc.pages.size(); ++i) {
      const PrintFormat page_format = PageFormat(format, doc.pages[i]);
      if (i == 0) {
        ASSERT_TRUE(painter.begin(&printer));
      } else {
        printer.setPageOrientation(PageLayoutFor(page_format).orientation());
        printer.newPage();
      }
      RenderPageOn(painter, GeometryOf(printer), doc, format, static_cast<int>(i));
    }
    painter.end();
  }

  // cups-pdf names the file after the job title.
  QString pdf;
  for (int tries = 0; tries < 240 && pdf.isEmpty(); ++tries) {
    const QFileInfoList files = QDir(folder).entryInfoList({"*" + title + "*.pdf"}, QDir::Files);
    if (!files.isEmpty() && files.first().size() > 0) {
      QThread::msleep(500);  // let cups-pdf finish writing
      pdf = files.first().absoluteFilePath();
    } else {
      QThread::msleep(250);
    }
  }
  ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue in " << folder.toStdString();
  const QString info = RunTool("pdfinfo", {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+3\\b"))) << info.toStdString();

  QTemporaryDir dir;
  std::vector<QRect> boxes;
  for (int page = 1; page <= 3; ++page) {
    const QString base = dir.filePath(QString("p%1").arg(page));
    RunTool("pdftoppm", {"-gray", "-r", "60", "-f", QString::number(page), "-l", QString::number(page),
                         "-singlefile", pdf, base});
    const QImage image(base + ".pgm");
    ASSERT_FALSE(image.isNull()) << page;
    boxes.push_back(InkBox(image));
    EXPECT_FALSE(boxes.back().isEmpty()) << "page " << page << " has no ink";
  }
  // Page 1: ink in the top-left (text from the top margin, rule below it).
  const QImage first(dir.filePath("p1.pgm"));
  EXPECT_LT(boxes[0].top(), first.height() / 4);
  EXPECT_LT(boxes[0].left(), first.width() / 4);
  // Page 2: two lines of 70 columns across the long side; whether the queue turned the sheet
  // or not, the ink runs along the page's long side, unlike a portrait page of the same text.
  const QImage second(dir.filePath("p2.pgm"));
  const bool sheet_portrait = second.height() > second.width();
  const QRect& b = boxes[1];
  if (sheet_portrait) {
    EXPECT_GT(b.height(), b.width()) << "landscape content should run along the sheet's long side";
  } else {
    EXPECT_GT(b.width(), b.height());
  }
  // Page 3: portrait again, text runs across.
  EXPECT_GT(boxes[2].width(), boxes[2].height());
  QFile::remove(pdf);
}

}  // namespace
}  // namespace txp
