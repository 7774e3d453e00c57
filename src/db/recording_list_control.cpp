#include "db/recording_list_control.h"

#include <algorithm>

void CRecordingListControl::Clear() {
  m_columns.clear();
  m_rows.clear();
  ++m_nClears;
}

int CRecordingListControl::AddColumn(const std::string& title, int width, ListAlign align) {
  m_columns.push_back({title, width, align, -1});
  return static_cast<int>(m_columns.size()) - 1;
}

int CRecordingListControl::AddRow(const std::string& firstCell, int64_t itemData) {
  m_rows.push_back({{firstCell}, itemData});
  return static_cast<int>(m_rows.size()) - 1;
}

void CRecordingListControl::SetCell(int row, int column, const std::string& text) {
  if (row < 0 || column < 0 || row >= static_cast<int>(m_rows.size()))
    return;
  std::vector<std::string>& cells = m_rows[static_cast<size_t>(row)].cells;
  if (static_cast<size_t>(column) >= cells.size())
    cells.resize(static_cast<size_t>(column) + 1);
  cells[static_cast<size_t>(column)] = text;
}

void CRecordingListControl::FitColumns() {
  ++m_nFits;
  for (size_t column = 0; column < m_columns.size(); ++column) {
    size_t width = m_columns[column].title.size();
    for (const Row& row : m_rows) {
      if (column < row.cells.size())
        width = std::max(width, row.cells[column].size());
    }
    m_columns[column].fittedWidth = static_cast<int>(width);
  }
}

std::string CRecordingListControl::Cell(int row, int column) const {
  if (row < 0 || column < 0 || row >= static_cast<int>(m_rows.size()))
    return "";
  const std::vector<std::string>& cells = m_rows[static_cast<size_t>(row)].cells;
  return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : "";
}

std::string CRecordingListControl::ToText(char separator) const {
  std::string text;
  for (size_t column = 0; column < m_columns.size(); ++column) {
    if (column > 0)
      text += separator;
    text += m_columns[column].title;
  }
  text += '\n';
  for (const Row& row : m_rows) {
    for (size_t column = 0; column < std::max(row.cells.size(), m_columns.size()); ++column) {
      if (column > 0)
        text += separator;
      if (column < row.cells.size())
        text += row.cells[column];
    }
    text += '\n';
  }
  return text;
}
