#pragma once
// The stored form of a data set: for each item column, its cell text then ";", its status
// bits as 1..7 then ";" (or ";" alone when 0). No time, no header, no terminator. The text
// is stored as a zlib stream (RFC 1950; level 6, 15-bit window, memory level 8).
// A cell text holding ";", "%" or a zero byte (string values may) is written with ";" as
// "%3B", "%" as "%25" and the zero byte as "%00", so that the columns never shift; readers
// decode exactly those three. A cell text is stored with at most kMaxValueCellText bytes,
// so a value text of N columns never inflates past StoredValueTextLimit(N).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/data_set.h"

inline constexpr size_t kMaxValueCellText = 8192;
// The longest stored field of one column: the text, every byte encoded in three, then
// ";", one status digit and ";".
inline constexpr size_t kMaxStoredValueCell = 3 * kMaxValueCellText + 3;
// The most bytes a value text of itemColumns columns can hold (a reader inflating more
// holds a damaged or hostile row).
inline size_t StoredValueTextLimit(int itemColumns) {
  return static_cast<size_t>(itemColumns > 0 ? itemColumns : 1) * kMaxStoredValueCell;
}

std::string OPCAcqValueText(const CompactDataSet& row);
std::string OPCAcqValueText(const DataSet& row);

// One column of a stored value text.
struct StoredValueField {
  std::string text;    // decoded cell text
  uint8_t status = 0;  // status bits
};
// The cell text as it is written into a value text, and back.
std::string EncodeValueField(const std::string& text);
std::string DecodeValueField(const std::string& field);
// The columns of a value text, decoded. False when the text is not a sequence of
// text;status; pairs.
bool SplitValueText(std::string_view text, std::vector<StoredValueField>& fields);

// Compresses the whole text into a buffer sized for it. Returns the zlib result code
// (Z_OK = 0 on success). A caller compressing text after text keeps a CValueCompressor.
int CompressValueText(const std::string& text, std::vector<uint8_t>& compressed);
// Inflates a stored value of at most limit bytes (through CValueInflater). Returns a zlib
// result code: Z_OK, Z_BUF_ERROR when the text would be longer, Z_DATA_ERROR when the
// stream is broken, cut short or has bytes after its end. A caller inflating value after
// value keeps a CValueInflater.
int DecompressValueText(const uint8_t* data, size_t size, std::string& text,
                        size_t limit = StoredValueTextLimit(1024));
