// Takes the picture of the acquisition view riding through a server restart: the demo
// project acquires, its server dies, the view shows "Reconnecting ...". Not a test; build
// and run it by hand (offscreen) when the view's look changes:
//   ninja -C build velmora_reconnect_screenshot
//   QT_QPA_PLATFORM=offscreen build/tests/velmora_reconnect_screenshot docs/reconnecting.png
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <iostream>

#include "acquisition/gui/opc_data_view.h"
#include "app/gui/main_frame.h"
#include "app/gui/output_wnd.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/ribbon_bar.h"
#include "base/settings.h"
#include "demo_session.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: velmora_reconnect_screenshot OUTPUT.png\n";
    return 2;
  }
  QTemporaryDir dir;
  SetVelmoraSettingsDirectory(dir.path());
  DemoSessionRig rig(dir.filePath("Velmora.sq3"));
  settings::Write(rig.settings, settings::kReconnectOnServerLoss, 1);
  if (!rig.Start() || !rig.ImportDemoProject())
    return 1;
  CMainFrame& frame = rig.Frame();
  frame.resize(1280, 800);
  frame.UpdateCommandStates();
  frame.Command(CommandId::kStartAcquisition)->trigger();
  COPCDataView* view = frame.DataView();
  frame.SwitchToView(VelmoraView::kOpcData);
  frame.Ribbon()->setCurrentIndex(frame.Ribbon()->CategoryIndex("Data Acquisition"));
  for (int tick = 0; tick < 6; ++tick) {
    QTest::qWait(20);
    view->OnBaseTick();
  }
  CSimRuntime::Instance().Faults(kSimServerProgId).m_bDead = true;
  for (int tick = 0; tick < 3; ++tick) {
    QTest::qWait(20);
    view->OnBaseTick();
  }
  frame.OutputWnd()->ShowChannel(kLogDataAcquisition);
  QApplication::processEvents();
  const bool saved = frame.grab().save(QString::fromLocal8Bit(argv[1]));
  rig.session->Engine().Stop(false);
  rig.session->Detach();
  if (!saved) {
    std::cerr << "Cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
