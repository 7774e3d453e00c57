#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>

#include "base/utf8_path.h"
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY;
constexpr int kInPlaceFlags = O_WRONLY | O_TRUNC | O_BINARY;
constexpr int kWriteAccess = 2;
int CurrentProcess() {
  return _getpid();
}
// The wide functions: file names are UTF-8.
using FileStatus = struct _stat64;
int StatFile(const std::string& path, FileStatus* status) {
  return ::_wstat64(Utf8Path(path).c_str(), status);
}
int OpenFile(const std::string& path, int flags, int mode = 0) {
  return ::_wopen(Utf8Path(path).c_str(), flags, mode);
}
int FileAccess(const std::string& path, int mode) {
  return ::_waccess(Utf8Path(path).c_str(), mode);
}
int RemoveFile(const std::string& path) {
  return ::_wremove(Utf8Path(path).c_str());
}
#else
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
constexpr int kInPlaceFlags = O_WRONLY | O_TRUNC | O_CLOEXEC;
constexpr int kWriteAccess = W_OK;
int CurrentProcess() {
  return static_cast<int>(::getpid());
}
using FileStatus = struct stat;
int StatFile(const std::string& path, FileStatus* status) {
  return ::stat(path.c_str(), status);
}
int OpenFile(const std::string& path, int flags, int mode = 0) {
  return ::open(path.c_str(), flags, mode);
}
int FileAccess(const std::string& path, int mode) {
  return ::access(path.c_str(), mode);
}
int RemoveFile(const std::string& path) {
  return std::remove(path.c_str());
}
#endif

// Long names leave room for the temporary file's prefix and suffix within a name's limit.
constexpr size_t kMaxStemBytes = 200;
constexpr int kNameAttempts = 100;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".NAME.PID-N.tmp" next to the target: hidden, and unique within and across processes.
std::string TemporaryName(const std::string& target, unsigned attempt) {
  static std::atomic<unsigned> s_counter{0};
  const unsigned long long stamp =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  char suffix[80];
  std::snprintf(suffix, sizeof suffix, ".%d-%u-%llx.tmp", CurrentProcess(),
                s_counter.fetch_add(1) + attempt, stamp & 0xFFFFFFu);
  std::string stem = NameOf(target);
  if (stem.size() > kMaxStemBytes)
    stem.resize(kMaxStemBytes);
  return FolderOf(target) + "." + stem + suffix;
}

// The file a symbolic link names; the path itself otherwise.
std::string Resolved(const std::string& path) {
#ifdef _WIN32
  return path;
#else
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
    return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr)
    return path;  // a dangling link is replaced by the new file
  return resolved;
#endif
}

// A large file's written bytes are handed to the disk while the rest is still being
// written, so that the flush at the end waits for little more than the last piece.
constexpr int64_t kWriteBackBytes = int64_t{32} << 20;

void StartWriteBack(int file, int64_t from, int64_t bytes) {
#ifdef __linux__
  // Asynchronous: it starts the disk writes and returns; the fsync still decides.
  (void)::sync_file_range(file, from, bytes, SYNC_FILE_RANGE_WRITE);
#else
  (void)file;
  (void)from;
  (void)bytes;
#endif
}

int SyncFile(int file) {
#ifdef _WIN32
  return ::_commit(file);
#else
  return ::fsync(file);
#endif
}

// The rename reaches the disk with the folder's entry; a folder that cannot be synced
// (some file systems refuse) does not undo a rename that has happened.
void SyncFolder(const std::string& target) {
#ifndef _WIN32
  const std::string folder = FolderOf(target);
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
#else
  (void)target;
#endif
}

