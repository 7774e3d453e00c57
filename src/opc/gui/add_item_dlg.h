#pragma once
// CAddItemDlg: "Add, Modify and Remove Acquired OPC Items in OPC Group %s". Browses the
// server's address space (tree of branches, leaf list with name, data type and access
// filters), searches below a branch, adds leaves, found ids, typed ids or an imported
// list to the group's item list, edits short ids and removes rows. OK hands the rows to
// the caller (ApplyAddItemResult). Thread rule: GUI thread.
#include <QDialog>
#include <memory>

#include "opc/add_item_session.h"

class CBrowseTreeModel;
class CItemRowsModel;
class CTextListModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QToolButton;
class QTreeView;

class CAddItemDlg : public QDialog, private IAddItemListListener {
  Q_OBJECT

 public:
  CAddItemDlg(AppContext& context, COPCServer& server, COPCGroup& group, QWidget* parent = nullptr);
  ~CAddItemDlg() override;

  CAddItemSession& Session() { return *m_pSession; }

  QTreeView* BrowseTree() const { return m_pTree; }
  QTableView* LeafList() const { return m_pLeaves; }
  QTableView* FoundList() const { return m_pFound; }
  QTabWidget* LeafTabs() const { return m_pTabs; }
  QTableView* ItemList() const { return m_pRows; }
  QLineEdit* PatternField() const { return m_pPattern; }
  QToolButton* DataTypeButton() const { return m_pDataType; }
  QToolButton* AccessButton() const { return m_pAccess; }
  QLineEdit* SearchField() const { return m_pSearch; }
  QPushButton* SearchButton() const { return m_pSearchButton; }
  QLineEdit* TypedIdField() const { return m_pTypedId; }
  QPushButton* AddButton() const { return m_pAdd; }
  QPushButton* AddTypedButton() const { return m_pAddTyped; }
  QPushButton* RemoveButton() const { return m_pRemove; }
  QPushButton* ImportButton() const { return m_pImport; }
  QPushButton* ExportButton() const { return m_pExport; }
  QPushButton* OkButton() const { return m_pOk; }
  QLabel* ItemListLabel() const { return m_pRowsLabel; }

  // The edit of one row's short id (as activating the row does).
  void EditShortId(int row);
  // Searches below the selected branch (as the search button does).
  void Search();

 private:
  void OnLeavesAboutToChange() override;
  void OnLeavesChanged() override;
  void OnRowsAboutToChange() override;
  void OnRowsChanged() override;

  void SelectTreeNode(const QModelIndex& index);
  void OnTreeExpanded(const QModelIndex& index);
  void AddSelected();
  void AddTyped();
  void RemoveSelected();
  void ImportList();
  void ExportList();
  void ApplyPattern();
  void RefreshButtons();
  QToolButton* FilterButton(const QString& caption);

  AppContext& m_context;
  std::unique_ptr<CAddItemSession> m_pSession;
  CBrowseTreeModel* m_pTreeModel;
  CTextListModel* m_pLeafModel;
  CItemRowsModel* m_pRowsModel;
  std::vector<std::string> m_foundIds;  // of the last search
  CTextListModel* m_pFoundModel;
  QTreeView* m_pTree;
  QTabWidget* m_pTabs;
  QTableView* m_pLeaves;
  QTableView* m_pFound;
  QTableView* m_pRows;
  QLineEdit* m_pPattern;
  QToolButton* m_pDataType;
  QToolButton* m_pAccess;
  QLineEdit* m_pSearch;
  QPushButton* m_pSearchButton;
  QLabel* m_pSearchStatus;
  QLabel* m_pRowsLabel;
  QLineEdit* m_pTypedId;
  QPushButton* m_pAdd;
  QPushButton* m_pAddTyped;
  QPushButton* m_pRemove;
  QPushButton* m_pImport;
  QPushButton* m_pExport;
  QPushButton* m_pOk;
  bool m_bSearching = false;
  bool m_bStopSearch = false;
};
