#pragma once
// CBlockExtremes: per column, the minimum and maximum of every block of kBlockRows rows
// and which of the two came first. A chart of many rows draws a block as those two points
// instead of reading its rows. Rows are added in order, value by value; a block is known
// once its last row was added (Finish closes a last, partial block).
// Thread rule: one thread adds. Block storage never moves while it stays within the rows
// given to Reset, so a reader that knows a block is closed (from a count the writer
// publishes) may read it while later rows are added; beyond that, the owner locks.
#include <cstddef>
#include <cstdint>
#include <vector>

class CBlockExtremes {
 public:
  static constexpr int kBlockRows = 512;

  // Empty, for rows of columns values; room for expectedRows without moving.
  void Reset(int columns, int expectedRows = 0);
  int Columns() const { return m_nColumns; }
  // Rows added so far, and the blocks closed.
  int Rows() const { return m_nRows; }
  int ClosedBlocks() const { return m_nClosed; }

  // A value of the row being added; NaN (no value) is skipped.
  void Add(int column, double value);
  // Ends the row being added; closes its block after the block's last row.
  void EndRow();
  // Closes the block of the last rows when it is not full.
  void Finish();

  // A stored block: the column's minimum and maximum (NaN when it had no value) and
  // whether the minimum came first. False outside the blocks stored.
  bool Get(int block, int column, double& minimum, double& maximum, bool& minFirst) const;

  size_t HeapBytes() const;

 private:
  void CloseBlock();

  int m_nColumns = 0;
  int m_nRows = 0;
  int m_nClosed = 0;
  int m_nStoredBlocks = 0;  // blocks the storage holds room for
  // Per block, per column.
  std::vector<double> m_vMin;
  std::vector<double> m_vMax;
  std::vector<uint8_t> m_vMinFirst;
  // The block being added: its extremes so far and the rows where they were met.
  std::vector<double> m_vLow;
  std::vector<double> m_vHigh;
  std::vector<int> m_vLowRow;
  std::vector<int> m_vHighRow;
};
