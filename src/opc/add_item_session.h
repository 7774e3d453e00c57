#pragma once
// CAddItemSession: the add-item dialog ("Add, Modify and Remove Acquired OPC Items in OPC
// Group %s") without its window, for one group of a connected server. It keeps a working
// copy of the group, browses the address space into a tree and a leaf list, filters the
// leaves, turns chosen leaves, found ids, typed ids and imported ids into rows (qualified
// id, short id, data type text, OPCITEMDEF), edits short ids and removes rows. OK hands
// the rows over as an AddItemResult, which ApplyAddItemResult (add_item_result.h) puts
// into the real group. Every log line goes to the "OPC Server" channel.
//
// Decisions beyond the dialog's rules:
// - The tree stops 8 levels below the root: a branch at that depth has no placeholder and
//   cannot be expanded (the server is positioned through at most 8 names); its leaves are
//   listed when it is selected, and what lies deeper is reached with SearchLeaves.
// - An "exception" in the leaf list update is the server's RPC_E_SERVERFAULT answer or a
//   C++ exception leaving the call: either drops browsing for the rest of the session.
// - When QueryOrganization fails the tree stays empty (neither organization is known).
// - The maximum item count applies to every way of adding rows, typed ids included.
// - An edited short id that is empty replaces the row's id but renames nothing in the
//   working group (an empty name would erase it from the expressions).
//
// The session is positioned at the selected node after a selection; adding leaves
// positions it there again when a search or adding found ids moved it.
// Thread rule: GUI thread.
#include <string>
#include <vector>

#include "opc/add_item_result.h"
#include "opc/add_item_tree.h"
#include "opc/item_list_file.h"
#include "opc/item_search.h"
#include "opc/opc_server.h"
#include "opc/short_id_check.h"

// One row of the item list: columns "Qualified Tag", "Short Tag", "Data Type", and the
// definition sent to the server for it.
struct AddItemRow {
  std::string m_sQualifiedId;
  std::string m_sShortId;
  std::string m_sDataType;
  OPCITEMDEF m_def;
};

// What the "Edit Short Tag " dialog shows for a row.
struct ShortIdEditRequest {
  std::string m_sGroupName;
  int m_nGroupIndex = 0;
  int m_nAcquiredCount = 0;  // the rows of the list
  int m_nCalcCount = 0;      // the working group's calculated items
  std::string m_sQualifiedId;
  std::string m_sShortId;
  std::string m_sDataType;
};

// What one way of adding did.
struct AddRowsOutcome {
  int m_nAdded = 0;
  bool m_bMaximumReached = false;  // the warning was shown and adding stopped
  bool m_bAborted = false;         // a critical error stopped adding
};

// Told when the leaf list or the item list is about to change wholesale and when it has
// (a list model's beginResetModel / endResetModel).
class IAddItemListListener {
 public:
  virtual ~IAddItemListListener() = default;
  virtual void OnLeavesAboutToChange() = 0;
  virtual void OnLeavesChanged() = 0;
  virtual void OnRowsAboutToChange() = 0;
  virtual void OnRowsChanged() = 0;
};

class CAddItemSession {
 public:
  // group must belong to server; neither is changed until ApplyAddItemResult. The session
  // works on a copy of group and keeps no reference to it.
  CAddItemSession(COPCServer& server, COPCGroup& group);
  CAddItemSession(const CAddItemSession&) = delete;
  CAddItemSession& operator=(const CAddItemSession&) = delete;

  // Not owned. Set them before Open to hear of the first tree and lists.
  void SetTreeListener(IBrowseTreeListener* listener) { m_tree.SetListener(listener); }
  void SetListListener(IAddItemListListener* listener) { m_pListListener = listener; }

  // The opening steps: rows from the group's acquired items, the allowance, the server
  // status, the organization and the tree, and the root selected.
  void Open();

  // ---- Texts and state of the window ----
  std::string Title() const;
  // "OPC Item%sin Group %s": "s " with 2 rows or more.
  std::string ItemListLabel() const;
  const std::string& GroupName() const { return m_pWorking->Name(); }
  int GroupIndex() const { return m_nGroupIndex; }
  OPCNAMESPACETYPE Organization() const { return m_eOrganization; }
  bool OrganizationKnown() const { return m_bOrganizationKnown; }
  // False when the server has no browse interface or browsing was dropped.
  bool CanBrowse() const { return m_pBrowse != nullptr; }
  // 128 - acquired items over all groups + this group's, at opening.
  int Allowance() const { return m_nAllowance; }
  bool IsAddLeavesEnabled() const { return !m_leaves.empty(); }
  static bool IsAddTypedEnabled(const std::string& text) { return !text.empty(); }
  // The server's status could be read at opening and there is at least one row.
  bool IsOkEnabled() const { return m_bStatusReadable && !m_rows.empty(); }

