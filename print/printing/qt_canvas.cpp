// Drawing pages with QPainter: CP932 cells to Unicode glyphs in a Japanese font.
#include "print/printing/qt_canvas.h"

#include <iconv.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <array>
#include <map>
#include <memory>
#include <mutex>

namespace txp {

namespace {

// Unicode of every CP932 code: single bytes at [b], double bytes at [lead * 256 + trail];
// 0 where CP932 has no character. Built once with iconv.
class Cp932Table {
 public:
  Cp932Table() : table_(std::make_unique<std::array<char16_t, 65536>>()) {
    std::array<char16_t, 65536>& t = *table_;
    t.fill(0);
    for (int b = 0x20; b < 0x7F; ++b) t[b] = static_cast<char16_t>(b);
    for (int b = 0xA1; b <= 0xDF; ++b) t[b] = static_cast<char16_t>(0xFF61 + (b - 0xA1));
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (lead > 0x9F && lead < 0xE0) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char out[8];
        char* in_p = in;
        char* out_p = out;
        size_t in_left = 2, out_left = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &in_p, &in_left, &out_p, &out_left) != static_cast<size_t>(-1) && out_p - out == 2)
          t[lead * 256 + trail] = static_cast<char16_t>(static_cast<uint8_t>(out[0]) | (static_cast<uint8_t>(out[1]) << 8));
      }
    }
    iconv_close(cd);
  }
  char16_t operator[](unsigned code) const { return (*table_)[code & 0xFFFF]; }

 private:
  std::unique_ptr<std::array<char16_t, 65536>> table_;
};

const Cp932Table& Table() {
  static const Cp932Table table;
  return table;
}

bool Contains(const QString& s, const char* part) { return s.contains(QString::fromUtf8(part), Qt::CaseInsensitive); }

QString MapFace(const std::string& face) {
  const QString name = QString::fromStdString(face);
  const bool proportional = Contains(name, "Ｐ") || Contains(name, "ms p") || Contains(name, "pgothic") ||
                            Contains(name, "pmincho");
  if (Contains(name, "ゴシック") || Contains(name, "gothic") || Contains(name, "丸"))
    return proportional ? "IPAPGothic" : "IPAGothic";
  if (Contains(name, "明朝") || Contains(name, "mincho"))
    return proportional ? "IPAPMincho" : "IPAMincho";
  // Any other installed face that has Japanese glyphs stays; everything else prints in Mincho.
  if (!name.isEmpty() && QFontDatabase::families(QFontDatabase::Japanese).contains(name)) return name;
  return "IPAMincho";
}

}  // namespace

QString JapaneseFamilyFor(const std::string& face) {
  static std::mutex mutex;
  static std::map<std::string, QString> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto found = cache.find(face);
  if (found == cache.end()) found = cache.emplace(face, MapFace(face)).first;
  return found->second;
}

QString Cp932ToQString(const uint8_t* bytes, int count) {
  const Cp932Table& table = Table();
  QString out;
  out.reserve(count);
  for (int i = 0; i < count; ++i) {
    const uint8_t b = bytes[i];
    if (IsLeadByte(b) || (b >= 0xF0 && b <= 0xFC)) {
      if (i + 1 < count) {
        const char16_t c = table[b * 256u + bytes[i + 1]];
        out.append(QChar(c ? c : u'・'));
        ++i;
        continue;
      }
    }
    const char16_t c = table[b];
    if (c) out.append(QChar(c));
  }
  return out;
}

