#pragma once
// Every value of the per-user settings key: name, kind and the default used when the
// value is missing or cannot be read. Reads apply the default; write failures are ignored.
#include <cstdint>
#include <string>

#include "base/settings_store.h"

inline constexpr char kSettingsKeyPath[] = "Software\\Quorix\\Velmora\\Parameters";
inline constexpr char kSettingsOrganisation[] = "Quorix";
inline constexpr char kSettingsApplication[] = "Velmora";
inline constexpr char kSettingsGroup[] = "Parameters";

struct IntSetting {
  const char* name;
  int32_t defaultValue;
};
struct StringSetting {
  const char* name;
  const char* defaultValue;
};

namespace settings {
inline constexpr StringSetting kDataPath{"DataPath", "None"};
inline constexpr IntSetting kTagDisplayType{"TagDisplayType", 0};
inline constexpr IntSetting kDecimalNbr{"DecimalNbr", 2};
inline constexpr IntSetting kStandardColor{"StandardColor", 0};
inline constexpr IntSetting kBadQualityColor{"BadQualityColor", 255};
inline constexpr IntSetting kInterpolatedColor{"InterpolatedColor", 14784596};
inline constexpr IntSetting kInactiveColor{"InactiveColor", 4210752};
inline constexpr IntSetting kBackupType{"BackupType", 1};
inline constexpr IntSetting kBackupFrequency{"BackupFrequency", 0};
inline constexpr StringSetting kSaveOPCDataPath{"SaveOPCDataPath", ""};
inline constexpr IntSetting kOutputPaneVisible{"OutputPaneVisible", 1};
inline constexpr IntSetting kNoFeaturesOutline{"NoFeaturesOutline", 0};
inline constexpr IntSetting kChartTimeSpan{"ChartTimeSpan", 60};
inline constexpr IntSetting kChartBkgColor{"ChartBkgColor", 16767935};
inline constexpr StringSetting kSaveGraphImgPath{"SaveGraphImgPath", ""};
inline constexpr StringSetting kSaveGraphImgExt{"SaveGraphImgExt", "jpeg"};
inline constexpr IntSetting kNoUpdateCheck{"NoUpdateCheck", 0};
inline constexpr IntSetting kCurrentVersion{"CurrentVersion", 20};
inline constexpr IntSetting kLastCheckTime{"LastCheckTime", 0};
// The address of the version file; empty: the program's own.
inline constexpr StringSetting kVersionFileUrl{"VersionFileUrl", ""};
// 1: an acquisition reconnects to a server that went away instead of stopping.
inline constexpr IntSetting kReconnectOnServerLoss{"ReconnectOnServerLoss", 0};
// The PostgreSQL URL every recorded data set is also forwarded to; empty: off.
inline constexpr StringSetting kForwardTo{"ForwardTo", ""};

// Reads a value; the default of the table when it is missing or unreadable.
int32_t Read(ISettingsStore& store, const IntSetting& setting);
std::string Read(ISettingsStore& store, const StringSetting& setting);
// Writes a value; a failure is ignored, as everywhere in the program.
void Write(ISettingsStore& store, const IntSetting& setting, int32_t value);
void Write(ISettingsStore& store, const StringSetting& setting, const std::string& value,
           bool expandable = false);
}  // namespace settings
