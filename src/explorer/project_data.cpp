#include "explorer/project_data.h"

#include "base/settings.h"
#include "db/recording_list_control.h"
#include "explorer/catalogue_statements.h"
#include "explorer/explorer_reports.h"

std::vector<std::string> LoadedTableTitles(CSQLite& db, int acquisitionId) {
  std::vector<std::string> titles{kTimeColumnTitle};
  CRecordingListControl items;
  const int rows =
      db.UpdateListCtrl(AcquisitionItemListStatement(acquisitionId), items, true, true);
  for (int row = 0; row < rows; ++row)
    titles.push_back(items.Cell(row, kItemQualifiedName));
  return titles;
}

void CProjectData::Prepare(int acquisitionId) {
  m_loader.Wait();
  m_summary = AcquisitionSummary();
  const int columns = ReadAcquisitionSummary(m_db, acquisitionId, true, m_summary);
  m_bHasSummary = columns == kDataSummaryColumns;
  if (!m_bHasSummary)
    m_context.prompt.ShowReport(RetrievalErrorReport(columns));
  m_nExpectedRows = m_bHasSummary ? m_summary.dataCount : 0;
  m_table.Reset(LoadedTableTitles(m_db, acquisitionId));
  m_nLoadedId = acquisitionId;
}

bool CProjectData::StartLoad(int acquisitionId) {
  if (m_loader.IsRunning())
    return false;
  Prepare(acquisitionId);
  return m_loader.Start(m_db.Path(), acquisitionId, m_nExpectedRows, m_table);
}

bool CProjectData::LoadNow(int acquisitionId) {
  if (m_loader.IsRunning())
    return false;
  Prepare(acquisitionId);
  CWorkerJob& job = m_loader.Job();
  job.SetTotal(m_nExpectedRows);
  LoadAcquisitionRows(m_db.Path(), acquisitionId, m_table, job);
  if (job.State() == kJobFailed) {
    m_context.log.Log(job.ErrorText(), kLogOpcServer);
    return false;
  }
  return true;
}

std::string CProjectData::ProgressText(int32_t state) {
  CWorkerJob& job = m_loader.Job();
  if (state == kJobFinished)
    return LoadedText(m_nExpectedRows, job.ElapsedMs());
  if (state == kJobFailed || state == kJobStopped) {
    m_context.log.Log(job.ErrorText(), kLogOpcServer);
    return kLoadFailedText;
  }
  return LoadingProgressText(job.Done(), m_nExpectedRows);
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
