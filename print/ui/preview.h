// TxpWinPreview: shows one page exactly as it prints, scaled to the zoom, with the
// do-not-print cross, the margin frame, scrolling and the right-click line marker.
#pragma once

#include <QAbstractScrollArea>

#include "print/layout/render.h"

namespace txp {

struct TxpSession;
class TxpWin;

// Scale factor c in 1/5000 for printer metrics shown in a client area.
int PreviewScale(const PageMetrics& printer, int client_width, int client_height, int zoom, bool auto_sizing);
// The printer metrics scaled by c / 5000, shifted so that the origin is the paper's corner.
PageMetrics ScalePreviewMetrics(const PageMetrics& printer, int c);

class TxpWinPreview : public QAbstractScrollArea {
  Q_OBJECT
 public:
  TxpWinPreview(TxpWin* window, TxpSession& session);
  // Computes fresh metrics for the current page and repaints it.
  void DrawPage();
  // Without a page: gray.
  void Clear();
  void ResetScroll();
  void ScrollBy(int dx, int dy);
  QSize PageSize() const { return page_size_; }
  const PageMetrics& metrics() const { return metrics_; }
  // The line marker's y in the viewport (or -1) that a right click at y would take.
  int MarkerLineTop(int y) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void UpdateScrollBars();
  TxpWin* window_;
  TxpSession& session_;
  bool has_page_ = false;
  PageMetrics metrics_;
  PrintFormat page_format_;
  QSize page_size_;
  LinePositions lines_{};
  int marker_y_ = -1;
};

}  // namespace txp
