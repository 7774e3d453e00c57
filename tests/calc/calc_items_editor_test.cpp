// The calculated item editor's rules, through its presenter: the expression check, the
// button states in their order, Add / Edit / Modify / Remove with their limits and refusals,
// insertion, and OK / Cancel.
#include <gtest/gtest.h>

#include <string>

#include "calc/calc_editor_presenter.h"
#include "calc/calc_expression_check.h"
#include "calc/calc_identifier.h"
#include "calc_items_test_support.h"

namespace {

class CalcEditorTest : public ::testing::Test {
 protected:
  CalcEditorTest() : group(env.AddGroup("Boiler")) {
    CalcTestServer::AddAcquired(group, "TEMP", VT_R4);
    CalcTestServer::AddAcquired(group, "R", VT_I4);
    CalcTestServer::AddAcquired(group, "T1", VT_R8);
  }

  CCalcItemEditorPresenter& Open() {
    presenter = std::make_unique<CCalcItemEditorPresenter>(env.server, group, env.test.prompt,
                                                           env.test.clock);
    return *presenter;
  }

  // Types an identifier and an expression, then presses Evaluate.
  static void Prepare(CCalcItemEditorPresenter& p, const std::string& id, const std::string& expr) {
    p.SetIdentifier(id);
    p.SetExpression(expr);
    p.Evaluate();
  }

