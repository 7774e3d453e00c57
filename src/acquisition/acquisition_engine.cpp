#include "acquisition/acquisition_engine.h"

#include <algorithm>
#include <filesystem>

#include "acquisition/recorded_snapshot.h"
#include "base/report.h"
#include "base/settings.h"
#include "db/sqlite_db.h"
#include "opc/opc_group.h"
#include "opc/opc_server.h"

namespace {

constexpr char kServerLost[] = "Connection to Server has been lost !!! End of Job ...";
constexpr char kOpenFailed[] = "Error Opening Database ... Data won't be stored !!! ";
constexpr char kStarted[] = "Data Acquistion Started";
constexpr char kResumed[] = "Data Acquistion Resumed";
constexpr char kStopped[] = "Data Acquistion Stopped";
constexpr char kClearing[] = "Clearing Historical Data ....";
constexpr char kConfirmationTitle[] = "Confirmation Request";
constexpr char kReadErrorTitle[] = "OPC Data Read Error";
constexpr char kStartErrorTitle[] = "Data Acquisition Start Error";
constexpr char kStorageErrorTitle[] = "OPC Data Storage Error";
constexpr char kRebindFailed[] = "the calculated items could not be bound again after reconnection";
constexpr char kNotStoredInTime[] =
    "the data set of %s could not be stored in time: the Velmora Database is locked by another "
    "program";
constexpr char kNotOpenable[] = "the Velmora Database could not be opened: %s";
constexpr char kReplacedHeading[] = "Velmora Database Replaced During Data Acquisition !!!";
constexpr char kDeletedHeading[] = "Velmora Project Deleted During Data Acquisition !!!";
constexpr char kEndNotRecorded[] = "the end of the acquisition could not be recorded: %s";

// A multi-line message as one line, for the cause kept with the stop.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\n' || c == '\r')
      c = ' ';
    if (c == ' ' && (line.empty() || line.back() == ' '))
      continue;
    line += c;
  }
  while (!line.empty() && line.back() == ' ')
    line.pop_back();
  return line;
}

// The local time of day "hh:mm:ss" (the outage and missed-cycle lines).
std::string TimeOfDayText(IClock& clock) {
  const LocalTime local = clock.LocalNow();
  return Format("%02d:%02d:%02d", local.hour, local.minute, local.second);
}

void Pause(IClock& clock, uint32_t ms) {
  clock.SleepMs(ms);
}

}  // namespace

CAcquisitionEngine::CAcquisitionEngine(AppContext& context, COPCServer& server, CSQLite& db,
                                       AcquisitionServices services)
    : m_context(context),
      m_server(server),
      m_db(db),
      m_services(std::move(services)),
      m_recorder(db) {
  m_pObserver = &m_noObserver;
  m_nDecimals = settings::Read(context.settings, settings::kDecimalNbr);
  m_outage.SetReconnectOnServerLoss(
      settings::Read(context.settings, settings::kReconnectOnServerLoss) == 1);
}

CAcquisitionEngine::~CAcquisitionEngine() {
  m_pObserver = &m_noObserver;  // the views may be gone already
  if (m_bRunning)
    Stop(false);
}

bool CAcquisitionEngine::IsServerConnected() const {
  return m_server.IsConnected();
}

bool CAcquisitionEngine::IsResumeAllowed() const {
  return m_nResumableRevision == m_server.ConfigurationRevision();
}

void CAcquisitionEngine::ResetSchedule() {
  std::vector<uint32_t> rates;
  for (int g = 0; g < m_server.GroupCount(); ++g) {
    COPCGroup& group = *m_server.Group(g);
    group.ResetStatistics();
    rates.push_back(group.UpdateRate());
  }
  m_schedule.Reset(rates);
}

bool CAcquisitionEngine::StartCommand() {
  m_nAcquisitionId = -1;
  return StartOrResume(true);
}

