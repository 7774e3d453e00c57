#include "explorer/export_file.h"

#include "base/atomic_file.h"
#include "base/database_files.h"
#include "base/log.h"
#include "db/recording_store.h"
#include "explorer/export_rows.h"
#include "explorer/recording_pages.h"
#include "explorer/table_text.h"

namespace {

constexpr char kExportFileName[] = "%s%sVelmoraExport.csv";
constexpr char kSaveTitle[] = "Save Velmora Project Export Data File";
constexpr char kSaveFilter[] = "Data Export Files (*.csv)|*.csv";
constexpr char kSaveExtension[] = "csv";

}  // namespace

std::string FileErrorCause(int error) {
  return FileErrorCauseText(error);
}

namespace {

constexpr size_t kExportChunkBytes = size_t{1} << 20;

// The file is replaced only once every piece is written: a failure part-way leaves the
// previous file as it was and no partial file behind.
template <typename WritePieces>
bool WriteWhole(const std::string& path, std::string& cause, WritePieces writePieces) {
  CAtomicFile file(path);
  if (file.Open() && writePieces(file) && file.Commit())
    return true;
  cause = file.Cause();
  return false;
}

}  // namespace

bool WriteExportFile(const std::string& path, const std::string& text, std::string& cause) {
  return WriteWhole(path, cause, [&text](CAtomicFile& file) { return file.Write(text); });
}

bool WriteExportFile(const std::string& path, const CLoadedTable& table, char separator,
                     std::string& cause) {
  return WriteWhole(path, cause, [&table, separator](CAtomicFile& file) {
    return ExportTextInChunks(table, separator, kExportChunkBytes,
                              [&file](const std::string& piece) { return file.Write(piece); });
  });
}

bool WriteExportFile(const std::string& path, const CRecordingPages& recording, char separator,
                     std::string& cause) {
  std::string readCause;
  const bool written = WriteWhole(path, cause, [&](CAtomicFile& file) {
    // Rows decoded on more threads and formatted straight into each batch's text, the
    // texts written in row order in large pieces.
    std::string header;
    const std::vector<std::string>& titles = recording.Titles();
    for (size_t column = 0; column < titles.size(); ++column) {
      if (column > 0)
        header += separator;
      AppendCsvField(titles[column], separator, header);
    }
    header += "\r\n";
    const size_t columns = titles.size();
    const CExportLineFromText fromText(separator, columns);
    return file.Write(header) &&
           StreamRecordingText(
               recording, RecordingTextThreads(),
               [separator, columns](const CLoadedTable::CRowBuilder& row, std::string& out) {
                 AppendExportLine(row, separator, columns, out);
               },
               [&file](std::string_view text) { return file.Write(text); }, readCause,
               [&fromText](std::string_view time, std::string_view valueText, std::string& out) {
                 return fromText.Append(time, valueText, out);
               });
  });
  // The database could not be read: that is the cause (the file was not replaced).
  if (!written && !readCause.empty())
    cause = readCause;
  return written;
}

bool RefuseDatabaseTarget(const std::string& path, const std::string& databasePath,
                          std::string& cause) {
  if (!IsDatabaseFile(path, databasePath))
    return false;
  cause = kDatabaseTargetCause;
  return true;
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
  const int columns = CRecordingStore(db, kLogProjects)
                          .Summary(acquisitionId, withUpdateRate, cells,
                                   SqlRun::Logged(kLogProjects).Opening().Closing())
                          .ValueOr(-1);
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
