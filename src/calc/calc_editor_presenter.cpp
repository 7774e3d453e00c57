#include "calc/calc_editor_presenter.h"

#include "base/log.h"
#include "calc/calc_expression_check.h"
#include "calc/calc_identifier.h"
#include "opc/add_item_silent_prompt.h"
#include "opc/opc_items.h"
#include "opc/opc_limits.h"
#include "opc/opc_server.h"
#include "opc/opc_texts.h"

namespace {

constexpr char kWindowTitle[] = "Add, Modify and Remove Calculated OPC Items in OPC Group %s";
constexpr char kFrameCaption[] =
    " Calculated Item Expressions for OPC Group '%s' (Group Index: %d)";
constexpr char kUndefinedItem[] = "Undefined Item";
constexpr char kNoData[] = "No Data";
constexpr char kConnected[] = "Connected";
constexpr char kNotConnected[] = "Not Connected";

// True when both lists hold the same definitions in the same order.
bool SameCalcItems(const COPCGroup& a, const COPCGroup& b) {
  if (a.CalcItems().size() != b.CalcItems().size())
    return false;
  for (size_t i = 0; i < a.CalcItems().size(); ++i) {
    if (a.CalcItems()[i]->Definition() != b.CalcItems()[i]->Definition())
      return false;
  }
  return true;
}

}  // namespace

const std::array<const char*, 4>& AcquiredListHeadings() {
  static const std::array<const char*, 4> kHeadings = {"Qualified Name", "Short Name", "Data Type",
                                                       "Description"};
  return kHeadings;
}

const std::array<const char*, 4>& CalcListHeadings() {
  static const std::array<const char*, 4> kHeadings = {"Qualified Name", "Short Name", "Data Type",
                                                       "Expression"};
  return kHeadings;
}

CCalcItemEditorPresenter::CCalcItemEditorPresenter(COPCServer& server, COPCGroup& group,
                                                   IUserPrompt& prompt, const IClock& clock)
    : m_server(server),
      m_sGroupName(group.Name()),
      m_prompt(prompt),
      m_clock(clock),
      m_working(&server) {
  m_server.RecountItems();
  m_nAllowance = kMaxCalculatedItemCount - m_server.TotalCalculatedCount() + group.CalcCount();
  CopyGroup(group);
  RecomputeButtons();
}

COPCGroup* CCalcItemEditorPresenter::LiveGroup() const {
  return m_server.FindGroupByName(m_sGroupName);
}

void CCalcItemEditorPresenter::CopyGroup(const COPCGroup& group) {
  m_working.DestroyItems();
  // The copies carry the items' definitions, descriptions included: the list shows them.
  m_working.CopySettings(group, true, true);
  m_pEditedItem = nullptr;
  m_nSelectedAcquiredRow = -1;
  m_nSelectedCalcRow = -1;
}

std::string CCalcItemEditorPresenter::WindowTitle() const {
  return Format(kWindowTitle, m_sGroupName.c_str());
}

std::string CCalcItemEditorPresenter::FrameCaption() const {
  return Format(kFrameCaption, m_sGroupName.c_str(), m_server.GroupIndex(LiveGroup()));
}

CalcEditorServerInfo CCalcItemEditorPresenter::ServerInfo() const {
  CalcEditorServerInfo info;
  info.sServerId = m_server.ServerId();
  info.sHost = m_server.Host();
  info.sConnectionStatus = m_server.IsConnected() ? kConnected : kNotConnected;
  m_server.GetServerStateText(info.sServerStatus);
  info.nGroupCount = m_server.GroupCount();
  info.nAcquiredCount = m_server.TotalAcquiredCount();
  info.nCalculatedCount = m_server.TotalCalculatedCount();
  return info;
}

std::vector<CalcEditorRow> CCalcItemEditorPresenter::AcquiredRows() const {
  std::vector<CalcEditorRow> rows;
  for (const auto& item : m_working.AcquiredItems()) {
    if (item == nullptr) {
      rows.push_back({kUndefinedItem, kNoData, kNoData, kNoData});
      continue;
    }
    rows.push_back({item->QualifiedId(), item->ShortId(), DataTypeText(item->DataType()),
                    item->Description()});
  }
  return rows;
}

