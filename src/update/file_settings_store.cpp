#include "update/file_settings_store.h"

#include <filesystem>
#include <fstream>

#include "base/number_text.h"

CFileSettingsStore::CFileSettingsStore(std::string folder)
    : m_sFile((std::filesystem::path(folder) / "settings.txt").string()) {
  Load();
}

void CFileSettingsStore::Load() {
  std::ifstream in(m_sFile);
  std::string line;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos)
      m_values[line.substr(0, eq)] = line.substr(eq + 1);
  }
}

int CFileSettingsStore::Save() const {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(m_sFile).parent_path(), error);
  std::ofstream out(m_sFile, std::ios::trunc);
  for (const auto& [name, value] : m_values)
    out << name << '=' << value << '\n';
  out.flush();
  return out ? 0 : 5;  // ERROR_ACCESS_DENIED
}

int CFileSettingsStore::CreateBranch() {
  return Save();
}

int CFileSettingsStore::ReadInt(const std::string& name, int32_t& destination) {
  const auto it = m_values.find(name);
  if (it == m_values.end() || it->second.rfind("i:", 0) != 0)
    return kSettingNotFound;
  const auto value = ParseInt64(std::string_view(it->second).substr(2));
  if (!value)
    return kSettingNotFound;
  destination = static_cast<int32_t>(*value);
  return 0;
}

int CFileSettingsStore::ReadString(const std::string& name, std::string& destination) {
  const auto it = m_values.find(name);
  if (it == m_values.end() || it->second.rfind("s:", 0) != 0)
    return kSettingNotFound;
  destination = it->second.substr(2);
  return 0;
}

int CFileSettingsStore::WriteInt(const std::string& name, int32_t value) {
  m_values[name] = "i:" + std::to_string(value);
  return Save();
}

int CFileSettingsStore::WriteString(const std::string& name, const std::string& value, bool) {
  m_values[name] = "s:" + value;
  return Save();
}
