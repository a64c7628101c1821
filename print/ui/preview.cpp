#include "print/ui/preview.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstdint>

#include "print/printing/printers.h"
#include "print/printing/qt_canvas.h"
#include "print/ui/session.h"
#include "print/ui/txp_window.h"

namespace txp {

namespace {

QColor FromColorRef(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The geometry of the page's printer; a printer that cannot be asked gives the whole paper,
// so the page still shows.
DeviceGeometry PreviewDevice(const PrintFormat& page_format) {
  DeviceGeometry device;
  if (PrinterGeometry(page_format, device) && device.physical_height > 0) return device;
  return NominalGeometry(page_format);
}

}  // namespace

int PreviewScale(const PageMetrics& printer, int client_width, int client_height, int zoom, bool auto_sizing) {
  const int64_t pw = std::max(1, printer.device.physical_width);
  const int64_t ph = std::max(1, printer.device.physical_height);
  if (auto_sizing) {
    const int64_t fit = std::min(int64_t{client_height} * 5000 / ph, int64_t{client_width} * 5000 / pw);
    return static_cast<int>(fit * zoom / 100);
  }
  return static_cast<int>(int64_t{zoom} * 60000 / std::max(pw, ph));
}

PageMetrics ScalePreviewMetrics(const PageMetrics& printer, int c) {
  auto s = [c](int32_t v) { return static_cast<int32_t>(int64_t{v} * c / 5000); };
  auto s1 = [&s](int32_t v) { return std::max<int32_t>(1, s(v)); };
  PageMetrics m = printer;
  DeviceGeometry& d = m.device;
  d.printable_width = s(d.printable_width);
  d.printable_height = s(d.printable_height);
  d.physical_width = s(d.physical_width);
  d.physical_height = s(d.physical_height);
  d.offset_x = s(d.offset_x);
  d.offset_y = s(d.offset_y);
  m.right_gap = s(m.right_gap);
  m.bottom_gap = s(m.bottom_gap);
  m.left = d.offset_x * 100 + s(m.left);
  m.right = d.offset_x * 100 + s(m.right);
  m.top = d.offset_y * 100 + s(m.top);
  m.bottom = d.offset_y * 100 + s(m.bottom);
  m.column_pitch = s(m.column_pitch);
  m.line_pitch = s(m.line_pitch);
  m.thin_pen = s1(m.thin_pen);
  m.bold_pen = s1(m.bold_pen);
  m.underline_pen = s1(m.underline_pen);
  m.footer_top = d.offset_y + s(m.footer_top);
  m.base_font.height = s1(m.base_font.height);
  m.base_font.width = s1(m.base_font.width);
  return m;
}

TxpWinPreview::TxpWinPreview(TxpWin* window, TxpSession& session)
    : QAbstractScrollArea(window), window_(window), session_(session) {
  setObjectName("TxpWinPreview");
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  horizontalScrollBar()->setEnabled(false);
  verticalScrollBar()->setEnabled(false);
  viewport()->setAutoFillBackground(true);
  QPalette p = viewport()->palette();
  p.setColor(QPalette::Window, Qt::gray);
  viewport()->setPalette(p);
  setFocusPolicy(Qt::ClickFocus);
  // A click into a page area moves by half the client extent; the bar's page step stays the
  // client extent, which sizes the thumb.
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    connect(bar, &QAbstractSlider::actionTriggered, this, [bar](int action) {
      const int half = bar->pageStep() / 2;
      if (action == QAbstractSlider::SliderPageStepAdd) bar->setSliderPosition(bar->value() + half);
      if (action == QAbstractSlider::SliderPageStepSub) bar->setSliderPosition(bar->value() - half);
    });
  }
}

void TxpWinPreview::Clear() {
  has_page_ = false;
  lines_.count = 0;
  horizontalScrollBar()->setRange(0, 0);
  verticalScrollBar()->setRange(0, 0);
  horizontalScrollBar()->setEnabled(false);
  verticalScrollBar()->setEnabled(false);
  viewport()->update();
}

void TxpWinPreview::ResetScroll() {
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
}

void TxpWinPreview::DrawPage() {
  const Document& doc = session_.doc;
  if (!doc.loaded || doc.pages.empty()) {
    Clear();
    return;
  }
  const PageRecord& page = doc.pages[static_cast<size_t>(session_.page)];
  page_format_ = PageFormat(session_.working, page);
  const PageMetrics printer = ComputeMetrics(PreviewDevice(page_format_), page_format_);
  const QSize client = viewport()->size();
  const int c = PreviewScale(printer, client.width(), client.height(), session_.options.ZoomSize,
                             session_.options.AutoSizing == 1);
  metrics_ = ScalePreviewMetrics(printer, c);
  page_size_ = QSize(metrics_.device.physical_width, metrics_.device.physical_height);
  has_page_ = true;
  UpdateScrollBars();
  viewport()->update();
}

void TxpWinPreview::UpdateScrollBars() {
  const QSize client = viewport()->size();
  auto set = [](QScrollBar* bar, int extent, int client_extent) {
    bar->setRange(0, std::max(0, extent - client_extent));
    bar->setPageStep(std::max(1, client_extent));
    bar->setSingleStep(std::max(1, client_extent / 10));
    bar->setEnabled(extent > client_extent);
  };
  set(horizontalScrollBar(), page_size_.width(), client.width());
  set(verticalScrollBar(), page_size_.height(), client.height());
}

void TxpWinPreview::ScrollBy(int dx, int dy) {
  if (!has_page_) return;
  horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
  verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

void TxpWinPreview::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::gray);
  if (!has_page_ || !session_.doc.loaded || session_.doc.pages.empty()) return;
  const int sx = horizontalScrollBar()->value();
  const int sy = verticalScrollBar()->value();
  const QRect page_rect(-sx, -sy, page_size_.width(), page_size_.height());
  painter.setPen(Qt::black);
  painter.setBrush(FromColorRef(session_.options.BackColor));
  painter.drawRect(page_rect);
  painter.setBrush(Qt::NoBrush);

