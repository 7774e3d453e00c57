#include "explorer/table_text.h"

#include <algorithm>

#include "base/csv_field.h"

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kAlignedSeparator[] = " | ";

// Bytes a table's text will take, so it is built in one allocation.
size_t TextBytes(const CLoadedTable& table) {
  size_t bytes = 0;
  for (const std::string& title : table.Titles())
    bytes += title.size() + 1;
  const int rows = table.RowCount();
  for (int row = 0; row < rows; ++row)
    bytes += table.RowText(row).size() + 2;
  return bytes + 2;
}

// The row's fields with their zero bytes turned into the separator; false (nothing
// appended) when a field needs quotes. Rows are copied whole, which keeps the export
// near the speed of writing the bytes.
bool AppendPlainRow(std::string_view row, char separator, bool quoting, std::string& out) {
  if (quoting && CsvFieldNeedsQuotes(row, CsvQuoting::Separator(separator)))
    return false;
  const size_t start = out.size();
  out.append(row);
  char* bytes = out.data() + start;
  for (size_t i = 0; i < row.size(); ++i)
    bytes[i] = bytes[i] == '\0' ? separator : bytes[i];
  return true;
}

}  // namespace

std::string ClipboardText(const CLoadedTable& table) {
  std::string text;
  text.reserve(TextBytes(table));
  for (const std::string& title : table.Titles()) {
    text += title;
    text += ',';
  }
  text += kLineEnd;
  const int rows = table.RowCount();
  for (int row = 0; row < rows; ++row) {
    AppendPlainRow(table.RowText(row), ',', false, text);
    text += kLineEnd;
  }
  return text;
}

void AppendCsvField(std::string_view field, char separator, std::string& out) {
  AppendCsvField(out, field, CsvQuoting::Separator(separator));
}

namespace {

void AppendExportRow(const CLoadedTable& table, int row, char separator, std::string& text) {
  const int columns = table.ColumnCount();
  if (AppendPlainRow(table.RowText(row), separator, true, text)) {
    if (columns > 0)
      text.back() = '\r';  // where the last field's separator went
    else
      text += '\r';
    text += '\n';
    return;
  }
  for (int column = 0; column < columns; ++column) {
    if (column > 0)
      text += separator;
    AppendCsvField(table.Cell(row, column), separator, text);
  }
  text += kLineEnd;
}

void AppendExportHeader(const CLoadedTable& table, char separator, std::string& text) {
  const int columns = table.ColumnCount();
  for (int column = 0; column < columns; ++column) {
    if (column > 0)
      text += separator;
    AppendCsvField(table.ColumnTitle(column), separator, text);
  }
  text += kLineEnd;
}

}  // namespace

std::string ExportText(const CLoadedTable& table, char separator) {
  std::string text;
  text.reserve(TextBytes(table) + 64);
  AppendExportHeader(table, separator, text);
  const int rows = table.RowCount();
  for (int row = 0; row < rows; ++row)
    AppendExportRow(table, row, separator, text);
  return text;
}

bool ExportTextInChunks(const CLoadedTable& table, char separator, size_t chunkBytes,
                        const std::function<bool(const std::string&)>& sink) {
  std::string text;
  text.reserve(chunkBytes + 65536);
  AppendExportHeader(table, separator, text);
  const int rows = table.RowCount();
  for (int row = 0; row < rows; ++row) {
    AppendExportRow(table, row, separator, text);
    if (text.size() >= chunkBytes) {
      if (!sink(text))
        return false;
      text.clear();
    }
  }
  return text.empty() || sink(text);
}

CPreviewLines::CPreviewLines(const CLoadedTable& table, char separator, bool aligned)
    : m_table(table),
      m_cSeparator(separator),
      m_bAligned(aligned),
      m_nRows(table.RowCount()),
      m_nColumns(table.ColumnCount()) {
  if (!aligned)
    return;
  const int columns = m_nColumns;
  m_widths.assign(static_cast<size_t>(columns), 0);
  for (int column = 0; column < columns; ++column)
    m_widths[static_cast<size_t>(column)] = table.ColumnTitle(column).size();
  for (int row = 0; row < m_nRows; ++row) {
    for (int column = 0; column < columns; ++column) {
      size_t& width = m_widths[static_cast<size_t>(column)];
      width = std::max(width, table.Cell(row, column).size());
    }
  }
}

std::string CPreviewLines::Line(int line) const {
  std::string text;
  // A table emptied or refilled since then gives no line.
  if (line < 0 || line >= LineCount() || m_table.ColumnCount() != m_nColumns ||
      m_table.RowCount() < m_nRows)
    return text;
  const int columns = m_nColumns;
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
