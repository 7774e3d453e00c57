#pragma once
// CGetProjectDlg: "Load Project"'s dialog. The saved projects with their group and item
// counts in the chosen order; for the selected project its name, its groups and its items,
// each list in its own pane of a splitter. A project whose class id text is not a GUID
// cannot be chosen. The rules live in CGetProjectPresenter.
#include <QDialog>
#include <QStandardItemModel>

#include "db/project_choice_presenter.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSplitter;
class QTableView;

class CGetProjectDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CGetProjectDlg(CSQLite& db, QWidget* parent = nullptr);

  // The chosen project (valid after the dialog closed with OK).
  const ProjectChoice& Choice() const { return m_presenter.Choice(); }

  QTableView* ProjectList() const { return m_pProjects; }
  QTableView* GroupList() const { return m_pGroups; }
  QTableView* ItemList() const { return m_pItems; }
  QComboBox* SortChoice() const { return m_pSort; }
  QLabel* ProjectName() const { return m_pName; }
  QLabel* CountLabel() const { return m_pCounts; }
  QSplitter* Splitter() const { return m_pSplitter; }
  QPushButton* OkButton() const { return m_pOk; }

 private:
  void FillProjects(int sortIndex);
  void OnProjectSelected();

  CGetProjectPresenter m_presenter;
  QStandardItemModel m_projectModel;
  QStandardItemModel m_groupModel;
  QStandardItemModel m_itemModel;
  QTableView* m_pProjects;
  QTableView* m_pGroups;
  QTableView* m_pItems;
  QComboBox* m_pSort;
  QLabel* m_pName;
  QLabel* m_pCounts;
  QSplitter* m_pSplitter;
  QPushButton* m_pOk;
};
