// velmora-cli project: the saved projects of a database: list, show, import from and
// export to a project file (docs/project-file.md), delete. Log lines go to stderr as the
// output pane would show them; results go to stdout.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/utf8_path.h"
#include "calc/calc_expression_check.h"
#include "calc/calc_identifier.h"
#include "cli/cli_command.h"
#include "cli/cli_environment.h"
#include "db/project_export.h"
#include "db/project_import.h"
#include "db/project_list.h"
#include "db/project_rows.h"
#include "db/recording_list_control.h"
#include "platform/com/creation.h"
#include "platform/sim/sim_runtime.h"

namespace {

constexpr char kUsage[] =
    "Usage: velmora-cli project ACTION --database PATH\n"
    "  list [--sort N]\n"
    "      The saved projects with their group and item counts, tab-separated, sorted by\n"
    "      name (N: 0 id, 1 name, 2 server id, 3 host, 4 class id, 5 date, 6 time).\n"
    "  show NAME\n"
    "      The groups, then the items, of the project as the load dialog lists them.\n"
    "  import FILE [--name NAME]\n"
    "      Connects to the server the project file names, creates its groups and items\n"
    "      there and saves the project (under NAME when given), replacing a project of\n"
    "      the same name. Refused items are listed one per line; nothing is saved then.\n"
    "  export NAME\n"
    "      Writes the project as a project file on stdout.\n"
    "  delete NAME\n"
    "      Deletes the project with its groups and items.\n"
    "Exit code: 0 done, 1 failed (or no such project), 2 usage error.\n";

constexpr char kPrefix[] = "velmora-cli project: ";
// The tables that the project statements read.
constexpr const char* kProjectTables[] = {"OPCPrj", "OPCGrp", "OPCItem", "OleVariant"};
constexpr char kRefusedIdentifier[] = "the identifier holds a character that is not allowed (%s)";

int UsageError(const std::string& reason) {
  return CliUsageError(kPrefix, reason, kUsage);
}

int Failure(const std::string& reason) {
  return CliFailure(kPrefix, reason);
}

// COM for the command's one thread, with the simulation faults of VELMORA_SIM_CONFIG.
class CComSession {
 public:
  CComSession() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~CComSession() { CoUninitialize(); }
  CComSession(const CComSession&) = delete;
  CComSession& operator=(const CComSession&) = delete;
};

// The tool works on existing databases only: a typo must not leave an empty file behind.
// The project tables are checked first, so that a file that is no database, or one
// without the schema, is reported as such and never as a missing project.
bool UseExistingDatabase(CSQLite& db, const std::string& path) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(Utf8Path(path), ignored)) {
    std::cerr << kPrefix << "no database file at " << path << "\n";
    return false;
  }
  db.SetPath(path);
  if (db.OpenExistingFile() != DbStatus::kOk) {
    std::cerr << kPrefix << "cannot open " << path << "\n";
    return false;
  }
  std::vector<std::string> tables;
  const DbStatus listed = db.ListTables(tables);
  db.Close();
  if (listed != DbStatus::kOk) {
    std::cerr << kPrefix << "cannot read " << path << ": " << db.LastErrorText() << "\n";
    return false;
  }
  for (const char* table : kProjectTables) {
    if (std::find(tables.begin(), tables.end(), table) == tables.end()) {
      std::cerr << kPrefix << path << " is not a Velmora database (no table " << table
                << "); 'velmora-cli db init' creates the tables\n";
      return false;
    }
  }
  return true;
}

// Why a list statement failed, as the database says it.
std::string ListError(const CSQLite& db, DbStatus status) {
  if (status == DbStatus::kOpenFailed || db.LastErrorText().empty())
    return "the database could not be opened";
  return db.LastErrorText();
}

// The newest project of the name; -1 when there is none (or the file cannot be read).
int LatestProjectId(CSQLite& db, const std::string& name) {
  return static_cast<int>(
      CProjectRows(db).LatestId(name, SqlRun().Opening().Closing()).ValueOr(-1));
}

// The calculated-item rules: the identifier's characters, then the expression check.
std::string CheckCalcItem(const COPCGroup& group, const COPCCalcItem& item, const IClock& clock) {
  if (HasRefusedIdentifierChar(item.ShortId()))
    return Format(kRefusedIdentifier, kRefusedIdentifierChars);
  const CalcExpressionCheck check = CheckCalcExpression(item.Expression(), group, clock);
  return check.bValid ? std::string() : check.sMessage;
}

int RunList(CSQLite& db, std::vector<std::string>& args) {
  std::optional<int> sort;
  std::string error;
  if (!TakeIntOption(args, "--sort", 0, kProjectSortChoiceCount - 1, sort, error))
    return UsageError(error);
  if (!args.empty())
    return UsageError("unexpected argument '" + args.front() + "'");
  CRecordingListControl list;
  const DbResult<int> rows =
      db.UpdateListCtrl(CProjectRows::ListStatement(true, sort.value_or(kSortByName)), list,
                        ListCtrlForm::kPlain, SqlRun().Opening().Closing());
  if (!rows)
    return Failure("cannot list the projects: " + ListError(db, rows.Status()));
  std::cout << list.ToText();
  return kExitOk;
}

