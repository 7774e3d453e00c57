#include "db/project_list.h"

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
    "WHERE OPCPrj_Id = %d ORDER BY OPCGrp_Id";
constexpr char kItemList[] =
    "SELECT OPCItem_Id, OPCGrp.OPCGrp_Name AS 'Group Name', OPCItem_QualifiedName AS 'Item "
    "Name', OleVariant.Variant_Descr AS 'Data Type', "
    "( SELECT CASE OPCItem_ItemType WHEN 0 THEN 'Acquired Data' WHEN 1 THEN 'Calculated Data' "
    "ELSE 'Unknown TYPE' END) AS 'Item Type' FROM OPCItem "
    "INNER JOIN OPCGrp ON OPCItem.OPCGrp_Id = OPCGrp.OPCGrp_Id INNER JOIN OleVariant ON "
    "OPCItem.OPCItem_DataType = OleVariant.Variant_Value "
    "WHERE OPCItem.OPCGrp_Id IN ( "
    "SELECT OPCGrp_Id FROM OPCGrp WHERE OPCPrj_Id = %d ORDER BY OPCGrp_Id) "
    "ORDER BY OPCItem.OPCGrp_Id, OPCItem.OPCItem_Id";

constexpr const char* kSortColumns[kProjectSortChoiceCount] = {
    "OPCPrj_Id",         "OPCPrj_Name", "OPCPrj_ServerId", "OPCPrj_ServerHost",
    "OPCPrj_ServerGuid", "OPCPrj_Date", "OPCPrj_Time",
};

}  // namespace

const std::vector<std::string>& ProjectSortChoices() {
  static const std::vector<std::string> kChoices = {
      "Project Id",      "Project Name",  "OPC Server Id", "OPC Server Host",
      "OPC Server Guid", "Creation Date", "Creation Time",
  };
  return kChoices;
}

const char* ProjectSortColumn(int sortIndex) {
  if (sortIndex < 0 || sortIndex >= kProjectSortChoiceCount)
    sortIndex = kSortByName;
  return kSortColumns[sortIndex];
}

std::string ProjectListStatement(bool withCounts, int sortIndex) {
  std::string statement = kListStart;
  statement += kGuidColumn;
  if (withCounts)
    statement += kCountColumns;
  statement += kDateColumns;
  statement += kListEnd;
  statement += ProjectSortColumn(sortIndex);
  return statement;
}

std::string ProjectGroupListStatement(int projectId) {
  return SqlPrintf(kGroupList, projectId);
}

std::string ProjectItemListStatement(int projectId) {
  return SqlPrintf(kItemList, projectId);
}