  CalcTestServer env;
  COPCGroup& group;
  std::unique_ptr<CCalcItemEditorPresenter> presenter;
};

TEST_F(CalcEditorTest, OpensOnACopyWithTheGroupsListsAndTexts) {
  CalcTestServer::AddCalc(group, "C1", "TEMP * 2");
  COPCGroup& other = env.AddGroup("Other");
  CalcTestServer::AddAcquired(other, "X");
  for (int i = 0; i < 10; ++i)
    CalcTestServer::AddCalc(other, "K" + std::to_string(i), "X");
  CCalcItemEditorPresenter& p = Open();

  EXPECT_EQ(p.WindowTitle(), "Add, Modify and Remove Calculated OPC Items in OPC Group Boiler");
  EXPECT_EQ(p.FrameCaption(),
            " Calculated Item Expressions for OPC Group 'Boiler' (Group Index: 0)");
  // 128 - 11 in all groups + 1 in this group.
  EXPECT_EQ(p.Allowance(), 118);
  EXPECT_EQ(env.server.TotalCalculatedCount(), 11);

  const auto acquired = p.AcquiredRows();
  ASSERT_EQ(acquired.size(), 3u);
  EXPECT_EQ(acquired[0], (CalcEditorRow{"Plant.TEMP", "TEMP", "Float", "Description of TEMP"}));
  EXPECT_EQ(acquired[1][2], "Long");
  const auto calc = p.CalcRows();
  ASSERT_EQ(calc.size(), 1u);
  EXPECT_EQ(calc[0], (CalcEditorRow{"C1", "C1", "Double", "TEMP * 2"}));
  EXPECT_STREQ(AcquiredListHeadings()[3], "Description");
  EXPECT_STREQ(CalcListHeadings()[3], "Expression");

  const CalcEditorServerInfo info = p.ServerInfo();
  EXPECT_EQ(info.sConnectionStatus, "Not Connected");
  EXPECT_EQ(info.sServerStatus, "No Status Available");
  EXPECT_EQ(info.nGroupCount, 2);
  EXPECT_EQ(info.nAcquiredCount, 4);
  EXPECT_EQ(info.nCalculatedCount, 11);

  // Nothing typed yet: rule 3 then rule 4; nothing can be done.
  EXPECT_EQ(p.Result(), kNotEvaluatedMessage);
  EXPECT_FALSE(p.Buttons().bAdd);
  EXPECT_FALSE(p.Buttons().bModify);
  EXPECT_FALSE(p.Buttons().bRemove);
  EXPECT_FALSE(p.Buttons().bEvaluate);
  EXPECT_FALSE(p.Buttons().bInsertAcquired);
  EXPECT_FALSE(p.Buttons().bEditCalc);
  EXPECT_FALSE(p.EvaluatedAndValid());
}

TEST_F(CalcEditorTest, ExpressionCheckAcceptsOnlyItemSymbolsOfTheGroup) {
  CCalcItemEditorPresenter& p = Open();
  Prepare(p, "DOUBLE_TEMP", "TEMP * 2");
  EXPECT_TRUE(p.EvaluatedAndValid());
  EXPECT_EQ(p.Result(), "Expression TEMP * 2 is Valid ....");
  EXPECT_TRUE(p.Buttons().bAdd);
  EXPECT_TRUE(p.Buttons().bModify);

  // Case matters: temp is not TEMP.
  p.SetExpression("temp * 2");
  EXPECT_FALSE(p.Evaluate());
  EXPECT_EQ(p.Result(), "Use of Unknown Item Symbol temp ... Addition Not Allowed.");
  EXPECT_FALSE(p.Buttons().bAdd);
  EXPECT_FALSE(p.Buttons().bModify);

  // pi and e are never item symbols.
  p.SetExpression("pi * R + e");
  EXPECT_TRUE(p.Evaluate());
  EXPECT_EQ(p.Result(), "Expression pi * R + e is Valid ....");

  // The first unknown symbol in table order (ascending bytes) is named.
  p.SetExpression("ZZ + TEMP + AA");
  EXPECT_FALSE(p.Evaluate());
  EXPECT_EQ(p.Result(), "Use of Unknown Item Symbol AA ... Addition Not Allowed.");

  // An evaluation error gives its own message.
  p.SetExpression("TEMP / 0");
  EXPECT_FALSE(p.Evaluate());
  EXPECT_EQ(p.Result(), "Divide by Zero Error");

  // A calculated item's short id is a known symbol too.
  CalcTestServer::AddCalc(group, "C1", "TEMP");
  CCalcItemEditorPresenter& q = Open();
  Prepare(q, "C2", "C1 + 1");
  EXPECT_TRUE(q.EvaluatedAndValid());
}

TEST_F(CalcEditorTest, AnyChangeOfTheExpressionClearsTheValidFlag) {
  CCalcItemEditorPresenter& p = Open();
  Prepare(p, "X", "TEMP");
  ASSERT_TRUE(p.Buttons().bAdd);
  p.SetExpression("TEMP ");
  EXPECT_FALSE(p.EvaluatedAndValid());
  EXPECT_FALSE(p.Buttons().bAdd);
  EXPECT_EQ(p.Result(), kNotEvaluatedMessage);
  EXPECT_FALSE(p.Add());
  EXPECT_EQ(p.WorkingGroup().CalcCount(), 0);
  // Setting the same text again is no change.
  p.Evaluate();
  p.SetExpression("TEMP ");
  EXPECT_TRUE(p.EvaluatedAndValid());
  // Changing only the identifier keeps the check.
  p.SetIdentifier("Y");
  EXPECT_TRUE(p.Buttons().bAdd);
  EXPECT_EQ(p.Result(), "Expression TEMP  is Valid ....");
}

TEST_F(CalcEditorTest, ExpressionsLongerThan254CharactersAreRefusedNotCut) {
  CCalcItemEditorPresenter& p = Open();
  std::string text = "TEMP";
  while (text.size() + 7 <= 254)
    text += " + TEMP";
  text.append(254 - text.size(), ' ');
  ASSERT_EQ(text.size(), 254u);
  Prepare(p, "LONG", text);
  EXPECT_TRUE(p.EvaluatedAndValid());

  text += "+";  // 255 characters (and no longer valid even if it were cut)
  p.SetExpression(text);
  EXPECT_FALSE(p.Evaluate());
  EXPECT_EQ(p.Result(),
            "Expression is Too Long (255 Characters, at Most 254 Allowed) ... Addition Not "
            "Allowed.");
  // Very long text never fails or hangs.
  p.SetExpression(std::string(100000, '('));
  EXPECT_FALSE(p.Evaluate());
  EXPECT_FALSE(p.Buttons().bAdd);
  const CalcExpressionCheck check =
      CheckCalcExpression(std::string(100000, '('), group, env.test.clock);
  EXPECT_FALSE(check.bValid);
}

TEST_F(CalcEditorTest, AnIdentifierOfAnAcquiredItemDisablesAddModifyAndRemove) {
  CCalcItemEditorPresenter& p = Open();
  for (const char* expr : {"TEMP * 2", "", "1 +"}) {
    p.SetExpression(expr);
    p.SetIdentifier("TEMP");
    if (p.Buttons().bEvaluate)
      p.Evaluate();
    EXPECT_FALSE(p.Buttons().bAdd) << expr;
    EXPECT_FALSE(p.Buttons().bModify) << expr;
    EXPECT_FALSE(p.Buttons().bRemove) << expr;
  }
  // With a valid expression rule 1's message is the last one written.
  p.SetExpression("R");
  p.Evaluate();
  EXPECT_EQ(p.Result(),
            "Name of Current Item (TEMP) is already used as an Acquired OPC Item ... Addition, "
            "Modification and Removal Not Allowed ..");
  // Exact comparison: temp is free.
  p.SetIdentifier("temp");
  EXPECT_TRUE(p.Buttons().bAdd);
}

TEST_F(CalcEditorTest, AnIdentifierOfACalculatedItemAllowsOnlyModifyAndRemove) {
  CalcTestServer::AddCalc(group, "C1", "TEMP");
  CCalcItemEditorPresenter& p = Open();
  Prepare(p, "C1", "TEMP + 1");
  EXPECT_FALSE(p.Buttons().bAdd);
  EXPECT_TRUE(p.Buttons().bModify);
  EXPECT_TRUE(p.Buttons().bRemove);
  EXPECT_EQ(p.Result(),
            "Name of Current Item (C1) is already used as a Calculated OPC Item ... Only "
            "Modification and Removal Allowed ..");
  // Its expression emptied: only removal; rule 4 then writes the last message.
  p.SetExpression("");
  EXPECT_FALSE(p.Buttons().bAdd);
  EXPECT_FALSE(p.Buttons().bModify);
  EXPECT_TRUE(p.Buttons().bRemove);
  EXPECT_FALSE(p.Buttons().bEvaluate);
  EXPECT_EQ(p.Result(), kNotEvaluatedMessage);
}

TEST_F(CalcEditorTest, AnEmptyIdentifierAllowsOnlyEvaluation) {
  CCalcItemEditorPresenter& p = Open();
  p.SetExpression("TEMP");
  EXPECT_TRUE(p.Buttons().bEvaluate);
  EXPECT_TRUE(p.Evaluate());
  EXPECT_EQ(p.Result(),
            "Name of Current Item is Empty ... Addition, Modification and Removal Not Allowed ..");
  EXPECT_FALSE(p.Buttons().bAdd);
  EXPECT_FALSE(p.Buttons().bModify);
  EXPECT_FALSE(p.Buttons().bRemove);
  // Typing the identifier brings the check's message back, not a stale rule message.
  p.SetIdentifier("NEW");
  EXPECT_EQ(p.Result(), "Expression TEMP is Valid ....");
  EXPECT_TRUE(p.Buttons().bAdd);
}

TEST_F(CalcEditorTest, RefusedCharactersShowTheReportAndDisableEvaluate) {
  CCalcItemEditorPresenter& p = Open();
  p.SetExpression("TEMP");
  ASSERT_TRUE(p.Evaluate());
  p.SetIdentifier("T.1");
  ASSERT_EQ(env.test.prompt.reports.size(), 1u);
  EXPECT_EQ(env.test.prompt.reports[0].title, "Calculated Item Identifier Error");
  EXPECT_EQ(env.test.prompt.reports[0].body, IdentifierErrorReport().body);
  EXPECT_FALSE(p.Buttons().bAdd);
  EXPECT_FALSE(p.Buttons().bModify);
  EXPECT_FALSE(p.Buttons().bRemove);
  EXPECT_FALSE(p.Buttons().bEvaluate);
  EXPECT_FALSE(p.Evaluate());
  EXPECT_FALSE(p.Add());
  EXPECT_EQ(p.WorkingGroup().CalcCount(), 0);
  // Edits elsewhere do not bring the same report back; a new refused identifier does.
  p.SetExpression("TEMP + 1");
  EXPECT_EQ(env.test.prompt.reports.size(), 1u);
  p.SetIdentifier("T.12");
  EXPECT_EQ(env.test.prompt.reports.size(), 2u);

  // Lower case is accepted.
  p.SetIdentifier("t1");
  EXPECT_TRUE(p.Buttons().bEvaluate);
  EXPECT_TRUE(p.Evaluate());
  EXPECT_TRUE(p.Buttons().bAdd);
  EXPECT_TRUE(p.Add());
  EXPECT_EQ(p.WorkingGroup().CalcItems().back()->ShortId(), "t1");
  EXPECT_EQ(env.test.prompt.reports.size(), 2u);
  // The same refused identifier typed again later is reported again.
  p.SetIdentifier("T.12");
  EXPECT_EQ(env.test.prompt.reports.size(), 3u);
}

TEST_F(CalcEditorTest, AddCreatesADoubleItemInTheCopyAndClearsTheFields) {
  CCalcItemEditorPresenter& p = Open();
  Prepare(p, "T_F", "CelciusToFahrenheit(TEMP)");
  ASSERT_TRUE(p.Add());
  ASSERT_EQ(p.WorkingGroup().CalcCount(), 1);
  const COPCCalcItem& item = *p.WorkingGroup().CalcItems()[0];
  EXPECT_EQ(item.QualifiedId(), "T_F");
  EXPECT_EQ(item.ShortId(), "T_F");
  EXPECT_EQ(item.Expression(), "CelciusToFahrenheit(TEMP)");
  EXPECT_EQ(item.DataType(), VT_R4);
  EXPECT_EQ(item.Group(), &p.WorkingGroup());
  EXPECT_EQ(p.Identifier(), "");
  EXPECT_EQ(p.Expression(), "");
  EXPECT_FALSE(p.EvaluatedAndValid());
  EXPECT_EQ(p.Result(), kNotEvaluatedMessage);
  // The real group is untouched until OK.
  EXPECT_EQ(group.CalcCount(), 0);
  // A second item may use the first.
  Prepare(p, "T_F2", "T_F / 2");
  EXPECT_TRUE(p.Add());
  EXPECT_EQ(p.CalcRows().size(), 2u);
}

TEST_F(CalcEditorTest, AddStopsAtTheLimitOf128CalculatedItems) {
  COPCGroup& other = env.AddGroup("Other");
  CalcTestServer::AddAcquired(other, "X");
  for (int i = 0; i < 100; ++i)
    CalcTestServer::AddCalc(other, "K" + std::to_string(i), "X");
  for (int i = 0; i < 27; ++i)
    CalcTestServer::AddCalc(group, "C" + std::to_string(i), "TEMP");
  CCalcItemEditorPresenter& p = Open();
  EXPECT_EQ(p.Allowance(), 28);
  Prepare(p, "LAST", "TEMP");
  EXPECT_TRUE(p.Add());  // the 128th
  EXPECT_TRUE(env.test.prompt.messages.empty());

  Prepare(p, "ONE_MORE", "TEMP");
  ASSERT_TRUE(p.Buttons().bAdd);
  EXPECT_FALSE(p.Add());
  ASSERT_EQ(env.test.prompt.messages.size(), 1u);
  EXPECT_EQ(env.test.prompt.messages[0].text,
            "Warning !!! Not All Items Added to the Calculated OPC Item List ... Maximum Item "
            "Count (128) is Reached ...");
  EXPECT_EQ(p.WorkingGroup().CalcCount(), 28);
  // The refused addition leaves the fields for the user.
  EXPECT_EQ(p.Identifier(), "ONE_MORE");
}

TEST_F(CalcEditorTest, RemovalIsRefusedWhileAnExpressionContainsTheShortId) {
  CalcTestServer::AddCalc(group, "T1C", "TEMP");
  CalcTestServer::AddCalc(group, "T10", "TEMP");
  CalcTestServer::AddCalc(group, "USER", "T10 * 2");
  CCalcItemEditorPresenter& p = Open();
  p.SelectCalcRow(0);  // T1C: no expression contains "T1C"
  EXPECT_TRUE(p.Buttons().bRemove);
  EXPECT_TRUE(p.Remove());
  EXPECT_EQ(p.WorkingGroup().CalcCount(), 2);
  EXPECT_TRUE(env.test.prompt.messages.empty());

  p.SelectCalcRow(0);  // T10, used by USER
  EXPECT_FALSE(p.Remove());
  ASSERT_EQ(env.test.prompt.messages.size(), 1u);
  EXPECT_EQ(env.test.prompt.messages[0].text,
            "1 Calculated OPC Item use the Calculated Item T10 !!! Removal is NOT Allowed ...");
  EXPECT_EQ(p.WorkingGroup().CalcCount(), 2);
}

TEST_F(CalcEditorTest, RemovingT1IsRefusedWhenAnotherExpressionUsesT10) {
  // A plain substring test: T10 in an expression counts as a use of T1.
  CalcTestServer::AddCalc(group, "T1", "TEMP");
  CalcTestServer::AddCalc(group, "T10", "TEMP + 1");
  CalcTestServer::AddCalc(group, "USE", "T10 * 2");
  CCalcItemEditorPresenter& p = Open();
  p.SelectCalcRow(0);
  EXPECT_FALSE(p.Remove());
  ASSERT_EQ(env.test.prompt.messages.size(), 1u);
  EXPECT_EQ(env.test.prompt.messages[0].text,
            "1 Calculated OPC Item use the Calculated Item T1 !!! Removal is NOT Allowed ...");
  EXPECT_EQ(p.WorkingGroup().CalcCount(), 3);

  // Two uses: "uses".
  CalcTestServer::AddCalc(group, "USE2", "T10 + T1");
  CCalcItemEditorPresenter& q = Open();
  q.SelectCalcRow(0);
  EXPECT_FALSE(q.Remove());
  EXPECT_EQ(env.test.prompt.messages.back().text,
            "2 Calculated OPC Item uses the Calculated Item T1 !!! Removal is NOT Allowed ...");
}

TEST_F(CalcEditorTest, RemoveTakesTheSelectedRowEvenWithANameDifferingInCase) {
  CalcTestServer::AddCalc(group, "Flow", "TEMP");
  CalcTestServer::AddCalc(group, "FLOW", "R");
  CCalcItemEditorPresenter& p = Open();
  p.SelectCalcRow(1);
  ASSERT_TRUE(p.Remove());
  ASSERT_EQ(p.WorkingGroup().CalcCount(), 1);
  EXPECT_EQ(p.WorkingGroup().CalcItems()[0]->ShortId(), "Flow");
  // The refilled list has no selection.
  EXPECT_FALSE(p.Buttons().bRemove);
  EXPECT_FALSE(p.Buttons().bEditCalc);
  EXPECT_FALSE(p.Remove());
  // No row selected: nothing to remove.
  p.SelectCalcRow(5);
  EXPECT_FALSE(p.Buttons().bRemove);
}

TEST_F(CalcEditorTest, EditAndModifyKeepTheShortIdAndChangeQualifiedIdAndExpression) {
  CalcTestServer::AddCalc(group, "C1", "TEMP");
  CalcTestServer::AddCalc(group, "C2", "R");
  CCalcItemEditorPresenter& p = Open();
  // Modify with nothing loaded changes nothing.
  Prepare(p, "C1", "TEMP * 3");
  EXPECT_FALSE(p.Modify());
  EXPECT_EQ(p.WorkingGroup().CalcItems()[0]->Expression(), "TEMP");

  p.SelectCalcRow(1);
  ASSERT_TRUE(p.Edit());
  EXPECT_EQ(p.Identifier(), "C2");
  EXPECT_EQ(p.Expression(), "R");
  EXPECT_TRUE(p.EvaluatedAndValid());  // Edit runs the check
  EXPECT_FALSE(p.Buttons().bAdd);
  EXPECT_TRUE(p.Buttons().bModify);

  p.SetExpression("R * 10 + C1");
  p.SetIdentifier("C2_RENAMED");
  EXPECT_TRUE(p.Evaluate());
  ASSERT_TRUE(p.Modify());
  const COPCCalcItem& item = *p.WorkingGroup().CalcItems()[1];
  EXPECT_EQ(item.ShortId(), "C2");
  EXPECT_EQ(item.QualifiedId(), "C2_RENAMED");
  EXPECT_EQ(item.Expression(), "R * 10 + C1");
  EXPECT_EQ(item.DataType(), VT_R4);
  EXPECT_EQ(p.Identifier(), "");
  EXPECT_EQ(p.Expression(), "");
  EXPECT_EQ(p.WorkingGroup().CalcItems()[0]->Expression(), "TEMP");

  // Edit with an invalid stored expression: the check's reason is shown, no Modify.
  CalcTestServer::AddCalc(group, "BAD", "NOPE + 1");
  CCalcItemEditorPresenter& q = Open();
  q.SelectCalcRow(2);
  ASSERT_TRUE(q.Edit());
  EXPECT_FALSE(q.EvaluatedAndValid());
  EXPECT_EQ(q.Result(), "Use of Unknown Item Symbol NOPE ... Addition Not Allowed.");
  EXPECT_FALSE(q.Buttons().bModify);
}

TEST_F(CalcEditorTest, ModifyFollowsTheLoadedItemEvenAfterQualifiedIdsRepeat) {
  CalcTestServer::AddCalc(group, "A", "TEMP");
  CalcTestServer::AddCalc(group, "B", "R");
  CCalcItemEditorPresenter& p = Open();
  // A gets B's qualified id.
  p.SelectCalcRow(0);
  p.Edit();
  p.SetIdentifier("B");
  p.Evaluate();
  ASSERT_TRUE(p.Modify());
  EXPECT_EQ(p.WorkingGroup().CalcItems()[0]->QualifiedId(), "B");
  // Editing B now changes B, not the first item with that qualified id.
  p.SelectCalcRow(1);
  p.Edit();
  p.SetExpression("R + 1");
  p.Evaluate();
  ASSERT_TRUE(p.Modify());
  EXPECT_EQ(p.WorkingGroup().CalcItems()[0]->Expression(), "TEMP");
  EXPECT_EQ(p.WorkingGroup().CalcItems()[1]->Expression(), "R + 1");
  // A removed item can no longer be modified.
  p.SelectCalcRow(1);
  p.Edit();
  p.SelectCalcRow(1);
  ASSERT_TRUE(p.Remove());
  Prepare(p, "Z", "TEMP");
  EXPECT_FALSE(p.Modify());
}

TEST_F(CalcEditorTest, InsertionsGoIntoTheExpressionAtTheSelection) {
  CalcTestServer::AddCalc(group, "C1", "TEMP");
  CCalcItemEditorPresenter& p = Open();
  p.SetExpression("1 + ");
  // Nothing selected in the lists: nothing to insert.
  EXPECT_FALSE(p.InsertAcquiredItem(4, 4).has_value());
  EXPECT_FALSE(p.InsertCalcItem(4, 4).has_value());
  p.SelectAcquiredRow(0);
  EXPECT_TRUE(p.Buttons().bInsertAcquired);
  auto r = p.InsertAcquiredItem(4, 4);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->sText, "1 + TEMP");
  EXPECT_EQ(r->nCaret, 8u);
  EXPECT_EQ(p.Expression(), "1 + TEMP");
  // Replaces the selected "1".
  p.SelectCalcRow(0);
  r = p.InsertCalcItem(0, 1);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(p.Expression(), "C1 + TEMP");
  EXPECT_EQ(r->nCaret, 2u);
  // A function from the list, at the caret.
  r = p.InsertFunction(13, 0, 0);  // sqrt
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(p.Expression(), "sqrt( )C1 + TEMP");
  EXPECT_EQ(r->nCaret, 7u);
  EXPECT_FALSE(p.InsertFunction(31, 0, 0).has_value());
  EXPECT_FALSE(p.InsertFunction(-1, 0, 0).has_value());
  // An insertion is a change of the expression.
  p.SetExpression("TEMP");
  p.SetIdentifier("N");
  ASSERT_TRUE(p.Evaluate());
  p.InsertIntoExpression(" * 2", 4, 4);
  EXPECT_FALSE(p.EvaluatedAndValid());
  EXPECT_FALSE(p.Buttons().bAdd);
  // Clicking no row disables the list's buttons.
  p.SelectAcquiredRow(-1);
  EXPECT_FALSE(p.Buttons().bInsertAcquired);
}

