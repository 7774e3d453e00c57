// Binding before an acquisition: reference codes, the copied symbol table, and the
// invalid-symbol message that prevents the start.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "calc/calc_binding.h"
#include "calc/calc_reference.h"
#include "calc_items_test_support.h"

namespace {

TEST(CalcBinding, SymbolsGetAcquiredIndexesOrThousandPlusCalculatedIndexes) {
  CalcTestServer env;
  COPCGroup& group = env.AddGroup("G");
  CalcTestServer::AddAcquired(group, "A");
  CalcTestServer::AddAcquired(group, "B");
  CalcTestServer::AddAcquired(group, "SAME");
  CalcTestServer::AddCalc(group, "C0", "A + B * pi + e");
  CalcTestServer::AddCalc(group, "SAME", "SAME + C0 + C2");
  CalcTestServer::AddCalc(group, "C2", "B + SAME");
  // A stale entry from an earlier acquisition disappears.
  group.CalcItems()[0]->Bind({}, {{"GONE", 7}});

  ASSERT_TRUE(BindCalcItems(env.server, env.test.prompt));
  EXPECT_TRUE(env.test.prompt.messages.empty());

  const COPCCalcItem& c0 = *group.CalcItems()[0];
  EXPECT_EQ(c0.Binding(), (std::map<std::string, int>{{"A", 0}, {"B", 1}}));
  // The symbol table is the parser's: the constants and every symbol read.
  ASSERT_EQ(c0.Symbols().size(), 4u);
  EXPECT_EQ(c0.Symbols().at("pi"), 3.141592653589793);
  EXPECT_EQ(c0.Symbols().at("e"), 2.718281828459045);
  EXPECT_TRUE(c0.Symbols().count("A"));
  EXPECT_TRUE(c0.Symbols().count("B"));

  // A name used by an acquired and a calculated item is the acquired item; later items of
  // the list are bound as well as earlier ones.
  EXPECT_EQ(group.CalcItems()[1]->Binding(),
            (std::map<std::string, int>{{"C0", 1000}, {"C2", 1002}, {"SAME", 2}}));
  EXPECT_EQ(group.CalcItems()[2]->Binding(), (std::map<std::string, int>{{"B", 1}, {"SAME", 2}}));
  EXPECT_TRUE(IsCalcReference(1000));
  EXPECT_FALSE(IsCalcReference(999));
}

TEST(CalcBinding, SymbolsAreBoundWithinTheirOwnGroupOnly) {
  CalcTestServer env;
  COPCGroup& first = env.AddGroup("First");
  CalcTestServer::AddAcquired(first, "X");
  CalcTestServer::AddCalc(first, "FX", "X * 2");
  COPCGroup& second = env.AddGroup("Second");
  CalcTestServer::AddAcquired(second, "Y");
  CalcTestServer::AddAcquired(second, "Z");
  CalcTestServer::AddCalc(second, "OK", "Z");
  CalcTestServer::AddCalc(second, "BAD", "Y + X");  // X belongs to the first group

  EXPECT_FALSE(BindCalcItems(env.server, env.test.prompt));
  ASSERT_EQ(env.test.prompt.messages.size(), 1u);
  EXPECT_EQ(env.test.prompt.messages[0].text,
            "Calculated OPC Item Index 1: Invalid Symbol (X) Found in Expression 'Y + X' !!! "
            "End of Job ...");
  EXPECT_EQ(env.test.prompt.messages[0].buttons, MessageButtons::kOk);
  // The groups before were bound, the items before the failing one too.
  EXPECT_EQ(first.CalcItems()[0]->Binding().at("X"), 0);
  EXPECT_EQ(second.CalcItems()[0]->Binding().at("Z"), 1);
}

TEST(CalcBinding, TheFirstInvalidSymbolInTableOrderStopsTheStart) {
  CalcTestServer env;
  COPCGroup& group = env.AddGroup("G");
  CalcTestServer::AddAcquired(group, "temp");
  CalcTestServer::AddCalc(group, "C", "TEMP + temp + AB");
  // The engine's hook: a bool(COPCServer&) function wrapping the prompt.
  std::function<bool(COPCServer&)> bind = [&env](COPCServer& server) {
    return BindCalcItems(server, env.test.prompt);
  };
  EXPECT_FALSE(bind(env.server));
  ASSERT_EQ(env.test.prompt.messages.size(), 1u);
  EXPECT_EQ(env.test.prompt.messages[0].text,
            "Calculated OPC Item Index 0: Invalid Symbol (AB) Found in Expression 'TEMP + temp "
            "+ AB' !!! End of Job ...");
}

TEST(CalcBinding, ExpressionErrorsDoNotStopTheBindingAndEmptyGroupsBind) {
  CalcTestServer env;
  env.AddGroup("Empty");
  COPCGroup& group = env.AddGroup("G");
  CalcTestServer::AddAcquired(group, "A");
  CalcTestServer::AddCalc(group, "DIV", "A / 0");
  CalcTestServer::AddCalc(group, "CONST", "");
  EXPECT_TRUE(BindCalcItems(env.server, env.test.prompt));
  EXPECT_EQ(group.CalcItems()[0]->Binding().at("A"), 0);
  EXPECT_TRUE(group.CalcItems()[1]->Binding().empty());
  EXPECT_TRUE(env.test.prompt.messages.empty());
  // A server without groups binds trivially.
  CalcTestServer none;
  EXPECT_TRUE(BindCalcItems(none.server, none.test.prompt));
}

}  // namespace
