// One redraw of the chart component at its largest: 256 line series of 1600 points each
// into a 1600 x 900 image, median of 15 redraws, with and without antialiasing. The floor
// is the same image filled and the same points stroked as one polyline each, without the
// component (axes, layout, mapping), measured in the same run.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "chart/chart_datetime_axis.h"
#include "chart/chart_model.h"
#include "chart/gui/chart_painter.h"

namespace {

constexpr int kSeries = 256;
constexpr int kPoints = 1600;
constexpr int kRuns = 15;

template <class Draw>
double MedianMs(Draw draw) {
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    draw();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  CChartModel model;
  auto& time = static_cast<CChartDateTimeAxis&>(model.CreateDateTimeAxis(ChartAxisSlot::kBottom));
  model.CreateStandardAxis(ChartAxisSlot::kLeft).SetMinMax(-100, 100);
  model.CreateStandardAxis(ChartAxisSlot::kRight).SetMinMax(-100, 100);
  const double start = 46000.0;
  const double step = 1.0 / 86400.0;
  time.SetMinMax(start, start + (kPoints - 1) * step);
  std::vector<std::vector<SChartXYPoint>> raw(kSeries);
  for (int s = 0; s < kSeries; ++s) {
    std::vector<SChartXYPoint> points;
    for (int i = 0; i < kPoints; ++i)
      points.push_back({start + i * step, 90.0 * std::sin(i / 40.0 + s * 0.3) * (1 - s / 600.0)});
    const int id = model.CreateLineSerie(ChartAxisSlot::kBottom,
                                         s % 2 == 0 ? ChartAxisSlot::kLeft : ChartAxisSlot::kRight);
    model.Serie(id)->SetPoints(points);
    raw[static_cast<size_t>(s)] = points;
  }
  QImage image(1600, 900, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    PaintChart(model, painter, image.rect());  // lays the axes out
  }
  const double paths = MedianMs([&] {
    size_t total = 0;
    for (const CChartLineSerie* serie : model.Series())
      total += serie->Path().size();
    if (total == 0)
      std::printf("no path\n");
  });
  std::printf("mapping the points to pixel paths: %.1f ms\n", paths);
  {
    // The frame alone: background, title, axes, grids and labels, without series.
    CChartModel frame;
    auto& frameTime =
        static_cast<CChartDateTimeAxis&>(frame.CreateDateTimeAxis(ChartAxisSlot::kBottom));
    frameTime.SetMinMax(time.Min(), time.Max());
    frame.CreateStandardAxis(ChartAxisSlot::kLeft).SetMinMax(-100, 100);
    frame.CreateStandardAxis(ChartAxisSlot::kRight).SetMinMax(-100, 100);
    const double frameMs = MedianMs([&] {
      QPainter painter(&image);
      PaintChart(frame, painter, image.rect());
    });
    std::printf("the frame without series: %.1f ms\n", frameMs);
  }
  const double totalPoints = static_cast<double>(kSeries) * kPoints;
  for (const bool antialias : {false, true}) {
    const double floor = MedianMs([&] {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing, antialias);
      painter.fillRect(image.rect(), Qt::white);
      QPolygonF line(kPoints);
      for (const auto& points : raw) {
        for (int i = 0; i < kPoints; ++i)
          line[i] =
              QPointF(60 + i * (1480.0 / kPoints), 450 - points[static_cast<size_t>(i)].Y * 4);
        painter.drawPolyline(line);
      }
    });
    const double chart = MedianMs([&] {
      QPainter painter(&image);
      ChartPaintOptions options;
      options.antialiasing = antialias;
      PaintChart(model, painter, image.rect(), options);
    });
    std::printf(
        "%s: redraw %.1f ms (floor %.1f ms, ratio %.2f), %.1f M points/s, target <= %d ms: %s\n",
        antialias ? "antialiased" : "aliased", chart, floor, chart / floor,
        totalPoints / chart / 1000.0, antialias ? 40 : 15,
        chart <= (antialias ? 40 : 15) ? "met" : "NOT met");
  }
  return 0;
}
