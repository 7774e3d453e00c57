#pragma once
// The open database and the files SQLite and the recorder keep next to it. No file the
// program writes (an export, a backup, a picture) may land on one of them: writing over
// the database would destroy every acquisition and project it holds.
// Thread rule: any thread (no shared state).
#include <string>

// The database path with the drive and directory other features build file names from
// (the directory keeps its trailing separator; the drive is empty where there are none).
struct DatabaseLocation {
  std::string path;
  std::string drive;
  std::string directory;
};

DatabaseLocation SplitDatabasePath(const std::string& path);

// The side files of a database: its rollback journal, write-ahead log, shared memory
// index and the recorder's lock file.
inline constexpr const char* kDatabaseSideSuffixes[] = {"-journal", "-wal", "-shm", ".lock"};

// The cause given when a target is refused for that reason.
inline constexpr char kDatabaseTargetCause[] =
    "File is the Open Velmora Database or One of its Files";

// True when path names the database file or one of its side files: the same file (device
// and inode, or the volume and file index on Windows) or the same canonical path, so a
// link, a relative path or "dir/../" does not get past the check. An empty database path
// matches nothing.
bool IsDatabaseFile(const std::string& path, const std::string& databasePath);
