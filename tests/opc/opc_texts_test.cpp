#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "opc/opc_item.h"
#include "opc/opc_texts.h"

namespace {

VARIANT Value(VARTYPE vt) {
  VARIANT v;
  v.vt = vt;
  return v;
}

TEST(OpcQualityText, EveryQualityOfTheTable) {
  const std::pair<uint16_t, const char*> expected[] = {
      {0x00, "Bad"},
      {0x04, "Bad (Configuration Error)"},
      {0x08, "Bad (Not Connected)"},
      {0x0C, "Bad (Device Failure)"},
      {0x10, "Bad (Sensor Failure)"},
      {0x14, "Bad (Last Known Value)"},
      {0x18, "Bad (Communications Failed)"},
      {0x1C, "Bad (Out of Service)"},
      {0x40, "Uncertain"},
      {0x44, "Uncertain (Last Useable Value)"},
      {0x50, "Uncertain (Sensor Not Accurate)"},
      {0x54, "Uncertain (Engineering Units Exceeded)"},
      {0x58, "Uncertain (Sub-Normal)"},
      {0xC0, "Good"},
      {0xD8, "Good (Local Override)"},
  };
  for (const auto& [quality, text] : expected)
    EXPECT_EQ(QualityText(1, quality), text) << std::hex << quality;
}

TEST(OpcQualityText, LimitBitsIgnoredUnknownAndInvalidShowNoValue) {
  EXPECT_EQ(QualityText(1, 0xC3), "Good");
  EXPECT_EQ(QualityText(1, 0x1D), "Bad (Out of Service)");
  EXPECT_EQ(QualityText(1, 0x48), "No Value");
  EXPECT_EQ(QualityText(1, 0xFC), "No Value");
  EXPECT_EQ(QualityText(0, 0xC0), "No Value");
}

TEST(OpcQualityText, IsGoodOnlyForGoodAndLocalOverrideOfValidItems) {
  EXPECT_TRUE(IsGoodQuality(1, 0xC0));
  EXPECT_TRUE(IsGoodQuality(1, 0xC3));
  EXPECT_TRUE(IsGoodQuality(1, 0xDA));
  EXPECT_FALSE(IsGoodQuality(1, 0x40));
  EXPECT_FALSE(IsGoodQuality(1, 0x1C));
  EXPECT_FALSE(IsGoodQuality(1, 0xC4));
  EXPECT_FALSE(IsGoodQuality(0, 0xC0));
}

TEST(OpcValueText, IntegersByType) {
  VARIANT v = Value(VT_I2);
  v.iVal = -1234;
  EXPECT_EQ(ValueText(1, v, 2), "-1234");
  v = Value(VT_I4);
  v.lVal = -2000000000;
  EXPECT_EQ(ValueText(1, v, 2), "-2000000000");
  v = Value(VT_I1);
  v.cVal = -5;
  EXPECT_EQ(ValueText(1, v, 2), "-5");
  v = Value(VT_UI1);
  v.bVal = 255;
  EXPECT_EQ(ValueText(1, v, 2), "255");
  v = Value(VT_UI2);
  v.uiVal = 65535;
  EXPECT_EQ(ValueText(1, v, 2), "65535");
  v = Value(VT_UI4);
  v.ulVal = 4000000000u;
  EXPECT_EQ(ValueText(1, v, 2), "4000000000");
  v = Value(VT_I8);
  v.llVal = -9000000000LL;
  EXPECT_EQ(ValueText(1, v, 2), "-9000000000");
  v = Value(VT_UI8);
  v.ullVal = std::numeric_limits<uint64_t>::max();
  EXPECT_EQ(ValueText(1, v, 2), "18446744073709551615");
}

TEST(OpcValueText, RealsWithTheUsersDecimals) {
  VARIANT v = Value(VT_R4);
  v.fltVal = 2.5f;
  EXPECT_EQ(ValueText(1, v, 2), "2.50");
  EXPECT_EQ(ValueText(1, v, 0), "2");
  EXPECT_EQ(ValueText(1, v, 5), "2.50000");
  v = Value(VT_R8);
  v.dblVal = 3.14159;
  EXPECT_EQ(ValueText(1, v, 3), "3.142");
}

TEST(OpcValueText, DoubleIsShownAtSinglePrecision) {
  VARIANT v = Value(VT_R8);
  v.dblVal = 0.1;
  EXPECT_EQ(ValueText(1, v, 9), "0.100000001");
  v.dblVal = 16777217.0;  // not representable in single precision
  EXPECT_EQ(ValueText(1, v, 0), "16777216");
}

TEST(OpcValueText, CurrencyDateTextAndBoolean) {
  VARIANT v = Value(VT_CY);
  v.cyVal.int64 = 123456;
  EXPECT_EQ(ValueText(1, v, 2), "12.3456");
  v = Value(VT_DATE);
  v.date = 46363.5 + 1234.0 / 86400000.0;  // 2026-12-07 12:00:01.234
  EXPECT_EQ(ValueText(1, v, 2), "07-12-2026 12:00:01.234");
  v.date = 46084.0 + (9 * 3600 + 5 * 60 + 7) / 86400.0;  // 2026-03-03 09:05:07
  EXPECT_EQ(ValueText(1, v, 2), "03-03-2026 9:05:07.000");
  v = MakeVariantBstr("Alpha;Beta");
  EXPECT_EQ(ValueText(1, v, 2), "Alpha;Beta");
  v = MakeVariantBool(true);
  EXPECT_EQ(ValueText(1, v, 2), "1");
  v = MakeVariantBool(false);
  EXPECT_EQ(ValueText(1, v, 2), "0");
}

TEST(OpcValueText, InvalidArraysAndUnknownTypesShowQuestionMarks) {
  VARIANT v = MakeVariantI4(7);
  EXPECT_EQ(ValueText(0, v, 2), "???");
  VARIANT array = Value(VT_ARRAY | VT_I4);
  array.parray = {MakeVariantI4(1), MakeVariantI4(2)};
  EXPECT_EQ(ValueText(1, array, 2), "???");
  EXPECT_EQ(ValueText(1, Value(VT_NULL), 2), "???");
  EXPECT_EQ(ValueText(1, Value(VT_EMPTY), 2), "");
  VARIANT date = Value(VT_DATE);
  date.date = std::nan("");
  EXPECT_EQ(ValueText(1, date, 2), "???");
  date.date = 1e12;
  EXPECT_EQ(ValueText(1, date, 2), "???");
}

TEST(OpcDataTypeText, NamesWithAndWithoutArrayBit) {
  EXPECT_EQ(DataTypeText(VT_I2), "Short");
  EXPECT_EQ(DataTypeText(VT_I4), "Long");
  EXPECT_EQ(DataTypeText(VT_R4), "Float");
  EXPECT_EQ(DataTypeText(VT_R8), "Double");
  EXPECT_EQ(DataTypeText(VT_BSTR), "String");
  EXPECT_EQ(DataTypeText(VT_BOOL), "Boolean");
  EXPECT_EQ(DataTypeText(VT_I1), "Char");
  EXPECT_EQ(DataTypeText(VT_UI1), "Byte");
  EXPECT_EQ(DataTypeText(VT_UI2), "Word");
  EXPECT_EQ(DataTypeText(VT_UI4), "DWord");
  EXPECT_EQ(DataTypeText(VT_I8), "Native");
  EXPECT_EQ(DataTypeText(VT_DATE), "Native");
  EXPECT_EQ(DataTypeText(VT_EMPTY), "Native");
  EXPECT_EQ(DataTypeText(VT_R4 | VT_ARRAY), "Float Array");
  EXPECT_EQ(DataTypeText(VT_CY | VT_ARRAY), "Native Array");
}

TEST(OpcReadInterfaceText, NamesAndDescriptionsByCode) {
  EXPECT_EQ(ReadInterfaceName(0), "Sync I/O Cache (1.0a)");
  EXPECT_EQ(ReadInterfaceName(1), "Sync I/O Device (1.0a)");
  EXPECT_EQ(ReadInterfaceName(2), "ASync I/O (1.0a)");
  EXPECT_EQ(ReadInterfaceName(3), "ASync I/O (2.0)");
  EXPECT_EQ(ReadInterfaceDescription(1), "Synchronous Device Read to the Server");
  EXPECT_EQ(ReadInterfaceDescription(3), "ASynchronous Read to the Server (OPC 2.0)");
  EXPECT_EQ(ReadInterfaceName(4), "");
}

TEST(OpcItem, NewItemsStartWithTheirDocumentedState) {
  const FILETIME now = FileTimeFromUint64(133000000000000000ULL);
  COPCItem item(nullptr, now);
  EXPECT_EQ(item.Quality(), 0x1C);
  EXPECT_EQ(item.Valid(), 0);
  EXPECT_EQ(item.AccessRights(), 1u);
  EXPECT_EQ(item.ServerItem(), 0u);
  EXPECT_EQ(item.Value().vt, VT_EMPTY);
  EXPECT_EQ(FileTimeToUint64(item.TimeStamp()), FileTimeToUint64(now));
  EXPECT_EQ(item.QualityText(), "No Value");
  EXPECT_EQ(item.ValueText(2), "???");
  COPCCalcItem calc(nullptr, now);
  EXPECT_EQ(calc.Quality(), 0);
  EXPECT_EQ(calc.Valid(), 0);
  EXPECT_TRUE(calc.Expression().empty());
  // A valid item with a stored value shows it.
  item.Accept(item.QualifiedId(), 1, VT_I4, 1);
  item.SetReadResult(MakeVariantI4(12), 0xC0, now, S_OK);
  EXPECT_EQ(item.ValueText(2), "12");
  EXPECT_EQ(item.QualityText(), "Good");
  EXPECT_TRUE(item.IsGood());
}

}  // namespace
