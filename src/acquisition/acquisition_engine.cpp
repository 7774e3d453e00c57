#include "acquisition/acquisition_engine.h"

#include <algorithm>
#include <filesystem>

#include "base/report.h"
#include "base/settings.h"
#include "db/sqlite_db.h"
#include "opc/opc_group.h"
#include "opc/opc_server.h"
#include "platform/com/guid.h"

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
constexpr char kConnectionLost[] = "Connection to Server has been lost ...";
constexpr char kReconnectFailed[] = "Reconnection to OPC Server %s on %s Failed - Next Try in %d s";
constexpr char kReconnected[] =
    "Connection to Server Restored ... Outage from %s to %s (%d s) - %d Acquisition Cycle%s "
    "Missed";
constexpr char kRebindFailed[] = "the calculated items could not be bound again after reconnection";
constexpr char kOutageAtEnd[] =
    "Connection to Server Not Restored at the End of the Acquisition ... Outage from %s to %s "
    "(%d s) - %d Acquisition Cycle%s Missed";
constexpr char kCyclesMissed[] = "%d Acquisition Cycle%s Missed at %s: %s";
constexpr char kLateCycle[] = "the previous cycle ended %d s late";
constexpr char kLockedFor[] = " (Velmora Database locked by another program for %d ms)";
constexpr char kNotStoredInTime[] =
    "the data set of %s could not be stored in time: the Velmora Database is locked by another "
    "program";
constexpr char kNotOpenable[] = "the Velmora Database could not be opened: %s";
constexpr char kReplacedHeading[] = "Velmora Database Replaced During Data Acquisition !!!";
constexpr char kDeletedHeading[] = "Velmora Project Deleted During Data Acquisition !!!";
constexpr char kEndNotRecorded[] = "the end of the acquisition could not be recorded: %s";
constexpr uint32_t kFirstBasePeriod = 15000;
// Pauses between reconnection attempts, in seconds; the last one repeats.
constexpr int kReconnectPauses[] = {1, 2, 5, 10, 30};
constexpr uint32_t kReadAtFirstCycle = 1000;

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
  m_bReconnectOnServerLoss =
      settings::Read(context.settings, settings::kReconnectOnServerLoss) == 1;
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
  return m_bResumable && m_nResumableRevision == m_server.ConfigurationRevision();
}

uint32_t CAcquisitionEngine::GroupPeriod(int group) const {
  return group >= 0 && group < static_cast<int>(m_schedule.size())
             ? m_schedule[static_cast<size_t>(group)].period
             : 0;
}

CAcquisitionEngine::GroupSchedule& CAcquisitionEngine::Schedule(int group) {
  // Groups cannot change while acquiring (that makes Resume impossible), but a Resume
  // after a reset may meet more groups than the schedule has: they start afresh.
  if (group >= static_cast<int>(m_schedule.size()))
    m_schedule.resize(static_cast<size_t>(group) + 1, GroupSchedule{kReadAtFirstCycle, 1, 0});
  return m_schedule[static_cast<size_t>(group)];
}

void CAcquisitionEngine::ResetSchedule() {
  m_schedule.clear();
  std::vector<uint32_t> rates;
  for (int g = 0; g < m_server.GroupCount(); ++g) {
    COPCGroup& group = *m_server.Group(g);
    const uint32_t period = group.UpdateRate() / 1000 == 0 ? 1 : group.UpdateRate() / 1000;
    m_schedule.push_back(GroupSchedule{kReadAtFirstCycle, period, 0});
    group.ResetStatistics();
    rates.push_back(group.UpdateRate());
  }
  m_nBasePeriod = BasePeriod(rates);
}

uint32_t CAcquisitionEngine::BasePeriod(const std::vector<uint32_t>& updateRates) {
  uint32_t base = kFirstBasePeriod;
  for (uint32_t rate : updateRates) {
    if (std::min(rate, base) <= 1000) {
      base = 1000;
    } else if (rate < base) {
      base = rate;
    }
  }
  return base;
}

