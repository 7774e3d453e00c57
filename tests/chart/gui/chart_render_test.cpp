// The chart component's pictures: fixed charts rendered offscreen into images and compared
// with the stored golden pictures (a few pixels may differ: font rendering), and the
// image of the control equal to what its window shows. To accept a change of the drawing
// on purpose, run with VELMORA_UPDATE_GOLDEN=1 and commit the new pictures.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "chart/chart_date.h"
#include "chart/chart_datetime_axis.h"
#include "chart/gui/chart_ctrl.h"
#include "chart/gui/chart_fast_lines.h"
#include "chart/gui/chart_painter.h"
#include "chart/gui/chart_scroll_bar.h"
#include "ui/colour_ref.h"

namespace {

// The trend of the chart views: a date-time axis and two value axes, three series.
void FillTrend(CChartCtrl& chart, bool smooth) {
  CChartModel& model = chart.Model();
  model.EnableRefresh(false);
  model.SetBackgroundColour(16767935);
  auto& time = static_cast<CChartDateTimeAxis&>(model.CreateDateTimeAxis(ChartAxisSlot::kBottom));
  CChartAxis& left = model.CreateStandardAxis(ChartAxisSlot::kLeft);
  CChartAxis& right = model.CreateStandardAxis(ChartAxisSlot::kRight);
  left.SetMinMax(0, 100);
  right.SetMinMax(0, 2000);
  left.SetCaption("Temperature (degC)");
  right.SetCaption("Speed (rpm)");
  const double start = ChartDateFromParts({2026, 12, 9, 10, 0, 0, 0});
  time.SetMinMax(start, start + 60.0 / 1440);
  model.Title().lines = {"Line 1 Machine 1"};
  model.Legend().visible = true;
  const char* names[] = {"Temperature", "SetPoint", "Speed"};
  for (int s = 0; s < 3; ++s) {
    const int id = model.CreateLineSerie(ChartAxisSlot::kBottom,
                                         s == 2 ? ChartAxisSlot::kRight : ChartAxisSlot::kLeft);
    CChartLineSerie& serie = *model.Serie(id);
    serie.SetName(names[s]);
    serie.SetSmooth(smooth);
    serie.SetStyle(s == 1 ? ChartLineStyle::kDash : ChartLineStyle::kSolid);
    serie.SetWidth(s == 0 ? 2 : 1);
    serie.SetShadow(s == 0);
    std::vector<SChartXYPoint> points;
    for (int minute = 0; minute <= 60; minute += 2) {
      const double value = s == 0   ? 60 + 15 * std::sin(minute / 9.0)
                           : s == 1 ? (minute < 30 ? 70 : 80)
                                    : 1200 + 500 * std::cos(minute / 12.0);
      points.push_back({start + minute / 1440.0, value});
    }
    serie.SetPoints(points);
  }
  model.EnableRefresh(true);
}

// The share of pixels that differ by more than a little in any channel.
double DifferentShare(const QImage& a, const QImage& b) {
  if (a.size() != b.size())
    return 1.0;
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  int different = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int column = 0; column < x.width(); ++column) {
      if (std::abs(qRed(p[column]) - qRed(q[column])) > 24 ||
          std::abs(qGreen(p[column]) - qGreen(q[column])) > 24 ||
          std::abs(qBlue(p[column]) - qBlue(q[column])) > 24)
        ++different;
    }
  }
  return static_cast<double>(different) / (x.width() * x.height());
}

