#include "explorer/acquisition_catalogue.h"
#include "base/utf8_path.h"

#include <filesystem>

#include "base/log.h"
#include "base/number_text.h"
#include "db/catalogue_store.h"
#include "db/recording_lock.h"
#include "explorer/catalogue_statements.h"
#include "explorer/explorer_reports.h"

namespace {

constexpr char kOpenFailedOnSelect[] =
    "Error Opening Database ... Unable to Retrieve Project Data !!! ";
constexpr char kOpenFailedOnView[] = "Error Opening Database ... Unable to Check Project Data !!! ";
constexpr char kCompressDone[] = "Database Compress Successfully ...";
constexpr char kCompressFailed[] = "Error occured while compacting Database !!!";
constexpr char kSizeLine[] = "Original Database Size: %s  Database Size After Project Removal: %s";
constexpr char kNotRepaired[] =
    "Velmora Project %d is Being Recorded ... Its End and Data Count are Written When It Stops";
constexpr char kLockUnusable[] = "Velmora Project %d Not Deleted: %s !!!";
constexpr size_t kEndDateLength = 11;
constexpr size_t kEndTimeStart = 12;

int CountOf(const std::string& text) {
  const std::optional<int64_t> value = ParseInt64(text);
  return value ? static_cast<int>(*value) : 0;
}

}  // namespace

void CountCatalogueItems(const CRecordingListControl& items, int rows, CatalogueDetails& details) {
  details.groups = details.acquiredItems = details.calculatedItems = 0;
  std::string previousGroup;
  for (int row = 0; row < rows; ++row) {
    const std::string group = items.Cell(row, kItemGroupName);
    if (row == 0 || group != previousGroup)
      ++details.groups;
    previousGroup = group;
    const std::string type = items.Cell(row, kItemType);
    if (type == kAcquiredItemType)
      ++details.acquiredItems;
    else if (type == kCalculatedItemType)
      ++details.calculatedItems;
  }
}

std::optional<uint64_t> DatabaseFileSize(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(Utf8Path(path), error);
  if (error)
    return std::nullopt;
  return static_cast<uint64_t>(size);
}

void CAcquisitionCatalogue::SetTargets(IListControl* catalogue, IListControl* items) {
  m_catalogue.SetTarget(catalogue);
  m_items.SetTarget(items);
}

DbResult<int> CAcquisitionCatalogue::SetSortChoice(int sortIndex) {
  m_nSortChoice = sortIndex >= 0 && sortIndex < kCatalogueSortChoiceCount ? sortIndex : 0;
  return Refresh();
}

DbResult<int> CAcquisitionCatalogue::FillList() {
  const DbResult<int> rows = m_db.UpdateListCtrl(CatalogueStatement(m_nSortChoice), m_catalogue,
                                                 ListCtrlForm::kKeyed, SqlRun().Opening());
  m_nRowCount = rows.ValueOr(0);
  // An acquisition being recorded is shown as such, not as one that was never closed.
  m_recorded.assign(static_cast<size_t>(m_nRowCount), false);
  if (m_nRowCount > 0) {
    const CRecordingLockProbe probe(m_db.Path());
    for (int row = 0; row < m_nRowCount; ++row) {
      const int id = static_cast<int>(Catalogue().Rows()[static_cast<size_t>(row)].itemData);
      if (probe.State(id) == RecordingLockState::kRecorded) {
        m_recorded[static_cast<size_t>(row)] = true;
        m_catalogue.SetCell(row, kCatEndDate, kBeingRecordedText);
      }
    }
  }
  return rows;
}

bool CAcquisitionCatalogue::IsBeingRecorded(int row) const {
  return row >= 0 && row < static_cast<int>(m_recorded.size()) &&
         m_recorded[static_cast<size_t>(row)];
}

DbResult<int> CAcquisitionCatalogue::List() {
  const DbResult<int> rows = FillList();
  m_db.Close();
  return rows;
}

