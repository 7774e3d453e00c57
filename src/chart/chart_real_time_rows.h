#pragma once
// CRealTimeRowSource: a chart table whose times run in the order of real time. The time
// texts are local wall-clock times: when the clocks go back (the end of daylight-saving
// time) an hour of texts comes twice, and drawn as written the second hour falls on the
// first. This source adds the hour (or whatever the clocks went back, to the quarter
// hour) to every row after such a step back, so that the times keep rising.
// Thread rule: as the table it reads (GUI thread).
#include <utility>
#include <vector>

#include "chart/chart_row_source.h"

class CRealTimeRowSource : public IChartRowSource {
 public:
  explicit CRealTimeRowSource(const IChartRowSource& table) : m_table(table) {}

  int RowCount() const override { return m_table.RowCount(); }
  std::string TimeText(int row) const override { return m_table.TimeText(row); }
  // The row's time, shifted past every step back before it.
  double RowTime(int row) const override;
  // The time as the text says it (the wall clock).
  double WallTime(int row) const { return m_table.RowTime(row); }
  void RowValues(int row, const std::vector<int>& columns, double* values) const override {
    m_table.RowValues(row, columns, values);
  }
  int BlockRows() const override { return m_table.BlockRows(); }
  bool BlockExtremes(int block, const std::vector<int>& columns, double* minimum, double* maximum,
                     bool* minFirst) const override {
    return m_table.BlockExtremes(block, columns, minimum, maximum, minFirst);
  }
  // Forgets what was read when the table was cleared or filled anew since.
  void Revalidate();
  // The steps back found so far: the first row after each and the shift from there on.
  const std::vector<std::pair<int, double>>& Shifts() const { return m_vShifts; }

 private:
  // Reads the times up to row once (the rows before keep what was found).
  void ScanTo(int row) const;

  const IChartRowSource& m_table;
  mutable int m_nScanned = 0;  // rows whose times were read
  mutable double m_dFirst = 0.0;
  mutable double m_dPrevious = 0.0;
  mutable std::vector<std::pair<int, double>> m_vShifts;
};
