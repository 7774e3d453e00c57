#include "opc/opc_items.h"

#include <algorithm>
#include <utility>

#include "base/log.h"
#include "base/report.h"
#include "base/rtf.h"
#include "platform/com/error_text.h"

namespace {

constexpr char kReportTitleLine[] =
    "{\\f1\\cb5\\cf5\\b Error Occured while Adding Items to OPCGroup %s} ";
constexpr char kNoConnectionLine[] =
    "\\par\\par \\fs18 No Active Connection to the OPC Server %s on Host %s \\par ";
constexpr char kNoItemMgtLine[] =
    "\\par\\par \\fs18 Pointer to Item Management Interface (IOPCItemMgt) is NULL !!! ";
constexpr char kReturnCodeLine[] =
    "\\par\\par \\fs18 Item Management Interface (IOPCItemMgt) returns Error Code %s (%08X)\\par ";
constexpr char kPartialDetailsLine[] = "\\par Error Details: {\\b %s} \\par ";
constexpr char kErrorDetailsLine[] = "\\par Error Details: {\\b %s} ";
constexpr char kItemSucceededLine[] =
    "\\par    {\\f1 Result of Addition of Tag } {\\b %s:} {\\f1 %s}";
constexpr char kItemFailedLine[] =
    "\\par    {\\f1 Result of Addition of Tag } {\\b %s:} {\\f1\\cb5\\cf5 %s} {\\f1 Error Code: "
    "%08X} ";
constexpr char kCheckItemsClosing[] =
    "\\par \\par {\\f1 \\b Please Check Items in OPC group and/or Delete All Items in OPC Group "
    "and "
    "Add OPC Items once Again} \\par}";
constexpr char kDeleteGroupClosing[] =
    "\\par \\par {\\f1 \\b Please Delete OPC Group and Add OPC Items once Again} \\par}";
constexpr char kFreeMemoryClosing[] =
    "\\par \\par {\\f1 \\b Please Try to Free System Memory by Closing Applications and Retry to "
    "Add OPC Items once Again} \\par}";
constexpr char kPartialSuccessDetails[] =
    "The operation of Adding OPC Items is completed with partial success";
constexpr char kFailDetails[] = "The operation of Adding OPC Items to OPC Group failed";
constexpr char kOutOfMemoryDetails[] = "Not enough memory to Add OPC Items to OPC Group ";
constexpr char kInvalidArgDetails[] = "An argument to the function AddItems() is invalid";

constexpr char kItemAddedLog[] = "Add OPC Item '%s' (Short Id: %s) to OPC Group '%s'";
constexpr char kItemFailedWithReasonLog[] =
    "Error Adding OPC Item '%s' to OPC Group '%s' \nError Code: %d \nReason: %s)";
constexpr char kItemFailedLog[] = "Error Adding OPC Item '%s' to OPC Group '%s'";

std::string Escaped(const std::string& text) {
  return RtfEscape(text);
}

std::string ReportId(const std::vector<OPCITEMDEF>& defs, const std::vector<std::string>& ids,
                     size_t i) {
  return i < ids.size() ? ids[i] : defs[i].szItemID;
}

// What the report says about a failed call: the code's name, the details, the closing.
struct FailureText {
  std::string name;
  std::string details;
  const char* closing;
};

FailureText FailureTextFor(HRESULT hr) {
  switch (hr) {
    case E_FAIL:
      return {"E_FAIL", kFailDetails, kDeleteGroupClosing};
    case E_OUTOFMEMORY:
      return {"E_OUTOFMEMORY", kOutOfMemoryDetails, kFreeMemoryClosing};
    case E_INVALIDARG:
      return {"E_INVALIDARG", kInvalidArgDetails, kCheckItemsClosing};
    default:
      // A code AddItems is not documented to return (a dead server...): its reason text.
      return {Format("0x%08X", static_cast<unsigned>(hr)), HResultReasonText(hr),
              kDeleteGroupClosing};
  }
}

// Takes the group's per-item answers over into its first defs.size() acquired items and
// logs each; then releases the answers.
void ApplyAddResults(COPCServer& server, COPCGroup& group, const std::vector<OPCITEMDEF>& defs) {
  CLog& log = server.Context().log;
  const size_t count = std::min(defs.size(), group.AcquiredItems().size());
  for (size_t i = 0; i < count; ++i) {
    COPCItem& item = *group.AcquiredItems()[i];
    const HRESULT code =
        i < group.Connection().ItemErrors().size() ? group.Connection().ItemErrors()[i] : E_FAIL;
    if (code == S_OK && i < group.Connection().ItemResults().size()) {
      const OPCITEMRESULT& result = group.Connection().ItemResults()[i];
      item.Accept(defs[i].szItemID, result.hServer, result.vtCanonicalDataType,
                  result.dwAccessRights);
      log.Log(Format(kItemAddedLog, item.QualifiedId().c_str(), item.ShortId().c_str(),
                     group.Name().c_str()),
              kLogOpcServer);
      continue;
    }
    item.Refuse();
    if (FAILED(code)) {
      log.Log(Format(kItemFailedWithReasonLog, item.QualifiedId().c_str(), group.Name().c_str(),
                     static_cast<int>(code), HResultReasonText(code).c_str()),
              kLogOpcServer);
    } else {
      log.Log(Format(kItemFailedLog, item.QualifiedId().c_str(), group.Name().c_str()),
              kLogOpcServer);
    }
  }
  group.ClearItemAnswers();
}

void MarkAllRefused(COPCGroup& group) {
  for (auto& item : group.AcquiredItems()) {
    item->Refuse();
  }
  group.ClearItemAnswers();
}

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.';
}

}  // namespace

