#pragma once
// CSetProjectNameDlg: "Save Project"'s name dialog. The name edit starts with the current
// project name; the list shows the saved projects sorted by name; choosing a row copies
// its name, a double click also confirms; confirming a name that another saved project
// has asks before replacing it. The rules live in CSetProjectNamePresenter.
#include <QDialog>
#include <QStandardItemModel>
#include <QTimer>
#include <string>

#include "db/project_name_presenter.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

class CSetProjectNameDlg : public QDialog {
  Q_OBJECT
 public:
  CSetProjectNameDlg(CSQLite& db, IUserPrompt& prompt, const std::string& currentName,
                     QWidget* parent = nullptr);

  // The confirmed name (valid after the dialog closed with OK).
  const std::string& ChosenName() const { return m_presenter.ChosenName(); }

  QLineEdit* NameEdit() const { return m_pNameEdit; }
  QTableView* ProjectList() const { return m_pList; }
  QLabel* CountLabel() const { return m_pCount; }
  QPushButton* OkButton() const { return m_pOk; }

 public slots:
  void accept() override;

 private:
  void OnTextChanged(const QString& text);
  void CopySelectedName();

  CSetProjectNamePresenter m_presenter;
  QStandardItemModel m_model;
  QTimer m_selectionTimer;
  QLineEdit* m_pNameEdit;
  QTableView* m_pList;
  QLabel* m_pCount;
  QPushButton* m_pOk;
};
