#include "chart/gui/chart_painter.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <barrier>
#include <thread>

#include "chart/gui/chart_fast_lines.h"

namespace {

// The chart keeps its colours as the settings store does, 0x00BBGGRR. Converted here, as
// painting may use Qt Gui only (the widgets' helper in ui/colour_ref.h is out of reach).
QColor ColourFromColorRef(uint32_t colorRef) {
  return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

QRect ToQRect(const ChartRect& rect) {
  return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

Qt::PenStyle PenStyleOf(ChartLineStyle style) {
  switch (style) {
    case ChartLineStyle::kDash:
      return Qt::DashLine;
    case ChartLineStyle::kDot:
      return Qt::DotLine;
    case ChartLineStyle::kDashDot:
      return Qt::DashDotLine;
    case ChartLineStyle::kDashDotDot:
      return Qt::DashDotDotLine;
    case ChartLineStyle::kSolid:
      break;
  }
  return Qt::SolidLine;
}

// CChartTitle: its lines centred at the top.
void PaintTitle(const ChartTitle& title, QPainter& painter, const ChartRect& rect) {
  if (rect.Height() <= 0)
    return;
  QFont font = ChartQFont(title.font);
  font.setItalic(title.italic);
  font.setUnderline(title.underline);
  painter.setFont(font);
  painter.setPen(ColourFromColorRef(title.color));
  const QFontMetrics metrics(font, painter.device());
  int top = rect.top;
  for (const std::string& line : title.lines) {
    painter.drawText(QRect(rect.left, top, rect.Width(), metrics.height()), Qt::AlignCenter,
                     QString::fromStdString(line));
    top += metrics.height();
  }
}

// CChartGrid: one line per tick across the plotting rectangle.
void PaintGrid(const CChartAxis& axis, QPainter& painter, const ChartRect& plot) {
  if (!axis.IsVisible() || !axis.IsGridVisible())
    return;
  QPen pen(ColourFromColorRef(axis.GridColour()));
  pen.setStyle(Qt::DotLine);
  painter.setPen(pen);
  for (double tick : axis.Ticks()) {
    const int pixel = axis.ValueToScreen(tick);
    if (axis.IsHorizontal())
      painter.drawLine(pixel, plot.top, pixel, plot.bottom - 1);
    else
      painter.drawLine(plot.left, pixel, plot.right - 1, pixel);
  }
}

// The axis line, its ticks, CChartAxisLabel texts and caption, on the slot's side.
void PaintAxis(const CChartAxis& axis, ChartAxisSlot slot, QPainter& painter, const ChartRect& plot,
               const ChartRect& band) {
  if (!axis.IsVisible())
    return;
  const QFont font = ChartQFont(axis.LabelFont());
  painter.setFont(font);
  const QFontMetrics metrics(font, painter.device());
  const QColor colour = ColourFromColorRef(axis.LabelColour());
  painter.setPen(colour);
  const bool horizontal = axis.IsHorizontal();
  const bool before = slot == ChartAxisSlot::kLeft || slot == ChartAxisSlot::kTop;
  const int edge = slot == ChartAxisSlot::kLeft    ? plot.left
                   : slot == ChartAxisSlot::kRight ? plot.right - 1
                   : slot == ChartAxisSlot::kTop   ? plot.top
                                                   : plot.bottom - 1;
  const int tickEnd = before ? edge - kChartTickLength : edge + kChartTickLength;
  if (horizontal)
    painter.drawLine(plot.left, edge, plot.right - 1, edge);
  else
    painter.drawLine(edge, plot.top, edge, plot.bottom - 1);
  for (double tick : axis.Ticks()) {
    const int pixel = axis.ValueToScreen(tick);
    const QString label = QString::fromStdString(axis.TickLabel(tick));
    const int labelPixel = axis.IsDiscrete() ? axis.ValueToScreen(axis.LabelValue(tick)) : pixel;
    if (horizontal) {
      painter.drawLine(pixel, edge, pixel, tickEnd);
      const int width = metrics.horizontalAdvance(label);
      const int top =
          before ? tickEnd - kChartMargin / 2 - metrics.height() : tickEnd + kChartMargin / 2;
      painter.drawText(QRect(labelPixel - width / 2 - 1, top, width + 2, metrics.height()),
                       Qt::AlignCenter, label);
    } else {
      painter.drawLine(edge, pixel, tickEnd, pixel);
      const int width = metrics.horizontalAdvance(label);
      const int left = before ? tickEnd - kChartMargin / 2 - width : tickEnd + kChartMargin / 2;
      painter.drawText(QRect(left, labelPixel - metrics.height() / 2, width + 1, metrics.height()),
                       Qt::AlignVCenter | (before ? Qt::AlignRight : Qt::AlignLeft), label);
    }
  }
  if (axis.Caption().empty())
    return;
  const QString caption = QString::fromStdString(axis.Caption());
  if (horizontal) {
    const int top = before ? band.top : band.bottom - metrics.height();
    painter.drawText(QRect(plot.left, top, plot.Width(), metrics.height()), Qt::AlignCenter,
                     caption);
    return;
  }
  // A vertical caption reads upwards on the left, downwards on the right.
  painter.save();
  const int x = before ? band.left : band.right;
  painter.translate(x, (plot.top + plot.bottom) / 2);
  painter.rotate(before ? -90 : 90);
  painter.drawText(QRect(-plot.Height() / 2, 0, plot.Height(), metrics.height()), Qt::AlignCenter,
                   caption);
  painter.restore();
}

// A smooth path (a Bézier chain) or straight segments through the points.
QPainterPath PathOf(const std::vector<ChartPixelPoint>& points, bool smooth) {
  QPainterPath path(QPointF(points.front().x, points.front().y));
  if (smooth) {
    for (size_t i = 1; i + 2 < points.size(); i += 3) {
      path.cubicTo(QPointF(points[i].x, points[i].y), QPointF(points[i + 1].x, points[i + 1].y),
                   QPointF(points[i + 2].x, points[i + 2].y));
    }
  } else {
    for (size_t i = 1; i < points.size(); ++i)
      path.lineTo(points[i].x, points[i].y);
  }
  return path;
}

QPen SeriePen(ChartColour color, int width, Qt::PenStyle style) {
  QPen pen(ColourFromColorRef(color), width, style, Qt::FlatCap, Qt::RoundJoin);
  // A one-pixel line is drawn as such (cosmetic): the raster engine's fast path, the same
  // pixels as a width of 1 without any transform.
  pen.setCosmetic(width <= 1);
  return pen;
}

// Straight lines on whole pixels, as one polyline.
void DrawStraight(QPainter& painter, const std::vector<ChartPixelPoint>& points, int shift) {
  QPolygon line(static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i)
    line[static_cast<int>(i)] =
        QPoint(static_cast<int>(points[i].x) + shift, static_cast<int>(points[i].y) + shift);
  painter.drawPolyline(line);
}

// The image to draw one-pixel solid lines into directly, or null (then QPainter does).
QImage* FastLineTarget(QPainter& painter) {
  QPaintDevice* device = painter.device();
  if (device == nullptr || device->devType() != QInternal::Image ||
      painter.transform().type() != QTransform::TxNone)
    return nullptr;
  auto* image = static_cast<QImage*>(device);
  return CanDrawFastLines(*image) ? image : nullptr;
}

bool IsFastSerie(const CChartLineSerie& serie) {
  return !serie.IsSmooth() && serie.Width() <= 1 && PenStyleOf(serie.Style()) == Qt::SolidLine;
}

// Below this many points one thread draws faster than two can be started.
constexpr size_t kBandedPaintPoints = 40000;

// Every series on the fast path, drawn by two threads: each maps half of the paths, then
// draws every series in order into its own band of rows, which gives exactly the picture
// of one thread drawing them one after the other. False (nothing drawn) when a series
// needs the painter or the work is too small to share.
bool PaintSeriesInBands(const std::vector<const CChartLineSerie*>& series, QPainter& painter,
                        const QRect& plot) {
  QImage* image = FastLineTarget(painter);
  if (image == nullptr || plot.height() < 2)
    return false;
  size_t points = 0;
  for (const CChartLineSerie* serie : series) {
    if (!IsFastSerie(*serie))
      return false;
    points += serie->Points().size();
  }
  if (points < kBandedPaintPoints)
    return false;
  const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
  const FastLinePixels pixels(*image);
  std::vector<std::vector<ChartPixelPoint>> paths(series.size());
  const int middle = plot.top() + plot.height() / 2;
  auto work = [&](size_t half, int bandTop, int bandBottom, std::barrier<>& mapped) {
    for (size_t i = half; i < series.size(); i += 2)
      paths[i] = series[i]->Path();
    mapped.arrive_and_wait();
    for (size_t i = 0; i < series.size(); ++i) {
      const CChartLineSerie& serie = *series[i];
      if (serie.HasShadow()) {
        DrawFastPolylineInBand(pixels, paths[i], ColourFromColorRef(serie.ShadowColour()).rgb(),
                               plot, antialiased, serie.ShadowDepth(), bandTop, bandBottom);
      }
      DrawFastPolylineInBand(pixels, paths[i], ColourFromColorRef(serie.Colour()).rgb(), plot,
                             antialiased, 0, bandTop, bandBottom);
    }
  };
  std::barrier<> mapped(2);
  std::thread lower([&] { work(1, middle, plot.bottom(), mapped); });
  work(0, plot.top(), middle - 1, mapped);
  lower.join();
  return true;
}

// CChartLineSerie: the shadow first, then the line, clipped to the plot.
void PaintSerie(const CChartLineSerie& serie, QPainter& painter, const QRect& plot) {
  const std::vector<ChartPixelPoint> points = serie.Path();
  if (points.size() < 2)
    return;
  const Qt::PenStyle style = PenStyleOf(serie.Style());
  painter.setBrush(Qt::NoBrush);
  QImage* image = FastLineTarget(painter);
  if (image != nullptr && !serie.IsSmooth() && serie.Width() <= 1 && style == Qt::SolidLine) {
    const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
    if (serie.HasShadow()) {
      DrawFastPolyline(*image, points, ColourFromColorRef(serie.ShadowColour()).rgb(), plot,
                       antialiased, serie.ShadowDepth());
    }
    DrawFastPolyline(*image, points, ColourFromColorRef(serie.Colour()).rgb(), plot, antialiased);
    return;
  }
  if (!serie.IsSmooth()) {
    if (serie.HasShadow()) {
      painter.setPen(SeriePen(serie.ShadowColour(), serie.Width(), style));
      DrawStraight(painter, points, serie.ShadowDepth());
    }
    painter.setPen(SeriePen(serie.Colour(), serie.Width(), style));
    DrawStraight(painter, points, 0);
    return;
  }
  const QPainterPath path = PathOf(points, true);
  if (serie.HasShadow()) {
    painter.setPen(SeriePen(serie.ShadowColour(), serie.Width(), style));
    painter.drawPath(path.translated(serie.ShadowDepth(), serie.ShadowDepth()));
  }
  painter.setPen(SeriePen(serie.Colour(), serie.Width(), style));
  painter.drawPath(path);
}

// CChartLegend: one entry per visible series, a line sample and the name, in the cells
// of the layout's grid (names cut to their cell).
void PaintLegend(const CChartModel& model, QPainter& painter, const ChartRect& rect,
                 const ChartLegendGrid& grid) {
  const ChartLegend& legend = model.Legend();
  if (!legend.visible || rect.Width() <= 0 || grid.shown <= 0)
    return;
  const QRect box = ToQRect(rect);
  if (!legend.transparent) {
    if (legend.shadow)
      painter.fillRect(box.translated(3, 3), QColor(0, 0, 0, 60));
    painter.fillRect(box, ColourFromColorRef(legend.background));
    painter.setPen(QColor(0, 0, 0));
    painter.drawRect(box);
  }
  const QFont font = ChartQFont(legend.font);
  painter.setFont(font);
  const QFontMetrics metrics(font, painter.device());
  const int nameWidth = std::max(0, grid.cellWidth - kLegendSymbolWidth - kChartMargin);
  int n = 0;
  for (const CChartLineSerie* serie : model.Series()) {
    if (!serie->IsVisible())
      continue;
    if (n >= grid.shown)
      break;
    const int x = rect.left + kChartMargin + grid.Column(n) * grid.cellWidth;
    const int y = rect.top + kChartMargin + grid.Row(n) * grid.rowHeight;
    ++n;
    const QString name =
        metrics.elidedText(QString::fromStdString(serie->Name()), Qt::ElideRight, nameWidth);
    const int middle = y + grid.rowHeight / 2;
    painter.setPen(QPen(ColourFromColorRef(serie->Colour()), std::max(2, serie->Width()),
                        PenStyleOf(serie->Style())));
    painter.drawLine(x, middle, x + kLegendSymbolWidth - kChartMargin, middle);
    painter.setPen(ColourFromColorRef(legend.textColor));
    painter.drawText(QPoint(x + kLegendSymbolWidth, y + metrics.ascent()), name);
  }
}

}  // namespace

QFont ChartQFont(const ChartFont& font) {
  QFont qfont(QString::fromStdString(font.face));
  qfont.setPointSizeF(font.tenthsOfPoint / 10.0);
  qfont.setBold(font.bold);
  return qfont;
}

ChartSize CQtChartMeasure::Measure(const std::string& text, const ChartFont& font) const {
  const QFontMetrics metrics = m_pDevice != nullptr ? QFontMetrics(ChartQFont(font), m_pDevice)
                                                    : QFontMetrics(ChartQFont(font));
  return {metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

ChartLayout PaintChart(CChartModel& model, QPainter& painter, const QRect& client,
                       const ChartPaintOptions& options) {
  const ChartRect clientRect{client.left(), client.top(), client.right() + 1, client.bottom() + 1};
  const ChartLayout layout = model.Layout(clientRect, CQtChartMeasure(painter.device()));
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(client, ColourFromColorRef(model.BackgroundColour()));
  PaintTitle(model.Title(), painter, layout.title);
  for (int slot = 0; slot < 4; ++slot) {
    const CChartAxis* axis = model.Axis(static_cast<ChartAxisSlot>(slot));
    if (axis != nullptr)
      PaintGrid(*axis, painter, layout.plot);
  }
  for (int slot = 0; slot < 4; ++slot) {
    const CChartAxis* axis = model.Axis(static_cast<ChartAxisSlot>(slot));
    if (axis != nullptr)
      PaintAxis(*axis, static_cast<ChartAxisSlot>(slot), painter, layout.plot,
                layout.axisBand[slot]);
  }
  painter.setPen(QPen(ColourFromColorRef(model.BorderColour()), 1, Qt::SolidLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(ToQRect(layout.plot));
  painter.save();
  painter.setClipRect(ToQRect(layout.plot));
  painter.setRenderHint(QPainter::Antialiasing, options.antialiasing);
  if (!options.shareWork || !PaintSeriesInBands(model.Series(), painter, ToQRect(layout.plot))) {
    for (const CChartLineSerie* serie : model.Series())
      PaintSerie(*serie, painter, ToQRect(layout.plot));
  }
  painter.restore();
  PaintLegend(model, painter, layout.legend, layout.legendGrid);
  painter.restore();
  return layout;
}
