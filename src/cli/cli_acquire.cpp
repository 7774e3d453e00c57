// velmora-cli acquire: loads a saved project and runs the acquisition engine on it, as the
// acquisition view does, recording into the database.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/acquisition_engine.h"
#include "acquisition/acquisition_services.h"
#include "acquisition/backup_coordinator.h"
#include "base/console_prompt.h"
#include "base/number_text.h"
#include "base/settings.h"
#include "cli/cli_command.h"
#include "cli/cli_environment.h"
#include "cli/cli_forward.h"
#include "db/database_check.h"
#include "db/project_commands.h"
#include "db/project_rows.h"
#include "opc/opc_server.h"
#include "platform/com/creation.h"
#include "platform/com/guid.h"
#include "platform/sim/sim_runtime.h"

#ifdef _WIN32
#include "platform/win/win_sys_console.h"
#endif

namespace {

constexpr char kUsage[] =
    "Usage: velmora-cli acquire --database PATH --project NAME [--seconds N] "
    "[--simulated-clock] [--simulated-start YYYY-MM-DDTHH:MM:SSZ] [--decimals N] "
    "[--reconnect] [--backup-every MINUTES --backup-folder DIR [--backup-root NAME]\n"
    "  [--backup-type full|incremental] [--separator ';'|','|tab]] [--forward URL]\n"
    "  Loads the project, acquires in continuous mode for N seconds (until Ctrl+C without\n"
    "  --seconds) and records every data set in the database. With --simulated-clock the\n"
    "  clock moves one second per tick without waiting; --simulated-start starts it at that\n"
    "  UTC instant (local time follows TZ). --decimals (0 to 5) sets the decimals of analog\n"
    "  values; --seconds goes up to 31536000 (a year). --reconnect keeps recording through\n"
    "  a server restart. The database must exist (velmora-cli db init creates one); while\n"
    "  the run records, other programs see it through DATABASE.lock and cannot delete or\n"
    "  repair the acquisition. Exit 0 only when the run ended as asked with every data set\n"
    "  recorded and no cycle missed for another program's lock or a server still away at\n"
    "  the end (the summary then says \"K cycles missed\" and the log when and why).\n"
    "  --backup-every writes a CSV backup of the acquired data every MINUTES (1 to 1440) into\n"
    "  DIR, named ROOT_dd_Mon_yyyy_hh_mm_ss.csv (ROOT: --backup-root, else the project name),\n"
    "  and a final one at the end; incremental (the default) writes the data sets since the\n"
    "  last backup, full all of them. A failed backup fails the run.\n"
    "  --forward sends every recorded data set to the PostgreSQL that URL names (such as\n"
    "  postgresql://user@host/db) while the run records; the recording never waits for it.\n"
    "  At the end it has up to 10 s to catch up; data sets still waiting fail the run\n"
    "  (velmora-cli acquisitions push sends them later).\n";

// The end of a forwarded run gives the forwarder this long to catch up.
constexpr int kForwardCatchUpMs = 10000;

constexpr int kMaxBackupMinutes = 1440;

// A year of acquisition: far beyond any real run, well inside the tick counter.
constexpr int kMaxSeconds = 31536000;

volatile std::sig_atomic_t g_nInterruptSignal = 0;
// Set once the run ends: the end of the acquisition then waits for a lock as usual.
bool g_bEnding = false;

void OnInterrupt(int signal) {
  g_nInterruptSignal = signal;
}

// Prints one line per data set: its time and the first values; hands the backups on.
class CConsoleAcquisitionObserver : public IAcquisitionObserver {
 public:
  explicit CConsoleAcquisitionObserver(const CAcquisitionEngine& engine) : m_engine(engine) {}
  void SetBackups(CBackupCoordinator* backups) { m_pBackups = backups; }
  void OnBackup(bool final) override {
    if (m_pBackups != nullptr)
      m_pBackups->OnBackup(final);
  }
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
  CBackupCoordinator* m_pBackups = nullptr;
  int m_nPrinted = 0;
};

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// "YYYY-MM-DDTHH:MM:SSZ" as milliseconds since 1970 (UTC); only dates of the calendar.
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
      !field(14, 2, minute) || !field(17, 2, second) || year < 1 || month < 1 || month > 12 ||
      day < 1 || day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 59) {
    return false;
  }
  unixMs =
      ((DaysFromCivil(year, month, day) * 24 + hour) * 60 + minute) * 60000LL + second * 1000LL;
  return true;
}

