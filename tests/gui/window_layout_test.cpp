// The main window on the screen it is on: the first start and a stored geometry fit the
// screen, the maximised state is kept; with the demo project acquiring, every view fits
// 1024 x 700 and the acquisition tables still show rows; the window's layout, the
// visible view with its data and the navigation group come back at the next start.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

#include "acquisition/gui/opc_data_view.h"
#include "app/gui/main_frame.h"
#include "app/gui/outlook_bar.h"
#include "app/gui/output_wnd.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/window_geometry.h"
#include "app/navigation.h"
#include "demo_session.h"
#include "explorer/gui/prj_database_view.h"
#include "opc/gui/opc_server_view.h"
#include "platform/sim/sim_runtime.h"
#include "ui/velmora_view.h"

namespace {

// Rows a table shows without scrolling.
int VisibleRows(const QTableView* table) {
  const int rowHeight = table->verticalHeader()->defaultSectionSize();
  return rowHeight > 0 ? table->viewport()->height() / rowHeight : 0;
}

// The part of a widget seen through every scrolling area between it and the view, in
// global coordinates (empty when it is scrolled out of sight).
QRect SeenPart(const QWidget* widget, const QWidget* view) {
  QRect seen(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  for (const QWidget* parent = widget->parentWidget(); parent != nullptr && parent != view;
       parent = parent->parentWidget()) {
    seen &= QRect(parent->mapToGlobal(QPoint(0, 0)), parent->size());
  }
  return seen & QRect(view->mapToGlobal(QPoint(0, 0)), view->size());
}

// Rows of a list, table or tree seen without scrolling the view around it.
int SeenRows(const QAbstractItemView* list, const QWidget* view) {
  int rowHeight = list->fontMetrics().height() + 6;
  if (const auto* table = qobject_cast<const QTableView*>(list))
    rowHeight = table->verticalHeader()->defaultSectionSize();
  else if (list->model() != nullptr && list->model()->rowCount() > 0)
    rowHeight = std::max(1, list->sizeHintForRow(0));
  return SeenPart(list->viewport(), view).height() / rowHeight;
}

// What is wrong with a control's place in the view: it must not need sideways scrolling,
// and whatever is out of sight must be reachable by a vertical scroll bar.
QString Unreachable(const QWidget* control, const QWidget* view) {
  const QRect rect(control->mapToGlobal(QPoint(0, 0)), control->size());
  for (const QWidget* parent = control->parentWidget(); parent != nullptr && parent != view;
       parent = parent->parentWidget()) {
    const auto* area = qobject_cast<const QAbstractScrollArea*>(parent);
    if (area == nullptr || qobject_cast<const QAbstractItemView*>(parent) != nullptr)
      continue;
    if (area->horizontalScrollBar()->maximum() > 0)
      return QString("%1 scrolls sideways by %2")
          .arg(area->objectName())
          .arg(area->horizontalScrollBar()->maximum());
    const QRect port(area->viewport()->mapToGlobal(QPoint(0, 0)), area->viewport()->size());
    if (rect.left() < port.left() || rect.right() > port.right())
      return QString("cut at the side of %1").arg(area->objectName());
    if (area->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
        (rect.top() < port.top() || rect.bottom() > port.bottom()))
      return QString("cut at the bottom of %1").arg(area->objectName());
  }
  const QRect whole(view->mapToGlobal(QPoint(0, 0)), view->size());
  if (rect.left() < whole.left() || rect.right() > whole.right())
    return "beyond the side of the view";
  return {};
}

// The buttons and fields a user works with in a view.
QList<QWidget*> Controls(QWidget* view) {
  QList<QWidget*> controls;
  for (QWidget* widget : view->findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(view))
      continue;
    if (qobject_cast<QAbstractButton*>(widget) == nullptr &&
        qobject_cast<QLineEdit*>(widget) == nullptr &&
        qobject_cast<QComboBox*>(widget) == nullptr &&
        qobject_cast<QAbstractSpinBox*>(widget) == nullptr)
      continue;
    // The parts of a composite control (a spin box's line, a table's corner button).
    bool part = false;
    for (QWidget* parent = widget->parentWidget(); parent != nullptr && parent != view;
         parent = parent->parentWidget()) {
      if (qobject_cast<QAbstractSpinBox*>(parent) != nullptr ||
          qobject_cast<QComboBox*>(parent) != nullptr ||
          qobject_cast<QAbstractItemView*>(parent) != nullptr)
        part = true;
    }
    if (!part)
      controls << widget;
  }
  return controls;
}

// A screen of the given size for the window (the test platform's own is fixed).
std::function<QRect()> Screen(int width, int height) {
  return [width, height] { return QRect(0, 0, width, height); };
}

// The next start is a first start again.
void ForgetWindowLayout() {
  OpenVelmoraSettings()->remove("Window");
}

// The whole window, with the frame a window manager is likely to add, is on the screen.
bool FitsWithFrame(const QRect& inside, const QRect& screen) {
  return screen.contains(inside.marginsAdded(EstimatedFrameMargins(32, 4)));
}

}  // namespace

class WindowLayoutTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    SetVelmoraSettingsDirectory(m_dir.path());
  }

  void theFirstStartFitsTheScreenWithItsFrame() {
    for (const QSize screen : {QSize(1280, 800), QSize(1024, 768), QSize(1920, 1080)}) {
      ForgetWindowLayout();
      DemoSessionRig rig(m_dir.path() + "/First.sq3");
      rig.availableGeometry = Screen(screen.width(), screen.height());
      QVERIFY(rig.Start());
      CMainFrame& frame = rig.Frame();
      QApplication::processEvents();
      const QRect available(QPoint(0, 0), screen);
      QVERIFY2(FitsWithFrame(frame.geometry(), available),
               qPrintable(QString("%1 x %2: %3 x %4 at %5, %6")
                              .arg(screen.width())
                              .arg(screen.height())
                              .arg(frame.width())
                              .arg(frame.height())
                              .arg(frame.x())
                              .arg(frame.y())));
      QVERIFY(!frame.isMaximized());
      // The status bar is inside the window, and the window inside the screen.
      QVERIFY(frame.statusBar()->isVisible());
      QVERIFY(frame.statusBar()->geometry().bottom() < frame.height());
      // The configuration tree keeps a usable width (the view scrolls sideways instead).
      QVERIFY(frame.SwitchToView(VelmoraView::kOpcServer));
      QApplication::processEvents();
      QVERIFY2(frame.ServerView()->ConfigurationTree()->width() >= 150,
               qPrintable(QString::number(frame.ServerView()->ConfigurationTree()->width())));
      // The output pane leaves the views most of a small screen's height.
      QVERIFY(frame.OutputWnd()->height() <= std::max(150, screen.height() / 5));
      if (screen.width() >= kFirstStartSize.width() + 8 &&
          screen.height() >= kFirstStartSize.height() + 36)
        QCOMPARE(frame.size(), kFirstStartSize);
      frame.close();
    }
  }

  void aGeometryStoredOnALargerScreenIsBroughtOntoTheSmallerOne() {
    ForgetWindowLayout();
    {
      DemoSessionRig large(m_dir.path() + "/Large.sq3");
      large.availableGeometry = Screen(2560, 1440);
      QVERIFY(large.Start());
      large.Frame().setGeometry(1200, 500, 1800, 900);
      QApplication::processEvents();
      large.Frame().close();
    }
    DemoSessionRig small(m_dir.path() + "/Large.sq3");
    small.availableGeometry = Screen(1024, 768);
    QVERIFY(small.Start());
    CMainFrame& frame = small.Frame();
    QApplication::processEvents();
    QVERIFY2(FitsWithFrame(frame.geometry(), QRect(0, 0, 1024, 768)),
             qPrintable(QString("%1 x %2 at %3, %4")
                            .arg(frame.width())
                            .arg(frame.height())
                            .arg(frame.x())
                            .arg(frame.y())));
    // As large as the smaller screen allows.
    QCOMPARE(frame.width(), 1024 - 8);
    QCOMPARE(frame.height(), 768 - 36 - 4);
    frame.close();
  }

  void theMaximisedStateIsKept() {
    ForgetWindowLayout();
    {
      DemoSessionRig first(m_dir.path() + "/Maximised.sq3");
      first.availableGeometry = Screen(1280, 800);
      QVERIFY(first.Start());
      first.Frame().resize(1000, 700);
      first.Frame().showMaximized();
      QApplication::processEvents();
      QVERIFY(first.Frame().isMaximized());
      first.Frame().close();
    }
    {
      DemoSessionRig second(m_dir.path() + "/Maximised.sq3");
      second.availableGeometry = Screen(1280, 800);
      QVERIFY(second.Start());
      QApplication::processEvents();
      QVERIFY(second.Frame().isMaximized());
      // Back to normal: the size it had before it was maximised.
      second.Frame().showNormal();
      QApplication::processEvents();
      QCOMPARE(second.Frame().size(), QSize(1000, 700));
      second.Frame().close();
    }
    DemoSessionRig third(m_dir.path() + "/Maximised.sq3");
    third.availableGeometry = Screen(1280, 800);
    QVERIFY(third.Start());
    QApplication::processEvents();
    QVERIFY(!third.Frame().isMaximized());
    QCOMPARE(third.Frame().size(), QSize(1000, 700));
    third.Frame().close();
  }

  void everyViewFitsASmallScreenWithTheDemoProjectAcquiring() {
    ForgetWindowLayout();
    DemoSessionRig rig(m_dir.path() + "/Velmora.sq3");
    // A screen larger than the window: the fit to the screen after the first show (the test
    // platform's screen is 800 pixels wide) must not shrink it while the views are checked.
    rig.availableGeometry = Screen(1280, 800);
    QVERIFY(rig.Start());
    QVERIFY(rig.ImportDemoProject());
    CMainFrame& frame = rig.Frame();
    ScriptedUserPrompt& prompt = rig.prompt;
    COPCDataView* view = frame.DataView();
    view->ResetView();  // the headings of the loaded project
    frame.UpdateCommandStates();
    frame.Command(CommandId::kStartAcquisition)->trigger();
    for (int tick = 0; tick < 4; ++tick) {
      QTest::qWait(5);
      view->OnBaseTick();
    }

    frame.showNormal();
    frame.resize(1024, 700);
    {
      QVERIFY(frame.SwitchToView(VelmoraView::kOpcData));
      QApplication::processEvents();
      const QByteArray shot = qgetenv("VELMORA_SCREENSHOT");
      if (!shot.isEmpty())
        frame.grab().save(QString::fromLocal8Bit(shot));
    }
    for (int index = 0; index < kViewCount; ++index) {
      const VelmoraView which = static_cast<VelmoraView>(index);
      QVERIFY(frame.SwitchToView(which));
      QApplication::processEvents();
      const QSize minimum = frame.minimumSizeHint().expandedTo(frame.minimumSize());
      QVERIFY2(minimum.width() <= 1024 && minimum.height() <= 700,
               qPrintable(QString("view %1 needs %2 x %3")
                              .arg(frame.View(which)->Title())
                              .arg(minimum.width())
                              .arg(minimum.height())));
      QCOMPARE(frame.size(), QSize(1024, 700));
    }
    QVERIFY(frame.SwitchToView(VelmoraView::kOpcData));
    QApplication::processEvents();
    QVERIFY2(VisibleRows(view->HistoryTable()) >= 5,
             qPrintable(QString::number(VisibleRows(view->HistoryTable()))));
    QVERIFY2(VisibleRows(view->RealTimeTable()) >= 3,
             qPrintable(QString::number(VisibleRows(view->RealTimeTable()))));
    const QByteArray shot = qgetenv("VELMORA_SCREENSHOT");
    if (!shot.isEmpty())
      frame.grab().save(QString::fromLocal8Bit(shot));
    prompt.reportAnswers.push_back(1);  // confirm the stop
    frame.Command(CommandId::kStopAcquisition)->trigger();
    frame.close();  // the loaded project is unchanged: nothing more to ask
    QCOMPARE(prompt.reports.size(), size_t(1));
    QCOMPARE(prompt.reports[0].title, std::string("Confirmation Request"));
    rig.session->Detach();
    CSimRuntime::Instance().Reset();
  }

  void atTheSmallestWindowEveryViewShowsFiveRowsAndReachesItsControls() {
    ForgetWindowLayout();
    DemoSessionRig rig(m_dir.path() + "/Small.sq3");
    // A screen on which the first start gives a 1024 x 700 window with its default panes.
    rig.availableGeometry = Screen(1024 + 8, 700 + 36 + 4);
    QVERIFY(rig.Start());
    QVERIFY(rig.ImportDemoProject());
    CMainFrame& frame = rig.Frame();
    frame.DataView()->ResetView();
    frame.UpdateCommandStates();
    frame.Command(CommandId::kStartAcquisition)->trigger();
    for (int tick = 0; tick < 8; ++tick) {
      QTest::qWait(5);
      frame.DataView()->OnBaseTick();
    }
    rig.prompt.reportAnswers.push_back(1);  // confirm the stop
    frame.Command(CommandId::kStopAcquisition)->trigger();
    frame.ChooseEntry(NavigationEntry::kVelmoraProjects);
    QTableView* catalogue = frame.DatabaseView()->Catalogue();
    QVERIFY(catalogue->model()->rowCount() >= 1);
    QTest::mouseClick(catalogue->viewport(), Qt::LeftButton, Qt::NoModifier,
                      catalogue->visualRect(catalogue->model()->index(0, 0)).center());
    QApplication::processEvents();
    QCOMPARE(frame.size(), QSize(1024, 700));
    QVERIFY(frame.OutputWnd()->isVisible());

    const NavigationEntry entries[] = {
        NavigationEntry::kOpcExplorerSetup,        NavigationEntry::kDataAcquisition,
        NavigationEntry::kOpcDataVisualization,    NavigationEntry::kVelmoraProjects,
        NavigationEntry::kProjectOpcData,          NavigationEntry::kExportProjectData,
        NavigationEntry::kProjectDataVisualization};
    QStringList faults;
    for (const NavigationEntry entry : entries) {
      frame.ChooseEntry(entry);
      QTest::qWait(50);
      QApplication::processEvents();
      CVelmoraView* view = frame.ActiveView();
      QCOMPARE(frame.size(), QSize(1024, 700));
      const QString title = view->Title();
      const QByteArray shots = qgetenv("VELMORA_SCREENSHOT_DIR");
      if (!shots.isEmpty())
        frame.grab().save(QString("%1/small-%2.png")
                              .arg(QString::fromLocal8Bit(shots))
                              .arg(static_cast<int>(entry)));
      for (const QAbstractItemView* list : view->findChildren<QAbstractItemView*>()) {
        // The tables and trees; a message list may stay a few lines high.
        if (!list->isVisibleTo(view) || list->model() == nullptr ||
            (qobject_cast<const QTableView*>(list) == nullptr &&
             qobject_cast<const QTreeView*>(list) == nullptr))
          continue;
        const int rows = SeenRows(list, view);
        // The real-time list shows the latest value of each item: a few rows will do.
        const int wanted = list->objectName() == "RealTimeTable" ? 3 : 5;
        if (rows < wanted)
          faults << QString("%1: %2 %3 shows %4 rows")
                        .arg(title, list->metaObject()->className(), list->objectName())
                        .arg(rows);
      }
      for (const QWidget* control : Controls(view)) {
        const QString fault = Unreachable(control, view);
        if (!fault.isEmpty())
          faults << QString("%1: %2 '%3' %4")
                        .arg(title, control->metaObject()->className(),
                             control->objectName() + control->property("text").toString(), fault);
      }
    }
    for (const QString& fault : faults)
      qWarning("%s", qPrintable(fault));
    QVERIFY2(faults.isEmpty(), qPrintable(QString("%1 faults").arg(faults.size())));
    frame.close();
    QCOMPARE(rig.prompt.reports.size(), size_t(1));
    QVERIFY(rig.prompt.messages.empty());
    rig.session->Detach();
    CSimRuntime::Instance().Reset();
  }

  void theWindowLayoutAndTheVisibleViewComeBackAtTheNextStart() {
    ForgetWindowLayout();
    DemoSessionRig first(m_dir.path() + "/Layout.sq3");
    first.availableGeometry = Screen(1280, 800);
    {
      QVERIFY(first.Start());
      CMainFrame& frame = first.Frame();
      frame.showNormal();
      frame.resize(1100, 720);
      QVERIFY(frame.SwitchToView(VelmoraView::kOpcData));
      auto* splitter = frame.DataView()->findChild<QSplitter*>();
      QVERIFY(splitter != nullptr);
      splitter->setSizes({100, 300});
      QApplication::processEvents();
      m_sizes = splitter->sizes();
      frame.close();
    }
    DemoSessionRig second(m_dir.path() + "/Layout.sq3");
    second.availableGeometry = Screen(1280, 800);
    QVERIFY(second.Start());
    CMainFrame& frame = second.Frame();
    QApplication::processEvents();
    QCOMPARE(frame.size(), QSize(1100, 720));
    QCOMPARE(frame.ActiveView(), frame.View(VelmoraView::kOpcData));
    QCOMPARE(frame.DataView()->findChild<QSplitter*>()->sizes(), m_sizes);
  }

  void theRestoredCatalogueListsTheAcquisitionsInItsNavigationGroup() {
    ForgetWindowLayout();
    const QString database = m_dir.path() + "/Catalogue.sq3";
    int listed = 0;
    {
      DemoSessionRig first(database);
      first.availableGeometry = Screen(1280, 800);
      QVERIFY(first.Start());
      QVERIFY(first.ImportDemoProject());
      CMainFrame& frame = first.Frame();
      frame.DataView()->ResetView();
      frame.UpdateCommandStates();
      frame.Command(CommandId::kStartAcquisition)->trigger();
      for (int tick = 0; tick < 3; ++tick) {
        QTest::qWait(5);
        frame.DataView()->OnBaseTick();
      }
      first.prompt.reportAnswers.push_back(1);  // confirm the stop
      frame.Command(CommandId::kStopAcquisition)->trigger();
      // Through the navigation pane, as a user goes there.
      COutlookBar* bar = frame.OutlookBar();
      QTest::mouseClick(bar->GroupButton(NavigationGroup::kProjects), Qt::LeftButton);
      QListWidget* entries = bar->EntryList(NavigationGroup::kProjects);
      emit entries->itemClicked(entries->item(0));
      QCOMPARE(frame.ActiveView(), frame.View(VelmoraView::kPrjDatabase));
      listed = frame.DatabaseView()->Catalogue()->model()->rowCount();
      QVERIFY(listed >= 1);
      frame.close();
      QCOMPARE(first.prompt.reports.size(), size_t(1));
      first.session->Detach();
      CSimRuntime::Instance().Reset();
    }
    DemoSessionRig second(database);
    second.availableGeometry = Screen(1280, 800);
    QVERIFY(second.Start());
    QApplication::processEvents();
    CMainFrame& frame = second.Frame();
    QCOMPARE(frame.ActiveView(), frame.View(VelmoraView::kPrjDatabase));
    QCOMPARE(frame.DatabaseView()->Catalogue()->model()->rowCount(), listed);
    QCOMPARE(frame.OutlookBar()->ExpandedGroup(), NavigationGroup::kProjects);
    // The selected acquisition's items show their data types by name.
    QTableView* catalogue = frame.DatabaseView()->Catalogue();
    QTest::mouseClick(catalogue->viewport(), Qt::LeftButton, Qt::NoModifier,
                      catalogue->visualRect(catalogue->model()->index(0, 0)).center());
    QTableView* items = frame.DatabaseView()->ItemList();
    QVERIFY(items->model()->rowCount() > 0);
    QCOMPARE(items->model()->headerData(5, Qt::Horizontal).toString(), QString("Data Type"));
    const auto* delegate = qobject_cast<QStyledItemDelegate*>(items->itemDelegateForColumn(5));
    QVERIFY(delegate != nullptr);
    QStringList types;
    for (int row = 0; row < items->model()->rowCount(); ++row)
      types << delegate->displayText(items->model()->index(row, 5).data(), QLocale());
    QVERIFY2(types.contains("VT_R8 (Double)"), qPrintable(types.join(" | ")));
    QVERIFY(second.prompt.reports.empty() && second.prompt.messages.empty());
  }

 private:
  QTemporaryDir m_dir;
  QList<int> m_sizes;
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
