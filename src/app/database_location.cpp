#include "app/database_location.h"
#include "base/utf8_path.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/report.h"
#include "base/settings.h"

namespace {

constexpr char kChooseDatabaseTitle[] = "Select the Velmora Database (Velmora.sq3)";
constexpr char kPathErrorHeading[] = "Unable to Get Velmora Database Path";
constexpr char kPathErrorExplanation[] =
    " \\par\\par \\fs18 Without Database, Velmora is unable to work ... End of Job ... ";
constexpr char kPathErrorRequest[] =
    "Please Restart Velmora 2.0 and Provide a Valid Path to Velmora.sq3";

// A path given on the command line may be relative; DataPath keeps full paths.
std::string FullPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(Utf8Path(path), error);
  return error ? path : PathUtf8(full.lexically_normal());
}

// The program's folder in the user's data folder; empty when none is known.
std::filesystem::path UserDataFolder(const EnvironmentLookup& environment) {
  namespace fs = std::filesystem;
  const auto absolute = [&](const char* name) {
    const fs::path value = environment(name);
    return value.is_absolute() ? value : fs::path();  // a relative value is ignored
  };
#if defined(_WIN32)
  fs::path base = absolute("LOCALAPPDATA");
  if (base.empty())
    base = absolute("APPDATA");
#elif defined(__APPLE__)
  fs::path base = absolute("HOME");
  if (!base.empty())
    base /= "Library/Application Support";
#else
  fs::path base = absolute("XDG_DATA_HOME");
  if (base.empty()) {
    base = absolute("HOME");
    if (!base.empty())
      base /= ".local/share";
  }
#endif
  return base.empty() ? base : base / "Velmora";
}

// The folder of a new file must exist before the check can create the file there. A
// folder that cannot be made is left to the check, which reports the path it cannot create.
void MakeFolderOfNewFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::path file = Utf8Path(path);
  if (std::filesystem::exists(file, error) || !file.has_parent_path())
    return;
  std::filesystem::create_directories(file.parent_path(), error);
}

}  // namespace

std::string DefaultDatabasePath(const EnvironmentLookup& environment) {
  const std::filesystem::path folder = UserDataFolder(environment);
  return folder.empty() ? std::string(kDatabaseFileName) : PathUtf8(folder / kDatabaseFileName);
}

std::string DefaultDatabasePath() {
  return DefaultDatabasePath([](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value != nullptr ? value : "");
  });
}

std::optional<DatabaseLocation> LocateDatabase(ISettingsStore& store, IUserPrompt& prompt,
                                               const std::string& commandLinePath,
                                               const DatabaseCheck& check) {
  std::string path;
  if (!commandLinePath.empty()) {
    path = FullPath(commandLinePath);
  } else {
    path = settings::Read(store, settings::kDataPath);
    if (path == kNoDatabasePath || path.empty()) {
      FileRequest request;
      request.title = kChooseDatabaseTitle;
      request.defaultExtension = kDatabaseDefaultExtension;
      request.filter = kDatabaseFileFilter;
      // A first start has no database yet: the user may pick an existing file or name a
      // new one, which the check creates. An existing file is opened, never replaced.
      request.save = true;
      request.mustExist = false;
      request.confirmOverwrite = false;
      request.initialPath = DefaultDatabasePath();
      const std::optional<std::string> chosen = prompt.ChooseFile(request);
      if (!chosen || chosen->empty()) {
        CReportBuilder report;
        report.ErrorHeading(kPathErrorHeading)
            .Raw(kPathErrorExplanation)
            .Closing(kPathErrorRequest);
        prompt.ShowReport(report.Request(kDatabasePathErrorTitle));
        return std::nullopt;
      }
      path = *chosen;
      MakeFolderOfNewFile(path);
    }
  }
  const DatabaseLocation location = SplitDatabasePath(path);
  if (check)
    (void)check(location.path);  // a failure has been reported by the check itself
  settings::Write(store, settings::kDataPath, location.path, true);
  return location;
}
