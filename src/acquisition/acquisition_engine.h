#pragma once
// CAcquisitionEngine: the acquisition of the data view. Driven by one base tick per
// second (the GUI's one-second timer, or the command line's loop), it orchestrates its
// parts: the window says whether a tick may acquire, the schedule which groups are due,
// the services read them, the writer builds the data set, the recorder stores it, the
// outage policy decides what a failed read means, the counts keep what was made and
// missed, the backup clock says when a backup is due. A tick never asks the user
// anything: it returns what it decided (the chart notice, the backup due, the reports
// to show) for the caller to act on once the tick is over. Start, Resume and Stop, Clear
// and the view reset live here too. Callers ask the parts themselves (read-only); only
// the backup clock's settings and marks are also set from outside.
// Thread rule: one thread (the GUI thread) calls everything; ticks never overlap.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/acquisition_counts.h"
#include "acquisition/acquisition_notice.h"
#include "acquisition/acquisition_recorder.h"
#include "acquisition/acquisition_schedule.h"
#include "acquisition/acquisition_window.h"
#include "acquisition/backup_clock.h"
#include "acquisition/data_set_writer.h"
#include "acquisition/historical_data_list.h"
#include "acquisition/outage_policy.h"
#include "acquisition/real_time_data_list.h"
#include "acquisition/stored_rows.h"
#include "base/app_context.h"

class COPCServer;
class COPCGroup;
class CSQLite;

// What the engine needs from the OPC client and the calculated items.
struct AcquisitionServices {
  std::function<bool(COPCGroup&)> readGroup;         // reads by the group's interface
  std::function<void(COPCGroup&)> updateStatistics;  // after each successful read
  // Binds the calculated items; reports an unbound symbol through the prompt. False: the
  // start is refused (after a reconnection: the server is not back).
  std::function<bool(COPCServer&, IUserPrompt&)> bindCalcItems;
  std::function<void(COPCGroup&)> evaluateCalcItems;  // after each read of the group
  // Connects again to a server that went away and re-creates the groups and items on
  // it; true when the server answers again. Used with ReconnectOnServerLoss only.
  std::function<bool(COPCServer&)> reconnect;
  // Asks whether the server still answers (after a failed read).
  std::function<bool(COPCServer&)> isServerAlive;
};

// The view (or the command line) told what the engine changed on the way; every method
// is optional and none asks the user anything.
class IAcquisitionObserver {
 public:
  virtual ~IAcquisitionObserver() = default;
  // After a cycle: its duration, the data set count, the earliest next read as
  // "%02d/%02d/%d %02d:%02d:%02d.%03d", and the rows rewritten by the interpolation.
  virtual void OnCycle(int /*elapsedMs*/, int /*dataSetCount*/,
                       const std::string& /*nextAcquisition*/,
                       const std::vector<int>& /*rewrittenRows*/) {}
  // The lists were rebuilt (Start) or emptied (Clear, reset).
  virtual void OnListsReset() {}
  // Show or hide the acquisition-time and next-acquisition fields.
  virtual void OnTimeFieldsVisible(bool /*visible*/) {}
  // Start and Stop: the mode buttons are enabled only while not acquiring.
  virtual void OnRunningChanged(bool /*running*/) {}
  // The window end was moved to start + 60 s.
  virtual void OnWindowEndAdjusted(int64_t /*windowEnd*/) {}
  // A final backup is due at a Stop outside a tick (a tick returns its backups).
  virtual void OnBackup(bool /*final*/) {}
  // Server attributes may have changed (read failure, reset).
  virtual void OnServerAttributesChanged() {}
  // The server went away and the engine tries to reconnect (true), or it is back or the
  // acquisition ended (false).
  virtual void OnReconnectingChanged(bool /*reconnecting*/) {}
};

// A backup the tick found due: automatic, or the final one of an acquisition that ended.
enum class BackupDue { kNone, kAutomatic, kFinal };

// What one base tick decided, for the caller to act on once the tick is over.
struct TickOutcome {
  bool chartUpdate = false;  // a group was read: the live chart is told, with the period
  uint32_t basePeriodMs = 0;
  BackupDue backup = BackupDue::kNone;
  std::vector<AcquisitionNotice> notices;  // reports for the user, in order
};

struct ServerAttributes {
  std::string serverId;
  std::string host;
  std::string connectionStatus;  // "Connected" / "Not Connected"
  std::string serverStatus;      // server state text when connected, else empty
};