  const PageRecord& page = session_.doc.pages[static_cast<size_t>(session_.page)];
  const DrawTools tools = CreateDrawTools(metrics_);
  {
    QtCanvas canvas(painter, tools);
    RenderPage(canvas, session_.doc, page.start, page.end, metrics_, page_format_, tools, sx, sy, &lines_);
  }
  painter.setBrush(Qt::NoBrush);
  // Cross, marker and frame are drawn in XOR mode: on the page colour the cross shows red.
  const QColor xor_colour = FromColorRef(session_.options.BackColor ^ 0xFFu);
  if (session_.options.DrawMargin == 1) {
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1, Qt::DotLine));
    const int left = metrics_.left / 100 - sx - 1, right = metrics_.right / 100 - sx + 1;
    const int top = metrics_.top / 100 - sy - 1, bottom = metrics_.bottom / 100 - sy + 1;
    painter.drawLine(page_rect.left(), top, page_rect.right(), top);
    painter.drawLine(page_rect.left(), bottom, page_rect.right(), bottom);
    painter.drawLine(left, page_rect.top(), left, page_rect.bottom());
    painter.drawLine(right, page_rect.top(), right, page_rect.bottom());
    painter.restore();
  }
  if ((page.flags & kPageNoPrint) || marker_y_ >= 0) {
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(xor_colour, 1));
    if (page.flags & kPageNoPrint) {
      painter.drawLine(page_rect.topLeft(), page_rect.bottomRight());
      painter.drawLine(page_rect.bottomLeft(), page_rect.topRight());
    }
    if (marker_y_ >= 0) painter.drawLine(page_rect.left(), marker_y_, page_rect.right(), marker_y_);
    painter.restore();
  }
}

void TxpWinPreview::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (has_page_ && session_.options.AutoSizing == 1) {
    DrawPage();
  } else {
    UpdateScrollBars();
  }
}

void TxpWinPreview::scrollContentsBy(int, int) {
  if (has_page_) viewport()->update();
}

int TxpWinPreview::MarkerLineTop(int y) const {
  if (lines_.count < 2) return -1;
  const int sy = verticalScrollBar()->value();
  int chosen = 1;  // never the first line
  for (int i = 1; i < lines_.count; ++i)
    if (lines_.top[i] - sy <= y) chosen = i;
  return lines_.top[chosen] - sy;
}

void TxpWinPreview::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    window_->setFocus();
    return;
  }
  if (event->button() != Qt::RightButton) return;
  marker_y_ = has_page_ ? MarkerLineTop(event->position().toPoint().y()) : -1;
  viewport()->update();
  QMenu menu(this);
  QAction* print = menu.addAction("印刷...");
  print->setEnabled(session_.doc.loaded);
  QAction* format = menu.addAction("書式...");
  menu.addSeparator();
  QAction* quit = menu.addAction("終了");
  QAction* chosen = menu.exec(event->globalPosition().toPoint());
  marker_y_ = -1;
  viewport()->update();
  if (chosen == print) window_->Command(40002);
  if (chosen == format) window_->Command(40006);
  if (chosen == quit) window_->Command(40005);
}

void TxpWinPreview::keyPressEvent(QKeyEvent* event) { window_->HandleKey(event); }

}  // namespace txp