TEST_F(CalcEditorTest, OkReplacesTheGroupsCalculatedItemsAndCancelDiscards) {
  CalcTestServer::AddCalc(group, "OLD", "TEMP");
  env.server.SetConfigurationModified(false);
  const uint64_t revision = env.server.ConfigurationRevision();
  {
    // Cancel: the presenter goes away, nothing reaches the group.
    CCalcItemEditorPresenter& p = Open();
    Prepare(p, "NEW", "OLD + 1");
    ASSERT_TRUE(p.Add());
    presenter.reset();
  }
  EXPECT_EQ(group.CalcCount(), 1);

  CCalcItemEditorPresenter& p = Open();
  // OK without changes marks nothing.
  p.Apply();
  EXPECT_FALSE(env.server.IsConfigurationModified());
  EXPECT_EQ(env.server.ConfigurationRevision(), revision);
  ASSERT_EQ(group.CalcCount(), 1);
  const COPCCalcItem* kept = group.CalcItems()[0].get();
  EXPECT_EQ(kept->Group(), &group);

  Prepare(p, "NEW", "OLD + 1");
  ASSERT_TRUE(p.Add());
  p.Apply();
  ASSERT_EQ(group.CalcCount(), 2);
  EXPECT_EQ(group.CalcItems()[1]->ShortId(), "NEW");
  EXPECT_EQ(group.CalcItems()[1]->Group(), &group);
  EXPECT_EQ(group.ItemCount(), 5);
  EXPECT_EQ(env.server.TotalCalculatedCount(), 2);
  EXPECT_EQ(env.server.TotalItemCount(), 5);
  EXPECT_TRUE(env.server.IsConfigurationModified());
  EXPECT_NE(env.server.ConfigurationRevision(), revision);
  // The presenter goes on with a copy of the updated group.
  EXPECT_EQ(p.CalcRows().size(), 2u);
  EXPECT_NE(p.WorkingGroup().CalcItems()[1].get(), group.CalcItems()[1].get());
  p.SelectCalcRow(0);
  EXPECT_FALSE(p.Remove());  // NEW uses OLD
  p.SelectCalcRow(1);
  ASSERT_TRUE(p.Remove());
  EXPECT_EQ(group.CalcCount(), 2);
  p.Apply();
  EXPECT_EQ(group.CalcCount(), 1);
  EXPECT_EQ(env.server.TotalCalculatedCount(), 1);
}

}  // namespace