class CAcquisitionEngine {
 public:
  CAcquisitionEngine(AppContext& context, COPCServer& server, CSQLite& db,
                     AcquisitionServices services);
  // A running acquisition is stopped: its end is recorded whatever ends the program.
  ~CAcquisitionEngine();
  CAcquisitionEngine(const CAcquisitionEngine&) = delete;
  CAcquisitionEngine& operator=(const CAcquisitionEngine&) = delete;

  // Null stands for "nobody": the engine then tells nothing to anyone.
  void SetObserver(IAcquisitionObserver* observer) {
    m_pObserver = observer != nullptr ? observer : &m_noObserver;
  }

  // ---- Commands ----
  // "Start Data Acquisition": a new acquisition. False when it did not start.
  bool StartCommand();
  // "Resume Data Acquisition": the same acquisition goes on.
  bool ResumeCommand() { return StartOrResume(false); }
  // "Stop Data Acquisition": asks through the context's prompt, then stops (final backup
  // with automatic backups on) if the acquisition still runs.
  void StopCommand();
  // "Clear OPC Data": asks through the context's prompt, then Clear.
  void ClearCommand();
  // The confirmations of Stop and Clear (Ok/Cancel), for the view to ask.
  ReportRequest StopConfirmation() const;
  ReportRequest ClearConfirmation() const;
  // Empties the history, stopping and resuming around it when acquiring.
  void Clear();
  // Stops without asking (the view's confirmed Stop, the close-project sequence, the
  // database-full path). Stop asks the observer for the final backup (a tick returns it in
  // its outcome instead).
  void Stop(bool finalBackup);
  // The view reset (view creation, project close).
  void ResetView();

  // One base tick (once per second). Its outcome must be acted on: it holds the reports
  // for the user.
  [[nodiscard]] TickOutcome Tick();

  // ---- Parts ----
  // The parts the engine orchestrates, to be asked (only the engine changes them): which
  // groups are read when, the outage and what it cost, the mode and time window, what was
  // stored, made and missed.
  const CAcquisitionSchedule& Schedule() const { return m_schedule; }
  const COutagePolicy& Outage() const { return m_outage; }
  const CAcquisitionWindow& Window() const { return m_window; }
  const CStoredRows& Stored() const { return m_stored; }
  const CAcquisitionCounts& Counts() const { return m_counts; }
  // The backup clock is also set from outside (its frequency and type, the next backup
  // time, the next row to save), which the engine does not react to; it restarts the
  // clock itself at Start, Resume, the opening of the window and the view reset.
  const CBackupClock& BackupClock() const { return m_backupClock; }
  CBackupClock& BackupClock() { return m_backupClock; }

  // ---- Settings ----
  // "Data Acquisition Mode": logged.
  void SetMode(AcquisitionMode mode);
  // Window of the time-controlled mode, seconds since 1970. Set here and not through the
  // window part, which also holds the mode (changed by SetMode only, since it is logged).
  void SetWindow(int64_t start, int64_t end) { m_window.Set(start, end); }
  // "Number of Decimals (Analog Values): " — written to the settings and logged.
  void SetDecimals(int decimals);
  int Decimals() const { return m_nDecimals; }
  // Keep recording through a server restart instead of stopping (setting
  // ReconnectOnServerLoss). Set here: the rest of the outage policy is the engine's own.
  void SetReconnectOnServerLoss(bool on) { m_outage.SetReconnectOnServerLoss(on); }
  // Newest data sets the history keeps in memory beyond those the acquisition may still
  // rewrite (older ones are read back from the recording); taken at Start and Resume.
  void SetHistoryDisplayRows(int rows) { m_nHistoryDisplayRows = rows; }