// The pixels of the plot drawn in a colour (a little either way: antialiasing).
int ColourPixels(const QImage& image, const QRect& plot, QRgb colour) {
  const QImage x = image.convertToFormat(QImage::Format_RGB32);
  int count = 0;
  for (int row = plot.top(); row <= plot.bottom(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    for (int column = plot.left(); column <= plot.right(); ++column) {
      if (std::abs(qRed(p[column]) - qRed(colour)) <= 24 &&
          std::abs(qGreen(p[column]) - qGreen(colour)) <= 24 &&
          std::abs(qBlue(p[column]) - qBlue(colour)) <= 24)
        ++count;
    }
  }
  return count;
}

// Every series of the chart, compared by the pixels of its colour inside the plot: a
// series that vanished (even a one-pixel line among large others) or lost or gained a
// fifth of its pixels differs. Empty when every series matches.
QString SeriesDifference(CChartModel& model, const QImage& image, const QImage& golden) {
  const ChartLayout layout =
      model.Layout({0, 0, image.width(), image.height()}, CQtChartMeasure(&image));
  const QRect plot(QPoint(layout.plot.left + 1, layout.plot.top + 1),
                   QPoint(layout.plot.right - 2, layout.plot.bottom - 2));
  QString difference;
  for (const CChartLineSerie* serie : model.Series()) {
    const QRgb colour = ColourFromColorRef(serie->Colour()).rgb();
    const int expected = ColourPixels(golden, plot, colour);
    const int drawn = ColourPixels(image, plot, colour);
    if (expected == 0 || drawn < expected * 0.8 || drawn > expected * 1.25) {
      difference += QString("%1: %2 pixels of its colour, %3 in the golden picture; ")
                        .arg(QString::fromStdString(serie->Name()))
                        .arg(drawn)
                        .arg(expected);
    }
  }
  return difference;
}

void CompareWithGolden(const QImage& image, const QString& name, CChartModel& model) {
  const QString path = QString(VELMORA_GOLDEN_DIR) + "/" + name;
  if (qEnvironmentVariableIsSet("VELMORA_UPDATE_GOLDEN")) {
    QVERIFY(image.save(path));
    return;
  }
  const QImage golden(path);
  QVERIFY2(!golden.isNull(), qPrintable("no golden picture " + path));
  const double share = DifferentShare(image, golden);
  if (share > 0.01)
    image.save(QDir::temp().filePath(name));  // to look at what changed
  QVERIFY2(
      share <= 0.01,
      qPrintable(QString("%1: %2 % of the pixels differ").arg(name).arg(share * 100, 0, 'f', 2)));
  const QString series = SeriesDifference(model, image, golden);
  QVERIFY2(series.isEmpty(), qPrintable(name + ": " + series));
}

}  // namespace

class ChartRenderTest : public QObject {
  Q_OBJECT

 private slots:
  void aStraightTrendMatchesItsGoldenPicture() {
    CChartCtrl chart;
    FillTrend(chart, false);
    CompareWithGolden(chart.RenderImage(QSize(640, 360), false), "trend-straight.png",
                      chart.Model());
  }

  // The whole picture may differ by 1 % of its pixels (fonts): a one-pixel series that
  // is not drawn stays under that, and only the comparison by series finds it.
  void aVanishedOnePixelSeriesFailsTheComparisonBySeries() {
    CChartCtrl chart;
    FillTrend(chart, false);
    const QImage golden = chart.RenderImage(QSize(640, 360), false);
    CChartLineSerie* speed = chart.Model().Serie(2);
    QCOMPARE(speed->Width(), 1);
    speed->SetVisible(false);
    const QImage without = chart.RenderImage(QSize(640, 360), false);
    speed->SetVisible(true);
    QVERIFY(DifferentShare(without, golden) <= 0.01);
    const QString difference = SeriesDifference(chart.Model(), without, golden);
    QVERIFY2(difference.startsWith("Speed: 0 pixels"), qPrintable(difference));
    QVERIFY(SeriesDifference(chart.Model(), golden, golden).isEmpty());
  }

  void aSmoothAntialiasedTrendMatchesItsGoldenPicture() {
    CChartCtrl chart;
    FillTrend(chart, true);
    CompareWithGolden(chart.RenderImage(QSize(640, 360), true), "trend-smooth.png", chart.Model());
  }

  void theImageIsWhatTheWindowShowsAndSuspensionsRedrawOnce() {
    CChartCtrl chart;
    chart.resize(500, 300);
    const int before = chart.RedrawCount();
    FillTrend(chart, false);
    QCOMPARE(chart.RedrawCount(), before + 1);  // one redraw for the whole filling
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    const QImage window = chart.grab().toImage();
    QCOMPARE(DifferentShare(window, chart.RenderImage()), 0.0);
  }

  void theScrollBarMovesTheTimeAxisByTenthsOfItsRange() {
    CChartCtrl chart;
    FillTrend(chart, false);
    CChartAxis& time = *chart.Model().Axis(ChartAxisSlot::kBottom);
    const double start = time.Min();
    const double span = time.Max() - time.Min();
    CChartScrollBar bar(chart, ChartAxisSlot::kBottom);
    bar.SetFullRange(start, start + 3 * span);
    QCOMPARE(bar.maximum(), 20);  // 30 steps, a page of 10
    QCOMPARE(bar.value(), 0);
    bar.setValue(5);
    QVERIFY(std::fabs(time.Min() - (start + span / 2)) < span * 1e-9);
    QVERIFY(std::fabs((time.Max() - time.Min()) - span) < span * 1e-9);
    QTest::keyClick(&chart, Qt::Key_Right);  // moved elsewhere: the bar follows
    QCOMPARE(bar.value(), 6);
  }

