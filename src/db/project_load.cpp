// CProjectStore::LoadGroups and LoadItems: a saved project re-created on the server.
#include <vector>

#include "base/log.h"
#include "db/project_store.h"
#include "opc/opc_items.h"

namespace {

constexpr char kGroupQuery[] =
    "SELECT OPCGrp_Name, OPCGrp_Active, OPCGrp_UpdateRate, OPCGrp_TimeBias, OPCGrp_DeadBand, "
    "OPCGrp_ReadInterface FROM OPCGrp WHERE OPCPrj_Id = ?";
constexpr char kItemQuery[] =
    "SELECT OPCGrp.OPCGrp_Name AS 'OPCGroupName', OPCItem_QualifiedName, OPCItem_ShortName, "
    "OPCItem_Data, OPCItem_DataType, OPCItem_ItemType FROM OPCItem "
    "INNER JOIN OPCGrp ON OPCItem.OPCGrp_Id = OPCGrp.OPCGrp_Id WHERE OPCItem.OPCGrp_Id IN "
    "( SELECT OPCGrp_Id FROM OPCGrp WHERE OPCPrj_Id = ? ORDER BY OPCGrp_Id) "
    "ORDER BY OPCItem.OPCGrp_Id, OPCItem.OPCItem_Id";
constexpr int kColumnsPerRow = 6;
constexpr char kGroupAddedLog[] = "Add OPC Group '%s' to OPC Server %s";

// The cells of one result row, looked up by column name.
class CRowCells {
 public:
  CRowCells(const std::vector<QueryCell>& cells, size_t first) : m_cells(cells), m_nFirst(first) {}

  const QueryCell* Find(const char* name) const {
    for (size_t i = m_nFirst; i < m_nFirst + kColumnsPerRow && i < m_cells.size(); ++i) {
      if (m_cells[i].columnName == name)
        return &m_cells[i];
    }
    return nullptr;
  }
  std::string Text(const char* name) const {
    const QueryCell* cell = Find(name);
    return cell != nullptr && cell->columnType == kCellText ? cell->text : std::string();
  }
  int32_t Integer(const char* name) const {
    const QueryCell* cell = Find(name);
    if (cell == nullptr)
      return 0;
    if (cell->columnType == kCellFloat)
      return static_cast<int32_t>(StoredDeadBand(cell->floatValue));
    return cell->intValue;
  }
  float Real(const char* name) const {
    const QueryCell* cell = Find(name);
    if (cell == nullptr)
      return 0.0f;
    return cell->columnType == kCellInteger ? static_cast<float>(cell->intValue) : cell->floatValue;
  }

 private:
  const std::vector<QueryCell>& m_cells;
  size_t m_nFirst;
};

}  // namespace

bool CProjectStore::LoadGroups(int projectId, IProjectLoadObserver* observer) {
  CWait wait(m_pFeedback);
  AppContext& context = m_db.Context();
  std::vector<QueryCell> cells;
  const DbResult<int> columns =
      m_db.GetQueryData(kGroupQuery, {SqlBinding::Integer(projectId)}, cells, SqlRun().Opening());
  if (columns.Status() == DbStatus::kOpenFailed)
    return false;
  // A failed read has no cells: it must not pass for a project without groups.
  if (columns.Status() == DbStatus::kFailed || cells.size() % kColumnsPerRow != 0) {
    m_db.Close();
    context.prompt.ShowMessage(kIncoherentGroupDataMessage, MessageButtons::kOk,
                               MessageIcon::kError);
    return false;
  }
  for (size_t first = 0; first < cells.size(); first += kColumnsPerRow) {
    const CRowCells row(cells, first);
    const std::string name = row.Text("OPCGrp_Name");
    COPCGroup* group = m_server.AddGroup(name, static_cast<DWORD>(row.Integer("OPCGrp_UpdateRate")),
                                         static_cast<LONG>(row.Integer("OPCGrp_TimeBias")),
                                         row.Real("OPCGrp_DeadBand"), kProjectGroupLocale,
                                         static_cast<uint32_t>(row.Integer("OPCGrp_ReadInterface")),
                                         row.Integer("OPCGrp_Active") != 0);
    if (group == nullptr)
      continue;
    if (observer != nullptr)
      observer->OnGroupLoaded(*group);
    context.log.Log(Format(kGroupAddedLog, group->Name().c_str(), m_server.ServerId().c_str()),
                    kLogOpcServer);
  }
  return true;
}

bool CProjectStore::LoadItems(int projectId, IProjectLoadObserver* observer) {
  CWait wait(m_pFeedback);
  AppContext& context = m_db.Context();
  std::vector<QueryCell> cells;
  const DbResult<int> columns =
      m_db.GetQueryData(kItemQuery, {SqlBinding::Integer(projectId)}, cells, SqlRun().Closing());
  if (columns.Status() == DbStatus::kOpenFailed)
    return false;
  if (columns.Status() == DbStatus::kFailed || cells.size() % kColumnsPerRow != 0) {
    context.prompt.ShowMessage(kIncoherentItemDataMessage, MessageButtons::kOk,
                               MessageIcon::kError);
    return false;
  }
  for (size_t first = 0; first < cells.size(); first += kColumnsPerRow) {
    const CRowCells row(cells, first);
    COPCGroup* group = m_server.FindGroupByName(row.Text("OPCGroupName"));
    if (group == nullptr) {
      m_server.RecountItems();
      context.prompt.ShowMessage(kUnknownItemGroupMessage, MessageButtons::kOk,
                                 MessageIcon::kError);
      return false;
    }
    const VARTYPE dataType = static_cast<VARTYPE>(row.Integer("OPCItem_DataType"));
    if (row.Integer("OPCItem_ItemType") == kItemCalculated) {
      COPCCalcItem* item = group->AppendCalcItem();
      // The calculated item editor names an item by its identifier everywhere.
      item->Define(row.Text("OPCItem_QualifiedName"), row.Text("OPCItem_ShortName"),
                   row.Text("OPCItem_ShortName"), dataType);
      item->SetExpression(row.Text("OPCItem_Data"));
    } else {
      COPCItem* item = group->AppendAcquiredItem();
      item->Define(row.Text("OPCItem_QualifiedName"), row.Text("OPCItem_ShortName"),
                   row.Text("OPCItem_Data"), dataType);
    }
  }
  for (int i = 0; i < m_server.GroupCount(); ++i) {
    COPCGroup& group = *m_server.Group(i);
    if (!group.AcquiredItems().empty())
      ReAddItemsOfGroup(m_server, group);
    if (observer != nullptr)
      observer->OnGroupItemsLoaded(group);
  }
  m_server.RecountItems();
  return true;
}
