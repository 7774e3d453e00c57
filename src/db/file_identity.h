#pragma once
// The identity of a file on its volume: what tells "the same file" from "another file at
// the same path" (a restored copy, a file renamed over it). POSIX: device and inode; a
// Windows side gives the volume serial number and the file index here instead.
#include <cstdint>
#include <string>

struct FileIdentity {
  uint64_t volume = 0;  // st_dev (Windows: volume serial number)
  uint64_t index = 0;   // st_ino (Windows: file index)
  bool known = false;

  bool SameFileAs(const FileIdentity& other) const {
    return known && other.known && volume == other.volume && index == other.index;
  }
};

// The identity of the file now at path. False (cause set) when there is none or it
// cannot be read.
bool ReadFileIdentity(const std::string& path, FileIdentity& identity, std::string& cause);
