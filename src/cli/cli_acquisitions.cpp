// velmora-cli acquisitions: the recorded acquisitions of a database, as the project
// explorer shows them: list, show, repair, delete (with the compaction), export to CSV
// and the clipboard text. Log lines go to stderr; results go to stdout.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/utf8_path.h"
#include "cli/cli_command.h"
#include "cli/cli_environment.h"
#include "cli/cli_forward.h"
#include "explorer/acquisition_catalogue.h"
#include "explorer/catalogue_statements.h"
#include "explorer/project_data.h"
#include "explorer/table_text.h"

namespace {

constexpr char kUsage[] =
    "Usage: velmora-cli acquisitions ACTION --database PATH\n"
    "  list [--sort N]\n"
    "      The recorded acquisitions, tab-separated, id first (N: 0 id, 1 server id,\n"
    "      2 host, 3 acquisition start, 4 data count). One that a program records now\n"
    "      shows the end date \"Being Recorded\": it is neither repaired nor deleted.\n"
    "  show ID\n"
    "      The summary, the items and the group and item counts of an acquisition.\n"
    "  repair ID\n"
    "      Sets the end and the count of an acquisition that was not closed properly.\n"
    "  delete ID --yes\n"
    "      Deletes the acquisition with all its rows and compacts the database.\n"
    "  export ID [--separator ';'|','] [--output FILE]\n"
    "      The CSV file of the export view (stdout without --output).\n"
    "  copy ID\n"
    "      The clipboard text of the data view on stdout.\n"
    "  push ID|--all --to URL\n"
    "      Sends to the PostgreSQL that URL names what it does not hold yet of the\n"
    "      acquisition (of every one with --all); safe to repeat.\n"
    "Exit code: 0 done, 1 failed (or no such acquisition), 2 usage error.\n";

constexpr char kPrefix[] = "velmora-cli acquisitions: ";

int UsageError(const std::string& reason) {
  return CliUsageError(kPrefix, reason, kUsage);
}

int Failure(const std::string& reason) {
  return CliFailure(kPrefix, reason);
}

bool UseExistingDatabase(CSQLite& db, const std::string& path) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(Utf8Path(path), ignored)) {
    std::cerr << kPrefix << "no database file at " << path << "\n";
    return false;
  }
  db.SetPath(path);
  if (db.OpenExistingFile() != DbStatus::kOk || !db.TableExists("OPCAcq")) {
    db.Close();
    std::cerr << kPrefix << path << " is not a Velmora database (no table OPCAcq)\n";
    return false;
  }
  db.Close();
  return true;
}

bool WriteOut(const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
         std::fflush(stdout) == 0;
}

int RunList(CAcquisitionCatalogue& catalogue, std::vector<std::string>& args) {
  std::optional<int> sort;
  std::string error;
  if (!TakeIntOption(args, "--sort", 0, kCatalogueSortChoiceCount - 1, sort, error))
    return UsageError(error);
  if (!args.empty())
    return UsageError("unexpected argument '" + args.front() + "'");
  catalogue.SetRepairOnSelect(false);
  catalogue.SetSortChoice(sort.value_or(0));
  const DbResult<int> listed = catalogue.List();
  if (!listed)
    return Failure("cannot list the acquisitions");
  const int rows = listed.Value();
  const CRecordingListControl& list = catalogue.Catalogue();
  std::string text = "Project Id";
  for (const auto& column : list.Columns())
    text += "\t" + column.title;
  text += "\n";
  for (int row = 0; row < rows; ++row) {
    text += std::to_string(list.Rows()[static_cast<size_t>(row)].itemData);
    for (size_t column = 0; column < list.Columns().size(); ++column)
      text += "\t" + list.Cell(row, static_cast<int>(column));
    text += "\n";
  }
  return WriteOut(text) ? kExitOk : kExitFailed;
}

// Written what could be read: the rows that could not be are a failure, said on stderr.
int DamageResult(const CProjectData& data, int written) {
  if (written != kExitOk)
    return written;
  const std::string damage = data.DamageText();
  return damage.empty() ? kExitOk : Failure(damage);
}

int RunShow(CAcquisitionCatalogue& catalogue, CSQLite& db, AppContext& context, int id) {
  const CatalogueDetails& details = catalogue.Details();
  const CRecordingListControl& items = catalogue.Items();
  std::string text = "Server Id\t" + details.serverId + "\nOPC Server Host\t" + details.host +
                     "\nAcquisition Start\t" + details.start + "\nAcquisition End\t" + details.end +
                     "\nData Count\t" +
                     catalogue.Catalogue().Cell(catalogue.SelectedRow(), kCatDataCount) +
                     Format("\nGroups\t%d\nAcquired Items\t%d\nCalculated Items\t%d\n\n",
                            details.groups, details.acquiredItems, details.calculatedItems);
  if (details.acquiredItems + details.calculatedItems > 0 || !items.Rows().empty())
    text += items.ToText();
  if (!WriteOut(text))
    return kExitFailed;
  // The rows are read too, so that damage is told here as well.
  CProjectData data(db, context);
  if (!data.LoadNow(id))
    return Failure("the rows could not be read");
  return DamageResult(data, kExitOk);
}