SystemClock g_systemClock;

// The backup options; false (usage error) when they do not fit together.
bool TakeBackupOptions(std::vector<std::string>& args, std::optional<int>& minutes,
                       BackupSettings& backup, std::string& error) {
  if (!TakeIntOption(args, "--backup-every", 1, kMaxBackupMinutes, minutes, error))
    return false;
  const bool folder = TakeOption(args, "--backup-folder", backup.path);
  const bool root = TakeOption(args, "--backup-root", backup.nameRoot);
  std::string type;
  std::string separator;
  const bool typed = TakeOption(args, "--backup-type", type);
  const bool separated = TakeOption(args, "--separator", separator);
  if (!minutes) {
    if (folder || root || typed || separated) {
      error = "the backup options need --backup-every";
      return false;
    }
    return true;
  }
  if (!folder || backup.path.empty()) {
    error = "--backup-every needs --backup-folder";
    return false;
  }
  if (root && ReducedNameRoot(backup.nameRoot).empty()) {
    error = "--backup-root needs a name";
    return false;
  }
  backup.nameRoot = ReducedNameRoot(backup.nameRoot);
  if (typed && type != "full" && type != "incremental") {
    error = "--backup-type is full or incremental";
    return false;
  }
  backup.type = type == "full" ? kFullBackup : kIncrementalBackup;
  if (separated) {
    if (separator == ";" || separator == ",")
      backup.separator = separator[0];
    else if (separator == "tab" || separator == "\t")
      backup.separator = '\t';
    else {
      error = "--separator is ';', ',' or tab";
      return false;
    }
  }
  backup.frequency = *minutes;
  return true;
}

// The saved project named name, or nothing.
bool FindProject(CSQLite& db, const std::string& name, ProjectChoice& choice) {
  const DbResult<ProjectHead> head =
      CProjectRows(db).LatestHead(name, SqlRun().Opening().Closing());
  if (!head)
    return false;
  choice.m_nId = static_cast<int>(head.Value().id);
  choice.m_sName = name;
  choice.m_sServerId = head.Value().serverId;
  choice.m_sHost = head.Value().host;
  if (!GuidFromString(head.Value().classIdText, choice.m_clsid))
    choice.m_clsid = GUID_NULL;
  return true;
}

// COM for the command's thread (on Windows the system's, which refuses creation without it).
class CComSession {
 public:
  CComSession() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~CComSession() { CoUninitialize(); }
  CComSession(const CComSession&) = delete;
  CComSession& operator=(const CComSession&) = delete;
};

