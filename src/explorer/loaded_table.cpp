#include "explorer/loaded_table.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#ifdef _WIN32
#include <malloc.h>
#endif

namespace {

constexpr size_t kRowAlignment = 8;
constexpr size_t kNarrowBatch = 256;

size_t AlignUp(size_t bytes, size_t alignment = kRowAlignment) {
  return (bytes + alignment - 1) & ~(alignment - 1);
}

}  // namespace

CLoadedTable::CLoadedTable() : CLoadedTable(kChunkBytes, kIndexSegments * kIndexSegmentRows) {}

CLoadedTable::CLoadedTable(size_t chunkBytes, size_t maxRows)
    : m_nChunkMin(AlignUp(std::max<size_t>(chunkBytes, 4096), 4096)),
      m_nSegments(std::clamp<size_t>((maxRows + kIndexSegmentRows - 1) / kIndexSegmentRows, 1,
                                     kIndexSegments)) {
  m_index.reset(new std::atomic<const uint8_t**>[m_nSegments]);
  for (size_t i = 0; i < m_nSegments; ++i)
    m_index[i].store(nullptr, std::memory_order_relaxed);
}

CLoadedTable::~CLoadedTable() {
  FreeAll();
}

void CLoadedTable::CFreeChunk::operator()(uint8_t* chunk) const {
#ifdef _WIN32
  _aligned_free(chunk);  // the Windows C library has no aligned_alloc
#else
  std::free(chunk);
#endif
}

void CLoadedTable::FreeAll() {
  for (size_t i = 0; i < m_nSegmentsMade; ++i) {
    delete[] m_index[i].load(std::memory_order_relaxed);
    m_index[i].store(nullptr, std::memory_order_relaxed);
  }
  m_nSegmentsMade = 0;
  // The first chunk is kept for the next rows (a table is refilled again and again).
  if (m_chunks.size() > 1 || (m_chunks.size() == 1 && m_nChunkSize != m_nChunkMin)) {
    m_chunks.clear();
    m_nChunkSize = m_nChunkBytes = 0;
  }
  m_nChunkUsed = 0;
}

void CLoadedTable::Reset(std::vector<std::string> titles) {
  m_nRows.store(0, std::memory_order_release);
  m_nDamaged.store(0, std::memory_order_release);
  FreeAll();
  m_titles = std::move(titles);
}

void CLoadedTable::ClearRows() {
  m_nRows.store(0, std::memory_order_release);
  m_nDamaged.store(0, std::memory_order_release);
  FreeAll();
}

uint8_t* CLoadedTable::Allocate(size_t bytes) {
  bytes = AlignUp(bytes);
  if (m_chunks.empty() || m_nChunkUsed + bytes > m_nChunkSize) {
    // A row larger than a chunk gets a chunk of its own.
    const size_t size = AlignUp(std::max(m_nChunkMin, bytes), m_nChunkMin);
    // Chunks of a power-of-two size are aligned on it; others on a page (a power of two,
    // as aligned_alloc requires, and size is a multiple of it).
    const size_t alignment = (m_nChunkMin & (m_nChunkMin - 1)) == 0 ? m_nChunkMin : 4096;
#ifdef _WIN32
    auto* chunk = static_cast<uint8_t*>(_aligned_malloc(size, alignment));
#else
    auto* chunk = static_cast<uint8_t*>(std::aligned_alloc(alignment, size));
#endif
    if (chunk == nullptr)
      throw std::bad_alloc();
    m_chunks.emplace_back(chunk);
    m_nChunkSize = size;
    m_nChunkUsed = 0;
    m_nChunkBytes += size;
  }
  uint8_t* place = m_chunks.back().get() + m_nChunkUsed;
  m_nChunkUsed += bytes;
  return place;
}

void CLoadedTable::CRowBuilder::Begin(std::string_view timeText, size_t reserveBytes) {
  m_nText = 0;
  m_nCells = 0;
  m_bDamaged = false;
  // Kept between rows: one allocation for the whole load.
  if (m_text.size() < timeText.size() + reserveBytes + 1)
    m_text.resize(timeText.size() + reserveBytes + 1);
  AddCell(timeText, 0);
}

void CLoadedTable::CRowBuilder::Grow(size_t more) {
  m_text.resize(std::max(m_text.size() * 2, m_nText + more));
}

int CLoadedTable::CRowBuilder::AddCell(std::string_view text, uint8_t status) {
  AppendToCell(text);
  return FinishCell(status);
}

