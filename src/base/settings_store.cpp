#include "base/settings_store.h"

// Error code of a write to a store that refuses it (ERROR_ACCESS_DENIED).
static constexpr int kSettingAccessDenied = 5;

int InMemorySettingsStore::ReadInt(const std::string& name, int32_t& destination) {
  auto it = m_ints.find(name);
  if (it == m_ints.end())
    return kSettingNotFound;
  destination = it->second;
  return 0;
}

int InMemorySettingsStore::ReadString(const std::string& name, std::string& destination) {
  auto it = m_strings.find(name);
  if (it == m_strings.end())
    return kSettingNotFound;
  destination = it->second;
  return 0;
}

int InMemorySettingsStore::WriteInt(const std::string& name, int32_t value) {
  if (m_bWritesFail)
    return kSettingAccessDenied;
  m_ints[name] = value;
  return 0;
}

int InMemorySettingsStore::WriteString(const std::string& name, const std::string& value,
                                       bool /*expandable*/) {
  if (m_bWritesFail)
    return kSettingAccessDenied;
  m_strings[name] = value;
  return 0;
}
