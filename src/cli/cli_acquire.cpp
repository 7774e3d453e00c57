// velmora-cli acquire: loads a saved project and runs the acquisition engine on it, as the
// acquisition view does, recording into the database.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/acquisition_engine.h"
#include "acquisition/acquisition_services.h"
#include "base/console_prompt.h"
#include "base/number_text.h"
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
    "[--simulated-clock] [--simulated-start YYYY-MM-DDTHH:MM:SSZ] [--decimals N] "
    "[--reconnect]\n"
    "  Loads the project, acquires in continuous mode for N seconds (until Ctrl+C without\n"
    "  --seconds) and records every data set in the database. With --simulated-clock the\n"
    "  clock moves one second per tick without waiting; --simulated-start starts it at that\n"
    "  UTC instant (local time follows TZ). --decimals (0 to 5) sets the decimals of analog\n"
    "  values; --seconds goes up to 31536000 (a year). --reconnect keeps recording through\n"
    "  a server restart. Exit 0 only when the run ended as asked with every data set\n"
    "  recorded.\n";

// A year of acquisition: far beyond any real run, well inside the tick counter.
constexpr int kMaxSeconds = 31536000;

volatile std::sig_atomic_t g_nInterruptSignal = 0;

void OnInterrupt(int signal) {
  g_nInterruptSignal = signal;
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

// "YYYY-MM-DDTHH:MM:SSZ" as milliseconds since 1970 (UTC).
bool ParseUtcInstant(const std::string& text, int64_t& unixMs) {
  // Fixed places: YYYY-MM-DDTHH:MM:SSZ, every field digits only.
  if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':' || text[19] != 'Z') {
    return false;
  }
  const auto field = [&text](size_t at, size_t length, int& value) {
    for (size_t i = at; i < at + length; ++i) {
      if (text[i] < '0' || text[i] > '9')
        return false;
    }
    const std::optional<int64_t> parsed = ParseInt64(std::string_view(text).substr(at, length));
    value = parsed ? static_cast<int>(*parsed) : -1;
    return parsed.has_value();
  };
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!field(0, 4, year) || !field(5, 2, month) || !field(8, 2, day) || !field(11, 2, hour) ||
      !field(14, 2, minute) || !field(17, 2, second) || month < 1 || month > 12 || day < 1 ||
      day > 31 || hour > 23 || minute > 59 || second > 59) {
    return false;
  }
  unixMs =
      ((DaysFromCivil(year, month, day) * 24 + hour) * 60 + minute) * 60000LL + second * 1000LL;
  return true;
}

SystemClock g_systemClock;

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
  std::string simulatedStart;
  TakeOption(args, "--simulated-start", simulatedStart);
  const bool simulated = TakeFlag(args, "--simulated-clock") || !simulatedStart.empty();
  const bool reconnect = TakeFlag(args, "--reconnect");
  if (database.empty() || project.empty() || !args.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  int64_t startUtcMs = UnixMsFromFileTime(g_systemClock.UtcFileTimeNow());
  if (!simulatedStart.empty() && !ParseUtcInstant(simulatedStart, startUtcMs)) {
    std::cerr << "velmora-cli acquire: --simulated-start needs a UTC time such as "
                 "2026-10-25T02:58:00Z\n"
              << kUsage;
    return 2;
  }
  const bool limited = seconds.has_value();

  std::unique_ptr<IClock> clock;
  ZonedFakeClock* fakeClock = nullptr;
  if (simulated) {
    auto fake = std::make_unique<ZonedFakeClock>(startUtcMs);
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
  if (reconnect)
    settings::Write(settings, settings::kReconnectOnServerLoss, 1);
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
    // A server about to go away is answered as the program does: stop, record the end.
    bool shutdownRequested = false;
    server.SetShutdownHandler([&shutdownRequested] { shutdownRequested = true; });
    CAcquisitionEngine engine(context, server, db, MakeAcquisitionServices(server, context));
    CConsoleAcquisitionObserver observer(engine);
    engine.SetObserver(&observer);
    if (!engine.StartCommand()) {
      std::cerr << "velmora-cli acquire: the acquisition did not start";
      if (!engine.StopCause().empty())
        std::cerr << ": " << engine.StopCause();
      std::cerr << "\n";
      return 1;
    }
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
#ifdef SIGHUP
    std::signal(SIGHUP, OnInterrupt);
#endif
    std::string failure;
    int tick = 1;
    for (; (!limited || tick <= *seconds) && g_nInterruptSignal == 0; ++tick) {
      if (fakeClock != nullptr) {
        fakeClock->AdvanceMs(1000);
      } else {
        // Sleep to the next whole second, as the view's one-second timer does.
        const uint32_t ms = static_cast<uint32_t>(clock->LocalNow().millisecond);
        clock->SleepMs(1000 - ms);
      }
      if (g_nInterruptSignal != 0)
        break;
      engine.Tick();
      if (shutdownRequested) {
        failure = "the OPC server asked its clients to shut down";
        break;
      }
      if (!engine.IsRunning()) {
        failure = engine.StopCause().empty() ? "the acquisition stopped" : engine.StopCause();
        break;
      }
    }
    // With --seconds, a signal cuts the run short of what was asked.
    if (g_nInterruptSignal != 0 && limited && failure.empty())
      failure = Format("interrupted by signal %d after %d of %d seconds",
                       static_cast<int>(g_nInterruptSignal), tick - 1, *seconds);
    if (engine.IsRunning()) {
      engine.Stop(false);
      if (failure.empty() && !engine.StopCause().empty())
        failure = engine.StopCause();  // the end could not be recorded
    }
    const int acquired = engine.AcquiredCount();
    const int recorded = engine.StoredCount();
    if (failure.empty() && recorded != acquired)
      failure = Format("%d acquired data set(s) are not in the database", acquired - recorded);
    std::printf(
        "Acquisition %d of project '%s': %d data sets acquired, %d recorded (%d items) in "
        "%s\n",
        engine.AcquisitionId(), project.c_str(), acquired, recorded, engine.History().ItemColumns(),
        database.c_str());
    if (engine.MissedCycles() > 0)
      std::printf("%d acquisition cycles missed while the server was away\n",
                  engine.MissedCycles());
    std::fflush(stdout);
    if (!failure.empty()) {
      std::cerr << "velmora-cli acquire: " << failure << "\n";
      exitCode = 1;
    }
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
