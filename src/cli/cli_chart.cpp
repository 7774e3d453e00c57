// velmora-cli chart: the project-mode chart of a recorded acquisition rendered to an
// image file, by the chart view's own logic (items, window, decimation, the two axes)
// and painting. The only command that uses Qt, and Qt Gui alone: the application object
// is created inside the command, on the offscreen platform unless another is asked for.
#include <QGuiApplication>
#include <QImage>
#include <QSize>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/database_files.h"
#include "base/log.h"
#include "base/settings.h"
#include "chart/chart_image_rules.h"
#include "chart/chart_loaded_rows.h"
#include "chart/chart_model.h"
#include "chart/chart_view_model.h"
#include "chart/chart_view_rules.h"
#include "chart/gui/chart_image.h"
#include "cli/cli_command.h"
#include "cli/cli_environment.h"
#include "db/sqlite_db.h"
#include "explorer/project_data.h"

namespace {

constexpr char kUsage[] =
    "Usage: velmora-cli chart ID --database PATH --output FILE [--width W] [--height H]\n"
    "                         [--start \"DD/Mon/YYYY HH:MM:SS\"] [--span MINUTES]\n"
    "  Draws the chart of recorded acquisition ID as the project chart shows it (a page of\n"
    "  MINUTES from START, default the acquisition start and 60 minutes) into FILE, whose\n"
    "  extension chooses the type: .png, .jpg or .jpeg, .bmp. The picture is W x H pixels\n"
    "  (default 1200 x 800), each rounded down to a multiple of 4.\n"
    "Exit code: 0 done, 1 failed (or no such acquisition), 2 usage error.\n";

constexpr char kPrefix[] = "velmora-cli chart: ";
constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 800;
constexpr int kMinSide = 4;
constexpr int kMaxSide = 16384;
constexpr int kMaxSpan = 40320 * 52;

int UsageError(const std::string& reason) {
  return CliUsageError(kPrefix, reason, kUsage);
}

int Failure(const std::string& reason) {
  return CliFailure(kPrefix, reason);
}

// The image type of the file's extension; empty when it has none the command writes.
std::string TypeOfFile(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".png")
    return "png";
  if (extension == ".jpg" || extension == ".jpeg")
    return "jpeg";
  if (extension == ".bmp")
    return "bmp";
  return {};
}

int RunChart(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string database, output, start, error;
  std::optional<int> width, height, span;
  const bool hasDatabase = TakeOption(args, "--database", database);
  const bool hasOutput = TakeOption(args, "--output", output);
  const bool hasStart = TakeOption(args, "--start", start);
  if (!TakeIntOption(args, "--width", kMinSide, kMaxSide, width, error) ||
      !TakeIntOption(args, "--height", kMinSide, kMaxSide, height, error) ||
      !TakeIntOption(args, "--span", 1, kMaxSpan, span, error))
    return UsageError(error);
  if (!hasDatabase || database.empty())
    return UsageError("--database PATH is needed");
  if (!hasOutput || output.empty())
    return UsageError("--output FILE is needed");
  if (args.size() != 1)
    return UsageError(args.empty() ? "the acquisition ID is needed"
                                   : "unexpected argument '" + args[1] + "'");
  int64_t id = 0;
  if (!ParseIntOption("ID", args[0], 1, INT32_MAX, id, error))
    return UsageError(error);
  const std::string type = TypeOfFile(output);
  if (type.empty())
    return UsageError("the output file needs the extension .png, .jpg, .jpeg or .bmp");
  std::optional<double> pageStart;
  if (hasStart) {
    pageStart = ParseChartTimeText(start);
    if (!pageStart)
      return UsageError("--start needs a date and time as \"DD/Mon/YYYY HH:MM:SS\"");
  }
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(database, ignored))
    return Failure("no database file at " + database);
  if (IsDatabaseFile(output, database))
    return Failure("refusing to write the chart to " + output + ": " + kDatabaseTargetCause);

  // Qt Gui for the painting only; the platform is offscreen unless one is named.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "velmora-cli";
  static char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);

  CCliEnvironment environment;
  AppContext& context = environment.Context();
  CSQLite db(context);
  db.SetPath(database);
  if (db.OpenExistingFile() != DbStatus::kOk || !db.TableExists("OPCAcq")) {
    db.Close();
    return Failure(database + " is not a Velmora database (no table OPCAcq)");
  }
  db.Close();
  CProjectData data(db, context);
  if (!data.LoadNow(static_cast<int>(id)) || !data.HasSummary())
    return Failure(Format("acquisition %lld cannot be loaded", static_cast<long long>(id)));
  const CRecordingPages& table = data.Recording();
  if (table.RowCount() < 2 && !data.DamageText().empty())
    Failure(data.DamageText());
  if (table.RowCount() < 2)
    return Failure(Format("acquisition %lld has %d row%s: nothing to chart",
                          static_cast<long long>(id), table.RowCount(),
                          table.RowCount() == 1 ? "" : "s"));

  if (span)
    settings::Write(context.settings, settings::kChartTimeSpan, *span);
  CChartModel chart;
  CChartViewModel view(context, chart);
  CLoadedTableRowSource source(table);
  view.Create();
  view.SetLiveMode(false);
  view.SetItemQuery([&db](const std::string& statement, std::vector<QueryCell>& cells) {
    return db.GetQueryData(statement, {}, cells, SqlRun().Opening().Closing());
  });
  view.SetSource(&source);
  view.SetAcquisitionId(static_cast<int>(id));
  view.SetAcquisitionPeriodMs(static_cast<uint32_t>(data.Summary().updateRate));
  view.OnShown();
  if (pageStart && !view.UpdateChart(*pageStart))
    return Failure("the page ends before the acquisition start");

  const QSize window(width.value_or(kDefaultWidth), height.value_or(kDefaultHeight));
  const QImage image = RenderChartModel(chart, window);
  if (image.isNull())
    return Failure("the chart cannot be drawn");
  if (!HasChartImageEncoder(type))
    return Failure("no " + type + " encoder");
  std::string cause;
  if (!SaveChartImage(image, output, type, cause))
    return Failure("cannot write " + output + ": " + cause);
  std::cout << Format("Chart of acquisition %lld: %d of %d rows in %d points, %dx%d, written to ",
                      static_cast<long long>(id), view.PointCount(), table.RowCount(),
                      view.DrawnPoints(), image.width(), image.height())
            << output << "\n";
  // Drawn from what could be read; rows that could not be are a failure, said on stderr.
  const std::string damage = data.DamageText();
  return damage.empty() ? kExitOk : Failure(damage);
}

const CliCommandRegistration kChartCommand(
    {"chart", "draw the chart of a recorded acquisition into an image file", kUsage, RunChart});

}  // namespace