TEST_F(CalcEditorTest, AnAcquiredShortIdEditedInTheEditorReachesExpressionsAndTheGroupOnOk) {
  CalcTestServer::AddCalc(group, "C1", "TEMP * 2");
  COPCGroup& other = env.AddGroup("Other");
  CalcTestServer::AddAcquired(other, "X");
  CCalcItemEditorPresenter& p = Open();
  EXPECT_EQ(p.AcquiredShortIdEditFor(0).m_sShortId, "TEMP");
  EXPECT_FALSE(p.CheckAcquiredShortId(0, "X").m_bOkEnabled);  // another group's id
  EXPECT_FALSE(p.RenameAcquiredShortId(0, "R"));              // this group's
  EXPECT_FALSE(p.RenameAcquiredShortId(7, "T9"));
  ASSERT_TRUE(p.RenameAcquiredShortId(0, "TB"));
  EXPECT_EQ(p.AcquiredRows()[0][1], "TB");
  EXPECT_EQ(p.CalcRows()[0][3], "TB * 2");
  EXPECT_EQ(group.AcquiredItems()[0]->ShortId(), "TEMP");  // the copy only, until OK
  env.server.SetConfigurationModified(false);
  p.Apply();
  EXPECT_EQ(group.AcquiredItems()[0]->ShortId(), "TB");
  EXPECT_EQ(group.CalcItems()[0]->Expression(), "TB * 2");
  EXPECT_TRUE(env.server.IsConfigurationModified());
}

