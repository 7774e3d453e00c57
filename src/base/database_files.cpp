#include "base/database_files.h"
#include "base/utf8_path.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The absolute path with links and "." / ".." resolved as far as the file system has them.
fs::path Canonical(const std::string& path) {
  std::error_code error;
  fs::path canonical = fs::weakly_canonical(Utf8Path(path), error);
  if (error)
    canonical = fs::absolute(Utf8Path(path), error).lexically_normal();
  return canonical;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  const bool same = fs::equivalent(Utf8Path(a), Utf8Path(b), error);
  return !error && same;
}

}  // namespace

bool IsDatabaseFile(const std::string& path, const std::string& databasePath) {
  if (path.empty() || databasePath.empty())
    return false;
  const fs::path target = Canonical(path);
  auto matches = [&path, &target](const std::string& candidate) {
    return SameFile(path, candidate) || Canonical(candidate) == target;
  };
  // SQLite keeps the side files next to the file a link names; both places are checked.
  for (const std::string& database : {databasePath, PathUtf8(Canonical(databasePath))}) {
    if (matches(database))
      return true;
    for (const char* suffix : kDatabaseSideSuffixes) {
      if (matches(database + suffix))
        return true;
    }
  }
  return false;
}

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
