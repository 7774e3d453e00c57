// CAddItemSession: rows from chosen leaves, found ids and typed ids, within the allowance.
#include <algorithm>

#include "base/log.h"
#include "opc/add_item_filters.h"
#include "opc/add_item_session.h"
#include "opc/add_item_texts.h"
#include "opc/default_names.h"
#include "opc/opc_items.h"
#include "opc/opc_texts.h"
#include "platform/com/error_text.h"

bool CAddItemSession::AllowanceReached(int pending) {
  if (RowCount() + pending < m_nAllowance)
    return false;
  m_server.Context().prompt.ShowMessage(Format(kMaximumItemCountWarning, kMaxAcquiredItemCount),
                                        MessageButtons::kOk, MessageIcon::kWarning);
  return true;
}

bool CAddItemSession::QueryItemId(const std::string& name, std::string& itemId,
                                  AddRowsOutcome& outcome) {
  IUserPrompt& prompt = m_server.Context().prompt;
  std::string qualified;
  HRESULT hr = E_FAIL;
  try {
    hr = m_pBrowse->GetItemID(CutToBuffer(name, kNameBufferBytes), &qualified);
  } catch (...) {
    prompt.ShowMessage(kAddItemCriticalError, MessageButtons::kOk, MessageIcon::kError);
    outcome.m_bAborted = true;
    return false;
  }
  if (FAILED(hr) || qualified.empty()) {
    const std::string text =
        Format(kGetItemIdFailed, name.c_str(), m_server.ServerId().c_str(), m_server.Host().c_str(),
               static_cast<unsigned>(hr), HResultReasonText(hr).c_str());
    m_server.Context().log.Log(text, kLogOpcServer);
    prompt.ShowMessage(text, MessageButtons::kOk, MessageIcon::kWarning);
    return false;
  }
  itemId = CutToBuffer(qualified, kItemIdBufferBytes);
  return true;
}

void CAddItemSession::AppendRow(const std::string& itemId, const std::string& shortId,
                                VARTYPE requested) {
  AddItemRow row;
  row.m_sQualifiedId = itemId;
  row.m_sShortId = shortId;
  const int filter = DataTypeFilterIndexOf(requested);
  row.m_sDataType = filter >= 0 ? kDataTypeFilters[filter].m_pText : DataTypeText(requested);
  row.m_def.szItemID = itemId;
  row.m_def.bActive = TRUE;
  row.m_def.hClient = 0;
  row.m_def.vtRequestedDataType = requested;
  m_rows.push_back(std::move(row));
}

void CAddItemSession::AssignDefaultShortIds() {
  for (size_t i = 0; i < m_rows.size(); ++i) {
    if (m_rows[i].m_sShortId == kUndefinedShortId)
      m_rows[i].m_sShortId = DefaultAcquiredShortId(m_nGroupIndex + 1, static_cast<int>(i));
  }
}

AddRowsOutcome CAddItemSession::AddLeaves(std::vector<int> leafRows) {
  AddRowsOutcome outcome;
  if (!m_pBrowse || leafRows.empty() || !RepositionAtSelection())
    return outcome;
  std::sort(leafRows.begin(), leafRows.end());
  leafRows.erase(std::unique(leafRows.begin(), leafRows.end()), leafRows.end());
  const bool flat = m_eOrganization == OPC_NS_FLAT;
  std::vector<std::string> itemIds;
  for (const int leaf : leafRows) {
    if (leaf < 0 || leaf >= static_cast<int>(m_leaves.size()))
      continue;
    if (AllowanceReached(static_cast<int>(itemIds.size()))) {
      outcome.m_bMaximumReached = true;
      break;
    }
    if (flat)
      ClimbToRoot(*m_pBrowse);
    std::string itemId;
    if (QueryItemId(m_leaves[static_cast<size_t>(leaf)], itemId, outcome))
      itemIds.push_back(std::move(itemId));
    else if (outcome.m_bAborted)
      break;
  }
  NotifyRowsAboutToChange();
  for (const std::string& itemId : itemIds)
    AppendRow(itemId, kUndefinedShortId, DataTypeFilterType());
  AssignDefaultShortIds();
  NotifyRowsChanged();
  outcome.m_nAdded = static_cast<int>(itemIds.size());
  return outcome;
}

AddRowsOutcome CAddItemSession::AddFoundIds(const std::vector<std::string>& itemIds) {
  AddRowsOutcome outcome;
  if (!m_pBrowse || itemIds.empty())
    return outcome;
  // Qualified ids resolve from the root whatever the space.
  ClimbToRoot(*m_pBrowse);
  m_bAtSelection = false;
  std::vector<std::string> accepted;
  for (const std::string& id : itemIds) {
    if (AllowanceReached(static_cast<int>(accepted.size()))) {
      outcome.m_bMaximumReached = true;
      break;
    }
    std::string itemId;
    if (QueryItemId(id, itemId, outcome))
      accepted.push_back(std::move(itemId));
    else if (outcome.m_bAborted)
      break;
  }
  NotifyRowsAboutToChange();
  for (const std::string& itemId : accepted)
    AppendRow(itemId, kUndefinedShortId, DataTypeFilterType());
  AssignDefaultShortIds();
  NotifyRowsChanged();
  outcome.m_nAdded = static_cast<int>(accepted.size());
  return outcome;
}

AddRowsOutcome CAddItemSession::AddTypedId(const std::string& itemId) {
  AddRowsOutcome outcome;
  if (!IsAddTypedEnabled(itemId))
    return outcome;
  if (AllowanceReached(0)) {
    outcome.m_bMaximumReached = true;
    return outcome;
  }
  OPCITEMDEF def;
  def.szItemID = itemId;
  def.bActive = TRUE;
  def.hClient = 0;
  def.vtRequestedDataType = VT_EMPTY;
  const bool added = AddItemsToGroup(m_server, *m_pWorking, {def}, {itemId});
  // The server's answers are not kept: OK sends every row again.
  m_pWorking->ClearItemAnswers();
  if (!added)
    return outcome;
  NotifyRowsAboutToChange();
  AppendRow(itemId, kUndefinedShortId, VT_EMPTY);
  AssignDefaultShortIds();
  NotifyRowsChanged();
  outcome.m_nAdded = 1;
  return outcome;
}
