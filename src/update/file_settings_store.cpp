#include "update/file_settings_store.h"

#include <filesystem>
#include <fstream>

#include "base/bounded_read.h"
#include "base/number_text.h"

namespace {
constexpr int kErrorInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
constexpr int kErrorAccessDenied = 5;       // ERROR_ACCESS_DENIED

bool Storable(const std::string& name, const std::string& value) {
  return !name.empty() && name.find_first_of("=\n") == std::string::npos &&
         value.find('\n') == std::string::npos;
}
}  // namespace

SettingsValues ParseSettingsText(const std::string& text) {
  SettingsValues values;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string::npos && eq > 0)
      values[line.substr(0, eq)] = line.substr(eq + 1);
    start = end + 1;
  }
  return values;
}

std::string FormatSettingsText(const SettingsValues& values) {
  std::string text;
  for (const auto& [name, value] : values)
    text += name + '=' + value + '\n';
  return text;
}

CFileSettingsStore::CFileSettingsStore(std::string folder)
    : m_sFile((std::filesystem::path(folder) / "settings.txt").string()) {
  Load();
}

void CFileSettingsStore::Load() {
  std::string text;
  const SBoundedRead read = ReadFileBounded(m_sFile, kMaxSettingsFileBytes, text);
  if (read.eResult == BoundedRead::kMissing)
    return;
  if (!read.Ok()) {
    if (read.eResult == BoundedRead::kTooLarge)
      m_sLoadError = "the settings file " + m_sFile + " is larger than " +
                     std::to_string(kMaxSettingsFileBytes) + " bytes: not a settings file";
    else
      m_sLoadError = "the settings file could not be read: " + read.sError;
    return;
  }
  m_values = ParseSettingsText(text);
}

int CFileSettingsStore::Save() const {
  if (!m_sLoadError.empty())
    return kErrorAccessDenied;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(m_sFile).parent_path(), error);
  std::ofstream out(m_sFile, std::ios::trunc | std::ios::binary);
  out << FormatSettingsText(m_values);
  out.flush();
  return out ? 0 : kErrorAccessDenied;
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
  if (!Storable(name, ""))
    return kErrorInvalidParameter;
  m_values[name] = "i:" + std::to_string(value);
  return Save();
}

int CFileSettingsStore::WriteString(const std::string& name, const std::string& value, bool) {
  if (!Storable(name, value))
    return kErrorInvalidParameter;
  m_values[name] = "s:" + value;
  return Save();
}