bool CAcquisitionEngine::StartOrResume(bool start) {
  if (!m_server.IsAlive()) {
    m_context.prompt.ShowMessage(kServerLost, MessageButtons::kOk, MessageIcon::kWarning);
    return false;
  }
  if (m_window.EnforceShortest())
    m_pObserver->OnWindowEndAdjusted(m_window.End());
  // A start refused by the binding keeps the previous acquisition's lists and records
  // nothing (no empty acquisition in the database).
  if (start && m_services.bindCalcItems && !m_services.bindCalcItems(m_server, m_context.prompt))
    return false;
  // Start writes the acquisition's row and snapshot; Resume checks that the row is still
  // there. Data with nowhere to go is never acquired.
  int acquisitionId = start ? -1 : m_nAcquisitionId;
  if (!m_recorder.RecordStart(SnapshotOf(m_server), acquisitionId)) {
    m_context.prompt.ShowReport(RecordingFailureReport(
        kStartErrorTitle, "Data Acquisition cannot be Recorded !!!",
        start ? "Data Acquisition is not started ..." : "Data Acquisition is not resumed ...",
        m_recorder.LastFailure().message));
    return false;
  }
  m_nAcquisitionId = acquisitionId;
  m_sStopCause.clear();

  if (start) {
    m_writer.Rebuild(m_server);
    m_stored.Restart();
    m_nDataSetCount = 0;
    m_counts.Restart();
    m_pObserver->OnListsReset();
    ResetSchedule();
  }
  AttachRecording();

  m_pObserver->OnTimeFieldsVisible(true);
  m_pObserver->OnRunningChanged(true);
  const int64_t now = m_context.clock.SecondsSince1970();
  m_nAcquisitionStart = now;
  m_backupClock.Restart(now);
  m_backupClock.RestartRows();
  m_bFirstDataSetPending = true;
  m_bStopRequested = false;
  m_outage.OnAcquisitionStart(start);
  m_schedule.RestartTickCount();

  const char* what = start ? kStarted : kResumed;
  if (m_backupClock.IsAutomatic()) {
    m_context.log.Log(Format("%s - %s - Frequency: %d Min.", what,
                             m_backupClock.Type() == 1 ? "Incremental Backup" : "Full Backup",
                             m_backupClock.Frequency()),
                      kLogDataAcquisition);
  } else {
    m_context.log.Log(Format("%s - No Automatic Backup of OPC Data", what), kLogDataAcquisition);
  }
  m_bRunning = true;
  return true;
}

ReportRequest CAcquisitionEngine::StopConfirmation() const {
  CReportBuilder report;
  report.RequestHeading("Request for Data Acquisition Stop")
      .Raw(
          " \\par\\par \\fs18 OPC Server Connection is {\\bStill} alive after Data Acquisition "
          "is stopped ... \\par")
      .Raw(
          "\\par To disconnect from the OPC Server, you need to {\\b close the project ...} "
          "\\par")
      .Detail("Server Id", m_server.ServerId())
      .Detail("OPC Server Host", m_server.Host())
      .Closing("Please Confirm Data Acquisition Stop");
  return report.Request(kConfirmationTitle, kReportOkCancel);
}

void CAcquisitionEngine::StopCommand() {
  if (m_context.prompt.ShowReport(StopConfirmation()) == ReportAnswer::kSecondButton)
    return;
  // The acquisition may have ended while the question was open.
  if (IsRunning())
    Stop(m_backupClock.IsAutomatic());
}

