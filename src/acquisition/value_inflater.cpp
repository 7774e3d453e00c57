#include "acquisition/value_inflater.h"

#include <algorithm>

#ifdef VELMORA_HAVE_LIBDEFLATE
#include <libdeflate.h>
#else
#include <zlib.h>
#endif

namespace {

constexpr size_t kFirstBufferBytes = 16384;

enum class Outcome { kDone, kBroken, kNeedsMore };

}  // namespace

#ifdef VELMORA_HAVE_LIBDEFLATE

// libdeflate decodes a whole stream into a buffer that must hold all of it: a row longer
// than the buffer is decoded again into a larger one (rare: the first buffer holds
// nearly every row).
class CValueInflater::CDecoder {
 public:
  CDecoder() : m_pDecompressor(libdeflate_alloc_decompressor()) {}
  ~CDecoder() { libdeflate_free_decompressor(m_pDecompressor); }
  CDecoder(const CDecoder&) = delete;
  CDecoder& operator=(const CDecoder&) = delete;

  Outcome Decode(const void* data, size_t size, std::string& buffer, size_t& produced) {
    if (m_pDecompressor == nullptr)
      return Outcome::kBroken;
    size_t consumed = 0;
    produced = 0;
    const libdeflate_result result = libdeflate_zlib_decompress_ex(
        m_pDecompressor, data, size, buffer.data(), buffer.size(), &consumed, &produced);
    if (result == LIBDEFLATE_INSUFFICIENT_SPACE) {
      produced = buffer.size();
      return Outcome::kNeedsMore;
    }
    if (result != LIBDEFLATE_SUCCESS || consumed != size)
      return Outcome::kBroken;  // bad data, or bytes after the stream's end
    return Outcome::kDone;
  }

 private:
  libdeflate_decompressor* m_pDecompressor;
};

#else

// zlib decodes on where it stopped when the buffer grows.
class CValueInflater::CDecoder {
 public:
  CDecoder() { m_bReady = inflateInit(&m_stream) == Z_OK; }
  ~CDecoder() {
    if (m_bReady)
      inflateEnd(&m_stream);
  }
  CDecoder(const CDecoder&) = delete;
  CDecoder& operator=(const CDecoder&) = delete;

  Outcome Decode(const void* data, size_t size, std::string& buffer, size_t& produced) {
    if (produced == 0) {  // a new stream, not one going on into a larger buffer
      if (!m_bReady || inflateReset(&m_stream) != Z_OK)
        return Outcome::kBroken;
      m_stream.next_in = static_cast<Bytef*>(const_cast<void*>(data));
      m_stream.avail_in = static_cast<uInt>(size);
    }
    m_stream.next_out = reinterpret_cast<Bytef*>(buffer.data() + produced);
    m_stream.avail_out = static_cast<uInt>(buffer.size() - produced);
    const int result = inflate(&m_stream, Z_FINISH);
    produced = buffer.size() - m_stream.avail_out;
    if (result == Z_STREAM_END)
      return m_stream.avail_in == 0 ? Outcome::kDone : Outcome::kBroken;
    if (result == Z_BUF_ERROR && m_stream.avail_out == 0)
      return Outcome::kNeedsMore;
    return Outcome::kBroken;  // data error, or the input ended before the stream did
  }

 private:
  z_stream m_stream{};
  bool m_bReady = false;
};

#endif

CValueInflater::CValueInflater() : m_pDecoder(std::make_unique<CDecoder>()) {}
CValueInflater::~CValueInflater() = default;

bool CValueInflater::Inflate(const void* data, size_t size, size_t limit, std::string_view& text) {
  if (m_buffer.empty())
    m_buffer.resize(std::min(kFirstBufferBytes, limit + 1));
  size_t produced = 0;
  m_bTooLong = false;
  for (;;) {
    const Outcome outcome = m_pDecoder->Decode(data, size, m_buffer, produced);
    if (produced > limit || (outcome == Outcome::kNeedsMore && m_buffer.size() > limit)) {
      m_bTooLong = true;  // more than the limit allows
      return false;
    }
    if (outcome == Outcome::kDone)
      break;
    if (outcome == Outcome::kBroken)
      return false;
    m_buffer.resize(std::min(m_buffer.size() * 2, limit + 1));
  }
  text = std::string_view(m_buffer.data(), produced);
  return true;
}
