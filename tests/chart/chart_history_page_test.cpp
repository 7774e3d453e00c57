// The live chart over a long acquisition: a page of rows no longer in the history's
// memory is drawn from the rows read back from the recording, exactly as from memory; a
// window of many hours draws from the history's block summary without reading them back.
#include <gtest/gtest.h>

#include <cmath>

#include "acquisition/historical_data_list.h"
#include "base/number_text.h"
#include "chart/chart_block_fill.h"
#include "chart/chart_model.h"
#include "chart/chart_real_time_rows.h"
#include "chart/chart_view_model.h"
#include "chart/chart_view_rules.h"
#include "chart_view_test_support.h"
#include "test_context.h"

namespace {

// A recording whose row id n holds the data set of second n after the fake rows' start,
// with the value n / 10.
class CSecondsRecording : public IRecordedRowReader {
 public:
  static DataSetPtr Make(int64_t id) {
    DataSet row(FormatTimeStampMs(LocalTimeFromUnixMs(CFakeChartRows::StartMs() + id * 1000)), 1);
    row.SetCell(1, FormatFixed(static_cast<double>(id) / 10.0, 2));
    return std::make_shared<const CompactDataSet>(row);
  }
  bool ReadStoredRows(int64_t firstRowId, int64_t lastRowId, int offset, int count, int,
                      std::vector<RecordedRow>& rows) const override {
    ++reads;
    for (int64_t id = firstRowId + offset; id <= lastRowId && count > 0; ++id, --count)
      rows.emplace_back(id, Make(id));
    return true;
  }
  mutable int reads = 0;
};

double Tenth(int row) {
  return row / 10.0;
}

TEST(ChartHistoryPageTest, APageOfRowsNoLongerInMemoryDrawsAsFromMemory) {
  // Two hours acquired, the last 100 rows in memory.
  HistoricalDataList list;
  list.Reset(1);
  auto recording = std::make_shared<CSecondsRecording>();
  list.SetRecording(recording, 100);
  for (int id = 0; id < 7200; ++id) {
    const int row = list.Append(DataSet(*CSecondsRecording::Make(id)));
    list.SetRowId(row, id);
  }
  ASSERT_EQ(list.FirstInMemory(), 7100);
  CHistoryRowSource history(list);
  CFakeChartRows memory;
  memory.AddRows(7200, {Tenth});

  TestContext test;
  const std::vector<QueryCell> cells = ChartItemCells({{"A"}});
  auto draw = [&](const IChartRowSource& source, CChartModel& chart) {
    auto view = std::make_unique<CChartViewModel>(test.context, chart);
    view->Create();
    view->SetItemQuery([&](const std::string&, std::vector<QueryCell>& out) {
      out.insert(out.end(), cells.begin(), cells.end());
      return 5;
    });
    view->SetSource(&source);
    view->SetAcquisitionId(7);
    view->OnShown();
    EXPECT_TRUE(view->UpdateChart(CFakeChartRows::Start() + 30 * kChartOneMinute));
    EXPECT_EQ(view->PointCount(), 3601);
    return view;
  };
  CChartModel fromRecording;
  CChartModel fromMemory;
  auto recorded = draw(history, fromRecording);
  auto kept = draw(memory, fromMemory);
  EXPECT_GT(recording->reads, 0);
  const auto& a = fromRecording.Serie(recorded->Item(0).m_nSerieId)->Points();
  const auto& b = fromMemory.Serie(kept->Item(0).m_nSerieId)->Points();
  ASSERT_EQ(a.size(), b.size());
  ASSERT_FALSE(a.empty());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_DOUBLE_EQ(a[i].X, b[i].X) << i;
    EXPECT_DOUBLE_EQ(a[i].Y, b[i].Y) << i;
  }
  EXPECT_DOUBLE_EQ(a.front().Y, 180.0);  // row 1800: half an hour in
}

// A value that swings within every block, so that a block's minimum comes before its
// maximum in some blocks and after it in others; every 97th cell is empty.
double Swing(int row) {
  return row % 97 == 0 ? kChartNoValue : static_cast<double>((row * 7919) % 1013) - 500.0;
}

