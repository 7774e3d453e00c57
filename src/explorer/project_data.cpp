#include "explorer/project_data.h"

#include "base/log.h"
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

namespace {
constexpr char kChangeStatement[] =
    "SELECT ( SELECT COUNT(*) FROM OPCAcqData WHERE OPCAcq_Id = %d), ( SELECT "
    "MAX( OPCAcqData_Id) FROM OPCAcqData WHERE OPCAcq_Id = %d), OPCAcq_EndDate, OPCAcq_EndTime, "
    "OPCAcq_DataCount FROM OPCAcq WHERE OPCAcq_Id = %d";
}  // namespace

CProjectData::ChangeToken CProjectData::ReadChangeToken(int acquisitionId) {
  std::vector<QueryCell> cells;
  const int columns = m_db.GetQueryData(
      Format(kChangeStatement, acquisitionId, acquisitionId, acquisitionId), cells, true, true);
  ChangeToken token;
  token.rows = std::to_string(columns);
  for (const QueryCell& cell : cells)
    token.rows +=
        "\x1F" + (cell.columnType == kCellInteger ? std::to_string(cell.intValue) : cell.text);
  return token;
}

bool CProjectData::NeedsLoad(int requestedId) {
  if (requestedId == -1 || requestedId != m_nLoadedId)
    return true;
  return ReadChangeToken(requestedId) != m_loadedToken;
}

void CProjectData::Prepare(int acquisitionId) {
  m_loader.Wait();
  // Read first: rows added during the load make the next show load again.
  m_loadedToken = ReadChangeToken(acquisitionId);
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
  const int rows = m_table.RowCount();
  const int missing = m_bHasSummary && m_summary.dataCount > rows ? m_summary.dataCount - rows : 0;
  return m_table.DamagedRows() + missing;
}

int CProjectData::DataSetCount() const {
  const int rows = m_table.RowCount();
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
