#pragma once
// The parts of the database path: other files are placed next to the database from its
// drive and directory, and the creation-error report names drive and file.
//
// On this platform a path has no drive letter: the drive is the path's root ("/" for an
// absolute path, "" for a relative one) and the directory follows it, so that
// drive + directory + file name + extension always give the path back.
#include <string>

struct DatabasePathParts {
  std::string drive;      // "/" or ""
  std::string directory;  // "home/user/data/" (ends with the separator, or is empty)
  std::string fileName;   // "Velmora"
  std::string extension;  // ".sq3" (with its dot, or empty)
};

DatabasePathParts SplitDatabasePath(const std::string& path);