  // ---- Browsing ----
  const CBrowseTree& Tree() const { return m_tree; }
  const CBrowseNode* SelectedNode() const { return m_pSelected; }
  // Positions the server at node, counts its branches and leaves, expands it and fills
  // the leaf list. False (nothing done) for a placeholder, a node of another tree, or
  // while browsing is not possible; false also when the server refused a position.
  bool SelectNode(const CBrowseNode* node);
  // Branches and leaves at the selected position (pattern "*", no other filter).
  int BranchCount() const { return m_nBranchCount; }
  int LeafCount() const { return m_nLeafCount; }
  // Column "Tag": the names the server listed at the selected node, filters applied.
  const std::vector<std::string>& Leaves() const { return m_leaves; }

  // ---- Filters (each change selects the selected node again) ----
  // A menu position of kDataTypeFilters / kAccessFilters; out of range is ignored.
  void SetDataTypeFilter(int index);
  void SetAccessFilter(int index);
  // At most 260 characters are kept.
  void SetNamePattern(const std::string& pattern);
  int DataTypeFilter() const { return m_nDataTypeFilter; }
  int AccessFilter() const { return m_nAccessFilter; }
  const std::string& NamePattern() const { return m_sNamePattern; }
  // The buttons' texts: the chosen menu entries.
  std::string DataTypeFilterText() const;
  std::string AccessFilterText() const;
  VARTYPE DataTypeFilterType() const;
  DWORD AccessFilterRights() const;

  // ---- Adding ----
  // The leaves at these positions of the leaf list, in list order.
  AddRowsOutcome AddLeaves(std::vector<int> leafRows);
  // Fully qualified ids (of a search), by the same rules as leaves.
  AddRowsOutcome AddFoundIds(const std::vector<std::string>& itemIds);
  // The typed identifier, sent to the working group's server group on its own; the
  // usual report when the server refuses it.
  AddRowsOutcome AddTypedId(const std::string& itemId);
  // "Import Item List...": reads the file and adds its ids (see item_list_file.h).
  ItemListImportSummary ImportItemList(const std::string& path);
  // The parsed entries of a list, by the import's rules.
  ItemListImportSummary AddListEntries(const std::vector<ItemListEntry>& entries);
  // "Export Item List...": the rows as CSV. False with *error on failure.
  bool ExportItemList(const std::string& path, std::string* error) const;

  // Leaves anywhere below the selected node (the root when none) that match the filters.
  ItemSearchResult SearchLeaves(const ItemSearchProgressFn& progress = {});

  // ---- Rows ----
  const std::vector<AddItemRow>& Rows() const { return m_rows; }
  int RowCount() const { return static_cast<int>(m_rows.size()); }
  // Removes the rows at these positions.
  void RemoveRows(std::vector<int> rows);
  // What the "Edit Short Tag " dialog shows for the row.
  ShortIdEditRequest ShortIdEditFor(int row) const;
  // The short ids the edited one must differ from: every other group's acquired items
  // and the other rows.
  std::vector<ShortIdOwner> OtherShortIds(int row) const;
  // The dialog's check after each change (reports through the prompt).
  ShortIdCheck CheckShortIdEdit(int row, const std::string& text) const;
  // The dialog's OK: the row takes the id, and the working group renames the old id in
  // its acquired items and calculated expressions. False (nothing changed) for a row out
  // of range or an id the check refuses.
  bool ApplyShortIdEdit(int row, const std::string& text);

  // The working copy (its calculated items carry renamed expressions).
  const COPCGroup& WorkingGroup() const { return *m_pWorking; }

  // OK: hands the rows and the working group over; the session is empty afterwards.
  AddItemResult TakeResult();

 private:
  // Browsing steps.
  bool PositionAt(const std::vector<std::string>& labels);
  int CountItems(OPCBROWSETYPE type);
  void ExpandNode(CBrowseNode& node);
  void UpdateLeafList();
  void DropBrowsing();
  bool RepositionAtSelection();

  // Adding steps.
  // Whether the rows plus pending ones fill the allowance; shows the warning then.
  bool AllowanceReached(int pending);
  // GetItemID of a leaf name or an id; false when refused (message shown) or aborted.
  bool QueryItemId(const std::string& name, std::string& itemId, AddRowsOutcome& outcome);
  void AppendRow(const std::string& itemId, const std::string& shortId, VARTYPE requested);
  void AssignDefaultShortIds();
  void NotifyRowsAboutToChange();
  void NotifyRowsChanged();

  COPCServer& m_server;
  std::unique_ptr<COPCGroup> m_pWorking;
  int m_nGroupIndex = 0;
  int m_nAllowance = 0;
  bool m_bStatusReadable = false;
  ComPtr<IOPCBrowseServerAddressSpace> m_pBrowse;
  OPCNAMESPACETYPE m_eOrganization = OPC_NS_HIERARCHIAL;
  bool m_bOrganizationKnown = false;
  CBrowseTree m_tree;
  const CBrowseNode* m_pSelected = nullptr;
  bool m_bAtSelection = false;  // the server's position is the selected node's
  int m_nBranchCount = 0;
  int m_nLeafCount = 0;
  std::vector<std::string> m_leaves;
  int m_nDataTypeFilter = 0;
  int m_nAccessFilter = 0;
  std::string m_sNamePattern;
  std::vector<AddItemRow> m_rows;
  IAddItemListListener* m_pListListener = nullptr;
};
