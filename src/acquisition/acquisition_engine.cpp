#include "acquisition/acquisition_engine.h"

#include <algorithm>

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
constexpr uint32_t kFirstBasePeriod = 15000;
constexpr uint32_t kReadAtFirstCycle = 1000;

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
}

bool CAcquisitionEngine::IsServerConnected() const {
  return m_server.m_bConnected;
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
    const uint32_t period = group.m_dwUpdateRate / 1000 == 0 ? 1 : group.m_dwUpdateRate / 1000;
    m_schedule.push_back(GroupSchedule{kReadAtFirstCycle, period, 0});
    group.m_statistics.Reset();
    rates.push_back(group.m_dwUpdateRate);
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
  configuration.classIdText = GuidToString(m_server.m_clsid, false, GuidTextCase::kLower);
  for (int g = 0; g < m_server.GroupCount(); ++g) {
    const COPCGroup& group = *m_server.Group(g);
    RecordedGroup recorded;
    recorded.name = group.m_sName;
    recorded.updateRate = static_cast<int>(group.m_dwUpdateRate);
    for (const auto& item : group.m_acquiredItems) {
      const int type = item->m_value.vt != VT_EMPTY ? item->m_value.vt : item->m_vtDataType;
      recorded.items.push_back(
          {item->m_sQualifiedId, item->m_sShortId, item->m_sDescription, type, 0});
    }
    for (const auto& item : group.m_calcItems) {
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
  // A Resume keeps the acquisition's row; one whose start could not be recorded gets its
  // row now, so what is acquired from here on is kept.
  m_recorder.RecordStart(Snapshot(), m_nAcquisitionId);

  if (start) {
    m_writer.Rebuild(m_server);
    m_nDataSetCount = 0;
    m_pObserver->OnListsReset();
    ResetSchedule();
  }

  m_pObserver->OnTimeFieldsVisible(true);
  m_pObserver->OnRunningChanged(true);
  const int64_t now = m_context.clock.SecondsSince1970();
  m_nAcquisitionStart = now;
  m_nNextBackupTime = now + 60LL * m_nBackupFrequency;
  m_nNextRowToSave = 0;
  m_bFirstDataSetPending = true;
  m_bStopRequested = false;

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
  m_nDataSetCount = m_history.Count();
  if (m_nAcquisitionId != -1) {
    DataSetPtr last = m_history.Row(m_nDataSetCount - 1);
    m_recorder.RecordEnd(m_nAcquisitionId, last ? std::string(last->TimeText()) : std::string(),
                         m_nDataSetCount);
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
  m_realTime.Clear();
  m_nDataSetCount = 0;
  m_bFirstDataSetPending = false;
  m_nNextRowToSave = 0;
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
  if (RunCycle())
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

void CAcquisitionEngine::StoreRow(int row) {
  if (m_nAcquisitionId == -1)
    return;  // nothing of this acquisition could be recorded
  DataSetPtr data = m_history.Row(row);
  if (!data)
    return;
  if (m_recorder.StoreDataSet(m_nAcquisitionId, IsRunning(), *data) ==
      StoreResult::kStopAcquisition) {
    m_bStopRequested = true;  // a full or read-only database ends the acquisition
  }
}

bool CAcquisitionEngine::RunCycle() {
  const uint32_t startTick = m_context.clock.TickCount();
  bool somethingRead = false;
  bool firstRead = true;
  int64_t earliestNextMs = UnixMsFromFileTime(m_context.clock.LocalFileTimeNow()) + 600000;

  if (m_db.Open() != 1) {
    m_context.log.Log(kOpenFailed, kLogOpcServer);
    return false;
  }
  std::vector<int> rewritten;
  int columnOffset = 0;
  for (int g = 0; g < m_server.GroupCount(); ++g) {
    COPCGroup& group = *m_server.Group(g);
    GroupSchedule& schedule = Schedule(g);
    const int groupColumns = group.AcquiredCount() + group.CalcCount();
    ++schedule.ticks;
    if (group.m_bActive && schedule.ticks >= schedule.period) {
      if (!m_services.readGroup || !m_services.readGroup(group)) {
        m_bRunning = false;
        m_pObserver->OnServerAttributesChanged();
        CReportBuilder report;
        report.ErrorHeading("Critical Error Occured in Read OPC Data !!!")
            .Raw(" \\par\\par \\fs18 Data Acquisition is stopped ...\\par ")
            .Raw(group.m_sErrorReport)
            .Closing("Please Check the Status of the OPC Server");
        m_context.prompt.ShowReport(report.Request(kReadErrorTitle));
        m_db.Close();
        m_pObserver->OnRunningChanged(false);
        return false;
      }
      if (firstRead)
        m_writer.StartDataSet(group);
      if (m_bFirstDataSetPending) {
        m_bFirstDataSetPending = false;
        if (m_nAcquisitionId != -1) {
          m_recorder.RecordFirstRead(m_nAcquisitionId, static_cast<int>(m_nBasePeriod),
                                     LocalTimeFromFileTime(group.m_ftLastReadTime));
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
          earliestNextMs, UnixMsFromFileTime(group.m_ftLastReadTime) + group.m_dwUpdateRate);
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
      if (!group.m_bActive)
        m_writer.FillInactiveGroup(group, columnOffset, Schedule(g).lastRow);
      columnOffset += group.AcquiredCount() + group.CalcCount();
    }
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
    for (const auto& item : group.m_acquiredItems)
      headings.push_back(pick(*item));
    for (const auto& item : group.m_calcItems)
      headings.push_back(pick(*item));
  }
  return headings;
}

ServerAttributes CAcquisitionEngine::Attributes() const {
  ServerAttributes attributes;
  attributes.serverId = m_server.ServerId();
  attributes.host = m_server.Host();
  const bool alive = m_server.IsAlive();
  attributes.connectionStatus = alive ? "Connected" : "Not Connected";
  if (alive)
    m_server.GetServerStateText(attributes.serverStatus);
  return attributes;
}
