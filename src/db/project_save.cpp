// CProjectStore::Save: the server's configuration into OPCPrj, OPCGrp and OPCItem.
#include <cmath>
#include <limits>

#include "base/log.h"
#include "db/project_rows.h"
#include "db/project_store.h"
#include "platform/com/guid.h"

namespace {

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
const std::string& ItemData(const OPCItemDefinition& item) {
  return item.m_sDescription;
}
const std::string& ItemData(const OPCCalcItemDefinition& item) {
  return item.m_sExpression;
}

template <class Definitions>
std::vector<ProjectItemRow> ItemRows(const Definitions& items) {
  std::vector<ProjectItemRow> rows;
  rows.reserve(items.size());
  for (const auto& item : items) {
    rows.push_back({item.m_sQualifiedId, item.m_sShortId, ItemData(item),
                    static_cast<int>(item.m_vtDataType)});
  }
  return rows;
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
  CProjectRows rows(m_db);
  if (rows.NameExists(name, SqlRun().Opening()).Status() == DbStatus::kOpenFailed)
    return -1;
  if (rows.Clean(name) != DbStatus::kOk) {
    context.log.Log(kCleaningFailedMessage, kLogOpcServer);
    context.prompt.ShowMessage(kCleaningFailedMessage, MessageButtons::kOk, MessageIcon::kWarning);
    m_db.Close();
    return -1;
  }

  const LocalTime now = context.clock.LocalNow();
  const std::string date = Format(kDateFormat, now.year, now.month, now.day);
  const std::string time = Format(kTimeFormat, now.hour, now.minute, now.second);
  const COPCConfiguration configuration = m_server.Configuration();
  const std::string classId = GuidToString(configuration.Clsid(), false, GuidTextCase::kLower);
  int projectId = static_cast<int>(
      rows.InsertProject(name, configuration.ServerId(), configuration.Host(), classId, date, time)
          .ValueOr(-1));
  bool complete = projectId > 0;
  if (!complete) {
    context.log.Log(Format(kProjectRowFailedLog, name.c_str(), m_db.LastErrorText().c_str()),
                    kLogOpcServer);
    projectId = -1;
  } else {
    for (const OPCGroupConfiguration& group : configuration.Groups()) {
      const std::string& groupName = group.m_settings.m_sName;
      const int groupId = SaveGroup(projectId, group.m_settings);
      if (groupId <= 0) {
        context.log.Log(Format(kGroupRowFailedLog, groupName.c_str(), name.c_str(),
                               m_db.LastErrorText().c_str()),
                        kLogOpcServer);
        complete = false;
        continue;
      }
      if (!SaveItems(groupId, group)) {
        context.log.Log(Format(kItemRowsFailedLog, groupName.c_str(), m_db.LastErrorText().c_str()),
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

int CProjectStore::SaveGroup(int projectId, const OPCGroupSettings& settings) {
  const ProjectGroupRow row{settings.m_sName,
                            settings.m_bActive,
                            static_cast<int>(settings.m_dwUpdateRate),
                            static_cast<int>(settings.m_nTimeBias),
                            StoredDeadBand(settings.m_fDeadBand),
                            static_cast<int>(settings.m_nReadInterface)};
  return static_cast<int>(CProjectRows(m_db).InsertGroup(projectId, row).ValueOr(-1));
}

bool CProjectStore::SaveItems(int groupId, const OPCGroupConfiguration& group) {
  CProjectRows rows(m_db);
  bool saved = true;
  if (!group.m_acquiredItems.empty() &&
      rows.InsertItems(groupId, ItemRows(group.m_acquiredItems), kItemAcquired) != DbStatus::kOk) {
    saved = false;
  }
  if (!group.m_calcItems.empty() &&
      rows.InsertItems(groupId, ItemRows(group.m_calcItems), kItemCalculated) != DbStatus::kOk) {
    saved = false;
  }
  return saved;
}