void CAcquisitionEngine::Stop(bool finalBackup) {
  m_bRunning = false;
  m_window.Close();
  if (m_outage.IsReconnecting()) {
    // The outage goes on: its missed cycles count as much as those of one that ended.
    m_context.log.Log(
        m_outage.EndAtStop(m_context.clock.SecondsSince1970(), TimeOfDayText(m_context.clock)),
        kLogDataAcquisition);
    m_pObserver->OnReconnectingChanged(false);
  }
  m_nDataSetCount = m_history.Count();
  if (m_nAcquisitionId != -1) {
    // The count and the last time are those of what is in the database.
    if (!m_recorder.RecordEnd(m_nAcquisitionId, m_stored.LastTime(), m_stored.Count()) &&
        m_sStopCause.empty()) {
      m_sStopCause = Format(kEndNotRecorded, m_recorder.LastFailure().message.c_str());
    }
  }
  m_pObserver->OnTimeFieldsVisible(false);
  if (finalBackup)
    m_pObserver->OnBackup(true);
  m_pObserver->OnRunningChanged(false);
  m_context.log.Log(kStopped, kLogDataAcquisition);
}

ReportRequest CAcquisitionEngine::ClearConfirmation() const {
  CReportBuilder report;
  report.RequestHeading("Request for Historical Data Clear")
      .Explanation("Historical Data will be lost !!!")
      .Detail("Server Id", m_server.ServerId())
      .Detail("OPC Server Host", m_server.Host());
  if (IsRunning()) {
    report.Raw(
        "\\par Data Acquisition will be stopped during Data Clear and Then Resume "
        "Automatically");
  }
  report.Closing("Please Confirm Data Clear ?");
  return report.Request(kConfirmationTitle, kReportOkCancel);
}

void CAcquisitionEngine::ClearCommand() {
  if (m_context.prompt.ShowReport(ClearConfirmation()) == ReportAnswer::kSecondButton)
    return;
  Clear();
}

void CAcquisitionEngine::Clear() {
  const bool running = IsRunning();
  if (running) {
    Stop(false);
    Pause(m_context.clock, 500);
  }
  m_context.log.Log(kClearing, kLogDataAcquisition);
  m_history.Clear();
  m_nDataSetCount = 0;
  m_schedule.ForgetRows();  // the rows a group wrote are gone
  m_pObserver->OnListsReset();
  Pause(m_context.clock, 500);
  if (running)
    StartOrResume(false);
}

void CAcquisitionEngine::AttachRecording() {
  // The rows a group may still interpolate (its period in base ticks) and a screenful or
  // more for display stay in memory; older ones are read back from the recording.
  uint32_t slowest = 1;
  for (int g = 0; g < m_server.GroupCount(); ++g)
    slowest = std::max(slowest, m_schedule.Period(g));
  m_history.SetRecording(std::make_shared<CRecordedRowReader>(m_db.Path(), m_nAcquisitionId),
                         static_cast<int>(slowest) + 2 + m_nHistoryDisplayRows);
}

void CAcquisitionEngine::ResetView() {
  const uint32_t startTick = m_context.clock.TickCount();
  const int rows = m_history.Count();
  m_context.log.Log(kClearing, kLogDataAcquisition);
  m_history.Reset(0);
  m_realTime.Clear();
  m_nDataSetCount = 0;
  m_bFirstDataSetPending = false;
  m_backupClock.RestartRows();
  m_pObserver->OnListsReset();
  m_pObserver->OnTimeFieldsVisible(false);
  if (rows >= 5) {
    m_context.log.Log(Format("Clear Data Terminated ... %d Data Set Cleared in %d ms", rows,
                             static_cast<int>(m_context.clock.TickCount() - startTick)),
                      kLogDataAcquisition);
  }
  m_bAcquiredData = false;
  m_backupClock.Set(0, m_backupClock.Type());
  m_pObserver->OnServerAttributesChanged();
}

int CAcquisitionEngine::SettledRowCount() const {
  return m_schedule.SettledRowCount(m_history.Count());
}

const std::string& CAcquisitionEngine::DatabasePath() const {
  return m_db.Path();
}