DbResult<int> CAcquisitionCatalogue::Refresh() {
  const DbResult<int> rows = FillList();
  if (rows.Status() == DbStatus::kOpenFailed)
    return rows;
  if (m_nSelectedRow == kNoCatalogueRow && m_nRowCount > 0)
    m_nSelectedRow = 0;
  if (m_nSelectedRow != kNoCatalogueRow) {
    ShowDetails(m_nSelectedRow);
    if (m_bRepairOnSelect)
      Repair();
  }
  m_db.Close();
  return rows;
}

bool CAcquisitionCatalogue::SelectRow(int row) {
  m_nSelectedRow = row;
  if (m_db.OpenFile() != DbStatus::kOk) {
    m_context.log.Log(kOpenFailedOnSelect, kLogOpcServer);
    return false;
  }
  ShowDetails(row);
  if (m_bRepairOnSelect)
    Repair();
  m_db.Close();
  return true;
}

bool CAcquisitionCatalogue::SelectAcquisition(int acquisitionId) {
  const int row = RowOfAcquisition(acquisitionId);
  if (row < 0)
    return false;
  return SelectRow(row);
}

int CAcquisitionCatalogue::ViewData(int row) {
  m_nSelectedRow = row;
  if (m_db.OpenFile() != DbStatus::kOk) {
    m_context.log.Log(kOpenFailedOnView, kLogOpcServer);
    return kNoAcquisitionId;
  }
  ShowDetails(row);
  Repair();
  m_db.Close();
  return m_nSelectedId;
}

int CAcquisitionCatalogue::RowOfAcquisition(int acquisitionId) const {
  const auto& rows = Catalogue().Rows();
  for (int row = 0; row < m_nRowCount && row < static_cast<int>(rows.size()); ++row) {
    if (rows[static_cast<size_t>(row)].itemData == acquisitionId)
      return row;
  }
  return -1;
}

std::string CAcquisitionCatalogue::CatalogueCell(int row, int column) const {
  return Catalogue().Cell(row, column);
}

int CAcquisitionCatalogue::ShowDetails(int row) {
  m_details = CatalogueDetails();
  if (row < 0 || row >= m_nRowCount) {
    m_nSelectedId = kNoAcquisitionId;
    m_items.Clear();
    return m_nSelectedId;
  }
  m_details.serverId = CatalogueCell(row, kCatServerId);
  m_details.host = CatalogueCell(row, kCatHost);
  m_details.start = CatalogueCell(row, kCatStartDate) + " " + CatalogueCell(row, kCatStartTime);
  m_details.end = CatalogueCell(row, kCatEndDate) + " " + CatalogueCell(row, kCatEndTime);
  m_nSelectedId = static_cast<int>(Catalogue().Rows()[static_cast<size_t>(row)].itemData);
  const int items =
      m_db.UpdateListCtrl(AcquisitionItemListStatement(m_nSelectedId), m_items).ValueOr(0);
  CountCatalogueItems(Items(), items, m_details);
  return m_nSelectedId;
}

