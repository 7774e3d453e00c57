#pragma once
// CRecordingListControl: an IListControl that keeps what it was told, for tests and for
// the command-line tool, which prints it. Thread rule: one thread.
#include <string>
#include <vector>

#include "db/list_control.h"

class CRecordingListControl : public IListControl {
 public:
  struct Column {
    std::string title;
    int width = 0;  // as added
    ListAlign align = ListAlign::kLeft;
    int fittedWidth = -1;  // set by FitColumns
  };
  struct Row {
    std::vector<std::string> cells;
    int64_t itemData = 0;
  };

  void Clear() override;
  int AddColumn(const std::string& title, int width, ListAlign align = ListAlign::kLeft) override;
  int AddRow(const std::string& firstCell, int64_t itemData = 0) override;
  void SetCell(int row, int column, const std::string& text) override;
  // Fitted widths: the longest text of each column, header included, in characters.
  void FitColumns() override;

  const std::vector<Column>& Columns() const { return m_columns; }
  const std::vector<Row>& Rows() const { return m_rows; }
  // Text of a cell; empty when the cell was never set.
  std::string Cell(int row, int column) const;
  int ClearCount() const { return m_nClears; }
  int FitCount() const { return m_nFits; }
  // Header line and one line per row, cells separated by separator.
  std::string ToText(char separator = '\t') const;

 private:
  std::vector<Column> m_columns;
  std::vector<Row> m_rows;
  int m_nClears = 0;
  int m_nFits = 0;
};
