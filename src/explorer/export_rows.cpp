#include "explorer/export_rows.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "explorer/table_text.h"

namespace {

// The byte masks below read the first byte of a word as its lowest.
static_assert(std::endian::native == std::endian::little);

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;

// 0x80 in exactly the bytes of v that are zero.
inline uint64_t ZeroBytes(uint64_t v) {
  return ~(((v & kLow7) + kLow7) | v | kLow7);
}

}  // namespace

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

void AppendExportLine(const CLoadedTable::CRowBuilder& row, char separator, size_t columns,
                      std::string& out) {
  // The row as a loaded table holds it: its first cells, missing ones empty.
  const size_t cells = std::min(columns, static_cast<size_t>(row.Cells()));
  const std::string_view text = row.TextOfCells(static_cast<int>(cells));
  const size_t padding = columns - cells;
  const size_t at = out.size();
  out.resize(at + text.size() + padding + 2);
  char* line = out.data() + at;
  if (CopyWithSeparators(text.data(), text.size(), separator, line)) {
    // A field needs quotes: the row field by field by the one field writer.
    out.resize(at);
    for (size_t column = 0; column < columns; ++column) {
      if (column > 0)
        out += separator;
      if (column < cells)
        AppendCsvField(row.CellText(static_cast<int>(column)), separator, out);
    }
    out += "\r\n";
    return;
  }
  std::memset(line + text.size(), separator, padding);
  size_t end = text.size() + padding;
  if (columns > 0)
    --end;  // the last field's separator
  line[end++] = '\r';
  line[end++] = '\n';
  out.resize(at + end);
}

CExportLineFromText::CExportLineFromText(char separator, size_t columns)
    : m_cSeparator(separator), m_nColumns(columns) {}

bool CExportLineFromText::Append(std::string_view time, std::string_view valueText,
                                 std::string& out) const {
  if (m_nColumns == 0)
    return false;
  for (const char c : time) {
    if (c == '\0' || c == '"' || c == '\r' || c == '\n' || c == m_cSeparator)
      return false;
  }
  // An encoded character, a zero byte or a byte to quote anywhere in the text sends the
  // row the decoded way (the library's search is many bytes a step); then ";" is the only
  // byte left to stop at.
  for (const char rare : {'%', '\0', '"', '\r', '\n', m_cSeparator}) {
    if (rare != ';' && std::memchr(valueText.data(), rare, valueText.size()) != nullptr)
      return false;
  }
  // The line is never longer than the time, the text and its end: each cell's text and
  // separator take the place of its text and two ";" at least.
  const size_t at = out.size();
  out.resize(at + time.size() + valueText.size() + 2);
  const uint64_t semicolon = kOnes * static_cast<uint8_t>(';');
  char* line = out.data() + at;
  std::memcpy(line, time.data(), time.size());
  char* o = line + time.size();
  const char* p = valueText.data();
  const char* const end = p + valueText.size();
  size_t cells = 0;
  bool common = true;
  while (common && p < end) {
    *o++ = m_cSeparator;
    // The cell's text up to its ";", 8 bytes at a time while there is no ";" among them.
    // The bytes stored past the cell stay inside the line's room (see above) and are
    // overwritten by what follows.
    bool found = false;
    while (end - p >= 8) {
      uint64_t v;
      std::memcpy(&v, p, 8);
      std::memcpy(o, &v, 8);
      const uint64_t stops = ZeroBytes(v ^ semicolon);
      if (stops != 0) {
        const int before = std::countr_zero(stops) / 8;  // the bytes before the ";"
        p += before;
        o += before;
        found = true;
        break;
      }
      p += 8;
      o += 8;
    }
    if (!found) {
      while (p < end && *p != ';')
        *o++ = *p++;
      if (p == end) {
        common = false;  // no ";" ends the last cell
        break;
      }
    }
    ++p;
    // Its mark: empty, or one digit 1-7, then ";".
    if (p < end && *p == ';') {
      ++p;
    } else if (end - p >= 2 && *p >= '1' && *p <= '7' && p[1] == ';') {
      p += 2;
    } else {
      common = false;
    }
    ++cells;
  }
  if (!common || cells + 1 != m_nColumns) {
    out.resize(at);
    return false;
  }
  *o++ = '\r';
  *o++ = '\n';
  out.resize(static_cast<size_t>(o - out.data()));
  return true;
}
