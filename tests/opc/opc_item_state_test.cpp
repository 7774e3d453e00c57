// The item's operations keep together what belongs together: a read sets value, quality,
// time stamp and the item's own code at once; the server's answer sets validity and handle;
// a new expression drops the evaluation context built from the old one; a computed value
// makes the item valid.
#include <gtest/gtest.h>

#include "opc/opc_item.h"
#include "opc/opc_limits.h"

namespace {

FILETIME Stamp(uint64_t ticks) {
  return FileTimeFromUint64(ticks);
}

TEST(OpcItemStateTest, ANewAcquiredItemIsOutOfServiceUntilTheServerAcceptsIt) {
  COPCItem item(nullptr, Stamp(5));
  item.Define("Plant.Line1.Speed", "SPEED", "Plant.Line1.Speed", VT_R8);
  EXPECT_EQ(item.Valid(), 0);
  EXPECT_EQ(item.Quality(), kNewItemQuality);
  EXPECT_EQ(FileTimeToUint64(item.TimeStamp()), 5u);
  EXPECT_EQ(item.ValueType(), VT_R8);  // no value yet: the data type

  item.Accept("Plant.Line1.Speed.PV", 42, VT_R4, 3);
  EXPECT_EQ(item.Valid(), 1);
  EXPECT_EQ(item.QualifiedId(), "Plant.Line1.Speed.PV");
  EXPECT_EQ(item.ShortId(), "SPEED");
  EXPECT_EQ(item.Description(), "Plant.Line1.Speed");
  EXPECT_EQ(item.ServerItem(), 42u);
  EXPECT_EQ(item.DataType(), VT_R4);
  EXPECT_EQ(item.AccessRights(), 3u);

  item.Refuse();
  EXPECT_EQ(item.Valid(), 0);
  EXPECT_EQ(item.ServerItem(), 0u);
  EXPECT_EQ(item.QualifiedId(), "Plant.Line1.Speed.PV");
}

TEST(OpcItemStateTest, AReadSetsValueQualityTimeStampAndCodeTogether) {
  COPCItem item(nullptr, Stamp(5));
  item.Accept("A", 1, VT_R8, 1);
  item.SetReadResult(MakeVariantI4(17), 0xC0, Stamp(900), S_FALSE);
  EXPECT_EQ(item.Value().vt, VT_I4);
  EXPECT_EQ(item.Value().lVal, 17);
  EXPECT_EQ(item.ValueType(), VT_I4);  // the value's own type once one came
  EXPECT_EQ(item.Quality(), 0xC0);
  EXPECT_EQ(FileTimeToUint64(item.TimeStamp()), 900u);
  EXPECT_EQ(item.ReadResult(), S_FALSE);
  EXPECT_TRUE(item.IsGood());

  // The next read replaces all four, a failed item code included.
  item.SetReadResult(MakeVariantR8(2.5), 0x18, Stamp(1900), E_FAIL);
  EXPECT_EQ(item.Value().vt, VT_R8);
  EXPECT_EQ(item.Value().dblVal, 2.5);
  EXPECT_EQ(item.Quality(), 0x18);
  EXPECT_EQ(FileTimeToUint64(item.TimeStamp()), 1900u);
  EXPECT_EQ(item.ReadResult(), E_FAIL);
  EXPECT_FALSE(item.IsGood());
}

TEST(OpcItemStateTest, ANewExpressionDropsTheContextBuiltFromTheOldOne) {
  COPCCalcItem item(nullptr, Stamp(5));
  item.Define("C1", "C1", "C1", VT_R4);
  item.SetExpression("A + B");
  item.Bind({{"A", 0.0}, {"B", 0.0}, {"pi", 3.14}}, {{"A", 0}, {"B", 1}});
  EXPECT_EQ(item.Binding().size(), 2u);

  // The same text keeps the context.
  item.SetExpression("A + B");
  EXPECT_EQ(item.Symbols().size(), 3u);
  EXPECT_EQ(item.Binding().size(), 2u);

  item.SetExpression("A * 2");
  EXPECT_EQ(item.Expression(), "A * 2");
  EXPECT_TRUE(item.Symbols().empty());
  EXPECT_TRUE(item.Binding().empty());
}

TEST(OpcItemStateTest, TheDefinitionIsOneValueApartFromTheLiveState) {
  COPCItem item(nullptr, Stamp(5));
  item.Define("Plant.Speed", "SPEED", "Line speed", VT_R8);
  const OPCItemDefinition copy = item.Definition();
  EXPECT_EQ(copy, (OPCItemDefinition{"Plant.Speed", "SPEED", "Line speed", VT_R8}));

  // Live state is not part of it; later changes do not reach the copy.
  item.Accept("Plant.Speed.PV", 7, VT_R4, 1);
  item.SetReadResult(MakeVariantI4(3), 0xC0, Stamp(9), S_OK);
  item.SetShortId("LS");
  item.SetDescription("Renamed");
  EXPECT_EQ(copy.m_sQualifiedId, "Plant.Speed");
  EXPECT_EQ(copy.m_sShortId, "SPEED");
  EXPECT_EQ(copy.m_vtDataType, VT_R8);
  EXPECT_EQ(item.Definition(), (OPCItemDefinition{"Plant.Speed.PV", "LS", "Renamed", VT_R4}));

  COPCCalcItem calc(nullptr, Stamp(5));
  calc.Define("Twice", "TW", "Doubled", VT_R8);
  calc.SetExpression("LS * 2");
  calc.SetComputedValue(4.0, 0xC0);
  OPCCalcItemDefinition expected;
  expected.m_sQualifiedId = "Twice";
  expected.m_sShortId = "TW";
  expected.m_sDescription = "Doubled";
  expected.m_vtDataType = VT_R8;
  expected.m_sExpression = "LS * 2";
  EXPECT_EQ(calc.Definition(), expected);
  // Through the common part, the same definition.
  const COPCBaseItem& base = calc;
  EXPECT_EQ(&base.Definition(), &calc.Definition());
  EXPECT_EQ(base.ShortId(), "TW");
}

TEST(OpcItemStateTest, AComputedValueMakesTheCalculatedItemValid) {
  COPCCalcItem item(nullptr, Stamp(5));
  EXPECT_EQ(item.Valid(), 0);
  EXPECT_EQ(item.Quality(), 0);
  item.SetComputedValue(12.5, 0xC0);
  EXPECT_EQ(item.CalcValue(), 12.5);
  EXPECT_EQ(item.Valid(), 1);
  EXPECT_EQ(item.Quality(), 0xC0);
}

}  // namespace