bool CAcquisitionEngine::InsideWindow(int64_t now, TickOutcome& outcome) {
  switch (m_window.Place(now)) {
    case WindowPlace::kAcquire:
      return true;
    case WindowPlace::kOpening:
      m_nAcquisitionStart = now;
      m_backupClock.Restart(now);
      m_pObserver->OnTimeFieldsVisible(true);
      return true;
    case WindowPlace::kBefore:
      m_pObserver->OnTimeFieldsVisible(false);
      return false;
    case WindowPlace::kAfter:
      m_pObserver->OnTimeFieldsVisible(false);
      Stop(false);
      if (m_backupClock.IsAutomatic())
        outcome.backup = BackupDue::kFinal;
      return false;
  }
  return false;
}

TickOutcome CAcquisitionEngine::Tick() {
  TickOutcome outcome;
  if (!IsRunning())
    return outcome;
  const int64_t now = m_context.clock.SecondsSince1970();
  if (!InsideWindow(now, outcome))
    return outcome;
  if (!m_outage.IsReconnecting()) {
    // Ticks that never ran since the previous cycle (it ended seconds late).
    const SkippedTicks skipped = m_schedule.CountSkipped(now, m_db.BusyWaitedMs());
    if (skipped.ticks > 0)
      CountMissed(skipped.ticks, CAcquisitionCounts::LateReason(skipped));
  }
  if ((!m_outage.IsReconnecting() || TickWhileReconnecting(now)) && RunCycle()) {
    outcome.chartUpdate = true;
    outcome.basePeriodMs = m_schedule.BasePeriodMs();
  }
  outcome.notices = std::move(m_notices);
  m_notices.clear();
  if (m_bStopRequested) {
    m_bStopRequested = false;
    Stop(false);
    return outcome;
  }
  if (m_backupClock.Due(now))
    outcome.backup = BackupDue::kAutomatic;
  return outcome;
}

ReportRequest CAcquisitionEngine::RecordingFailureReport(const char* title,
                                                         const std::string& heading,
                                                         const std::string& explanation,
                                                         const std::string& cause) {
  m_sStopCause = cause + " (" + m_db.Path() + ")";
  m_context.log.Log(
      Format("%s Cause: %s ... Database: %s", heading.c_str(), cause.c_str(), m_db.Path().c_str()),
      kLogDataAcquisition);
  CReportBuilder report;
  report.ErrorHeading(heading)
      .Explanation(explanation)
      .Detail("Database", m_db.Path())
      .Detail("Cause", cause)
      .Closing("Please Check the Velmora Database");
  return report.Request(title);
}

void CAcquisitionEngine::FailRecording(const std::string& heading, const std::string& cause) {
  m_bRecordingFailed = true;
  m_bStopRequested = true;
  AcquisitionNotice notice;
  notice.report = RecordingFailureReport(
      kStorageErrorTitle, heading,
      "Data Acquisition is stopped ... The Data Already Stored are Kept", cause);
  m_notices.push_back(std::move(notice));
}

bool CAcquisitionEngine::StoreRow(int row) {
  if (m_bRecordingFailed)
    return false;
  // Only rows in memory are written: an older one is in the recording as it stays.
  DataSetPtr data = m_history.InMemory(row) ? m_history.Row(row) : nullptr;
  if (!data || m_nAcquisitionId == -1)
    return false;
  int64_t rowId = m_history.RowId(row);
  const bool isNew = rowId == kNoDataRowId;
  switch (m_recorder.StoreDataSet(m_nAcquisitionId, IsRunning(), *data, rowId)) {
    case StoreResult::kStored:
      m_history.SetRowId(row, rowId);
      if (isNew)
        m_stored.Inserted(data->TimeText());
      return true;
    case StoreResult::kNotStored:
      return false;
    case StoreResult::kLocked:
      CountMissed(1, Format(kNotStoredInTime, std::string(data->TimeText()).c_str()));
      return false;
    case StoreResult::kFailed:
      FailRecording("Critical Error Occurred in Storing OPC Data !!!",
                    m_recorder.LastFailure().message);
      return false;
  }
  return false;
}

