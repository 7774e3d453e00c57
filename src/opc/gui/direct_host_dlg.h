#pragma once
// CDirectHostDlg: "Direct Host Selection". The user types a host (or "Local Host"),
// enumerates its OPC servers through the host's OPCEnum and takes the host with its
// list. Thread rule: GUI thread.
#include <QDialog>

#include "opc/direct_host_selection.h"

class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

class CDirectHostDlg : public QDialog {
  Q_OBJECT

 public:
  CDirectHostDlg(AppContext& context, QWidget* parent = nullptr);

  // The host and the servers listed when OK was pressed.
  const DirectHostChoice& Choice() const { return m_choice; }

  QLineEdit* HostField() const { return m_pHost; }
  QPushButton* EnumerateButton() const { return m_pEnumerate; }
  QPushButton* OkButton() const { return m_pOk; }
  QTableView* ServerList() const { return m_pList; }

 private:
  void Enumerate();

  AppContext& m_context;
  DirectHostChoice m_choice;
  QLineEdit* m_pHost;
  QPushButton* m_pEnumerate;
  QPushButton* m_pOk;
  QTableView* m_pList;
  QStandardItemModel* m_pModel;
};
