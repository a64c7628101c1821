// Page geometry for one device and the drawing of one page onto a canvas.
#include "print/layout/render.h"

#include <algorithm>
#include <cstdio>

namespace txp {

PageMetrics ComputeMetrics(const DeviceGeometry& d, const PrintFormat& f) {
  PageMetrics m;
  m.device = d;
  m.right_gap = d.physical_width - d.offset_x - d.printable_width;
  m.bottom_gap = d.physical_height - d.printable_height - d.offset_y;

  FontSpec& font = m.base_font;
  font.height = f.FontPoint * d.dpi_y / 72;
  font.width = font.height / 2;
  font.weight = (f.FontStyle & 2) ? 700 : 400;
  font.italic = (f.FontStyle & 1) != 0;
  font.charset = f.FontCharSet;
  font.quality = 1;
  font.pitch = f.FontPitch;
  font.face = f.FontName;

  const int32_t kx = d.dpi_x * 10000 / 2540;  // centi-dots per mm
  const int32_t ky = d.dpi_y * 10000 / 2540;
  m.left = f.LeftMgnMm.value * kx - d.offset_x * 100;
  m.top = f.TopMgnMm.value * ky - d.offset_y * 100;
  m.right = (m.right_gap + d.printable_width) * 100 - f.RightMgnMm.value * kx;
  m.bottom = (m.bottom_gap + d.printable_height) * 100 - f.BottomMgnMm.value * ky;

  int32_t body_end = m.bottom;
  if (f.PagePrn == 1) {
    m.footer_top = m.bottom / 100 - font.height;
    body_end = m.bottom - font.height * 100 - f.PageMargin.value * ky;
  }
  m.column_pitch = (m.right - m.left) / std::max(1, f.Width.value);
  m.line_pitch = (body_end - m.top) / std::max(1, f.Height.value);

  auto pen = [&](int32_t tenths_mm) { return std::max(1, tenths_mm * (d.dpi_y / 72) * 28 / 100); };
  m.thin_pen = pen(f.KeisenThin.value);
  m.bold_pen = pen(f.KeisenBold.value);
  m.underline_pen = pen(f.UnderLine.value);
  return m;
}

int FontIndexOf(SizeCode code) {
  for (int i = 0; i < kFontCount; ++i)
    if (kFontSizeCodes[i] == code) return i;
  return -1;
}

DrawTools CreateDrawTools(const PageMetrics& m) {
  DrawTools t;
  const int32_t h = m.base_font.height;
  const int32_t w = m.base_font.width;
  auto make = [&](int index, int32_t width, int32_t height) {
    t.fonts[index] = m.base_font;
    t.fonts[index].width = width;
    t.fonts[index].height = height;
  };
  const int32_t narrow = std::max(1, 2 * w / 2);
  const int32_t low = std::max(1, 2 * h / 4);
  const int32_t narrowest = std::max(1, narrow / 2);
  make(0, w, h);                // 0x22
  make(1, 2 * w, h);            // 0x24
  make(2, 2 * w, 2 * h);        // 0x44
  make(3, narrow, 2 * h);       // 0x42
  make(4, narrow, low);         // 0x12
  make(5, narrowest, low);      // 0x11
  make(6, narrowest, h);        // 0x21
  t.pens[static_cast<int>(PenKind::Thin)] = m.thin_pen;
  t.pens[static_cast<int>(PenKind::Bold)] = m.bold_pen;
  t.pens[static_cast<int>(PenKind::Underline)] = m.underline_pen;
  return t;
}

namespace {

// Draws the box-drawing entry k whose cell starts at x, on the line whose top is y
// (both centi-dots).
void DrawKeisen(Canvas& canvas, const KeisenEntry& k, int32_t x, int32_t y, const PageMetrics& m,
                int32_t sx, int32_t sy) {
  const int32_t left = x / 100 - sx;
  const int32_t middle = left + m.base_font.width * k.width / 2;
  const int32_t right = (x + m.column_pitch * k.width) / 100 - sx;
  const int32_t upper = y / 100 - sy;
  const int32_t centre = upper + m.base_font.height / 2;
  const int32_t lower = (y + m.line_pitch) / 100 - sy;
  for (uint8_t kind = 1; kind <= 2; ++kind) {
    const PenKind pen = kind == 1 ? PenKind::Thin : PenKind::Bold;
    if (k.left == kind) canvas.DrawLine(pen, left, centre, middle, centre);
    if (k.right == kind) canvas.DrawLine(pen, middle, centre, right, centre);
    if (k.up == kind) canvas.DrawLine(pen, middle, upper, middle, centre);
    if (k.down == kind) canvas.DrawLine(pen, middle, centre, middle, lower);
  }
}

// Vertical position of a glyph by the high nibble of its size.
int32_t GlyphTop(SizeCode size, int32_t line_top, int32_t font_height) {
  switch (size >> 4) {
    case 4: return line_top - font_height;
    case 1: return line_top + font_height / 2;
    default: return line_top;
  }
}

struct PendingUnderline {
  bool active = false;
  int32_t start = 0, end = 0;
};

void FlushUnderline(Canvas& canvas, PendingUnderline& u, int32_t line_top, const PageMetrics& m) {
  if (!u.active) return;
  const int32_t y = line_top + m.base_font.height + m.underline_pen / 2;
  canvas.DrawLine(PenKind::Underline, u.start, y, u.end, y);
  u.active = false;
}

}  // namespace

void RenderPage(Canvas& canvas, const Document& doc, size_t start, size_t end, const PageMetrics& m,
                const PrintFormat& page_format, const DrawTools& /*tools*/, int32_t sx, int32_t sy,
                LinePositions* lines) {
  canvas.SelectFont(kSizeNormal);
  SizeCode selected = kSizeNormal;
  if (lines) lines->count = 0;
  if (!doc.loaded || doc.text.empty()) return;

  const int32_t fh = m.base_font.height;
  const int32_t fw = m.base_font.width;
  PrintFormat work = page_format;
  SizeCode size = static_cast<SizeCode>(page_format.InitSize);
  CellAttr attr = static_cast<CellAttr>(page_format.InitAttr);
  int32_t flags = 0, line_counter = 0;
  static thread_local LineCells cells;

  int32_t y = m.top;
  size_t pos = start;
  for (int n = 0; n < page_format.Height.value && pos != end && pos != kNoPosition; ++n) {
    if (lines && lines->count < LinePositions::kCapacity) {
      lines->position[lines->count] = pos;
      lines->top[lines->count] = y / 100;
      ++lines->count;
    }
    bool page_break = false;
    pos = LayoutLine(doc, pos, work, size, attr, LayoutMode::Render, cells, page_break, flags, line_counter);
    int32_t x = m.left;
    const int32_t line_top = y / 100 - sy;
    PendingUnderline underline;

    for (int i = 0; i < cells.length;) {
      const uint8_t code = cells.code[i];
      const CellAttr a = cells.attr[i];
      const SizeCode s = cells.size[i];
      const int32_t X = x / 100 - sx;
      const bool double_byte = IsLeadByte(code) && i + 1 < cells.length;
      const KeisenEntry* keisen = double_byte ? FindKeisen(code * 256u + cells.code[i + 1]) : nullptr;
      const bool field = code >= kFieldPageNumber && code <= kFieldTotalPagesNarrow && i + 1 < cells.length;

      if (a == 0) {
        FlushUnderline(canvas, underline, line_top, m);
      } else if (a == kAttrUnderline) {
        if (!underline.active) {
          underline.active = true;
          underline.start = X;
        }
        underline.end = X + (double_byte ? (s & 0x0F) * fw : fw);
      }
      if (s != selected) {
        if (FontIndexOf(s) >= 0) canvas.SelectFont(s);
        selected = s;
      }

      if (keisen) {
        DrawKeisen(canvas, *keisen, x, y, m, sx, sy);
        x += m.column_pitch * keisen->width;
        i += 2;
      } else if (double_byte) {
        canvas.DrawText(X, GlyphTop(s, line_top, fh), &cells.code[i], 2);
        x += (s & 0x0F) * m.column_pitch;
        i += 2;
      } else if (code == kBackspace) {
        x -= m.column_pitch;
        ++i;
      } else if (field) {
        const int width = cells.code[i + 1];
        const bool wide = code == kFieldPageNumber || code == kFieldTotalPages;
        const bool total = code == kFieldTotalPages || code == kFieldTotalPagesNarrow;
        char text[kMaxFieldWidth + 16];
        std::snprintf(text, sizeof text, "%*d", width, total ? page_format.TotalPages : page_format.PageStart.value);
        for (int k = 0; k < width; ++k) {
          const uint8_t ch = static_cast<uint8_t>(text[k]);
          const int32_t cx = x / 100 - sx;
          if (wide) {
            const uint8_t glyph[2] = {static_cast<uint8_t>(ch >= '0' && ch <= '9' ? 0x82 : 0x81),
                                      static_cast<uint8_t>(ch >= '0' && ch <= '9' ? 0x4F + (ch - '0') : 0x40)};
            canvas.DrawText(cx, GlyphTop(s, line_top, fh), glyph, 2);
            x += (s & 0x0F) * m.column_pitch;
          } else {
            canvas.DrawText(cx, GlyphTop(s, line_top, fh), &ch, 1);
            x += ((s / 2) & 7) * m.column_pitch;
          }
        }
        i += 2;
      } else {
        canvas.DrawText(X, GlyphTop(s, line_top, fh), &cells.code[i], 1);
        x += ((s / 2) & 7) * m.column_pitch;
        ++i;
      }
    }
    FlushUnderline(canvas, underline, line_top, m);
    y += m.line_pitch;
    if (page_break || pos == kNoPosition) break;
  }

  if (page_format.PagePrn == 1) {
    char footer[32];
    std::snprintf(footer, sizeof footer, "-%d-", page_format.PageStart.value);
    canvas.SelectFont(kSizeNormal);
    const int32_t width = canvas.TextWidth(footer);
    const int32_t fx = (m.left + (m.right - m.left) / 2) / 100 - width / 2 - sx;
    canvas.DrawText(fx, m.footer_top - sy, reinterpret_cast<const uint8_t*>(footer),
                    static_cast<int>(std::char_traits<char>::length(footer)));
  }
}

}  // namespace txp
