// The output pane: four channels, newest line on top, horizontal extent, Ctrl+C, menu.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/gui/output_wnd.h"
#include "base/log.h"
#include "scripted_user_prompt.h"

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
    prompt.messageAnswers = {MessageAnswer::Ok, MessageAnswer::Ok};  // one per command
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
};

QTEST_MAIN(OutputPaneTest)
#include "output_pane_test.moc"
