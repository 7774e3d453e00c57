#pragma once
// The sign, visible to every program, that an acquisition is being recorded: a write
// lock on one byte, at the acquisition's id, of the small file "<database>.lock" beside
// the database. The operating system drops it when its holder ends, however it ends, so
// a recording that died is never taken for a running one. Deleting or repairing an
// acquisition takes the same lock for the time it works, so it can never meet a
// recorder half-way.
// POSIX: open-file-description locks (F_OFD_SETLK), which also keep two holders in one
// process apart; classic fcntl locks where those are missing. A Windows side uses
// LockFileEx on the same byte.
// Thread rule: one owner thread per object.
#include <cstdint>
#include <string>

// The lock file of a database.
std::string RecordingLockPath(const std::string& databasePath);

enum class RecordingLockState {
  kFree,      // nobody records that acquisition
  kRecorded,  // another holder has it
  kUnknown,   // the lock file cannot be tested (cause kept by the caller's object)
};

class CRecordingLock {
 public:
  CRecordingLock() = default;
  ~CRecordingLock() { Release(); }
  CRecordingLock(const CRecordingLock&) = delete;
  CRecordingLock& operator=(const CRecordingLock&) = delete;

  // Takes the lock of acquisitionId for databasePath, without waiting. False when
  // another holder has it (Busy() then true) or the lock file cannot be used (Cause()).
  bool Acquire(const std::string& databasePath, int acquisitionId);
  void Release();
  bool Held() const { return m_nFd != -1; }
  int AcquisitionId() const { return m_nId; }
  bool Busy() const { return m_bBusy; }
  const std::string& Cause() const { return m_sCause; }

 private:
  intptr_t m_nFd = -1;  // file descriptor (Windows: file handle)
  int m_nId = -1;
  bool m_bBusy = false;
  std::string m_sCause;
};

// Tests, without taking it, whether some holder (this process included) records the
// acquisition. Several ids are best tested through one CRecordingLockProbe.
class CRecordingLockProbe {
 public:
  explicit CRecordingLockProbe(const std::string& databasePath);
  ~CRecordingLockProbe();
  CRecordingLockProbe(const CRecordingLockProbe&) = delete;
  CRecordingLockProbe& operator=(const CRecordingLockProbe&) = delete;

  RecordingLockState State(int acquisitionId) const;
  const std::string& Cause() const { return m_sCause; }

 private:
  intptr_t m_nFd = -1;
  bool m_bNoFile = false;  // no lock file: nothing was ever recorded with locks
  std::string m_sCause;
};
