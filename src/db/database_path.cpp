#include "db/database_path.h"

DatabasePathParts SplitDatabasePath(const std::string& path) {
  DatabasePathParts parts;
  size_t rest = 0;
  if (!path.empty() && path.front() == '/') {
    parts.drive = "/";
    rest = 1;
  }
  const size_t lastSeparator = path.find_last_of('/');
  std::string name;
  if (lastSeparator == std::string::npos || lastSeparator < rest) {
    name = path.substr(rest);
  } else {
    parts.directory = path.substr(rest, lastSeparator + 1 - rest);
    name = path.substr(lastSeparator + 1);
  }
  // The extension starts at the last dot of the name; a name that is only a dot-file
  // ("." first, no other dot) has none.
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot != 0) {
    parts.fileName = name.substr(0, dot);
    parts.extension = name.substr(dot);
  } else {
    parts.fileName = name;
  }
  return parts;
}
