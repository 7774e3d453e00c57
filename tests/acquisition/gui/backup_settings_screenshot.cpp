// Takes the picture of the backup settings dialog ("Auto Backup Settings"). Not a test;
// build and run it by hand (offscreen) when the dialog changes:
//   ninja -C build velmora_backup_settings_screenshot
//   QT_QPA_PLATFORM=offscreen build/tests/velmora_backup_settings_screenshot docs
#include <QApplication>
#include <iostream>

#include "acquisition/gui/backup_settings_dlg.h"
#include "test_context.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: velmora_backup_settings_screenshot FOLDER\n";
    return 2;
  }
  TestContext test;
  test.clock.Set(LocalTime{2026, 12, 7, 9, 5, 7, 0, 1});
  BackupSettings settings;
  settings.path = "/home/engineer/Velmora";
  settings.nameRoot = "Line1";
  settings.frequency = 10;
  settings.type = kIncrementalBackup;
  CBackupSettingsDlg dialog(settings, test.clock, test.prompt);
  dialog.show();
  QApplication::processEvents();
  const QString file = QString::fromLocal8Bit(argv[1]) + "/backup-settings.png";
  if (!dialog.grab().save(file)) {
    std::cerr << "Cannot write " << file.toStdString() << "\n";
    return 1;
  }
  return 0;
}
