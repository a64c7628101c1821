#include "print/printing/print_job.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>
#include <algorithm>
#include <cstdlib>

#include "print/printing/printers.h"
#include "print/printing/qt_canvas.h"

namespace txp {

PrintRequest PrintRequestFromDialog(PrintRangeChoice choice, const std::string& typed_first,
                                    const std::string& typed_last, int current_index,
                                    int page_count, bool overlay) {
  PrintRequest r;
  r.overlay = overlay;
  switch (choice) {
    case PrintRangeChoice::AllPages:
      r.first = 1;
      r.last = page_count;
      break;
    case PrintRangeChoice::ThisPage:
      r.first = r.last = current_index + 1;
      break;
    case PrintRangeChoice::TypedRange:
      r.first = static_cast<int>(std::strtol(typed_first.c_str(), nullptr, 10));
      r.last = static_cast<int>(std::strtol(typed_last.c_str(), nullptr, 10));
      break;
  }
  auto keep = [page_count](int n) {
    if (n <= 0) n = 1;
    if (n > page_count) n = page_count;
    return n;
  };
  r.first = keep(r.first);
  r.last = keep(r.last);
  if (r.last < r.first) std::swap(r.first, r.last);
  return r;
}

bool CheckPagesToPrint(const Document& doc, int first, int last) {
  const int count = static_cast<int>(doc.pages.size());
  for (int n = std::max(first, 1); n <= last && n <= count; ++n)
    if (!(doc.pages[static_cast<size_t>(n - 1)].flags & kPageNoPrint)) return true;
  return false;
}

namespace {

// The state of the sheet across PrintPage calls.
struct SheetState {
  bool document_started = false;  // QPainter::begin done (StartDoc and the first StartPage)
  bool sheet_open = false;        // a page has been started and not yet ended
};

// Draws one page; 0 = skipped (marked), 1 = printed, -1 = starting the page failed.
int PrintPage(QPrinter& printer, QPainter& painter, SheetState& sheet, const Document& doc,
              const PrintFormat& current, int index, bool overlay) {
  const PageRecord& page = doc.pages[static_cast<size_t>(index)];
  if (page.flags & kPageNoPrint) return 0;
  // Each page has its own paper direction (the page format's layout).
  const PrintFormat page_format = PageFormat(current, page);
  if (!(overlay && sheet.sheet_open)) {
    printer.setPageLayout(PageLayoutFor(page_format));
    if (!sheet.document_started) {
      if (!painter.begin(&printer)) return -1;
      sheet.document_started = true;
    } else if (!printer.newPage()) {
      return -1;
    }
    sheet.sheet_open = true;
  }
  painter.save();
  RenderPageOn(painter, GeometryOf(printer), doc, current, index);
  painter.restore();
  return 1;
}

}  // namespace

PrintOutcome PrintThread(const Document& doc, const PrintFormat& current, const PrintRequest& request,
                         const PrintTarget& target, const std::string& document_name,
                         const PrintJobHooks& hooks) {
  QPrinter printer(QPrinter::HighResolution);
  if (!target.pdf_file.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(target.pdf_file));
  } else {
    const QString name = QString::fromStdString(target.printer_name);
    if (name.isEmpty() || QPrinterInfo::printerInfo(name).isNull()) return PrintOutcome::NoDevice;
    printer.setPrinterName(name);
    if (!printer.isValid()) return PrintOutcome::NoDevice;
  }
  printer.setDocName(QString::fromStdString(document_name));
  printer.setFullPage(false);

  auto aborted = [&hooks] { return hooks.user_abort && *hooks.user_abort; };
  if (hooks.status) hooks.status(kPrintStatusInit);
  if (hooks.status) hooks.status(kPrintStatusPages);

  QPainter painter;
  SheetState sheet;
  bool failed = false;
  const int count = static_cast<int>(doc.pages.size());
  for (int index = request.first - 1; index <= request.last - 1 && index < count; ++index) {
    if (index < 0) continue;
    if (hooks.pump) hooks.pump();
    if (aborted()) break;
    if (hooks.progress) hooks.progress(index);
    if (PrintPage(printer, painter, sheet, doc, current, index, request.overlay) < 0) {
      failed = true;
      break;
    }
  }
  if (aborted() || failed) {
    if (painter.isActive()) {
      printer.abort();
      painter.end();
    }
    return aborted() ? PrintOutcome::UserAborted : PrintOutcome::Failed;
  }
  // A job without a printable page sends nothing rather than a blank sheet.
  if (painter.isActive() && !painter.end()) return PrintOutcome::Failed;
  return PrintOutcome::Printed;
}

}  // namespace txp
