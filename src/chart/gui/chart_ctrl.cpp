#include "chart/gui/chart_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QWheelEvent>

#include "chart/gui/chart_painter.h"

namespace {

constexpr double kWheelZoom = 0.8;  // one notch in: a fifth less range
constexpr double kKeyZoom = 0.8;

}  // namespace

CChartCtrl::CChartCtrl(QWidget* parent) : QWidget(parent) {
  setObjectName("ChartCtrl");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  m_model.SetRedrawHandler([this] {
    ++m_nRedraws;
    update();
  });
}

void CChartCtrl::paintEvent(QPaintEvent*) {
  // Drawn into an image first: the window shows exactly what RenderImage gives.
  const qreal ratio = devicePixelRatioF();
  QImage image(size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  {
    QPainter painter(&image);
    m_layout = PaintChart(m_model, painter, rect());
    PaintReadout(painter);
  }
  QPainter(this).drawImage(0, 0, image);
}

bool CChartCtrl::InPlot(const QPoint& point) const {
  const ChartRect& plot = m_layout.plot;
  return point.x() >= plot.left && point.x() < plot.right && point.y() >= plot.top &&
         point.y() < plot.bottom;
}

void CChartCtrl::RangeChanged() {
  UpdateReadout(m_readoutPoint);
  update();
  emit rangeChanged();
}

void CChartCtrl::wheelEvent(QWheelEvent* event) {
  CChartAxis* axis = TimeAxis();
  const QPoint point = event->position().toPoint();
  if (axis == nullptr || !InPlot(point) || event->angleDelta().y() == 0)
    return;
  const double notches = event->angleDelta().y() / 120.0;
  ZoomAxis(*axis, axis->ScreenToValue(point.x()), std::pow(kWheelZoom, notches));
  RangeChanged();
}

void CChartCtrl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !InPlot(event->pos()))
    return;
  m_dragStart = m_dragLast = event->pos();
  if (event->modifiers() & Qt::ShiftModifier) {
    if (m_pBand == nullptr)
      m_pBand = new QRubberBand(QRubberBand::Rectangle, this);
    m_pBand->setGeometry(QRect(m_dragStart, QSize(1, m_layout.plot.Height())));
    m_pBand->move(m_dragStart.x(), m_layout.plot.top);
    m_pBand->show();
  } else {
    m_bPanning = true;
    setCursor(Qt::ClosedHandCursor);
  }
}

void CChartCtrl::mouseMoveEvent(QMouseEvent* event) {
  CChartAxis* axis = TimeAxis();
  if (m_bPanning && axis != nullptr) {
    PanAxisByPixels(*axis, event->pos().x() - m_dragLast.x());
    m_dragLast = event->pos();
    RangeChanged();
    return;
  }
  if (m_pBand != nullptr && m_pBand->isVisible()) {
    const int left = std::min(m_dragStart.x(), event->pos().x());
    const int width = std::abs(event->pos().x() - m_dragStart.x()) + 1;
    m_pBand->setGeometry(left, m_layout.plot.top, width, m_layout.plot.Height());
    return;
  }
  m_readoutPoint = event->pos();
  UpdateReadout(m_readoutPoint);
  update();
}

void CChartCtrl::mouseReleaseEvent(QMouseEvent* event) {
  if (m_bPanning) {
    m_bPanning = false;
    unsetCursor();
    return;
  }
  if (m_pBand != nullptr && m_pBand->isVisible()) {
    m_pBand->hide();
    CChartAxis* axis = TimeAxis();
    if (axis != nullptr && ZoomAxisToPixels(*axis, m_dragStart.x(), event->pos().x()))
      RangeChanged();
  }
}

void CChartCtrl::mouseDoubleClickEvent(QMouseEvent*) {
  if (CChartAxis* axis = TimeAxis()) {
    ResetAxisRange(*axis);
    RangeChanged();
  }
}

void CChartCtrl::keyPressEvent(QKeyEvent* event) {
  CChartAxis* axis = TimeAxis();
  if (axis == nullptr) {
    QWidget::keyPressEvent(event);
    return;
  }
  const double middle = (axis->Min() + axis->Max()) / 2.0;
  switch (event->key()) {
    case Qt::Key_Left:
      axis->ScrollBySteps(-1);
      break;
    case Qt::Key_Right:
      axis->ScrollBySteps(1);
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      ZoomAxis(*axis, middle, kKeyZoom);
      break;
    case Qt::Key_Minus:
      ZoomAxis(*axis, middle, 1.0 / kKeyZoom);
      break;
    case Qt::Key_Home:
      ResetAxisRange(*axis);
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  RangeChanged();
}

void CChartCtrl::leaveEvent(QEvent*) {
  m_readout = ChartReadout();
  update();
}

void CChartCtrl::UpdateReadout(const QPoint& point) {
  m_readout =
      InPlot(point) ? ReadoutAt(m_model, ChartAxisSlot::kBottom, point.x()) : ChartReadout();
}

// The readout box beside the cursor, with a line across the plot at the cursor.
void CChartCtrl::PaintReadout(QPainter& painter) {
  if (!m_readout.valid)
    return;
  const ChartRect& plot = m_layout.plot;
  painter.setPen(QPen(QColor(80, 80, 80), 1, Qt::DashLine));
  painter.drawLine(m_readoutPoint.x(), plot.top, m_readoutPoint.x(), plot.bottom - 1);
  QStringList lines{QString::fromStdString(m_readout.position)};
  for (const ChartReadoutValue& value : m_readout.values)
    lines << QString::fromStdString(value.name + ": " + value.value);
  const QFontMetrics metrics(font());
  int width = 0;
  for (const QString& line : lines)
    width = std::max(width, metrics.horizontalAdvance(line));
  QRect box(m_readoutPoint + QPoint(12, 12), QSize(width + 8, metrics.height() * lines.size() + 6));
  if (box.right() > plot.right)
    box.moveRight(m_readoutPoint.x() - 12);
  if (box.bottom() > plot.bottom)
    box.moveBottom(plot.bottom - 1);
  painter.fillRect(box, QColor(255, 255, 225, 235));
  painter.setPen(QColor(0, 0, 0));
  painter.drawRect(box);
  for (int i = 0; i < lines.size(); ++i)
    painter.drawText(box.left() + 4, box.top() + 3 + metrics.ascent() + i * metrics.height(),
                     lines[i]);
}

QImage CChartCtrl::RenderImage(const QSize& size, bool antialiasing) {
  const QSize target = size.isValid() ? size : this->size();
  QImage image(target, QImage::Format_RGB32);
  QPainter painter(&image);
  ChartPaintOptions options;
  options.antialiasing = antialiasing;
  PaintChart(m_model, painter, QRect(QPoint(0, 0), target), options);
  return image;
}
