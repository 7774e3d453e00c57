#include "acquisition/backup_settings.h"

#include <filesystem>

#include "base/log.h"
#include "base/settings.h"
#include "base/time_text.h"

namespace {

constexpr char kSampleRoot[] = "RootName";
constexpr char kCsvExtension[] = ".csv";

bool IsFolderSeparator(char c) {
  return c == '/' || c == '\\';
}

}  // namespace

int BackupFrequencyMinutes(int index) {
  if (index < 0 || index >= kBackupFrequencyCount)
    return 0;
  return kBackupFrequencies[index].minutes;
}

int BackupFrequencyIndex(int minutes) {
  for (int i = 0; i < kBackupFrequencyCount; ++i) {
    if (kBackupFrequencies[i].minutes == minutes)
      return i;
  }
  return kUnknownFrequencyIndex;
}

const char* BackupTypeText(int type) {
  return type == kIncrementalBackup ? "Incremental Backup" : "Full Backup";
}

BackupSettings ReadBackupSettings(ISettingsStore& store) {
  BackupSettings backup;
  backup.path = settings::Read(store, settings::kSaveOPCDataPath);
  backup.type = settings::Read(store, settings::kBackupType) == kFullBackup ? kFullBackup
                                                                            : kIncrementalBackup;
  return backup;
}

std::string BackupTimeSuffix(const LocalTime& t) {
  // Built by hand: strftime's %b follows the locale, the names must not.
  return Format("_%02d_%s_%d_%02d_%02d_%02d", t.day, MonthAbbreviation(t.month), t.year, t.hour,
                t.minute, t.second);
}

std::string AutoSaveNameSample(std::string_view root, const LocalTime& time) {
  return std::string(root.empty() ? std::string_view(kSampleRoot) : root) + BackupTimeSuffix(time) +
         kCsvExtension;
}

std::string AutomaticBackupFileName(std::string_view root, const LocalTime& time) {
  return std::string(root) + BackupTimeSuffix(time) + kCsvExtension;
}

std::string AcceptedNameRoot(std::string_view root) {
  std::string accepted(root);
  if (accepted.find(kCsvExtension) == std::string::npos)
    accepted += kCsvExtension;
  return accepted;
}

std::string ReducedNameRoot(std::string_view root) {
  size_t start = 0;
  for (size_t i = 0; i < root.size(); ++i) {
    if (IsFolderSeparator(root[i]))
      start = i + 1;
  }
  std::string_view name = root.substr(start);
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0)
    name = name.substr(0, dot);
  return std::string(name);
}

std::string BackupFullPath(std::string_view folder, std::string_view fileName) {
  std::string full(folder);
  if (!full.empty() && !IsFolderSeparator(full.back()))
    full += static_cast<char>(std::filesystem::path::preferred_separator);
  full.append(fileName);
  return full;
}

std::string FolderOfFile(std::string_view filePath) {
  size_t end = std::string_view::npos;
  for (size_t i = 0; i < filePath.size(); ++i) {
    if (IsFolderSeparator(filePath[i]))
      end = i;
  }
  if (end == std::string_view::npos)
    return std::string();
  if (end == 0)
    return std::string(filePath.substr(0, 1));  // the root folder itself
  return std::string(filePath.substr(0, end));
}