// Row id n: second n, value Swing(n).
class CSwingRecording : public IRecordedRowReader {
 public:
  static DataSet Make(int64_t id) {
    DataSet row(FormatTimeStampMs(LocalTimeFromUnixMs(CFakeChartRows::StartMs() + id * 1000)), 1);
    const double value = Swing(static_cast<int>(id));
    if (!std::isnan(value))
      row.SetCell(1, FormatFixed(value, 2));
    return row;
  }
  bool ReadStoredRows(int64_t firstRowId, int64_t lastRowId, int offset, int count, int,
                      std::vector<RecordedRow>& rows) const override {
    ++reads;
    for (int64_t id = firstRowId + offset; id <= lastRowId && count > 0; ++id, --count)
      rows.emplace_back(id, std::make_shared<const CompactDataSet>(Make(id)));
    return true;
  }
  mutable int reads = 0;
};

// The rows in memory, drawn by the same block fill but from every row (no summary).
class CEveryRowSource : public CFakeChartRows {
 public:
  int BlockRows() const override { return HistoricalDataList::kBlockRows; }
};

TEST(ChartHistoryPageTest, AWindowOfManyHoursDrawsFromTheSummaryNotTheRecording) {
  // Twelve hours acquired, the last 300 rows in memory.
  constexpr int kRows = 12 * 3600;
  HistoricalDataList list;
  list.Reset(1);
  auto recording = std::make_shared<CSwingRecording>();
  list.SetRecording(recording, 300);
  for (int id = 0; id < kRows; ++id)
    list.SetRowId(list.Append(CSwingRecording::Make(id)), id);
  CHistoryRowSource history(list);
  CEveryRowSource memory;
  memory.AddRows(kRows, {Swing});

  // Rows 700 .. 40 000: cut blocks at both ends, whole blocks between, the last rows in
  // memory beyond the summary.
  const std::vector<int> columns{1};
  auto fill = [&](const IChartRowSource& source, std::vector<double>& times,
                  std::vector<double>& values) {
    times.assign(kChartMaxPoints, 0.0);
    values.assign(kChartMaxPoints, 0.0);
    std::vector<double> row(1);
    return FillFromBlocks(source, 700, kRows - 100, columns,
                          {times.data(), values.data(), row.data()});
  };
  std::vector<double> summaryTimes, summaryValues, rowTimes, rowValues;
  const int readsBefore = recording->reads;
  const ChartFill fromSummary = fill(history, summaryTimes, summaryValues);
  const ChartFill fromRows = fill(memory, rowTimes, rowValues);
  ASSERT_EQ(fromSummary.drawn, fromRows.drawn);
  ASSERT_EQ(fromSummary.step, fromRows.step);
  EXPECT_GT(fromSummary.drawn, 100);
  for (int i = 0; i < fromSummary.drawn; ++i) {
    EXPECT_DOUBLE_EQ(summaryTimes[i], rowTimes[i]) << i;
    EXPECT_DOUBLE_EQ(summaryValues[i], rowValues[i]) << i;
  }
  // Read back: the block cut at the start and the one partly in memory, two pages each;
  // not the 83 blocks between.
  EXPECT_LE(recording->reads - readsBefore, 4);
  // The live chart reads every row's time in order (for a step back of the clocks): the
  // list kept them, nothing is read back.
  const int readsAfterFill = recording->reads;
  CRealTimeRowSource realTime(history);
  EXPECT_DOUBLE_EQ(realTime.RowTime(kRows - 1), rowTimes[0] + (kRows - 1 - 700) / 86400.0);
  EXPECT_EQ(recording->reads, readsAfterFill);

  // Cleared and acquired anew: the summary is of the new rows only.
  list.Clear();
  for (int id = 0; id < 2000; ++id) {
    DataSet row = CSwingRecording::Make(id);
    row.SetCell(1, "1.00");
    list.SetRowId(list.Append(row), kRows + id);
  }
  double minimum = 0.0, maximum = 0.0;
  bool minFirst = false;
  ASSERT_TRUE(list.BlockExtremes(0, columns, &minimum, &maximum, &minFirst));
  EXPECT_EQ(minimum, 1.0);
  EXPECT_EQ(maximum, 1.0);
  EXPECT_FALSE(list.BlockExtremes(3, columns, &minimum, &maximum, &minFirst));  // in memory
  EXPECT_EQ(list.OlderRowTimeMs(510), CFakeChartRows::StartMs() + 510 * 1000);
  EXPECT_EQ(list.OlderRowTimeMs(1699), CFakeChartRows::StartMs() + 1699 * 1000);
  EXPECT_EQ(list.OlderRowTimeMs(1700), kNoRowTime);  // in memory: its text says it
}

}  // namespace
