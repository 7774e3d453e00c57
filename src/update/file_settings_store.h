#pragma once
// CFileSettingsStore: integer and string settings kept in one "name=kind:value" text file
// under a folder, for the command-line tool's --settings-dir.
#include <cstddef>
#include <map>
#include <string>

#include "base/settings_store.h"

// A settings file holds a few dozen short lines; a larger one is not ours and is refused.
inline constexpr size_t kMaxSettingsFileBytes = 1024 * 1024;

using SettingsValues = std::map<std::string, std::string>;  // "i:" or "s:" prefixed

// The values of a settings file's text: "name=value" lines, the first '=' splits; lines
// without one are skipped, a later line wins.
SettingsValues ParseSettingsText(const std::string& text);
// The text ParseSettingsText reads back as values. Names hold no '=' or line feed and
// values no line feed (the store refuses them).
std::string FormatSettingsText(const SettingsValues& values);

class CFileSettingsStore : public ISettingsStore {
 public:
  explicit CFileSettingsStore(std::string folder);
  int CreateBranch() override;
  int ReadInt(const std::string& name, int32_t& destination) override;
  int ReadString(const std::string& name, std::string& destination) override;
  int WriteInt(const std::string& name, int32_t value) override;
  int WriteString(const std::string& name, const std::string& value, bool expandable) override;

  // Why the file could not be read (empty when it was, or does not exist yet). A store
  // whose file could not be read writes nothing, so the file is never replaced by a part.
  const std::string& LoadError() const { return m_sLoadError; }

 private:
  void Load();
  int Save() const;

  std::string m_sFile;
  std::string m_sLoadError;
  SettingsValues m_values;
};
