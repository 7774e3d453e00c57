// CAddItemSession: opening, texts, filters, rows and the result.
#include "opc/add_item_session.h"

#include <algorithm>

#include "base/log.h"
#include "opc/add_item_filters.h"
#include "opc/add_item_silent_prompt.h"
#include "opc/add_item_texts.h"
#include "opc/opc_items.h"
#include "opc/opc_texts.h"
#include "platform/com/error_text.h"

CAddItemSession::CAddItemSession(COPCServer& server, COPCGroup& group)
    : m_server(server),
      m_pWorking(std::make_unique<COPCGroup>(&server)),
      m_sNamePattern(kDefaultNamePattern) {
  m_pWorking->CopySettings(group, true, true);
}

void CAddItemSession::Open() {
  CLog& log = m_server.Context().log;
  // The group is found by its name on use: the session holds only its copy.
  m_nGroupIndex = -1;
  const COPCGroup* group = m_server.FindGroupByName(m_pWorking->Name(), &m_nGroupIndex);
  m_server.RecountItems();
  m_nAllowance = kMaxAcquiredItemCount - m_server.TotalAcquiredCount() +
                 (group != nullptr ? group : m_pWorking.get())->AcquiredCount();

  NotifyRowsAboutToChange();
  m_rows.clear();
  for (const auto& item : m_pWorking->AcquiredItems()) {
    AddItemRow row;
    row.m_sQualifiedId = item->QualifiedId();
    row.m_sShortId = item->ShortId();
    row.m_sDataType = DataTypeText(item->DataType());
    row.m_def.szItemID = item->QualifiedId();
    row.m_def.vtRequestedDataType = item->DataType();
    m_rows.push_back(std::move(row));
  }
  NotifyRowsChanged();

  std::string stateText;
  m_bStatusReadable = m_server.GetServerStateText(stateText);

  m_pBrowse = m_server.Connection().BrowseServerAddressSpace();
  const std::string& serverId = m_server.ServerId();
  const std::string& host = m_server.Host();
  if (!m_pBrowse) {
    log.Log(Format(kBrowseUnavailableAttemptLog, serverId.c_str(), host.c_str()), kLogOpcServer);
    log.Log(Format(kBrowseUnavailableFailLog, serverId.c_str(), host.c_str()), kLogOpcServer);
    return;
  }
  ClimbToRoot(*m_pBrowse);
  OPCNAMESPACETYPE organization = OPC_NS_HIERARCHIAL;
  const HRESULT hr = m_pBrowse->QueryOrganization(&organization);
  if (FAILED(hr)) {
    log.Log(Format(kQueryOrganizationFailedLog, serverId.c_str(), host.c_str(),
                   static_cast<unsigned>(hr), HResultReasonText(hr).c_str()),
            kLogOpcServer);
    return;
  }
  if (organization != OPC_NS_HIERARCHIAL && organization != OPC_NS_FLAT)
    return;
  m_eOrganization = organization;
  m_bOrganizationKnown = true;
  // A flat space has nothing to expand: its root alone, marked expanded.
  SelectNode(m_tree.SetRoot(serverId, organization == OPC_NS_HIERARCHIAL));
}

std::string CAddItemSession::Title() const {
  return Format(kAddItemTitleFormat, m_pWorking->Name().c_str());
}

std::string CAddItemSession::ItemListLabel() const {
  return Format(kAddItemLabelFormat, m_rows.size() >= 2 ? "s " : " ", m_pWorking->Name().c_str());
}

// ---- Filters ----

void CAddItemSession::SetDataTypeFilter(int index) {
  if (index < 0 || index >= kDataTypeFilterCount)
    return;
  m_nDataTypeFilter = index;
  SelectNode(m_pSelected);
}

void CAddItemSession::SetAccessFilter(int index) {
  if (index < 0 || index >= kAccessFilterCount)
    return;
  m_nAccessFilter = index;
  SelectNode(m_pSelected);
}

void CAddItemSession::SetNamePattern(const std::string& pattern) {
  m_sNamePattern = pattern.substr(0, kMaxNamePatternLength);
  SelectNode(m_pSelected);
}

