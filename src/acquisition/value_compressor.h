#pragma once
// CValueCompressor: compresses value texts into their stored zlib form (level 6, 15-bit
// window, memory level 8), keeping its compression state from one text to the next. A
// fresh state costs some 270 KB of heap and its zeroing; taken and given back at every
// data set, the allocator returned it to the system and faulted it in again each cycle.
// Reset between texts, the state compresses each one exactly as a new one would.
// Thread rule: one thread at a time.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CValueCompressor {
 public:
  CValueCompressor() = default;
  ~CValueCompressor();
  CValueCompressor(const CValueCompressor&) = delete;
  CValueCompressor& operator=(const CValueCompressor&) = delete;

  // Compresses the whole text into a buffer sized for it. Returns the zlib result code
  // (Z_OK on success).
  int Compress(const std::string& text, std::vector<uint8_t>& compressed);
  // Blocks the state took from the heap since it was made (each state takes a few).
  size_t Allocations() const { return m_nAllocations; }

 private:
  // A state ready for a new text: the kept one reset, or a new one.
  int Ready();
  void Release();
  static voidpf Allocate(voidpf self, uInt items, uInt size);
  static void Free(voidpf self, voidpf block);

  z_stream m_stream{};
  bool m_bInitialised = false;
  size_t m_nAllocations = 0;
};