std::string AddItemResultText(HRESULT hr) {
  switch (hr) {
    case S_OK:
      return "The function was successful for this item";
    case E_FAIL:
      return "The function was unsuccessful";
    case OPC_E_BADTYPE:
      return "The requested data type cannot be returned for this item";
    case OPC_E_UNKNOWNITEMID:
      return "The ItemID is not in the OPC Server Address Space";
    case OPC_E_INVALIDITEMID:
      return "The ItemID is not syntactically valid";
    default:
      return "The OPC Item Access Path is not known to the OPC Server";
  }
}

bool AddItemsToGroup(COPCServer& server, COPCGroup& group, const std::vector<OPCITEMDEF>& defs,
                     const std::vector<std::string>& ids, HRESULT* pResult) {
  IUserPrompt& prompt = server.Context().prompt;
  CReportBuilder report;
  report.Raw(Format(kReportTitleLine, Escaped(group.Name()).c_str()));
  group.ClearItemAnswers();
  if (pResult != nullptr)
    *pResult = E_FAIL;

  if (!server.IsConnected() || !group.Connection().ItemMgt()) {
    if (!server.IsConnected()) {
      report.Raw(Format(kNoConnectionLine, Escaped(server.ServerId()).c_str(),
                        Escaped(server.Host()).c_str()));
    }
    if (!group.Connection().ItemMgt())
      report.Raw(kNoItemMgtLine);
    prompt.ShowReport(report.Request(kItemsAdditionErrorTitle));
    return false;
  }

  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  const HRESULT hr = group.Connection().ItemMgt()->AddItems(static_cast<DWORD>(defs.size()),
                                                            defs.data(), &results, &errors);
  if (pResult != nullptr)
    *pResult = hr;
  if (SUCCEEDED(hr)) {
    // An answer missing for an item counts as a failure for that item.
    results.resize(defs.size());
    errors.resize(defs.size(), E_FAIL);
  }
  group.SetItemAnswers(std::move(results), std::move(errors));
  // Every item accepted: success, whatever success code the server chose.
  if (SUCCEEDED(hr) &&
      std::all_of(group.Connection().ItemErrors().begin(), group.Connection().ItemErrors().end(),
                  [](HRESULT code) { return code == S_OK; })) {
    return true;
  }
  if (SUCCEEDED(hr)) {
    // Some items refused (S_FALSE, or a server that said S_OK while refusing some).
    report.Raw(Format(kReturnCodeLine, "S_FALSE", static_cast<unsigned>(S_FALSE)));
    report.Raw(Format(kPartialDetailsLine, kPartialSuccessDetails));
    for (size_t i = 0; i < defs.size(); ++i) {
      const HRESULT code = group.Connection().ItemErrors()[i];
      const std::string id = Escaped(ReportId(defs, ids, i));
      if (code == S_OK) {
        report.Raw(Format(kItemSucceededLine, id.c_str(), AddItemResultText(code).c_str()));
      } else {
        report.Raw(Format(kItemFailedLine, id.c_str(), AddItemResultText(code).c_str(),
                          static_cast<unsigned>(code)));
      }
    }
    report.Raw(kCheckItemsClosing);
    prompt.ShowReport(report.Request(kItemsAdditionErrorTitle));
    return false;
  }

  const FailureText failure = FailureTextFor(hr);
  report.Raw(Format(kReturnCodeLine, failure.name.c_str(), static_cast<unsigned>(hr)));
  report.Raw(Format(kErrorDetailsLine, Escaped(failure.details).c_str()));
  report.Raw(failure.closing);
  prompt.ShowReport(report.Request(kItemsAdditionErrorTitle, kReportOk, static_cast<uint32_t>(hr)));
  return false;
}