bool CAcquisitionEngine::OpenCycleDatabase() {
  switch (m_recorder.OpenForCycle(m_nAcquisitionId)) {
    case CycleOpen::kOpen:
      return true;
    case CycleOpen::kVanished:
      // Moved or deleted while acquiring: what would be acquired has nowhere to go.
      FailRecording("Velmora Database Not Found !!!", m_recorder.LastFailure().message);
      return false;
    case CycleOpen::kReplaced:
      FailFile(kReplacedHeading);
      return false;
    case CycleOpen::kAcquisitionGone:
      FailFile(kDeletedHeading);
      return false;
    case CycleOpen::kNotNow:
      break;
  }
  // Not openable for now: tried again at the next tick; this cycle reads nothing.
  m_context.log.Log(kOpenFailed, kLogOpcServer);
  CountMissed(1, Format(kNotOpenable, m_recorder.LastFailure().message.c_str()));
  return false;
}

void CAcquisitionEngine::FailFile(const std::string& heading) {
  const std::string cause = m_recorder.LastFailure().message;
  const std::vector<StoredRow> rows = m_history.StoredRowsInMemory();
  const std::vector<StoredRun> runs = m_history.StoredRunsOutOfMemory();
  int recorded = static_cast<int>(rows.size());
  for (const StoredRun& run : runs)
    recorded += run.count;
  // The summary counts what the file at the path holds, not what went into the old one.
  const int still = m_recorder.CountRowsStillStored(m_nAcquisitionId, rows);
  const int older = m_recorder.CountRunsStillStored(m_nAcquisitionId, runs);
  m_stored.SetCount((still > 0 ? still : 0) + (older > 0 ? older : 0));
  m_bRecordingFailed = true;
  m_bStopRequested = true;
  AcquisitionNotice notice;
  notice.report = RecordingFailureReport(
      kStorageErrorTitle, heading,
      Format("Data Acquisition is stopped ... %d of the %d Data Sets Recorded are in the File "
             "Now There",
             m_stored.Count(), recorded),
      cause);
  m_notices.push_back(std::move(notice));
}

void CAcquisitionEngine::CountMissed(int cycles, const std::string& why) {
  if (cycles <= 0)
    return;
  m_context.log.Log(m_counts.AddMissed(cycles, TimeOfDayText(m_context.clock), why),
                    kLogDataAcquisition);
}

void CAcquisitionEngine::OnReadFailed(COPCGroup& group, bool rowStarted) {
  // What the groups before this one read is a data set too: it is kept.
  if (rowStarted) {
    m_counts.AddAcquired();
    StoreRow(m_history.Count() - 1);
  }
  m_db.Close();
  const bool alive =
      m_services.isServerAlive ? m_services.isServerAlive(m_server) : m_server.IsAlive();
  if (m_outage.DecideOnReadFailure(alive, static_cast<bool>(m_services.reconnect)) ==
      ReadFailureDecision::kReconnect) {
    m_outage.Begin(m_context.clock.SecondsSince1970(), TimeOfDayText(m_context.clock));
    m_schedule.RestartTickCount();  // the outage counts its own missed cycles
    m_context.log.Log(kConnectionLostLine, kLogDataAcquisition);
    m_pObserver->OnServerAttributesChanged();
    m_pObserver->OnReconnectingChanged(true);
    return;
  }
  m_bRunning = false;
  m_sStopCause = "the OPC server read failed: " + OneLine(group.Connection().ErrorMessage());
  m_pObserver->OnServerAttributesChanged();
  CReportBuilder report;
  report.ErrorHeading("Critical Error Occured in Read OPC Data !!!")
      .Raw(" \\par\\par \\fs18 Data Acquisition is stopped ...\\par ")
      .Raw(group.Connection().ErrorReport())
      .Closing("Please Check the Status of the OPC Server");
  AcquisitionNotice notice;
  notice.report = report.Request(kReadErrorTitle);
  m_notices.push_back(std::move(notice));
  // The end of the acquisition is recorded whatever ended it.
  Stop(false);
}

