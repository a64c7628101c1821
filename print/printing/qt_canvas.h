// The Qt side of page rendering: a Canvas that draws on a QPainter (preview widget, QImage,
// QPrinter, PDF), with Japanese glyphs in a Japanese font whatever face the format names.
#pragma once

#include <QFont>
#include <QPen>
#include <QString>
#include <QTransform>
#include <string>

#include "print/layout/render.h"

class QPainter;

namespace txp {

// The installed family to use for a face name: the Windows Japanese faces ("ＭＳ 明朝",
// "ＭＳ Ｐゴシック", ...) and any face without Japanese glyphs map to IPA Mincho or
// IPA Gothic.
QString JapaneseFamilyFor(const std::string& face);
// CP932 bytes to Unicode (one cell or a whole text).
QString Cp932ToQString(const uint8_t* bytes, int count);

// Draws with the fonts and pens of one DrawTools; made per page, like the tools.
class QtCanvas : public Canvas {
 public:
  QtCanvas(QPainter& painter, const DrawTools& tools);
  ~QtCanvas() override;
  void SelectFont(SizeCode code) override;
  void DrawText(int32_t x, int32_t y, const uint8_t* bytes, int count) override;
  void DrawLine(PenKind pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  int32_t TextWidth(const std::string& text) override;

 private:
  struct Face {
    QFont font;
    double x_scale = 1.0;   // width asked for / the font's natural width
    int ascent = 0;
  };
  QPainter& painter_;
  QTransform base_;  // the painter's transform when the canvas was made
  Face faces_[kFontCount];
  QPen pens_[3];
  int current_ = 0;
};

// Renders one page of doc onto painter at device geometry (scroll 0, 0): computes metrics
// and tools from the page format, draws in black. The print job and tests use it.
void RenderPageOn(QPainter& painter, const DeviceGeometry& device, const Document& doc,
                  const PrintFormat& current, int page_index,
                  LinePositions* lines = nullptr);

}  // namespace txp
