#pragma once
// The settings store of the desktop program: QSettings in the native format (an INI file
// under $XDG_CONFIG_HOME/Quorix/Velmora.conf on Linux, the registry key on Windows),
// organisation "Quorix", application "Velmora", values in the group "Parameters".
// Thread rule: GUI thread.
#include <QSettings>
#include <memory>

#include "base/settings_store.h"

// The program's QSettings, also used for the framework's own values (ApplicationLook).
std::unique_ptr<QSettings> OpenVelmoraSettings();
// Keeps the settings under dir instead of the user's config folder (--settings-dir).
void SetVelmoraSettingsDirectory(const QString& dir);

class CQtSettingsStore : public ISettingsStore {
 public:
  CQtSettingsStore();
  int CreateBranch() override;
  int ReadInt(const std::string& name, int32_t& destination) override;
  int ReadString(const std::string& name, std::string& destination) override;
  int WriteInt(const std::string& name, int32_t value) override;
  int WriteString(const std::string& name, const std::string& value, bool expandable) override;

  QString FileName() const { return m_pSettings->fileName(); }

 private:
  int Commit();

  std::unique_ptr<QSettings> m_pSettings;
};
