#include "ui/busy_spinner.h"

#include <QPainter>

CBusySpinner::CBusySpinner(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
  m_timer.setInterval(kFrameMs);
  connect(&m_timer, &QTimer::timeout, this, [this] {
    m_nFrame = (m_nFrame + 1) % kSpokes;
    update();
  });
}

void CBusySpinner::Start() {
  m_timer.start();
  update();
}

void CBusySpinner::Stop() {
  m_timer.stop();
  update();
}

void CBusySpinner::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(width() / 2.0, height() / 2.0);
  const qreal radius = qMin(width(), height()) / 2.0;
  const QColor base = IsSpinning() ? QColor(0, 51, 153) : QColor(160, 160, 160);
  QPen pen;
  pen.setWidthF(radius / 5.0);
  pen.setCapStyle(Qt::RoundCap);
  for (int i = 0; i < kSpokes; ++i) {
    // The spoke of the current frame is solid; the ones behind it fade out.
    const int age = (m_nFrame - i + kSpokes) % kSpokes;
    QColor color = base;
    color.setAlphaF(IsSpinning() ? 1.0 - 0.8 * age / kSpokes : 0.6);
    pen.setColor(color);
    painter.setPen(pen);
    painter.save();
    painter.rotate(360.0 * i / kSpokes);
    painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius * 0.85));
    painter.restore();
  }
}
