#include "db/project_rows.h"

#include "db/project_list.h"
#include "db/row_ids.h"
#include "db/sql_format.h"

namespace {

constexpr char kListStart[] =
    "SELECT OPCPrj_Id AS 'Project Id', OPCPrj_Name AS 'Project Name', OPCPrj_ServerId AS 'OPC "
    "Server Id', OPCPrj_ServerHost as 'OPC Server Host', ";
constexpr char kGuidColumn[] = "OPCPrj_ServerGuid AS 'OPC Server Guid', ";
constexpr char kCountColumns[] =
    "( SELECT COUNT(*) FROM OPCGrp WHERE OPCGrp.OPCPrj_Id = OPCPrj.OPCPrj_Id) AS 'Group Count', "
    "( SELECT COUNT(*) FROM OPCItem WHERE OPCItem.OPCGrp_Id IN ( SELECT OPCGrp_Id FROM OPCGrp "
    "WHERE OPCGrp.OPCPrj_Id = OPCPrj.OPCPrj_Id)) AS 'Total Item Count', ";
constexpr char kDateColumns[] = "OPCPrj_Date AS 'Creation Date', OPCPrj_Time AS 'Creation Time' ";
constexpr char kListEnd[] = "FROM OPCPrj ORDER BY ";

constexpr char kGroupList[] =
    "SELECT OPCGrp_Id, OPCGrp_Name AS 'Group Name', OPCGrp_Active AS 'Active Status', "
    "OPCGrp_UpdateRate AS 'Update Rate (ms)' FROM OPCGrp "
    "WHERE OPCPrj_Id = %lld ORDER BY OPCGrp_Id";
constexpr char kItemList[] =
    "SELECT OPCItem_Id, OPCGrp.OPCGrp_Name AS 'Group Name', OPCItem_QualifiedName AS 'Item "
    "Name', OleVariant.Variant_Descr AS 'Data Type', "
    "( SELECT CASE OPCItem_ItemType WHEN 0 THEN 'Acquired Data' WHEN 1 THEN 'Calculated Data' "
    "ELSE 'Unknown TYPE' END) AS 'Item Type' FROM OPCItem "
    "INNER JOIN OPCGrp ON OPCItem.OPCGrp_Id = OPCGrp.OPCGrp_Id INNER JOIN OleVariant ON "
    "OPCItem.OPCItem_DataType = OleVariant.Variant_Value "
    "WHERE OPCItem.OPCGrp_Id IN ( "
    "SELECT OPCGrp_Id FROM OPCGrp WHERE OPCPrj_Id = %lld ORDER BY OPCGrp_Id) "
    "ORDER BY OPCItem.OPCGrp_Id, OPCItem.OPCItem_Id";

constexpr char kProjectExists[] = "SELECT OPCPrj_Id FROM OPCPrj WHERE OPCPrj_Name = ?";
constexpr char kLatestId[] = "SELECT MAX( OPCPrj_Id) FROM OPCPrj WHERE OPCPrj_Name = ?";
constexpr char kLatestHead[] =
    "SELECT OPCPrj_Id, OPCPrj_ServerId, OPCPrj_ServerHost, OPCPrj_ServerGuid FROM OPCPrj WHERE "
    "OPCPrj_Name = ? ORDER BY OPCPrj_Id DESC LIMIT 1";
constexpr int kHeadColumns = 4;

// Items, groups, then the project row of every project of the name.
constexpr char kCleanScript[] =
    "BEGIN TRANSACTION;"
    "DELETE FROM OPCItem WHERE OPCItem.OPCGrp_Id IN "
    "(SELECT OPCGrp.OPCGrp_Id FROM OPCGrp INNER JOIN OPCPrj ON OPCGrp.OPCPrj_Id = "
    "OPCPrj.OPCPrj_Id WHERE OPCPrj.OPCPrj_Name = '%q');"
    "DELETE FROM OPCGrp WHERE OPCGrp.OPCPrj_Id = (SELECT OPCPrj.OPCPrj_Id FROM OPCPrj WHERE "
    "OPCPrj.OPCPrj_Name = '%q');"
    "DELETE FROM OPCPrj WHERE OPCPrj.OPCPrj_Name = '%q';"
    "COMMIT;";

// Items, groups, then the project rows: no child is ever left without its parent.
constexpr char kDeleteScript[] =
    "BEGIN TRANSACTION;"
    "DELETE FROM OPCItem WHERE OPCGrp_Id IN ( SELECT OPCGrp_Id FROM OPCGrp WHERE OPCPrj_Id IN ( "
    "SELECT OPCPrj_Id FROM OPCPrj WHERE OPCPrj_Name = '%q'));"
    "DELETE FROM OPCGrp WHERE OPCPrj_Id IN ( SELECT OPCPrj_Id FROM OPCPrj WHERE OPCPrj_Name = "
    "'%q');"
    "DELETE FROM OPCPrj WHERE OPCPrj_Name = '%q';"
    "COMMIT;";

constexpr char kInsertProject[] =
    "INSERT INTO OPCPrj( OPCPrj_Name, OPCPrj_ServerId, OPCPrj_ServerHost, OPCPrj_ServerGuid, "
    "OPCPrj_Date, OPCPrj_Time) VALUES( ?, ?, ?, ?, ?, ?)";
constexpr char kInsertGroup[] =
    "INSERT INTO OPCGrp( OPCPrj_Id, OPCGrp_Name, OPCGrp_Active, OPCGrp_UpdateRate, "
    "OPCGrp_TimeBias, OPCGrp_DeadBand, OPCGrp_ReadInterface) VALUES( ?, ?, ?, ?, ?, ?, ?)";

constexpr char kBegin[] = "BEGIN TRANSACTION;";
constexpr char kCommit[] = "COMMIT;";
constexpr char kInsertItem[] =
    "INSERT INTO OPCItem( OPCGrp_Id, OPCItem_QualifiedName, OPCItem_ShortName, OPCItem_Data, "
    "OPCItem_DataType, OPCItem_ItemType)"
    "VALUES( %lld, "
    "'%q', "
    "'%q', "
    "'%q', "
    " %d, %d);";

}  // namespace

