#include "base/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "base/text.h"

namespace {

// Runs the body under a decimal-comma locale, as the GUI does when the user has one.
class CommaLocaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_sPrevious = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
      GTEST_SKIP() << "locale de_DE.UTF-8 is not generated (scripts/install-deps.sh does it)";
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
  }
  void TearDown() override { std::setlocale(LC_ALL, m_sPrevious.c_str()); }
  std::string m_sPrevious;
};

TEST_F(CommaLocaleTest, FormatsWithTheDecimalPoint) {
  EXPECT_EQ(FormatFixed(3.25, 2), "3.25");
  EXPECT_EQ(FormatFixed(-1.625, 1), "-1.6");
  EXPECT_EQ(FormatFixed(2.0, 0), "2");
  EXPECT_EQ(FormatFixed6(1.5), "1.500000");
  EXPECT_EQ(FormatShortest(0.1), "0.1");
  EXPECT_EQ(FormatFixed(1e300, 2).size(), 304u);  // no truncation of large values
}

TEST_F(CommaLocaleTest, ParsesWithTheDecimalPointOnly) {
  EXPECT_EQ(ParseDouble("3.25"), 3.25);
  EXPECT_EQ(ParseDouble("+1e3"), 1000.0);
  EXPECT_FALSE(ParseDouble("3,25"));
  EXPECT_FALSE(ParseDouble("3x"));
  EXPECT_FALSE(ParseDouble(""));
  EXPECT_EQ(LeadingDouble(" 12.5;5"), 12.5);
  EXPECT_EQ(LeadingDouble("abc"), 0.0);
}

TEST(NumberTextTest, IntegersAreWholeAndInRange) {
  EXPECT_EQ(ParseInt64("42"), 42);
  EXPECT_EQ(ParseInt64("-7"), -7);
  EXPECT_FALSE(ParseInt64("3x"));
  EXPECT_FALSE(ParseInt64("99999999999999999999"));
  EXPECT_FALSE(ParseInt64("+"));
}

TEST(TextTest, TrimTakesBlanksFromBothEnds) {
  EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
  EXPECT_EQ(Trim(" \t "), "");
  EXPECT_EQ(Trim("  x  ", " "), "x");
}

}  // namespace
