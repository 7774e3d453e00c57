#pragma once
// DataSet: one row of an acquisition (time text, one value text per item column and
// four status bits per column). DataSet is the editable form; CompactDataSet is the
// immutable, compact form kept by HistoricalDataList (one text buffer with offsets).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Status bits of a column (OR-ed, never cleared while the row exists).
enum OPCDataStatus : uint8_t {
  kStatusBadQuality = 1,
  kStatusInactive = 2,
  kStatusInterpolated = 4,
};

// Status bits packed 8 columns per 32-bit word: column c uses bits 4*(c%8)..4*(c%8)+3 of
// word c/8. Sized to the columns, so every item column has its bits whatever the count.
class DataStatusBlock {
 public:
  DataStatusBlock() = default;
  explicit DataStatusBlock(int columnCount) : m_words(WordsFor(columnCount), 0u) {}
  static size_t WordsFor(int columnCount) {
    return static_cast<size_t>(columnCount < 0 ? 0 : columnCount) / 8 + 1;
  }
  uint8_t Get(int column) const;
  void Or(int column, uint8_t bits);
  const std::vector<uint32_t>& Words() const { return m_words; }

 private:
  std::vector<uint32_t> m_words;
};

class CompactDataSet;

class DataSet {
 public:
  DataSet() = default;
  // itemColumns = N; columns are 1..N, column 0 is the time.
  DataSet(std::string timeText, int itemColumns);
  explicit DataSet(const CompactDataSet& compact);

  const std::string& TimeText() const { return m_sTimeText; }
  void SetTimeText(std::string text) { m_sTimeText = std::move(text); }
  int ItemColumns() const { return static_cast<int>(m_cells.size()); }
  // Cell text of item column 1..N; empty outside.
  const std::string& Cell(int column) const;
  void SetCell(int column, std::string text);
  uint8_t Status(int column) const { return m_status.Get(column); }
  void OrStatus(int column, uint8_t bits) { m_status.Or(column, bits); }
  const DataStatusBlock& StatusBlock() const { return m_status; }

 private:
  std::string m_sTimeText;
  std::vector<std::string> m_cells;
  DataStatusBlock m_status;
};

class CompactDataSet {
 public:
  explicit CompactDataSet(const DataSet& row);

  std::string_view TimeText() const { return Text(0); }
  int ItemColumns() const { return m_nItemColumns; }
  std::string_view Cell(int column) const;
  uint8_t Status(int column) const { return m_status.Get(column); }
  const DataStatusBlock& StatusBlock() const { return m_status; }
  // Bytes this row holds on the heap (for memory figures).
  size_t HeapBytes() const;

 private:
  std::string_view Text(int index) const;  // 0: time, 1..N: cells

  int m_nItemColumns;
  std::string m_sText;             // time text then every cell, back to back
  std::vector<uint16_t> m_ends16;  // end offsets when the text is under 64 KiB
  std::vector<uint32_t> m_ends32;  // otherwise
  DataStatusBlock m_status;
};

using DataSetPtr = std::shared_ptr<const CompactDataSet>;
