#include "explorer/project_data.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

#include "base/log.h"
#include "base/settings.h"
#include "db/recording_list_control.h"
#include "explorer/catalogue_statements.h"
#include "explorer/explorer_reports.h"

std::vector<std::string> LoadedTableTitles(CSQLite& db, int acquisitionId) {
  std::vector<std::string> titles{kTimeColumnTitle};
  CRecordingListControl items;
  const int rows = db.UpdateListCtrl(AcquisitionItemListStatement(acquisitionId), items,
                                     ListCtrlForm::kPlain, SqlRun().Opening().Closing())
                       .ValueOr(0);
  for (int row = 0; row < rows; ++row)
    titles.push_back(items.Cell(row, kItemQualifiedName));
  return titles;
}

CProjectData::ChangeToken CProjectData::ReadChangeToken(int acquisitionId) {
  const DbResult<RecordingMarks> marks =
      CRecordingStore(m_db, kLogProjects).Marks(acquisitionId, SqlRun().Opening().Closing());
  ChangeToken token;
  token.status = marks.Status();
  token.marks = marks.ValueOr(RecordingMarks());
  return token;
}

bool CProjectData::NeedsLoad(int requestedId) {
  if (requestedId == -1 || requestedId != m_nLoadedId)
    return true;
  return ReadChangeToken(requestedId) != m_loadedToken;
}

void CProjectData::Prepare(int acquisitionId) {
  m_pages.Stop();
  // Read first: rows added during the load make the next show load again. The rows shown
  // are those up to the last id read here; their count starts as the id range and the
  // worker makes it exact (no scan of the rows before the first are on screen).
  m_loadedToken = ReadChangeToken(acquisitionId);
  const RecordingMarks& marks = m_loadedToken.marks;
  const int64_t span = marks.hasRows ? marks.lastRowId - marks.firstRowId + 1 : 0;
  const int rowBound = static_cast<int>(std::clamp<int64_t>(span, 0, INT32_MAX));
  m_summary = AcquisitionSummary();
  const int columns = ReadAcquisitionSummary(m_db, acquisitionId, true, m_summary);
  m_bHasSummary = columns == kDataSummaryColumns;
  if (!m_bHasSummary)
    m_context.prompt.ShowReport(RetrievalErrorReport(columns));
  m_nExpectedRows = m_bHasSummary ? m_summary.dataCount : 0;
  m_pages.Reset(m_db.Path(), acquisitionId, LoadedTableTitles(m_db, acquisitionId), rowBound,
                marks.hasRows ? marks.lastRowId : 0);
  m_nLoadedId = acquisitionId;
}

bool CProjectData::StartLoad(int acquisitionId) {
  if (IsLoading())
    return false;
  Prepare(acquisitionId);
  return m_pages.Start(m_job);
}

bool CProjectData::LoadNow(int acquisitionId) {
  if (IsLoading())
    return false;
  Prepare(acquisitionId);
  m_pages.RunNow(m_job);
  if (m_job.State() == kJobFailed) {
    m_context.log.Log(m_job.ErrorText(), kLogOpcServer);
    return false;
  }
  return true;
}

void CProjectData::WaitForLoad() {
  while (IsLoading())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

std::string CProjectData::ProgressText(int32_t state) {
  CWorkerJob& job = m_job;
  if (state == kJobFinished) {
    // A load that left data sets unread is not a success: the progress says how many.
    const std::string damage = DamageText();
    if (damage.empty())
      return LoadedText(m_nExpectedRows, job.ElapsedMs());
    m_context.log.Log(damage, kLogOpcServer);
    return damage;
  }
  if (state == kJobFailed || state == kJobStopped) {
    m_context.log.Log(job.ErrorText(), kLogOpcServer);
    return kLoadFailedText;
  }
  return LoadingProgressText(job.Done(), m_nExpectedRows);
}

int CProjectData::UnreadableDataSets() const {
  const int rows = m_pages.ScannedRows();
  const int missing = m_bHasSummary && m_summary.dataCount > rows ? m_summary.dataCount - rows : 0;
  return m_pages.DamagedRows() + missing;
}

int CProjectData::DataSetCount() const {
  const int rows = m_pages.ScannedRows();
  return m_bHasSummary && m_summary.dataCount > rows ? m_summary.dataCount : rows;
}

std::string CProjectData::DamageText() const {
  const int unreadable = UnreadableDataSets();
  return unreadable > 0 ? Format(kDamagedDataSets, unreadable, DataSetCount()) : std::string();
}

DataColours ProjectDataColours(ISettingsStore& settings) {
  DataColours colours;
  colours.standard = static_cast<uint32_t>(settings::Read(settings, settings::kStandardColor));
  colours.badQuality = static_cast<uint32_t>(settings::Read(settings, settings::kBadQualityColor));
  colours.interpolated =
      static_cast<uint32_t>(settings::Read(settings, settings::kInterpolatedColor));
  colours.inactive = kProjectInactiveColour;
  return colours;
}
