// Takes the README's picture of the main window: the real start-up on a fresh database
// in a temporary folder, then QWidget::grab of the frame. Not a test; build and run it by
// hand (offscreen) when the window's look changes:
//   ninja -C build velmora_readme_screenshot
//   QT_QPA_PLATFORM=offscreen build/tests/velmora_readme_screenshot docs/main-window.png
#include <QApplication>
#include <QTemporaryDir>
#include <iostream>

#include "app/gui/main_frame.h"
#include "app/gui/ribbon_bar.h"
#include "app/gui/velmora_app.h"
#include "db/database_check.h"
#include "db/sqlite_db.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: velmora_readme_screenshot OUTPUT.png\n";
    return 2;
  }
  QTemporaryDir dir;
  CommandLineOptions options;
  options.settingsDir = dir.path().toStdString();
  options.databasePath = dir.filePath("Velmora.sq3").toStdString();
  CVelmoraApp app(options);
  app.SetQuickStart(true);
  CSQLite database(app.Context());
  app.SetDatabaseCheck(
      [&database](const std::string& path) { return CheckVelmoraDatabase(database, path); });
  if (!app.InitInstance())
    return 1;
  // What the output pane shows when the program is started again on the same file.
  CheckVelmoraDatabase(database, options.databasePath);
  CMainFrame* frame = app.MainFrame();
  frame->resize(1280, 800);
  frame->Ribbon()->setCurrentIndex(frame->Ribbon()->CategoryIndex("OPC Server"));
  QApplication::processEvents();
  if (!frame->grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::cerr << "Cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
