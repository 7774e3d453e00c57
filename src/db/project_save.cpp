// CProjectStore::Save: the server's configuration into OPCPrj, OPCGrp and OPCItem.
#include <cmath>
#include <limits>

#include "base/log.h"
#include "db/project_store.h"
#include "db/sql_format.h"
#include "platform/com/guid.h"

namespace {

constexpr char kProjectExistsQuery[] = "SELECT OPCPrj_Id FROM OPCPrj WHERE OPCPrj_Name = '%q'";

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

constexpr char kInsertProject[] =
    "INSERT INTO OPCPrj( OPCPrj_Name, OPCPrj_ServerId, OPCPrj_ServerHost, OPCPrj_ServerGuid, "
    "OPCPrj_Date, OPCPrj_Time) "
    "VALUES( "
    "'%q', "
    "'%q', "
    "'%q', "
    "'%q', "
    " '%s', '%s')";
constexpr char kLastProjectId[] = "SELECT MAX(OPCPrj_Id) from OPCPrj";

constexpr char kInsertGroup[] =
    "INSERT INTO OPCGrp( OPCPrj_Id, OPCGrp_Name, OPCGrp_Active, OPCGrp_UpdateRate, "
    "OPCGrp_TimeBias, OPCGrp_DeadBand, OPCGrp_ReadInterface) "
    "VALUES( %d, "
    "'%q', "
    " %d, %d, %d, %d, %d)";
constexpr char kLastGroupId[] = "SELECT MAX(OPCGrp_Id) from OPCGrp";

constexpr char kBegin[] = "BEGIN TRANSACTION;";
constexpr char kCommit[] = "COMMIT;";
constexpr char kInsertItem[] =
    "INSERT INTO OPCItem( OPCGrp_Id, OPCItem_QualifiedName, OPCItem_ShortName, OPCItem_Data, "
    "OPCItem_DataType, OPCItem_ItemType)"
    "VALUES( %d, "
    "'%q', "
    "'%q', "
    "'%q', "
    " %d, %d);";

constexpr char kDateFormat[] = "%04d-%02d-%02d";
constexpr char kTimeFormat[] = "%02d:%02d:%02d";

// A failed row would otherwise go unnoticed: the project would look saved.
constexpr char kProjectRowFailedLog[] = "Error Saving Project '%s' to SQLite Database !!! %s";
constexpr char kGroupRowFailedLog[] =
    "Error Saving OPC Group '%s' of Project '%s' to SQLite Database !!! Group and its Items NOT "
    "Saved ... %s";
constexpr char kItemRowsFailedLog[] =
    "Error Saving Items of OPC Group '%s' to SQLite Database !!! Items NOT Saved ... %s";

// What OPCItem_Data holds: an acquired item's description, a calculated item's expression.
const std::string& ItemData(const COPCItem& item) {
  return item.m_sDescription;
}
const std::string& ItemData(const COPCCalcItem& item) {
  return item.m_sExpression;
}

// One transaction inserting every item of a list.
template <class Items>
std::string ItemScript(int groupId, const Items& items, ItemType type) {
  std::string script = kBegin;
  for (const auto& item : items) {
    script += SqlPrintf(kInsertItem, groupId, item->m_sQualifiedId.c_str(),
                        item->m_sShortId.c_str(), ItemData(*item).c_str(),
                        static_cast<int>(item->m_vtDataType), static_cast<int>(type));
  }
  script += kCommit;
  return script;
}

}  // namespace

int StoredDeadBand(float deadBand) {
  if (std::isnan(deadBand))
    return 0;
  // Outside int's range the conversion would be undefined: clamp first.
  constexpr float kMax = 2147483520.0f;  // the largest float below 2^31
  if (deadBand >= kMax)
    return std::numeric_limits<int>::max();
  if (deadBand <= -kMax)
    return std::numeric_limits<int>::min();
  return static_cast<int>(deadBand);  // truncation toward zero
}

int CProjectStore::Save(const std::string& name) {
  CWait wait(m_pFeedback);
  AppContext& context = m_db.Context();
  // Opening is done by a query on the name; its answer does not matter.
  if (m_db.RowExists(SqlPrintf(kProjectExistsQuery, name.c_str()), true, false) == kDbOpenFailed) {
    return -1;
  }
  if (m_db.ExecSQL(SqlPrintf(kCleanScript, name.c_str(), name.c_str(), name.c_str())) != 1) {
    context.log.Log(kCleaningFailedMessage, kLogOpcServer);
    context.prompt.ShowMessage(kCleaningFailedMessage, MessageButtons::Ok, MessageIcon::Warning);
    m_db.Close();
    return -1;
  }

  const LocalTime now = context.clock.LocalNow();
  const std::string date = Format(kDateFormat, now.year, now.month, now.day);
  const std::string time = Format(kTimeFormat, now.hour, now.minute, now.second);
  const std::string classId = GuidToString(m_server.Clsid(), false, GuidTextCase::kLower);
  int projectId = -1;
  if (m_db.ExecSQL(SqlPrintf(kInsertProject, name.c_str(), m_server.ServerId().c_str(),
                             m_server.Host().c_str(), classId.c_str(), date.c_str(),
                             time.c_str())) == 1) {
    projectId = m_db.QueryInteger(kLastProjectId);
  }
  bool complete = projectId > 0;
  if (!complete) {
    context.log.Log(Format(kProjectRowFailedLog, name.c_str(), m_db.LastErrorText().c_str()),
                    kLogOpcServer);
    projectId = -1;
  } else {
    for (int i = 0; i < m_server.GroupCount(); ++i) {
      const COPCGroup& group = *m_server.Group(i);
      const int groupId = SaveGroup(projectId, group);
      if (groupId <= 0) {
        context.log.Log(Format(kGroupRowFailedLog, group.Name().c_str(), name.c_str(),
                               m_db.LastErrorText().c_str()),
                        kLogOpcServer);
        complete = false;
        continue;
      }
      if (!SaveItems(groupId, group)) {
        context.log.Log(
            Format(kItemRowsFailedLog, group.Name().c_str(), m_db.LastErrorText().c_str()),
            kLogOpcServer);
        complete = false;
      }
    }
  }
  m_db.Close();
  if (!complete)
    return -1;
  m_server.SetConfigurationModified(false);
  return projectId;
}

int CProjectStore::SaveGroup(int projectId, const COPCGroup& group) {
  const std::string insert =
      SqlPrintf(kInsertGroup, projectId, group.Name().c_str(), group.IsActive() ? 1 : 0,
                static_cast<int>(group.UpdateRate()), static_cast<int>(group.TimeBias()),
                StoredDeadBand(group.DeadBand()), static_cast<int>(group.ReadInterface()));
  if (m_db.ExecSQL(insert) != 1)
    return -1;
  return m_db.QueryInteger(kLastGroupId);
}

bool CProjectStore::SaveItems(int groupId, const COPCGroup& group) {
  bool saved = true;
  if (!group.AcquiredItems().empty() &&
      m_db.ExecSQL(ItemScript(groupId, group.AcquiredItems(), kItemAcquired)) != 1) {
    saved = false;
  }
  if (!group.CalcItems().empty() &&
      m_db.ExecSQL(ItemScript(groupId, group.CalcItems(), kItemCalculated)) != 1) {
    saved = false;
  }
  return saved;
}
