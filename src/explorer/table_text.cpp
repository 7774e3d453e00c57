#include "explorer/table_text.h"

#include <algorithm>

#include "base/csv_field.h"
#include "explorer/export_rows.h"

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
  const size_t start = out.size();
  out.resize(start + row.size());
  if (CopyWithSeparators(row.data(), row.size(), separator, out.data() + start) && quoting) {
    out.resize(start);
    return false;
  }
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

bool ClipboardText(const CRecordingPages& recording, std::string& text) {
  text.clear();
  for (const std::string& title : recording.Titles()) {
    text += title;
    text += ',';
  }
  text += kLineEnd;
  std::string cause;
  return StreamRecordingRows(
      recording,
      [&text](const CLoadedTable& batch) {
        const int rows = batch.RowCount();
        for (int row = 0; row < rows; ++row) {
          AppendPlainRow(batch.RowText(row), ',', false, text);
          text += kLineEnd;
        }
        return true;
      },
      cause);
}

bool ExportTextInChunks(const CRecordingPages& recording, char separator, size_t chunkBytes,
                        const std::function<bool(const std::string&)>& sink, std::string& cause) {
  std::string text;
  text.reserve(chunkBytes + 65536);
  // The header of the recording's columns (a batch table has the same titles).
  const auto titles = MakeRecordingPageTable(recording.Titles(), 1);
  AppendExportHeader(*titles, separator, text);
  bool refused = false;
  const bool read = StreamRecordingRows(
      recording,
      [&](const CLoadedTable& batch) {
        const int rows = batch.RowCount();
        for (int row = 0; row < rows; ++row)
          AppendExportRow(batch, row, separator, text);
        if (text.size() >= chunkBytes) {
          if (!sink(text)) {
            refused = true;
            return false;
          }
          text.clear();
        }
        return true;
      },
      cause);
  if (!read || refused)
    return false;
  return text.empty() || sink(text);
}

bool ExportText(const CRecordingPages& recording, char separator, std::string& text) {
  text.clear();
  std::string cause;
  return ExportTextInChunks(
      recording, separator, size_t{1} << 20,
      [&text](const std::string& piece) {
        text += piece;
        return true;
      },
      cause);
}

CPreviewLines::CPreviewLines(const CRecordingPages& recording, char separator, bool aligned)
    : m_pRecording(&recording),
      m_cSeparator(separator),
      m_bAligned(aligned),
      m_nRows(recording.RowCount()),
      m_nColumns(recording.ColumnCount()) {
  if (!aligned)
    return;
  m_widths.assign(static_cast<size_t>(m_nColumns), 0);
  for (int column = 0; column < m_nColumns; ++column)
    m_widths[static_cast<size_t>(column)] =
        std::max(recording.ColumnTitle(column).size(), recording.ColumnWidth(column));
}

CPreviewLines::CPreviewLines(const CLoadedTable& table, char separator, bool aligned)
    : m_pTable(&table),
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
  const int tableColumns =
      m_pTable != nullptr ? m_pTable->ColumnCount() : m_pRecording->ColumnCount();
  const int tableRows = m_pTable != nullptr ? m_pTable->RowCount() : m_pRecording->RowCount();
  if (line < 0 || line >= LineCount() || tableColumns != m_nColumns || tableRows < m_nRows)
    return text;
  // A recording's row is read from its page (kept for the line).
  const CLoadedTable* table = m_pTable;
  int row = line - 1;
  CRecordingPages::Page page;
  if (m_pRecording != nullptr && line > 0) {
    page = m_pRecording->ReadPage(row / CRecordingPages::kPageRows);
    if (page == nullptr)
      return text;
    table = page.get();
    row %= CRecordingPages::kPageRows;
  }
  const int columns = m_nColumns;
  for (int column = 0; column < columns; ++column) {
    const std::string_view cell =
        line == 0 ? std::string_view(m_pTable != nullptr ? m_pTable->ColumnTitle(column)
                                                         : m_pRecording->ColumnTitle(column))
                  : table->Cell(row, column);
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
