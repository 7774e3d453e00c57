#include "db/database_path.h"

#include <cctype>

DatabaseFileName SplitDatabaseFileName(const std::string& path) {
  DatabaseFileName parts;
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
    parts.drive = path.substr(0, 2);
  else if (!path.empty() && path.front() == '/')
    parts.drive = "/";
  const size_t lastSeparator = path.find_last_of("/\\");
  std::string name = lastSeparator == std::string::npos ? path : path.substr(lastSeparator + 1);
  if (lastSeparator == std::string::npos && !parts.drive.empty())
    name = path.substr(parts.drive.size());  // "C:Velmora.sq3"
  // The extension starts at the last dot of the name; a dot-file such as ".velmora" has
  // none.
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot != 0) {
    parts.fileName = name.substr(0, dot);
    parts.extension = name.substr(dot);
  } else {
    parts.fileName = name;
  }
  return parts;
}
