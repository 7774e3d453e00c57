#pragma once
// The parts of the database path that the creation-error report names: drive, file name
// and extension. (Start-up keeps drive and directory through app/database_location.h.)
//
// The drive is the drive letter of a path that has one ("C:"). Paths on this platform
// have none, so the report names the root instead: "/" for an absolute path, "" for a
// relative one.
#include <string>

struct DatabaseFileName {
  std::string drive;      // "C:", "/" or ""
  std::string fileName;   // "Velmora"
  std::string extension;  // ".sq3" (with its dot, or empty)
};

DatabaseFileName SplitDatabaseFileName(const std::string& path);
