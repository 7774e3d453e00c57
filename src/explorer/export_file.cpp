#include "explorer/export_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "app/database_location.h"
#include "base/log.h"
#include "explorer/table_text.h"

namespace {

constexpr char kExportFileName[] = "%s%sVelmoraExport.csv";
constexpr char kSaveTitle[] = "Save Velmora Project Export Data File";
constexpr char kSaveFilter[] = "Data Export Files (*.csv)|*.csv";
constexpr char kSaveExtension[] = "csv";
constexpr char kSummaryWithRate[] =
    "SELECT OPCAcq_ServerId, OPCAcq_ServerHost, OPCAcq_UpdateRate, OPCAcq_StartDate, "
    "OPCAcq_StartTime, OPCAcq_EndDate, OPCAcq_EndTime, OPCAcq_DataCount "
    "FROM OPCAcq WHERE OPCAcq_Id = %d";
constexpr char kSummary[] =
    "SELECT OPCAcq_ServerId, OPCAcq_ServerHost, OPCAcq_StartDate, OPCAcq_StartTime, "
    "OPCAcq_EndDate, OPCAcq_EndTime, OPCAcq_DataCount "
    "FROM OPCAcq WHERE OPCAcq_Id = %d";

}  // namespace

std::string FileErrorCause(int error) {
  switch (error) {
    case ENOENT:
      return "File Not Found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
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
    case ENOSPC:
    case EDQUOT:
      return "Disk Full";
    case EIO:
      return "Hardware Error";
    case ETXTBSY:
    case EBUSY:
      return "Sharing Violation";
    case ESPIPE:
      return "Error Occurred on Seek";
    case 0:
      return "Unspecified Error Occurred";
    default:
      return "Unknown Error !!!";
  }
}

namespace {

constexpr size_t kExportChunkBytes = size_t{1} << 20;

// Writes the whole buffer; write may take it in parts, and a short write is a failure.
bool WriteAll(int file, const std::string& text, std::string& cause) {
  const char* data = text.data();
  size_t left = text.size();
  while (left > 0) {
    const ssize_t written = ::write(file, data, left);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0) {
      cause = FileErrorCause(written < 0 ? errno : ENOSPC);
      return false;
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  return true;
}

int CreateFile(const std::string& path, std::string& cause) {
  const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (file < 0)
    cause = FileErrorCause(errno);
  return file;
}

bool CloseFile(int file, bool written, std::string& cause) {
  if (::close(file) != 0 && written) {
    cause = FileErrorCause(errno);
    return false;
  }
  return written;
}

}  // namespace

bool WriteExportFile(const std::string& path, const std::string& text, std::string& cause) {
  const int file = CreateFile(path, cause);
  if (file < 0)
    return false;
  return CloseFile(file, WriteAll(file, text, cause), cause);
}

bool WriteExportFile(const std::string& path, const CLoadedTable& table, char separator,
                     std::string& cause) {
  const int file = CreateFile(path, cause);
  if (file < 0)
    return false;
  const bool written = ExportTextInChunks(
      table, separator, kExportChunkBytes,
      [file, &cause](const std::string& piece) { return WriteAll(file, piece, cause); });
  return CloseFile(file, written, cause);
}

std::string DefaultExportPath(const std::string& databasePath) {
  const DatabaseLocation location = SplitDatabasePath(databasePath);
  return Format(kExportFileName, location.drive.c_str(), location.directory.c_str());
}

FileRequest ExportFileRequest(const std::string& databasePath) {
  FileRequest request;
  request.save = true;
  request.title = kSaveTitle;
  request.filter = kSaveFilter;
  request.defaultExtension = kSaveExtension;
  request.initialPath = DefaultExportPath(databasePath);
  request.mustExist = false;
  request.confirmOverwrite = false;
  return request;
}

int ReadAcquisitionSummary(CSQLite& db, int acquisitionId, bool withUpdateRate,
                           AcquisitionSummary& summary) {
  std::vector<QueryCell> cells;
  const int columns =
      db.GetQueryData(Format(withUpdateRate ? kSummaryWithRate : kSummary, acquisitionId), cells,
                      true, true, true, kLogProjects);
  const int expected = withUpdateRate ? kDataSummaryColumns : kExportSummaryColumns;
  if (columns != expected || static_cast<int>(cells.size()) < expected)
    return columns < 0 ? 0 : columns;
  size_t next = 0;
  auto text = [&cells, &next]() { return cells[next++].text; };
  summary = AcquisitionSummary();
  summary.serverId = text();
  summary.host = text();
  if (withUpdateRate)
    summary.updateRate = cells[next++].intValue;
  const std::string startDate = text();
  summary.start = startDate + " " + text();
  const std::string endDate = text();
  summary.end = endDate + " " + text();
  summary.dataCount = cells[next++].intValue;
  return columns;
}
