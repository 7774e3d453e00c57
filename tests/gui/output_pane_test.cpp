// The output pane: four channels, newest line on top, horizontal extent, Ctrl+C, menu,
// the find box and the switch that hides the SQL statement lines.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/gui/output_wnd.h"
#include "base/app_context.h"
#include "base/log.h"
#include "db/sqlite_db.h"
#include "scripted_user_prompt.h"

namespace {

// The texts of the lines a list shows (hidden ones left out), top first.
QStringList ShownLines(const COutputList* list) {
  QStringList lines;
  for (int row = 0; row < list->count(); ++row) {
    if (!list->isRowHidden(row))
      lines << list->item(row)->text();
  }
  return lines;
}

}  // namespace

class OutputPaneTest : public QObject {
  Q_OBJECT
 private slots:
  void tabsCarryTheChannelCaptionsWithTwoTrailingBlanks() {
    ScriptedUserPrompt prompt;
    COutputWnd pane(&prompt);
    QCOMPARE(pane.Tabs()->count(), 4);
    QCOMPARE(pane.Tabs()->tabText(0), QString("OPC Server  "));
    QCOMPARE(pane.Tabs()->tabText(1), QString("OPC Data Acquisition  "));
    QCOMPARE(pane.Tabs()->tabText(2), QString("OPC Data Chart  "));
    QCOMPARE(pane.Tabs()->tabText(3), QString("Projects  "));
    for (int channel = 0; channel < 4; ++channel)
      QCOMPARE(pane.List(channel)->font(), pane.List(0)->font());
  }

  void newestLineIsOnTopOfItsChannelOnly() {
    ScriptedUserPrompt prompt;
    COutputWnd pane(&prompt);
    FakeClock clock(LocalTime{2026, 3, 5, 9, 4, 7, 0, 4});
    CLog log(clock, &pane);
    log.Log("first", kLogProjects);
    clock.AdvanceMs(1000);
    log.Log("second", kLogProjects);
    log.Log("server line", kLogOpcServer);
    log.Log("nowhere", 4);
    log.Log("nowhere either", -1);
    COutputList* projects = pane.List(kLogProjects);
    QCOMPARE(projects->count(), 2);
    QCOMPARE(projects->item(0)->text(), QString("05/Mar/2026 09:04:08: second"));
    QCOMPARE(projects->item(1)->text(), QString("05/Mar/2026 09:04:07: first"));
    QCOMPARE(pane.List(kLogOpcServer)->count(), 1);
    QCOMPARE(pane.List(kLogDataAcquisition)->count(), 0);
    QCOMPARE(pane.List(kLogDataChart)->count(), 0);
  }

  void aLongRunKeepsOnlyTheNewestLinesOfAChannel() {
    ScriptedUserPrompt prompt;
    COutputWnd pane(&prompt);
    FakeClock clock(LocalTime{2026, 3, 5, 9, 4, 7, 0, 4});
    CLog log(clock, &pane);
    for (int i = 0; i < kMaxOutputLines + 5; ++i)
      log.Log(QString("redraw %1").arg(i).toStdString(), kLogDataChart);
    COutputList* chart = pane.List(kLogDataChart);
    QCOMPARE(chart->count(), kMaxOutputLines);
    QCOMPARE(chart->ShownCount(), kMaxOutputLines);
    QVERIFY(chart->item(0)->text().endsWith(QString("redraw %1").arg(kMaxOutputLines + 4)));
    QVERIFY(chart->item(kMaxOutputLines - 1)->text().endsWith("redraw 5"));
  }

