#pragma once
// CShortIdDlg: "Edit Short Tag ". Shows where the item stands (group, counts, qualified
// id, data type) and lets the user change its short id; every change is checked, and
// OK is enabled only for an id the rules accept. Thread rule: GUI thread.
#include <QDialog>
#include <functional>

#include "opc/add_item_session.h"

class QLineEdit;
class QPushButton;

inline constexpr char kShortIdDlgTitle[] = "Edit Short Tag ";

class CShortIdDlg : public QDialog {
  Q_OBJECT

 public:
  // check: the rules applied after each change (reports shown by it).
  CShortIdDlg(const ShortIdEditRequest& request,
              std::function<ShortIdCheck(const std::string&)> check, QWidget* parent = nullptr);

  // The trimmed text OK was pressed with.
  std::string ShortId() const { return m_check.m_sShortId; }
  QLineEdit* ShortIdField() const { return m_pShortId; }
  QPushButton* OkButton() const { return m_pOk; }

 private:
  void OnEdited();

  std::function<ShortIdCheck(const std::string&)> m_fnCheck;
  ShortIdCheck m_check;
  QLineEdit* m_pShortId;
  QPushButton* m_pOk;
};
