// CAddItemSession: "Import Item List..." and "Export Item List...".
#include <algorithm>

#include "base/log.h"
#include "base/text.h"
#include "opc/add_item_filters.h"
#include "opc/add_item_session.h"
#include "opc/add_item_silent_prompt.h"
#include "opc/add_item_texts.h"
#include "opc/opc_items.h"
#include "platform/com/error_text.h"

namespace {

constexpr char kNoItemIdReason[] = "No item id";
constexpr char kUnknownTypeReason[] = "Unknown data type '%s'";
constexpr char kIllegalShortIdReason[] = "Illegal character in the short id '%s'";
constexpr char kDuplicateShortIdReason[] = "The short id '%s' is already used in group %s";
constexpr char kMaximumReason[] = "Maximum Item Count (%d) is Reached";
constexpr char kServerRefusedReason[] = "%s (Error Code: %08X)";

// An entry that passed the list's own checks, waiting for the server's answer.
struct Candidate {
  const ItemListEntry* m_pEntry;
  VARTYPE m_vtRequested;
};

}  // namespace

ItemListImportSummary CAddItemSession::ImportItemList(const std::string& path) {
  const ItemListParse parse = ReadItemListFile(path);
  if (!parse.m_bOk) {
    ItemListImportSummary summary;
    summary.m_bFileRead = false;
    summary.m_sFileError = parse.m_sError;
    return summary;
  }
  return AddListEntries(parse.m_entries);
}

ItemListImportSummary CAddItemSession::AddListEntries(const std::vector<ItemListEntry>& entries) {
  ItemListImportSummary summary;
  const auto refuse = [&summary](const ItemListEntry& entry, const std::string& reason) {
    summary.m_refused.push_back({entry.m_nLine, entry.m_sItemId, reason});
  };
  CSilentPrompt silent;
  std::vector<ShortIdOwner> owners = OtherShortIds(-1);
  std::vector<Candidate> candidates;
  bool maximumShown = false;
  for (const ItemListEntry& entry : entries) {
    if (entry.m_sItemId.empty()) {
      refuse(entry, kNoItemIdReason);
      continue;
    }
    VARTYPE requested = VT_EMPTY;
    if (!entry.m_sDataType.empty()) {
      const int filter = DataTypeFilterIndex(entry.m_sDataType);
      if (filter < 0) {
        refuse(entry, Format(kUnknownTypeReason, entry.m_sDataType.c_str()));
        continue;
      }
      requested = kDataTypeFilters[filter].m_vtType;
    }
    if (!entry.m_sShortId.empty()) {
      const ShortIdCheck check = CheckShortId(entry.m_sShortId, owners, silent);
      if (check.m_eVerdict == ShortIdVerdict::kIllegalCharacter) {
        refuse(entry, Format(kIllegalShortIdReason, entry.m_sShortId.c_str()));
        continue;
      }
      if (check.m_eVerdict == ShortIdVerdict::kDuplicate) {
        std::string groupName;
        for (const ShortIdOwner& owner : owners) {
          if (owner.m_sShortId == check.m_sShortId)
            groupName = owner.m_sGroupName;
        }
        refuse(entry, Format(kDuplicateShortIdReason, check.m_sShortId.c_str(), groupName.c_str()));
        continue;
      }
    }
    if (RowCount() + static_cast<int>(candidates.size()) >= m_nAllowance) {
      if (!maximumShown)
        AllowanceReached(static_cast<int>(candidates.size()));
      maximumShown = true;
      refuse(entry, Format(kMaximumReason, kMaxAcquiredItemCount));
      continue;
    }
    if (!entry.m_sShortId.empty()) {
      owners.push_back({m_nGroupIndex, m_pWorking->Name(),
                        RowCount() + static_cast<int>(candidates.size()), Trim(entry.m_sShortId)});
    }
    candidates.push_back({&entry, requested});
  }
  if (candidates.empty())
    return summary;  // refusals in line order already

  std::vector<OPCITEMDEF> defs;
  std::vector<std::string> ids;
  for (const Candidate& candidate : candidates) {
    OPCITEMDEF def;
    def.szItemID = candidate.m_pEntry->m_sItemId;
    def.bActive = TRUE;
    def.hClient = 0;
    def.vtRequestedDataType = candidate.m_vtRequested;
    defs.push_back(std::move(def));
    ids.push_back(candidate.m_pEntry->m_sItemId);
  }
  HRESULT hr = E_FAIL;
  AddItemsToGroup(m_server, *m_pWorking, defs, ids, &hr);
  const std::vector<HRESULT> codes =
      SUCCEEDED(hr) ? m_pWorking->Connection().ItemErrors() : std::vector<HRESULT>(defs.size(), hr);
  m_pWorking->ClearItemAnswers();

  NotifyRowsAboutToChange();
  for (size_t i = 0; i < candidates.size(); ++i) {
    const ItemListEntry& entry = *candidates[i].m_pEntry;
    const HRESULT code = i < codes.size() ? codes[i] : E_FAIL;
    if (code != S_OK) {
      const std::string reason = SUCCEEDED(hr) ? AddItemResultText(code) : HResultReasonText(code);
      refuse(entry, Format(kServerRefusedReason, reason.c_str(), static_cast<unsigned>(code)));
      continue;
    }
    const std::string shortId = Trim(entry.m_sShortId);
    AppendRow(entry.m_sItemId, shortId.empty() ? std::string(kUndefinedShortId) : shortId,
              candidates[i].m_vtRequested);
    summary.m_addedIds.push_back(entry.m_sItemId);
  }
  AssignDefaultShortIds();
  NotifyRowsChanged();
  std::stable_sort(
      summary.m_refused.begin(), summary.m_refused.end(),
      [](const ItemListRefusal& a, const ItemListRefusal& b) { return a.m_nLine < b.m_nLine; });
  return summary;
}

bool CAddItemSession::ExportItemList(const std::string& path, std::string* error) const {
  std::vector<ItemListRow> rows;
  rows.reserve(m_rows.size());
  for (const AddItemRow& row : m_rows)
    rows.push_back({row.m_sQualifiedId, row.m_sShortId, row.m_sDataType});
  return WriteItemListFile(path, rows, error);
}
