// Block extremes: each block's minimum and maximum per column in the order they came,
// values that are not there skipped, a last partial block, storage that grows.
#include "base/block_extremes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr int kRows = CBlockExtremes::kBlockRows;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct Extremes {
  double minimum = 0.0;
  double maximum = 0.0;
  bool minFirst = false;
};

Extremes Get(const CBlockExtremes& extremes, int block, int column) {
  Extremes e;
  EXPECT_TRUE(extremes.Get(block, column, e.minimum, e.maximum, e.minFirst));
  return e;
}

TEST(BlockExtremes, EachBlockKeepsItsExtremesInTheOrderTheyCame) {
  CBlockExtremes extremes;
  extremes.Reset(3, kRows);  // room for one block: the others make it grow
  // Column 0: falling in block 0, rising in block 1. Column 1: no value in block 0.
  // Column 2: one value per block, equal extremes.
  for (int r = 0; r < 2 * kRows + 10; ++r) {
    extremes.Add(0, r < kRows ? -r : r);
    extremes.Add(1, r < kRows ? kNone : r % 7);
    if (r % kRows == 5)
      extremes.Add(2, 42.0 + r);
    extremes.EndRow();
  }
  EXPECT_EQ(extremes.ClosedBlocks(), 2);
  extremes.Finish();
  EXPECT_EQ(extremes.ClosedBlocks(), 3);
  extremes.Finish();  // nothing more to close
  EXPECT_EQ(extremes.ClosedBlocks(), 3);
  EXPECT_EQ(extremes.Rows(), 2 * kRows + 10);

  Extremes e = Get(extremes, 0, 0);
  EXPECT_EQ(e.minimum, -(kRows - 1));
  EXPECT_EQ(e.maximum, 0.0);
  EXPECT_FALSE(e.minFirst);
  e = Get(extremes, 1, 0);
  EXPECT_EQ(e.minimum, kRows);
  EXPECT_EQ(e.maximum, 2 * kRows - 1);
  EXPECT_TRUE(e.minFirst);
  e = Get(extremes, 2, 0);  // the partial block: rows 2 * kRows .. + 9
  EXPECT_EQ(e.minimum, 2 * kRows);
  EXPECT_EQ(e.maximum, 2 * kRows + 9);

  e = Get(extremes, 0, 1);
  EXPECT_TRUE(std::isnan(e.minimum));
  EXPECT_TRUE(std::isnan(e.maximum));
  e = Get(extremes, 1, 1);
  EXPECT_EQ(e.minimum, 0.0);
  EXPECT_EQ(e.maximum, 6.0);

  for (int block = 0; block < 3; ++block) {
    e = Get(extremes, block, 2);
    EXPECT_EQ(e.minimum, 42.0 + 5 + block * kRows);
    EXPECT_EQ(e.maximum, e.minimum);
    EXPECT_TRUE(e.minFirst);
  }

  double minimum = 0.0, maximum = 0.0;
  bool minFirst = false;
  EXPECT_FALSE(extremes.Get(0, 3, minimum, maximum, minFirst));
  EXPECT_FALSE(extremes.Get(0, -1, minimum, maximum, minFirst));
  EXPECT_FALSE(extremes.Get(-1, 0, minimum, maximum, minFirst));

  extremes.Reset(1);
  EXPECT_EQ(extremes.ClosedBlocks(), 0);
  EXPECT_FALSE(extremes.Get(0, 0, minimum, maximum, minFirst));
}

}  // namespace
