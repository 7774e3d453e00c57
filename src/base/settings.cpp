#include "base/settings.h"

namespace settings {

int32_t Read(ISettingsStore& store, const IntSetting& setting) {
  int32_t value = setting.defaultValue;
  store.ReadInt(setting.name, value);  // a failed read leaves the default in place
  return value;
}

std::string Read(ISettingsStore& store, const StringSetting& setting) {
  std::string value = setting.defaultValue;
  store.ReadString(setting.name, value);
  return value;
}

void Write(ISettingsStore& store, const IntSetting& setting, int32_t value) {
  (void)store.WriteInt(setting.name, value);
}

void Write(ISettingsStore& store, const StringSetting& setting, const std::string& value,
           bool expandable) {
  (void)store.WriteString(setting.name, value, expandable);
}

}  // namespace settings
