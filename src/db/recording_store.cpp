#include "db/recording_store.h"

#include "db/sql_format.h"

namespace {

constexpr char kAcquisitionExists[] = "SELECT OPCAcq_Id FROM OPCAcq WHERE OPCAcq_Id = ?";
// From the oldest row asked for: a long acquisition's older rows are counted by range.
constexpr char kDataRows[] =
    "SELECT OPCAcqData_Id, OPCAcqData_Time FROM OPCAcqData WHERE OPCAcqData_Id >= ? AND "
    "OPCAcq_Id = ?";
// Each end by its own look-up: MIN and MAX together would walk the index.
constexpr char kMarks[] =
    "SELECT ( SELECT MIN( OPCAcqData_Id) FROM OPCAcqData WHERE OPCAcq_Id = ?1), ( SELECT "
    "MAX( OPCAcqData_Id) FROM OPCAcqData WHERE OPCAcq_Id = ?1), OPCAcq_EndDate, OPCAcq_EndTime, "
    "OPCAcq_DataCount FROM OPCAcq WHERE OPCAcq_Id = ?1";
constexpr int kMarksColumns = 5;
// The summary is logged: its text shows the id.
constexpr char kSummaryWithRate[] =
    "SELECT OPCAcq_ServerId, OPCAcq_ServerHost, OPCAcq_UpdateRate, OPCAcq_StartDate, "
    "OPCAcq_StartTime, OPCAcq_EndDate, OPCAcq_EndTime, OPCAcq_DataCount "
    "FROM OPCAcq WHERE OPCAcq_Id = %d";
constexpr char kSummary[] =
    "SELECT OPCAcq_ServerId, OPCAcq_ServerHost, OPCAcq_StartDate, OPCAcq_StartTime, "
    "OPCAcq_EndDate, OPCAcq_EndTime, OPCAcq_DataCount "
    "FROM OPCAcq WHERE OPCAcq_Id = %d";
constexpr char kDataRowsInRange[] =
    "SELECT COUNT(*) FROM OPCAcqData WHERE OPCAcqData_Id BETWEEN ? AND ? AND OPCAcq_Id = ?";
// The acquisition insert is logged: its text shows the values, quoted by SQLite's %q.
constexpr char kInsertAcquisition[] =
    "INSERT INTO OPCAcq( OPCAcq_Id, OPCAcq_ServerId, OPCAcq_ServerHost, OPCacq_ServerGuid, "
    "OPCAcq_StartDate, OPCAcq_StartTime, OPCAcq_EndDate, OPCAcq_EndTime, "
    "OPCAcq_DataCount)"
    "VALUES( %lld, '%q', '%q', '%q','Undefined', 'Undefined', 'Undefined', 'Undefined', -1)";
constexpr char kInsertGroup[] =
    "INSERT INTO OPCAcqGrp( OPCAcqGrp_Id, OPCAcq_Id, OPCAcqGrp_Name, OPCAcqGrp_UpdateRate) "
    "VALUES( ?, ?, ?, ?)";
constexpr char kInsertItem[] =
    "INSERT INTO OPCAcqItem( OPCAcqGrp_Id, OPCAcqItem_QualifiedName, OPCAcqItem_ShortName, "
    "OPCAcqItem_Data, OPCAcqItem_DataType, OPCAcqItem_ItemType) VALUES( ?, ?, ?, ?, ?, ?)";
constexpr char kFirstRead[] =
    "UPDATE OPCAcq Set OPCAcq_UpdateRate = %d,  OPCAcq_StartDate = '%q', OPCAcq_StartTime = "
    "'%q' WHERE OPCAcq_Id = %d";
constexpr char kEnd[] =
    "UPDATE OPCAcq Set OPCAcq_EndDate = '%q', OPCAcq_EndTime = '%q', OPCAcq_DataCount = %d "
    "WHERE OPCAcq_Id = %d";
constexpr char kInsertDataSet[] =
    "INSERT INTO OPCAcqData( OPCAcq_Id, OPCAcqData_Time, OPCAcqData_Value) VALUES( ?, ?, ?)";
constexpr char kUpdateDataSet[] =
    "UPDATE OPCAcqData Set OPCAcqData_Value = ? WHERE OPCAcqData_Id = ?";

}  // namespace

std::string CRecordingStore::InsertAcquisitionText(int64_t acquisitionId,
                                                   const std::string& serverId,
                                                   const std::string& host,
                                                   const std::string& classIdText) {
  return SqlPrintf(kInsertAcquisition, static_cast<long long>(acquisitionId), serverId.c_str(),
                   host.c_str(), classIdText.c_str());
}

std::string CRecordingStore::FirstReadText(int acquisitionId, int basePeriodMs,
                                           const std::string& date, const std::string& time) {
  return SqlPrintf(kFirstRead, basePeriodMs, date.c_str(), time.c_str(), acquisitionId);
}

std::string CRecordingStore::EndText(int acquisitionId, const std::string& date,
                                     const std::string& time, int storedCount) {
  return SqlPrintf(kEnd, date.c_str(), time.c_str(), storedCount, acquisitionId);
}

std::string CRecordingStore::SummaryText(int acquisitionId, bool withUpdateRate) {
  return SqlPrintf(withUpdateRate ? kSummaryWithRate : kSummary, acquisitionId);
}

