#pragma once
// CCalcItemEditorPresenter: everything the calculated item editor decides, without a
// window. It works on a copy of one group (its acquired and calculated items); Add, Modify
// and Remove change the copy at once, Apply (the dialog's OK) gives the edited list of
// calculated items to the real group, and dropping the presenter (Cancel) discards it.
// The dialog shows the texts, rows and button states read here and forwards the user's
// edits, clicks and selections.
// Thread rule: the GUI thread.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/user_prompt.h"
#include "calc/calc_function_list.h"
#include "opc/add_item_session.h"
#include "opc/opc_group.h"
#include "opc/short_id_check.h"

class COPCServer;

inline constexpr char kEvaluationResultLabel[] = "Evaluation Result: ";
inline constexpr char kAllowanceLabel[] =
    "Maximum Number of Calculated Items Allowed for the Group: ";

inline constexpr char kAcquiredUsedMessage[] =
    "Name of Current Item (%s) is already used as an Acquired OPC Item ... Addition, "
    "Modification and Removal Not Allowed ..";
inline constexpr char kCalcUsedMessage[] =
    "Name of Current Item (%s) is already used as a Calculated OPC Item ... Only Modification "
    "and Removal Allowed ..";
inline constexpr char kCalcExpressionEmptyMessage[] =
    "Expression of Currently Existing Calculated OPC Item is Empty ... Only Removal Allowed ..";
inline constexpr char kIdentifierEmptyMessage[] =
    "Name of Current Item is Empty ... Addition, Modification and Removal Not Allowed ..";
inline constexpr char kNotEvaluatedMessage[] =
    "Expression is Not Evaluated yet or Expression is Not Valid ... Addition and Modification "
    "Not Allowed ..";
inline constexpr char kMaximumReachedMessage[] =
    "Warning !!! Not All Items Added to the Calculated OPC Item List ... Maximum Item Count "
    "(%d) is Reached ...";
inline constexpr char kRemovalRefusedMessage[] =
    "%d Calculated OPC Item use%sthe Calculated Item %s !!! Removal is NOT Allowed ...";

// The type code a calculated item gets on addition and modification (4-byte real), and the
// type its lists show.
inline constexpr VARTYPE kCalcItemTypeCode = VT_R4;
inline constexpr char kCalcItemTypeText[] = "Double";

struct CalcEditorButtons {
  bool bAdd = false;
  bool bModify = false;
  bool bRemove = false;
  bool bEvaluate = false;
  bool bInsertAcquired = false;  // Insert Acquired Item in Expression
  bool bInsertCalc = false;      // Insert Calculated Item in Expression
  bool bEditCalc = false;        // Edit Calculated Item
};

// One row of the acquired-item list (Qualified Name, Short Name, Data Type, Description) or
// of the calculated-item list (Qualified Name, Short Name, Data Type, Expression).
using CalcEditorRow = std::array<std::string, 4>;
const std::array<const char*, 4>& AcquiredListHeadings();
const std::array<const char*, 4>& CalcListHeadings();

// The server attributes shown for information.
struct CalcEditorServerInfo {
  std::string sServerId;
  std::string sHost;
  std::string sConnectionStatus;  // "Connected" / "Not Connected"
  std::string sServerStatus;      // server state text, "No Status Available" when unknown
  int nGroupCount = 0;
  int nAcquiredCount = 0;
  int nCalculatedCount = 0;
};

class CCalcItemEditorPresenter {
 public:
  // group: a group of server. Recounts the server's items for the allowance.
  CCalcItemEditorPresenter(COPCServer& server, COPCGroup& group, IUserPrompt& prompt,
                           const IClock& clock);
  CCalcItemEditorPresenter(const CCalcItemEditorPresenter&) = delete;
  CCalcItemEditorPresenter& operator=(const CCalcItemEditorPresenter&) = delete;

