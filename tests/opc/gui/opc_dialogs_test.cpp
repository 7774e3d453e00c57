// The two dialogs that find a server and its items, driven offscreen: selecting a server
// on the local host, on a host of the simulated network and through the direct server
// dialog; browsing, filtering, searching, adding leaves and a typed id, editing a short
// id, removing a row and handing the rows to the group.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <functional>

#include "opc/add_item_result.h"
#include "opc/gui/add_item_dlg.h"
#include "opc/gui/direct_host_dlg.h"
#include "opc/gui/direct_server_dlg.h"
#include "opc/gui/group_dlg.h"
#include "opc/gui/property_dlg.h"
#include "opc/gui/server_selection_dlg.h"
#include "opc/gui/server_selection_model.h"
#include "opc/gui/short_id_dlg.h"
#include "opc/opc_server.h"
#include "opc/property_sheet.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "sim_group.h"
#include "test_context.h"

namespace {

// The child of parent whose label starts with text.
QModelIndex ChildStartingWith(const QAbstractItemModel& model, const QModelIndex& parent,
                              const QString& text) {
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex child = model.index(row, 0, parent);
    if (child.data().toString().startsWith(text))
      return child;
  }
  return {};
}

// Runs action on the modal dialog that opens next (of type T).
template <class T>
void OnNextModal(std::function<void(T&)> action) {
  QTimer::singleShot(0, [action] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    action(*dialog);
  });
}

}  // namespace

class OpcDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    CSimRuntime::Instance().Reset();
    CSimRuntime::Instance().SetComputerName("TESTPC");
  }
  void cleanup() { CSimRuntime::Instance().Reset(); }

  void aServerOfTheLocalHostIsSelectedAndEnterDoesNotClose() {
    TestContext test;
    CServerSelectionDlg dialog(test.context, nullptr);
    QAbstractItemModelTester tester(dialog.Model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    dialog.show();
    QTreeView* view = dialog.TreeView();
    const QModelIndex local = dialog.Model()->index(0, 0);
    QCOMPARE(local.data().toString(), QString("Local Host (TESTPC)"));
    QVERIFY(!dialog.OkButton()->isEnabled());
    view->expand(local);
    const QModelIndex server = ChildStartingWith(*dialog.Model(), local, "Velmora Simulation");
    QVERIFY(server.isValid());
    QVERIFY(!ChildStartingWith(*dialog.Model(), local, "Velmora DA 1.0").isValid());
    // The class id node selects its server.
    view->setCurrentIndex(dialog.Model()->index(0, 0, server));
    QCOMPARE(dialog.ServerIdField()->text(), QString(kSimServerProgId));
    QCOMPARE(dialog.HostField()->text(), QString("Local Host"));
    QCOMPARE(dialog.ClassIdField()->text().size(), 36);
    QVERIFY(dialog.OkButton()->isEnabled());

    // Registry mode and F5: the local host is enumerated again, by category.
    dialog.RegistryButton()->click();
    view->setCurrentIndex(local);
    QTest::keyClick(view, Qt::Key_F5);
    QCOMPARE(dialog.Model()->rowCount(local), 2);
    QCOMPARE(dialog.Model()->index(0, 0, local).data().toString(),
             QString("OPC Data Access Servers Version 1.0"));
    QVERIFY(!dialog.OkButton()->isEnabled());  // a category is not a server

    const QModelIndex da2 = dialog.Model()->index(1, 0, local);
    view->expand(da2);
    const QModelIndex listed = ChildStartingWith(*dialog.Model(), da2, "Velmora.SimServer.1 (");
    QVERIFY(listed.isValid());
    view->setCurrentIndex(dialog.Model()->index(0, 0, listed));
    QVERIFY(dialog.OkButton()->isEnabled());
    dialog.OkButton()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(dialog.Selection().m_sServerId), QString(kSimServerProgId));
  }

  // Closing the dialog after choosing a server asks nothing: the vanishing tree is not a
  // selection of nothing. Enter takes a chosen server, Escape cancels.
  void closingAfterAChoiceAsksNothingAndEnterOrEscapeClose() {
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Escape), 0, -1}) {
      TestContext test;
      CServerSelectionDlg dialog(test.context, nullptr);
      dialog.show();
      QTreeView* view = dialog.TreeView();
      const QModelIndex local = dialog.Model()->index(0, 0);
      view->expand(local);
      const QModelIndex server = ChildStartingWith(*dialog.Model(), local, "Velmora Simulation");
      QVERIFY(server.isValid());
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(server).center());
      QCOMPARE(view->currentIndex(), server);
      QVERIFY(dialog.OkButton()->isEnabled());
      if (key > 0)
        QTest::keyClick(view, Qt::Key(key));
      else if (key == 0)
        dialog.OkButton()->click();
      else
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
      QVERIFY(!dialog.isVisible());
      const bool accepted = key == Qt::Key_Return || key == 0;
      QCOMPARE(dialog.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
      QCOMPARE(QString::fromStdString(dialog.Selection().m_sServerId), QString(kSimServerProgId));
      QVERIFY(test.prompt.messages.empty());
    }
    // With nothing chosen, Enter keeps the dialog open.
    TestContext test;
    CServerSelectionDlg dialog(test.context, nullptr);
    dialog.show();
    QTest::keyClick(dialog.TreeView(), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
  }

  // A host typed in the direct host dialog joins the hosts under "Network".
  void aTypedHostGoesUnderTheNetwork() {
    TestContext test;
    CServerSelectionDlg dialog(test.context, nullptr);
    dialog.show();
    QTreeView* view = dialog.TreeView();
    CServerSelectionModel& model = *dialog.Model();
    OnNextModal<CDirectHostDlg>([](CDirectHostDlg& direct) {
      direct.HostField()->setText("PLANTSRV01");
      direct.EnumerateButton()->click();
      QVERIFY(direct.ServerList()->model()->rowCount() >= 1);
      direct.OkButton()->click();
    });
    const QModelIndex direct = model.index(2, 0);
    QCOMPARE(direct.data().toString(), QString("Direct Host Selection"));
    view->expand(direct);
    const QModelIndex network = model.index(1, 0);
    QCOMPARE(network.data().toString(), QString("Network"));
    const QModelIndex host = ChildStartingWith(model, network, "PLANTSRV01");
    QVERIFY(host.isValid());
    QVERIFY(view->isExpanded(network));
    const QModelIndex server = ChildStartingWith(model, host, "Velmora Simulation");
    QVERIFY(server.isValid());
    view->setCurrentIndex(server);
    QCOMPARE(dialog.HostField()->text(), QString("PLANTSRV01"));
    QVERIFY(dialog.OkButton()->isEnabled());
    // The direct root only asks: it is ready to ask again.
    QCOMPARE(model.rowCount(direct), 1);
    QCOMPARE(model.index(0, 0, direct).data().toString(), QString("Dummy_Quorix_Item"));
    QVERIFY(!view->isExpanded(direct));
  }

  // Every hint of the group dialog shows all of its lines.
  void theGroupDialogHintsAreNotClipped() {
    TestContext test;
    COPCServer server(test.context);
    QVERIFY(server.Connect(kSimServerProgId, kLocalHost, GUID_NULL));
    CGroupDlg dialog(server, test.prompt, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    int hints = 0;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      const QString text = label->text();
      if (text != kUpdateRateHint && text != kTimeBiasHint && text != kDeadBandHint &&
          text != kActiveStateHint)
        continue;
      ++hints;
      QVERIFY2(label->height() >= label->heightForWidth(label->width()),
               qPrintable(QString("%1: %2 px for %3 px")
                              .arg(text.left(20))
                              .arg(label->height())
                              .arg(label->heightForWidth(label->width()))));
    }
    QCOMPARE(hints, 4);
  }

  void aServerOfANetworkHostIsSelected() {
    TestContext test;
    CServerSelectionDlg dialog(test.context, nullptr);
    QAbstractItemModelTester tester(dialog.Model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    dialog.show();
    QTreeView* view = dialog.TreeView();
    CServerSelectionModel& model = *dialog.Model();
    const QModelIndex network = model.index(1, 0);
    view->expand(network);
    const QModelIndex provider = ChildStartingWith(model, network, "Microsoft Windows Network");
    QVERIFY(provider.isValid());
    view->expand(provider);
    const QModelIndex workgroup = ChildStartingWith(model, provider, "WORKGROUP");
    QVERIFY(workgroup.isValid());
    view->expand(workgroup);
    const QModelIndex host = ChildStartingWith(model, workgroup, "\\\\PLANTSRV01");
    QVERIFY(host.isValid());
    dialog.RegistryButton()->click();  // a network host switches back to OPCEnum
    view->expand(host);
    QVERIFY(dialog.OpcEnumButton()->isChecked());
    const QModelIndex server = ChildStartingWith(model, host, "Velmora Simulation");
    QVERIFY(server.isValid());
    view->setCurrentIndex(server);
    QCOMPARE(dialog.HostField()->text(), QString("\\\\PLANTSRV01"));
    QVERIFY(dialog.OkButton()->isEnabled());
    dialog.OkButton()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(dialog.Selection().m_sServerId), QString(kSimServerProgId));
    QCOMPARE(model.rowCount(network), 0);  // closing deleted the children
  }

  void aServerTypedInTheDirectServerDialogIsSelected() {
    TestContext test;
    CServerSelectionDlg dialog(test.context, nullptr);
    dialog.show();
    QTreeView* view = dialog.TreeView();
    CServerSelectionModel& model = *dialog.Model();
    OnNextModal<CDirectServerDlg>([](CDirectServerDlg& direct) {
      direct.HostField()->setText("Local Host");
      direct.ServerIdField()->setText("Velmora.SimServer.1");
      QVERIFY(!direct.OkButton()->isEnabled());  // no class id yet
      direct.ClassIdField()->setText("6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01");
      QVERIFY(direct.OkButton()->isEnabled());
      direct.OkButton()->click();
    });
    const QModelIndex root = model.index(3, 0);
    view->expand(root);
    const QModelIndex host = model.index(0, 0, root);
    QCOMPARE(host.data().toString(), QString("Local Host"));
    const QModelIndex server = model.index(0, 0, host);
    QCOMPARE(server.data().toString(), QString("Velmora.SimServer.1 (Velmora.SimServer.1)"));
    view->setCurrentIndex(model.index(0, 0, server));
    QVERIFY(dialog.OkButton()->isEnabled());
    QCOMPARE(dialog.ClassIdField()->text(), QString("6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01"));

    // Cancel puts the placeholder back.
    OnNextModal<CDirectServerDlg>([](CDirectServerDlg& direct) { direct.reject(); });
    dialog.Refresh(root);
    QCOMPARE(model.rowCount(root), 1);
    QCOMPARE(model.index(0, 0, root).data().toString(), QString("Dummy_Quorix_Item"));
  }

  void theGroupDialogKeepsNamesApartAndConfirmsADeviceRead() {
    TestContext test;
    COPCServer server(test.context);
    QVERIFY(server.Connect(kSimServerProgId, kLocalHost, GUID_NULL));
    COPCGroup* first = AddSimGroup(server, "Group01", 1000, {});
    QVERIFY(AddSimGroup(server, "Line", 1000, {}) != nullptr);
    QVERIFY(AddSimGroup(server, "Group04", 1000, {}) != nullptr);

    CGroupDlg adding(server, test.prompt, nullptr);
    QCOMPARE(adding.windowTitle(), QString(kGroupAdditionTitle));
    QCOMPARE(adding.NameField()->text(), QString("Group05"));  // after the count, free
    adding.NameField()->setText("Line");
    QVERIFY(!adding.OkButton()->isEnabled());
    QCOMPARE(adding.NameMessage()->text(), QString(kGroupNameInUse));
    // A device read is confirmed; cancelled, the previous choice comes back.
    test.prompt.messageAnswers.push_back(MessageAnswer::kCancel);
    adding.ReadInterfaceChoice()->setCurrentIndex(1);
    emit adding.ReadInterfaceChoice()->activated(1);
    QCOMPARE(adding.ReadInterfaceChoice()->currentIndex(), 0);
    QCOMPARE(test.prompt.messages.size(), size_t(1));
    test.prompt.messageAnswers.push_back(MessageAnswer::kOk);
    adding.ReadInterfaceChoice()->setCurrentIndex(1);
    emit adding.ReadInterfaceChoice()->activated(1);
    QCOMPARE(adding.ReadInterfaceChoice()->currentIndex(), 1);

    // Modifying a group: its own name is no conflict, another group's is.
    CGroupDlg modifying(server, test.prompt, first);
    QCOMPARE(modifying.windowTitle(), QString(kGroupModificationTitle));
    QCOMPARE(modifying.NameField()->text(), QString("Group01"));
    QVERIFY(modifying.OkButton()->isEnabled());
    modifying.NameField()->setText("Line");
    QVERIFY(!modifying.OkButton()->isEnabled());
    modifying.NameField()->setText("Group01");
    QVERIFY(modifying.OkButton()->isEnabled());
  }

  void itemsAreBrowsedFilteredSearchedAddedEditedAndHandedOver() {
    TestContext test;
    COPCServer server(test.context);
    QVERIFY(server.Connect(kSimServerProgId, kLocalHost, GUID_NULL));
    COPCGroup* group = AddSimGroup(server, "Group01", 1000, {"Signals.Ramp.R8"});
    QVERIFY(group != nullptr);
    CAddItemDlg dialog(test.context, server, *group);
    dialog.show();
    QAbstractItemModelTester treeTester(dialog.BrowseTree()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester leafTester(dialog.LeafList()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester rowTester(dialog.ItemList()->model(),
                                       QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(dialog.windowTitle(),
             QString("Add, Modify and Remove Acquired OPC Items in OPC Group Group01"));
    QCOMPARE(dialog.ItemList()->model()->rowCount(), 1);

    // Plant ▸ Line1 ▸ Machine1, leaves filtered to Float.
    QAbstractItemModel* tree = dialog.BrowseTree()->model();
    const QModelIndex root = tree->index(0, 0);
    const QModelIndex plant = ChildStartingWith(*tree, root, "Plant");
    dialog.BrowseTree()->setCurrentIndex(plant);
    const QModelIndex line = ChildStartingWith(*tree, plant, "Line1");
    dialog.BrowseTree()->setCurrentIndex(line);
    const QModelIndex machine = ChildStartingWith(*tree, line, "Machine1");
    dialog.BrowseTree()->setCurrentIndex(machine);
    QAbstractItemModel* leaves = dialog.LeafList()->model();
    QVERIFY(leaves->rowCount() >= 6);
    QAction* floatEntry = nullptr;
    for (QAction* action : dialog.DataTypeButton()->menu()->actions())
      floatEntry = action->text() == "Float" ? action : floatEntry;
    QVERIFY(floatEntry != nullptr);
    floatEntry->trigger();
    QCOMPARE(dialog.DataTypeButton()->text(), QString("Data Type: Float"));
    const int floats = leaves->rowCount();
    QVERIFY(floats > 0 && floats < 7);
    dialog.LeafList()->selectAll();
    dialog.AddButton()->click();
    QCOMPARE(dialog.ItemList()->model()->rowCount(), 1 + floats);
    QCOMPARE(dialog.ItemList()->model()->index(1, 1).data().toString(), QString("G01_A001"));
    QCOMPARE(dialog.ItemList()->model()->index(1, 2).data().toString(), QString("Float"));

    // A typed id, then the search below the root.
    dialog.TypedIdField()->setText("Signals.Counter.I4");
    dialog.AddTypedButton()->click();
    QCOMPARE(dialog.ItemList()->model()->rowCount(), 2 + floats);
    dialog.BrowseTree()->setCurrentIndex(root);
    dialog.SearchField()->setText("*Pressure*");
    dialog.Search();
    QCOMPARE(dialog.LeafTabs()->currentWidget(), static_cast<QWidget*>(dialog.FoundList()));
    QCOMPARE(dialog.FoundList()->model()->rowCount(), 1);
    QCOMPARE(dialog.FoundList()->model()->index(0, 0).data().toString(),
             QString("Plant.Utilities.Compressor.Pressure"));
    dialog.FoundList()->selectAll();
    dialog.AddButton()->click();
    const int rows = dialog.ItemList()->model()->rowCount();
    QCOMPARE(rows, 3 + floats);

    // Edit the last row's short id, remove the first row.
    OnNextModal<CShortIdDlg>([](CShortIdDlg& edit) {
      QVERIFY(!edit.OkButton()->isEnabled());
      QTest::keyClicks(edit.ShortIdField(), "X");
      edit.ShortIdField()->setText("Pressure");
      emit edit.ShortIdField()->textEdited("Pressure");
      QVERIFY(edit.OkButton()->isEnabled());
      edit.OkButton()->click();
    });
    dialog.EditShortId(rows - 1);
    QCOMPARE(dialog.ItemList()->model()->index(rows - 1, 1).data().toString(), QString("Pressure"));
    dialog.ItemList()->selectRow(0);
    QVERIFY(dialog.RemoveButton()->isEnabled());
    dialog.RemoveButton()->click();
    QCOMPARE(dialog.ItemList()->model()->rowCount(), rows - 1);

    QVERIFY(dialog.OkButton()->isEnabled());
    dialog.OkButton()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const AddItemApplyOutcome outcome =
        ApplyAddItemResult(server, *group, dialog.Session().TakeResult());
    QVERIFY(outcome.m_bAllAccepted);
    QCOMPARE(group->AcquiredCount(), rows - 1);
    QCOMPARE(QString::fromStdString(group->AcquiredItems().back()->ShortId()), QString("Pressure"));
    server.RemoveAllGroups();
  }
  // The project closes (its groups and items go) while the dialogs that work on a group
  // are still open: each works on its copy or finds the group by name on use, so nothing
  // reaches the freed group (ASan builds see any read), and an OK has nothing to write to.
  void theGroupDialogsOutliveTheirGroupWithoutTouchingIt() {
    TestContext test;
    COPCServer server(test.context);
    QVERIFY(server.Connect(kSimServerProgId, kLocalHost, GUID_NULL));
    COPCGroup* group = AddSimGroup(server, "Group01", 1000, {"Signals.Ramp.R8"});
    QVERIFY(group != nullptr);
    QVERIFY(AddSimGroup(server, "Line", 1000, {}) != nullptr);
    CAddItemDlg adding(test.context, server, *group);
    CGroupDlg modifying(server, test.prompt, group);
    CPropertyDlg properties(kItemPropertiesTitle, kItemPropertiesCaption,
                            ItemPropertySheet(*group->AcquiredItems()[0], false, *group));
    adding.show();
    QVERIFY(QTest::qWaitForWindowExposed(&adding));
    modifying.show();
    properties.show();
    server.RemoveAllGroups();
    group = nullptr;
    QCOMPARE(server.GroupCount(), 0);

    // The add-item dialog edits a short id and accepts, all on its copy.
    QCOMPARE(adding.ItemList()->model()->rowCount(), 1);
    OnNextModal<CShortIdDlg>([](CShortIdDlg& edit) {
      edit.ShortIdField()->setText("Ramp");
      emit edit.ShortIdField()->textEdited("Ramp");
      QVERIFY(edit.OkButton()->isEnabled());
      edit.OkButton()->click();
    });
    adding.EditShortId(0);
    QCOMPARE(adding.ItemList()->model()->index(0, 1).data().toString(), QString("Ramp"));
    QVERIFY(adding.OkButton()->isEnabled());
    adding.OkButton()->click();
    QCOMPARE(adding.result(), int(QDialog::Accepted));
    const AddItemResult result = adding.Session().TakeResult();
    QCOMPARE(result.m_shortIds, std::vector<std::string>{"Ramp"});
    QVERIFY(server.FindGroupByName("Group01") == nullptr);  // the view applies nothing

    // The group dialog checks names against the groups there are now.
    modifying.NameField()->setText("Line");
    QVERIFY(modifying.OkButton()->isEnabled());
    modifying.NameField()->setText("Group01");
    QVERIFY(modifying.OkButton()->isEnabled());

    // The property sheet shows what it copied.
    QCOMPARE(properties.Value("OPC Item Qualified Id"), QString("Signals.Ramp.R8"));
  }
};

QTEST_MAIN(OpcDialogsTest)
#include "opc_dialogs_test.moc"
