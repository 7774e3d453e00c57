#include "app/database_location.h"

#include <cctype>
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
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

}  // namespace

DatabaseLocation SplitDatabasePath(const std::string& path) {
  DatabaseLocation location;
  location.path = path;
  size_t start = 0;
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
    location.drive = path.substr(0, 2);
    start = 2;
  }
  const size_t lastSeparator = path.find_last_of("/\\");
  if (lastSeparator != std::string::npos && lastSeparator >= start)
    location.directory = path.substr(start, lastSeparator + 1 - start);
  return location;
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
      request.mustExist = true;
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
    }
  }
  const DatabaseLocation location = SplitDatabasePath(path);
  if (check)
    (void)check(location.path);  // a failure has been reported by the check itself
  settings::Write(store, settings::kDataPath, location.path, true);
  return location;
}
