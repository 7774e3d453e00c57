#include "db/project_import.h"

#include <map>

#include "base/log.h"
#include "db/project_commands.h"
#include "opc/opc_items.h"
#include "opc/opc_limits.h"

namespace {

constexpr char kTooManyGroups[] = "the file has %d groups; a server takes at most %d";
constexpr char kTooManyAcquired[] = "the file has %d acquired items; at most %d are allowed";
constexpr char kTooManyCalc[] = "the file has %d calculated items; at most %d are allowed";
constexpr char kBadClassId[] = "class-id '%s' is not a GUID";
constexpr char kServerHasGroups[] = "the server connection already holds groups";
constexpr char kNoConnection[] = "cannot connect to OPC server %s on %s";
constexpr char kGroupRefused[] = "the server refused group '%s' (line %d)";
constexpr char kItemsRefused[] = "%d item(s) refused; nothing saved";
constexpr char kNotSaved[] = "the project could not be saved in the database";
constexpr char kBadShortId[] = "a short id may hold letters, digits and the underscore only";
constexpr char kShortIdTaken[] = "short id already used on line %d";

bool IsShortIdCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

ProjectImportFailure FailureOf(const ProjectFileGroup& group, const ProjectFileItem& item,
                               const std::string& reason, HRESULT hr = S_OK) {
  return {item.m_nLine, group.m_sName, item.m_sShortId, item.m_sText, reason, hr};
}

// Checks the import can start at all: limits and the class id.
bool CheckFile(const ProjectFile& file, CLSID& clsid, ProjectImportResult& result) {
  int acquired = 0;
  int calc = 0;
  for (const ProjectFileGroup& group : file.m_groups) {
    acquired += static_cast<int>(group.m_acquiredItems.size());
    calc += static_cast<int>(group.m_calcItems.size());
  }
  if (static_cast<int>(file.m_groups.size()) > kMaxGroupCount) {
    result.m_sError =
        Format(kTooManyGroups, static_cast<int>(file.m_groups.size()), kMaxGroupCount);
  } else if (acquired > kMaxAcquiredItemCount) {
    result.m_sError = Format(kTooManyAcquired, acquired, kMaxAcquiredItemCount);
  } else if (calc > kMaxCalculatedItemCount) {
    result.m_sError = Format(kTooManyCalc, calc, kMaxCalculatedItemCount);
  } else if (!file.m_sClassId.empty() && !GuidFromString(file.m_sClassId, clsid)) {
    result.m_sError = Format(kBadClassId, file.m_sClassId.c_str());
  }
  return result.m_sError.empty();
}

// Short ids: acquired ones are unique over the whole project, and no two items of a group
// share one (a calculated item's expression could not tell them apart).
void CheckShortIds(const ProjectFile& file, std::vector<ProjectImportFailure>& failures) {
  std::map<std::string, int> acquiredLines;
  for (const ProjectFileGroup& group : file.m_groups) {
    std::map<std::string, int> groupLines;
    for (const ProjectFileItem& item : group.m_acquiredItems) {
      if (!IsValidAcquiredShortId(item.m_sShortId)) {
        failures.push_back(FailureOf(group, item, kBadShortId));
        continue;
      }
      const auto taken = acquiredLines.find(item.m_sShortId);
      if (taken != acquiredLines.end()) {
        failures.push_back(FailureOf(group, item, Format(kShortIdTaken, taken->second)));
        continue;
      }
      acquiredLines[item.m_sShortId] = item.m_nLine;
      groupLines[item.m_sShortId] = item.m_nLine;
    }
    for (const ProjectFileItem& item : group.m_calcItems) {
      const auto taken = groupLines.find(item.m_sShortId);
      if (taken != groupLines.end()) {
        failures.push_back(FailureOf(group, item, Format(kShortIdTaken, taken->second)));
        continue;
      }
      groupLines[item.m_sShortId] = item.m_nLine;
    }
  }
}

// The group's acquired items on the server; refused ones are recorded.
void AddAcquiredItems(COPCServer& server, COPCGroup& group, const ProjectFileGroup& source,
                      std::vector<ProjectImportFailure>& failures) {
  std::vector<OPCITEMDEF> defs;
  std::vector<std::string> shortIds;
  for (const ProjectFileItem& item : source.m_acquiredItems) {
    OPCITEMDEF def;
    def.szItemID = item.m_sText;
    def.bActive = TRUE;
    def.vtRequestedDataType = VT_EMPTY;  // the server's canonical type
    defs.push_back(std::move(def));
    shortIds.push_back(item.m_sShortId);
  }
  std::vector<HRESULT> codes;
  AddNewItemsToGroup(server, group, defs, shortIds, &codes);
  for (size_t i = 0; i < source.m_acquiredItems.size(); ++i) {
    const ProjectFileItem& item = source.m_acquiredItems[i];
    const HRESULT code = i < codes.size() ? codes[i] : E_FAIL;
    if (code != S_OK)
      failures.push_back(FailureOf(source, item, AddItemResultText(code), code));
    if (item.m_bHasDescription && i < group.AcquiredItems().size())
      group.AcquiredItems()[i]->SetDescription(item.m_sDescription);
  }
}

void AddCalcItems(COPCGroup& group, const ProjectFileGroup& source, const CalcItemRule& calcRule,
                  std::vector<ProjectImportFailure>& failures) {
  for (const ProjectFileItem& item : source.m_calcItems) {
    COPCCalcItem* calcItem = group.AppendCalcItem();
    calcItem->Define(item.m_sShortId, item.m_sShortId, item.m_sShortId, kProjectCalcItemType);
    calcItem->SetExpression(item.m_sText);
  }
  // Checked once every item is there: an expression may use any item of the group.
  if (!calcRule)
    return;
  for (size_t i = 0; i < source.m_calcItems.size(); ++i) {
    const std::string reason = calcRule(group, *group.CalcItems()[i]);
    if (!reason.empty())
      failures.push_back(FailureOf(source, source.m_calcItems[i], reason));
  }
}

}  // namespace

