#include "db/catalogue_store.h"

#include <vector>

#include "db/sql_format.h"

namespace {

constexpr char kCatalogueHead[] =
    "SELECT OPCAcq_Id AS 'Project Id', OPCAcq_ServerId AS 'OPC Server Id', OPCAcq_ServerHost as "
    "'OPC Server Host', "
    "OPCAcq_ServerGuid as 'OPC Server Guid', OPCAcq_StartDate AS 'Acq. Start Date', "
    "OPCAcq_StartTime AS 'Acq. Start Time', "
    "OPCAcq_EndDate AS 'Acq. End Date', OPCAcq_EndTime AS 'Acq. End Time', OPCAcq_DataCount AS "
    "'Acq. Data Count' FROM OPCAcq ORDER BY ";

constexpr char kItemList[] =
    "SELECT OPCAcqGrp.OPCAcqGrp_Name AS 'Group Name', OPCAcqItem_QualifiedName AS 'Qualified "
    "Name', OPCAcqItem_ShortName AS 'Short Name', OPCAcqItem_Data AS 'Additional Data', "
    "( SELECT CASE OPCAcqItem_ItemType WHEN 0 THEN 'Acquired Data' WHEN 1 THEN 'Calculated Data' "
    "ELSE 'Unknown TYPE' END) AS 'Item Type', OPCAcqItem_DataType AS 'Data Type' "
    "FROM OPCAcqItem INNER JOIN OPCAcqGrp ON OPCAcqItem.OPCAcqGrp_Id = OPCAcqGrp.OPCAcqGrp_Id "
    "WHERE OPCAcqItem.OPCAcqGrp_Id IN ( SELECT OPCAcqGrp_Id FROM OPCAcqGrp WHERE OPCAcq_Id = %d)";
// The item ids follow the column order of the value rows; the list keeps that order.
constexpr char kItemOrder[] = " ORDER BY OPCAcqItem.OPCAcqItem_Id";

constexpr char kChartItems[] =
    "SELECT OPCAcqItem_QualifiedName, OPCAcqItem_ShortName, OPCAcqItem_Data, "
    "OPCAcqItem_ItemType, OPCAcqItem_DataType "
    "FROM OPCAcqItem INNER JOIN OPCAcqGrp ON OPCAcqItem.OPCAcqGrp_Id = OPCAcqGrp.OPCAcqGrp_Id "
    "WHERE OPCAcqItem.OPCAcqGrp_Id IN ( SELECT OPCAcqGrp_Id FROM OPCAcqGrp WHERE OPCAcq_Id = %d)";

constexpr char kRepairCount[] = "Select Count( OPCAcqData_Id) FROM OPCAcqData WHERE OPCAcq_Id = ?";
constexpr char kRepairLastTime[] =
    "SELECT OPCAcqData_Time FROM OPCAcqData WHERE OPCAcqData_Id = (SELECT MAX( OPCAcqData_Id) FROM "
    "OPCAcqData WHERE OPCAcq_Id = ?)";
constexpr char kRepairUpdate[] =
    "UPDATE OPCAcq SET OPCAcq_EndDate = '%q', OPCAcq_EndTime = '%q', OPCAcq_DataCount = %d WHERE "
    "OPCAcq_Id = %d";
constexpr char kDeleteScript[] =
    "BEGIN TRANSACTION;"
    "DELETE FROM OPCAcqData WHERE OPCAcq_Id = %d;"
    "DELETE FROM OPCAcqItem WHERE OPCAcqGrp_Id IN ( SELECT OPCAcqGrp_Id FROM OPCAcqGrp WHERE "
    "OPCAcq_Id = %d);"
    "DELETE FROM OPCAcqGrp WHERE OPCAcq_Id = %d;"
    "DELETE FROM OPCAcq WHERE OPCAcq_Id = %d;"
    "END TRANSACTION;";
constexpr char kVacuum[] = "VACUUM;";

}  // namespace

std::string CCatalogueStore::CatalogueStatement(const char* orderBy) {
  return std::string(kCatalogueHead) + orderBy;
}

std::string CCatalogueStore::ItemListStatement(int acquisitionId) {
  return SqlPrintf(kItemList, acquisitionId) + kItemOrder;
}

std::string CCatalogueStore::ChartItemStatement(int acquisitionId) {
  return SqlPrintf(kChartItems, acquisitionId);
}

std::string CCatalogueStore::RepairEndText(const std::string& endDate, const std::string& endTime,
                                           int count, int acquisitionId) {
  return SqlPrintf(kRepairUpdate, endDate.c_str(), endTime.c_str(), count, acquisitionId);
}

std::string CCatalogueStore::DeleteScript(int acquisitionId) {
  return SqlPrintf(kDeleteScript, acquisitionId, acquisitionId, acquisitionId, acquisitionId);
}

DbResult<int64_t> CCatalogueStore::DataRowCount(int acquisitionId) {
  return m_db.QueryInt64(kRepairCount, {SqlBinding::Integer(acquisitionId)});
}

DbResult<std::string> CCatalogueStore::LastDataRowTime(int acquisitionId) {
  std::vector<QueryCell> cells;
  const DbResult<int> columns =
      m_db.GetQueryData(kRepairLastTime, {SqlBinding::Integer(acquisitionId)}, cells);
  if (!columns)
    return columns.Status();
  if (columns.Value() <= 0 || cells.empty() || cells.front().columnType != kCellText)
    return DbStatus::kNoRow;
  return cells.front().text;
}

DbStatus CCatalogueStore::RepairEnd(const std::string& endDate, const std::string& endTime,
                                    int count, int acquisitionId, int channel) {
  return m_db.ExecSQL(RepairEndText(endDate, endTime, count, acquisitionId),
                      SqlRun::Logged(channel));
}

DbStatus CCatalogueStore::Delete(int acquisitionId, const SqlRun& how) {
  return m_db.ExecSQL(DeleteScript(acquisitionId), how);
}

DbStatus CCatalogueStore::Compact() {
  if (!m_db.IsOpen())
    return DbStatus::kOpenFailed;
  return sqlite3_exec(m_db.Handle(), kVacuum, nullptr, nullptr, nullptr) == SQLITE_OK
             ? DbStatus::kOk
             : DbStatus::kFailed;
}
