// Takes the pictures of the project explorer: the catalogue with two recorded
// acquisitions, the data view with its coloured cells (interpolated, inactive, bad
// quality) and the export view, in the real program on the simulation server with the
// demo project. Not a test; build and run it by hand (offscreen) when the views change:
//   ninja -C build velmora_explorer_screenshots
//   QT_QPA_PLATFORM=offscreen build/tests/velmora_explorer_screenshots docs
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <iostream>

#include "app/gui/main_frame.h"
#include "app/gui/output_wnd.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/ribbon_bar.h"
#include "demo_session.h"
#include "explorer/gui/loaded_table_model.h"
#include "explorer/gui/prj_data_view.h"
#include "explorer/gui/prj_database_view.h"
#include "explorer/gui/prj_export_view.h"
#include "explorer/project_data.h"
#include "sim_group.h"

namespace {

bool Save(CMainFrame& frame, const QString& folder, const char* name) {
  QApplication::processEvents();
  if (!frame.grab().save(folder + "/" + name)) {
    std::cerr << "Cannot write " << name << "\n";
    return false;
  }
  return true;
}

// One acquisition of the given simulated seconds.
void Acquire(CVelmoraSession& session, FakeClock& clock, int seconds) {
  CAcquisitionEngine& engine = session.Engine();
  engine.StartCommand();
  for (int second = 0; second < seconds; ++second) {
    clock.AdvanceMs(1000);
    static_cast<void>(engine.Tick());  // the demo server: nothing to report
  }
  engine.Stop(false);
}

void WaitFor(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 10000)
    QTest::qWait(20);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: velmora_explorer_screenshots FOLDER\n";
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QTemporaryDir dir;
  SetVelmoraSettingsDirectory(dir.path());
  FakeClock clock(LocalTime{2026, 12, 7, 9, 30, 0, 0, 1});
  DemoSessionRig rig(dir.filePath("Velmora.sq3"));
  rig.clock = &clock;
  if (!rig.Start() || !rig.ImportDemoProject())
    return 1;
  // A group whose values show the bad-quality colour and texts with separators.
  AddSimGroup(rig.session->Server(), "Checks", 1000,
              {"Quality.BadSensorFailure", "Quality.Uncertain", "Text.Semicolon", "Text.Comma"});
  Acquire(*rig.session, clock, 40);
  clock.AdvanceMs(3600 * 1000);
  Acquire(*rig.session, clock, 25);

  CMainFrame& frame = rig.Frame();
  frame.resize(1280, 800);
  frame.ChooseEntry(NavigationEntry::kVelmoraProjects);
  frame.Ribbon()->setCurrentIndex(frame.Ribbon()->CategoryIndex("Projects"));
  bool saved = Save(frame, folder, "explorer-catalogue.png");

  frame.ChooseEntry(NavigationEntry::kProjectOpcData);
  auto* data = qobject_cast<CPrjDataView*>(frame.View(VelmoraView::kPrjData));
  WaitFor([data] { return data->LoadCount() > 0 && !data->IsLoading(); });
  WaitFor([data] { return data->ProgressWindow() == nullptr; });
  // The check group's columns next to the time, so every colour is on the picture.
  QHeaderView* header = data->DataTable()->horizontalHeader();
  const int columns = data->Model()->columnCount();
  for (int i = 0; i < 4; ++i)
    header->moveSection(header->visualIndex(columns - 4 + i), 1 + i);
  // Then the first interpolated and the first inactive column of the second row.
  const CRecordingPages& table = data->Data()->Recording();
  int next = 5;
  for (uint8_t mark : {uint8_t{kStatusInterpolated}, uint8_t{kStatusInactive}}) {
    for (int column = 1; column < columns - 4; ++column) {
      if (table.Status(1, column) == mark) {
        header->moveSection(header->visualIndex(column), next++);
        break;
      }
    }
  }
  saved = Save(frame, folder, "explorer-data.png") && saved;

  frame.ChooseEntry(NavigationEntry::kExportProjectData);
  auto* exporter = qobject_cast<CPrjExportView*>(frame.View(VelmoraView::kPrjExport));
  WaitFor([exporter] { return exporter->PreviewedAcquisitionId() != -1; });
  exporter->AlignedBox()->setChecked(true);
  saved = Save(frame, folder, "explorer-export.png") && saved;
  rig.session->Detach();
  return saved ? 0 : 1;
}