bool CAcquisitionEngine::StartCommand() {
  m_nAcquisitionId = -1;
  return StartOrResume(true);
}

RecordedConfiguration CAcquisitionEngine::Snapshot() const {
  RecordedConfiguration configuration;
  configuration.serverId = m_server.ServerId();
  configuration.host = m_server.Host();
  configuration.classIdText = GuidToString(m_server.Clsid(), false, GuidTextCase::kLower);
  for (int g = 0; g < m_server.GroupCount(); ++g) {
    const COPCGroup& group = *m_server.Group(g);
    RecordedGroup recorded;
    recorded.name = group.Name();
    recorded.updateRate = static_cast<int>(group.UpdateRate());
    for (const auto& item : group.AcquiredItems()) {
      const int type = item->m_value.vt != VT_EMPTY ? item->m_value.vt : item->m_vtDataType;
      recorded.items.push_back(
          {item->m_sQualifiedId, item->m_sShortId, item->m_sDescription, type, 0});
    }
    for (const auto& item : group.CalcItems()) {
      const int type = item->m_value.vt != VT_EMPTY ? item->m_value.vt : item->m_vtDataType;
      recorded.items.push_back(
          {item->m_sQualifiedId, item->m_sShortId, item->m_sDescription, type, 1});
    }
    configuration.groups.push_back(std::move(recorded));
  }
  return configuration;
}

bool CAcquisitionEngine::StartOrResume(bool start) {
  if (!m_server.IsAlive()) {
    m_context.prompt.ShowMessage(kServerLost, MessageButtons::Ok, MessageIcon::Warning);
    return false;
  }
  if (m_nMode == kTimeControlledAcquisition && m_nWindowEnd < m_nWindowStart + 60) {
    m_nWindowEnd = m_nWindowStart + 60;
    m_pObserver->OnWindowEndAdjusted(m_nWindowEnd);
  }
  // A start refused by the binding keeps the previous acquisition's lists and records
  // nothing (no empty acquisition in the database).
  if (start && m_services.bindCalcItems && !m_services.bindCalcItems(m_server))
    return false;
  // Start writes the acquisition's row and snapshot; Resume checks that the row is still
  // there. Data with nowhere to go is never acquired.
  int acquisitionId = start ? -1 : m_nAcquisitionId;
  if (!m_recorder.RecordStart(Snapshot(), acquisitionId)) {
    ReportRecordingFailure(
        kStartErrorTitle, "Data Acquisition cannot be Recorded !!!",
        start ? "Data Acquisition is not started ..." : "Data Acquisition is not resumed ...",
        m_recorder.LastFailure().message);
    return false;
  }
  m_nAcquisitionId = acquisitionId;
  m_sStopCause.clear();

  if (start) {
    m_writer.Rebuild(m_server);
    m_rowIds.clear();
    m_nDataSetCount = 0;
    m_nAcquiredCount = 0;
    m_nStoredCount = 0;
    m_nMissedCycles = 0;
    m_nDatabaseMissedCycles = 0;
    m_sLastStoredTime.clear();
    m_pObserver->OnListsReset();
    ResetSchedule();
  }

  m_pObserver->OnTimeFieldsVisible(true);
  m_pObserver->OnRunningChanged(true);
  const int64_t now = m_context.clock.SecondsSince1970();
  m_nAcquisitionStart = now;
  m_nNextBackupTime = now + 60LL * m_nBackupFrequency;
  m_nNextRowToSave = 0;
  ++m_nSaveEpoch;
  m_bFirstDataSetPending = true;
  m_bStopRequested = false;
  m_bEndedInOutage = false;
  m_nLastCycleSecond = 0;

  const char* what = start ? kStarted : kResumed;
  if (m_nBackupFrequency > 0) {
    m_context.log.Log(
        Format("%s - %s - Frequency: %d Min.", what,
               m_nBackupType == 1 ? "Incremental Backup" : "Full Backup", m_nBackupFrequency),
        kLogDataAcquisition);
  } else {
    m_context.log.Log(Format("%s - No Automatic Backup of OPC Data", what), kLogDataAcquisition);
  }
  m_bRunning = true;
  return true;
}