std::vector<CalcEditorRow> CCalcItemEditorPresenter::CalcRows() const {
  std::vector<CalcEditorRow> rows;
  for (const auto& item : m_working.CalcItems()) {
    rows.push_back({item->QualifiedId(), item->ShortId(), kCalcItemTypeText, item->Expression()});
  }
  return rows;
}

void CCalcItemEditorPresenter::SetIdentifier(const std::string& sIdentifier) {
  m_sIdentifier = sIdentifier;
  RecomputeButtons();
}

void CCalcItemEditorPresenter::SetExpression(const std::string& sExpression) {
  if (sExpression != m_sExpression) {
    m_sExpression = sExpression;
    m_bEvaluatedValid = false;
    m_sCheckMessage.clear();
  }
  RecomputeButtons();
}

void CCalcItemEditorPresenter::SelectAcquiredRow(int nRow) {
  const bool bSelected = nRow >= 0 && nRow < m_working.AcquiredCount();
  m_nSelectedAcquiredRow = bSelected ? nRow : -1;
  m_buttons.bInsertAcquired = bSelected;
}

void CCalcItemEditorPresenter::SelectCalcRow(int nRow) {
  const bool bSelected = nRow >= 0 && nRow < m_working.CalcCount();
  m_nSelectedCalcRow = bSelected ? nRow : -1;
  m_buttons.bInsertCalc = bSelected;
  m_buttons.bEditCalc = bSelected;
  m_buttons.bRemove = bSelected;
}

TextInsertion CCalcItemEditorPresenter::InsertIntoExpression(const std::string& sInserted,
                                                             size_t nSelectionStart,
                                                             size_t nSelectionEnd) {
  TextInsertion insertion =
      InsertIntoText(m_sExpression, nSelectionStart, nSelectionEnd, sInserted);
  SetExpression(insertion.sText);
  return insertion;
}

std::optional<TextInsertion> CCalcItemEditorPresenter::InsertFunction(int nIndex,
                                                                      size_t nSelectionStart,
                                                                      size_t nSelectionEnd) {
  const auto& functions = CalcFunctionList();
  if (nIndex < 0 || static_cast<size_t>(nIndex) >= functions.size())
    return std::nullopt;
  return InsertIntoExpression(functions[static_cast<size_t>(nIndex)].pInserted, nSelectionStart,
                              nSelectionEnd);
}

std::optional<TextInsertion> CCalcItemEditorPresenter::InsertAcquiredItem(size_t nSelectionStart,
                                                                          size_t nSelectionEnd) {
  if (!m_buttons.bInsertAcquired || m_nSelectedAcquiredRow < 0)
    return std::nullopt;
  const auto& item = m_working.AcquiredItems()[static_cast<size_t>(m_nSelectedAcquiredRow)];
  if (item == nullptr)
    return std::nullopt;
  return InsertIntoExpression(item->ShortId(), nSelectionStart, nSelectionEnd);
}

std::optional<TextInsertion> CCalcItemEditorPresenter::InsertCalcItem(size_t nSelectionStart,
                                                                      size_t nSelectionEnd) {
  if (!m_buttons.bInsertCalc || m_nSelectedCalcRow < 0)
    return std::nullopt;
  return InsertIntoExpression(
      m_working.CalcItems()[static_cast<size_t>(m_nSelectedCalcRow)]->ShortId(), nSelectionStart,
      nSelectionEnd);
}

void CCalcItemEditorPresenter::RunCheck() {
  const CalcExpressionCheck check = CheckCalcExpression(m_sExpression, m_working, m_clock);
  m_bEvaluatedValid = check.bValid;
  m_sCheckMessage = check.sMessage;
}

bool CCalcItemEditorPresenter::Evaluate() {
  if (!m_buttons.bEvaluate)
    return false;
  RunCheck();
  RecomputeButtons();
  return m_bEvaluatedValid;
}

bool CCalcItemEditorPresenter::Add() {
  if (!m_buttons.bAdd)
    return false;
  if (m_working.CalcCount() >= m_nAllowance) {
    m_prompt.ShowMessage(Format(kMaximumReachedMessage, kMaxCalculatedItemCount),
                         MessageButtons::kOk, MessageIcon::kWarning);
    return false;
  }
  COPCCalcItem* item = m_working.AppendCalcItem();
  item->Define(m_sIdentifier, m_sIdentifier, m_sIdentifier, kCalcItemTypeCode);
  item->SetExpression(m_sExpression);
  ListsRefilled();
  ClearFields();
  RecomputeButtons();
  return true;
}

