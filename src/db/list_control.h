#pragma once
// IListControl: the few operations the list fillers (CSQLite::UpdateListCtrl and the
// like) need from a list. The GUI adapter fills a Qt table; CRecordingListControl keeps
// the cells for tests and the command-line tool. Thread rule: the filler's thread.
#include <cstdint>
#include <string>

enum class ListAlign { kLeft, kRight, kCentre };

class IListControl {
 public:
  virtual ~IListControl() = default;
  // Removes every row and every column.
  virtual void Clear() = 0;
  // Appends a column; returns its index.
  virtual int AddColumn(const std::string& title, int width,
                        ListAlign align = ListAlign::kLeft) = 0;
  // Appends a row whose first cell is firstCell; returns the row index.
  virtual int AddRow(const std::string& firstCell, int64_t itemData = 0) = 0;
  // Sets the text of one cell of an existing row (column 0 is the first cell).
  virtual void SetCell(int row, int column, const std::string& text) = 0;
  // Sizes every column to fit both its content and its header.
  virtual void FitColumns() = 0;
};