std::string CAddItemSession::DataTypeFilterText() const {
  return kDataTypeFilters[m_nDataTypeFilter].m_pText;
}

std::string CAddItemSession::AccessFilterText() const {
  return kAccessFilters[m_nAccessFilter].m_pText;
}

VARTYPE CAddItemSession::DataTypeFilterType() const {
  return kDataTypeFilters[m_nDataTypeFilter].m_vtType;
}

DWORD CAddItemSession::AccessFilterRights() const {
  return kAccessFilters[m_nAccessFilter].m_dwRights;
}

// ---- Rows ----

void CAddItemSession::RemoveRows(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  NotifyRowsAboutToChange();
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    if (*it >= 0 && *it < RowCount())
      m_rows.erase(m_rows.begin() + *it);
  }
  NotifyRowsChanged();
}

ShortIdEditRequest CAddItemSession::ShortIdEditFor(int row) const {
  ShortIdEditRequest request;
  request.m_sGroupName = m_pWorking->Name();
  request.m_nGroupIndex = m_nGroupIndex;
  request.m_nAcquiredCount = RowCount();
  request.m_nCalcCount = m_pWorking->CalcCount();
  if (row >= 0 && row < RowCount()) {
    const AddItemRow& entry = m_rows[static_cast<size_t>(row)];
    request.m_sQualifiedId = entry.m_sQualifiedId;
    request.m_sShortId = entry.m_sShortId;
    request.m_sDataType = entry.m_sDataType;
  }
  return request;
}

std::vector<ShortIdOwner> CAddItemSession::OtherShortIds(int row) const {
  // The rows stand for this group's acquired items.
  std::vector<ShortIdOwner> owners;
  for (ShortIdOwner& owner : CollectAcquiredShortIds(m_server, -1, -1)) {
    if (owner.m_nGroupIndex != m_nGroupIndex)
      owners.push_back(std::move(owner));
  }
  for (int i = 0; i < RowCount(); ++i) {
    if (i != row) {
      owners.push_back(
          {m_nGroupIndex, m_pWorking->Name(), i, m_rows[static_cast<size_t>(i)].m_sShortId});
    }
  }
  return owners;
}

ShortIdCheck CAddItemSession::CheckShortIdEdit(int row, const std::string& text) const {
  return CheckShortId(text, OtherShortIds(row), m_server.Context().prompt);
}

bool CAddItemSession::ApplyShortIdEdit(int row, const std::string& text) {
  if (row < 0 || row >= RowCount())
    return false;
  CSilentPrompt silent;
  const ShortIdCheck check = CheckShortId(text, OtherShortIds(row), silent);
  if (!check.m_bOkEnabled)
    return false;
  AddItemRow& entry = m_rows[static_cast<size_t>(row)];
  const std::string oldId = entry.m_sShortId;
  NotifyRowsAboutToChange();
  entry.m_sShortId = check.m_sShortId;
  NotifyRowsChanged();
  if (!check.m_sShortId.empty() && oldId != check.m_sShortId)
    RenameShortId(*m_pWorking, oldId, check.m_sShortId, true);
  return true;
}

AddItemResult CAddItemSession::TakeResult() {
  AddItemResult result;
  result.m_defs.reserve(m_rows.size());
  result.m_shortIds.reserve(m_rows.size());
  for (AddItemRow& row : m_rows) {
    result.m_defs.push_back(std::move(row.m_def));
    result.m_shortIds.push_back(std::move(row.m_sShortId));
  }
  const std::string name = m_pWorking->Name();
  result.m_pWorkingGroup = std::move(m_pWorking);
  m_pWorking = std::make_unique<COPCGroup>(&m_server);
  m_pWorking->SetName(name);
  NotifyRowsAboutToChange();
  m_rows.clear();
  NotifyRowsChanged();
  return result;
}

void CAddItemSession::NotifyRowsAboutToChange() {
  if (m_pListListener != nullptr)
    m_pListListener->OnRowsAboutToChange();
}

void CAddItemSession::NotifyRowsChanged() {
  if (m_pListListener != nullptr)
    m_pListListener->OnRowsChanged();
}