int RunRepair(CAcquisitionCatalogue& catalogue) {
  const RepairResult result = catalogue.Repair(true);
  catalogue.SelectRow(catalogue.SelectedRow());  // closes the database the repair used
  const CatalogueDetails& details = catalogue.Details();
  const std::string count = catalogue.Catalogue().Cell(catalogue.SelectedRow(), kCatDataCount);
  switch (result) {
    case RepairResult::kComplete:
      std::cout << "complete: end " << details.end << ", " << count << " data sets\n";
      return kExitOk;
    case RepairResult::kRepaired:
      std::cout << "repaired: end " << details.end << ", " << count << " data sets\n";
      return kExitOk;
    case RepairResult::kRecording:
      return Failure(Format("acquisition %d is being recorded: it is not repaired",
                            catalogue.SelectedAcquisitionId()));
    default:
      return Failure("the acquisition could not be repaired");
  }
}

int RunDelete(CAcquisitionCatalogue& catalogue, int id) {
  switch (catalogue.Delete(kNoAcquisitionId)) {
    case DeleteResult::kDeleted:
      std::cout << "Acquisition " << id << " deleted\n";
      if (!catalogue.LastSizeLine().empty())
        std::cout << catalogue.LastSizeLine() << "\n";
      return kExitOk;
    case DeleteResult::kFailed:
      return Failure("the deletion failed");
    case DeleteResult::kRejected:
      return Failure(Format("acquisition %d is being recorded: it is not deleted", id));
    default:
      return Failure("nothing was deleted");
  }
}

int RunExport(CSQLite& db, AppContext& context, int id, char separator, const std::string& output) {
  CProjectData data(db, context);
  if (!data.LoadNow(id))
    return Failure("the rows could not be read");
  const uint32_t start = context.clock.TickCount();
  std::string cause;
  if (output.empty()) {
    // Streamed to the output as the rows are read.
    const bool written = ExportTextInChunks(
        data.Recording(), separator, size_t{1} << 20,
        [](const std::string& piece) { return WriteOut(piece); }, cause);
    if (!written && !cause.empty())
      return Failure("the rows could not be read: " + cause);
    return DamageResult(data, written ? kExitOk : kExitFailed);
  }
  if (!WriteExportFile(output, data.Recording(), separator, cause))
    return Failure("cannot write " + output + ": " + cause);
  context.log.Log(
      Format(kExportedLine, output.c_str(), static_cast<int>(context.clock.TickCount() - start)),
      kLogProjects);
  return DamageResult(data, kExitOk);
}

int RunCopy(CSQLite& db, AppContext& context, int id) {
  CProjectData data(db, context);
  if (!data.LoadNow(id))
    return Failure("the rows could not be read");
  std::string text;
  if (!ClipboardText(data.Recording(), text))
    return Failure("the rows could not be read");
  return DamageResult(data, WriteOut(text) ? kExitOk : kExitFailed);
}

int RunAcquisitions(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string path;
  if (!TakeOption(args, "--database", path) || path.empty())
    return UsageError("--database PATH is required");
  const bool yes = TakeFlag(args, "--yes");
  std::string separatorText;
  const bool hasSeparator = TakeOption(args, "--separator", separatorText);
  std::string output;
  const bool hasOutput = TakeOption(args, "--output", output);
  if (args.empty())
    return UsageError("missing action (list, show, repair, delete, export, copy or push)");
  const std::string action = args.front();
  args.erase(args.begin());
  if ((hasSeparator || hasOutput) && action != "export")
    return UsageError("--separator and --output belong to export");
  if (yes && action != "delete")
    return UsageError("--yes belongs to delete");
  if (action == "push")
    return RunAcquisitionsPush(args, path, kUsage);
  if (hasSeparator && separatorText != ";" && separatorText != ",")
    return UsageError("--separator is ';' or ','");
  if (hasOutput && output.empty())
    return UsageError("--output needs a FILE");
  // Checked before the database is opened: an export there would destroy it.
  std::string refusal;
  if (hasOutput && RefuseDatabaseTarget(output, path, refusal))
    return Failure("refusing to export to " + output + ": " + refusal);

  CCliEnvironment environment;
  AppContext& context = environment.Context();
  CSQLite db(context);
  CAcquisitionCatalogue catalogue(db, context);
  if (action == "list") {
    if (!UseExistingDatabase(db, path))
      return kExitFailed;
    return RunList(catalogue, args);
  }
  if (action != "show" && action != "repair" && action != "delete" && action != "export" &&
      action != "copy")
    return UsageError("unknown action '" + action + "'");
  if (args.size() != 1)
    return UsageError(action + " takes exactly one ID");
  int64_t id = 0;
  std::string error;
  if (!ParseIntOption("ID", args.front(), 1, INT32_MAX, id, error))
    return UsageError(error);
  if (action == "delete" && !yes)
    return Failure("refusing to delete acquisition " + args.front() +
                   " without --yes (its data cannot be retrieved afterwards)");
  if (!UseExistingDatabase(db, path))
    return kExitFailed;
  catalogue.SetRepairOnSelect(false);
  if (!catalogue.List())
    return Failure("cannot list the acquisitions");
  const int acquisitionId = static_cast<int>(id);
  if (!catalogue.SelectAcquisition(acquisitionId))
    return Failure("no acquisition with id " + args.front());
  if (action == "show")
    return RunShow(catalogue, db, context, acquisitionId);
  if (action == "repair") {
    if (db.OpenFile() != DbStatus::kOk)
      return Failure("cannot open " + path);
    return RunRepair(catalogue);
  }
  if (action == "delete")
    return RunDelete(catalogue, acquisitionId);
  if (action == "export")
    return RunExport(db, context, acquisitionId, hasSeparator ? separatorText[0] : ';', output);
  return RunCopy(db, context, acquisitionId);
}

const CliCommandRegistration kAcquisitionsCommand(
    {"acquisitions", "list, show, repair, delete, export, copy or push recorded acquisitions",
     kUsage, RunAcquisitions});

}  // namespace
