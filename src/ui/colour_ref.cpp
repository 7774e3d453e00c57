#include "ui/colour_ref.h"

#include <QPainter>
#include <QPixmap>

QIcon ColourRefSwatch(uint32_t colorRef) {
  constexpr int kSize = 14;
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(ColourFromColorRef(colorRef));
  QPainter painter(&pixmap);
  painter.setPen(QColor(90, 90, 90));
  painter.drawRect(0, 0, kSize - 1, kSize - 1);
  return QIcon(pixmap);
}
