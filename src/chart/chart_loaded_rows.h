#pragma once
// A recorded acquisition read in pages by the project explorer (CRecordingPages) read as a
// chart table: the rows walked so far, their times from the walk, their values from the
// cached pages (read now when missing: a page for rows read one after another, the row
// alone for sparse samples), and the extremes of its blocks of rows.
// Thread rule: the owner's thread; while the walk runs, only the rows walked so far.
#include "chart/chart_row_source.h"

class CRecordingPages;

class CLoadedTableRowSource : public IChartRowSource {
 public:
  explicit CLoadedTableRowSource(const CRecordingPages& recording) : m_recording(recording) {}
  int RowCount() const override;
  std::string TimeText(int row) const override;
  double RowTime(int row) const override;
  void RowValues(int row, const std::vector<int>& columns, double* values) const override;
  int BlockRows() const override;
  bool BlockExtremes(int block, const std::vector<int>& columns, double* minimum, double* maximum,
                     bool* minFirst) const override;

 private:
  const CRecordingPages& m_recording;
  mutable int m_nLastRow = -2;
};
