// Page rendering: computes the page geometry for one device and draws one laid-out page
// onto an abstract canvas (text in one of seven sizes, lines with three pens). The Qt
// adapter (printing/qt_canvas.h) draws on any QPaintDevice; tests record the calls.
// Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "print/layout/page_layout.h"
#include "print/settings/print_format.h"

namespace txp {

// What a device tells about itself, in dots.
struct DeviceGeometry {
  int32_t dpi_x = 0, dpi_y = 0;                 // dots per inch
  int32_t printable_width = 0, printable_height = 0;
  int32_t physical_width = 0, physical_height = 0;
  int32_t offset_x = 0, offset_y = 0;           // printable area's corner on the paper
};

// A font as the page asks for it (LOGFONT terms), sizes in dots.
struct FontSpec {
  int32_t height = 0;
  int32_t width = 0;
  int32_t weight = 400;       // 700 bold
  bool italic = false;
  uint8_t charset = 128;
  uint8_t quality = 1;        // DRAFT_QUALITY
  uint8_t pitch = 2;
  std::string face;           // UTF-8
};

// Geometry of one page on one device; origin at the top-left of the printable area.
struct PageMetrics {
  DeviceGeometry device;
  int32_t right_gap = 0, bottom_gap = 0;            // dots
  int32_t left = 0, top = 0, right = 0, bottom = 0; // centi-dots, edges inside the margins
  int32_t column_pitch = 0, line_pitch = 0;         // centi-dots
  int32_t thin_pen = 1, bold_pen = 1, underline_pen = 1;  // dots
  int32_t footer_top = 0;                           // dots
  FontSpec base_font;
};

PageMetrics ComputeMetrics(const DeviceGeometry& device, const PrintFormat& format);

// The seven size codes that have a font, in creation order.
constexpr int kFontCount = 7;
constexpr SizeCode kFontSizeCodes[kFontCount] = {0x22, 0x24, 0x44, 0x42, 0x12, 0x11, 0x21};

enum class PenKind { Thin = 0, Bold = 1, Underline = 2 };

// Fonts for the seven sizes and the three pen widths, made for one page on one device.
struct DrawTools {
  FontSpec fonts[kFontCount];   // in kFontSizeCodes order
  int32_t pens[3] = {1, 1, 1};  // dots, by PenKind
};

DrawTools CreateDrawTools(const PageMetrics& metrics);
// Index into DrawTools::fonts for a size code; -1 for codes without a font (0x14, 0x41, ...).
int FontIndexOf(SizeCode code);

// Where the page is drawn. Coordinates in device dots; text is CP932 bytes of one cell
// (one or two bytes), drawn with its top-left corner at (x, y) in the selected font.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void SelectFont(SizeCode code) = 0;  // only codes that have a font
  virtual void DrawText(int32_t x, int32_t y, const uint8_t* bytes, int count) = 0;
  virtual void DrawLine(PenKind pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  // Width in dots of text in the selected font.
  virtual int32_t TextWidth(const std::string& text) = 0;
};

// Position and top (dots, before scrolling) of each line drawn, for the preview.
struct LinePositions {
  static constexpr int kCapacity = 300;
  size_t position[kCapacity];
  int32_t top[kCapacity];
  int count = 0;
};

// Draws one page: page_format is PageFormat(current, record); start/end from the record.
// lines may be null.
void RenderPage(Canvas& canvas, const Document& doc, size_t start, size_t end,
                const PageMetrics& metrics, const PrintFormat& page_format,
                const DrawTools& tools, int32_t scroll_x, int32_t scroll_y,
                LinePositions* lines = nullptr);

}  // namespace txp
