// Printers and paper through Qt Print Support (CUPS underneath).
#include "print/printing/printers.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <map>
#include <mutex>
#include <tuple>

namespace txp {

namespace {

struct PrinterState {
  bool read = false;
  std::vector<PrinterInfo> printers;
  std::string default_name;
};

PrinterState& State() {
  static PrinterState state;
  return state;
}

// Printer geometry is asked of CUPS; the answer for one printer, paper and direction does not
// change while the program runs. A paper without a code is known by its name.
using GeometryKey = std::tuple<std::string, int, std::string, int>;
std::map<GeometryKey, DeviceGeometry>& GeometryCache() {
  static std::map<GeometryKey, DeviceGeometry> cache;
  return cache;
}
std::mutex& GeometryMutex() {
  static std::mutex m;
  return m;
}

QPageSize PageSizeByName(const std::string& name) {
  const QString wanted = QString::fromStdString(name).trimmed();
  if (wanted.isEmpty()) return QPageSize();
  for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
    const auto size_id = static_cast<QPageSize::PageSizeId>(id);
    if (size_id == QPageSize::Custom) continue;
    if (QPageSize::name(size_id).compare(wanted, Qt::CaseInsensitive) == 0 ||
        QPageSize::key(size_id).compare(wanted, Qt::CaseInsensitive) == 0)
      return QPageSize(size_id);
  }
  return QPageSize();
}

}  // namespace

int EnumPrinterList() {
  PrinterState& s = State();
  if (!s.read) {
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
      s.printers.push_back({info.printerName().toStdString(), std::string(), info.makeAndModel().toStdString()});
    s.default_name = QPrinterInfo::defaultPrinterName().toStdString();
    s.read = true;
  }
  return static_cast<int>(s.printers.size());
}

const std::vector<PrinterInfo>& PrinterList() {
  EnumPrinterList();
  return State().printers;
}

void SetPrinterList(std::vector<PrinterInfo> printers, std::string default_name) {
  PrinterState& s = State();
  s.printers = std::move(printers);
  s.default_name = std::move(default_name);
  s.read = true;
}

int DefaultPrinterIndex() {
  const std::vector<PrinterInfo>& list = PrinterList();
  const std::string& name = State().default_name;
  for (size_t i = 0; i < list.size(); ++i)
    if (!name.empty() && list[i].name == name) return static_cast<int>(i);
  return -1;
}

int PrinterIndexByName(const std::string& name) {
  const std::vector<PrinterInfo>& list = PrinterList();
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].name == name) return static_cast<int>(i);
  const int fallback = DefaultPrinterIndex();
  return fallback >= 0 ? fallback : 0;
}

std::string PrinterName(int index) {
  const std::vector<PrinterInfo>& list = PrinterList();
  if (index < 0 || index >= static_cast<int>(list.size())) return std::string();
  return list[static_cast<size_t>(index)].name;
}

bool EnsurePrinters(int printer_count, const std::function<void()>& show_no_printer) {
  if (printer_count > 0) return true;
  if (show_no_printer) show_no_printer();
  return false;
}

QPageLayout PageLayoutFor(const PrintFormat& format) {
  QPageSize size;
  if (format.PaperSize > 0) {
    const QPageSize::PageSizeId id = QPageSize::id(static_cast<int>(format.PaperSize));
    if (id != QPageSize::Custom) size = QPageSize(id);
  }
  if (!size.isValid()) size = PageSizeByName(format.PaperName);
  if (!size.isValid()) size = QPageSize(QPageSize::A4);
  const auto orientation = format.PaperDir == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
  return QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void ApplyFormatToPrinter(QPrinter& printer, const PrintFormat& format) {
  if (printer.outputFormat() == QPrinter::NativeFormat) {
    const QString name = QString::fromStdString(PrinterName(format.printer));
    if (!name.isEmpty() && printer.printerName() != name) printer.setPrinterName(name);
  }
  const QPageLayout layout = PageLayoutFor(format);
  printer.setPageSize(layout.pageSize());
  printer.setPageOrientation(layout.orientation());
}

std::vector<PaperEntry> PaperList(int printer_index) {
  std::vector<PaperEntry> papers;
  const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(PrinterName(printer_index)));
  if (info.isNull()) return papers;
  for (const QPageSize& size : info.supportedPageSizes()) {
    std::string name = size.name().toStdString();
    if (name.size() > kPaperNameBytes - 1) name.resize(kPaperNameBytes - 1);
    papers.push_back({static_cast<int16_t>(size.windowsId()), name});
  }
  return papers;
}

