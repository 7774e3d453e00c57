#pragma once
// Reads a whole file that comes from outside (a configuration, a settings file), never
// holding more than a limit: the size a file claims is not trusted (a device such as
// /dev/zero claims 0 and never ends), the bytes are counted as they arrive.
#include <cstddef>
#include <string>

enum class BoundedRead { kOk, kMissing, kCannotRead, kTooLarge };

struct SBoundedRead {
  BoundedRead eResult = BoundedRead::kCannotRead;
  std::string sError;  // "cannot open PATH: reason", "PATH is larger than N bytes", ...
  bool Ok() const { return eResult == BoundedRead::kOk; }
};

// Reads at most maxBytes + 1 bytes of path into text (empty unless Ok). Missing: the file
// does not exist.
SBoundedRead ReadFileBounded(const std::string& path, size_t maxBytes, std::string& text);