DbResult<RecordingMarks> CRecordingStore::Marks(int acquisitionId, const SqlRun& how) {
  std::vector<QueryCell> cells;
  const DbResult<int> columns =
      m_db.GetQueryData(kMarks, {SqlBinding::Integer(acquisitionId)}, cells, how);
  if (!columns)
    return columns.Status();
  if (columns.Value() != kMarksColumns || cells.size() < kMarksColumns)
    return DbStatus::kNoRow;
  RecordingMarks marks;
  marks.hasRows = cells[0].columnType == kCellInteger && cells[1].columnType == kCellInteger;
  if (marks.hasRows) {
    marks.firstRowId = cells[0].intValue;
    marks.lastRowId = cells[1].intValue;
  }
  auto text = [](const QueryCell& cell) {
    return cell.columnType == kCellInteger ? std::to_string(cell.intValue) : cell.text;
  };
  marks.endDate = text(cells[2]);
  marks.endTime = text(cells[3]);
  marks.dataCount = cells[4].columnType == kCellInteger ? cells[4].intValue : -1;
  return marks;
}

DbResult<int> CRecordingStore::Summary(int acquisitionId, bool withUpdateRate,
                                       std::vector<QueryCell>& cells, const SqlRun& how) {
  return m_db.GetQueryData(SummaryText(acquisitionId, withUpdateRate), {}, cells, how);
}

DbResult<bool> CRecordingStore::AcquisitionExists(int acquisitionId) {
  return m_db.HasRow(kAcquisitionExists, {SqlBinding::Integer(acquisitionId)});
}

DbResult<std::vector<RecordedRowKey>> CRecordingStore::DataRows(int acquisitionId,
                                                                int64_t fromRowId) {
  std::vector<QueryCell> cells;
  const DbResult<int> columns = m_db.GetQueryData(
      kDataRows, {SqlBinding::Integer(fromRowId), SqlBinding::Integer(acquisitionId)}, cells);
  if (!columns)
    return columns.Status();
  std::vector<RecordedRowKey> rows;
  for (size_t i = 0; i + 1 < cells.size(); i += 2)
    rows.push_back({cells[i].intValue, cells[i + 1].text});
  return rows;
}

DbResult<int64_t> CRecordingStore::CountDataRowsInRange(int acquisitionId, int64_t firstRowId,
                                                        int64_t lastRowId) {
  return m_db.QueryInt64(kDataRowsInRange,
                         {SqlBinding::Integer(firstRowId), SqlBinding::Integer(lastRowId),
                          SqlBinding::Integer(acquisitionId)});
}

DbResult<int64_t> CRecordingStore::InsertAcquisition(const std::string& serverId,
                                                     const std::string& host,
                                                     const std::string& classIdText) {
  const DbResult<int64_t> unused = FirstUnusedAcquisitionId(m_db);
  if (!unused)
    return unused;
  const DbResult<int64_t> id =
      InsertRow(m_db, InsertAcquisitionText(unused.Value(), serverId, host, classIdText), {},
                SqlRun::Logged(m_nChannel));
  if (!id)
    return id;
  const DbStatus marked = MarkAcquisitionIdUsed(m_db, id.Value());
  if (marked != DbStatus::kOk)
    return marked;
  return id;
}

DbResult<int64_t> CRecordingStore::InsertGroup(int64_t groupId, int acquisitionId,
                                               const std::string& name, int updateRate) {
  return InsertRow(m_db, kInsertGroup,
                   {SqlBinding::Integer(groupId), SqlBinding::Integer(acquisitionId),
                    SqlBinding::Text(name), SqlBinding::Integer(updateRate)},
                   {false, false, false, m_nChannel});
}

DbStatus CRecordingStore::InsertItem(int groupRowId, const std::string& qualifiedId,
                                     const std::string& shortId, const std::string& data,
                                     int dataType, int itemType) {
  return m_db.ExecBound(
      kInsertItem,
      {SqlBinding::Integer(groupRowId), SqlBinding::Text(qualifiedId), SqlBinding::Text(shortId),
       SqlBinding::Text(data), SqlBinding::Integer(dataType), SqlBinding::Integer(itemType)},
      m_nChannel);
}

DbStatus CRecordingStore::RecordFirstRead(int acquisitionId, int basePeriodMs,
                                          const std::string& date, const std::string& time) {
  return m_db.ExecSQL(FirstReadText(acquisitionId, basePeriodMs, date, time),
                      SqlRun::Logged(m_nChannel));
}

DbResult<int> CRecordingStore::RecordEnd(int acquisitionId, const std::string& date,
                                         const std::string& time, int storedCount) {
  const DbStatus status =
      m_db.ExecSQL(EndText(acquisitionId, date, time, storedCount), SqlRun::Logged(m_nChannel));
  if (status != DbStatus::kOk)
    return status;
  return m_db.Changes();
}

int CRecordingStore::WriteDataSet(int acquisitionId, int64_t rowId, const std::string& timeText,
                                  const void* value, size_t valueSize, bool* prepared) {
  const DbStatus status =
      rowId == kNewRow
          ? m_db.ExecBound(kInsertDataSet,
                           {SqlBinding::Integer(acquisitionId), SqlBinding::Text(timeText),
                            SqlBinding::Blob(value, valueSize)},
                           m_nChannel)
          : m_db.ExecBound(kUpdateDataSet,
                           {SqlBinding::Blob(value, valueSize), SqlBinding::Integer(rowId)},
                           m_nChannel);
  if (prepared != nullptr)
    *prepared = status != DbStatus::kNotPrepared;
  return status == DbStatus::kOk ? SQLITE_DONE : m_db.LastResult();
}