bool CCalcItemEditorPresenter::Edit() {
  if (!m_buttons.bEditCalc || m_nSelectedCalcRow < 0)
    return false;
  m_pEditedItem = m_working.CalcItems()[static_cast<size_t>(m_nSelectedCalcRow)].get();
  m_sIdentifier = m_pEditedItem->ShortId();
  m_sExpression = m_pEditedItem->Expression();
  m_sResult.clear();
  RunCheck();
  RecomputeButtons();
  return true;
}

bool CCalcItemEditorPresenter::Modify() {
  if (!m_buttons.bModify || m_pEditedItem == nullptr)
    return false;
  // The short id stays: Modify renames the item's qualified id only.
  m_pEditedItem->Define(m_sIdentifier, m_pEditedItem->ShortId(), m_pEditedItem->Description(),
                        kCalcItemTypeCode);
  m_pEditedItem->SetExpression(m_sExpression);
  ListsRefilled();
  ClearFields();
  RecomputeButtons();
  return true;
}

bool CCalcItemEditorPresenter::Remove() {
  if (!m_buttons.bRemove || m_nSelectedCalcRow < 0)
    return false;
  const size_t nRow = static_cast<size_t>(m_nSelectedCalcRow);
  const std::string sShortId = m_working.CalcItems()[nRow]->ShortId();
  // A plain substring test: an expression using a longer name that begins with the short
  // id counts as a use too.
  int nUses = 0;
  if (!sShortId.empty()) {
    for (const auto& item : m_working.CalcItems()) {
      if (item->Expression().find(sShortId) != std::string::npos)
        ++nUses;
    }
  }
  if (nUses > 0) {
    m_prompt.ShowMessage(
        Format(kRemovalRefusedMessage, nUses, nUses == 1 ? " " : "s ", sShortId.c_str()),
        MessageButtons::kOk, MessageIcon::kWarning);
    return false;
  }
  // The selected row is removed, even when another item's short id differs from it only
  // in letter case.
  if (m_pEditedItem == m_working.CalcItems()[nRow].get())
    m_pEditedItem = nullptr;
  m_working.RemoveItem(m_working.CalcItems()[nRow].get());
  ListsRefilled();
  ClearFields();
  RecomputeButtons();
  return true;
}

std::vector<ShortIdOwner> CCalcItemEditorPresenter::OtherAcquiredShortIds(int nRow) const {
  // The other groups as they are, this group as its copy says.
  const int nGroupIndex = m_server.GroupIndex(LiveGroup());
  std::vector<ShortIdOwner> owners;
  for (ShortIdOwner& owner : CollectAcquiredShortIds(m_server, -1, -1)) {
    if (owner.m_nGroupIndex != nGroupIndex)
      owners.push_back(std::move(owner));
  }
  for (int i = 0; i < m_working.AcquiredCount(); ++i) {
    const auto& item = m_working.AcquiredItems()[static_cast<size_t>(i)];
    if (i != nRow && item != nullptr)
      owners.push_back({nGroupIndex, m_sGroupName, i, item->ShortId()});
  }
  return owners;
}

ShortIdEditRequest CCalcItemEditorPresenter::AcquiredShortIdEditFor(int nRow) const {
  ShortIdEditRequest request;
  request.m_sGroupName = m_sGroupName;
  request.m_nGroupIndex = m_server.GroupIndex(LiveGroup());
  request.m_nAcquiredCount = m_working.AcquiredCount();
  request.m_nCalcCount = m_working.CalcCount();
  if (nRow >= 0 && nRow < m_working.AcquiredCount()) {
    if (const auto& item = m_working.AcquiredItems()[static_cast<size_t>(nRow)]) {
      request.m_sQualifiedId = item->QualifiedId();
      request.m_sShortId = item->ShortId();
      request.m_sDataType = DataTypeText(item->DataType());
    }
  }
  return request;
}

ShortIdCheck CCalcItemEditorPresenter::CheckAcquiredShortId(int nRow,
                                                            const std::string& sText) const {
  return CheckShortId(sText, OtherAcquiredShortIds(nRow), m_prompt);
}