bool ReAddItemsOfGroup(COPCServer& server, COPCGroup& group) {
  if (group.AcquiredItems().empty())
    return false;
  std::vector<OPCITEMDEF> defs;
  std::vector<std::string> ids;
  defs.reserve(group.AcquiredItems().size());
  for (const auto& item : group.AcquiredItems()) {
    OPCITEMDEF def;
    def.szItemID = item->QualifiedId();
    // The stored id is already fully qualified; a server that can browse confirms it.
    if (server.Connection().BrowseServerAddressSpace()) {
      std::string qualified;
      if (SUCCEEDED(server.Connection().BrowseServerAddressSpace()->GetItemID(item->QualifiedId(),
                                                                              &qualified)) &&
          !qualified.empty()) {
        def.szItemID = qualified;
      }
    }
    def.bActive = TRUE;
    def.hClient = 0;
    def.vtRequestedDataType = item->ValueType();
    ids.push_back(item->QualifiedId());
    defs.push_back(std::move(def));
  }
  HRESULT hr = E_FAIL;
  const bool added = AddItemsToGroup(server, group, defs, ids, &hr);
  if (SUCCEEDED(hr))
    ApplyAddResults(server, group, defs);
  else
    MarkAllRefused(group);
  return added;
}

bool AddNewItemsToGroup(COPCServer& server, COPCGroup& group, const std::vector<OPCITEMDEF>& defs,
                        const std::vector<std::string>& shortIds,
                        std::vector<HRESULT>* pItemCodes) {
  group.DestroyAcquiredItems();
  std::vector<std::string> ids;
  for (size_t i = 0; i < defs.size(); ++i) {
    COPCItem* item = group.AppendAcquiredItem();
    item->Define(defs[i].szItemID, i < shortIds.size() ? shortIds[i] : std::string(),
                 defs[i].szItemID, defs[i].vtRequestedDataType);
    ids.push_back(defs[i].szItemID);
  }
  server.RecountItems();
  server.MarkConfigurationChanged();
  if (pItemCodes != nullptr)
    pItemCodes->clear();
  if (defs.empty())
    return true;
  HRESULT hr = E_FAIL;
  const bool added = AddItemsToGroup(server, group, defs, ids, &hr);
  if (pItemCodes != nullptr) {
    *pItemCodes =
        SUCCEEDED(hr) ? group.Connection().ItemErrors() : std::vector<HRESULT>(defs.size(), E_FAIL);
  }
  if (SUCCEEDED(hr))
    ApplyAddResults(server, group, defs);
  else
    MarkAllRefused(group);
  return added;
}

bool RemoveItem(COPCServer& server, COPCBaseItem* item) {
  if (item == nullptr || item->Group() == nullptr)
    return false;
  if (!item->Group()->RemoveItem(item))
    return false;
  server.RecountItems();
  server.MarkConfigurationChanged();
  return true;
}

int ReplaceNameInExpression(std::string& expression, const std::string& oldId,
                            const std::string& newId) {
  if (oldId.empty())
    return 0;
  int count = 0;
  size_t position = 0;
  while ((position = expression.find(oldId, position)) != std::string::npos) {
    const size_t end = position + oldId.size();
    const bool startsName = position == 0 || !IsNameCharacter(expression[position - 1]);
    const bool endsName = end == expression.size() || !IsNameCharacter(expression[end]);
    if (startsName && endsName) {
      expression.replace(position, oldId.size(), newId);
      position += newId.size();
      ++count;
    } else {
      position += 1;
    }
  }
  return count;
}

int ReplaceNameInExpression(COPCCalcItem& item, const std::string& oldId,
                            const std::string& newId) {
  std::string expression = item.Expression();
  const int count = ReplaceNameInExpression(expression, oldId, newId);
  if (count > 0)
    item.SetExpression(expression);
  return count;
}

int RenameShortId(COPCGroup& group, const std::string& oldId, const std::string& newId,
                  bool renameInExpressions) {
  int count = 0;
  for (auto& item : group.AcquiredItems()) {
    if (item->ShortId() == oldId) {
      item->SetShortId(newId);
      ++count;
    }
  }
  if (renameInExpressions) {
    for (auto& item : group.CalcItems())
      count += ReplaceNameInExpression(*item, oldId, newId);
  }
  for (auto& item : group.CalcItems()) {
    if (item->ShortId() == oldId) {
      item->SetShortId(newId);
      ++count;
    }
  }
  return count;
}
