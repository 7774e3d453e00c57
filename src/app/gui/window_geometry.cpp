#include "app/gui/window_geometry.h"

#include <algorithm>

namespace {

// The largest inside that fits the available area with its frame.
QSize InsideLimit(const QRect& available, const QMargins& frame) {
  const QSize limit = available.marginsRemoved(frame).size();
  return limit.expandedTo(QSize(1, 1));
}

}  // namespace

QRect FirstStartGeometry(const QRect& available, const QMargins& frame) {
  const QSize size = kFirstStartSize.boundedTo(InsideLimit(available, frame));
  const QRect inside = available.marginsRemoved(frame);
  const QPoint topLeft(inside.left() + (inside.width() - size.width()) / 2,
                       inside.top() + (inside.height() - size.height()) / 2);
  return QRect(topLeft, size);
}

QRect FitToScreen(const QRect& geometry, const QRect& available, const QMargins& frame) {
  const QSize limit = InsideLimit(available, frame);
  QSize size = geometry.size().boundedTo(limit);
  // A stored size too small to use (or none) is given a usable one.
  size = size.expandedTo(kSmallestWindow.boundedTo(limit));
  const QRect inside = available.marginsRemoved(frame);
  // Moved in from the right and bottom first, then from the left and top, so that the title
  // bar (and its close button) stays reachable even on an area smaller than the window.
  const int x = std::max(inside.left(),
                         std::min(geometry.x(), inside.left() + inside.width() - size.width()));
  const int y = std::max(inside.top(),
                         std::min(geometry.y(), inside.top() + inside.height() - size.height()));
  return QRect(QPoint(x, y), size);
}

QMargins EstimatedFrameMargins(int titleBarHeight, int borderWidth) {
  return QMargins(borderWidth, titleBarHeight + borderWidth, borderWidth, borderWidth);
}
