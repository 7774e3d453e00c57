#pragma once
// Start-up's search for Velmora.sq3: the path given on the command line, else the stored
// DataPath, else the user's choice in a file dialog (an existing file or a new one, first
// proposed in the user's data folder). The path is checked (created or upgraded) by the
// database check and written back to DataPath on every start.
#include <functional>
#include <optional>
#include <string>

#include "base/database_files.h"  // DatabaseLocation
#include "base/settings_store.h"
#include "base/user_prompt.h"

inline constexpr char kNoDatabasePath[] = "None";
inline constexpr char kDatabaseDefaultExtension[] = ".sq3";
inline constexpr char kDatabaseFileFilter[] = "SQLite Files (.sq3)|*.sq3";
inline constexpr char kDatabasePathErrorTitle[] = "Velmora Database Path Error";
inline constexpr char kDatabaseFileName[] = "Velmora.sq3";

// The value of an environment variable, empty when it is not set.
using EnvironmentLookup = std::function<std::string(const char* name)>;

// Where a first start proposes Velmora.sq3: a Velmora folder in the user's data folder
// ($XDG_DATA_HOME or ~/.local/share; %LOCALAPPDATA% on Windows; ~/Library/Application
// Support on macOS). Only the file name when the environment names no such folder.
std::string DefaultDatabasePath(const EnvironmentLookup& environment);
// The same from the process environment.
std::string DefaultDatabasePath();

// Checks, creates or upgrades the database; its result does not stop start-up.
using DatabaseCheck = std::function<bool(const std::string& path)>;

// Nothing when the user gave no path: the path error report has been shown and the
// program must close. commandLinePath, when not empty, replaces the stored path. The
// folder of a new file chosen in the dialog is created before the check.
std::optional<DatabaseLocation> LocateDatabase(ISettingsStore& settings, IUserPrompt& prompt,
                                               const std::string& commandLinePath,
                                               const DatabaseCheck& check);
