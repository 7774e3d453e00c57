#include <gtest/gtest.h>

#include "acquisition/data_set_writer.h"
#include "opc/opc_group.h"
#include "opc_model_access.h"
#include "platform/com/variant.h"

namespace {

std::string Step(int type, const char* start, const char* end, int step, int gap) {
  bool handled = false;
  std::string text = InterpolatedText(type, start, end, step, gap, 2, handled);
  return handled ? text : "<untouched>";
}

TEST(Interpolation, NumbersFollowAStraightLineFormattedByType) {
  EXPECT_EQ(Step(VT_R8, "10.00", "13.00", 1, 3), "11.00");
  EXPECT_EQ(Step(VT_R8, "10.00", "13.00", 2, 3), "12.00");
  EXPECT_EQ(Step(VT_I4, "10", "13", 2, 3), "12");
  EXPECT_EQ(Step(VT_I2, "0", "-5", 1, 2), "-2");     // truncated toward zero
  EXPECT_EQ(Step(VT_R4, "abc", "4", 1, 2), "2.00");  // a text that is not a number reads as 0
}

TEST(Interpolation, BooleansSwitchAboveOneHalf) {
  EXPECT_EQ(Step(VT_BOOL, "0", "1", 1, 4), "0");
  EXPECT_EQ(Step(VT_BOOL, "0", "1", 2, 4), "0");
  EXPECT_EQ(Step(VT_BOOL, "0", "1", 3, 4), "1");
}

TEST(Interpolation, StringsHoldUntilTheMiddleRowDatesStepAndOthersStay) {
  EXPECT_EQ(Step(VT_BSTR, "A", "B", 1, 3), "A");
  EXPECT_EQ(Step(VT_BSTR, "A", "B", 2, 3), "B");
  EXPECT_EQ(Step(VT_BSTR, "A", "B", 2, 4), "A");
  EXPECT_EQ(Step(VT_DATE, "01-03-2026 10:00:00.000", "01-03-2026 10:00:03.000", 1, 3),
            "01-03-2026 10:00:01.000");
  EXPECT_EQ(Step(VT_DATE, "31-12-2025 23:59:59.000", "01-01-2026 0:00:01.000", 1, 2),
            "01-01-2026 0:00:00.000");
  EXPECT_EQ(Step(VT_I8, "1", "3", 1, 2), "<untouched>");
}

TEST(Interpolation, WriterMarksRowsOfAGroupThatSkippedThem) {
  HistoricalDataList history;
  RealTimeDataList realTime;
  history.Reset(2);
  CDataSetWriter writer(history, realTime);
  COPCGroup group(nullptr);
  COPCItem* item = group.AppendAcquiredItem();
  item->Accept(item->QualifiedId(), 1, VT_R8, 1);
  item->SetReadResult(MakeVariantR8(10.0), 0xC0, item->TimeStamp(), S_OK);
  COPCCalcItem* calc = group.AppendCalcItem();
  calc->SetComputedValue(7.0, 0xC0);
  std::vector<int> rewritten;
  int lastRow = 0;
  COPCModelAccess::SetTimeText(group, "t0");
  writer.StartDataSet(group);
  writer.WriteGroupValues(group, 0, 2, lastRow, rewritten);
  history.Append(DataSet("t1", 2));
  history.Append(DataSet("t2", 2));
  COPCModelAccess::SetTimeText(group, "t3");
  writer.StartDataSet(group);
  // Bad now: interpolated cells carry the bad-quality bit.
  item->SetReadResult(MakeVariantR8(13.0), 0x1C, item->TimeStamp(), S_OK);
  calc->SetComputedValue(9.0, 0xC0);
  writer.WriteGroupValues(group, 0, 2, lastRow, rewritten);
  EXPECT_EQ(rewritten, (std::vector<int>{1, 2}));
  EXPECT_EQ(history.Row(1)->Cell(1), "11.00");
  EXPECT_EQ(history.Row(2)->Cell(1), "12.00");
  EXPECT_EQ(history.Row(1)->Status(1), kStatusBadQuality);
  EXPECT_EQ(history.Row(3)->Status(1), kStatusBadQuality);
  EXPECT_EQ(history.Row(2)->Cell(2), "7.00");  // calculated: sample and hold
  EXPECT_EQ(history.Row(2)->Status(2), kStatusInterpolated);
  EXPECT_EQ(history.Row(3)->Cell(2), "9.00");
  EXPECT_EQ(lastRow, 3);
}

}  // namespace
