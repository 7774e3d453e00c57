// Evaluation at each acquisition cycle: list order decides whether an item sees this
// cycle's or the previous cycle's value, acquired values convert by type, and the result is
// stored whatever the evaluation status.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "calc/calc_binding.h"
#include "calc/calc_evaluation.h"
#include "calc/calc_reference.h"
#include "calc/expression_status.h"
#include "calc_items_test_support.h"

namespace {

class CalcEvaluationTest : public ::testing::Test {
 protected:
  CalcEvaluationTest() : group(env.AddGroup("G")) {}

  // One cycle: the acquired item A reads the value, then the calculated items are computed.
  void Cycle(double dA) {
    CalcTestServer::SetValue(*group.AcquiredItems()[0], MakeVariantR8(dA));
    EvaluateCalcItems(group);
  }

  double Value(size_t index) const { return group.CalcItems()[index]->CalcValue(); }

  CalcTestServer env;
  COPCGroup& group;
};

TEST_F(CalcEvaluationTest, AnEarlierItemIsSeenWithThisCyclesValue) {
  CalcTestServer::AddAcquired(group, "A");
  CalcTestServer::AddCalc(group, "C1", "A * 10");
  CalcTestServer::AddCalc(group, "C2", "C1 + 1");
  ASSERT_TRUE(BindCalcItems(env.server, env.test.prompt));
  Cycle(1.0);
  EXPECT_EQ(Value(0), 10.0);
  EXPECT_EQ(Value(1), 11.0);
  Cycle(2.0);
  EXPECT_EQ(Value(0), 20.0);
  EXPECT_EQ(Value(1), 21.0);
}

TEST_F(CalcEvaluationTest, ALaterItemIsSeenWithThePreviousCyclesValue) {
  CalcTestServer::AddAcquired(group, "A");
  CalcTestServer::AddCalc(group, "C2", "C1 + 1");
  CalcTestServer::AddCalc(group, "C1", "A * 10");
  CalcTestServer::AddCalc(group, "COUNT", "COUNT + 1");  // itself: its previous value
  ASSERT_TRUE(BindCalcItems(env.server, env.test.prompt));
  // First cycle: C1's initial value.
  Cycle(1.0);
  EXPECT_EQ(Value(0), 1.0);
  EXPECT_EQ(Value(1), 10.0);
  EXPECT_EQ(Value(2), 1.0);
  Cycle(2.0);
  EXPECT_EQ(Value(0), 11.0);
  EXPECT_EQ(Value(1), 20.0);
  EXPECT_EQ(Value(2), 2.0);
  Cycle(3.0);
  EXPECT_EQ(Value(0), 21.0);
  EXPECT_EQ(Value(2), 3.0);
}

TEST_F(CalcEvaluationTest, AcquiredValuesConvertToDoubleByType) {
  VARIANT v;
  v.vt = VT_BOOL;
  v.boolVal = -1;
  EXPECT_EQ(VariantToDouble(v), 1.0);
  v.boolVal = 0;
  EXPECT_EQ(VariantToDouble(v), 0.0);
  v.boolVal = 1;
  EXPECT_EQ(VariantToDouble(v), 1.0);
  v = VARIANT();
  v.vt = VT_I1;
  v.cVal = -5;
  EXPECT_EQ(VariantToDouble(v), -5.0);
  v.vt = VT_UI1;
  v.bVal = 200;
  EXPECT_EQ(VariantToDouble(v), 200.0);
  v.vt = VT_I2;
  v.iVal = -30000;
  EXPECT_EQ(VariantToDouble(v), -30000.0);
  v.vt = VT_UI2;
  v.uiVal = 65535;
  EXPECT_EQ(VariantToDouble(v), 65535.0);
  EXPECT_EQ(VariantToDouble(MakeVariantI4(-2000000000)), -2000000000.0);
  v.vt = VT_UI4;
  v.ulVal = 4000000000u;
  EXPECT_EQ(VariantToDouble(v), 4000000000.0);
  v.vt = VT_I8;
  v.llVal = -(int64_t(1) << 40);
  EXPECT_EQ(VariantToDouble(v), -1099511627776.0);
  v.vt = VT_UI8;
  v.ullVal = uint64_t(1) << 63;
  EXPECT_EQ(VariantToDouble(v), 9223372036854775808.0);
  v.vt = VT_R4;
  v.fltVal = 0.1f;
  EXPECT_EQ(VariantToDouble(v), static_cast<double>(0.1f));
  EXPECT_EQ(VariantToDouble(MakeVariantR8(-2.5)), -2.5);
}

TEST_F(CalcEvaluationTest, UnsupportedTypesReadAsZero) {
  EXPECT_EQ(VariantToDouble(VARIANT()), 0.0);
  EXPECT_EQ(VariantToDouble(MakeVariantBstr("12.5")), 0.0);
  VARIANT v;
  v.vt = VT_DATE;
  v.date = 46000.5;
  EXPECT_EQ(VariantToDouble(v), 0.0);
  v.vt = VT_CY;
  v.cyVal.int64 = 125000;
  EXPECT_EQ(VariantToDouble(v), 0.0);
  v = VARIANT();
  v.vt = VT_ARRAY | VT_R8;
  v.parray.push_back(MakeVariantR8(3.0));
  EXPECT_EQ(VariantToDouble(v), 0.0);
  v = VARIANT();
  v.vt = VT_ERROR;
  v.scode = 5;
  EXPECT_EQ(VariantToDouble(v), 0.0);
}

TEST_F(CalcEvaluationTest, BooleanAndIntegerItemsWorkInExpressions) {
  COPCItem& flag = CalcTestServer::AddAcquired(group, "FLAG", VT_BOOL);
  COPCItem& count = CalcTestServer::AddAcquired(group, "COUNT", VT_UI2);
  COPCItem& text = CalcTestServer::AddAcquired(group, "TEXT", VT_BSTR);
  CalcTestServer::AddCalc(group, "R", "if(FLAG, COUNT * 2, -1) + TEXT");
  ASSERT_TRUE(BindCalcItems(env.server, env.test.prompt));
  CalcTestServer::SetValue(flag, MakeVariantBool(true));
  VARIANT twentyOne;
  twentyOne.vt = VT_UI2;
  twentyOne.uiVal = 21;
  CalcTestServer::SetValue(count, twentyOne);
  CalcTestServer::SetValue(text, MakeVariantBstr("1000"));
  EvaluateCalcItems(group);
  EXPECT_EQ(Value(0), 42.0);
  CalcTestServer::SetValue(flag, MakeVariantBool(false));
  EvaluateCalcItems(group);
  EXPECT_EQ(Value(0), -1.0);
  // An item with no value yet (VT_EMPTY) reads 0.
  CalcTestServer::SetValue(count, VARIANT());
  CalcTestServer::SetValue(flag, MakeVariantBool(true));
  EvaluateCalcItems(group);
  EXPECT_EQ(Value(0), 0.0);
}

TEST_F(CalcEvaluationTest, TheResultIsStoredWhateverTheStatusAndMarkedGood) {
  CalcTestServer::AddAcquired(group, "A");
  CalcTestServer::AddCalc(group, "DIV", "A / (A - 1)");
  CalcTestServer::AddCalc(group, "USES", "DIV + 1");
  ASSERT_TRUE(BindCalcItems(env.server, env.test.prompt));
  const COPCCalcItem& item = *group.CalcItems()[0];
  EXPECT_EQ(item.Valid(), 0);
  EXPECT_EQ(item.QualityText(), "No Value");
  Cycle(3.0);
  EXPECT_EQ(Value(0), 1.5);
  Cycle(1.0);  // division by zero: the error value is stored and used
  EXPECT_EQ(Value(0), 129.0);
  EXPECT_EQ(Value(1), 130.0);
  EXPECT_EQ(item.Valid(), 1);
  EXPECT_EQ(item.Quality(), kCalcValueQuality);
  EXPECT_EQ(item.QualityText(), "Good");
  EXPECT_TRUE(item.IsGood());
  // The value variant is left alone: the item's recorded type stays its type code.
  EXPECT_EQ(item.Value().vt, VT_EMPTY);
}

TEST_F(CalcEvaluationTest, ReferencesThatNoLongerNameAnItemReadZero) {
  CalcTestServer::AddAcquired(group, "A");
  CalcTestServer::AddCalc(group, "C", "A + B + K");
  COPCCalcItem& item = *group.CalcItems()[0];
  // A binding made for a larger group, and a symbol that has no binding at all.
  const COPCCalcItem::SymbolTable symbols = {
      {"A", 0.0}, {"B", 0.0}, {"K", 0.0}, {"pi", 3.14}, {"e", 2.7}};
  item.Bind(symbols, {{"A", 5}, {"B", kCalcReferenceBase + 9}});
  CalcTestServer::SetValue(*group.AcquiredItems()[0], MakeVariantR8(100.0));
  // The engine's hook takes the function as it is.
  std::function<void(COPCGroup&)> evaluate = EvaluateCalcItems;
  evaluate(group);
  EXPECT_EQ(item.CalcValue(), 0.0);
  item.Bind(symbols, {{"A", 0}, {"B", -3}});
  evaluate(group);
  EXPECT_EQ(item.CalcValue(), 100.0);
}

TEST_F(CalcEvaluationTest, AGroupWithoutServerEvaluatesWithAFixedSeed) {
  COPCGroup loose(nullptr);
  CalcTestServer::SetValue(CalcTestServer::AddAcquired(loose, "A"), MakeVariantR8(4.0));
  CalcTestServer::AddCalc(loose, "S", "sqrt(A)");
  ASSERT_TRUE(BindGroupCalcItems(loose, env.test.clock, env.test.prompt));
  EvaluateCalcItems(loose);
  EXPECT_EQ(loose.CalcItems()[0]->CalcValue(), 2.0);
  EXPECT_TRUE(ExpressionStatus::Valid());
  EvaluateCalcItemsWithClock(loose, env.test.clock);
  EXPECT_EQ(loose.CalcItems()[0]->CalcValue(), 2.0);
}

}  // namespace
