#pragma once
// The backup settings of the acquisition view and their rules: the frequency and type
// choices, the separators, the names of automatic backup files and the folder + name
// join. Core only: the dialogs show these tables and call these rules.
// Thread rule: pure functions and a plain struct, any thread.
#include <string>
#include <string_view>

#include "base/clock.h"

class ISettingsStore;

inline constexpr int kFullBackup = 0;
inline constexpr int kIncrementalBackup = 1;

struct BackupFrequencyChoice {
  const char* entry;
  int minutes;
};
inline constexpr BackupFrequencyChoice kBackupFrequencies[] = {
    {"No Automatic Data Backup Saving", 0},
    {"Every 5 minutes", 5},
    {"Every 10 minutes", 10},
    {"Every 15 minutes", 15},
    {"Every 20 minutes", 20},
    {"Every 30 minutes", 30},
    {"Every 45 minutes", 45},
    {"Every Hour", 60},
    {"Every 2 Hours", 120},
    {"Every 6 Hours", 360},
    {"Every 12 Hours", 720},
    {"Every Day", 1440},
};
inline constexpr int kBackupFrequencyCount =
    static_cast<int>(sizeof(kBackupFrequencies) / sizeof(kBackupFrequencies[0]));
// A frequency outside the table opens the settings dialog on "Every Hour".
inline constexpr int kUnknownFrequencyIndex = 7;

// Minutes of a choice; no selection (or one outside the list) is no automatic backup.
int BackupFrequencyMinutes(int index);
// The choice shown for a frequency.
int BackupFrequencyIndex(int minutes);

// "Full Backup" (0) or "Incremental Backup" (1); the type choices in that order.
const char* BackupTypeText(int type);

// The separator buttons: "Comma (,)", "SemiColon (;)", "Tab Separator".
struct BackupSeparatorChoice {
  const char* button;
  char separator;
};
inline constexpr BackupSeparatorChoice kBackupSeparators[] = {
    {"Comma (,)", ','},
    {"SemiColon (;)", ';'},
    {"Tab Separator", '\t'},
};
inline constexpr char kDefaultBackupSeparator = ';';

// The settings held by the acquisition view.
struct BackupSettings {
  std::string path;      // folder of the backup files
  std::string nameRoot;  // first part of automatic backup names
  char separator = kDefaultBackupSeparator;
  int frequency = 0;  // minutes; 0: no automatic backup
  int type = kIncrementalBackup;
};
// The defaults: path from SaveOPCDataPath, type from BackupType.
BackupSettings ReadBackupSettings(ISettingsStore& store);

// "_%d_%b_%Y_%H_%M_%S" with English month abbreviations: "_07_Dec_2026_09_05_07".
std::string BackupTimeSuffix(const LocalTime& time);
// "Complete AutoSave Name Sample: ": "%s%s.csv" of the root ("RootName" when empty).
std::string AutoSaveNameSample(std::string_view root, const LocalTime& time);
// An automatic backup's file name: root + time suffix + ".csv".
std::string AutomaticBackupFileName(std::string_view root, const LocalTime& time);
// The settings dialog's OK: ".csv" appended to a root that does not contain it.
std::string AcceptedNameRoot(std::string_view root);
// The root of automatic names: its file name without folder and extension.
std::string ReducedNameRoot(std::string_view root);
// folder + name with exactly one separator between them ('/' or '\' ending the folder
// is kept; otherwise the platform's separator is added).
std::string BackupFullPath(std::string_view folder, std::string_view fileName);
// The folder (drive and directory) of a file path, without its last separator.
std::string FolderOfFile(std::string_view filePath);