  void fastLinesSetEveryPixelOfTheirRunInsideTheClipOnly() {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRgb red = qRgb(255, 0, 0);
    // A steep one-column segment, a longer diagonal, a point outside the clip.
    DrawFastPolyline(image, {{2, 2}, {3, 9}, {12, 12}, {30, 12}}, red, QRect(0, 0, 15, 15), false);
    QCOMPARE(image.pixel(2, 2), red);
    QCOMPARE(image.pixel(2, 5), red);
    QCOMPARE(image.pixel(3, 9), red);
    QCOMPARE(image.pixel(12, 12), red);
    QCOMPARE(image.pixel(14, 12), red);
    QCOMPARE(image.pixel(15, 12), qRgb(255, 255, 255));  // clipped
    QCOMPARE(image.pixel(10, 2), qRgb(255, 255, 255));
    // Antialiased: a line half-way between two rows covers each by half.
    image.fill(Qt::white);
    DrawFastPolyline(image, {{0, 4}, {10, 5}}, qRgb(0, 0, 0), image.rect(), true);
    const QRgb middle = image.pixel(5, 4);
    QVERIFY(qRed(middle) > 100 && qRed(middle) < 160);
    QCOMPARE(qRed(middle), qGreen(middle));
    QCOMPARE(image.pixel(0, 4), qRgb(0, 0, 0));
  }

  void twoThreadsDrawingHalfTheRowsEachGiveTheSamePicture() {
    CChartModel model;
    auto& time = static_cast<CChartDateTimeAxis&>(model.CreateDateTimeAxis(ChartAxisSlot::kBottom));
    model.CreateStandardAxis(ChartAxisSlot::kLeft).SetMinMax(-100, 100);
    time.SetMinMax(46000.0, 46000.0 + 1599.0 / 86400);
    for (int s = 0; s < 40; ++s) {  // 64 000 points: enough to share
      std::vector<SChartXYPoint> points;
      for (int i = 0; i < 1600; ++i)
        points.push_back({46000.0 + i / 86400.0, 95 * std::sin(i / (7.0 + s) + s)});
      CChartLineSerie& serie =
          *model.Serie(model.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft));
      serie.SetPoints(points);
      serie.SetColour(static_cast<uint32_t>(0x10204 * s));
      serie.SetShadow(s % 3 == 0);
    }
    for (const bool antialiased : {false, true}) {
      QImage shared(640, 400, QImage::Format_RGB32);
      QImage alone(640, 400, QImage::Format_RGB32);
      for (QImage* image : {&shared, &alone}) {
        QPainter painter(image);
        ChartPaintOptions options;
        options.antialiasing = antialiased;
        options.shareWork = image == &shared;
        PaintChart(model, painter, image->rect(), options);
      }
      QVERIFY(shared == alone);
    }
  }

  void theMouseAndTheKeysZoomAndPanTheTimeAxisAndReadItsValues() {
    CChartCtrl chart;
    chart.resize(640, 360);
    FillTrend(chart, false);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    CChartAxis& time = *chart.Model().Axis(ChartAxisSlot::kBottom);
    const double fullMin = time.Min();
    const double span = time.Max() - time.Min();
    const QPoint middle(300, 180);
    QWheelEvent wheel(middle, chart.mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &wheel);
    QVERIFY(std::fabs((time.Max() - time.Min()) - span * 0.8) < span * 1e-9);
    const double zoomedMin = time.Min();
    QTest::mousePress(&chart, Qt::LeftButton, {}, middle);
    QTest::mouseMove(&chart, middle + QPoint(40, 0));
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, middle + QPoint(40, 0));
    QVERIFY(time.Min() < zoomedMin);  // dragged right: earlier times
    QTest::keyClick(&chart, Qt::Key_Home);
    QCOMPARE(time.Min(), fullMin);
    QTest::keyClick(&chart, Qt::Key_Right);
    QVERIFY(std::fabs(time.Min() - (fullMin + span / 10)) < span * 1e-9);
    QTest::mouseDClick(&chart, Qt::LeftButton, {}, middle);
    QCOMPARE(time.Min(), fullMin);
    QTest::mouseMove(&chart, middle);
    QVERIFY(chart.Readout().valid);
    QCOMPARE(chart.Readout().values.size(), size_t(3));
    QVERIFY(QString::fromStdString(chart.Readout().position).startsWith("09 Dec 2026 10:"));
  }
};

QTEST_MAIN(ChartRenderTest)
#include "chart_render_test.moc"