  // ---- State ----
  bool IsRunning() const { return m_bRunning; }
  // Why the last acquisition ended or did not start, when it was not a command: a
  // refused start, a failed read or write, a vanished database. Empty otherwise.
  const std::string& StopCause() const { return m_sStopCause; }
  // Cycles missed over the acquisition: while the server was away, and those whose data
  // set could not be stored in time (the database locked by another program, or a cycle
  // that ended so late that the next ones never ran).
  int MissedCycles() const { return m_outage.ServerAwayCycles() + m_counts.DatabaseMissed(); }
  // An acquisition acquired data and the configuration has not changed since.
  bool IsResumeAllowed() const;
  bool IsServerConnected() const;
  // Data was acquired since the last view reset or the last successful backup.
  bool HasAcquiredData() const { return m_bAcquiredData; }
  void ClearAcquiredData() { m_bAcquiredData = false; }
  int AcquisitionId() const { return m_nAcquisitionId; }
  int DataSetCount() const { return m_nDataSetCount; }
  int64_t AcquisitionStart() const { return m_nAcquisitionStart; }
  // Rows no group will rewrite any more: a group slower than the acquisition may still
  // interpolate the rows after the last one it wrote. A backup taken while acquiring ends
  // there, so that it never keeps a cell the interpolation fills later.
  int SettledRowCount() const;
  // The database file the acquisition is recorded in.
  const std::string& DatabasePath() const;
  const HistoricalDataList& History() const { return m_history; }
  const RealTimeDataList& RealTime() const { return m_realTime; }
  // Headings of the item columns by TagDisplayType (0 qualified, 1 short, 2 description).
  std::vector<std::string> ItemHeadings(int tagDisplayType) const;
  ServerAttributes Attributes() const;

 private:
  // Start (a new acquisition) or Resume (the same one goes on). False when it did not.
  bool StartOrResume(bool start);
  // One acquisition cycle; true when a group was read.
  bool RunCycle();
  // Reads one due group into the data set; false when the read failed.
  bool ReadGroupIntoDataSet(COPCGroup& group, int index, int columnOffset, bool firstRead,
                            std::vector<int>& rewritten, int64_t& earliestNextMs);
  // Holds or empties the cells of the inactive groups in the new data set.
  void FillInactiveGroups();
  // Stores a data set (inserted the first time, updated by its id after). False when it
  // could not be written: the acquisition is then stopped at the end of the tick.
  bool StoreRow(int row);
  // A write failed: the report, and the acquisition stops after this cycle.
  void FailRecording(const std::string& heading, const std::string& cause);
  // The report of a failure that ends or refuses an acquisition; keeps its cause and logs.
  ReportRequest RecordingFailureReport(const char* title, const std::string& heading,
                                       const std::string& explanation, const std::string& cause);
  // The cycle's database: the existing file only. False when the cycle must not read.
  bool OpenCycleDatabase();
  // The file or the acquisition's row is not what the acquisition wrote into: stop, and
  // count only what the file now at the path holds.
  void FailFile(const std::string& heading);
  // Cycles that could not be stored in time: counted and logged with the reason.
  void CountMissed(int cycles, const std::string& why);
  // A failed read: the server is gone (reconnect when asked) or the acquisition stops.
  void OnReadFailed(COPCGroup& group, bool rowStarted);
  // While the server is away: counts the missed cycles and tries to reconnect when due.
  // True when it is back (the tick then reads as usual).
  bool TickWhileReconnecting(int64_t now);
  // Time-controlled mode: false when the tick must not acquire (before or after the
  // window; after it the acquisition stops, its final backup in the outcome).
  bool InsideWindow(int64_t now, TickOutcome& outcome);
  // Every group's schedule for a new acquisition: read at the first cycle, period, row.
  void ResetSchedule();
  // The history keeps a bounded window and reads older rows back from the recording.
  void AttachRecording();

  AppContext& m_context;
  COPCServer& m_server;
  CSQLite& m_db;
  AcquisitionServices m_services;
  IAcquisitionObserver* m_pObserver = nullptr;
  IAcquisitionObserver m_noObserver;

  HistoricalDataList m_history;
  RealTimeDataList m_realTime;
  CDataSetWriter m_writer{m_history, m_realTime};
  CAcquisitionRecorder m_recorder;
  CAcquisitionSchedule m_schedule;
  COutagePolicy m_outage;
  CBackupClock m_backupClock;
  CAcquisitionWindow m_window;
  CStoredRows m_stored;
  CAcquisitionCounts m_counts;
  // The reports of the running tick, handed back with its outcome.
  std::vector<AcquisitionNotice> m_notices;

  std::string m_sStopCause;
  bool m_bRecordingFailed = false;  // a write failed in this cycle: no more writes
  int64_t m_nAcquisitionStart = 0;
  bool m_bFirstDataSetPending = false;
  bool m_bStopRequested = false;
  bool m_bRunning = false;
  bool m_bAcquiredData = false;
  // Data was acquired on the configuration of that revision (none: nothing to resume).
  std::optional<uint64_t> m_nResumableRevision;
  int m_nDataSetCount = 0;
  int m_nAcquisitionId = -1;
  int m_nDecimals = 2;
  int m_nHistoryDisplayRows = 2048;
};