bool CAcquisitionEngine::TickWhileReconnecting(int64_t now) {
  // Each group due in this tick is a cycle that reads nothing.
  bool due = false;
  for (int g = 0; g < m_server.GroupCount(); ++g) {
    if (m_schedule.AdvanceWhileAway(g, m_server.Group(g)->IsActive()))
      due = true;
  }
  if (!m_outage.TryNow(now, due))
    return false;
  bool back = m_services.reconnect(m_server);
  if (back && m_services.bindCalcItems) {
    // An unbound symbol's message is shown after the tick, with the tick's reports.
    CNoticeCollector collector(m_notices);
    if (!m_services.bindCalcItems(m_server, collector)) {
      m_context.log.Log(kRebindFailed, kLogDataAcquisition);
      back = false;
    }
  }
  if (!back) {
    const int pause = m_outage.AttemptFailed(now, due);
    m_context.log.Log(ReconnectFailedLine(m_server.ServerId(), m_server.Host(), pause),
                      kLogOpcServer);
    return false;
  }
  m_context.log.Log(m_outage.End(now, TimeOfDayText(m_context.clock)), kLogDataAcquisition);
  m_schedule.RestartTickCount();
  // Every group is read at once; nothing is interpolated across the outage, since no
  // row was added while the server was away.
  m_schedule.ReadAllAtNextCycle();
  m_pObserver->OnServerAttributesChanged();
  m_pObserver->OnReconnectingChanged(false);
  return true;
}

bool CAcquisitionEngine::ReadGroupIntoDataSet(COPCGroup& group, int index, int columnOffset,
                                              bool firstRead, std::vector<int>& rewritten,
                                              int64_t& earliestNextMs) {
  if (!m_services.readGroup || !m_services.readGroup(group))
    return false;
  if (firstRead)
    m_writer.StartDataSet(group);
  if (m_bFirstDataSetPending) {
    m_bFirstDataSetPending = false;
    if (!m_recorder.RecordFirstRead(m_nAcquisitionId, static_cast<int>(m_schedule.BasePeriodMs()),
                                    LocalTimeFromFileTime(group.LastReadTime()))) {
      FailRecording("Critical Error Occurred in Storing OPC Data !!!",
                    m_recorder.LastFailure().message);
    }
  }
  if (m_services.updateStatistics)
    m_services.updateStatistics(group);
  if (m_services.evaluateCalcItems)
    m_services.evaluateCalcItems(group);
  m_writer.UpdateRealTime(group, columnOffset, m_nDecimals);
  std::vector<int> rewrittenByGroup;
  m_writer.WriteGroupValues(group, columnOffset, m_nDecimals, m_schedule.LastRow(index),
                            rewrittenByGroup);
  for (int row : rewrittenByGroup)
    StoreRow(row);
  rewritten.insert(rewritten.end(), rewrittenByGroup.begin(), rewrittenByGroup.end());
  earliestNextMs = std::min<int64_t>(earliestNextMs,
                                     UnixMsFromFileTime(group.LastReadTime()) + group.UpdateRate());
  m_schedule.MarkRead(index);
  return true;
}

void CAcquisitionEngine::FillInactiveGroups() {
  int columnOffset = 0;
  for (int g = 0; g < m_server.GroupCount(); ++g) {
    COPCGroup& group = *m_server.Group(g);
    if (!group.IsActive())
      m_writer.FillInactiveGroup(group, columnOffset, m_schedule.LastRow(g));
    columnOffset += group.AcquiredCount() + group.CalcCount();
  }
}