int Rename(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (::MoveFileExW(Utf8Path(from).c_str(), Utf8Path(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  errno = ::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
  return -1;
#else
  return std::rename(from.c_str(), to.c_str());
#endif
}

}  // namespace

std::string FileErrorCauseText(int error) {
  switch (error) {
    case 0:
      return "Unspecified Error Occurred";
    case ENOENT:
      return "File Not Found";
    case ENOTDIR:
    case ENAMETOOLONG:
#ifdef ELOOP
    case ELOOP:
#endif
      return "Invalid Path";
    case EMFILE:
    case ENFILE:
      return "Too Many Files Open";
    case EACCES:
    case EPERM:
    case EROFS:
      return "Access Denied";
    case EISDIR:
    case EINVAL:
      return "Invalid File";
    case ENOTEMPTY:
      return "Unable to Remove Directory";
    case ESPIPE:
      return "Error Occurred on Seek";
    case EIO:
      return "Hardware Error";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
      return "Sharing Violation";
    case ENOLCK:
      return "Lock Violation";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "Disk Full";
    case EFBIG:
      return "File Too Large";
    default:
      return "Unknown Error !!!";
  }
}

CAtomicFile::CAtomicFile(std::string target) : m_sTarget(Resolved(target)) {}

CAtomicFile::~CAtomicFile() {
  if (!m_bCommitted)
    Discard();
}

bool CAtomicFile::Fail(int error) {
  if (m_nError == 0)
    m_nError = error != 0 ? error : EIO;
  return false;
}

bool CAtomicFile::Open() {
  if (m_nFile >= 0 || m_nError != 0)
    return m_nError == 0;
  FileStatus existing{};
  const bool exists = StatFile(m_sTarget, &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode))
    return Fail(EISDIR);
  if (exists && !S_ISREG(existing.st_mode)) {
    // A device or a pipe: written in place, there is no file to keep.
    m_nFile = OpenFile(m_sTarget, kInPlaceFlags);
    return m_nFile >= 0 || Fail(errno);
  }
  // A file the user may not write stays refused, as when it was opened for writing: the
  // rename would otherwise replace it on the folder's permission alone.
  if (exists && FileAccess(m_sTarget, kWriteAccess) != 0)
    return Fail(errno);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = TemporaryName(m_sTarget, static_cast<unsigned>(attempt));
    // 0666 as a plain create: the user's umask decides, as for any new file.
    m_nFile = OpenFile(name, kCreateFlags, 0666);
    if (m_nFile >= 0) {
      m_sTemporary = name;
#ifndef _WIN32
      // The replaced file keeps its permissions.
      if (exists)
        ::fchmod(m_nFile, existing.st_mode & 07777);
#endif
      return true;
    }
    if (errno != EEXIST)
      return Fail(errno);
  }
  return Fail(EEXIST);
}

bool CAtomicFile::Write(std::string_view bytes) {
  if (m_nFile < 0 || m_nError != 0)
    return Fail(EBADF);
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
#ifdef _WIN32
    const int chunk = left > (1u << 30) ? (1 << 30) : static_cast<int>(left);
    const long written = ::_write(m_nFile, data, static_cast<unsigned>(chunk));
#else
    const ssize_t written = ::write(m_nFile, data, left);
#endif
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return Fail(written < 0 ? errno : ENOSPC);
    data += written;
    left -= static_cast<size_t>(written);
  }
  m_nWritten += static_cast<int64_t>(bytes.size());
  if (!m_sTemporary.empty() && m_nWritten - m_nWrittenBack >= kWriteBackBytes) {
    StartWriteBack(m_nFile, m_nWrittenBack, m_nWritten - m_nWrittenBack);
    m_nWrittenBack = m_nWritten;
  }
  return true;
}

bool CAtomicFile::Commit() {
  if (m_nFile < 0 || m_nError != 0) {
    Discard();
    return Fail(EBADF);
  }
  const bool inPlace = m_sTemporary.empty();
  // A device or a pipe has nothing to sync (EINVAL); a file must reach the disk.
  if (SyncFile(m_nFile) != 0 && !inPlace)
    Fail(errno);
  const int file = m_nFile;
  m_nFile = -1;
  if (::close(file) != 0)
    Fail(errno);
  if (m_nError == 0 && !inPlace && Rename(m_sTemporary, m_sTarget) != 0)
    Fail(errno);
  if (m_nError != 0) {
    Discard();
    return false;
  }
  m_sTemporary.clear();
  m_bCommitted = true;
  if (!inPlace)
    SyncFolder(m_sTarget);
  return true;
}

void CAtomicFile::Discard() {
  if (m_nFile >= 0) {
    ::close(m_nFile);
    m_nFile = -1;
  }
  if (!m_sTemporary.empty()) {
    RemoveFile(m_sTemporary);
    m_sTemporary.clear();
  }
}

bool WriteFileWhole(const std::string& path, std::string_view bytes, int& error) {
  CAtomicFile file(path);
  const bool done = file.Open() && file.Write(bytes) && file.Commit();
  error = file.Error();
  return done;
}

void IgnoreFileSizeLimitSignal() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}
