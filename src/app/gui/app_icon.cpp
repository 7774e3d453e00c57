#include "app/gui/app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// A rounded square with a rising signal trace: data acquired over time.
QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255));
  painter.drawRoundedRect(QRectF(0.04 * s, 0.04 * s, 0.92 * s, 0.92 * s), 0.18 * s, 0.18 * s);
  painter.setBrush(QColor(0, 128, 0));
  painter.drawRoundedRect(QRectF(0.1 * s, 0.1 * s, 0.8 * s, 0.8 * s), 0.14 * s, 0.14 * s);
  QPainterPath trace;
  trace.moveTo(0.2 * s, 0.7 * s);
  trace.lineTo(0.38 * s, 0.45 * s);
  trace.lineTo(0.52 * s, 0.58 * s);
  trace.lineTo(0.8 * s, 0.25 * s);
  painter.setPen(QPen(Qt::white, 0.08 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(trace);
  return pixmap;
}

}  // namespace

QIcon VelmoraIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128})
    icon.addPixmap(DrawIcon(size));
  return icon;
}
