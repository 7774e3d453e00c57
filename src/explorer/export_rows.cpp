#include "explorer/export_rows.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "explorer/table_text.h"

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;

// 0x80 in exactly the bytes of v that are zero.
inline uint64_t ZeroBytes(uint64_t v) {
  return ~(((v & kLow7) + kLow7) | v | kLow7);
}

// Copies n bytes turning zero bytes into separator; true when a byte is a double quote,
// CR, LF or the separator (the row then needs quoting).
bool CopyWithSeparators(const char* in, size_t n, char separator, char* out) {
  const uint64_t quote = kOnes * static_cast<uint8_t>('"');
  const uint64_t cr = kOnes * static_cast<uint8_t>('\r');
  const uint64_t lf = kOnes * static_cast<uint8_t>('\n');
  const uint64_t sep = kOnes * static_cast<uint8_t>(separator);
  uint64_t special = 0;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t v;
    std::memcpy(&v, in + i, 8);
    special |= ZeroBytes(v ^ quote) | ZeroBytes(v ^ cr) | ZeroBytes(v ^ lf) | ZeroBytes(v ^ sep);
    const uint64_t zeros = (ZeroBytes(v) >> 7) * 0xFF;
    v |= zeros & sep;
    std::memcpy(out + i, &v, 8);
  }
  bool tail = false;
  for (; i < n; ++i) {
    const char c = in[i];
    tail |= c == '"' || c == '\r' || c == '\n' || c == separator;
    out[i] = c == '\0' ? separator : c;
  }
  return special != 0 || tail;
}

}  // namespace

CExportRowWriter::CExportRowWriter(char separator, size_t columns, size_t bufferBytes,
                                   std::function<bool(std::string_view)> flush)
    : m_cSeparator(separator),
      m_nColumns(columns),
      m_nBufferBytes(bufferBytes),
      m_flush(std::move(flush)) {
  m_buffer.resize(bufferBytes + 65536);
}

bool CExportRowWriter::FlushIfFull() {
  if (m_nUsed < m_nBufferBytes)
    return true;
  const bool flushed = m_flush(std::string_view(m_buffer.data(), m_nUsed));
  m_nUsed = 0;
  return flushed;
}

bool CExportRowWriter::AddHeader(const std::vector<std::string>& titles) {
  std::string line;
  for (size_t column = 0; column < titles.size(); ++column) {
    if (column > 0)
      line += m_cSeparator;
    AppendCsvField(titles[column], m_cSeparator, line);
  }
  line += "\r\n";
  if (m_nUsed + line.size() > m_buffer.size())
    m_buffer.resize(m_nUsed + line.size());
  std::memcpy(m_buffer.data() + m_nUsed, line.data(), line.size());
  m_nUsed += line.size();
  return FlushIfFull();
}

bool CExportRowWriter::AddRow(const CLoadedTable::CRowBuilder& row) {
  // The row as a loaded table holds it: its first cells, missing ones empty.
  const size_t cells = std::min(m_nColumns, static_cast<size_t>(row.Cells()));
  const std::string_view text = row.TextOfCells(static_cast<int>(cells));
  const size_t padding = m_nColumns - cells;
  const size_t bytes = text.size() + padding + 2;
  if (m_nUsed + bytes > m_buffer.size())
    m_buffer.resize(m_nUsed + bytes);
  char* out = m_buffer.data() + m_nUsed;
  if (CopyWithSeparators(text.data(), text.size(), m_cSeparator, out)) {
    AppendQuotedRow(row, cells);
    return FlushIfFull();
  }
  std::memset(out + text.size(), m_cSeparator, padding);
  size_t end = text.size() + padding;
  if (m_nColumns > 0)
    --end;  // the last field's separator
  out[end++] = '\r';
  out[end++] = '\n';
  m_nUsed += end;
  return FlushIfFull();
}

void CExportRowWriter::AppendQuotedRow(const CLoadedTable::CRowBuilder& row, size_t cells) {
  std::string line;
  for (size_t column = 0; column < m_nColumns; ++column) {
    if (column > 0)
      line += m_cSeparator;
    if (column < cells)
      AppendCsvField(row.CellText(static_cast<int>(column)), m_cSeparator, line);
  }
  line += "\r\n";
  if (m_nUsed + line.size() > m_buffer.size())
    m_buffer.resize(m_nUsed + line.size());
  std::memcpy(m_buffer.data() + m_nUsed, line.data(), line.size());
  m_nUsed += line.size();
}

bool CExportRowWriter::Finish() {
  if (m_nUsed == 0)
    return true;
  const bool flushed = m_flush(std::string_view(m_buffer.data(), m_nUsed));
  m_nUsed = 0;
  return flushed;
}