QtCanvas::QtCanvas(QPainter& painter, const DrawTools& tools) : painter_(painter), base_(painter.transform()) {
  for (int i = 0; i < kFontCount; ++i) {
    const FontSpec& wanted = tools.fonts[i];
    Face& face = faces_[i];
    face.font = QFont(JapaneseFamilyFor(wanted.face));
    face.font.setPixelSize(std::max(1, wanted.height));
    face.font.setWeight(wanted.weight >= 700 ? QFont::Bold : QFont::Normal);
    face.font.setItalic(wanted.italic);
    face.font.setHintingPreference(QFont::PreferNoHinting);
    // Japanese fixed-pitch faces are half as wide as high; stretch to the width asked for.
    face.x_scale = wanted.height > 0 ? 2.0 * wanted.width / wanted.height : 1.0;
    face.ascent = QFontMetrics(face.font, painter.device()).ascent();
    face.raw = QRawFont::fromFont(face.font);
  }
  for (int i = 0; i < 3; ++i) {
    pens_[i] = QPen(Qt::black, std::max(1, tools.pens[i]), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  }
  painter_.setFont(faces_[0].font);
}

QtCanvas::~QtCanvas() {
  FlushRun();
  painter_.setTransform(base_);
}

void QtCanvas::SelectFont(SizeCode code) {
  const int index = FontIndexOf(code);
  if (index < 0 || index == current_) return;
  FlushRun();
  current_ = index;
  painter_.setFont(faces_[index].font);
}

void QtCanvas::DrawText(int32_t x, int32_t y, const uint8_t* bytes, int count) {
  if (count == 1 && bytes[0] == ' ') return;
  const QString text = Cp932ToQString(bytes, count);
  if (text.isEmpty()) return;
  const Face& face = faces_[current_];
  if (text.size() == 1 && face.raw.isValid()) {
    quint32 glyph = 0;
    int glyphs = 1;
    if (face.raw.glyphIndexesForChars(text.constData(), 1, &glyph, &glyphs) && glyphs == 1 && glyph != 0) {
      run_glyphs_.append(glyph);
      run_positions_.append(QPointF(Stretched(face) ? x / face.x_scale : x, y + face.ascent));
      return;
    }
  }
  // A character the face lacks goes through the painter's font fallback, in order.
  FlushRun();
  painter_.setPen(Qt::black);
  if (!Stretched(face)) {
    painter_.drawText(QPointF(x, y + face.ascent), text);
    return;
  }
  QTransform t = base_;
  t.translate(x, y + face.ascent);
  t.scale(face.x_scale, 1.0);
  painter_.setTransform(t);
  painter_.drawText(QPointF(0, 0), text);
  painter_.setTransform(base_);
}

void QtCanvas::FlushRun() {
  if (run_glyphs_.isEmpty()) return;
  const Face& face = faces_[current_];
  QGlyphRun run;
  run.setRawFont(face.raw);
  run.setGlyphIndexes(run_glyphs_);
  run.setPositions(run_positions_);
  painter_.setPen(Qt::black);
  if (Stretched(face)) {
    QTransform t = base_;
    t.scale(face.x_scale, 1.0);
    painter_.setTransform(t);
  }
  painter_.drawGlyphRun(QPointF(0, 0), run);
  if (Stretched(face)) painter_.setTransform(base_);
  run_glyphs_.clear();
  run_positions_.clear();
}

void QtCanvas::DrawLine(PenKind pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  painter_.setPen(pens_[static_cast<int>(pen)]);
  painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

int32_t QtCanvas::TextWidth(const std::string& text) {
  const Face& face = faces_[current_];
  const QString s = Cp932ToQString(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
  return static_cast<int32_t>(QFontMetrics(face.font, painter_.device()).horizontalAdvance(s) * face.x_scale);
}

void RenderPageOn(QPainter& painter, const DeviceGeometry& device, const Document& doc, const PrintFormat& current,
                  int page_index, LinePositions* lines) {
  if (page_index < 0 || page_index >= static_cast<int>(doc.pages.size())) return;
  const PageRecord& page = doc.pages[static_cast<size_t>(page_index)];
  const PrintFormat page_format = PageFormat(current, page);
  const PageMetrics metrics = ComputeMetrics(device, page_format);
  const DrawTools tools = CreateDrawTools(metrics);
  painter.setPen(Qt::black);
  painter.setBackgroundMode(Qt::TransparentMode);
  QtCanvas canvas(painter, tools);
  RenderPage(canvas, doc, page.start, page.end, metrics, page_format, tools, 0, 0, lines);
}

}  // namespace txp