bool CCalcItemEditorPresenter::RenameAcquiredShortId(int nRow, const std::string& sText) {
  if (nRow < 0 || nRow >= m_working.AcquiredCount() ||
      m_working.AcquiredItems()[static_cast<size_t>(nRow)] == nullptr)
    return false;
  CSilentPrompt silent;
  const ShortIdCheck check = CheckShortId(sText, OtherAcquiredShortIds(nRow), silent);
  if (!check.m_bOkEnabled || check.m_sShortId.empty())
    return false;
  const std::string sOldId = m_working.AcquiredItems()[static_cast<size_t>(nRow)]->ShortId();
  if (sOldId != check.m_sShortId)
    RenameShortId(m_working, sOldId, check.m_sShortId, true);
  m_bEvaluatedValid = false;
  ListsRefilled();
  return true;
}

bool CCalcItemEditorPresenter::Apply() {
  COPCGroup* pGroup = LiveGroup();
  if (pGroup == nullptr)
    return false;  // closed with its project while the editor was open: nothing to apply to
  COPCGroup& group = *pGroup;
  bool bShortIdsChanged = false;
  for (size_t i = 0; i < group.AcquiredItems().size() && i < m_working.AcquiredItems().size();
       ++i) {
    COPCItem* pItem = group.AcquiredItems()[i].get();
    const COPCItem* pCopy = m_working.AcquiredItems()[i].get();
    if (pItem != nullptr && pCopy != nullptr && pItem->ShortId() != pCopy->ShortId()) {
      pItem->SetShortId(pCopy->ShortId());
      bShortIdsChanged = true;
    }
  }
  const bool bChanged = bShortIdsChanged || !SameCalcItems(group, m_working);
  group.TakeCalcItems(m_working);
  m_server.RecountItems();
  if (bChanged)
    m_server.MarkConfigurationChanged();
  CopyGroup(group);
  ClearFields();
  RecomputeButtons();
  return true;
}

void CCalcItemEditorPresenter::ClearFields() {
  m_sIdentifier.clear();
  m_sExpression.clear();
  m_sResult.clear();
  m_sCheckMessage.clear();
  m_bEvaluatedValid = false;
}

void CCalcItemEditorPresenter::ListsRefilled() {
  // Refilled lists have no selection.
  SelectAcquiredRow(-1);
  SelectCalcRow(-1);
}

void CCalcItemEditorPresenter::RecomputeButtons() {
  m_buttons.bAdd = true;
  m_buttons.bModify = true;
  m_buttons.bRemove = true;
  // The last check of the current text stands until a rule says otherwise.
  m_sResult = m_sCheckMessage;

  if (IsAcquiredShortId(m_working, m_sIdentifier)) {
    m_sResult = Format(kAcquiredUsedMessage, m_sIdentifier.c_str());
    m_buttons.bAdd = m_buttons.bModify = m_buttons.bRemove = false;
  }
  if (IsCalcShortId(m_working, m_sIdentifier)) {
    m_sResult = Format(kCalcUsedMessage, m_sIdentifier.c_str());
    m_buttons.bAdd = false;
    if (m_sExpression.empty()) {
      m_sResult = kCalcExpressionEmptyMessage;
      m_buttons.bModify = false;
    }
  }
  if (m_sIdentifier.empty()) {
    m_sResult = kIdentifierEmptyMessage;
    m_buttons.bAdd = m_buttons.bModify = m_buttons.bRemove = false;
  }
  if (!m_bEvaluatedValid) {
    // A failed check keeps its own reason, which says more than the general text.
    m_sResult = m_sCheckMessage.empty() ? std::string(kNotEvaluatedMessage) : m_sCheckMessage;
    m_buttons.bAdd = m_buttons.bModify = false;
  }
  if (HasRefusedIdentifierChar(m_sIdentifier)) {
    m_buttons.bAdd = m_buttons.bModify = m_buttons.bRemove = false;
    m_buttons.bEvaluate = false;
    if (m_sIdentifier != m_sReportedIdentifier) {
      m_sReportedIdentifier = m_sIdentifier;
      m_prompt.ShowReport(IdentifierErrorReport());
    }
    return;
  }
  m_sReportedIdentifier.clear();
  m_buttons.bEvaluate = !m_sExpression.empty();
}
