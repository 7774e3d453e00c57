// The calculated item editor driven with the mouse offscreen, on a group of the simulation
// server: the selected rows keep their buttons after every action, and choosing a function
// inserts it at once.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "calc/gui/add_calc_item_dlg.h"
#include "opc/gui/short_id_dlg.h"
#include "opc/opc_server.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "sim_group.h"
#include "test_context.h"

namespace {

// A click in a cell, as the user makes it.
void ClickCell(QTreeWidget* list, int row, int column) {
  QTreeWidgetItem* item = list->topLevelItem(row);
  QVERIFY(item != nullptr);
  list->scrollToItem(item);
  const QRect rect = list->visualItemRect(item);
  const int x = list->header()->sectionViewportPosition(column) + 4;
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(x, rect.center().y()));
}

void AddItem(CAddCalcItemDlg& dialog, const char* id, const char* expression) {
  dialog.IdentifierField()->setText(id);
  dialog.ExpressionField()->setText(expression);
  dialog.EvaluateButton()->click();
  QVERIFY2(dialog.AddButton()->isEnabled(), qPrintable(dialog.ResultLabel()->text()));
  dialog.AddButton()->click();
}

// The buttons of both lists follow their selected rows.
void VerifyListButtons(CAddCalcItemDlg& dialog) {
  const bool acquired = dialog.AcquiredList()->currentItem() != nullptr;
  const bool calc = dialog.CalcList()->currentItem() != nullptr;
  QCOMPARE(dialog.InsertAcquiredButton()->isEnabled(), acquired);
  QCOMPARE(dialog.InsertCalcButton()->isEnabled(), calc);
  QCOMPARE(dialog.EditButton()->isEnabled(), calc);
  QCOMPARE(dialog.RemoveButton()->isEnabled(), calc);
}

}  // namespace

class CalcEditorDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { CSimRuntime::Instance().Reset(); }
  void cleanup() { CSimRuntime::Instance().Reset(); }

  void theSelectedRowsKeepTheirButtonsAfterEveryAction() {
    TestContext test;
    COPCServer server(test.context);
    QVERIFY(server.Connect(kSimServerProgId, kLocalHost, GUID_NULL));
    COPCGroup* group = AddSimGroup(server, "Group01", 1000, {"Signals.Ramp.R8", "Signals.Sine.R8"});
    QVERIFY(group != nullptr);
    CAddCalcItemDlg dialog(server, *group, test.prompt, test.clock);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    AddItem(dialog, "C1", "G01_A000 * 2");
    ClickCell(dialog.CalcList(), 0, 0);
    ClickCell(dialog.AcquiredList(), 0, 0);
    QVERIFY(dialog.EditButton()->isEnabled());
    QVERIFY(dialog.InsertAcquiredButton()->isEnabled());

    // Add: both rows stay selected and usable.
    AddItem(dialog, "C2", "G01_A001 + 1");
    QCOMPARE(dialog.CalcList()->topLevelItemCount(), 2);
    QCOMPARE(dialog.CalcList()->currentItem(), dialog.CalcList()->topLevelItem(0));
    VerifyListButtons(dialog);
    QVERIFY(dialog.EditButton()->isEnabled());

    // Modify the selected row.
    dialog.EditButton()->click();
    QCOMPARE(dialog.IdentifierField()->text(), QString("C1"));
    dialog.ExpressionField()->setText("G01_A000 * 3");
    dialog.EvaluateButton()->click();
    QVERIFY2(dialog.ModifyButton()->isEnabled(), qPrintable(dialog.ResultLabel()->text()));
    dialog.ModifyButton()->click();
    QCOMPARE(dialog.CalcList()->topLevelItem(0)->text(3), QString("G01_A000 * 3"));
    VerifyListButtons(dialog);
    QVERIFY(dialog.EditButton()->isEnabled());

    // Remove it: the row that takes its place is selected and usable.
    dialog.RemoveButton()->click();
    QCOMPARE(dialog.CalcList()->topLevelItemCount(), 1);
    QCOMPARE(dialog.CalcList()->currentItem(), dialog.CalcList()->topLevelItem(0));
    VerifyListButtons(dialog);
    QVERIFY(dialog.RemoveButton()->isEnabled());

    // A short id renamed through a click on its cell; the expression follows.
    bool edited = false;
    QTimer::singleShot(0, [&edited] {
      auto* edit = qobject_cast<CShortIdDlg*>(QApplication::activeModalWidget());
      QVERIFY(edit != nullptr);
      edit->ShortIdField()->setText("FLOW");
      emit edit->ShortIdField()->textEdited("FLOW");
      QVERIFY(edit->OkButton()->isEnabled());
      edit->OkButton()->click();
      edited = true;
    });
    ClickCell(dialog.AcquiredList(), 1, 1);
    QVERIFY(edited);
    QCOMPARE(dialog.AcquiredList()->topLevelItem(1)->text(1), QString("FLOW"));
    QCOMPARE(dialog.CalcList()->topLevelItem(0)->text(3), QString("FLOW + 1"));
    QCOMPARE(dialog.AcquiredList()->currentItem(), dialog.AcquiredList()->topLevelItem(1));
    VerifyListButtons(dialog);
    QVERIFY(dialog.InsertAcquiredButton()->isEnabled());
    QVERIFY(test.prompt.messages.empty());
    QVERIFY(test.prompt.reports.empty());
  }

  void choosingAFunctionInsertsItAtOnce() {
    TestContext test;
    COPCServer server(test.context);
    QVERIFY(server.Connect(kSimServerProgId, kLocalHost, GUID_NULL));
    COPCGroup* group = AddSimGroup(server, "Group01", 1000, {"Signals.Ramp.R8"});
    QVERIFY(group != nullptr);
    CAddCalcItemDlg dialog(server, *group, test.prompt, test.clock);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.ExpressionField()->setText("1 + ");
    ClickCell(dialog.FunctionList(), 0, 0);  // abs
    QCOMPARE(dialog.ExpressionField()->text(), QString("1 + abs( )"));
    ClickCell(dialog.FunctionList(), 25, 1);  // min, chosen on its description
    QCOMPARE(dialog.ExpressionField()->text(), QString("1 + abs( )min( , )"));
  }

  // The project closes (its groups go) while the editor is still open: the editor keeps
  // its copy, its short-id edit shows the group by name only, and its OK writes nowhere.
  void theEditorOutlivesItsGroupWithoutTouchingIt() {
    TestContext test;
    COPCServer server(test.context);
    QVERIFY(server.Connect(kSimServerProgId, kLocalHost, GUID_NULL));
    COPCGroup* group = AddSimGroup(server, "Group01", 1000, {"Signals.Ramp.R8"});
    QVERIFY(group != nullptr);
    CAddCalcItemDlg dialog(server, *group, test.prompt, test.clock);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    AddItem(dialog, "C1", "G01_A000 * 2");
    server.RemoveAllGroups();
    group = nullptr;

    QString shownGroup;
    QTimer::singleShot(0, [&shownGroup] {
      auto* edit = qobject_cast<CShortIdDlg*>(QApplication::activeModalWidget());
      QVERIFY(edit != nullptr);
      const auto labels = edit->findChildren<QLabel*>();
      for (const QLabel* label : labels)
        shownGroup += label->text() + "|";
      edit->reject();
    });
    ClickCell(dialog.AcquiredList(), 0, 1);
    QVERIFY(shownGroup.contains("Group01"));
    dialog.Presenter().Apply();
    QCOMPARE(server.GroupCount(), 0);
    QCOMPARE(dialog.CalcList()->topLevelItemCount(), 1);
  }
};

QTEST_MAIN(CalcEditorDialogTest)
#include "calc_editor_dialog_test.moc"