DeviceGeometry GeometryOf(const QPaintDevice& device) {
  DeviceGeometry g;
  g.dpi_x = device.logicalDpiX();
  g.dpi_y = device.logicalDpiY();
  if (device.devType() == QInternal::Printer) {
    const auto& printer = static_cast<const QPrinter&>(device);
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    g.physical_width = qRound(paper.width());
    g.physical_height = qRound(paper.height());
    g.printable_width = qRound(page.width());
    g.printable_height = qRound(page.height());
    g.offset_x = qRound(page.left() - paper.left());
    g.offset_y = qRound(page.top() - paper.top());
  } else {
    g.physical_width = g.printable_width = device.width();
    g.physical_height = g.printable_height = device.height();
  }
  return g;
}

bool PrinterGeometry(const PrintFormat& format, DeviceGeometry& out) {
  const std::string name = PrinterName(format.printer);
  if (name.empty()) return false;
  const GeometryKey key{name, format.PaperSize, format.PaperName, format.PaperDir};
  {
    std::lock_guard<std::mutex> lock(GeometryMutex());
    const auto found = GeometryCache().find(key);
    if (found != GeometryCache().end()) {
      out = found->second;
      return true;
    }
  }
  const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
  if (info.isNull()) return false;
  QPrinter printer(info, QPrinter::HighResolution);
  if (!printer.isValid()) return false;
  ApplyFormatToPrinter(printer, format);
  const DeviceGeometry g = GeometryOf(printer);
  if (g.dpi_x <= 0 || g.dpi_y <= 0 || g.physical_width <= 0 || g.physical_height <= 0) return false;
  std::lock_guard<std::mutex> lock(GeometryMutex());
  GeometryCache()[key] = g;
  out = g;
  return true;
}

DeviceGeometry NominalGeometry(const PrintFormat& format, int dpi) {
  const QPageLayout layout = PageLayoutFor(format);
  const QRect full = layout.fullRectPixels(dpi);
  DeviceGeometry g;
  g.dpi_x = g.dpi_y = dpi;
  g.physical_width = g.printable_width = full.width();
  g.physical_height = g.printable_height = full.height();
  return g;
}

void SetMarginLimitsFrom(PrintFormat& f, const DeviceGeometry& d) {
  if (d.dpi_x <= 0 || d.dpi_y <= 0) return;
  const int32_t ux = 2540 / d.dpi_x;  // hundredths of a mm per dot, truncated
  const int32_t uy = 2540 / d.dpi_y;
  const int32_t right_gap = d.physical_width - d.offset_x - d.printable_width;
  const int32_t bottom_gap = d.physical_height - d.printable_height - d.offset_y;
  f.LeftMgnMm.lower = (ux * d.offset_x + 99) / 100;
  f.RightMgnMm.lower = (ux * right_gap + 99) / 100;
  f.TopMgnMm.lower = (uy * d.offset_y + 99) / 100;
  f.BottomMgnMm.lower = (uy * bottom_gap + 99) / 100;
  f.LeftMgnMm.upper = f.RightMgnMm.upper = (ux * d.physical_width - 1000) / 200;
  f.TopMgnMm.upper = f.BottomMgnMm.upper = (uy * d.physical_height - 1000) / 200;
}

bool SetMarginLimits(PrintFormat& format, const std::function<void()>& show_failure) {
  DeviceGeometry g;
  if (!PrinterGeometry(format, g)) {
    if (show_failure) show_failure();
    return false;
  }
  SetMarginLimitsFrom(format, g);
  return true;
}

bool ShowPrinterProperties(PrintFormat& format, QWidget* parent) {
  const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(PrinterName(format.printer)));
  QPrinter printer(info, QPrinter::HighResolution);
  ApplyFormatToPrinter(printer, format);
  QPrintDialog dialog(&printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QPageLayout layout = printer.pageLayout();
  format.printer = PrinterIndexByName(printer.printerName().toStdString());
  format.PaperSize = static_cast<int16_t>(layout.pageSize().windowsId());
  format.PaperName = layout.pageSize().name().toStdString();
  format.PaperDir = layout.orientation() == QPageLayout::Landscape ? 1 : 0;
  return true;
}

}  // namespace txp