void CAcquisitionEngine::StopCommand() {
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
  if (m_context.prompt.ShowReport(report.Request(kConfirmationTitle, kReportOkCancel)) ==
      ReportAnswer::kSecondButton) {
    return;
  }
  Stop(m_nBackupFrequency > 0);
}

void CAcquisitionEngine::Stop(bool finalBackup) {
  m_bRunning = false;
  m_bWindowOpened = false;
  if (m_bReconnecting) {
    // The outage goes on: its missed cycles count as much as those of one that ended.
    m_bReconnecting = false;
    m_bEndedInOutage = true;
    m_nMissedCycles += m_nOutageMissedCycles;
    const LocalTime local = m_context.clock.LocalNow();
    const std::string endText = Format("%02d:%02d:%02d", local.hour, local.minute, local.second);
    m_context.log.Log(Format(kOutageAtEnd, m_sOutageStartText.c_str(), endText.c_str(),
                             static_cast<int>(m_context.clock.SecondsSince1970() - m_nOutageStart),
                             m_nOutageMissedCycles, m_nOutageMissedCycles == 1 ? "" : "s"),
                      kLogDataAcquisition);
    m_nOutageMissedCycles = 0;
    m_pObserver->OnReconnectingChanged(false);
  }
  m_nDataSetCount = m_history.Count();
  if (m_nAcquisitionId != -1) {
    // The count and the last time are those of what is in the database.
    if (!m_recorder.RecordEnd(m_nAcquisitionId, m_sLastStoredTime, m_nStoredCount) &&
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

void CAcquisitionEngine::ClearCommand() {
  const bool running = IsRunning();
  CReportBuilder report;
  report.RequestHeading("Request for Historical Data Clear")
      .Explanation("Historical Data will be lost !!!")
      .Detail("Server Id", m_server.ServerId())
      .Detail("OPC Server Host", m_server.Host());
  if (running) {
    report.Raw(
        "\\par Data Acquisition will be stopped during Data Clear and Then Resume "
        "Automatically");
  }
  report.Closing("Please Confirm Data Clear ?");
  if (m_context.prompt.ShowReport(report.Request(kConfirmationTitle, kReportOkCancel)) ==
      ReportAnswer::kSecondButton) {
    return;
  }
  if (running) {
    Stop(false);
    Pause(m_context.clock, 500);
  }
  m_context.log.Log(kClearing, kLogDataAcquisition);
  m_history.Clear();
  m_rowIds.clear();
  m_nDataSetCount = 0;
  for (GroupSchedule& schedule : m_schedule)
    schedule.lastRow = kNoDataSetRow;  // the rows a group wrote are gone
  m_pObserver->OnListsReset();
  Pause(m_context.clock, 500);
  if (running)
    StartOrResume(false);
}

void CAcquisitionEngine::ResetView() {
  const uint32_t startTick = m_context.clock.TickCount();
  const int rows = m_history.Count();
  m_context.log.Log(kClearing, kLogDataAcquisition);
  m_history.Reset(0);
  m_rowIds.clear();
  m_realTime.Clear();
  m_nDataSetCount = 0;
  m_bFirstDataSetPending = false;
  m_nNextRowToSave = 0;
  ++m_nSaveEpoch;
  m_pObserver->OnListsReset();
  m_pObserver->OnTimeFieldsVisible(false);
  if (rows >= 5) {
    m_context.log.Log(Format("Clear Data Terminated ... %d Data Set Cleared in %d ms", rows,
                             static_cast<int>(m_context.clock.TickCount() - startTick)),
                      kLogDataAcquisition);
  }
  m_bAcquiredData = false;
  m_nBackupFrequency = 0;
  m_pObserver->OnServerAttributesChanged();
}

int CAcquisitionEngine::SettledRowCount() const {
  int settled = m_history.Count();
  for (const GroupSchedule& schedule : m_schedule) {
    // A group without a row (after a Clear) interpolates nothing before its next write.
    if (schedule.lastRow != kNoDataSetRow)
      settled = std::min(settled, schedule.lastRow + 1);
  }
  return settled;
}

const std::string& CAcquisitionEngine::DatabasePath() const {
  return m_db.Path();
}

void CAcquisitionEngine::Tick() {
  if (!IsRunning())
    return;
  const int64_t now = m_context.clock.SecondsSince1970();
  if (m_nMode == kTimeControlledAcquisition) {
    if (now < m_nWindowStart) {
      m_pObserver->OnTimeFieldsVisible(false);
      return;
    }
    if (now > m_nWindowEnd) {
      m_pObserver->OnTimeFieldsVisible(false);
      Stop(m_nBackupFrequency > 0);
      return;
    }
    if (!m_bWindowOpened) {
      m_bWindowOpened = true;
      m_nAcquisitionStart = now;
      m_nNextBackupTime = now + 60LL * m_nBackupFrequency;
      m_pObserver->OnTimeFieldsVisible(true);
    }
  }
  if (!m_bReconnecting)
    CountSkippedTicks(now);
  if ((!m_bReconnecting || TickWhileReconnecting(now)) && RunCycle())
    m_pObserver->OnChartUpdate(m_nBasePeriod);
  if (m_bStopRequested) {
    m_bStopRequested = false;
    Stop(false);
    return;
  }
  if (m_nBackupFrequency > 0 && now >= m_nNextBackupTime) {
    m_nNextBackupTime += 60LL * m_nBackupFrequency;
    m_pObserver->OnBackup(false);
  }
}

void CAcquisitionEngine::ReportRecordingFailure(const char* title, const std::string& heading,
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
  m_context.prompt.ShowReport(report.Request(title));
}

void CAcquisitionEngine::FailRecording(const std::string& heading, const std::string& cause) {
  m_bRecordingFailed = true;
  m_bStopRequested = true;
  ReportRecordingFailure(kStorageErrorTitle, heading,
                         "Data Acquisition is stopped ... The Data Already Stored are Kept", cause);
}

bool CAcquisitionEngine::StoreRow(int row) {
  if (m_bRecordingFailed)
    return false;
  DataSetPtr data = m_history.Row(row);
  if (!data || m_nAcquisitionId == -1)
    return false;
  if (m_rowIds.size() < static_cast<size_t>(m_history.Count()))
    m_rowIds.resize(static_cast<size_t>(m_history.Count()), kNoDataRowId);
  int64_t& rowId = m_rowIds[static_cast<size_t>(row)];
  const bool isNew = rowId == kNoDataRowId;
  switch (m_recorder.StoreDataSet(m_nAcquisitionId, IsRunning(), *data, rowId)) {
    case StoreResult::kStored:
      if (isNew) {
        ++m_nStoredCount;
        m_sLastStoredTime = std::string(data->TimeText());
      }
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
  std::vector<StoredRow> rows;
  for (size_t row = 0; row < m_rowIds.size(); ++row) {
    DataSetPtr data = m_history.Row(static_cast<int>(row));
    if (m_rowIds[row] != kNoDataRowId && data)
      rows.push_back({m_rowIds[row], std::string(data->TimeText())});
  }
  // The summary counts what the file at the path holds, not what went into the old one.
  const int still = m_recorder.CountRowsStillStored(m_nAcquisitionId, rows);
  m_nStoredCount = still > 0 ? still : 0;
  m_bRecordingFailed = true;
  m_bStopRequested = true;
  ReportRecordingFailure(
      kStorageErrorTitle, heading,
      Format("Data Acquisition is stopped ... %d of the %d Data Sets Recorded are in the File "
             "Now There",
             m_nStoredCount, static_cast<int>(rows.size())),
      cause);
}

void CAcquisitionEngine::CountMissed(int cycles, const std::string& why) {
  if (cycles <= 0)
    return;
  m_nDatabaseMissedCycles += cycles;
  const LocalTime local = m_context.clock.LocalNow();
  m_context.log.Log(
      Format(kCyclesMissed, cycles, cycles == 1 ? "" : "s",
             Format("%02d:%02d:%02d", local.hour, local.minute, local.second).c_str(), why.c_str()),
      kLogDataAcquisition);
}

void CAcquisitionEngine::CountSkippedTicks(int64_t now) {
  const uint64_t busyMs = m_db.BusyWaitedMs();
  if (m_nLastCycleSecond != 0 && now - m_nLastCycleSecond > 1) {
    // Ticks of a base period above a second read nothing most of the time.
    const int skipped = static_cast<int>((now - m_nLastCycleSecond - 1) * 1000 /
                                         std::max<uint32_t>(m_nBasePeriod, 1000));
    std::string why = Format(kLateCycle, static_cast<int>(now - m_nLastCycleSecond - 1));
    if (busyMs > m_nBusyMsAtLastCycle)
      why += Format(kLockedFor, static_cast<int>(busyMs - m_nBusyMsAtLastCycle));
    CountMissed(skipped, why);
  }
  m_nLastCycleSecond = now;
  m_nBusyMsAtLastCycle = busyMs;
}

void CAcquisitionEngine::OnReadFailed(COPCGroup& group, bool rowStarted) {
  // What the groups before this one read is a data set too: it is kept.
  if (rowStarted) {
    ++m_nAcquiredCount;
    StoreRow(m_history.Count() - 1);
  }
  m_db.Close();
  const bool alive =
      m_services.isServerAlive ? m_services.isServerAlive(m_server) : m_server.IsAlive();
  if (m_bReconnectOnServerLoss && !alive && m_services.reconnect) {
    const int64_t now = m_context.clock.SecondsSince1970();
    m_bReconnecting = true;
    m_nOutageStart = now;
    const LocalTime local = m_context.clock.LocalNow();
    m_sOutageStartText = Format("%02d:%02d:%02d", local.hour, local.minute, local.second);
    m_nReconnectAttempts = 0;
    m_nOutageMissedCycles = 1;  // this cycle
    m_nLastCycleSecond = 0;     // the outage counts its own missed cycles
    m_nNextReconnect = now + kReconnectPauses[0];
    m_context.log.Log(kConnectionLost, kLogDataAcquisition);
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
  m_context.prompt.ShowReport(report.Request(kReadErrorTitle));
  // The end of the acquisition is recorded whatever ended it.
  Stop(false);
}

bool CAcquisitionEngine::TickWhileReconnecting(int64_t now) {
  // Each group due in this tick is a cycle that reads nothing.
  bool due = false;
  for (int g = 0; g < m_server.GroupCount(); ++g) {
    GroupSchedule& schedule = Schedule(g);
    if (m_server.Group(g)->IsActive() && ++schedule.ticks >= schedule.period) {
      schedule.ticks = 0;
      due = true;
    }
  }
  if (now < m_nNextReconnect) {
    m_nOutageMissedCycles += due ? 1 : 0;
    return false;
  }
  ++m_nReconnectAttempts;
  bool back = m_services.reconnect(m_server);
  if (back && m_services.bindCalcItems && !m_services.bindCalcItems(m_server)) {
    m_context.log.Log(kRebindFailed, kLogDataAcquisition);
    back = false;
  }
  if (!back) {
    const int index = std::min<int>(m_nReconnectAttempts, std::size(kReconnectPauses) - 1);
    const int pause = kReconnectPauses[index];
    m_nNextReconnect = now + pause;
    m_nOutageMissedCycles += due ? 1 : 0;
    m_context.log.Log(
        Format(kReconnectFailed, m_server.ServerId().c_str(), m_server.Host().c_str(), pause),
        kLogOpcServer);
    return false;
  }
  EndOutage(now);
  return true;
}

void CAcquisitionEngine::EndOutage(int64_t now) {
  m_bReconnecting = false;
  m_nMissedCycles += m_nOutageMissedCycles;
  const LocalTime local = m_context.clock.LocalNow();
  const std::string endText = Format("%02d:%02d:%02d", local.hour, local.minute, local.second);
  m_context.log.Log(Format(kReconnected, m_sOutageStartText.c_str(), endText.c_str(),
                           static_cast<int>(now - m_nOutageStart), m_nOutageMissedCycles,
                           m_nOutageMissedCycles == 1 ? "" : "s"),
                    kLogDataAcquisition);
  m_nLastCycleSecond = 0;
  // Every group is read at once; nothing is interpolated across the outage, since no
  // row was added while the server was away.
  for (GroupSchedule& schedule : m_schedule)
    schedule.ticks = kReadAtFirstCycle;
  m_pObserver->OnServerAttributesChanged();
  m_pObserver->OnReconnectingChanged(false);
}

bool CAcquisitionEngine::RunCycle() {
  const uint32_t startTick = m_context.clock.TickCount();
  bool somethingRead = false;
  bool firstRead = true;
  int64_t earliestNextMs = UnixMsFromFileTime(m_context.clock.LocalFileTimeNow()) + 600000;
  m_bRecordingFailed = false;

  if (!OpenCycleDatabase())
    return false;
  std::vector<int> rewritten;
  int columnOffset = 0;
  for (int g = 0; g < m_server.GroupCount() && !m_bRecordingFailed; ++g) {
    COPCGroup& group = *m_server.Group(g);
    GroupSchedule& schedule = Schedule(g);
    const int groupColumns = group.AcquiredCount() + group.CalcCount();
    ++schedule.ticks;
    if (group.IsActive() && schedule.ticks >= schedule.period) {
      if (!m_services.readGroup || !m_services.readGroup(group)) {
        OnReadFailed(group, !firstRead);
        return false;
      }
      if (firstRead)
        m_writer.StartDataSet(group);
      if (m_bFirstDataSetPending) {
        m_bFirstDataSetPending = false;
        if (!m_recorder.RecordFirstRead(m_nAcquisitionId, static_cast<int>(m_nBasePeriod),
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
      m_writer.WriteGroupValues(group, columnOffset, m_nDecimals, schedule.lastRow,
                                rewrittenByGroup);
      for (int row : rewrittenByGroup)
        StoreRow(row);
      rewritten.insert(rewritten.end(), rewrittenByGroup.begin(), rewrittenByGroup.end());
      earliestNextMs = std::min<int64_t>(
          earliestNextMs, UnixMsFromFileTime(group.LastReadTime()) + group.UpdateRate());
      firstRead = false;
      somethingRead = true;
      schedule.ticks = 0;
    }
    columnOffset += groupColumns;
  }
  if (somethingRead) {
    columnOffset = 0;
    for (int g = 0; g < m_server.GroupCount(); ++g) {
      COPCGroup& group = *m_server.Group(g);
      if (!group.IsActive())
        m_writer.FillInactiveGroup(group, columnOffset, Schedule(g).lastRow);
      columnOffset += group.AcquiredCount() + group.CalcCount();
    }
    ++m_nAcquiredCount;
    StoreRow(m_history.Count() - 1);
  }
  m_db.Close();

  m_nDataSetCount = m_history.Count();
  if (somethingRead) {
    m_bAcquiredData = true;
    m_bResumable = true;
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
  m_nMode = mode;
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
      return item.m_sShortId;
    if (tagDisplayType == 2)
      return item.m_sDescription;
    return item.m_sQualifiedId;
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
  if (m_bReconnecting) {
    attributes.connectionStatus = "Reconnecting ...";
    return attributes;
  }
  const bool alive = m_server.IsAlive();
  attributes.connectionStatus = alive ? "Connected" : "Not Connected";
  if (alive)
    m_server.GetServerStateText(attributes.serverStatus);
  return attributes;
}
