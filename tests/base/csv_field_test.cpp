#include "base/csv_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr CsvQuoting kItemListRule{",;\t", true};

}  // namespace

TEST(CsvField, PlainFieldIsWrittenAsItIs) {
  EXPECT_EQ(CsvField("Random.Int4", CsvQuoting::Separator(',')), "Random.Int4");
  EXPECT_EQ(CsvField("", CsvQuoting::Separator(',')), "");
  EXPECT_EQ(CsvField("", kItemListRule), "");
}

TEST(CsvField, SeparatorQuoteAndLineEndsAreQuoted) {
  const CsvQuoting comma = CsvQuoting::Separator(',');
  EXPECT_EQ(CsvField("a,b", comma), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\"", comma), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("two\r\nlines", comma), "\"two\r\nlines\"");
  EXPECT_EQ(CsvField("one\nline", comma), "\"one\nline\"");
}

TEST(CsvField, OnlyTheChosenSeparatorCounts) {
  const CsvQuoting semicolon = CsvQuoting::Separator(';');
  EXPECT_EQ(CsvField("a,b", semicolon), "a,b");
  EXPECT_EQ(CsvField("a;b", semicolon), "\"a;b\"");
  const CsvQuoting tab = CsvQuoting::Separator('\t');
  EXPECT_EQ(CsvField("a;b", tab), "a;b");
  EXPECT_EQ(CsvField("a\tb", tab), "\"a\tb\"");
  // Blanks and '#' are kept as they are where the reader does not trim.
  EXPECT_EQ(CsvField(" #x ", tab), " #x ");
}

TEST(CsvField, SeparatorRuleOutlivesItsArgument) {
  CsvQuoting rule;
  {
    const char separator = '|';
    rule = CsvQuoting::Separator(separator);
  }
  EXPECT_EQ(CsvField("a|b", rule), "\"a|b\"");
}

TEST(CsvField, ItemListRuleGuardsEveryReaderSeparatorAndTheEnds) {
  EXPECT_EQ(CsvField("a;b", kItemListRule), "\"a;b\"");
  EXPECT_EQ(CsvField("a\tb", kItemListRule), "\"a\tb\"");
  EXPECT_EQ(CsvField("a,b", kItemListRule), "\"a,b\"");
  EXPECT_EQ(CsvField("#comment", kItemListRule), "\"#comment\"");
  EXPECT_EQ(CsvField(" padded", kItemListRule), "\" padded\"");
  EXPECT_EQ(CsvField("padded ", kItemListRule), "\"padded \"");
  EXPECT_EQ(CsvField("a#b c", kItemListRule), "a#b c");
}

TEST(CsvField, UnicodeAndPercentPassUnchanged) {
  const std::string text = "Temp\xC3\xA9rature 100% \xE2\x82\xAC";
  EXPECT_EQ(CsvField(text, CsvQuoting::Separator(',')), text);
  EXPECT_EQ(CsvField(text + ",x", CsvQuoting::Separator(',')), "\"" + text + ",x\"");
}

TEST(CsvField, AppendKeepsWhatIsThere) {
  std::string out = "x;";
  AppendCsvField(out, "y\"", CsvQuoting::Separator(';'));
  EXPECT_EQ(out, "x;\"y\"\"\"");
  EXPECT_TRUE(CsvFieldNeedsQuotes("y\"", CsvQuoting::Separator(';')));
  EXPECT_FALSE(CsvFieldNeedsQuotes("y", CsvQuoting::Separator(';')));
}

TEST(CsvField, EveryLengthAndPositionIsSearched) {
  // Short fields and whole rows are searched differently: both must see a special
  // character wherever it stands, and only the chosen separators.
  const CsvQuoting semicolon = CsvQuoting::Separator(';');
  for (size_t length = 1; length <= 200; ++length) {
    const std::string plain(length, 'x');
    EXPECT_FALSE(CsvFieldNeedsQuotes(plain, semicolon)) << length;
    EXPECT_FALSE(CsvFieldNeedsQuotes(std::string(length, ','), semicolon)) << length;
    std::vector<size_t> positions;
    for (size_t at = 0; at < length; at += (length > 20 ? 7 : 1))
      positions.push_back(at);
    positions.push_back(length - 1);
    for (const size_t at : positions) {
      for (const char special : {'"', '\r', '\n', ';'}) {
        std::string field = plain;
        field[at] = special;
        EXPECT_TRUE(CsvFieldNeedsQuotes(field, semicolon)) << length << " " << at;
      }
      std::string listed = plain;
      listed[at] = '\t';
      EXPECT_TRUE(CsvFieldNeedsQuotes(listed, kItemListRule)) << length << " " << at;
      EXPECT_FALSE(CsvFieldNeedsQuotes(listed, semicolon)) << length << " " << at;
    }
  }
}
