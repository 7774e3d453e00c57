#pragma once
// IChartRowSource: how the chart view reads the data table it draws, without a copy of
// its own: one row per acquisition instant in time order, column 0 the time text and
// column k + 1 the value text of the k-th item. The live chart reads the acquisition's
// HistoricalDataList, the project chart the loaded recorded acquisition.
// Thread rule: called on the GUI thread; the live list may grow meanwhile (rows appended
// by the same thread between calls).
#include <limits>
#include <string>
#include <string_view>
#include <vector>

class HistoricalDataList;

inline constexpr double kChartNoValue = std::numeric_limits<double>::quiet_NaN();
// A cell's number: kChartNoValue when the cell is empty, else its leading number (0.0
// when there is none).
double ChartCellValue(std::string_view text);

class IChartRowSource {
 public:
  virtual ~IChartRowSource() = default;
  virtual int RowCount() const = 0;
  virtual std::string TimeText(int row) const = 0;
  // The row's time as an automation date (0.0 when the text is not a time).
  virtual double RowTime(int row) const;
  // The cells of columns (1..N) of one row as numbers, into values: a cell that is not a
  // number gives 0.0; an empty cell (a group not read yet, a row outside the list) gives
  // kChartNoValue, which draws no point rather than a false drop to zero.
  virtual void RowValues(int row, const std::vector<int>& columns, double* values) const = 0;
  // Sources that keep the extremes of blocks of rows (a recording read in pages): the rows
  // of a block (block b holds rows b * BlockRows() on), 0 when there are none.
  virtual int BlockRows() const { return 0; }
  // Per column of columns: the minimum and maximum of the block's values (NaN: none) and
  // whether the minimum came first. False when the block is not known (yet).
  virtual bool BlockExtremes(int /*block*/, const std::vector<int>& /*columns*/,
                             double* /*minimum*/, double* /*maximum*/, bool* /*minFirst*/) const {
    return false;
  }
};

// A HistoricalDataList read as a chart table.
class CHistoryRowSource : public IChartRowSource {
 public:
  explicit CHistoryRowSource(const HistoricalDataList& list) : m_list(list) {}
  int RowCount() const override;
  std::string TimeText(int row) const override;
  // Rows no longer in the list's memory take the time the list kept of them rather than
  // reading them back from the recording.
  double RowTime(int row) const override;
  void RowValues(int row, const std::vector<int>& columns, double* values) const override;
  int BlockRows() const override;
  bool BlockExtremes(int block, const std::vector<int>& columns, double* minimum, double* maximum,
                     bool* minFirst) const override;

 private:
  const HistoricalDataList& m_list;
};

// Finding a row by time. atOrAfter: the first row at or after target, else the last row
// at or before it. The walk starts at the row that the acquisition period (whole
// seconds, at least 1) predicts from the acquisition start, and ends at the same row from
// any start. Comparisons take half a second of tolerance.
int FindChartRow(const IChartRowSource& source, double target, bool atOrAfter, int lastRow,
                 double acquisitionStart, int periodSeconds);
