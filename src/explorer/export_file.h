#pragma once
// Writing the export file, the save dialog's request, and the summary of an acquisition
// that the data and export views show above their tables.
#include <string>

#include "base/user_prompt.h"
#include "db/sqlite_db.h"

// The cause text of a file that cannot be created or written, by errno.
std::string FileErrorCause(int error);

// Replaces the file whole with the text (a temporary file renamed over it). False with
// the cause text when it cannot be written; the previous file is then untouched.
bool WriteExportFile(const std::string& path, const std::string& text, std::string& cause);
// The export of a table: its CSV text written piece by piece as it is made, the file
// replaced only when all of it is written.
class CLoadedTable;
bool WriteExportFile(const std::string& path, const CLoadedTable& table, char separator,
                     std::string& cause);
// The export of a recording read in pages: streamed from the database, row by row, into
// the file (the same bytes as the export of the recording loaded whole).
class CRecordingPages;
bool WriteExportFile(const std::string& path, const CRecordingPages& recording, char separator,
                     std::string& cause);
// True, with the cause text, when path is the database or one of its side files: an
// export there would destroy the database, so it is refused before anything is written.
bool RefuseDatabaseTarget(const std::string& path, const std::string& databasePath,
                          std::string& cause);

// "%s%sVelmoraExport.csv": next to the database file.
std::string DefaultExportPath(const std::string& databasePath);
// The save dialog's request (an existing file is replaced without a question).
FileRequest ExportFileRequest(const std::string& databasePath);

inline constexpr char kExportedLine[] =
    "Velmora Project Data Exported Successfully to File %s in %d ms";
inline constexpr char kPreviewLoadedLine[] =
    "Velmora Project Data (%d Data Set with %d Tags) Loaded Successfully in %d sec.";
inline constexpr char kNothingToShow[] = "There is nothing to show ...";
inline constexpr char kCopiedLine[] =
    "Velmora Project Data Copied Successfully to Clipboard in %d ms";

struct AcquisitionSummary {
  std::string serverId;
  std::string host;
  int updateRate = 0;  // the data view's form only
  std::string start;   // "%s %s" of start date and time
  std::string end;
  int dataCount = 0;
};

// Reads the summary (withUpdateRate: the data view's 8 columns, else the export view's 7).
// Returns the columns retrieved; the summary is filled only when they are all there.
int ReadAcquisitionSummary(CSQLite& db, int acquisitionId, bool withUpdateRate,
                           AcquisitionSummary& summary);
inline constexpr int kDataSummaryColumns = 8;
inline constexpr int kExportSummaryColumns = 7;