int RunShow(CSQLite& db, const std::string& name) {
  const int projectId = LatestProjectId(db, name);
  if (projectId < 0)
    return Failure("no project named '" + name + "'");
  CRecordingListControl groups;
  CRecordingListControl items;
  const SqlRun run = SqlRun().Opening().Closing();
  const DbResult<int> groupRows = db.UpdateListCtrl(CProjectRows::GroupListStatement(projectId),
                                                    groups, ListCtrlForm::kKeyed, run);
  if (!groupRows)
    return Failure("cannot list the groups of '" + name +
                   "': " + ListError(db, groupRows.Status()));
  const DbResult<int> itemRows = db.UpdateListCtrl(CProjectRows::ItemListStatement(projectId),
                                                   items, ListCtrlForm::kKeyed, run);
  if (!itemRows)
    return Failure("cannot list the items of '" + name + "': " + ListError(db, itemRows.Status()));
  std::cout << groups.ToText() << "\n" << items.ToText();
  return kExitOk;
}

int RunImport(CSQLite& db, CCliEnvironment& environment, const std::string& path,
              const std::string& nameOverride) {
  std::string text;
  ProjectFileError error;
  if (!ReadProjectFileText(path, text, error))
    return Failure(path + ": " + error.Text());
  ProjectFile file;
  if (!ParseProjectFile(text, file, error))
    return Failure(path + ": " + error.Text());
  if (!nameOverride.empty())
    file.m_sName = nameOverride;

  std::string simulationError;
  if (!CSimRuntime::Instance().LoadConfigurationFromEnvironment(&simulationError))
    return Failure(simulationError);
  AppContext& context = environment.Context();
  COPCServer server(context);
  CProjectStore store(db, server);
  CProjectState state;
  const IClock& clock = context.clock;
  const ProjectImportResult result =
      ImportProject(store, state, file, [&clock](const COPCGroup& group, const COPCCalcItem& item) {
        return CheckCalcItem(group, item, clock);
      });
  for (const ProjectImportFailure& failure : result.m_failures) {
    std::cout << Format("line %d: group '%s': '%s' (%s) refused: %s", failure.m_nLine,
                        failure.m_sGroup.c_str(), failure.m_sShortId.c_str(),
                        failure.m_sItem.c_str(), failure.m_sReason.c_str());
    if (failure.m_hr != S_OK)
      std::cout << Format(" (Error Code: %08X)", static_cast<unsigned>(failure.m_hr));
    std::cout << "\n";
  }
  if (!result.Succeeded())
    return Failure(path + ": import failed: " + result.m_sError);
  std::cout << Format(
      "Project '%s' imported: %d groups, %d acquired and %d calculated items "
      "(project id %d)\n",
      file.m_sName.c_str(), result.m_nGroupCount, result.m_nAcquiredCount, result.m_nCalcCount,
      result.m_nProjectId);
  return kExitOk;
}

int RunExport(CSQLite& db, const std::string& name) {
  ProjectFile file;
  std::string error;
  const int found = ExportProject(db, name, file, error);
  if (found < 0)
    return Failure("cannot read project '" + name + "': " + error);
  if (found == 0)
    return Failure("no project named '" + name + "'");
  std::cout << WriteProjectFile(file);
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

int RunDelete(CSQLite& db, const std::string& name) {
  std::string error;
  const int deleted = DeleteProject(db, name, error);
  if (deleted < 0)
    return Failure("cannot delete project '" + name + "': " + error);
  if (deleted == 0)
    return Failure("no project named '" + name + "'");
  std::cout << "Project '" << name << "' deleted\n";
  return kExitOk;
}

int RunProject(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string path;
  if (!TakeOption(args, "--database", path) || path.empty())
    return UsageError("--database PATH is required");
  std::string nameOverride;
  const bool hasName = TakeOption(args, "--name", nameOverride);
  if (args.empty())
    return UsageError("missing action (list, show, import, export or delete)");
  const std::string action = args.front();
  args.erase(args.begin());
  if (hasName && (action != "import" || nameOverride.empty()))
    return UsageError("--name NAME belongs to import");

  // COM before every object that may hold a server, so it is released first.
  CComSession com;
  CCliEnvironment environment;
  CSQLite db(environment.Context());
  if (action == "list") {
    if (!UseExistingDatabase(db, path))
      return kExitFailed;
    return RunList(db, args);
  }
  if (action != "show" && action != "import" && action != "export" && action != "delete")
    return UsageError("unknown action '" + action + "'");
  if (args.size() != 1 || args.front().empty())
    return UsageError(action + " takes exactly one " + (action == "import" ? "FILE" : "NAME"));
  if (!UseExistingDatabase(db, path))
    return kExitFailed;
  if (action == "show")
    return RunShow(db, args.front());
  if (action == "import")
    return RunImport(db, environment, args.front(), nameOverride);
  if (action == "export")
    return RunExport(db, args.front());
  return RunDelete(db, args.front());
}

const CliCommandRegistration kProjectCommand({"project",
                                              "list, show, import, export or delete saved projects",
                                              kUsage, RunProject});

}  // namespace