bool IsValidAcquiredShortId(const std::string& shortId) {
  if (shortId.empty())
    return false;
  for (const char c : shortId) {
    if (!IsShortIdCharacter(c))
      return false;
  }
  return true;
}

ProjectImportResult ImportProject(CProjectStore& store, CProjectState& state,
                                  const ProjectFile& file, const CalcItemRule& calcRule) {
  ProjectImportResult result;
  COPCServer& server = store.Server();
  CLSID clsid;
  if (!CheckFile(file, clsid, result))
    return result;
  if (server.GroupCount() != 0) {
    result.m_sError = kServerHasGroups;
    return result;
  }
  CheckShortIds(file, result.m_failures);
  if (!server.Connect(file.m_sServerId, file.m_sHost, clsid)) {
    server.Context().prompt.ShowReport(ServerConnectionErrorReport(file.m_sServerId));
    result.m_sError = Format(kNoConnection, file.m_sServerId.c_str(), file.m_sHost.c_str());
    return result;
  }
  for (const ProjectFileGroup& source : file.m_groups) {
    COPCGroup* group = server.AddGroup(source.m_sName, source.m_nUpdateRate, source.m_nTimeBias,
                                       static_cast<FLOAT>(source.m_dDeadBand), kProjectGroupLocale,
                                       source.m_nReadInterface, source.m_bActive);
    if (group == nullptr) {
      result.m_sError = Format(kGroupRefused, source.m_sName.c_str(), source.m_nLine);
      return result;
    }
    AddAcquiredItems(server, *group, source, result.m_failures);
    AddCalcItems(*group, source, calcRule, result.m_failures);
    result.m_nAcquiredCount += group->AcquiredCount();
    result.m_nCalcCount += group->CalcCount();
  }
  server.RecountItems();
  server.MarkConfigurationChanged();
  result.m_nGroupCount = server.GroupCount();
  if (!result.m_failures.empty()) {
    result.m_sError = Format(kItemsRefused, static_cast<int>(result.m_failures.size()));
    return result;
  }
  result.m_nProjectId = SaveProjectAs(store, state, file.m_sName);
  if (result.m_nProjectId <= 0) {
    result.m_nProjectId = -1;
    result.m_sError = kNotSaved;
  }
  return result;
}
