// P5: one redraw of the chart view over a table of 1 000 000 rows with 256 charted items,
// decimated to at most 1600 points, beside the same redraw over 10 000 rows: the median
// of 15 redraws must stay under 50 ms, and the long table may cost at most 1.3 times the
// short one (a redraw must not grow with the length of the acquisition). The redraw is
// the view's own work (rows found by time, cells read and converted, series, axes) and the
// painting into a 1600 x 900 image. The table makes its cells on demand, as texts, so
// that a million rows cost no memory; the view reads them as it reads the real tables.
// Prints the live divider N that a 1000 ms acquisition period gives for the redraw.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/log.h"
#include "base/number_text.h"
#include "base/settings_store.h"
#include "base/time_text.h"
#include "base/user_prompt.h"
#include "chart/chart_model.h"
#include "chart/chart_view_model.h"
#include "chart/chart_view_rules.h"
#include "chart/gui/chart_painter.h"

namespace {

constexpr int kItems = 256;
constexpr int kRuns = 15;
constexpr double kTargetMs = 50.0;
constexpr double kTargetRatio = 1.3;
constexpr int kSpanMinutes = 20160;  // two weeks: the whole of a million seconds

// One row per second; cell texts from a pool of numbers, different for every column.
class CGeneratedRows : public IChartRowSource {
 public:
  explicit CGeneratedRows(int rows) : m_nRows(rows) {
    for (int i = 0; i < 997; ++i)
      m_pool.push_back(FormatFixed(50.0 + 40.0 * ((i * 37) % 101) / 101.0, 2));
    m_nStartMs = UnixMsFromLocalTime(LocalTime{2026, 1, 5, 8, 0, 0, 0, 1});
  }
  int RowCount() const override { return m_nRows; }
  std::string TimeText(int row) const override {
    return FormatTimeStampMs(LocalTimeFromUnixMs(m_nStartMs + int64_t{row} * 1000));
  }
  void RowValues(int row, const std::vector<int>& columns, double* values) const override {
    for (size_t i = 0; i < columns.size(); ++i) {
      const std::string& cell = m_pool[static_cast<size_t>(row + columns[i] * 7) % m_pool.size()];
      values[i] = LeadingDouble(cell) * columns[i];
    }
  }

 private:
  int m_nRows;
  int64_t m_nStartMs = 0;
  std::vector<std::string> m_pool;
};

class CSilentSink : public ILogSink {
 public:
  void Log(int, const std::string&) override {}
};

class CSilentPrompt : public IUserPrompt {
 public:
  ReportAnswer ShowReport(const ReportRequest&) override { return ReportAnswer::kFirstButton; }
  MessageAnswer ShowMessage(const std::string&, MessageButtons, MessageIcon,
                            const std::string&) override {
    return MessageAnswer::kOk;
  }
  std::optional<std::string> ChooseFile(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

std::vector<QueryCell> ItemCells() {
  std::vector<QueryCell> cells;
  for (int i = 0; i < kItems; ++i) {
    const std::string name = "Item" + std::to_string(i);
    const char* columns[] = {"OPCAcqItem_QualifiedName", "OPCAcqItem_ShortName", "OPCAcqItem_Data",
                             "OPCAcqItem_ItemType", "OPCAcqItem_DataType"};
    for (int c = 0; c < 5; ++c) {
      QueryCell cell;
      cell.columnName = columns[c];
      cell.columnType = c < 3 ? kCellText : kCellInteger;
      cell.text = c < 3 ? "Plant." + name : "";
      cell.intValue = c == 4 ? 5 : 0;
      cells.push_back(cell);
    }
  }
  return cells;
}

struct Result {
  double medianMs = 0.0;
  int points = 0;
  int drawn = 0;
};

Result MeasureRedraw(int rows, bool paint) {
  SystemClock clock;
  CSilentSink sink;
  CLog log(clock, &sink);
  CSilentPrompt prompt;
  InMemorySettingsStore settings;
  settings.WriteInt("ChartTimeSpan", kSpanMinutes);
  AppContext context{clock, log, prompt, settings};
  CChartModel chart;
  CChartViewModel view(context, chart);
  CGeneratedRows source(rows);
  const std::vector<QueryCell> cells = ItemCells();
  view.Create();
  view.SetLiveMode(false);
  view.SetItemQuery([&cells](const std::string&, std::vector<QueryCell>& out) {
    out = cells;
    return 5;
  });
  view.SetSource(&source);
  view.SetAcquisitionId(1);
  view.SetAcquisitionPeriodMs(1000);
  QImage image(1600, 900, QImage::Format_RGB32);
  ChartPaintOptions options;
  options.antialiasing = false;
  if (paint) {
    view.SetPaintHook([&] {
      QPainter painter(&image);
      PaintChart(chart, painter, image.rect(), options);
    });
  }
  view.OnShown();  // builds the series once
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    view.Redraw();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], view.PointCount(), view.DrawnPoints()};
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const Result shortTable = MeasureRedraw(10000, true);
  const Result longTable = MeasureRedraw(1000000, true);
  const Result longWork = MeasureRedraw(1000000, false);
  const double ratio = longTable.medianMs / shortTable.medianMs;
  const int divider = ChartRefreshDivider(1000, static_cast<int>(longTable.medianMs));
  std::printf("chart view redraw, %d items, 1600 x 900, median of %d\n", kItems, kRuns);
  std::printf("  10 000 rows:    %7.2f ms (%d rows in the window, %d points per series)\n",
              shortTable.medianMs, shortTable.points, shortTable.drawn);
  std::printf("  1 000 000 rows: %7.2f ms (%d rows in the window, %d points per series)\n",
              longTable.medianMs, longTable.points, longTable.drawn);
  std::printf("  of which the view's work (rows, cells, series, axes): %7.2f ms\n",
              longWork.medianMs);
  std::printf("  ratio %.2f (target <= %.1f), median target <= %.0f ms\n", ratio, kTargetRatio,
              kTargetMs);
  std::printf("  live divider N at a 1000 ms period: %d\n", divider);
  const bool met = longTable.medianMs <= kTargetMs && ratio <= kTargetRatio;
  std::printf("  %s\n", met ? "targets met" : "TARGETS MISSED");
  return met ? 0 : 1;
}