  void horizontalExtentFollowsTheWidestLine() {
    ScriptedUserPrompt prompt;
    COutputWnd pane(&prompt);
    pane.resize(300, 200);
    COutputList* list = pane.List(0);
    list->AddLine("short");
    const int shortExtent = list->HorizontalExtent();
    QVERIFY(shortExtent >= list->fontMetrics().horizontalAdvance("short"));
    const QString wide(400, 'W');
    list->AddLine(wide);
    const int wideExtent = list->HorizontalExtent();
    QVERIFY(wideExtent >= list->fontMetrics().horizontalAdvance(wide));
    list->AddLine("short again");
    QCOMPARE(list->HorizontalExtent(), wideExtent);  // never shrinks for a narrower line
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QVERIFY(list->horizontalScrollBar()->maximum() > 0);
  }

  void ctrlCCopiesTheSelectedLineOnly() {
    ScriptedUserPrompt prompt;
    COutputWnd pane(&prompt);
    COutputList* list = pane.List(1);
    list->AddLine("older");
    list->AddLine("newer");
    QGuiApplication::clipboard()->setText("untouched");
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("untouched"));  // no selection
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("older"));
  }

  void contextMenuCommandsShowTheirOwnCaption() {
    ScriptedUserPrompt prompt;
    prompt.messageAnswers = {MessageAnswer::kOk, MessageAnswer::kOk};  // one per command
    COutputWnd pane(&prompt);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    COutputList* list = pane.List(0);
    for (const QString& caption : {QString("Copy output"), QString("Clear output")}) {
      QTimer::singleShot(50, [caption] {
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QStringList texts;
        for (QAction* action : menu->actions())
          texts << action->text();
        QCOMPARE(texts, (QStringList{"Copy output", "Clear output"}));
        for (QAction* action : menu->actions()) {
          if (action->text() == caption)
            action->trigger();
        }
        menu->close();
      });
      QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                              list->viewport()->mapToGlobal(QPoint(5, 5)));
      QApplication::sendEvent(list->viewport(), &event);
    }
    QCOMPARE(prompt.messages.size(), size_t(2));
    QCOMPARE(QString::fromStdString(prompt.messages[0].text), QString("Copy output"));
    QCOMPARE(QString::fromStdString(prompt.messages[1].text), QString("Clear output"));
  }

  void theFindBoxShowsOnlyTheLinesContainingItInEveryTab() {
    ScriptedUserPrompt prompt;
    COutputWnd pane(&prompt);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    FakeClock clock(LocalTime{2026, 3, 5, 9, 4, 7, 0, 4});
    CLog log(clock, &pane);
    log.Log("Connected to OPC Server Velmora.SimServer.1", kLogOpcServer);
    log.Log("Group Group01 Added", kLogOpcServer);
    log.Log("Data Acquisition Started", kLogDataAcquisition);
    QVERIFY(pane.FindBox()->isVisible());
    QVERIFY(pane.ShownLabel()->isHidden());  // nothing filtered
    QTest::keyClicks(pane.FindBox(), "group01");
    QCOMPARE(ShownLines(pane.List(kLogOpcServer)),
             QStringList{"05/Mar/2026 09:04:07: Group Group01 Added"});
    QVERIFY(ShownLines(pane.List(kLogDataAcquisition)).isEmpty());
    QCOMPARE(pane.List(kLogOpcServer)->count(), 2);  // hidden, not dropped
    QVERIFY(pane.ShownLabel()->isVisible());
    QCOMPARE(pane.ShownLabel()->text(), QString("1 of 2 lines"));
    // Lines logged while a text is entered follow it.
    log.Log("Group Group02 Added", kLogOpcServer);
    log.Log("Group01 Read in 3 ms", kLogOpcServer);
    QCOMPARE(ShownLines(pane.List(kLogOpcServer)).size(), 2);
    QCOMPARE(pane.ShownLabel()->text(), QString("2 of 4 lines"));
    pane.FindBox()->clear();
    QCOMPARE(ShownLines(pane.List(kLogOpcServer)).size(), 4);
    QCOMPARE(ShownLines(pane.List(kLogDataAcquisition)).size(), 1);
    QVERIFY(pane.ShownLabel()->isHidden());
  }

  void hideSqlStatementsIsOffAtFirstAndHidesTheDatabaseStatementLines() {
    ScriptedUserPrompt prompt;
    COutputWnd pane(&prompt);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    FakeClock clock;
    CLog log(clock, &pane);
    InMemorySettingsStore settings;
    AppContext context{clock, log, prompt, settings};
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The database layer's own statement lines, on the OPC Server channel.
    CSQLite db(context);
    db.SetPath((dir.path() + "/Velmora.sq3").toStdString());
    QCOMPARE(db.ExecSQL("CREATE TABLE Probe(Probe_Id INTEGER);", SqlRun{true, true, true}),
             DbStatus::kOk);
    log.Log("Velmora Database Checked Successfully", kLogOpcServer);
    COutputList* list = pane.List(kLogOpcServer);
    QCOMPARE(list->count(), 3);
    QVERIFY(!pane.HideSqlSwitch()->isChecked());
    QCOMPARE(pane.HideSqlSwitch()->text(), QString("Hide SQL Statements"));
    QCOMPARE(ShownLines(list).size(), 3);
    QTest::mouseClick(pane.HideSqlSwitch(), Qt::LeftButton);
    QVERIFY(pane.HideSqlSwitch()->isChecked());
    const QStringList shown = ShownLines(list);
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].endsWith("Velmora Database Checked Successfully"));
    QCOMPARE(pane.ShownLabel()->text(), QString("1 of 3 lines"));
    // New statement lines stay hidden; a failure line of the database is still shown.
    QCOMPARE(db.ExecSQL("SELECT * FROM Missing;", SqlRun{true, true, true}), DbStatus::kFailed);
    QVERIFY(list->count() > 3);
    for (const QString& line : ShownLines(list)) {
      QVERIFY2(!line.contains("Executing SQL Transaction") && !line.contains("SQL Query Executed"),
               qPrintable(line));
    }
    QVERIFY(ShownLines(list).size() >= 2);
    // With a find text too, both rules apply.
    QTest::keyClicks(pane.FindBox(), "probe");
    QVERIFY(ShownLines(list).isEmpty());
    pane.FindBox()->clear();
    QTest::mouseClick(pane.HideSqlSwitch(), Qt::LeftButton);
    QCOMPARE(ShownLines(list).size(), list->count());
  }

  void aHiddenWideLineLeavesNoSidewaysScrolling() {
    ScriptedUserPrompt prompt;
    COutputWnd pane(&prompt);
    pane.resize(400, 200);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    FakeClock clock;
    CLog log(clock, &pane);
    log.Log("Executing SQL Transaction: " + std::string(300, 'S'), kLogProjects);
    log.Log("SQL Query Executed in 2 msec.", kLogProjects);
    pane.ShowChannel(kLogProjects);
    COutputList* list = pane.List(kLogProjects);
    QTest::qWait(20);
    QVERIFY(list->horizontalScrollBar()->maximum() > 0);
    QTest::mouseClick(pane.HideSqlSwitch(), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(list->ShownCount(), 0);
    // Nothing shown, nothing to scroll to (and the scroll bar settles).
    QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
    QVERIFY(list->HorizontalExtent() > 0);  // the widest line is still known
    QTest::mouseClick(pane.HideSqlSwitch(), Qt::LeftButton);
    QTest::qWait(20);
    QVERIFY(list->horizontalScrollBar()->maximum() > 0);
  }

  void onlyTheStatementLinesCountAsSql() {
    QVERIFY(IsSqlStatementLine("05/Mar/2026 09:04:07: Executing SQL Transaction: SELECT 1"));
    QVERIFY(IsSqlStatementLine("05/Mar/2026 09:04:07: SQL Query Executed in 3 msec."));
    QVERIFY(!IsSqlStatementLine("05/Mar/2026 09:04:07: Error Executing SQL Transaction"));
    QVERIFY(!IsSqlStatementLine("Executing SQL"));
  }
};

QTEST_MAIN(OutputPaneTest)
#include "output_pane_test.moc"