std::string CProjectRows::ListStatement(bool withCounts, int sortIndex) {
  std::string statement = kListStart;
  statement += kGuidColumn;
  if (withCounts)
    statement += kCountColumns;
  statement += kDateColumns;
  statement += kListEnd;
  statement += ProjectSortColumn(sortIndex);
  return statement;
}

std::string CProjectRows::GroupListStatement(int64_t projectId) {
  return SqlPrintf(kGroupList, static_cast<long long>(projectId));
}

std::string CProjectRows::ItemListStatement(int64_t projectId) {
  return SqlPrintf(kItemList, static_cast<long long>(projectId));
}

DbResult<bool> CProjectRows::NameExists(const std::string& name, const SqlRun& how) {
  return m_db.HasRow(kProjectExists, {SqlBinding::Text(name)}, how);
}

DbResult<int64_t> CProjectRows::LatestId(const std::string& name, const SqlRun& how) {
  const DbResult<int64_t> id = m_db.QueryInt64(kLatestId, {SqlBinding::Text(name)}, how);
  // MAX of no row is one null cell.
  if (id && id.Value() <= 0)
    return DbStatus::kNoRow;
  return id;
}

DbResult<ProjectHead> CProjectRows::LatestHead(const std::string& name, const SqlRun& how) {
  std::vector<QueryCell> cells;
  const DbResult<int> columns =
      m_db.GetQueryData(kLatestHead, {SqlBinding::Text(name)}, cells, how);
  if (!columns)
    return columns.Status();
  if (columns.Value() != kHeadColumns || cells.size() < kHeadColumns)
    return DbStatus::kNoRow;
  auto text = [](const QueryCell& cell) {
    return cell.columnType == kCellNull ? std::string() : cell.text;
  };
  return ProjectHead{cells[0].intValue, text(cells[1]), text(cells[2]), text(cells[3])};
}

DbStatus CProjectRows::Clean(const std::string& name) {
  return m_db.ExecSQL(SqlPrintf(kCleanScript, name.c_str(), name.c_str(), name.c_str()));
}

DbStatus CProjectRows::Delete(const std::string& name) {
  return m_db.ExecSQL(SqlPrintf(kDeleteScript, name.c_str(), name.c_str(), name.c_str()));
}

DbResult<int64_t> CProjectRows::InsertProject(const std::string& name, const std::string& serverId,
                                              const std::string& host,
                                              const std::string& classIdText,
                                              const std::string& date, const std::string& time) {
  return InsertRow(m_db, kInsertProject,
                   {SqlBinding::Text(name), SqlBinding::Text(serverId), SqlBinding::Text(host),
                    SqlBinding::Text(classIdText), SqlBinding::Text(date), SqlBinding::Text(time)});
}

DbResult<int64_t> CProjectRows::InsertGroup(int64_t projectId, const ProjectGroupRow& group) {
  return InsertRow(m_db, kInsertGroup,
                   {SqlBinding::Integer(projectId), SqlBinding::Text(group.name),
                    SqlBinding::Integer(group.active ? 1 : 0),
                    SqlBinding::Integer(group.updateRate), SqlBinding::Integer(group.timeBias),
                    SqlBinding::Integer(group.deadBand), SqlBinding::Integer(group.readInterface)});
}

DbStatus CProjectRows::InsertItems(int64_t groupId, const std::vector<ProjectItemRow>& items,
                                   int itemType) {
  std::string script = kBegin;
  for (const ProjectItemRow& item : items) {
    script += SqlPrintf(kInsertItem, static_cast<long long>(groupId), item.qualifiedId.c_str(),
                        item.shortId.c_str(), item.data.c_str(), item.dataType, itemType);
  }
  script += kCommit;
  return m_db.ExecSQL(script);
}
