#pragma once
// A recorded acquisition loaded by the project explorer (CLoadedTable) read as a chart
// table. Thread rule: the owner's thread; while a load runs, only the rows published so
// far are read.
#include "chart/chart_row_source.h"

class CLoadedTable;

class CLoadedTableRowSource : public IChartRowSource {
 public:
  explicit CLoadedTableRowSource(const CLoadedTable& table) : m_table(table) {}
  int RowCount() const override;
  std::string TimeText(int row) const override;
  double RowTime(int row) const override;
  void RowValues(int row, const std::vector<int>& columns, double* values) const override;

 private:
  const CLoadedTable& m_table;
};
