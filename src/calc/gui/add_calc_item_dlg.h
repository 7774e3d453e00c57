#pragma once
// CAddCalcItemDlg: "Add, Modify and Remove Calculated OPC Items in OPC Group %s", the
// calculated item editor over CCalcItemEditorPresenter: identifier = expression, Evaluate
// and its result, the group's acquired and calculated items to insert, the available
// functions, Add / Modify / Remove, and the allowance. After OK the caller gives the edited
// list to the group (Presenter().Apply()) once it has checked that the group is still
// there; Cancel discards it. Thread rule: GUI thread.
#include <QDialog>
#include <memory>

#include "calc/calc_editor_presenter.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class CAddCalcItemDlg : public QDialog {
  Q_OBJECT

 public:
  CAddCalcItemDlg(COPCServer& server, COPCGroup& group, IUserPrompt& prompt, const IClock& clock,
                  QWidget* parent = nullptr);

  CCalcItemEditorPresenter& Presenter() { return *m_pPresenter; }
  QLineEdit* IdentifierField() const { return m_pIdentifier; }
  QLineEdit* ExpressionField() const { return m_pExpression; }
  QLabel* ResultLabel() const { return m_pResult; }
  QTreeWidget* AcquiredList() const { return m_pAcquired; }
  QTreeWidget* CalcList() const { return m_pCalc; }
  QTreeWidget* FunctionList() const { return m_pFunctions; }
  QPushButton* EvaluateButton() const { return m_pEvaluate; }
  QPushButton* AddButton() const { return m_pAdd; }
  QPushButton* ModifyButton() const { return m_pModify; }
  QPushButton* RemoveButton() const { return m_pRemove; }
  QPushButton* EditButton() const { return m_pEdit; }
  QPushButton* InsertAcquiredButton() const { return m_pInsertAcquired; }
  QPushButton* InsertCalcButton() const { return m_pInsertCalc; }

 private:
  void Refresh();
  void RefreshLists();
  // Puts text into the expression field over its selection, as one undoable edit.
  void InsertText(const std::string& text);
  void EditAcquiredShortId(int row);

  std::unique_ptr<CCalcItemEditorPresenter> m_pPresenter;
  QLabel* m_pCaption;
  QLineEdit* m_pIdentifier;
  QLineEdit* m_pExpression;
  QLabel* m_pResult;
  QLabel* m_pAllowance;
  QLabel* m_pServer;
  QTreeWidget* m_pAcquired;
  QTreeWidget* m_pCalc;
  QTreeWidget* m_pFunctions;
  QPushButton* m_pEvaluate;
  QPushButton* m_pInsertAcquired;
  QPushButton* m_pInsertCalc;
  QPushButton* m_pEdit;
  QPushButton* m_pAdd;
  QPushButton* m_pModify;
  QPushButton* m_pRemove;
  bool m_bRefreshing = false;
};
