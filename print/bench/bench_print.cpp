// Benchmark (not a test): lays out a 5,000-page document built from result-list pages, draws
// every page to a QImage at preview scale and to a PDF printer, and runs the same text through
// paps (to PostScript, then ps2pdf to PDF) for comparison. Prints pages per second; the last
// line is the ratio of txp's figure to paps's.
//   bench_print [pages]
#include <iconv.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "print/layout/page_layout.h"
#include "print/printing/printers.h"
#include "print/printing/qt_canvas.h"

namespace {

std::string ToCp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string out(utf8.size() * 2 + 16, '\0');
  char* in_p = const_cast<char*>(utf8.data());
  char* out_p = out.data();
  size_t in_left = utf8.size(), out_left = out.size();
  iconv(cd, &in_p, &in_left, &out_p, &out_left);
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

// One page shaped like the results program's division result list: a double-width title,
// ruled header, 44 team rows with names and times, a closing rule.
std::string ResultPage(int page) {
  static const char* kTeams[] = {"東京陸上競技クラブ", "横浜走友会", "大阪ランナーズ", "名古屋駅伝部",
                                 "札幌中央ＡＣ", "福岡アスリート", "仙台市役所", "広島走ろう会"};
  std::string s;
  s += "\x0E第" + std::to_string(page % 97 + 1) + "回　市民駅伝競走大会　総合成績\x0F\n";
  s += "部門：一般男子　　　　　　　　　　　　　　　　　　　　　　　　　　ページ " + std::to_string(page) + "\n";
  std::string rule;
  for (int i = 0; i < 39; ++i) rule += "─";
  s += rule + "\n";
  s += "順位　No.　チーム名　　　　　　　　　１区　　　２区　　　３区　　　合計\n";
  s += rule + "\n";
  for (int row = 0; row < 44; ++row) {
    char line[160];
    const int base = 1800 + row * 13 + page % 7;
    std::snprintf(line, sizeof line, "%4d  %4d  ", row + 1, (page * 44 + row) % 999 + 1);
    s += line;
    std::string name = kTeams[(page + row) % 8];
    s += name;
    for (size_t w = name.size() / 3 * 2; w < 22; ++w) s += ' ';
    std::snprintf(line, sizeof line, "%2d:%02d:%02d  %2d:%02d:%02d  %2d:%02d:%02d  %2d:%02d:%02d", base / 3600,
                  base / 60 % 60, base % 60, 0, base / 60 % 60, (base + 7) % 60, 0, (base + 3) / 60 % 60,
                  (base + 11) % 60, 1, (base * 3) / 60 % 60, (base * 3) % 60);
    s += line;
    s += "\n";
  }
  s += rule + "\n";
  return s;
}

double PagesPerSecond(int pages, qint64 ms) { return ms > 0 ? pages * 1000.0 / static_cast<double>(ms) : 0.0; }

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const int wanted = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;

  std::string utf8;
  for (int p = 1; p <= wanted; ++p) {
    if (p > 1) utf8 += "\f\n";
    utf8 += ResultPage(p);
  }
  const std::string text = ToCp932(utf8);
  QTemporaryDir dir;
  const QString text_path = dir.filePath("report.txt");
  if (FILE* f = std::fopen(text_path.toLocal8Bit().constData(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }

  txp::PrintFormat format = txp::DefaultPrintFormat(0);
  format.FontPoint = 9;
  format.Width.value = 80;
  format.Height.value = 50;
  format.LeftMgnMm.value = format.RightMgnMm.value = 15;
  format.PagePrn = 1;

  // Layout.
  QElapsedTimer timer;
  timer.start();
  txp::Document doc;
  if (txp::LoadText(doc, text_path.toStdString(), format) != txp::LoadResult::Ok) {
    std::fprintf(stderr, "bench_print: cannot read %s\n", text_path.toLocal8Bit().constData());
    return 1;
  }
  txp::BuildPages(doc, format);
  const qint64 layout_ms = timer.elapsed();
  const int pages = static_cast<int>(doc.pages.size());

  // Preview: A4 with its longer side 600 pixels (zoom 50).
  QImage image(424, 600, QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(600 / 11.69 / 0.0254));
  image.setDotsPerMeterY(qRound(600 / 11.69 / 0.0254));
  const txp::DeviceGeometry image_geometry = txp::GeometryOf(image);
  timer.restart();
  for (int i = 0; i < pages; ++i) {
    image.fill(Qt::white);
    QPainter painter(&image);
    txp::RenderPageOn(painter, image_geometry, doc, format, i);
  }
  const qint64 image_ms = timer.elapsed();

  // PDF printer at 600 dpi.
  const QString pdf_path = dir.filePath("txp.pdf");
  timer.restart();
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf_path);
    printer.setResolution(600);
    txp::ApplyFormatToPrinter(printer, format);
    QPainter painter(&printer);
    const txp::DeviceGeometry geometry = txp::GeometryOf(printer);
    for (int i = 0; i < pages; ++i) {
      if (i > 0) printer.newPage();
      txp::RenderPageOn(painter, geometry, doc, format, i);
    }
  }
  const qint64 pdf_ms = timer.elapsed();

  // paps: the same text (read as CP932) to PostScript, then to PDF.
  const QString paps_pdf = dir.filePath("paps.pdf");
  const QString command = QString("paps --encoding=CP932 --font='IPAGothic 9' '%1' | ps2pdf - '%2'").arg(text_path, paps_pdf);
  timer.restart();
  const int paps_status = QProcess::execute("/bin/sh", {"-c", command});
  const qint64 paps_ms = timer.elapsed();
  QProcess info;
  info.start("pdfinfo", {paps_pdf});
  info.waitForFinished(-1);
  int paps_pages = 0;
  for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n'))
    if (line.startsWith("Pages:")) paps_pages = line.mid(6).trimmed().toInt();

  const double txp_rate = PagesPerSecond(pages, layout_ms + pdf_ms);
  const double paps_rate = PagesPerSecond(paps_pages, paps_ms);
  std::printf("document: %d pages, %zu bytes\n", pages, text.size());
  std::printf("layout: %lld ms (%.0f pages/s)\n", static_cast<long long>(layout_ms), PagesPerSecond(pages, layout_ms));
  std::printf("preview images: %lld ms (%.1f pages/s)\n", static_cast<long long>(image_ms), PagesPerSecond(pages, image_ms));
  std::printf("pdf printer: %lld ms (%.1f pages/s)\n", static_cast<long long>(pdf_ms), PagesPerSecond(pages, pdf_ms));
  std::printf("txp text to pdf (layout + pdf): %.1f pages/s\n", txp_rate);
  if (paps_status != 0 || paps_pages == 0) {
    std::printf("paps: failed (status %d)\n", paps_status);
    std::printf("ratio txp/paps: n/a\n");
    return 1;
  }
  std::printf("paps text to pdf: %lld ms, %d pages (%.1f pages/s)\n", static_cast<long long>(paps_ms), paps_pages,
              paps_rate);
  std::printf("ratio txp/paps: %.2f\n", paps_rate > 0 ? txp_rate / paps_rate : 0.0);
  return 0;
}
