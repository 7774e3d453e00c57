#pragma once
// CFileSettingsStore: integer and string settings kept in one "name=kind:value" text file
// under a folder, for the command-line tool's --settings-dir.
#include <map>
#include <string>

#include "base/settings_store.h"

class CFileSettingsStore : public ISettingsStore {
 public:
  explicit CFileSettingsStore(std::string folder);
  int CreateBranch() override;
  int ReadInt(const std::string& name, int32_t& destination) override;
  int ReadString(const std::string& name, std::string& destination) override;
  int WriteInt(const std::string& name, int32_t value) override;
  int WriteString(const std::string& name, const std::string& value, bool expandable) override;

 private:
  void Load();
  int Save() const;

  std::string m_sFile;
  std::map<std::string, std::string> m_values;  // "i:" or "s:" prefixed
};