// A project close removes the groups while the editor may still be open: the editor goes on
// with its copy, finds the group gone by its name, and its OK writes nowhere.
TEST_F(CalcEditorTest, AGroupRemovedWhileTheEditorIsOpenIsNeitherReadNorWritten) {
  CalcTestServer::AddCalc(group, "C1", "TEMP * 2");
  CCalcItemEditorPresenter& p = Open();
  Prepare(p, "NEW", "TEMP + 1");
  ASSERT_TRUE(p.Add());
  env.server.RemoveAllGroups();
  ASSERT_EQ(env.server.GroupCount(), 0);
  EXPECT_EQ(p.WindowTitle(), "Add, Modify and Remove Calculated OPC Items in OPC Group Boiler");
  const ShortIdEditRequest request = p.AcquiredShortIdEditFor(0);
  EXPECT_EQ(request.m_sGroupName, "Boiler");
  EXPECT_EQ(request.m_nGroupIndex, -1);
  EXPECT_EQ(request.m_sShortId, "TEMP");
  ASSERT_TRUE(p.RenameAcquiredShortId(0, "TB"));
  env.server.SetConfigurationModified(false);
  p.Apply();  // nothing to apply to
  EXPECT_EQ(env.server.GroupCount(), 0);
  EXPECT_EQ(env.server.TotalCalculatedCount(), 0);
  EXPECT_FALSE(env.server.IsConfigurationModified());
  EXPECT_EQ(p.CalcRows().size(), 2u);  // the copy is still there to look at
}
