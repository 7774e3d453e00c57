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
