// The application with its session on the simulation servers: the database is checked at
// start-up, a project acquires from the command bar into the database, and a server's
// shutdown request closes the project through the close-project sequence.
#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <csignal>
#include <fstream>
#include <sstream>

#include "acquisition/gui/data_view_controls.h"
#include "acquisition/gui/opc_data_view.h"
#include "acquisition/value_text.h"
#include "app/gui/main_frame.h"
#include "app/gui/output_wnd.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/quit_signals.h"
#include "app/gui/velmora_app.h"
#include "app/gui/velmora_session.h"
#include "base/settings.h"
#include "base/time_text.h"
#include "calc/gui/add_calc_item_dlg.h"
#include "db/gui/set_project_name_dlg.h"
#include "db/project_import.h"
#include "demo_session.h"
#include "opc/gui/add_item_dlg.h"
#include "opc/gui/group_dlg.h"
#include "opc/gui/opc_server_view.h"
#include "opc/gui/property_dlg.h"
#include "opc/gui/server_selection_dlg.h"
#include "opc/gui/server_selection_model.h"
#include "opc/gui/statistics_dlg.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "ribbon_clicks.h"
#include "scripted_user_prompt.h"
#include "sqlite_scalar.h"

namespace {
// The decoded value rows of the database, in their order.
std::vector<std::vector<StoredValueField>> StoredRows(const std::string& path) {
  std::vector<std::vector<StoredValueField>> rows;
  sqlite3* handle = nullptr;
  sqlite3_open(path.c_str(), &handle);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(handle, "SELECT OPCAcqData_Value FROM OPCAcqData ORDER BY OPCAcqData_Id", -1,
                     &statement, nullptr);
  while (sqlite3_step(statement) == SQLITE_ROW) {
    std::string text;
    DecompressValueText(static_cast<const uint8_t*>(sqlite3_column_blob(statement, 0)),
                        static_cast<size_t>(sqlite3_column_bytes(statement, 0)), text);
    rows.emplace_back();
    SplitValueText(text, rows.back());
  }
  sqlite3_finalize(statement);
  sqlite3_close(handle);
  return rows;
}
}  // namespace

class SessionTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    SetVelmoraSettingsDirectory(m_dir.path());
  }

  void aLoadedProjectAcquiresFromTheCommandBarAndAShutdownClosesIt() {
    DemoSessionRig rig(m_dir.path() + "/Velmora.sq3");
    settings::Write(rig.settings, settings::kStandardColor, 0x0000FF);  // chosen in an earlier run
    QVERIFY(rig.Start());
    CVelmoraSession& session = *rig.session;
    ScriptedUserPrompt& prompt = rig.prompt;
    CMainFrame& frame = rig.Frame();
    QVERIFY(!frame.Command(CommandId::kStartAcquisition)->isEnabled());  // no server yet
    // The acquisition view's commands reach the frame through the view.
    QVERIFY(frame.Command(CommandId::kOpcDataDisplay)->isEnabled());
    QVERIFY(frame.Command(CommandId::kShowShortId)->isEnabled());
    QCOMPARE(frame.Command(CommandId::kStandardColour)->data().value<QColor>(), QColor(255, 0, 0));
    QCOMPARE(frame.CommandTarget(CommandId::kStartAcquisition), frame.DataView());

    QVERIFY(rig.ImportDemoProject());
    frame.UpdateCommandStates();
    QVERIFY(frame.Command(CommandId::kStartAcquisition)->isEnabled());

    frame.Command(CommandId::kStartAcquisition)->trigger();
    QVERIFY(session.Engine().IsRunning());
    QVERIFY(frame.Command(CommandId::kStopAcquisition)->isEnabled());
    COPCDataView* view = frame.DataView();
    QVERIFY(view != nullptr);
    view->BaseTimer()->stop();  // ticked by hand: a slow machine must not add a cycle
    for (int tick = 0; tick < 3; ++tick) {
      QTest::qWait(5);  // distinct millisecond time stamps
      view->OnBaseTick();
    }
    QCOMPARE(session.Engine().DataSetCount(), 3);

    // A shutdown request arrives on the GUI thread and runs the close-project sequence:
    // the acquisition stops without asking; the offer to save the changed project is
    // answered No.
    session.SetProjectModified(true);
    prompt.reportAnswers.push_back(2);
    QVERIFY(CSimRuntime::Instance().RequestShutdown(kSimServerProgId, "Maintenance") >= 1);
    QTRY_VERIFY(!session.Server().IsConnected());
    QVERIFY(!session.Engine().IsRunning());
    QCOMPARE(session.Server().GroupCount(), 0);
    QVERIFY(prompt.HasReportTitled("Confirmation Request"));
    QVERIFY(prompt.reports.back().body.find("Shutdown Request Triggered by OPC Server") !=
            std::string::npos);
    QVERIFY(!frame.Command(CommandId::kStopAcquisition)->isEnabled());
    // Ended by the server, the acquisition still has its end and count recorded.
    QCOMPARE(SqliteScalar(rig.options.databasePath, "SELECT OPCAcq_DataCount FROM OPCAcq"),
             std::string("3"));
    session.Detach();
  }

  void aServerIsSelectedAndItemsAreAddedInTheConfigurationView() {
    DemoSessionRig rig(m_dir.path() + "/Configure.sq3");
    FakeClock& clock = rig.UseFakeClock();
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    CVelmoraSession& session = *rig.session;
    COPCServerView* view = frame.ServerView();
    frame.SwitchToView(VelmoraView::kOpcServer);
    QCOMPARE(view->SelectedKind(), ConfigNodeKind::kNoServer);
    frame.UpdateCommandStates();
    QVERIFY(frame.Command(CommandId::kSelectServer)->isEnabled());
    QVERIFY(!frame.Command(CommandId::kAddItems)->isEnabled());

    // The dialog: the full server of the local host.
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<CServerSelectionDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      const QModelIndex local = dialog->Model()->index(0, 0);
      dialog->TreeView()->expand(local);
      for (int row = 0; row < dialog->Model()->rowCount(local); ++row) {
        const QModelIndex server = dialog->Model()->index(row, 0, local);
        if (server.data().toString().endsWith("(Velmora.SimServer.1)"))
          dialog->TreeView()->setCurrentIndex(server);
      }
      dialog->OkButton()->click();
    });
    QVERIFY(ClickRibbon(frame, CommandId::kSelectServer));
    QVERIFY(session.Server().IsConnected());
    QCOMPARE(view->ConfigurationTree()->topLevelItem(0)->text(0), QString("Velmora.SimServer.1"));
    QCOMPARE(view->Attribute("Connection Status: ")->text(), QString("Connected"));
    QCOMPARE(view->Attribute("Server Status: ")->text(), QString("Running"));
    QCOMPARE(QString::fromStdString(session.ProjectState().Name()), QString("UnNamed Project"));
    QCOMPARE(view->GroupList()->topLevelItem(0)->text(0), QString("No Data"));

    // A group through the group dialog: a taken name is refused, the default one is not.
    frame.UpdateCommandStates();
    QVERIFY(frame.Command(CommandId::kAddGroup)->isEnabled());
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<CGroupDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      auto close = qScopeGuard([dialog] { dialog->reject(); });
      QCOMPARE(dialog->NameField()->text(), QString("Group01"));
      QVERIFY(dialog->OkButton()->isEnabled());
      dialog->UpdateRateChoice()->setCurrentIndex(dialog->UpdateRateChoice()->findText("2 s"));
      close.dismiss();
      dialog->OkButton()->click();
    });
    QVERIFY(ClickRibbon(frame, CommandId::kAddGroup));
    QTreeWidgetItem* group = view->ConfigurationTree()->topLevelItem(0)->child(0);
    QVERIFY(group != nullptr);
    QCOMPARE(group->text(0), QString("Group01"));
    QCOMPARE(session.Server().Group(0)->UpdateRate(), DWORD(2000));
    QCOMPARE(view->ConfigurationTree()->currentItem(), group);
    QCOMPARE(view->ItemList()->topLevelItem(0)->text(0), QString("Undefined Item"));
    frame.UpdateCommandStates();
    QVERIFY(frame.Command(CommandId::kAddItems)->isEnabled());
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<CAddItemDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      dialog->TypedIdField()->setText("Signals.Sine.R8");
      dialog->AddTypedButton()->click();
      dialog->OkButton()->click();
    });
    QVERIFY(ClickRibbon(frame, CommandId::kAddItems));
    group = view->ConfigurationTree()->topLevelItem(0)->child(0);
    QCOMPARE(group->childCount(), 1);
    QCOMPARE(group->child(0)->text(0), QString("Signals.Sine.R8 (Acquired OPC Item)"));
    QCOMPARE(view->ItemList()->topLevelItem(0)->text(1), QString("G01_A000"));
    QCOMPARE(view->Attribute("Total Number of Acquired Items in OPC Server: ")->text(),
             QString("1"));
    // The property sheets: the group's (no statistics before an acquisition), an item's.
    view->ConfigurationTree()->setCurrentItem(group);
    QTimer::singleShot(0, [] {
      auto* sheet = qobject_cast<CPropertyDlg*>(QApplication::activeModalWidget());
      QVERIFY(sheet != nullptr);
      const auto close = qScopeGuard([sheet] { sheet->reject(); });
      QCOMPARE(sheet->windowTitle(), QString("Display OPC Group Properties"));
      QCOMPARE(sheet->Value("Update Rate"), QString("2000 ms"));
      QCOMPARE(sheet->Value("Dead band"), QString("0.00 %"));
      QCOMPARE(sheet->Value("Average Update Rate"),
               QString("Data Available Only when Acquisition is Started"));
      QCOMPARE(sheet->Value("IOPCSyncIO"), QString("Supported"));
      sheet->reject();
    });
    view->OpenSelectedProperties();
    view->ConfigurationTree()->setCurrentItem(group->child(0));
    QTimer::singleShot(0, [] {
      auto* sheet = qobject_cast<CPropertyDlg*>(QApplication::activeModalWidget());
      QVERIFY(sheet != nullptr);
      const auto close = qScopeGuard([sheet] { sheet->reject(); });
      QCOMPARE(sheet->Value("OPC Item Short Name"), QString("G01_A000"));
      QCOMPARE(sheet->Value("OPC Item Group"), QString("Group01"));
      sheet->reject();
    });
    QTest::keyClick(view->ConfigurationTree(), Qt::Key_Return);

    // The statistics dialog shows the group and its figures.
    frame.UpdateCommandStates();
    QVERIFY(frame.Command(CommandId::kAcquisitionStatistics)->isEnabled());
    QTimer::singleShot(0, [] {
      auto* statistics = qobject_cast<CStatisticsDlg*>(QApplication::activeModalWidget());
      QVERIFY(statistics != nullptr);
      const auto close = qScopeGuard([statistics] { statistics->reject(); });
      QCOMPARE(statistics->GroupList()->topLevelItem(0)->text(1), QString("2000 ms"));
      QCOMPARE(statistics->GroupFrame()->title(),
               QString(" OPC Group Statistics for Group 'Group01'"));
      QCOMPARE(statistics->CountLabel()->text(), QString("0"));
      statistics->accept();
    });
    frame.Command(CommandId::kAcquisitionStatistics)->trigger();

    // Two calculated items, the second using the first.
    view->ConfigurationTree()->setCurrentItem(group);
    frame.UpdateCommandStates();
    QVERIFY(frame.Command(CommandId::kAddCalcItems)->isEnabled());
    QTimer::singleShot(0, [] {
      auto* editor = qobject_cast<CAddCalcItemDlg*>(QApplication::activeModalWidget());
      QVERIFY(editor != nullptr);
      auto close = qScopeGuard([editor] { editor->reject(); });
      const std::pair<const char*, const char*> items[] = {{"C1", "G01_A000 * 2"},
                                                           {"C2", "C1 + 1"}};
      for (const auto& [name, expression] : items) {
        editor->IdentifierField()->setText(name);
        editor->ExpressionField()->setText(expression);
        editor->EvaluateButton()->click();
        QVERIFY2(editor->AddButton()->isEnabled(), qPrintable(editor->ResultLabel()->text()));
        editor->AddButton()->click();
      }
      QCOMPARE(editor->CalcList()->topLevelItemCount(), 2);
      close.dismiss();
      editor->accept();
    });
    QVERIFY(ClickRibbon(frame, CommandId::kAddCalcItems));
    group = view->ConfigurationTree()->topLevelItem(0)->child(0);
    QCOMPARE(group->childCount(), 3);
    QCOMPARE(group->child(2)->text(0).endsWith("(Calculated OPC Item)"), true);

    // Delete on the last calculated item removes it after the question.
    view->ConfigurationTree()->setCurrentItem(group->child(2));
    rig.prompt.messageAnswers.push_back(MessageAnswer::kOk);
    QTest::keyClick(view->ConfigurationTree(), Qt::Key_Delete);
    group = view->ConfigurationTree()->topLevelItem(0)->child(0);
    QCOMPARE(group->childCount(), 2);

    // A second group at the default rate, its items picked by browsing.
    view->ConfigurationTree()->setCurrentItem(view->ConfigurationTree()->topLevelItem(0));
    frame.UpdateCommandStates();
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<CGroupDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      auto close = qScopeGuard([dialog] { dialog->reject(); });
      QCOMPARE(dialog->NameField()->text(), QString("Group02"));
      close.dismiss();
      dialog->OkButton()->click();
    });
    frame.Command(CommandId::kAddGroup)->trigger();
    QCOMPARE(session.Server().GroupCount(), 2);
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<CAddItemDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      auto close = qScopeGuard([dialog] { dialog->reject(); });
      QAbstractItemModel* tree = dialog->BrowseTree()->model();
      QModelIndex node = tree->index(0, 0);
      for (const char* level : {"Plant", "Line1", "Machine1"}) {
        dialog->BrowseTree()->expand(node);
        QModelIndex next;
        for (int row = 0; row < tree->rowCount(node) && !next.isValid(); ++row) {
          if (tree->index(row, 0, node).data().toString().startsWith(level))
            next = tree->index(row, 0, node);
        }
        QVERIFY2(next.isValid(), level);
        node = next;
        dialog->BrowseTree()->setCurrentIndex(node);
      }
      QVERIFY(dialog->LeafList()->model()->rowCount() >= 2);
      dialog->LeafList()->selectAll();
      dialog->AddButton()->click();
      close.dismiss();
      dialog->OkButton()->click();
    });
    frame.Command(CommandId::kAddItems)->trigger();
    const size_t browsed = session.Server().Group(1)->AcquiredItems().size();
    QVERIFY(browsed >= 2);

    // Saved under a name; "Save Project" follows the modified flag.
    frame.UpdateCommandStates();
    QVERIFY(frame.Command(CommandId::kSaveProject)->isEnabled());
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<CSetProjectNameDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      auto close = qScopeGuard([dialog] { dialog->reject(); });
      dialog->NameEdit()->setText("Line Test");
      close.dismiss();
      dialog->OkButton()->click();
    });
    frame.Command(CommandId::kSaveProject)->trigger();
    QCOMPARE(QString::fromStdString(session.ProjectState().Name()), QString("Line Test"));
    frame.UpdateCommandStates();
    QVERIFY(!frame.Command(CommandId::kSaveProject)->isEnabled());
    const std::string database = rig.options.databasePath;
    QCOMPARE(SqliteScalar(database,
                          "SELECT COUNT(*) FROM OPCGrp JOIN OPCPrj USING(OPCPrj_Id) "
                          "WHERE OPCPrj_Name = 'Line Test'"),
             std::string("2"));

    // A few simulated seconds of acquisition. The structure is locked meanwhile, the
    // property sheets still open and show figures.
    frame.Command(CommandId::kStartAcquisition)->trigger();
    QVERIFY(session.Engine().IsRunning());
    frame.DataView()->BaseTimer()->stop();  // ticked by hand, whatever the machine's speed
    for (int second = 0; second < 6; ++second) {
      clock.AdvanceMs(1000);
      frame.DataView()->OnBaseTick();
    }
    frame.UpdateCommandStates();
    for (CommandId locked : {CommandId::kAddGroup, CommandId::kRemoveGroup, CommandId::kAddItems,
                             CommandId::kAddCalcItems, CommandId::kDisconnectServer})
      QVERIFY(!frame.Command(locked)->isEnabled());
    view->ConfigurationTree()->setCurrentItem(view->ConfigurationTree()->topLevelItem(0)->child(0));
    QTimer::singleShot(0, [] {
      auto* sheet = qobject_cast<CPropertyDlg*>(QApplication::activeModalWidget());
      QVERIFY(sheet != nullptr);
      const auto close = qScopeGuard([sheet] { sheet->reject(); });
      QVERIFY(sheet->Value("Average Update Rate") !=
              QString("Data Available Only when Acquisition is Started"));
    });
    view->OpenSelectedProperties();
    rig.prompt.reportAnswers.push_back(1);  // "Please Confirm Data Acquisition Stop"
    frame.Command(CommandId::kStopAcquisition)->trigger();
    QVERIFY(!session.Engine().IsRunning());

    // The database holds the acquisition, both groups and their decoded rows; the cells of
    QCOMPARE(QString::fromStdString(SqliteScalar(database, "SELECT OPCAcq_DataCount FROM OPCAcq")),
             QString("6"));
    QCOMPARE(SqliteScalar(database, "SELECT COUNT(*) FROM OPCAcqGrp"), std::string("2"));
    QCOMPARE(SqliteScalar(database, "SELECT COUNT(*) FROM OPCAcqItem"),
             std::to_string(2 + browsed));
    const std::vector<std::vector<StoredValueField>> rows = StoredRows(database);
    QCOMPARE(rows.size(), size_t(6));
    // the 2 s group between its reads are interpolated (its calculated item held), those of
    // the 1 s group never.
    int interpolated = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
      const auto& row = rows[r];
      QCOMPARE(row.size(), 2 + browsed);
      if (row[0].text.empty()) {  // after the 2 s group's last read: nothing to hold yet
        QCOMPARE(r, rows.size() - 1);
        continue;
      }
      if ((row[0].status & kStatusInterpolated) != 0) {
        ++interpolated;
        QCOMPARE(row[1].text, rows[r - 1][1].text);  // sample and hold
        QVERIFY((row[1].status & kStatusInterpolated) != 0);
      } else {
        // C1 = G01_A000 * 2, of the unrounded value
        QVERIFY(qAbs(QString::fromStdString(row[1].text).toDouble() -
                     QString::fromStdString(row[0].text).toDouble() * 2) <= 0.011);
      }
      for (size_t column = 2; column < row.size(); ++column)
        QVERIFY((row[column].status & kStatusInterpolated) == 0);
    }
    QVERIFY(interpolated >= 2);

    // Disconnecting runs the close-project sequence (the saved project: nothing to ask).
    view->ConfigurationTree()->setCurrentItem(view->ConfigurationTree()->topLevelItem(0));
    QVERIFY(ClickRibbon(frame, CommandId::kDisconnectServer));
    QVERIFY(!session.Server().IsConnected());
    QCOMPARE(view->ConfigurationTree()->topLevelItem(0)->text(0),
             QString("No OPC Server Selected"));
    session.Detach();
  }

  // After a server's shutdown the view is back to "No OPC Server Selected", ready to
  // select a server from the command bar, whether or not an acquisition was running.
  void aShutdownLeavesTheViewReadyToSelectAServer() {
    for (const bool acquiring : {false, true}) {
      DemoSessionRig rig(m_dir.path() + (acquiring ? "/ShutdownRun.sq3" : "/Shutdown.sq3"));
      QVERIFY(rig.Start());
      QVERIFY(rig.ImportDemoProject());
      CMainFrame& frame = rig.Frame();
      CVelmoraSession& session = *rig.session;
      frame.SwitchToView(VelmoraView::kOpcServer);
      COPCServerView* view = frame.ServerView();
      QTreeWidget* tree = view->ConfigurationTree();
      QCOMPARE(tree->topLevelItem(0)->text(0), QString(kSimServerProgId));
      tree->setCurrentItem(tree->topLevelItem(0)->child(0));
      if (acquiring) {  // watched from the acquisition view
        frame.SwitchToView(VelmoraView::kOpcData);
        QVERIFY(ClickRibbon(frame, CommandId::kStartAcquisition));
        QVERIFY(session.Engine().IsRunning());
      }
      if (session.IsProjectModified())
        rig.prompt.reportAnswers.push_back(2);  // not saved
      QVERIFY(CSimRuntime::Instance().RequestShutdown(kSimServerProgId, "Maintenance") >= 1);
      QTRY_VERIFY(!session.Server().IsConnected());
      QTest::qWait(50);
      frame.SwitchToView(VelmoraView::kOpcServer);
      QCOMPARE(tree->topLevelItemCount(), 1);
      QCOMPARE(tree->topLevelItem(0)->text(0), QString("No OPC Server Selected"));
      QCOMPARE(view->SelectedKind(), ConfigNodeKind::kNoServer);
      QToolButton* select = RibbonButton(frame, CommandId::kSelectServer);
      QVERIFY(select != nullptr);
      QVERIFY(select->isEnabled());
      session.Detach();
      CSimRuntime::Instance().Reset();
    }
  }

  // A server shutdown while a dialog works on a group: the dialog ends unapplied before
  // the group is freed, and its OK can no longer write into it.
  void aShutdownEndsTheDialogsThatWorkOnAGroup() {
    DemoSessionRig rig(m_dir.path() + "/DialogShutdown.sq3");
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    CVelmoraSession& session = *rig.session;
    enum class Way { kAddItems, kCalcItems, kModifyGroup, kItemProperties };
    for (const Way way :
         {Way::kAddItems, Way::kCalcItems, Way::kModifyGroup, Way::kItemProperties}) {
      QVERIFY(rig.ImportDemoProject());
      frame.SwitchToView(VelmoraView::kOpcServer);
      COPCServerView* view = frame.ServerView();
      view->Refresh();
      QTreeWidget* tree = view->ConfigurationTree();
      tree->setCurrentItem(tree->topLevelItem(0)->child(0));
      if (session.IsProjectModified())
        rig.prompt.reportAnswers.push_back(2);  // not saved
      QPointer<QDialog> open;
      bool opened = false;
      bool stillOpen = false;
      QTimer watch;
      QTimer::singleShot(0, [&] {
        open = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        opened = !open.isNull();
        if (!opened)
          return;
        QVERIFY(CSimRuntime::Instance().RequestShutdown(kSimServerProgId, "Maintenance") >= 1);
        // Once the server is gone, a dialog still open is accepted as a user would.
        connect(&watch, &QTimer::timeout, [&] {
          if (session.Server().IsConnected())
            return;
          watch.stop();
          if (!open.isNull() && open->isVisible()) {
            stillOpen = true;
            open->accept();
          }
        });
        watch.start(5);
      });
      switch (way) {
        case Way::kAddItems:
          QVERIFY(ClickRibbon(frame, CommandId::kAddItems));
          break;
        case Way::kCalcItems:
          QVERIFY(ClickRibbon(frame, CommandId::kAddCalcItems));
          break;
        case Way::kModifyGroup:
          QTest::keyClick(tree, Qt::Key_F2);
          break;
        case Way::kItemProperties:
          QVERIFY(tree->currentItem()->childCount() > 0);
          tree->setCurrentItem(tree->currentItem()->child(0));
          QCOMPARE(view->SelectedKind(), ConfigNodeKind::kItem);
          QTest::keyClick(tree, Qt::Key_Return);
          break;
      }
      QVERIFY(opened);
      QTRY_VERIFY(!session.Server().IsConnected());
      QVERIFY2(!stillOpen, "the dialog outlived its group");
      QCOMPARE(session.Server().GroupCount(), 0);
      QCOMPARE(tree->topLevelItem(0)->text(0), QString("No OPC Server Selected"));
      CSimRuntime::Instance().Reset();
    }
    session.Detach();
  }

  // The default-name check after a group removal shows its two summaries, time-stamped, in
  // the view's own message list.
  void removingAGroupShowsTheDefaultNameChecksInTheView() {
    DemoSessionRig rig(m_dir.path() + "/Names.sq3");
    FakeClock& clock = rig.UseFakeClock();
    QVERIFY(rig.Start());
    QVERIFY(rig.ImportDemoProject());
    CMainFrame& frame = rig.Frame();
    CVelmoraSession& session = *rig.session;
    frame.SwitchToView(VelmoraView::kOpcServer);
    COPCServerView* view = frame.ServerView();
    QTreeWidget* tree = view->ConfigurationTree();
    const int groups = session.Server().GroupCount();
    for (int added = 0; added < 2; ++added) {
      tree->setCurrentItem(tree->topLevelItem(0));
      QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CGroupDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialog->OkButton()->click();
      });
      QVERIFY(ClickRibbon(frame, CommandId::kAddGroup));
    }
    QCOMPARE(session.Server().GroupCount(), groups + 2);
    QCOMPARE(QString::fromStdString(session.Server().Group(groups)->Name()),
             QString("Group%1").arg(groups + 1, 2, 10, QChar('0')));
    QVERIFY(view->MessageList()->count() == 0);

    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    rig.prompt.messageAnswers.push_back(MessageAnswer::kOk);  // "Please Confirm ..."
    QVERIFY(ClickRibbon(frame, CommandId::kRemoveGroup));
    QCOMPARE(QString::fromStdString(session.Server().Group(groups - 1)->Name()),
             QString("Group%1").arg(groups, 2, 10, QChar('0')));
    QListWidget* messages = view->MessageList();
    QCOMPARE(messages->count(), 2);
    const QString stamp = QString::fromStdString(FormatLogTime(clock.LocalNow()));
    QCOMPARE(messages->item(0)->text(),
             stamp +
                 ": Consistency Check of Default Group Names Done - 2 Default Group Names "
                 "Changed ...");
    QVERIFY(messages->item(1)->text().startsWith(
        stamp + ": Consistency Check of Default Short Identifiers Done - "));

    // Disconnecting the changed project: Cancel on the save question keeps it connected.
    QVERIFY(session.IsProjectModified());
    tree->setCurrentItem(tree->topLevelItem(0));
    rig.prompt.reportAnswers.push_back(3);  // Cancel
    QVERIFY(ClickRibbon(frame, CommandId::kDisconnectServer));
    QCOMPARE(rig.prompt.reports.back().buttonMode, 3);
    QVERIFY(session.Server().IsConnected());
    QCOMPARE(session.Server().GroupCount(), groups + 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), QString(kSimServerProgId));
    rig.prompt.reportAnswers.push_back(2);  // No: closed without saving
    QVERIFY(ClickRibbon(frame, CommandId::kDisconnectServer));
    QVERIFY(!session.Server().IsConnected());
    QCOMPARE(tree->topLevelItem(0)->text(0), QString("No OPC Server Selected"));
    session.Detach();
  }

  void aLostServerShowsReconnectingAndAQuitSignalRecordsTheEnd() {
    DemoSessionRig rig(m_dir.path() + "/Signal.sq3");
    QVERIFY(rig.Start());
    QVERIFY(rig.ImportDemoProject());
    CMainFrame& frame = rig.Frame();
    CVelmoraSession& session = *rig.session;
    COPCDataView* view = frame.DataView();
    frame.UpdateCommandStates();
    QAction* reconnect = frame.Command(CommandId::kReconnectOnServerLoss);
    QVERIFY(reconnect->isEnabled() && !reconnect->isChecked());
    reconnect->trigger();
    QVERIFY(reconnect->isChecked());
    QCOMPARE(settings::Read(rig.settings, settings::kReconnectOnServerLoss), 1);

    frame.Command(CommandId::kStartAcquisition)->trigger();
    QTest::qWait(5);
    view->OnBaseTick();
    CSimRuntime::Instance().Faults(kSimServerProgId).m_bDead = true;
    QTest::qWait(5);
    view->OnBaseTick();
    QVERIFY(session.Engine().IsRunning());
    QCOMPARE(view->ServerBox()->ConnectionStatus()->text(), QString("Reconnecting ..."));
    QVERIFY(rig.prompt.reports.empty());  // no read error report: the acquisition goes on

    bool quit = false;
    CQuitSignals quitSignals([&](int signal) {
      session.EndForSignal(signal);
      quit = true;
    });
    std::raise(SIGTERM);
    QTRY_VERIFY(quit);
    QVERIFY(!session.Engine().IsRunning());
    QCOMPARE(SqliteScalar(rig.options.databasePath,
                          "SELECT OPCAcq_DataCount || ' ' || (OPCAcq_EndTime <> 'Undefined') "
                          "FROM OPCAcq"),
             std::string("1 1"));
    CSimRuntime::Instance().Reset();
    session.Detach();
  }

  void aRefusedSimulationConfigurationIsShownInTheOutputPane() {
    const QString config = m_dir.path() + "/bad-sim.ini";
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[server Velmora.SimServer.1]\nunknown_fault = 7\n");
    file.close();
    qputenv("VELMORA_SIM_CONFIG", config.toUtf8());
    DemoSessionRig rig(m_dir.path() + "/Early.sq3");
    const bool started = rig.Start();  // the session logs the refusal before the pane exists
    qunsetenv("VELMORA_SIM_CONFIG");
    QVERIFY(started);
    COutputList* list = rig.Frame().OutputWnd()->List(kLogOpcServer);
    bool shown = false;
    for (int row = 0; row < list->count(); ++row)
      shown = shown || list->item(row)->text().contains("unknown key");
    QVERIFY(shown);
    CSimRuntime::Instance().Reset();
  }

  void anEndlessSimulationConfigurationIsRefusedAtStartUp() {
    qputenv("VELMORA_SIM_CONFIG", "/dev/zero");
    QElapsedTimer timer;
    timer.start();
    DemoSessionRig rig(m_dir.path() + "/Zero.sq3");
    const bool started = rig.Start();
    qunsetenv("VELMORA_SIM_CONFIG");
    QVERIFY(started);
    QVERIFY2(timer.elapsed() < 30000, "the start-up read /dev/zero for long");
    COutputList* list = rig.Frame().OutputWnd()->List(kLogOpcServer);
    bool shown = false;
    for (int row = 0; row < list->count(); ++row)
      shown = shown || list->item(row)->text().contains(
                           "the simulation configuration /dev/zero is larger than");
    QVERIFY(shown);
    CSimRuntime::Instance().Reset();
  }

 private:
  QTemporaryDir m_dir;
};

QTEST_MAIN(SessionTest)
#include "session_test.moc"
