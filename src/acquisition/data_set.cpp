#include "acquisition/data_set.h"

#include <limits>

uint8_t DataStatusBlock::Get(int column) const {
  if (column < 0)
    return 0;
  const size_t word = static_cast<size_t>(column) / 8;
  if (word >= m_words.size())
    return 0;
  return static_cast<uint8_t>((m_words[word] >> (4 * (column % 8))) & 0xFu);
}

void DataStatusBlock::Or(int column, uint8_t bits) {
  if (column < 0)
    return;
  const size_t word = static_cast<size_t>(column) / 8;
  if (word >= m_words.size())
    return;
  m_words[word] |= static_cast<uint32_t>(bits & 0xFu) << (4 * (column % 8));
}

namespace {
const std::string kEmpty;
}

DataSet::DataSet(std::string timeText, int itemColumns)
    : m_sTimeText(std::move(timeText)),
      m_cells(static_cast<size_t>(itemColumns < 0 ? 0 : itemColumns)),
      m_status(itemColumns + 1) {}

DataSet::DataSet(const CompactDataSet& compact)
    : m_sTimeText(compact.TimeText()),
      m_cells(static_cast<size_t>(compact.ItemColumns())),
      m_status(compact.StatusBlock()) {
  for (int column = 1; column <= compact.ItemColumns(); ++column) {
    m_cells[static_cast<size_t>(column - 1)] = std::string(compact.Cell(column));
  }
}

const std::string& DataSet::Cell(int column) const {
  if (column < 1 || column > ItemColumns())
    return kEmpty;
  return m_cells[static_cast<size_t>(column - 1)];
}

void DataSet::SetCell(int column, std::string text) {
  if (column < 1 || column > ItemColumns())
    return;
  m_cells[static_cast<size_t>(column - 1)] = std::move(text);
}

CompactDataSet::CompactDataSet(const DataSet& row)
    : m_nItemColumns(row.ItemColumns()), m_status(row.StatusBlock()) {
  size_t total = row.TimeText().size();
  for (int column = 1; column <= m_nItemColumns; ++column)
    total += row.Cell(column).size();
  m_sText.reserve(total);
  const bool narrow = total <= std::numeric_limits<uint16_t>::max();
  if (narrow) {
    m_ends16.reserve(static_cast<size_t>(m_nItemColumns) + 1);
  } else {
    m_ends32.reserve(static_cast<size_t>(m_nItemColumns) + 1);
  }
  auto append = [&](const std::string& text) {
    m_sText += text;
    if (narrow) {
      m_ends16.push_back(static_cast<uint16_t>(m_sText.size()));
    } else {
      m_ends32.push_back(static_cast<uint32_t>(m_sText.size()));
    }
  };
  append(row.TimeText());
  for (int column = 1; column <= m_nItemColumns; ++column)
    append(row.Cell(column));
}

std::string_view CompactDataSet::Text(int index) const {
  const size_t i = static_cast<size_t>(index);
  size_t begin = 0;
  size_t end = 0;
  if (!m_ends16.empty()) {
    begin = i == 0 ? 0 : m_ends16[i - 1];
    end = m_ends16[i];
  } else {
    begin = i == 0 ? 0 : m_ends32[i - 1];
    end = m_ends32[i];
  }
  return std::string_view(m_sText).substr(begin, end - begin);
}

std::string_view CompactDataSet::Cell(int column) const {
  if (column < 1 || column > m_nItemColumns)
    return {};
  return Text(column);
}

size_t CompactDataSet::HeapBytes() const {
  const size_t textHeap = m_sText.capacity() > 15 ? m_sText.capacity() + 1 : 0;
  return sizeof(*this) + textHeap + m_ends16.capacity() * sizeof(uint16_t) +
         m_ends32.capacity() * sizeof(uint32_t) + m_status.Words().capacity() * sizeof(uint32_t);
}
