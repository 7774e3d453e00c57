// Takes the pictures of the chart view with the program's defaults (every series shown,
// the axes as the program assigns them): the live chart during the demo acquisition, the
// project chart of the recorded acquisition, and the series dialog, in the real program on the
// simulation server. Not a test; build and run it by hand (offscreen) when they change:
//   ninja -C build velmora_chart_screenshots
//   QT_QPA_PLATFORM=offscreen build/tests/velmora_chart_screenshots docs
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <iostream>

#include "../../gui/demo_session.h"
#include "acquisition/gui/opc_data_view.h"
#include "app/gui/main_frame.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/ribbon_bar.h"
#include "base/settings.h"
#include "chart/gui/chart_colour_palette.h"
#include "chart/gui/chart_ctrl.h"
#include "chart/gui/chart_image.h"
#include "chart/gui/chart_image_file_dlg.h"
#include "chart/gui/chart_series_dlg.h"
#include "chart/gui/opc_chart_view.h"

namespace {

bool Save(QWidget& widget, const QString& folder, const char* name) {
  widget.show();
  QApplication::processEvents();
  if (!widget.grab().save(folder + "/" + name)) {
    std::cerr << "Cannot write " << name << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: velmora_chart_screenshots FOLDER\n";
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QTemporaryDir dir;
  SetVelmoraSettingsDirectory(dir.path());
  DemoSessionRig rig(dir.filePath("Velmora.sq3"));
  FakeClock clock;
  rig.clock = &clock;
  // A screen with room for the window at 1280 x 800 and its frame.
  rig.availableGeometry = [] { return QRect(0, 0, 1280 + 8, 800 + 36 + 4); };
  if (!rig.Start() || !rig.ImportDemoProject())
    return 1;
  CMainFrame& frame = rig.Frame();
  frame.resize(1280, 800);
  frame.show();
  frame.UpdateCommandStates();
  frame.Command(CommandId::kStartAcquisition)->trigger();
  auto tick = [&](int seconds) {
    for (int i = 0; i < seconds; ++i) {
      clock.AdvanceMs(1000);
      frame.DataView()->OnBaseTick();
    }
  };
  tick(2);
  frame.ChooseEntry(NavigationEntry::kOpcDataVisualization);
  frame.Ribbon()->setCurrentIndex(frame.Ribbon()->CategoryIndex("OPC Data Chart"));
  COPCChartView* live = frame.ChartView(VelmoraView::kLiveChart);
  live->RealTimeButton()->click();
  tick(420);
  bool saved = Save(frame, folder, "chart-view-live.png");

  frame.Command(CommandId::kStopAcquisition)->trigger();
  COPCChartView* project = frame.ChartView(VelmoraView::kProjectChart);
  project->SetAcquisitionId(rig.session->Engine().AcquisitionId());
  frame.SwitchToView(VelmoraView::kProjectChart);
  QElapsedTimer waited;
  waited.start();
  while (!project->Chart()->isVisible() && waited.elapsed() < 20000)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  saved = Save(frame, folder, "chart-view-project.png") && saved;

  // The legend below the chart, in columns: 26 series in a bounded share of the height.
  project->Model()->Legend().position = 3;
  project->Model()->ApplyLegend();
  project->Model()->Redraw();
  saved = Save(*project->Chart(), folder, "chart-legend-bottom.png") && saved;
  project->Model()->Legend().position = 0;
  project->Model()->ApplyLegend();
  project->Model()->Redraw();

  // The background colour palette and the picture dialog.
  CChartColourPalette palette(QColor(0xBF, 0xDF, 0xFF), nullptr, &frame);
  palette.adjustSize();
  saved = Save(palette, folder, "chart-background-palette.png") && saved;
  palette.hide();
  CChartImageFileDlg picture(ChartImageTypes(), "/home/user/Pictures", "png", rig.app->Context(),
                             &frame);
  picture.NameField()->setText("trend");
  saved = Save(picture, folder, "chart-image-dialog.png") && saved;
  picture.hide();

  CChartSeriesDlg dialog(*project->Model(), 2, &frame);
  dialog.List()->setCurrentItem(dialog.List()->topLevelItem(1));
  saved = Save(dialog, folder, "chart-series-dialog.png") && saved;
  rig.session->Detach();
  return saved ? 0 : 1;
}
