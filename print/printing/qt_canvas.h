// The Qt side of page rendering: a Canvas that draws on a QPainter (preview widget, QImage,
// QPrinter, PDF), with Japanese glyphs in a Japanese font whatever face the format names.
#pragma once

#include <QFont>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QRawFont>
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
// Glyphs of one font are gathered, each at its own grid position, and drawn together as one
// glyph run when the font changes or the canvas ends: one call per run instead of one text
// layout per cell, with the same positions.
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
    QRawFont raw;           // the same font for glyph runs
    double x_scale = 1.0;   // width asked for / the font's natural width
    int ascent = 0;
  };
  bool Stretched(const Face& face) const { return face.x_scale < 0.99 || face.x_scale > 1.01; }
  // Draws the gathered glyphs, if any.
  void FlushRun();

  QPainter& painter_;
  QTransform base_;  // the painter's transform when the canvas was made
  Face faces_[kFontCount];
  QPen pens_[3];
  int current_ = 0;
  QList<quint32> run_glyphs_;     // glyphs of faces_[current_] not drawn yet
  QList<QPointF> run_positions_;  // their baselines, in the face's (stretched) coordinates
};

// Renders one page of doc onto painter at device geometry (scroll 0, 0): computes metrics
// and tools from the page format, draws in black. The print job and tests use it.
void RenderPageOn(QPainter& painter, const DeviceGeometry& device, const Document& doc,
                  const PrintFormat& current, int page_index,
                  LinePositions* lines = nullptr);

}  // namespace txp
