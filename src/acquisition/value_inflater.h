#pragma once
// Inflating stored value texts (zlib streams, RFC 1950) into one buffer reused from row to
// row, grown as far as a row needs and never past the limit the caller gives. Built on
// libdeflate where the build has it (whole-buffer decoding, about twice zlib's speed on
// these rows), on zlib otherwise; both accept and refuse exactly the same streams.
// Thread rule: one inflater per thread.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class CValueInflater {
 public:
  CValueInflater();
  ~CValueInflater();
  CValueInflater(const CValueInflater&) = delete;
  CValueInflater& operator=(const CValueInflater&) = delete;

  // The inflated text (valid until the next call), or false when the stream is broken,
  // fails its checksum, has bytes after its end or would be longer than limit.
  bool Inflate(const void* data, size_t size, size_t limit, std::string_view& text);
  // Whether the last Inflate failed for the limit alone (the stream was good so far).
  bool TooLong() const { return m_bTooLong; }

 private:
  class CDecoder;
  std::unique_ptr<CDecoder> m_pDecoder;
  std::string m_buffer;
  bool m_bTooLong = false;
};
