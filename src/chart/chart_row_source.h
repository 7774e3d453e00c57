#pragma once
// IChartRowSource: how the chart view reads the data table it draws, without a copy of
// its own: one row per acquisition instant in time order, column 0 the time text and
// column k + 1 the value text of the k-th item. The live chart reads the acquisition's
// HistoricalDataList, the project chart the loaded recorded acquisition.
// Thread rule: called on the GUI thread; the live list may grow meanwhile (rows appended
// by the same thread between calls).
#include <string>
#include <vector>

class HistoricalDataList;

class IChartRowSource {
 public:
  virtual ~IChartRowSource() = default;
  virtual int RowCount() const = 0;
  virtual std::string TimeText(int row) const = 0;
  // The row's time as an automation date (0.0 when the text is not a time).
  virtual double RowTime(int row) const;
  // The cells of columns (1..N) of one row as numbers, into values (a cell that is not a
  // number, or outside the row, gives 0.0).
  virtual void RowValues(int row, const std::vector<int>& columns, double* values) const = 0;
};

// A HistoricalDataList read as a chart table.
class CHistoryRowSource : public IChartRowSource {
 public:
  explicit CHistoryRowSource(const HistoricalDataList& list) : m_list(list) {}
  int RowCount() const override;
  std::string TimeText(int row) const override;
  void RowValues(int row, const std::vector<int>& columns, double* values) const override;

 private:
  const HistoricalDataList& m_list;
};

// Finding a row by time. atOrAfter: the first row at or after target, else the last row
// at or before it. The walk starts at the row that the acquisition period (whole
// seconds, at least 1) predicts from the acquisition start, and ends at the same row from
// any start. Comparisons take half a second of tolerance.
int FindChartRow(const IChartRowSource& source, double target, bool atOrAfter, int lastRow,
                 double acquisitionStart, int periodSeconds);