void CLoadedTable::AppendRow(const CRowBuilder& row) {
  const size_t rowIndex = static_cast<size_t>(m_nRows.load(std::memory_order_relaxed));
  const size_t segment = rowIndex / kIndexSegmentRows;
  if (segment >= m_nSegments)
    return;  // beyond the index: the table is full
  const size_t columns = m_titles.size();
  const size_t cells = std::min(columns, row.m_nCells);
  // Every cell keeps its zero byte; missing cells are a zero byte alone.
  const size_t givenBytes = cells == 0 ? 0 : row.m_ends[cells - 1] + 1;
  const size_t textBytes = givenBytes + (columns - cells);
  const bool wide = textBytes > 0xFFFF;
  const size_t offsetBytes = columns * (wide ? 4 : 2);
  const size_t statusBytes = (columns + 1) / 2;
  uint8_t* bytes = Allocate(sizeof(RowHeader) + offsetBytes + statusBytes + textBytes);

  RowHeader header{};
  header.textBytes = static_cast<uint32_t>(textBytes);
  header.wideOffsets = wide ? 1 : 0;
  header.damaged = row.m_bDamaged ? 1 : 0;
  std::memcpy(bytes, &header, sizeof header);
  uint8_t* offsets = bytes + sizeof(RowHeader);
  // Plain loops over the whole row, which the compiler turns into vector code.
  const uint32_t* ends = row.m_ends.data();
  if (wide) {
    std::memcpy(offsets, ends, cells * 4);
    for (size_t c = cells; c < columns; ++c) {
      const uint32_t end = static_cast<uint32_t>(givenBytes + (c - cells));
      std::memcpy(offsets + c * 4, &end, 4);
    }
  } else {
    uint16_t narrow[kNarrowBatch];
    for (size_t first = 0; first < columns; first += kNarrowBatch) {
      const size_t count = std::min(kNarrowBatch, columns - first);
      for (size_t i = 0; i < count; ++i) {
        const size_t c = first + i;
        narrow[i] = static_cast<uint16_t>(c < cells ? ends[c] : givenBytes + (c - cells));
      }
      std::memcpy(offsets + first * 2, narrow, count * 2);
    }
  }
  uint8_t* status = offsets + offsetBytes;
  const uint8_t* marks = row.m_status.data();
  for (size_t pair = 0; pair < cells / 2; ++pair)
    status[pair] = static_cast<uint8_t>((marks[2 * pair] & 0x0F) | (marks[2 * pair + 1] << 4));
  if (cells % 2 != 0)
    status[cells / 2] = static_cast<uint8_t>(marks[cells - 1] & 0x0F);
  const size_t packed = (cells + 1) / 2;
  std::memset(status + packed, 0, statusBytes - packed);
  uint8_t* text = status + statusBytes;
  std::memcpy(text, row.m_text.data(), givenBytes);
  std::memset(text + givenBytes, 0, textBytes - givenBytes);

  if (segment >= m_nSegmentsMade) {
    m_index[segment].store(new const uint8_t*[kIndexSegmentRows], std::memory_order_release);
    m_nSegmentsMade = segment + 1;
  }
  m_index[segment].load(std::memory_order_relaxed)[rowIndex % kIndexSegmentRows] = bytes;
  if (row.m_bDamaged)
    m_nDamaged.store(m_nDamaged.load(std::memory_order_relaxed) + 1, std::memory_order_release);
  m_nRows.store(static_cast<int>(rowIndex + 1), std::memory_order_release);
}

bool CLoadedTable::IsDamaged(int row) const {
  const uint8_t* bytes = RowBytes(row);
  if (bytes == nullptr)
    return false;
  RowHeader header;
  std::memcpy(&header, bytes, sizeof header);
  return header.damaged != 0;
}

const uint8_t* CLoadedTable::RowBytes(int row) const {
  if (row < 0 || row >= RowCount())
    return nullptr;
  const size_t index = static_cast<size_t>(row);
  const uint8_t** segment = m_index[index / kIndexSegmentRows].load(std::memory_order_acquire);
  return segment != nullptr ? segment[index % kIndexSegmentRows] : nullptr;
}

std::string_view CLoadedTable::Cell(int row, int column) const {
  const uint8_t* bytes = RowBytes(row);
  const size_t columns = m_titles.size();
  if (bytes == nullptr || column < 0 || static_cast<size_t>(column) >= columns)
    return {};
  RowHeader header;
  std::memcpy(&header, bytes, sizeof header);
  const uint8_t* offsets = bytes + sizeof(RowHeader);
  auto endOf = [&](size_t c) -> uint32_t {
    if (header.wideOffsets) {
      uint32_t end;
      std::memcpy(&end, offsets + c * 4, 4);
      return end;
    }
    uint16_t end;
    std::memcpy(&end, offsets + c * 2, 2);
    return end;
  };
  const size_t c = static_cast<size_t>(column);
  const uint32_t begin = c == 0 ? 0 : endOf(c - 1) + 1;
  const uint32_t end = endOf(c);
  const size_t offsetBytes = columns * (header.wideOffsets ? 4 : 2);
  const char* text = reinterpret_cast<const char*>(offsets + offsetBytes + (columns + 1) / 2);
  return std::string_view(text + begin, end - begin);
}

std::string_view CLoadedTable::RowText(int row) const {
  const uint8_t* bytes = RowBytes(row);
  if (bytes == nullptr)
    return {};
  RowHeader header;
  std::memcpy(&header, bytes, sizeof header);
  const size_t columns = m_titles.size();
  const size_t offsetBytes = columns * (header.wideOffsets ? 4 : 2);
  const char* text =
      reinterpret_cast<const char*>(bytes + sizeof(RowHeader) + offsetBytes + (columns + 1) / 2);
  return std::string_view(text, header.textBytes);
}

uint8_t CLoadedTable::Status(int row, int column) const {
  const uint8_t* bytes = RowBytes(row);
  const size_t columns = m_titles.size();
  if (bytes == nullptr || column < 0 || static_cast<size_t>(column) >= columns)
    return 0;
  RowHeader header;
  std::memcpy(&header, bytes, sizeof header);
  const size_t offsetBytes = columns * (header.wideOffsets ? 4 : 2);
  const uint8_t* status = bytes + sizeof(RowHeader) + offsetBytes;
  const size_t c = static_cast<size_t>(column);
  return static_cast<uint8_t>((status[c / 2] >> ((c % 2) * 4)) & 0x0F);
}

size_t CLoadedTable::HeapBytes() const {
  size_t bytes = m_nChunkBytes + m_nSegments * sizeof(std::atomic<const uint8_t**>) +
                 m_nSegmentsMade * kIndexSegmentRows * sizeof(const uint8_t*);
  for (const std::string& title : m_titles)
    bytes += title.capacity();
  return bytes;
}
