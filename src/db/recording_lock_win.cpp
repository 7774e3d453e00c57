// Windows: LockFileEx on the byte at the acquisition's id; locks belong to the handle, so
// two holders in one process keep apart too, and the system drops them with the process.
#include "db/recording_lock.h"

#ifdef _WIN32
#include <windows.h>

#include "db/win_path.h"

namespace {

bool LockByte(HANDLE file, int acquisitionId) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(acquisitionId);
  return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

void UnlockByte(HANDLE file, int acquisitionId) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(acquisitionId);
  UnlockFileEx(file, 0, 1, 0, &at);
}

HANDLE AsHandle(intptr_t value) {
  return reinterpret_cast<HANDLE>(value);
}

}  // namespace

bool CRecordingLock::Acquire(const std::string& databasePath, int acquisitionId) {
  Release();
  m_bBusy = false;
  m_sCause.clear();
  const std::string path = RecordingLockPath(databasePath);
  const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    m_sCause = "cannot open " + path + ": error " + std::to_string(GetLastError());
    return false;
  }
  if (!LockByte(file, acquisitionId)) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    m_bBusy = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING;
    m_sCause = m_bBusy ? "the acquisition is being recorded by another program"
                       : "cannot lock " + path + ": error " + std::to_string(error);
    return false;
  }
  m_nFd = reinterpret_cast<intptr_t>(file);
  m_nId = acquisitionId;
  return true;
}

void CRecordingLock::Release() {
  if (m_nFd != -1) {
    UnlockByte(AsHandle(m_nFd), m_nId);
    CloseHandle(AsHandle(m_nFd));
    m_nFd = -1;
  }
  m_nId = -1;
}

CRecordingLockProbe::CRecordingLockProbe(const std::string& databasePath) {
  const std::string path = RecordingLockPath(databasePath);
  const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    m_bNoFile = error == ERROR_FILE_NOT_FOUND;
    m_sCause = "cannot open " + path + ": error " + std::to_string(error);
    return;
  }
  m_nFd = reinterpret_cast<intptr_t>(file);
}

CRecordingLockProbe::~CRecordingLockProbe() {
  if (m_nFd != -1)
    CloseHandle(AsHandle(m_nFd));
}

RecordingLockState CRecordingLockProbe::State(int acquisitionId) const {
  if (m_nFd == -1)
    return m_bNoFile ? RecordingLockState::kFree : RecordingLockState::kUnknown;
  // Windows has no lock test: a lock taken and given back at once says it was free.
  if (!LockByte(AsHandle(m_nFd), acquisitionId))
    return GetLastError() == ERROR_LOCK_VIOLATION ? RecordingLockState::kRecorded
                                                  : RecordingLockState::kUnknown;
  UnlockByte(AsHandle(m_nFd), acquisitionId);
  return RecordingLockState::kFree;
}

#endif  // _WIN32
