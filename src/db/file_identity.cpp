#include "db/file_identity.h"

#ifndef _WIN32

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

bool ReadFileIdentity(const std::string& path, FileIdentity& identity, std::string& cause) {
  identity = FileIdentity();
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    cause = std::strerror(errno);
    return false;
  }
  identity.volume = static_cast<uint64_t>(status.st_dev);
  identity.index = static_cast<uint64_t>(status.st_ino);
  identity.known = true;
  return true;
}

#endif  // !_WIN32
