// The kept compression state: the same bytes as a fresh zlib stream for every text, and
// no new state for each data set.
#include "acquisition/value_compressor.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "acquisition/value_text.h"

namespace {

// zlib's own one-shot compression at the default level: the stored form of a text.
std::vector<uint8_t> Reference(const std::string& text) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::vector<uint8_t> bytes(size);
  EXPECT_EQ(compress2(bytes.data(), &size, reinterpret_cast<const Bytef*>(text.data()),
                      static_cast<uLong>(text.size()), Z_DEFAULT_COMPRESSION),
            Z_OK);
  bytes.resize(size);
  return bytes;
}

// Texts of different lengths and contents, as a long acquisition writes them one after
// the other.
std::vector<std::string> Texts() {
  std::vector<std::string> texts;
  std::string wide;
  for (int column = 0; column < 256; ++column)
    wide += std::to_string(column * 37 % 1000) + "." + std::to_string(column % 100) + ";;";
  texts.push_back(wide);
  texts.push_back("");
  texts.push_back("1.00;;");
  texts.push_back(std::string(70000, 'x') + ";4;");
  texts.push_back(std::string("a\0b%00;;", 8));
  texts.push_back(wide);  // the same text again after others
  std::string shifted = wide;
  shifted[10] = '9';
  texts.push_back(shifted);
  return texts;
}

}  // namespace

TEST(ValueCompressor, KeptStateWritesTheBytesOfAFreshStreamForEveryText) {
  CValueCompressor compressor;
  for (int round = 0; round < 3; ++round) {
    for (const std::string& text : Texts()) {
      std::vector<uint8_t> kept;
      ASSERT_EQ(compressor.Compress(text, kept), Z_OK);
      EXPECT_EQ(kept, Reference(text)) << "text of " << text.size() << " bytes";
      std::vector<uint8_t> fresh;
      ASSERT_EQ(CompressValueText(text, fresh), Z_OK);
      EXPECT_EQ(fresh, kept);
      std::string back;
      ASSERT_EQ(DecompressValueText(kept.data(), kept.size(), back), Z_OK);
      EXPECT_EQ(back, text);
    }
  }
}

TEST(ValueCompressor, TakesItsStateFromTheHeapOnceForEveryDataSet) {
  CValueCompressor compressor;
  EXPECT_EQ(compressor.Allocations(), 0u);
  std::vector<uint8_t> bytes;
  ASSERT_EQ(compressor.Compress(Texts().front(), bytes), Z_OK);
  const size_t first = compressor.Allocations();
  EXPECT_GT(first, 0u);
  for (int i = 0; i < 100; ++i) {
    for (const std::string& text : Texts())
      ASSERT_EQ(compressor.Compress(text, bytes), Z_OK);
  }
  EXPECT_EQ(compressor.Allocations(), first);
}
