#pragma once
// Files replaced whole or not at all. CAtomicFile writes into a temporary file in the
// target's folder, flushes it to the disk and renames it over the target, so a reader
// (or a crash, a full disk, a file size limit) only ever meets the previous file or the
// new one. On any failure the temporary file is removed, the previous file is left as it
// was, and the cause is kept for the caller's report. A target that exists and is not a
// regular file (a terminal, a pipe, /dev/null) is written in place: it cannot be renamed
// over. A symbolic link is followed, so the file it names is the one replaced. A large
// file is handed to the disk piece by piece while it is written (Linux), so the flush
// before the rename does not wait for gigabytes at once.
// Thread rule: an object belongs to one thread; different objects may run in parallel.
#include <cstdint>
#include <string>
#include <string_view>

// The cause text of a failed file operation, by its C library error number: the texts
// of the program's file reports ("Disk Full", "Access Denied", ...), "File Too Large"
// for a file size limit, and "Unknown Error !!!" for anything without a text.
std::string FileErrorCauseText(int error);

class CAtomicFile {
 public:
  explicit CAtomicFile(std::string target);
  // An uncommitted file is discarded: the target stays as it was.
  ~CAtomicFile();
  CAtomicFile(const CAtomicFile&) = delete;
  CAtomicFile& operator=(const CAtomicFile&) = delete;

  // Creates the temporary file. False with Error() set when it cannot be created.
  bool Open();
  // Appends bytes; a short write is retried, a failed one kept as the error.
  bool Write(std::string_view bytes);
  // Flushes, closes and renames over the target. After a failure nothing is renamed.
  bool Commit();
  // Removes the temporary file (also done by the destructor when not committed).
  void Discard();

  // The error number of the first failure (0 while none).
  int Error() const { return m_nError; }
  // Its cause text.
  std::string Cause() const { return FileErrorCauseText(m_nError); }
  // The file replaced (the target, or the file a link names).
  const std::string& Target() const { return m_sTarget; }

 private:
  bool Fail(int error);

  std::string m_sTarget;
  std::string m_sTemporary;  // empty when writing in place
  int m_nFile = -1;
  int m_nError = 0;
  int64_t m_nWritten = 0;      // bytes written so far
  int64_t m_nWrittenBack = 0;  // of them, handed to the disk before the flush
  bool m_bCommitted = false;
};

// The whole text written to path through CAtomicFile. False with error (the C library
// error number) when the file was not replaced.
bool WriteFileWhole(const std::string& path, std::string_view bytes, int& error);

// Ignores SIGXFSZ (called at start-up): a write past the file size limit (ulimit -f)
// then fails with EFBIG, reported as "File Too Large" like any other write error,
// instead of killing the program before it can report or record the end of its work.
void IgnoreFileSizeLimitSignal();
