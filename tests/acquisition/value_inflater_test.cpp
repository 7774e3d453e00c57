// Inflating stored values: exactly the stream's text, and a refusal for every stream a
// damaged or hostile row can hold, whichever decoder the build uses.
#include "acquisition/value_inflater.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace {

std::string Deflated(const std::string& text, int level = Z_DEFAULT_COMPRESSION) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::string bytes(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(bytes.data()), &size,
                      reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                      level),
            Z_OK);
  bytes.resize(size);
  return bytes;
}

bool Inflates(CValueInflater& inflater, const std::string& stream, size_t limit,
              std::string* text = nullptr) {
  std::string_view out;
  const bool inflated = inflater.Inflate(stream.data(), stream.size(), limit, out);
  if (text != nullptr)
    *text = std::string(out);
  return inflated;
}

}  // namespace

TEST(ValueInflater, GivesEachTextBackWhateverCameBefore) {
  CValueInflater inflater;
  std::string wide;
  for (int column = 0; column < 256; ++column)
    wide += std::to_string(column * 7919 % 100000) + "." + std::to_string(column) + ";;";
  // Short and long texts in turn: the buffer grows past its first size and is reused.
  const std::vector<std::string> texts = {wide, std::string(100000, 'x') + ";1;", "1;;", "",
                                          wide, std::string("a\0b;;", 5)};
  for (int round = 0; round < 2; ++round) {
    for (const std::string& text : texts) {
      std::string back;
      ASSERT_TRUE(Inflates(inflater, Deflated(text), 1 << 20, &back)) << text.size();
      EXPECT_EQ(back, text);
    }
  }
  // Stored uncompressed (level 0) is a stream too.
  std::string back;
  ASSERT_TRUE(Inflates(inflater, Deflated(wide, 0), 1 << 20, &back));
  EXPECT_EQ(back, wide);
}

TEST(ValueInflater, TheLimitIsTheLongestTextAccepted) {
  CValueInflater inflater;
  for (const size_t length : {size_t{100}, size_t{16384}, size_t{40000}}) {
    const std::string stream = Deflated(std::string(length, '7'));
    std::string back;
    EXPECT_TRUE(Inflates(inflater, stream, length, &back)) << length;
    EXPECT_EQ(back.size(), length);
    EXPECT_FALSE(Inflates(inflater, stream, length - 1)) << length;
    EXPECT_TRUE(inflater.TooLong()) << "refused for the limit alone";
  }
  // A bomb: 64 KB that would inflate to 64 MB stops at the limit.
  std::string bomb;
  {
    z_stream stream{};
    ASSERT_EQ(deflateInit(&stream, 9), Z_OK);
    std::string chunk(1 << 20, 'x');
    std::string out(1 << 16, '\0');
    for (int i = 0; i < 64; ++i) {
      stream.next_in = reinterpret_cast<Bytef*>(chunk.data());
      stream.avail_in = static_cast<uInt>(chunk.size());
      const int flush = i == 63 ? Z_FINISH : Z_NO_FLUSH;
      do {
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        deflate(&stream, flush);
        bomb.append(out.data(), out.size() - stream.avail_out);
      } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
  }
  ASSERT_LT(bomb.size(), size_t{128} << 10);
  EXPECT_FALSE(Inflates(inflater, bomb, 6 << 20));
  EXPECT_TRUE(inflater.TooLong());
  // The inflater still reads a good row afterwards.
  std::string back;
  EXPECT_TRUE(Inflates(inflater, Deflated("2.5;;"), 100, &back));
  EXPECT_EQ(back, "2.5;;");
}

TEST(ValueInflater, RefusesEveryBrokenStream) {
  CValueInflater inflater;
  const std::string text = "12.5;;13.25;4;" + std::string(3000, '9') + ";;";
  const std::string good = Deflated(text);
  ASSERT_TRUE(Inflates(inflater, good, 1 << 20));

  EXPECT_FALSE(Inflates(inflater, "", 1 << 20)) << "nothing";
  EXPECT_FALSE(Inflates(inflater, good.substr(0, good.size() / 2), 1 << 20)) << "cut short";
  EXPECT_FALSE(Inflates(inflater, good.substr(0, good.size() - 1), 1 << 20)) << "no checksum";
  std::string checksum = good;
  checksum.back() = static_cast<char>(checksum.back() ^ 0x01);
  EXPECT_FALSE(Inflates(inflater, checksum, 1 << 20)) << "a wrong checksum";
  EXPECT_FALSE(Inflates(inflater, good + "x", 1 << 20)) << "bytes after the end";
  EXPECT_FALSE(Inflates(inflater, good.substr(2), 1 << 20)) << "raw deflate, no header";
  std::string header = good;
  header[0] = 0x79;  // not a deflate stream's header
  EXPECT_FALSE(Inflates(inflater, header, 1 << 20)) << "a wrong header";
  EXPECT_FALSE(Inflates(inflater, text, 1 << 20)) << "the text itself";
  EXPECT_FALSE(inflater.TooLong()) << "broken, not too long";

  std::string back;
  ASSERT_TRUE(Inflates(inflater, good, 1 << 20, &back)) << "a good row after the broken ones";
  EXPECT_EQ(back, text);
}
