#include "base/block_extremes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
}  // namespace

void CBlockExtremes::Reset(int columns, int expectedRows) {
  m_nColumns = std::max(columns, 0);
  m_nRows = 0;
  m_nClosed = 0;
  const size_t width = static_cast<size_t>(m_nColumns);
  m_nStoredBlocks = (std::max(expectedRows, 0) + kBlockRows - 1) / kBlockRows;
  const size_t cells = static_cast<size_t>(m_nStoredBlocks) * width;
  m_vMin.assign(cells, kNone);
  m_vMax.assign(cells, kNone);
  m_vMinFirst.assign(cells, 1);
  m_vLow.assign(width, kNone);
  m_vHigh.assign(width, kNone);
  m_vLowRow.assign(width, 0);
  m_vHighRow.assign(width, 0);
}

void CBlockExtremes::Add(int column, double value) {
  if (column < 0 || column >= m_nColumns || std::isnan(value))
    return;
  const size_t c = static_cast<size_t>(column);
  if (std::isnan(m_vLow[c]) || value < m_vLow[c])
    m_vLow[c] = value, m_vLowRow[c] = m_nRows;
  if (std::isnan(m_vHigh[c]) || value > m_vHigh[c])
    m_vHigh[c] = value, m_vHighRow[c] = m_nRows;
}

void CBlockExtremes::EndRow() {
  ++m_nRows;
  if (m_nRows % kBlockRows == 0)
    CloseBlock();
}

void CBlockExtremes::Finish() {
  if (m_nRows > m_nClosed * kBlockRows)
    CloseBlock();
}

void CBlockExtremes::CloseBlock() {
  const size_t width = static_cast<size_t>(m_nColumns);
  if (m_nClosed >= m_nStoredBlocks) {
    // Grows by half again: a live history adds a block every few minutes.
    m_nStoredBlocks = std::max(m_nClosed + 1, m_nStoredBlocks + m_nStoredBlocks / 2);
    const size_t cells = static_cast<size_t>(m_nStoredBlocks) * width;
    m_vMin.resize(cells, kNone);
    m_vMax.resize(cells, kNone);
    m_vMinFirst.resize(cells, 1);
  }
  const size_t base = static_cast<size_t>(m_nClosed) * width;
  for (size_t c = 0; c < width; ++c) {
    m_vMin[base + c] = m_vLow[c];
    m_vMax[base + c] = m_vHigh[c];
    m_vMinFirst[base + c] = m_vLowRow[c] <= m_vHighRow[c] ? 1 : 0;
    m_vLow[c] = m_vHigh[c] = kNone;
  }
  ++m_nClosed;
}

bool CBlockExtremes::Get(int block, int column, double& minimum, double& maximum,
                         bool& minFirst) const {
  if (block < 0 || block >= m_nStoredBlocks || column < 0 || column >= m_nColumns)
    return false;
  const size_t at =
      static_cast<size_t>(block) * static_cast<size_t>(m_nColumns) + static_cast<size_t>(column);
  minimum = m_vMin[at];
  maximum = m_vMax[at];
  minFirst = m_vMinFirst[at] != 0;
  return true;
}

size_t CBlockExtremes::HeapBytes() const {
  return m_vMin.capacity() * sizeof(double) * 2 + m_vMinFirst.capacity() +
         (m_vLow.capacity() * 2) * sizeof(double) + m_vLowRow.capacity() * 2 * sizeof(int);
}
