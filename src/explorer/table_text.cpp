#include "explorer/table_text.h"

#include <algorithm>

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kAlignedSeparator[] = " | ";

bool NeedsQuotes(std::string_view field, char separator) {
  for (char c : field) {
    if (c == separator || c == '"' || c == '\r' || c == '\n')
      return true;
  }
  return false;
}

// Bytes a table's text will take, so it is built in one allocation.
size_t TextBytes(const CLoadedTable& table, size_t perField) {
  size_t bytes = 0;
  for (const std::string& title : table.Titles())
    bytes += title.size() + perField;
  const int rows = table.RowCount();
  const int columns = table.ColumnCount();
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column)
      bytes += table.Cell(row, column).size() + perField;
    bytes += 2;
  }
  return bytes + 2;
}

}  // namespace

std::string ClipboardText(const CLoadedTable& table) {
  std::string text;
  text.reserve(TextBytes(table, 1));
  for (const std::string& title : table.Titles()) {
    text += title;
    text += ',';
  }
  text += kLineEnd;
  const int rows = table.RowCount();
  const int columns = table.ColumnCount();
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      text += table.Cell(row, column);
      text += ',';
    }
    text += kLineEnd;
  }
  return text;
}

void AppendCsvField(std::string_view field, char separator, std::string& out) {
  if (!NeedsQuotes(field, separator)) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

std::string ExportText(const CLoadedTable& table, char separator) {
  std::string text;
  text.reserve(TextBytes(table, 1) + 64);
  const int columns = table.ColumnCount();
  for (int column = 0; column < columns; ++column) {
    if (column > 0)
      text += separator;
    AppendCsvField(table.ColumnTitle(column), separator, text);
  }
  text += kLineEnd;
  const int rows = table.RowCount();
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      if (column > 0)
        text += separator;
      AppendCsvField(table.Cell(row, column), separator, text);
    }
    text += kLineEnd;
  }
  return text;
}

CPreviewLines::CPreviewLines(const CLoadedTable& table, char separator, bool aligned)
    : m_table(table), m_cSeparator(separator), m_bAligned(aligned) {
  if (!aligned)
    return;
  const int columns = table.ColumnCount();
  m_widths.assign(static_cast<size_t>(columns), 0);
  for (int column = 0; column < columns; ++column)
    m_widths[static_cast<size_t>(column)] = table.ColumnTitle(column).size();
  const int rows = table.RowCount();
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      size_t& width = m_widths[static_cast<size_t>(column)];
      width = std::max(width, table.Cell(row, column).size());
    }
  }
}

std::string CPreviewLines::Line(int line) const {
  std::string text;
  if (line < 0 || line >= LineCount())
    return text;
  const int columns = m_table.ColumnCount();
  for (int column = 0; column < columns; ++column) {
    const std::string_view cell =
        line == 0 ? std::string_view(m_table.ColumnTitle(column)) : m_table.Cell(line - 1, column);
    if (!m_bAligned) {
      if (column > 0)
        text += m_cSeparator;
      AppendCsvField(cell, m_cSeparator, text);
      continue;
    }
    if (column > 0)
      text += kAlignedSeparator;
    text += cell;
    const size_t width = m_widths[static_cast<size_t>(column)];
    if (cell.size() < width)
      text.append(width - cell.size(), ' ');
  }
  return text;
}
