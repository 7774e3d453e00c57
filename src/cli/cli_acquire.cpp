// velmora-cli acquire: loads a saved project and runs the acquisition engine on it, as the
// acquisition view does, recording into the database.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/acquisition_engine.h"
#include "acquisition/acquisition_services.h"
#include "base/console_prompt.h"
#include "base/settings.h"
#include "cli/cli_command.h"
#include "cli/cli_environment.h"
#include "db/database_check.h"
#include "db/project_commands.h"
#include "db/sql_format.h"
#include "opc/opc_server.h"
#include "platform/com/guid.h"
#include "platform/sim/sim_runtime.h"

namespace {

constexpr char kUsage[] =
    "Usage: velmora-cli acquire --database PATH --project NAME [--seconds N] "
    "[--simulated-clock] [--decimals N]\n"
    "  Loads the project, acquires in continuous mode for N seconds (until Ctrl+C without\n"
    "  --seconds) and records every data set in the database. With --simulated-clock the\n"
    "  clock moves one second per tick without waiting. --decimals (0 to 5) sets the\n"
    "  decimals of analog values; --seconds goes up to 31536000 (a year).\n";

// A year of acquisition: far beyond any real run, well inside the tick counter.
constexpr int kMaxSeconds = 31536000;

std::atomic<bool> g_bInterrupted{false};

void OnInterrupt(int) {
  g_bInterrupted = true;
}

// Prints one line per data set: its time and the first values.
class CConsoleAcquisitionObserver : public IAcquisitionObserver {
 public:
  explicit CConsoleAcquisitionObserver(const CAcquisitionEngine& engine) : m_engine(engine) {}
  void OnCycle(int elapsedMs, int count, const std::string&, const std::vector<int>&) override {
    if (count <= m_nPrinted)
      return;
    m_nPrinted = count;
    DataSetPtr row = m_engine.History().Row(count - 1);
    if (!row)
      return;
    std::string line = std::string(row->TimeText());
    const int shown = std::min(row->ItemColumns(), kShownValues);
    for (int column = 1; column <= shown; ++column) {
      line += '\t';
      line += row->Cell(column);
    }
    if (row->ItemColumns() > shown)
      line += "\t...";
    std::printf("%5d  %s  (%d ms)\n", count, line.c_str(), elapsedMs);
    std::fflush(stdout);
  }

 private:
  static constexpr int kShownValues = 4;
  const CAcquisitionEngine& m_engine;
  int m_nPrinted = 0;
};

// A fake clock set to the present local time, with the machine's UTC offset.
std::unique_ptr<FakeClock> SimulatedClockFromNow() {
  SystemClock system;
  const int64_t localMs = UnixMsFromFileTime(system.LocalFileTimeNow());
  const int64_t utcMs = UnixMsFromFileTime(system.UtcFileTimeNow());
  const int offsetMinutes = static_cast<int>((localMs - utcMs + 30000) / 60000);
  return std::make_unique<FakeClock>(LocalTimeFromUnixMs(localMs), offsetMinutes);
}

// The saved project named name, or nothing.
bool FindProject(CSQLite& db, const std::string& name, ProjectChoice& choice) {
  std::vector<QueryCell> cells;
  const int columns = db.GetQueryData(
      SqlPrintf("SELECT OPCPrj_Id, OPCPrj_ServerId, OPCPrj_ServerHost, OPCPrj_ServerGuid FROM "
                "OPCPrj WHERE OPCPrj_Name = '%q' ORDER BY OPCPrj_Id DESC",
                name.c_str()),
      cells, true, true);
  if (columns != 4 || cells.size() < 4)
    return false;
  choice.m_nId = cells[0].intValue;
  choice.m_sName = name;
  choice.m_sServerId = cells[1].text;
  choice.m_sHost = cells[2].text;
  if (!GuidFromString(cells[3].text, choice.m_clsid))
    choice.m_clsid = GUID_NULL;
  return true;
}

int RunAcquire(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string database;
  std::string project;
  std::optional<int> seconds;
  std::optional<int> decimals;
  std::string error;
  TakeOption(args, "--database", database);
  TakeOption(args, "--project", project);
  if (!TakeIntOption(args, "--seconds", 1, kMaxSeconds, seconds, error) ||
      !TakeIntOption(args, "--decimals", 0, kMaxCliDecimals, decimals, error)) {
    std::cerr << "velmora-cli acquire: " << error << "\n" << kUsage;
    return 2;
  }
  const bool simulated = TakeFlag(args, "--simulated-clock");
  if (database.empty() || project.empty() || !args.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  const bool limited = seconds.has_value();

  std::unique_ptr<IClock> clock;
  FakeClock* fakeClock = nullptr;
  if (simulated) {
    auto fake = SimulatedClockFromNow();
    fakeClock = fake.get();
    clock = std::move(fake);
  } else {
    clock = std::make_unique<SystemClock>();
  }
  CStreamLogSink sink(std::cerr);
  CLog log(*clock, &sink);
  CConsolePrompt prompt(std::cerr);
  InMemorySettingsStore settings;
  if (decimals)
    settings::Write(settings, settings::kDecimalNbr, *decimals);
  AppContext context{*clock, log, prompt, settings};

  CSimRuntime& runtime = CSimRuntime::Instance();
  runtime.SetClock(clock.get());
  std::string configurationError;
  if (!runtime.LoadConfigurationFromEnvironment(&configurationError)) {
    std::cerr << "velmora-cli acquire: " << configurationError << "\n";
    return 1;
  }

  CSQLite db(context);
  if (!CheckVelmoraDatabase(db, database))
    return 1;
  ProjectChoice choice;
  if (!FindProject(db, project, choice)) {
    std::cerr << "velmora-cli acquire: no project named '" << project << "' in " << database
              << "\n";
    return 1;
  }
  int exitCode = 0;
  {
    COPCServer server(context);
    CProjectStore store(db, server);
    CProjectState state;
    if (!OpenSavedProject(store, state, choice, nullptr)) {
      std::cerr << "velmora-cli acquire: project '" << project << "' could not be loaded\n";
      return 1;
    }
    CAcquisitionEngine engine(context, server, db, MakeAcquisitionServices(server, context));
    CConsoleAcquisitionObserver observer(engine);
    engine.SetObserver(&observer);
    if (!engine.StartCommand()) {
      std::cerr << "velmora-cli acquire: the acquisition did not start\n";
      return 1;
    }
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    for (int tick = 1; (!limited || tick <= *seconds) && !g_bInterrupted; ++tick) {
      if (fakeClock != nullptr) {
        fakeClock->AdvanceMs(1000);
      } else {
        // Sleep to the next whole second, as the view's one-second timer does.
        const uint32_t ms = static_cast<uint32_t>(clock->LocalNow().millisecond);
        clock->SleepMs(1000 - ms);
      }
      engine.Tick();
      if (!engine.IsRunning()) {
        exitCode = 1;  // a failed read or a full database ended it
        break;
      }
    }
    if (engine.IsRunning())
      engine.Stop(false);
    std::printf("Acquisition %d of project '%s': %d data sets of %d items recorded in %s\n",
                engine.AcquisitionId(), project.c_str(), engine.DataSetCount(),
                engine.History().ItemColumns(), database.c_str());
  }
  runtime.SetClock(nullptr);
  return exitCode;
}

const CliCommandRegistration kAcquireCommand({
    "acquire",
    "acquire a saved project and record it in the database",
    kUsage,
    RunAcquire,
});

}  // namespace
