#pragma once
// A data table in memory and an item list for the chart view's tests.
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/time_text.h"
#include "chart/chart_row_source.h"
#include "chart/chart_view_rules.h"
#include "db/query_cell.h"

// One row per second from 07/Dec/2026 10:00:00, one column per function of the row.
class CFakeChartRows : public IChartRowSource {
 public:
  static int64_t StartMs() { return UnixMsFromLocalTime(LocalTime{2026, 12, 7, 10, 0, 0, 0, 1}); }
  void AddRows(int count, const std::vector<double (*)(int)>& columns, int periodMs = 1000) {
    for (int i = 0; i < count; ++i) {
      const int row = static_cast<int>(m_times.size());
      m_times.push_back(
          FormatTimeStampMs(LocalTimeFromUnixMs(StartMs() + int64_t{row} * periodMs)));
      m_values.resize(columns.size());
      for (size_t c = 0; c < columns.size(); ++c)
        m_values[c].push_back(columns[c](row));
    }
  }
  int RowCount() const override { return static_cast<int>(m_times.size()); }
  std::string TimeText(int row) const override { return m_times[static_cast<size_t>(row)]; }
  void RowValues(int row, const std::vector<int>& columns, double* values) const override {
    for (size_t i = 0; i < columns.size(); ++i) {
      const size_t c = static_cast<size_t>(columns[i] - 1);
      values[i] = c < m_values.size() ? m_values[c][static_cast<size_t>(row)] : 0.0;
    }
  }
  static double Start() { return *ParseChartTimeText("07/Dec/2026 10:00:00.000"); }

 private:
  std::vector<std::string> m_times;
  std::vector<std::vector<double>> m_values;
};

struct FakeChartItem {
  std::string qualified;
  int dataType = 5;  // VT_R8
};

// The cells of the item query for these items.
inline std::vector<QueryCell> ChartItemCells(const std::vector<FakeChartItem>& items) {
  std::vector<QueryCell> cells;
  for (const FakeChartItem& item : items) {
    auto text = [](const char* name, std::string value) {
      QueryCell cell;
      cell.columnName = name;
      cell.columnType = kCellText;
      cell.text = std::move(value);
      return cell;
    };
    auto number = [](const char* name, int value) {
      QueryCell cell;
      cell.columnName = name;
      cell.columnType = kCellInteger;
      cell.intValue = value;
      return cell;
    };
    cells.push_back(text("OPCAcqItem_QualifiedName", "Plant." + item.qualified));
    cells.push_back(text("OPCAcqItem_ShortName", item.qualified));
    cells.push_back(text("OPCAcqItem_Data", item.qualified + " description"));
    cells.push_back(number("OPCAcqItem_ItemType", 0));
    cells.push_back(number("OPCAcqItem_DataType", item.dataType));
  }
  return cells;
}
