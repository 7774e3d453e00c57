#pragma once
// Start-up's search for Velmora.sq3: the path given on the command line, else the stored
// DataPath, else the user's choice in a file dialog. The path is checked (created or
// upgraded) by the database check and written back to DataPath on every start.
#include <functional>
#include <optional>
#include <string>

#include "base/settings_store.h"
#include "base/user_prompt.h"

inline constexpr char kNoDatabasePath[] = "None";
inline constexpr char kDatabaseDefaultExtension[] = ".sq3";
inline constexpr char kDatabaseFileFilter[] = "SQLite Files (.sq3)|*.sq3";
inline constexpr char kDatabasePathErrorTitle[] = "Velmora Database Path Error";

// The database path with the drive and directory other features build file names from
// (the directory keeps its trailing separator; the drive is empty where there are none).
struct DatabaseLocation {
  std::string path;
  std::string drive;
  std::string directory;
};

DatabaseLocation SplitDatabasePath(const std::string& path);

// Checks, creates or upgrades the database; its result does not stop start-up.
using DatabaseCheck = std::function<bool(const std::string& path)>;

// Nothing when the user gave no path: the path error report has been shown and the
// program must close. commandLinePath, when not empty, replaces the stored path.
std::optional<DatabaseLocation> LocateDatabase(ISettingsStore& settings, IUserPrompt& prompt,
                                               const std::string& commandLinePath,
                                               const DatabaseCheck& check);
