#include "db/project_export.h"

#include <map>
#include <vector>

#include "db/project_rows.h"
#include "opc/opc_limits.h"

namespace {

constexpr char kGroupQuery[] =
    "SELECT OPCGrp_Id, OPCGrp_Name, OPCGrp_Active, OPCGrp_UpdateRate, OPCGrp_TimeBias, "
    "OPCGrp_DeadBand, OPCGrp_ReadInterface FROM OPCGrp WHERE OPCPrj_Id = ? ORDER BY OPCGrp_Id";
constexpr int kGroupColumns = 7;
constexpr char kItemQuery[] =
    "SELECT OPCGrp_Id, OPCItem_QualifiedName, OPCItem_ShortName, OPCItem_Data, "
    "OPCItem_ItemType FROM OPCItem WHERE OPCGrp_Id IN ( SELECT OPCGrp_Id FROM OPCGrp WHERE "
    "OPCPrj_Id = ?) ORDER BY OPCItem_Id";
constexpr int kItemColumns = 5;

std::string TextOf(const QueryCell& cell) {
  return cell.columnType == kCellText ? cell.text : std::string();
}

double RealOf(const QueryCell& cell) {
  return cell.columnType == kCellInteger ? static_cast<double>(cell.intValue)
                                         : static_cast<double>(cell.floatValue);
}

// One query; false (with error) when it could not be read or its rows are not whole.
bool Read(CSQLite& db, const char* statement, int projectId, size_t columns,
          std::vector<QueryCell>& cells, std::string& error) {
  cells.clear();
  const DbResult<int> result = db.GetQueryData(statement, {SqlBinding::Integer(projectId)}, cells);
  if (result.Status() == DbStatus::kFailed || cells.size() % columns != 0) {
    error = db.LastErrorText().empty() ? "the project rows could not be read" : db.LastErrorText();
    return false;
  }
  return true;
}

}  // namespace

int ExportProject(CSQLite& db, const std::string& name, ProjectFile& file, std::string& error) {
  file = ProjectFile();
  if (db.OpenExistingFile() != DbStatus::kOk) {
    error = "the database could not be opened";
    return -1;
  }
  const DbResult<ProjectHead> head = CProjectRows(db).LatestHead(name);
  // A file without the project table holds no project (as an empty one does).
  if (head.Status() == DbStatus::kNoRow || head.Status() == DbStatus::kNotPrepared) {
    db.Close();
    return 0;
  }
  if (!head) {
    error = db.LastErrorText().empty() ? "the project rows could not be read" : db.LastErrorText();
    db.Close();
    return -1;
  }
  const int projectId = static_cast<int>(head.Value().id);
  file.m_sName = name;
  file.m_sServerId = head.Value().serverId;
  file.m_sHost = head.Value().host;
  file.m_sClassId = head.Value().classIdText;

  std::vector<QueryCell> cells;
  std::map<int, size_t> groupIndex;  // OPCGrp_Id → position in the file
  if (!Read(db, kGroupQuery, projectId, kGroupColumns, cells, error)) {
    db.Close();
    return -1;
  }
  for (size_t first = 0; first < cells.size(); first += kGroupColumns) {
    ProjectFileGroup group;
    group.m_sName = TextOf(cells[first + 1]);
    group.m_bActive = cells[first + 2].intValue != 0;
    group.m_nUpdateRate = static_cast<uint32_t>(cells[first + 3].intValue);
    group.m_nTimeBias = cells[first + 4].intValue;
    group.m_dDeadBand = RealOf(cells[first + 5]);
    group.m_nReadInterface = static_cast<uint32_t>(cells[first + 6].intValue);
    groupIndex[cells[first].intValue] = file.m_groups.size();
    file.m_groups.push_back(std::move(group));
  }

  const bool itemsRead = Read(db, kItemQuery, projectId, kItemColumns, cells, error);
  db.Close();
  if (!itemsRead)
    return -1;
  for (size_t first = 0; first < cells.size(); first += kItemColumns) {
    const auto group = groupIndex.find(cells[first].intValue);
    if (group == groupIndex.end())
      continue;
    ProjectFileGroup& target = file.m_groups[group->second];
    ProjectFileItem item;
    item.m_sShortId = TextOf(cells[first + 2]);
    if (cells[first + 4].intValue == kItemCalculated) {
      item.m_sText = TextOf(cells[first + 3]);
      target.m_calcItems.push_back(std::move(item));
    } else {
      item.m_sText = TextOf(cells[first + 1]);
      const std::string description = TextOf(cells[first + 3]);
      // The usual description is the item id itself: the file leaves it out.
      item.m_bHasDescription = description != item.m_sText;
      if (item.m_bHasDescription)
        item.m_sDescription = description;
      target.m_acquiredItems.push_back(std::move(item));
    }
  }
  return 1;
}

int DeleteProject(CSQLite& db, const std::string& name, std::string& error) {
  CProjectRows rows(db);
  const DbResult<bool> exists = rows.NameExists(name, SqlRun().Opening());
  if (exists.Status() == DbStatus::kOpenFailed) {
    error = "the database could not be opened";
    return -1;
  }
  if (!exists || !exists.Value()) {
    db.Close();
    if (!exists) {
      error = db.LastErrorText();
      return -1;
    }
    return 0;
  }
  const bool done = rows.Delete(name) == DbStatus::kOk;
  error = done ? std::string() : db.LastErrorText();
  db.Close();
  return done ? 1 : -1;
}
