// The live chart over a long acquisition: a page of rows no longer in the history's
// memory is drawn from the rows read back from the recording, exactly as from memory.
#include <gtest/gtest.h>

#include "acquisition/historical_data_list.h"
#include "base/number_text.h"
#include "chart/chart_model.h"
#include "chart/chart_view_model.h"
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

}  // namespace