bool CAcquisitionEngine::RunCycle() {
  const uint32_t startTick = m_context.clock.TickCount();
  bool somethingRead = false;
  int64_t earliestNextMs = UnixMsFromFileTime(m_context.clock.LocalFileTimeNow()) + 600000;
  m_bRecordingFailed = false;

  if (!OpenCycleDatabase())
    return false;
  std::vector<int> rewritten;
  int columnOffset = 0;
  for (int g = 0; g < m_server.GroupCount() && !m_bRecordingFailed; ++g) {
    COPCGroup& group = *m_server.Group(g);
    if (m_schedule.Advance(g, group.IsActive())) {
      if (!ReadGroupIntoDataSet(group, g, columnOffset, !somethingRead, rewritten,
                                earliestNextMs)) {
        OnReadFailed(group, somethingRead);
        return false;
      }
      somethingRead = true;
    }
    columnOffset += group.AcquiredCount() + group.CalcCount();
  }
  if (somethingRead) {
    FillInactiveGroups();
    m_counts.AddAcquired();
    StoreRow(m_history.Count() - 1);
  }
  m_db.Close();

  m_nDataSetCount = m_history.Count();
  if (somethingRead) {
    m_bAcquiredData = true;
    m_nResumableRevision = m_server.ConfigurationRevision();
  }
  const LocalTime next = LocalTimeFromUnixMs(earliestNextMs);
  m_pObserver->OnCycle(static_cast<int>(m_context.clock.TickCount() - startTick), m_nDataSetCount,
                       Format("%02d/%02d/%d %02d:%02d:%02d.%03d", next.day, next.month, next.year,
                              next.hour, next.minute, next.second, next.millisecond),
                       rewritten);
  return somethingRead;
}

void CAcquisitionEngine::SetMode(AcquisitionMode mode) {
  m_window.SetMode(mode);
  m_context.log.Log(mode == kContinuousAcquisition
                        ? "OPC Data Acquisition Type Changed to Continuous Acquisition"
                        : "OPC Data Acquisition Type Changed to Time-Controlled",
                    kLogDataAcquisition);
}

void CAcquisitionEngine::SetDecimals(int decimals) {
  m_nDecimals = decimals;
  settings::Write(m_context.settings, settings::kDecimalNbr, decimals);
  const char* plural = decimals > 1 ? "s " : " ";
  if (m_history.Count() == 0) {
    m_context.log.Log(Format("Decimal Number after Decimal Point is Modified. New Value: %d "
                             "Decinal Number%s",
                             decimals, plural),
                      kLogDataAcquisition);
  } else {
    m_context.log.Log(Format("Decimal Number after Decimal Point is Modified. New Value: %d "
                             "Decinal Number%s. Warning: the new setting will be applied ONLY "
                             "to Newly Acquired Data ...",
                             decimals, plural),
                      kLogDataAcquisition);
  }
}

std::vector<std::string> CAcquisitionEngine::ItemHeadings(int tagDisplayType) const {
  std::vector<std::string> headings;
  auto pick = [tagDisplayType](const COPCBaseItem& item) {
    if (tagDisplayType == 1)
      return item.ShortId();
    if (tagDisplayType == 2)
      return item.Description();
    return item.QualifiedId();
  };
  for (int g = 0; g < m_server.GroupCount(); ++g) {
    const COPCGroup& group = *m_server.Group(g);
    for (const auto& item : group.AcquiredItems())
      headings.push_back(pick(*item));
    for (const auto& item : group.CalcItems())
      headings.push_back(pick(*item));
  }
  return headings;
}

ServerAttributes CAcquisitionEngine::Attributes() const {
  ServerAttributes attributes;
  attributes.serverId = m_server.ServerId();
  attributes.host = m_server.Host();
  if (m_outage.IsReconnecting()) {
    attributes.connectionStatus = "Reconnecting ...";
    return attributes;
  }
  const bool alive = m_server.IsAlive();
  attributes.connectionStatus = alive ? "Connected" : "Not Connected";
  if (alive)
    m_server.GetServerStateText(attributes.serverStatus);
  return attributes;
}
