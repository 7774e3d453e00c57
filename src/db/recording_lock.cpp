#include "db/recording_lock.h"

#ifndef _WIN32

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// One byte at the acquisition's id.
struct flock LockRange(short type, int acquisitionId) {
  struct flock range {};
  range.l_type = type;
  range.l_whence = SEEK_SET;
  range.l_start = static_cast<off_t>(acquisitionId);
  range.l_len = 1;
  range.l_pid = 0;  // must be 0 for open-file-description locks
  return range;
}

// F_OFD_SETLK, or F_SETLK on a system without it. Returns fcntl's result.
int SetLock(int fd, struct flock& range) {
#ifdef F_OFD_SETLK
  const int result = ::fcntl(fd, F_OFD_SETLK, &range);
  if (result == 0 || errno != EINVAL)
    return result;
  range.l_pid = 0;
#endif
  return ::fcntl(fd, F_SETLK, &range);
}

int GetLock(int fd, struct flock& range) {
#ifdef F_OFD_GETLK
  struct flock copy = range;
  const int result = ::fcntl(fd, F_OFD_GETLK, &copy);
  if (result == 0 || errno != EINVAL) {
    range = copy;
    return result;
  }
#endif
  return ::fcntl(fd, F_GETLK, &range);
}

}  // namespace

bool CRecordingLock::Acquire(const std::string& databasePath, int acquisitionId) {
  Release();
  m_bBusy = false;
  m_sCause.clear();
  const std::string path = RecordingLockPath(databasePath);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    m_sCause = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  struct flock range = LockRange(F_WRLCK, acquisitionId);
  if (SetLock(fd, range) != 0) {
    const int error = errno;
    ::close(fd);
    m_bBusy = error == EACCES || error == EAGAIN;
    m_sCause = m_bBusy ? "the acquisition is being recorded by another program"
                       : "cannot lock " + path + ": " + std::strerror(error);
    return false;
  }
  m_nFd = fd;
  m_nId = acquisitionId;
  return true;
}

void CRecordingLock::Release() {
  if (m_nFd != -1) {
    ::close(static_cast<int>(m_nFd));  // closing the description releases its locks
    m_nFd = -1;
  }
  m_nId = -1;
}

CRecordingLockProbe::CRecordingLockProbe(const std::string& databasePath) {
  const std::string path = RecordingLockPath(databasePath);
  m_nFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (m_nFd < 0) {
    m_bNoFile = errno == ENOENT;
    m_sCause = "cannot open " + path + ": " + std::strerror(errno);
  }
}

CRecordingLockProbe::~CRecordingLockProbe() {
  if (m_nFd != -1)
    ::close(static_cast<int>(m_nFd));
}

RecordingLockState CRecordingLockProbe::State(int acquisitionId) const {
  if (m_nFd < 0)
    return m_bNoFile ? RecordingLockState::kFree : RecordingLockState::kUnknown;
  struct flock range = LockRange(F_WRLCK, acquisitionId);
  if (GetLock(static_cast<int>(m_nFd), range) != 0)
    return RecordingLockState::kUnknown;
  return range.l_type == F_UNLCK ? RecordingLockState::kFree : RecordingLockState::kRecorded;
}

#endif  // !_WIN32
