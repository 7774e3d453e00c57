#pragma once
// CLoadedTable: the rows of one recorded acquisition as loaded from the database, kept
// compact: each row is one block of bytes — the end offsets of its cells, its status bits
// (4 per column, for every column of the table) and the cell texts, each ended by a zero
// byte — placed in large shared chunks, so a row costs its text plus about 3.5 bytes per
// cell and no heap string per cell. The zero bytes let a whole row be copied at once and
// its field separators put in place (export, clipboard).
//
// Thread rule: one writer (the loading worker, or the owner while no worker runs) appends
// rows; any thread reads the rows below RowCount() at the same time (the count is
// published after the row is complete). Columns are set and the table is cleared by the
// owner only while no writer runs.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CLoadedTable {
 public:
  CLoadedTable();
  // A small table (one page of a recording): its rows in chunks of chunkBytes, at most
  // maxRows rows.
  CLoadedTable(size_t chunkBytes, size_t maxRows);
  ~CLoadedTable();
  CLoadedTable(const CLoadedTable&) = delete;
  CLoadedTable& operator=(const CLoadedTable&) = delete;

  // Removes every row and sets the column titles (column 0 is the time).
  void Reset(std::vector<std::string> titles);
  void Clear() { Reset({}); }
  // Removes every row; the columns stay.
  void ClearRows();

  int ColumnCount() const { return static_cast<int>(m_titles.size()); }
  const std::string& ColumnTitle(int column) const { return m_titles[static_cast<size_t>(column)]; }
  const std::vector<std::string>& Titles() const { return m_titles; }
  int RowCount() const { return m_nRows.load(std::memory_order_acquire); }
  // Rows whose stored values could not be read (they hold their time only), among the
  // rows below RowCount().
  int DamagedRows() const { return m_nDamaged.load(std::memory_order_acquire); }
  bool IsDamaged(int row) const;

  // Text of a cell (empty outside the row); the view stays valid until Reset.
  std::string_view Cell(int row, int column) const;
  uint8_t Status(int row, int column) const;
  // Every cell of the row, each followed by a zero byte (empty outside the table).
  std::string_view RowText(int row) const;

  // Building one row (writer side): Begin, then the cells in column order (column 0,
  // the time, first), then End publishes it. Missing cells are empty.
  class CRowBuilder {
   public:
    // reserveBytes: room for the text to come (the row grows past it when needed).
    void Begin(std::string_view timeText, size_t reserveBytes = 0);
    // Appends the next cell's text; returns its column.
    int AddCell(std::string_view text, uint8_t status);
    // The next cell's text piece by piece (for decoded texts), then FinishCell.
    void AppendToCell(std::string_view piece) {
      if (m_nText + piece.size() + 1 > m_text.size())
        Grow(piece.size() + 1);
      std::memcpy(m_text.data() + m_nText, piece.data(), piece.size());
      m_nText += piece.size();
    }
    void AppendToCell(char c) { AppendToCell(std::string_view(&c, 1)); }
    int FinishCell(uint8_t status) {
      if (m_nText + 1 > m_text.size())
        Grow(1);
      if (m_nCells == m_ends.size()) {
        m_ends.resize(m_ends.size() * 2 + 16);
        m_status.resize(m_ends.size());
      }
      m_ends[m_nCells] = static_cast<uint32_t>(m_nText);
      m_status[m_nCells] = status;
      m_text[m_nText++] = '\0';
      return static_cast<int>(m_nCells++);
    }
    int Cells() const { return static_cast<int>(m_nCells); }
    // The text of a finished cell.
    std::string_view CellText(int cell) const {
      const size_t c = static_cast<size_t>(cell);
      const size_t begin = c == 0 ? 0 : m_ends[c - 1] + 1;
      return std::string_view(m_text.data() + begin, m_ends[c] - begin);
    }
    // The first cells finished (at most cells), each followed by its zero byte.
    std::string_view TextOfCells(int cells) const {
      const size_t n = std::min(static_cast<size_t>(std::max(cells, 0)), m_nCells);
      return std::string_view(m_text.data(), n == 0 ? 0 : m_ends[n - 1] + size_t{1});
    }
    // The row's values could not be read: it keeps its time alone and is marked.
    void MarkDamaged() {
      KeepTimeOnly();
      m_bDamaged = true;
    }
    bool IsDamaged() const { return m_bDamaged; }

    // Raw writing for a fast decoder: after Reserve, the text is written at TextEnd() and
    // each cell ended with EndCell, with no check of the room (Reserve made it).
    void Reserve(size_t textBytes, size_t cells) {
      if (m_nText + textBytes + 1 > m_text.size())
        Grow(textBytes + 1);
      if (m_nCells + cells > m_ends.size()) {
        m_ends.resize(m_nCells + cells);
        m_status.resize(m_ends.size());
      }
    }
    char* TextEnd() { return m_text.data() + m_nText; }
    // Back to the time cell alone (a decoder that starts the row again).
    void KeepTimeOnly() {
      if (m_nCells > 1) {
        m_nCells = 1;
        m_nText = m_ends[0] + 1;
      }
    }
    // end: one past the cell's last byte (the cell's zero byte goes there).
    char* EndCell(char* end, uint8_t status) {
      *end = '\0';
      m_nText = static_cast<size_t>(end - m_text.data());
      m_ends[m_nCells] = static_cast<uint32_t>(m_nText);
      m_status[m_nCells++] = status;
      return m_text.data() + ++m_nText;
    }

   private:
    friend class CLoadedTable;
    void Grow(size_t more);

    // Sized buffers written by position: no bookkeeping per byte.
    std::vector<char> m_text;
    size_t m_nText = 0;
    std::vector<uint32_t> m_ends;
    std::vector<uint8_t> m_status;
    size_t m_nCells = 0;
    bool m_bDamaged = false;
  };
  void AppendRow(const CRowBuilder& row);

  // Heap bytes held by the rows and their index (memory figures).
  size_t HeapBytes() const;

 private:
  struct RowHeader {
    uint32_t textBytes;
    uint8_t wideOffsets;  // 1: 32-bit end offsets, 0: 16-bit
    uint8_t damaged;      // 1: the stored values could not be read
    uint8_t reserved[2];
  };
  static constexpr size_t kChunkBytes = size_t{2} << 20;
  static constexpr size_t kIndexSegmentRows = 4096;
  static constexpr size_t kIndexSegments = size_t{1} << 14;  // 67 million rows

  const uint8_t* RowBytes(int row) const;
  uint8_t* Allocate(size_t bytes);
  void FreeAll();

  std::vector<std::string> m_titles;
  std::atomic<int> m_nRows{0};
  std::atomic<int> m_nDamaged{0};
  // Chunks never move once made; the writer alone adds them.
  struct CFreeChunk {
    void operator()(uint8_t* chunk) const;
  };
  std::vector<std::unique_ptr<uint8_t, CFreeChunk>> m_chunks;
  size_t m_nChunkUsed = 0;
  size_t m_nChunkSize = 0;
  size_t m_nChunkBytes = 0;
  // Row index: a fixed table of segments, so readers never see it move.
  std::unique_ptr<std::atomic<const uint8_t**>[]> m_index;
  size_t m_nSegmentsMade = 0;
  size_t m_nChunkMin = kChunkBytes;
  size_t m_nSegments = kIndexSegments;
};
