// velmora-cli db: the start-up database check, and a look at the tables of a file.
#include <filesystem>
#include <iostream>

#include "base/utf8_path.h"
#include "cli/cli_command.h"
#include "cli/cli_environment.h"
#include "db/database_check.h"
#include "db/recording_list_control.h"
#include "db/sqlite_db.h"

namespace {

constexpr char kUsage[] =
    "Usage: velmora-cli db init --database PATH\n"
    "         Checks the database like start-up does: creates a missing file with the\n"
    "         whole schema, upgrades an older one. Log lines and reports go to stderr;\n"
    "         the exit code is 0 when the database is usable.\n"
    "       velmora-cli db tables --database PATH\n"
    "         Lists the tables of an existing database, one per line.\n"
    "       velmora-cli db query --database PATH STATEMENT\n"
    "         Runs one statement and prints its rows, cells separated by tabs.\n";

int UsageError(const std::string& message) {
  std::cerr << "velmora-cli db: " << message << "\n" << kUsage;
  return 2;
}

// Opens an existing file; the tool must not leave an empty database behind a typo.
bool OpenExisting(CSQLite& db, const std::string& path) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(Utf8Path(path), ignored)) {
    std::cerr << "velmora-cli db: no database file at " << path << "\n";
    return false;
  }
  db.SetPath(path);
  return db.OpenExistingFile() == DbStatus::kOk;
}

int RunInit(CSQLite& db, const std::string& path) {
  // Start-up works with the full path; so does the command, for the same log lines.
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(Utf8Path(path), error);
  return CheckVelmoraDatabase(db, error ? path : PathUtf8(full.lexically_normal())) ? 0 : 1;
}

int RunTables(CSQLite& db, const std::string& path) {
  if (!OpenExisting(db, path))
    return 1;
  std::vector<std::string> tables;
  const DbStatus listed = db.ListTables(tables);
  db.Close();
  if (listed != DbStatus::kOk) {
    std::cerr << "velmora-cli db: cannot list the tables: " << db.LastErrorText() << "\n";
    return 1;
  }
  for (const std::string& table : tables)
    std::cout << table << "\n";
  return 0;
}

int RunQuery(CSQLite& db, const std::string& path, const std::string& statement) {
  if (!OpenExisting(db, path))
    return 1;
  CRecordingListControl list;
  const DbResult<int> rows =
      db.UpdateListCtrl(statement, list, ListCtrlForm::kPlain, SqlRun().Closing());
  if (!rows) {
    // Rows shown before a failed step are no result: stdout stays empty.
    std::cerr << "velmora-cli db: the statement failed: " << db.LastErrorText() << "\n";
    return 1;
  }
  std::cout << list.ToText();
  return 0;
}

int RunDb(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string path;
  if (!TakeOption(args, "--database", path) || path.empty())
    return UsageError("--database PATH is required");
  if (args.empty())
    return UsageError("missing action (init, tables or query)");
  const std::string action = args.front();
  CCliEnvironment environment;
  CSQLite db(environment.Context());
  if (action == "init" && args.size() == 1)
    return RunInit(db, path);
  if (action == "tables" && args.size() == 1)
    return RunTables(db, path);
  if (action == "query" && args.size() == 2)
    return RunQuery(db, path, args[1]);
  return UsageError("unknown action or wrong arguments");
}

const CliCommandRegistration kDbCommand({"db", "check, create or upgrade a database; list tables",
                                         kUsage, RunDb});

}  // namespace
