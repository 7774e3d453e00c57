#include "db/database_check.h"
#include "base/utf8_path.h"

#include <filesystem>

#include "base/report.h"
#include "base/rtf.h"
#include "db/database_path.h"
#include "db/schema.h"

namespace {

constexpr char kInvalidDatabaseLine[] =
    "Invalid SQLite Database !!! Error Opening Database %s Reason: %s";
constexpr char kCheckedLine[] = "Velmora Database Checked Successfully (File: %s) ";
constexpr char kUpdatedLine[] =
    "Velmora Database Updated Successfully (File: %s) from Version %d to %d";
constexpr char kCreatedLine[] = "Velmora Database Created and Initialized Successfully (File: %s) ";

constexpr char kUpdateErrorTitle[] = "Velmora Database Update Error";
constexpr char kCreationPathErrorTitle[] = "Velmora Database (%s) Creation Error";
constexpr char kCreationErrorTitle[] = "Velmora Database Creation Error";
constexpr char kUpdateHeading[] = "Error occured while Updating Velmora Database";
constexpr char kCreationHeading[] = "Error occured while Creating Velmora Database";
constexpr char kNoStandardFeatures[] = "%s is unable to provide standard features ...";
constexpr char kUpdateVersions[] = "\\par Update from Version {\\b %d} to {\\b %d} ";
constexpr char kFileLabel[] = "File";
constexpr char kMisspeltFileLabel[] = "\\par nFile";
constexpr char kDriveLabel[] = "Drive";
constexpr char kErrorLabel[] = "Error";
constexpr char kCheckDllRequest[] =
    "Please Check if File 'sqlite3.dll' is Present in Velmora Directory";
constexpr char kCheckPathRequest[] = "Please Check if SQL Path is Valid";

// Heading and explanation shared by the three reports; the explanation ends with a blank.
CReportBuilder ReportStart(const char* heading) {
  CReportBuilder report;
  report.ErrorHeading(heading).Explanation(Format(kNoStandardFeatures, kProductName)).Raw(" ");
  return report;
}

void ReportUpdateError(AppContext& context, const std::string& path, int from, int to,
                       const std::string& error) {
  CReportBuilder report = ReportStart(kUpdateHeading);
  report.Raw(Format(kUpdateVersions, from, to))
      .Detail(kFileLabel, RtfEscape(path))
      .Raw(" ")
      .Detail(kErrorLabel, RtfEscape(error))
      .Closing(kCheckDllRequest);
  context.prompt.ShowReport(report.Request(kUpdateErrorTitle));
}

void ReportCannotCreate(AppContext& context, const std::string& path, const std::string& error) {
  const DatabaseFileName parts = SplitDatabaseFileName(path);
  CReportBuilder report = ReportStart(kCreationHeading);
  report.Detail(kDriveLabel, RtfEscape(parts.drive))
      .Raw(" ")
      .Detail(kFileLabel, RtfEscape(parts.fileName + parts.extension))
      .Raw(" \\par ")
      .Detail(kErrorLabel, RtfEscape(error))
      .Closing(kCheckPathRequest);
  context.prompt.ShowReport(report.Request(Format(kCreationPathErrorTitle, path.c_str())));
}

void ReportSchemaNotCreated(AppContext& context, const std::string& path,
                            const std::string& error) {
  CReportBuilder report = ReportStart(kCreationHeading);
  // The label really reads "nFile" in this report.
  report.Raw(kMisspeltFileLabel)
      .Raw(": {\\b " + RtfEscape(path) + "} ")
      .Detail(kErrorLabel, RtfEscape(error))
      .Closing(kCheckDllRequest);
  context.prompt.ShowReport(report.Request(kCreationErrorTitle));
}

// Creation of the whole schema in a file that is open and holds no table.
bool CreateInOpenFile(CSQLite& db, const std::string& path) {
  AppContext& context = db.Context();
  if (!CreateSchema(db)) {
    ReportSchemaNotCreated(context, path, db.LastErrorText());
    return false;
  }
  context.log.Log(Format(kCreatedLine, path.c_str()), kLogOpcServer);
  return true;
}

bool CheckExistingFile(CSQLite& db, const std::string& path) {
  AppContext& context = db.Context();
  std::string error;
  if (db.OpenWithFlags(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error) != DbStatus::kOk) {
    context.log.Log(Format(kInvalidDatabaseLine, path.c_str(), error.c_str()), kLogOpcServer);
    return false;
  }
  context.log.Log(Format(kCheckedLine, path.c_str()), kLogOpcServer);
  // A file without any table (left empty by a failed creation, or an empty file chosen
  // by the user) would otherwise be taken for version 1 and get only the tables that
  // version 2 added: it gets the whole schema instead.
  std::vector<std::string> tables;
  if (db.ListTables(tables) == DbStatus::kOk && tables.empty())
    return CreateInOpenFile(db, path);
  int from = kSchemaVersion;
  int to = kSchemaVersion;
  if (!UpgradeSchema(db, from, to)) {
    ReportUpdateError(context, path, from, to, db.LastErrorText());
    return false;
  }
  if (from != to)
    context.log.Log(Format(kUpdatedLine, path.c_str(), from, to), kLogOpcServer);
  return true;
}

bool CreateMissingFile(CSQLite& db, const std::string& path) {
  AppContext& context = db.Context();
  std::string error;
  // An empty path would make SQLite open a private temporary database.
  if (path.empty()) {
    ReportCannotCreate(context, path, sqlite3_errstr(SQLITE_CANTOPEN));
    return false;
  }
  if (db.OpenWithFlags(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error) != DbStatus::kOk) {
    ReportCannotCreate(context, path, error);
    return false;
  }
  return CreateInOpenFile(db, path);
}

}  // namespace

bool CheckVelmoraDatabase(CSQLite& db, const std::string& path) {
  db.Close();
  db.SetPath(path);
  std::error_code ignored;
  const bool exists = !path.empty() && std::filesystem::exists(Utf8Path(path), ignored);
  const bool ok = exists ? CheckExistingFile(db, path) : CreateMissingFile(db, path);
  db.Close();
  return ok;
}
