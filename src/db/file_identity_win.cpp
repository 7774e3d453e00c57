// Windows: the volume serial number and the file index of the file at the path.
#include "db/file_identity.h"

#ifdef _WIN32
#include <windows.h>

#include "db/win_path.h"

bool ReadFileIdentity(const std::string& path, FileIdentity& identity, std::string& cause) {
  identity = FileIdentity();
  // No access asked for: reading the attributes needs none, and the file stays free.
  const HANDLE file =
      CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    cause = "error " + std::to_string(GetLastError());
    return false;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  const bool read = GetFileInformationByHandle(file, &information) != 0;
  if (!read)
    cause = "error " + std::to_string(GetLastError());
  CloseHandle(file);
  if (!read)
    return false;
  identity.volume = information.dwVolumeSerialNumber;
  identity.index =
      (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
  identity.known = true;
  return true;
}

#endif  // _WIN32
