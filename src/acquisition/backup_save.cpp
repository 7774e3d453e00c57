#include "acquisition/backup_save.h"

#include <cerrno>
#include <exception>
#include <new>

#include "acquisition/acquired_data_text.h"
#include "acquisition/opc_data_job.h"
#include "base/atomic_file.h"
#include "base/database_files.h"
#include "base/log.h"

namespace {

constexpr const char* kFileCauses[] = {
    "Unspecified Error Occurred",
    "File Not Found",
    "Invalid Path",
    "Too Many Files Open",
    "Access Denied",
    "Invalid File",
    "Unable to Remove Directory",
    "Directory Full",
    "Error Occurred on Seek",
    "Hardware Error",
    "Sharing Violation",
    "Lock Violation",
    "Disk Full",
    "Unexpected End of File",
};
constexpr int kFileCauseCount = static_cast<int>(sizeof(kFileCauses) / sizeof(kFileCauses[0]));

constexpr char kMemoryException[] =
    "Critical Velmora Memory Exception !!! Unable to Save Velmora Backup File %s ... Cause: ";
constexpr char kFileException[] =
    "Critical Velmora File Exception !!! Unable to Save Velmora Backup File %s ... Cause: ";
constexpr char kOtherException[] =
    "Critical Velmora Exception !!! Unable to Save Velmora Backup File %s ... Cause: ";

// The rows done after which one more 5 % step is shown (every row for fewer than 20).
int RowsPerStep(int rows) {
  const int step = rows / 20;
  return step > 0 ? step : 1;
}

// Bytes gathered before they go to the file: a long backup never holds its whole text.
constexpr size_t kWriteChunkBytes = 1 << 20;

constexpr char kRowUnreadable[] =
    "Critical Velmora File Exception !!! Unable to Save Velmora Backup File %s ... Cause: a "
    "data set could not be read back from the Velmora Database";

// The text after the file exception's "Cause: ": the cause code's text, and for a file
// size limit (which the codes have none for) "File Too Large".
std::string WriteFailureText(int error) {
  if (error == EFBIG)
    return FileErrorCauseText(error);
  return FileCauseText(FileCauseFromErrno(error));
}

void Save(COPCDataJob& job, const std::string& databasePath) {
  if (IsDatabaseFile(job.m_sFullPath, databasePath)) {
    // Refused before anything is opened: the database would be destroyed.
    job.Fail(kJobErrorException,
             Format(kFileException, job.m_sFullPath.c_str()) + kDatabaseTargetCause);
    return;
  }
  // Written to a temporary file renamed over the target: a failed backup never leaves a
  // partial file, nor destroys a file of the same name.
  CAtomicFile file(job.m_sFullPath);
  if (!file.Open()) {
    // Nothing is written; the cause goes to the log after the error line.
    const int cause = FileCauseFromErrno(file.Error());
    job.Fail(cause, OpenFailureText(cause));
    return;
  }
  // The text goes to the file in chunks as the rows are read, page by page.
  const AcquiredRows& source = *job.m_pRows;
  std::string text;
  AcquiredDataText::AppendHeader(text, source.headings, job.m_cSeparator,
                                 AcquiredDataText::kFileLineEnd);
  const int columns = static_cast<int>(source.headings.size());
  const int rowsPerStep = RowsPerStep(source.endRow - source.firstRow);
  int sinceStep = 0;
  bool written = true;
  const bool read = source.ForEachRow([&](const CompactDataSet& row) {
    AcquiredDataText::AppendRow(text, row, columns, job.m_cSeparator,
                                AcquiredDataText::kFileLineEnd);
    if (text.size() >= kWriteChunkBytes && written) {
      written = file.Write(text);
      text.clear();
    }
    job.AddDone();
    if (++sinceStep == rowsPerStep) {
      sinceStep = 0;
      job.AddProgressStep();
      job.MarkProgressChanged();
    }
  });
  if (!read) {
    file.Discard();
    job.Fail(kJobErrorException, Format(kRowUnreadable, job.m_sFullPath.c_str()));
    return;
  }
  if (!written || !file.Write(text) || !file.Commit()) {
    job.Fail(FileCauseFromErrno(file.Error()),
             Format(kFileException, job.m_sFullPath.c_str()) + WriteFailureText(file.Error()));
    return;
  }
  job.SetState(kJobFinished);
}

}  // namespace

const char* FileCauseText(int cause) {
  if (cause < 1 || cause > kFileCauseCount)
    return "";
  return kFileCauses[cause - 1];
}

int FileCauseFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EROFS:
      return 5;
    case EISDIR:
      return 6;
    case ESPIPE:
      return 9;
    case EIO:
      return 10;
    case EBUSY:
    case ETXTBSY:
      return 11;
    case ENOLCK:
      return 12;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
      return 13;
    default:
      return 1;
  }
}

std::string OpenFailureText(int cause) {
  const char* text = FileCauseText(cause);
  if (*text == '\0')
    return "Unknown Error !!!";
  return std::string("Unable to Open File ... ") + text;
}

void RunBackupSave(COPCDataJob& job, const std::string& databasePath) {
  job.SetState(kJobSaving);
  if (!job.m_pRows) {
    job.SetState(kJobFailed);  // no view: nothing to read
    return;
  }
  try {
    Save(job, databasePath);
  } catch (const std::bad_alloc& e) {
    job.Fail(kJobErrorException, Format(kMemoryException, job.m_sFullPath.c_str()) + e.what());
  } catch (const std::exception& e) {
    job.Fail(kJobErrorException, Format(kOtherException, job.m_sFullPath.c_str()) + e.what());
  }
}
