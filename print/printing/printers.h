// Printers and paper over CUPS through Qt Print Support: the printer list read once at
// start-up, the default printer, per-format page settings (paper by its DMPAPER code and
// direction, in place of a DEVMODE), paper lists, printer geometry and margin limits.
#pragma once

#include <QPageLayout>
#include <functional>
#include <string>
#include <vector>

#include "print/layout/render.h"
#include "print/settings/print_format.h"

class QPrinter;
class QPaintDevice;
class QWidget;

namespace txp {

struct PrinterInfo {
  std::string name;    // queue name (UTF-8)
  std::string port;    // device URI when known
  std::string driver;  // make and model when known
};

// Reads the printer list once (later calls return the same count); 0 = no printer.
int EnumPrinterList();
// The list read by EnumPrinterList.
const std::vector<PrinterInfo>& PrinterList();
// Replaces the list (tests, and start-up with a list from elsewhere).
void SetPrinterList(std::vector<PrinterInfo> printers, std::string default_name);
// Index of the default printer in the list, or -1.
int DefaultPrinterIndex();
// Exact (case-sensitive) match; else the default printer; else 0.
int PrinterIndexByName(const std::string& name);
// Name of the printer at index ("" when outside the list).
std::string PrinterName(int index);

// Start-up check: with no printer calls show_no_printer (dialog 119) and returns false.
bool EnsurePrinters(int printer_count, const std::function<void()>& show_no_printer);

// The page layout of a format (paper from PaperSize through QPageSize::windowsId(), else
// from PaperName, else A4; direction from PaperDir); takes the place of BuildDevMode.
QPageLayout PageLayoutFor(const PrintFormat& format);
// Points printer at the format's printer (or keeps its PDF output) with that layout.
void ApplyFormatToPrinter(QPrinter& printer, const PrintFormat& format);

struct PaperEntry {
  int16_t code;        // DMPAPER code (0 when the paper has none)
  std::string name;    // up to 64 bytes
};
// Papers the printer offers, in the driver's order; empty on error.
std::vector<PaperEntry> PaperList(int printer_index);

// Geometry of a paint device: a QPrinter gives paper and printable area; any other device
// (QImage, widget) is all printable, at its logical dpi.
DeviceGeometry GeometryOf(const QPaintDevice& device);
// Geometry of the format's printer with its paper and direction; false when the printer
// cannot be asked.
bool PrinterGeometry(const PrintFormat& format, DeviceGeometry& out);

// The format's paper at dpi with no unprintable border (when no printer can be asked).
DeviceGeometry NominalGeometry(const PrintFormat& format, int dpi = 600);

// Sets the four margin bounds from the printer's printable area; on failure calls
// show_failure (dialog 120) when given, keeps the bounds and returns false.
bool SetMarginLimits(PrintFormat& format, const std::function<void()>& show_failure = {});
// The same from a known geometry (the arithmetic alone).
void SetMarginLimitsFrom(PrintFormat& format, const DeviceGeometry& device);

// The printer's own settings dialog for the format (Qt's print dialog); on acceptance the
// chosen paper and direction go into the format. Returns whether it was accepted.
bool ShowPrinterProperties(PrintFormat& format, QWidget* parent);

}  // namespace txp
