// The chart view in the real application: the live chart follows an acquisition of the
// demo project on the simulation server, the project chart draws the recorded one, and
// the chart commands open their dialogs, save and copy the picture.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "../../gui/demo_session.h"
#include "acquisition/gui/opc_data_view.h"
#include "app/gui/main_frame.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/ribbon_bar.h"
#include "base/database_files.h"
#include "base/settings.h"
#include "chart/gui/chart_axis_dlg.h"
#include "chart/gui/chart_colour_button.h"
#include "chart/gui/chart_colour_palette.h"
#include "chart/gui/chart_ctrl.h"
#include "chart/gui/chart_image_file_dlg.h"
#include "chart/gui/chart_legend_dlg.h"
#include "chart/gui/chart_preview.h"
#include "chart/gui/chart_qt_dates.h"
#include "chart/gui/chart_series_dlg.h"
#include "chart/gui/chart_title_dlg.h"
#include "chart/gui/opc_chart_view.h"

namespace {

// Runs check on the modal dialog of type T once it is open (a menu may come first), then
// closes it (accepted when accept), whatever check found.
template <class T>
void OnDialog(std::function<void(T&)> check, bool accept, int tries = 50) {
  QTimer::singleShot(tries == 50 ? 0 : 20, [check, accept, tries] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr && tries > 0) {
      OnDialog<T>(check, accept, tries - 1);
      return;
    }
    auto close = qScopeGuard([accept] {
      if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        accept ? open->accept() : open->reject();
    });
    QVERIFY(dialog != nullptr);
    check(*dialog);
  });
}

// The ribbon's tab of the chart commands, clicked.
void ClickChartTab(CMainFrame& frame) {
  CRibbonBar* ribbon = frame.Ribbon();
  QTabBar* tabs = ribbon->tabBar();
  const int index = ribbon->CategoryIndex("OPC Data Chart");
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
  QCOMPARE(ribbon->currentIndex(), index);
}

// The visible command bar button that shows text (on one or two lines).
QToolButton* RibbonButton(CMainFrame& frame, const QString& text) {
  for (QToolButton* button : frame.Ribbon()->findChildren<QToolButton*>()) {
    if (button->isVisible() && button->text().replace('\n', ' ').trimmed() == text)
      return button;
  }
  return nullptr;
}

// Clicks the command bar button of text, as a user would.
void ClickRibbon(CMainFrame& frame, const QString& text) {
  QToolButton* button = RibbonButton(frame, text);
  QVERIFY2(button != nullptr, qPrintable(text));
  QVERIFY2(button->isEnabled(), qPrintable(text));
  QTest::mouseClick(button, Qt::LeftButton);
}

// Once the drop-down menu of a command bar button is open, clicks its entry text.
void OnMenuEntry(const QString& text) {
  QTimer::singleShot(0, [text] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    for (QAction* action : menu->actions()) {
      if (action->text() == text) {
        QVERIFY(action->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        return;
      }
    }
    menu->close();
    QFAIL(qPrintable("No menu entry " + text));
  });
}

// Every message box and report the program showed must be one the test expected (a
// piece of its text); anything else fails the test.
void ExpectOnlyPrompts(const ScriptedUserPrompt& prompt, const std::vector<std::string>& expected) {
  for (const ScriptedUserPrompt::Message& message : prompt.messages) {
    bool known = false;
    for (const std::string& text : expected)
      known = known || message.text.find(text) != std::string::npos;
    if (!known)
      QFAIL(("Unexpected message: " + message.text).c_str());
  }
  for (const ReportRequest& report : prompt.reports) {
    bool known = false;
    for (const std::string& text : expected)
      known = known || report.title.find(text) != std::string::npos;
    if (!known)
      QFAIL(("Unexpected report: " + report.title).c_str());
  }
}

}  // namespace

class ChartViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    SetVelmoraSettingsDirectory(m_dir.path());
  }

  void theLiveChartFollowsTheAcquisitionAndTheProjectChartDrawsIt() {
    DemoSessionRig rig(m_dir.path() + "/Live.sq3");
    FakeClock& clock = rig.UseFakeClock();
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    frame.resize(1280, 900);
    frame.show();
    QVERIFY(rig.ImportDemoProject());
    frame.UpdateCommandStates();
    frame.Command(CommandId::kStartAcquisition)->trigger();
    QVERIFY(rig.session->Engine().IsRunning());
    COPCDataView* data = frame.DataView();
    auto tick = [&](int seconds) {
      for (int i = 0; i < seconds; ++i) {
        clock.AdvanceMs(1000);
        data->OnBaseTick();
      }
    };
    tick(1);
    frame.ChooseEntry(NavigationEntry::kOpcDataVisualization);
    COPCChartView* view = frame.ChartView(VelmoraView::kLiveChart);
    QCOMPARE(frame.ActiveView(), view);
    QVERIFY(!view->Chart()->isVisible());  // one row: nothing to draw yet
    tick(5);
    QVERIFY(view->Chart()->isVisible());
    CChartViewModel& model = *view->Model();
    QVERIFY(model.ItemCount() > 0);
    QCOMPARE(view->LastLabel()->text(), QString("Date and Time of Last Data Acquisition: "));
    QVERIFY(view->RealTimeButton()->isVisible());
    const QDateTime last = view->LastField()->dateTime();

    // Real time: every notice redraws while redraws are quick.
    view->RealTimeButton()->click();
    QVERIFY(model.IsRealTime());
    QVERIFY(!view->Button(0)->isVisible());
    QVERIFY(!view->UpdateButton()->isVisible());
    QVERIFY(!view->PageStart()->isEnabled());
    const int before = model.PointCount();
    tick(4);
    QCOMPARE(model.PointCount(), before + 4);
    QCOMPARE(view->LastField()->dateTime(), last.addSecs(4));
    QCOMPARE(view->PointsField()->text(), QString::number(model.PointCount()));

    // A slow redraw (600 ms at a 1000 ms period): the chart follows every third cycle.
    QCOMPARE(rig.session->Engine().Schedule().BasePeriodMs(), 1000u);
    model.SetPaintHook([&] { clock.AdvanceMs(600); });
    tick(1);  // this redraw is the slow one
    tick(1);
    QCOMPARE(model.RefreshDivider(), 3);
    const int slow = model.PointCount();  // the second cycle did not redraw
    tick(1);
    QCOMPARE(model.PointCount(), slow);
    tick(1);
    QCOMPARE(model.PointCount(), slow + 3);
    model.SetPaintHook(nullptr);
    tick(6);
    QCOMPARE(model.RefreshDivider(), 3);  // never back down

    rig.prompt.reportAnswers.push_back(1);  // confirm the stop
    frame.Command(CommandId::kStopAcquisition)->trigger();
    QVERIFY(!rig.session->Engine().IsRunning());
    const int recorded = rig.session->Engine().History().Count();

    // The recorded acquisition in project mode.
    COPCChartView* project = frame.ChartView(VelmoraView::kProjectChart);
    project->SetAcquisitionId(rig.session->Engine().AcquisitionId());
    QVERIFY(frame.SwitchToView(VelmoraView::kProjectChart));
    // Loaded on the explorer's worker, then drawn.
    QTRY_VERIFY_WITH_TIMEOUT(project->Chart()->isVisible(), 10000);
    QCOMPARE(project->LastLabel()->text(), QString("Date and Time of Data Acquisition End: "));
    QVERIFY(!project->RealTimeButton()->isVisible());
    QVERIFY(project->Chart()->isVisible());
    QCOMPARE(project->Model()->PointCount(), recorded);
    QCOMPARE(project->Model()->ItemCount(), model.ItemCount());

    // Paging: past the data refused, back at the start accepted.
    QVERIFY(!project->Model()->Forward(true));
    project->Button(0)->click();
    QCOMPARE(project->PageStart()->dateTime(), project->StartField()->dateTime());

    // Resumed and stopped again: shown again, the project chart draws the rows there are
    // now, not those it loaded before.
    QVERIFY(frame.SwitchToView(VelmoraView::kLiveChart));
    frame.UpdateCommandStates();
    frame.Command(CommandId::kResumeAcquisition)->trigger();
    QVERIFY(rig.session->Engine().IsRunning());
    tick(5);
    rig.prompt.reportAnswers.push_back(1);  // confirm the stop
    frame.Command(CommandId::kStopAcquisition)->trigger();
    const int grown = rig.session->Engine().History().Count();
    QVERIFY(grown > recorded);
    QVERIFY(frame.SwitchToView(VelmoraView::kProjectChart));
    QTRY_COMPARE_WITH_TIMEOUT(project->Model()->PointCount(), grown, 10000);
    // Stopping the acquisition asks first.
    ExpectOnlyPrompts(rig.prompt, {"Confirmation Request"});
    rig.session->Detach();
  }

  void aLiveChartOpenedBeforeStartDrawsTheAcquisition() {
    DemoSessionRig rig(m_dir.path() + "/Before.sq3");
    FakeClock& clock = rig.UseFakeClock();
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    frame.resize(1280, 900);
    frame.show();
    QVERIFY(rig.ImportDemoProject());
    frame.UpdateCommandStates();
    frame.ChooseEntry(NavigationEntry::kOpcDataVisualization);
    COPCChartView* view = frame.ChartView(VelmoraView::kLiveChart);
    QCOMPARE(frame.ActiveView(), view);
    QVERIFY(!view->Chart()->isVisible());
    frame.Command(CommandId::kStartAcquisition)->trigger();
    QVERIFY(rig.session->Engine().IsRunning());
    auto tick = [&](int seconds) {
      for (int i = 0; i < seconds; ++i) {
        clock.AdvanceMs(1000);
        frame.DataView()->OnBaseTick();
      }
    };
    tick(5);
    QVERIFY(view->Chart()->isVisible());
    CChartViewModel& model = *view->Model();
    // Drawn without a paging button: the acquisition's own dates, its rows, its series.
    QVERIFY(model.ItemCount() > 0);
    QVERIFY(model.PointCount() >= 2);
    QVERIFY(view->StartField()->date().year() > 2000);
    QCOMPARE(view->PageStart()->dateTime(), view->StartField()->dateTime());
    const CChartAxis* bottom = view->Chart()->Model().Axis(ChartAxisSlot::kBottom);
    QVERIFY(bottom->Min() > 40000.0);  // not 30/12/1899

    // Paging: the cycles leave a page start the user is typing alone.
    QVERIFY(!model.IsRealTime());
    const QDateTime typed = view->StartField()->dateTime().addSecs(2);
    view->PageStart()->setDateTime(typed);
    tick(3);
    QCOMPARE(view->PageStart()->dateTime(), typed);
    view->UpdateButton()->click();
    QCOMPARE(view->PageStart()->dateTime(), typed);
    QCOMPARE(QDateTimeFromChartDate(model.WindowStart()), typed);
    // A move writes the new start.
    view->Button(0)->click();
    QCOMPARE(view->PageStart()->dateTime(), view->StartField()->dateTime());
    ExpectOnlyPrompts(rig.prompt, {});
    rig.session->Detach();
  }

  void theChartCommandsOpenTheirDialogsAndExportThePicture() {
    DemoSessionRig rig(m_dir.path() + "/Commands.sq3");
    FakeClock& clock = rig.UseFakeClock();
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    frame.resize(1280, 900);
    frame.show();
    QVERIFY(rig.ImportDemoProject());
    frame.UpdateCommandStates();
    frame.Command(CommandId::kStartAcquisition)->trigger();
    for (int i = 0; i < 20; ++i) {
      clock.AdvanceMs(1000);
      frame.DataView()->OnBaseTick();
    }
    frame.ChooseEntry(NavigationEntry::kOpcDataVisualization);
    COPCChartView* view = frame.ChartView(VelmoraView::kLiveChart);
    CChartViewModel& model = *view->Model();
    ClickChartTab(frame);
    CChartModel& chart = view->Chart()->Model();
    auto serie = [&](int item) { return chart.Serie(model.Item(item).m_nSerieId); };
    QVERIFY(model.ItemCount() >= 2);

    // Series dialog: Dash for the first row reaches the chart after OK.
    OnDialog<CChartSeriesDlg>(
        [&](CChartSeriesDlg& dialog) {
          QCOMPARE(dialog.SeriesCount()->text(), QString::number(model.ItemCount()));
          dialog.List()->setCurrentItem(dialog.List()->topLevelItem(0));
          dialog.StyleList()->setCurrentText("Dash");
          dialog.UpdateSelectedRow();
          QCOMPARE(dialog.List()->topLevelItem(0)->text(CChartSeriesDlg::kStyle), QString("Dash"));
        },
        true);
    ClickRibbon(frame, "Chart Series Selection");
    QCOMPARE(serie(0)->Style(), ChartLineStyle::kDash);
    QCOMPARE(model.Item(0).m_nLineStyle, 1);

    // Cancel changes nothing; no row checked leaves an empty chart.
    OnDialog<CChartSeriesDlg>([](CChartSeriesDlg& dialog) { dialog.CheckAll(false); }, false);
    ClickRibbon(frame, "Chart Series Selection");
    QVERIFY(serie(0)->IsVisible());
    OnDialog<CChartSeriesDlg>(
        [](CChartSeriesDlg& dialog) {
          dialog.CheckAll(false);
          QCOMPARE(dialog.SelectedCount()->text(), QString("0"));
        },
        true);
    ClickRibbon(frame, "Chart Series Selection");
    for (int i = 0; i < model.ItemCount(); ++i)
      QVERIFY(!serie(i)->IsVisible());
    OnDialog<CChartSeriesDlg>([](CChartSeriesDlg& dialog) { dialog.CheckAll(true); }, true);
    ClickRibbon(frame, "Chart Series Selection");
    QVERIFY(serie(1)->IsVisible());

    // Axis range: a minimum above the maximum is taken as entered; the axis is manual.
    OnDialog<CChartAxisRangeDlg>(
        [](CChartAxisRangeDlg& dialog) {
          dialog.MinField()->setText("80.5");
          dialog.MaxField()->setText("20");
        },
        true);
    OnMenuEntry("Set Axis Range");
    ClickRibbon(frame, "Left Axis");
    QCOMPARE(model.AxisRange(kChartLeftAxis).min, 80.5);
    QCOMPARE(model.AxisRange(kChartLeftAxis).max, 20.0);
    frame.UpdateCommandStates();
    QVERIFY(frame.Command(CommandId::kLeftAxisManual)->isChecked());
    OnMenuEntry("Automatic Range");
    ClickRibbon(frame, "Left Axis");
    QVERIFY(!model.AxisRange(kChartLeftAxis).manual);

    // Axis attributes: the fields follow the range type.
    OnDialog<CChartAxisDlg>(
        [](CChartAxisDlg& dialog) {
          QVERIFY(!dialog.MinField(1)->isEnabled());
          dialog.TypeList(1)->setCurrentIndex(1);
          QVERIFY(dialog.MinField(1)->isEnabled());
          dialog.MinField(1)->setText("-5");
          dialog.MaxField(1)->setText("5");
          dialog.AutomaticAxis()->setChecked(false);
        },
        true);
    OnMenuEntry("Axis Attributes...");
    ClickRibbon(frame, "Right Axis");
    QVERIFY(model.AxisRange(kChartRightAxis).manual);
    QCOMPARE(model.AxisRange(kChartRightAxis).min, -5.0);
    QVERIFY(!model.AutomaticAssignment());

    // Legend: "Short Identifier" renames every series and is stored.
    OnDialog<CChartLegendDlg>(
        [](CChartLegendDlg& dialog) {
          dialog.TransparentCheck()->setChecked(true);
          QVERIFY(!dialog.TransparentCheck()->isChecked());  // the shadow is on
          dialog.ShadowCheck()->setChecked(false);
          dialog.TransparentCheck()->setChecked(true);
          QVERIFY(!dialog.ColourButton()->isEnabled());
          dialog.TextList()->setCurrentIndex(1);
        },
        true);
    ClickRibbon(frame, "Chart Legend Options");
    QCOMPARE(serie(0)->Name(), model.Item(0).m_sShortId);
    QCOMPARE(settings::Read(rig.settings, settings::kTagDisplayType), 1);
    QVERIFY(chart.Legend().transparent);
    // The acquisition view's identifier choice renames the series too.
    frame.Command(CommandId::kShowFullyQualifiedId)->trigger();
    QCOMPARE(serie(0)->Name(), model.Item(0).m_sQualifiedId);

    // Title: the lines and the size (times 5 for the chart's font).
    OnDialog<CChartTitleDlg>(
        [](CChartTitleDlg& dialog) {
          dialog.TitleField()->setText("Line 4 Trends");
          dialog.SizeList()->setCurrentText("24");
          QCOMPARE(dialog.Preview()->Model().Title().lines.front(), std::string("Line 4 Trends"));
        },
        true);
    ClickRibbon(frame, "Chart Title Options");
    QCOMPARE(chart.Title().lines.front(), std::string("Line 4 Trends"));
    QCOMPARE(chart.Title().font.tenthsOfPoint, 120);

    // Background colour: a palette drops down from the button; a swatch is stored.
    QTimer::singleShot(0, [] {
      auto* palette = qobject_cast<CChartColourPalette*>(QApplication::activePopupWidget());
      QVERIFY(palette != nullptr);
      QCOMPARE(palette->MoreAction()->text(), QString("More Colors..."));
      QCOMPARE(palette->Swatches().size(), 40);
      QToolButton* blue = palette->findChild<QToolButton*>("#0000ff");
      QVERIFY(blue != nullptr);
      QTest::mouseClick(blue, Qt::LeftButton);
    });
    ClickRibbon(frame, "Background Color");
    QCOMPARE(settings::Read(rig.settings, settings::kChartBkgColor), 0xFF0000);
    QCOMPARE(chart.BackgroundColour(), 0xFF0000u);
    // "More Colors..." asks for any colour.
    QColor asked;
    view->SetColourChooser([&asked](const QColor& current, const QString&) {
      asked = current;
      return QColor(1, 2, 3);
    });
    OnMenuEntry("More Colors...");
    ClickRibbon(frame, "Background Color");
    QCOMPARE(asked, QColor(0, 0, 255));
    QCOMPARE(settings::Read(rig.settings, settings::kChartBkgColor), 0x030201);
    // Closed without a choice: nothing changes.
    QTimer::singleShot(0, [] { QApplication::activePopupWidget()->close(); });
    ClickRibbon(frame, "Background Color");
    QCOMPARE(chart.BackgroundColour(), 0x030201u);

    // The picture: an 803 x 401 window gives 800 x 400.
    view->Chart()->setFixedSize(803, 401);
    QCOMPARE(view->ChartImage().size(), QSize(800, 400));
    const QString folder = m_dir.path();
    // "png" picked in the type list and "trend" typed: trend.png, a PNG.
    QString saveIn = folder;
    auto saveAs = [&](const QString& name, const QString& type) {
      OnDialog<CChartImageFileDlg>(
          [&](CChartImageFileDlg& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("Save Chart to Image File"));
            dialog.PathField()->setText(saveIn);
            QTest::keyClicks(dialog.NameField(), name);
            if (!type.isEmpty()) {
              const QList<QListWidgetItem*> found =
                  dialog.TypeList()->findItems(type, Qt::MatchExactly);
              QCOMPARE(found.size(), 1);
              QListWidget* list = dialog.TypeList();
              list->scrollToItem(found.front());
              QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                list->visualItemRect(found.front()).center());
              QVERIFY(found.front()->isSelected());
            }
          },
          true);
      ClickRibbon(frame, "Save Image to File");
    };
    // The types are the encoders' names, once each, the stored one selected.
    OnDialog<CChartImageFileDlg>(
        [](CChartImageFileDlg& dialog) {
          QListWidget* list = dialog.TypeList();
          QVERIFY(!list->findItems("png", Qt::MatchExactly).isEmpty());
          QVERIFY(!list->findItems("jpeg", Qt::MatchExactly).isEmpty());
          QVERIFY(list->findItems("(", Qt::MatchContains).isEmpty());
          QCOMPARE(list->currentItem()->text(), QString("jpeg"));
          QVERIFY(!dialog.OkButton()->isEnabled());  // no name yet
        },
        false);
    ClickRibbon(frame, "Save Image to File");
    saveAs("trend", "png");
    QImage saved(folder + "/trend.png");
    QCOMPARE(saved.size(), QSize(800, 400));
    QVERIFY(!QFile::exists(folder + "/trend.jpg"));
    QFile png(folder + "/trend.png");
    QVERIFY(png.open(QIODevice::ReadOnly));
    QCOMPARE(png.read(4), QByteArray("\x89PNG"));
    png.close();
    QCOMPARE(settings::Read(rig.settings, settings::kSaveGraphImgExt), std::string("png"));
    QCOMPARE(settings::Read(rig.settings, settings::kSaveGraphImgPath), folder.toStdString());
    // Again: the replace question with the file's size; Cancel keeps the file. The type
    // last used is selected.
    rig.prompt.messageAnswers.push_back(MessageAnswer::kCancel);
    QFile::resize(folder + "/trend.png", 10);
    saveAs("trend", QString());
    QVERIFY(rig.prompt.HasMessageContaining("File trend.png Already Exists !!!\r\nFile Size: 10"));
    QVERIFY(
        rig.prompt.HasMessageContaining("Please Confirm that you want to Replace Existing File"));
    QCOMPARE(QFile(folder + "/trend.png").size(), 10);
    // A name that holds ".jpg" keeps it with jpeg picked.
    saveAs("trend.jpg.old", "jpeg");
    QFile jpeg(folder + "/trend.jpg.old");
    QVERIFY(jpeg.open(QIODevice::ReadOnly));
    QCOMPARE(jpeg.read(2), QByteArray("\xff\xd8"));
    QCOMPARE(settings::Read(rig.settings, settings::kSaveGraphImgExt), std::string("jpeg"));

    // A picture named onto the database (through a link with a picture's name) is refused
    // and reported; the database keeps every byte.
    const QString database = QString::fromStdString(rig.session->Database().Path());
    QFile databaseFile(database);
    QVERIFY(databaseFile.open(QIODevice::ReadOnly));
    const QByteArray before = databaseFile.readAll();
    databaseFile.close();
    QVERIFY(QFile::link(database, folder + "/db.png"));
    rig.prompt.messageAnswers.push_back(MessageAnswer::kOk);  // the refusal
    saveAs("db.png", "png");
    QVERIFY(rig.prompt.HasMessageContaining("Unable to Save Chart Image File " +
                                            (folder + "/db.png").toStdString() +
                                            " ... Cause: " + kDatabaseTargetCause));
    QVERIFY(databaseFile.open(QIODevice::ReadOnly));
    QCOMPARE(databaseFile.readAll(), before);
    databaseFile.close();
    // A file that cannot be written is reported with its cause.
    saveIn = folder + "/missing";
    rig.prompt.messageAnswers.push_back(MessageAnswer::kOk);  // the failed write
    saveAs("trend", "png");
    saveIn = folder;
    QVERIFY(rig.prompt.HasMessageContaining("Unable to Save Chart Image File " +
                                            (folder + "/missing/trend.png").toStdString() +
                                            " ... Cause: File Not Found"));

    ClickRibbon(frame, "Copy to Clipboard");
    QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(800, 400));
    ExpectOnlyPrompts(rig.prompt,
                      {"File trend.png Already Exists !!!", "Unable to Save Chart Image File "});
    rig.session->Detach();
  }

 private:
  QTemporaryDir m_dir;
};

QTEST_MAIN(ChartViewTest)
#include "chart_view_test.moc"
