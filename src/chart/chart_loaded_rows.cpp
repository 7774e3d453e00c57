#include "chart/chart_loaded_rows.h"

#include "base/number_text.h"
#include "chart/chart_view_rules.h"
#include "explorer/loaded_table.h"

int CLoadedTableRowSource::RowCount() const {
  return m_table.RowCount();
}

std::string CLoadedTableRowSource::TimeText(int row) const {
  return std::string(m_table.Cell(row, 0));
}

double CLoadedTableRowSource::RowTime(int row) const {
  return ParseChartTimeText(m_table.Cell(row, 0)).value_or(0.0);
}

void CLoadedTableRowSource::RowValues(int row, const std::vector<int>& columns,
                                      double* values) const {
  for (size_t i = 0; i < columns.size(); ++i)
    values[i] = ChartCellValue(m_table.Cell(row, columns[i]));
}