RepairResult CAcquisitionCatalogue::Repair(bool request) {
  const int row = m_nSelectedRow;
  if (row < 0 || row >= m_nRowCount)
    return RepairResult::kNoSelection;
  const std::string endDate = CatalogueCell(row, kCatEndDate);
  const std::string endTime = CatalogueCell(row, kCatEndTime);
  const int listedCount = CountOf(CatalogueCell(row, kCatDataCount));
  const int id = m_nSelectedId;
  if (listedCount >= 0 && endDate != kUndefinedText && endTime != kUndefinedText &&
      !IsBeingRecorded(row))
    return RepairResult::kComplete;

  // The recording lock, held while repairing: an acquisition that a program records is
  // not one that was left unclosed, and no recorder resumes it half-way.
  CRecordingLock lock;
  if (!lock.Acquire(m_db.Path(), id)) {
    if (request) {
      m_context.prompt.ShowReport(RecordingRejectionReport(
          kRepairRequest, CatalogueCell(row, kCatServerId), CatalogueCell(row, kCatHost), id));
    } else {
      m_context.log.Log(Format(kNotRepaired, id), kLogProjects);
    }
    return RepairResult::kRecording;
  }

  CCatalogueStore store(m_db);
  const int count = static_cast<int>(store.DataRowCount(id).ValueOr(-1));
  const std::string last = store.LastDataRowTime(id).ValueOr(kUndefinedText);
  if (count >= 0 && last != kUndefinedText) {
    // Split at the blank, never cut by length: a five-digit year keeps all its digits.
    const size_t blank = last.find(' ');
    const std::string date =
        blank != std::string::npos ? last.substr(0, blank) : last.substr(0, kEndDateLength);
    const std::string time = blank != std::string::npos    ? last.substr(blank + 1)
                             : last.size() > kEndTimeStart ? last.substr(kEndTimeStart)
                                                           : "";
    if (store.RepairEnd(date, time, count, id, kLogProjects) != DbStatus::kOk)
      return RepairResult::kFailed;
    // The list shows the new end and count; the repaired row needs no second repair.
    lock.Release();  // else the list would show this very repair as a recording
    FillList();
    ShowDetails(m_nSelectedRow);
    return RepairResult::kRepaired;
  }
  m_context.prompt.ShowReport(UpdateErrorReport(count, last));
  return RepairResult::kFailed;
}

DeleteResult CAcquisitionCatalogue::Delete(int runningId) {
  m_sLastSizeLine.clear();
  const std::optional<uint64_t> sizeBefore = DatabaseFileSize(m_db.Path());
  const int id = m_nSelectedId;
  const int row = id == kNoAcquisitionId ? -1 : RowOfAcquisition(id);
  if (row < 0)
    return DeleteResult::kNoSelection;
  const std::string serverId = CatalogueCell(row, kCatServerId);
  const std::string host = CatalogueCell(row, kCatHost);
  if (runningId != kNoAcquisitionId && runningId == id) {
    m_context.prompt.ShowReport(DeletionRejectionReport(serverId, host, runningId, id));
    return DeleteResult::kRejected;
  }
  // Another program may record it: its recording lock says so. Held until the deletion
  // is over, so that nothing resumes the acquisition meanwhile.
  CRecordingLock lock;
  if (!lock.Acquire(m_db.Path(), id)) {
    if (lock.Busy()) {
      m_context.prompt.ShowReport(DeletionRejectionReport(serverId, host, id, id));
      return DeleteResult::kRejected;
    }
    m_context.log.Log(Format(kLockUnusable, id, lock.Cause().c_str()), kLogProjects);
    return DeleteResult::kFailed;
  }
  const ReportAnswer answer = m_context.prompt.ShowReport(DeletionConfirmationReport(
      serverId, host, CatalogueCell(row, kCatStartDate), CatalogueCell(row, kCatStartTime),
      CatalogueCell(row, kCatEndDate), CatalogueCell(row, kCatEndTime),
      CatalogueCell(row, kCatDataCount)));
  if (answer != ReportAnswer::kFirstButton)
    return DeleteResult::kCancelled;

  CCatalogueStore store(m_db);
  const DbStatus deleted = store.Delete(id, SqlRun::Logged(kLogProjects).Opening());
  const bool compacted = store.Compact() == DbStatus::kOk;
  m_db.Close();
  m_context.log.Log(compacted ? kCompressDone : kCompressFailed, kLogProjects);
  const std::optional<uint64_t> sizeAfter = DatabaseFileSize(m_db.Path());
  if (sizeBefore && sizeAfter) {
    m_sLastSizeLine =
        Format(kSizeLine, FileSizeText(*sizeBefore).c_str(), FileSizeText(*sizeAfter).c_str());
    m_context.log.Log(m_sLastSizeLine, kLogProjects);
  }
  lock.Release();
  Refresh();
  return deleted == DbStatus::kOk ? DeleteResult::kDeleted : DeleteResult::kFailed;
}