  // ---- What the dialog shows ----
  std::string WindowTitle() const;
  std::string FrameCaption() const;
  // 128 - calculated items of all groups + those of this group, when the editor opened.
  int Allowance() const { return m_nAllowance; }
  CalcEditorServerInfo ServerInfo() const;
  std::vector<CalcEditorRow> AcquiredRows() const;
  std::vector<CalcEditorRow> CalcRows() const;
  const std::string& Identifier() const { return m_sIdentifier; }
  const std::string& Expression() const { return m_sExpression; }
  // The text after "Evaluation Result: ".
  const std::string& Result() const { return m_sResult; }
  const CalcEditorButtons& Buttons() const { return m_buttons; }
  bool EvaluatedAndValid() const { return m_bEvaluatedValid; }
  // The edited copy of the group.
  const COPCGroup& WorkingGroup() const { return m_working; }

  // ---- Edits and selections ----
  void SetIdentifier(const std::string& sIdentifier);
  // A changed text clears the evaluated-and-valid flag.
  void SetExpression(const std::string& sExpression);
  // A click in a list: row -1 (or out of range) when the click selected nothing.
  void SelectAcquiredRow(int nRow);
  void SelectCalcRow(int nRow);
  // Inserting replaces the expression's selection [start, end) and returns the new text
  // with the caret after the insertion; nothing (no change) when there is nothing to
  // insert.
  TextInsertion InsertIntoExpression(const std::string& sInserted, size_t nSelectionStart,
                                     size_t nSelectionEnd);
  std::optional<TextInsertion> InsertFunction(int nIndex, size_t nSelectionStart,
                                              size_t nSelectionEnd);
  std::optional<TextInsertion> InsertAcquiredItem(size_t nSelectionStart, size_t nSelectionEnd);
  std::optional<TextInsertion> InsertCalcItem(size_t nSelectionStart, size_t nSelectionEnd);

  // ---- Buttons (each does nothing and returns false while it is disabled) ----
  // Evaluate: the expression check; true when the expression is valid.
  bool Evaluate();
  // Add Item: false when refused (after the maximum warning).
  bool Add();
  // Edit Calculated Item: loads the selected row and checks its expression.
  bool Edit();
  // Modify Item: changes the item loaded by Edit (its qualified id, expression and type;
  // its short id stays). False when no item was loaded.
  bool Modify();
  // Remove Item: removes the selected row's item unless an expression uses its short id
  // (message box with the count).
  bool Remove();
  // A click on the Short Name cell of an acquired row: what the short-id editor shows,
  // the check of an edited text against every other acquired item, and the edit itself
  // (expressions of the copy follow the new id). False for a row out of range or a
  // refused text.
  ShortIdEditRequest AcquiredShortIdEditFor(int nRow) const;
  ShortIdCheck CheckAcquiredShortId(int nRow, const std::string& sText) const;
  bool RenameAcquiredShortId(int nRow, const std::string& sText);

  // OK: the group's calculated items become the edited list; items are recounted and the
  // configuration is marked changed when the list differs. The presenter then works on a
  // fresh copy of the updated group. False (nothing done) when the group is gone.
  bool Apply();

 private:
  // The edited group, found by its name on every use; null once it is gone (a project
  // close may remove it while the editor is open).
  COPCGroup* LiveGroup() const;
  void CopyGroup(const COPCGroup& group);
  void RecomputeButtons();
  void ClearFields();
  void ListsRefilled();
  void RunCheck();
  std::vector<ShortIdOwner> OtherAcquiredShortIds(int nRow) const;

  COPCServer& m_server;
  std::string m_sGroupName;  // the edited group's id: the presenter keeps no pointer to it
  IUserPrompt& m_prompt;
  const IClock& m_clock;
  COPCGroup m_working;
  int m_nAllowance = 0;

  std::string m_sIdentifier;
  std::string m_sExpression;
  std::string m_sResult;
  // The message of the last check of the current expression text; empty when the text
  // was not checked since it last changed.
  std::string m_sCheckMessage;
  bool m_bEvaluatedValid = false;
  // The identifier the character report was last shown for, so that the report comes
  // once per identifier and not at every keystroke in the expression.
  std::string m_sReportedIdentifier;
  // The item loaded by Edit Calculated Item (in the working copy).
  COPCCalcItem* m_pEditedItem = nullptr;
  int m_nSelectedAcquiredRow = -1;
  int m_nSelectedCalcRow = -1;
  CalcEditorButtons m_buttons;
};
