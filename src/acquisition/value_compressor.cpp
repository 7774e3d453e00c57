#include "acquisition/value_compressor.h"

#include <cstdlib>

CValueCompressor::~CValueCompressor() {
  Release();
}

voidpf CValueCompressor::Allocate(voidpf self, uInt items, uInt size) {
  ++static_cast<CValueCompressor*>(self)->m_nAllocations;
  return std::malloc(static_cast<size_t>(items) * size);  // as zlib's own allocator does
}

void CValueCompressor::Free(voidpf /*self*/, voidpf block) {
  std::free(block);
}

void CValueCompressor::Release() {
  if (m_bInitialised)
    deflateEnd(&m_stream);
  m_bInitialised = false;
}

int CValueCompressor::Ready() {
  if (m_bInitialised && deflateReset(&m_stream) == Z_OK)
    return Z_OK;
  Release();  // a state that cannot be reset is made again
  m_stream = z_stream{};
  m_stream.zalloc = &CValueCompressor::Allocate;
  m_stream.zfree = &CValueCompressor::Free;
  m_stream.opaque = this;
  const int result =
      deflateInit2(&m_stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
  m_bInitialised = result == Z_OK;
  return result;
}

int CValueCompressor::Compress(const std::string& text, std::vector<uint8_t>& compressed) {
  int result = Ready();
  if (result != Z_OK)
    return result;
  compressed.resize(deflateBound(&m_stream, static_cast<uLong>(text.size())));
  m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  m_stream.avail_in = static_cast<uInt>(text.size());
  m_stream.next_out = compressed.data();
  m_stream.avail_out = static_cast<uInt>(compressed.size());
  result = deflate(&m_stream, Z_FINISH);
  const uLong written = m_stream.total_out;
  // The text is not kept: the next call starts from a reset state.
  m_stream.next_in = nullptr;
  m_stream.avail_in = 0;
  if (result != Z_STREAM_END)
    return result == Z_OK ? Z_BUF_ERROR : result;
  compressed.resize(written);
  return Z_OK;
}