int RunAcquire(const std::vector<std::string>& arguments) {
  const CComSession com;
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
  std::string forwardUrl;
  const bool forward = TakeOption(args, "--forward", forwardUrl);
  if (forward && forwardUrl.empty()) {
    std::cerr << "velmora-cli acquire: --forward needs a PostgreSQL URL\n" << kUsage;
    return 2;
  }
  if (forward && !CliForwardingAvailable()) {
    std::cerr << "velmora-cli acquire: " << kForwardingUnavailable << "\n";
    return 2;
  }
  std::optional<int> backupMinutes;
  BackupSettings backup;
  if (!TakeBackupOptions(args, backupMinutes, backup, error)) {
    std::cerr << "velmora-cli acquire: " << error << "\n" << kUsage;
    return 2;
  }
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

  // Every other command refuses a missing file: a mistyped path must not become a new,
  // empty database that the recording goes into unseen.
  std::error_code missing;
  if (!std::filesystem::exists(database, missing)) {
    std::cerr << "velmora-cli acquire: no database file at " << database
              << " (velmora-cli db init --database PATH creates one)\n";
    return 1;
  }
  CSQLite db(context);
  // A signal ends a wait for another program's lock at once (the end of the acquisition
  // is still recorded: it waits as usual).
  db.SetWaitInterrupt([] { return g_nInterruptSignal != 0 && !g_bEnding; });
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
    // Backups are written by the same workers as in the view, one at a time: each one is
    // waited for and reported before the next tick.
    CBackupCoordinator backups(context, engine);
    if (backupMinutes) {
      if (backup.nameRoot.empty())
        backup.nameRoot = ReducedNameRoot(project);
      backups.SetSettings(backup);
      observer.SetBackups(&backups);
    }
    const auto reportBackups = [&backups] {
      backups.WaitForWorkers();
      backups.Poll();
    };
#ifdef _WIN32
    // Ctrl+C, Ctrl+Break and closing the console stop the run as SIGINT/SIGTERM do.
    winconsole::OnConsoleStop(OnInterrupt);
#else
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
#ifdef SIGHUP
    std::signal(SIGHUP, OnInterrupt);
#endif
#endif
    if (!engine.StartCommand()) {
      std::cerr << "velmora-cli acquire: the acquisition did not start";
      if (!engine.StopCause().empty())
        std::cerr << ": " << engine.StopCause();
      std::cerr << "\n";
      return 1;
    }
    // The forwarder reads the recording back on its own thread: the cycle never waits.
    CCliForwarding forwarding;
    if (forward)
      forwarding.Start(database, forwardUrl, engine.AcquisitionId(), project);
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
      const TickOutcome outcome = engine.Tick();
      ShowNotices(prompt, outcome.notices);
      if (outcome.backup != BackupDue::kNone)
        observer.OnBackup(outcome.backup == BackupDue::kFinal);
      reportBackups();
      if (forward)
        forwarding.Poll(log, engine.History().Count() - engine.SettledRowCount());
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
    g_bEnding = true;
    if (engine.IsRunning()) {
      engine.Stop(backupMinutes.has_value());  // the final backup
      if (failure.empty() && !engine.StopCause().empty())
        failure = engine.StopCause();  // the end could not be recorded
    } else if (backupMinutes) {
      // The acquisition stopped on its own (a failure): its data still gets its backup.
      backups.SaveAutomatic();
    }
    reportBackups();
    const int acquired = engine.Counts().Acquired();
    const int recorded = engine.Stored().Count();
    if (failure.empty() && recorded != acquired)
      failure = Format("%d acquired data set(s) are not in the database", acquired - recorded);
    const int missed = engine.MissedCycles();
    const std::string missedText = missed > 0 ? Format(", %d cycles missed", missed) : "";
    std::printf(
        "Acquisition %d of project '%s': %d data sets acquired, %d recorded%s (%d items) in "
        "%s\n",
        engine.AcquisitionId(), project.c_str(), acquired, recorded, missedText.c_str(),
        engine.History().ItemColumns(), database.c_str());
    if (backupMinutes) {
      std::printf("Backups: %d written to %s, %d failed\n", backups.SavesDone(),
                  backup.path.c_str(), backups.SavesFailed());
      if (failure.empty() && backups.SavesFailed() > 0)
        failure = Format("%d backup(s) failed, the last to %s", backups.SavesFailed(),
                         backups.LastFailedSavePath().c_str());
    }
    if (engine.Outage().ServerAwayCycles() > 0)
      std::printf("%d acquisition cycles missed while the server was away%s\n",
                  engine.Outage().ServerAwayCycles(),
                  engine.Outage().EndedInOutage() ? " (still away at the end)" : "");
    if (engine.Counts().DatabaseMissed() > 0)
      std::printf("%d acquisition cycles not stored in time (the log says when and why)\n",
                  engine.Counts().DatabaseMissed());
    if (failure.empty() && engine.Outage().EndedInOutage())
      failure = Format("the OPC server was still away at the end: %d acquisition cycles missed",
                       engine.Outage().ServerAwayCycles());
    if (failure.empty() && engine.Counts().DatabaseMissed() > 0)
      failure = Format("%d acquisition cycles could not be stored in time",
                       engine.Counts().DatabaseMissed());
    if (forward) {
      forwarding.Finish(log, kForwardCatchUpMs);
      const int64_t waiting = forwarding.Waiting();
      std::printf("Forwarded to PostgreSQL: %lld forwarded",
                  static_cast<long long>(forwarding.Forwarded()));
      if (waiting != 0)
        std::printf(", %s waiting to be forwarded",
                    waiting > 0 ? std::to_string(waiting).c_str() : "an unknown number");
      std::printf("\n");
      const std::string cause = forwarding.LastFailure();
      if (failure.empty() && waiting != 0)
        failure = (waiting > 0 ? Format("%lld data set(s) wait", static_cast<long long>(waiting))
                               : std::string("data sets may wait")) +
                  " to be forwarded to PostgreSQL" + (cause.empty() ? "" : " (" + cause + ")") +
                  "; velmora-cli acquisitions push sends them";
    }
    std::fflush(stdout);
    if (!failure.empty()) {
      std::cerr << "velmora-cli acquire: " << failure << "\n";
      exitCode = 1;
    }
#ifdef _WIN32
    winconsole::FinishStop();  // a closing console may end the process now
#endif
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
