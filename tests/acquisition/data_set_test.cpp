#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "acquisition/historical_data_list.h"
#include "acquisition/value_text.h"

TEST(DataSet, StatusBitsArePackedEightColumnsPerWordAndOnlyAdded) {
  DataSet row("01/Jan/2026 00:00:00.000", 16);
  row.OrStatus(1, kStatusBadQuality);
  row.OrStatus(1, kStatusInterpolated);
  row.OrStatus(8, kStatusInactive);
  EXPECT_EQ(row.Status(1), 5);
  EXPECT_EQ(row.Status(8), 2);
  EXPECT_EQ(row.Status(2), 0);
  EXPECT_EQ(row.StatusBlock().Words()[0], 0x50u);  // column 1: bits 4..7
  EXPECT_EQ(row.StatusBlock().Words()[1], 0x2u);   // column 8: bits 0..3 of word 1
}

TEST(DataSet, TheLargestConfigurationHasBitsInItsLastColumn) {
  DataSet row("t", 256);
  row.OrStatus(256, kStatusInactive);
  EXPECT_EQ(row.Status(256), kStatusInactive);
  CompactDataSet compact(row);
  EXPECT_EQ(compact.Status(256), kStatusInactive);
}

TEST(ValueText, TwoFieldsPerColumnWithStatusOnlyWhenSet) {
  DataSet row("t", 2);
  row.SetCell(1, "1.00");
  row.OrStatus(2, kStatusInactive);
  EXPECT_EQ(OPCAcqValueText(row), "1.00;;;2;");
  DataSet empty("t", 2);
  EXPECT_EQ(OPCAcqValueText(empty), ";;;;");
  DataSet example("t", 2);
  example.SetCell(1, "12.50");
  example.SetCell(2, "ON");
  example.OrStatus(2, kStatusBadQuality);
  EXPECT_EQ(OPCAcqValueText(CompactDataSet(example)), "12.50;;ON;1;");
}

TEST(ValueText, SemicolonsAndPercentsInCellsAreEscapedSoColumnsNeverShift) {
  DataSet row("t", 3);
  row.SetCell(1, "Alpha;Beta");
  row.SetCell(2, "100% %3B");
  row.SetCell(3, "12.50");
  row.OrStatus(3, kStatusBadQuality);
  const std::string text = OPCAcqValueText(row);
  EXPECT_EQ(text, "Alpha%3BBeta;;100%25 %253B;;12.50;1;");
  std::vector<StoredValueField> fields;
  ASSERT_TRUE(SplitValueText(text, fields));
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[0].text, "Alpha;Beta");
  EXPECT_EQ(fields[1].text, "100% %3B");
  EXPECT_EQ(fields[2].status, kStatusBadQuality);
  // Only the two sequences are decoded; a lone or other "%" stays as it is.
  EXPECT_EQ(DecodeValueField("5%x%2%3b"), "5%x%2%3b");
  EXPECT_FALSE(SplitValueText("1.00;;2.00", fields));  // no status field
  EXPECT_FALSE(SplitValueText("1.00;9;", fields));     // not a status
  EXPECT_TRUE(SplitValueText("", fields) && fields.empty());
}

TEST(ValueText, CompressionIsAPlainZlibStreamOfAnyLength) {
  std::string text;
  for (int i = 0; i < 256; ++i)
    text += std::string(400, static_cast<char>('a' + i % 26)) + ";;";
  std::vector<uint8_t> compressed;
  ASSERT_EQ(CompressValueText(text, compressed), 0);
  ASSERT_GE(compressed.size(), 2u);
  EXPECT_EQ(compressed[0], 0x78);  // deflate, 32 KiB window
  EXPECT_EQ((compressed[0] * 256 + compressed[1]) % 31, 0);
  std::string back;
  ASSERT_EQ(DecompressValueText(compressed.data(), compressed.size(), back), 0);
  EXPECT_EQ(back, text);
  EXPECT_NE(DecompressValueText(compressed.data(), compressed.size() / 2, back), 0);
}

TEST(HistoricalDataList, CompactRowsKeepEveryTextWholeAboveSixtyFourKiB) {
  DataSet row("05/Mar/2026 09:04:07.042", 256);
  for (int column = 1; column <= 256; ++column) {
    row.SetCell(column, std::string(300, static_cast<char>('A' + column % 26)) + ";,'");
  }
  HistoricalDataList list;
  list.Reset(256);
  list.Append(row);
  DataSetPtr stored = list.Row(0);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->TimeText(), "05/Mar/2026 09:04:07.042");
  for (int column = 1; column <= 256; ++column) {
    ASSERT_EQ(stored->Cell(column), row.Cell(column)) << column;
  }
  EXPECT_EQ(stored->Cell(0), "");
  EXPECT_EQ(stored->Cell(257), "");
}

TEST(HistoricalDataList, ReplaceLeavesReadersWithTheirConsistentRow) {
  HistoricalDataList list;
  list.Reset(2);
  DataSet row("t0", 2);
  row.SetCell(1, "10.00");
  list.Append(row);
  DataSetPtr before = list.Row(0);
  DataSet edited = list.Edit(0);
  edited.SetCell(2, "11.00");
  edited.OrStatus(2, kStatusInterpolated);
  list.Replace(0, edited);
  EXPECT_EQ(before->Cell(2), "");
  EXPECT_EQ(list.Row(0)->Cell(2), "11.00");
  EXPECT_EQ(list.Row(0)->Status(2), kStatusInterpolated);
  EXPECT_EQ(list.Row(1), nullptr);
  EXPECT_EQ(list.Snapshot(0, 10).size(), 1u);
}

TEST(HistoricalDataList, AReaderThreadSeesOnlyWholeRowsWhileTheOwnerAppends) {
  HistoricalDataList list;
  list.Reset(3);
  std::atomic<bool> done{false};
  std::atomic<int> badRows{0};
  std::thread reader([&] {
    while (!done) {
      const int count = list.Count();
      for (const DataSetPtr& row : list.Snapshot(count > 5 ? count - 5 : 0, 5)) {
        if (row->Cell(1) != row->Cell(3))
          ++badRows;
      }
    }
  });
  for (int i = 0; i < 5000; ++i) {
    DataSet row("t", 3);
    row.SetCell(1, std::to_string(i));
    row.SetCell(3, std::to_string(i));
    list.Append(row);
    if (i > 0) {
      DataSet edit = list.Edit(i - 1);
      edit.SetCell(2, "x");
      list.Replace(i - 1, edit);
    }
  }
  done = true;
  reader.join();
  EXPECT_EQ(badRows, 0);
  EXPECT_EQ(list.Count(), 5000);
}
