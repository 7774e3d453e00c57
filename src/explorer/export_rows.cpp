#include "explorer/export_rows.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

CExportLineFromText::CExportLineFromText(char separator, size_t columns)
    : m_cSeparator(separator),
      // With ";" as the separator, the cells' own ";" are no rare bytes.
      m_cRareSeparator(separator == ';' ? '%' : separator),
      m_nColumns(columns) {}

bool CExportLineFromText::IsRare(char c) const {
  return c == '%' || c == '\0' || c == '"' || c == '\r' || c == '\n' || c == m_cRareSeparator;
}

CExportLineFromText::ChunkMarks CExportLineFromText::MarkChunk(const char* p) const {
  ChunkMarks marks;
#ifdef __SSE2__
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const auto equal = [&v](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
  marks.semicolons = static_cast<uint32_t>(_mm_movemask_epi8(equal(';')));
  const __m128i rare = _mm_or_si128(
      _mm_or_si128(_mm_or_si128(equal('%'), equal('\0')), _mm_or_si128(equal('"'), equal('\r'))),
      _mm_or_si128(equal('\n'), equal(m_cRareSeparator)));
  marks.rare = _mm_movemask_epi8(rare) != 0;
#else
  for (int i = 0; i < 16; ++i) {
    marks.semicolons |= p[i] == ';' ? uint32_t{1} << i : 0;
    marks.rare = marks.rare || IsRare(p[i]);
  }
#endif
  return marks;
}

bool CExportLineFromText::Append(std::string_view time, std::string_view valueText,
                                 std::string& out) const {
  if (m_nColumns == 0)
    return false;
  for (const char c : time) {
    if (c == '\0' || c == '"' || c == '\r' || c == '\n' || c == m_cSeparator)
      return false;
  }
  // The line is never longer than the time, the text and its end: each cell's text and
  // separator take the place of its text and two ";" at least. So, when a cell starts at
  // least 16 bytes before the text's end, 16 bytes stored for it stay inside the line's
  // room (what lies past the cell is overwritten by what follows).
  const size_t at = out.size();
  out.resize(at + time.size() + valueText.size() + 2);
  char* line = out.data() + at;
  std::memcpy(line, time.data(), time.size());
  char* o = line + time.size();
  const char* const text = valueText.data();
  const size_t size = valueText.size();
  bool inCell = true;     // the next ";" ends a cell's text, else its mark
  size_t fieldStart = 0;  // where the cell's text or its mark begins
  size_t cells = 0;
  auto semicolonAt = [&](size_t q) {
    const size_t length = q - fieldStart;
    if (inCell) {
      *o++ = m_cSeparator;
      if (length <= 16 && size - fieldStart >= 16)
        std::memcpy(o, text + fieldStart, 16);
      else
        std::memcpy(o, text + fieldStart, length);
      o += length;
    } else {
      // The mark: empty, or one digit 1-7.
      if (length > 1 || (length == 1 && (text[fieldStart] < '1' || text[fieldStart] > '7')))
        return false;
      ++cells;
    }
    inCell = !inCell;
    fieldStart = q + 1;
    return true;
  };
  // 16 bytes a step: the ";" among them, and whether any is an encoded character, a zero
  // byte or a byte to quote (the row then goes the decoded way).
  size_t base = 0;
  for (; base + 16 <= size; base += 16) {
    const ChunkMarks marks = MarkChunk(text + base);
    if (marks.rare)
      break;
    for (uint32_t bits = marks.semicolons; bits != 0; bits &= bits - 1) {
      if (!semicolonAt(base + static_cast<size_t>(std::countr_zero(bits))))
        return Decline(out, at);
    }
  }
  for (; base < size; ++base) {
    const char c = text[base];
    if (IsRare(c) || (c == ';' && !semicolonAt(base)))
      return Decline(out, at);
  }
  if (!inCell || fieldStart != size || cells + 1 != m_nColumns)
    return Decline(out, at);
  *o++ = '\r';
  *o++ = '\n';
  out.resize(static_cast<size_t>(o - out.data()));
  return true;
}

bool CExportLineFromText::Decline(std::string& out, size_t at) {
  out.resize(at);
  return false;
}
