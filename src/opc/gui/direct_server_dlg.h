#pragma once
// CDirectServerDlg: "Direct Server Selection". Host, server id and class id typed, or
// taken from the servers of recorded acquisitions. Thread rule: GUI thread.
#include <QDialog>

#include "opc/direct_server_selection.h"

class CSQLite;
class QLineEdit;
class QPushButton;

class CDirectServerDlg : public QDialog {
  Q_OBJECT

 public:
  // db: the database of the recorded acquisitions; null hides the list of known servers.
  explicit CDirectServerDlg(CSQLite* db, QWidget* parent = nullptr);

  DirectServerChoice Choice() const;

  QLineEdit* HostField() const { return m_pHost; }
  QLineEdit* ServerIdField() const { return m_pServerId; }
  QLineEdit* ClassIdField() const { return m_pClassId; }
  QPushButton* KnownServersButton() const { return m_pKnown; }
  QPushButton* OkButton() const { return m_pOk; }

 private:
  void ShowKnownServers();
  void RefreshOk();

  CSQLite* m_pDb;
  QLineEdit* m_pHost;
  QLineEdit* m_pServerId;
  QLineEdit* m_pClassId;
  QPushButton* m_pKnown;
  QPushButton* m_pOk;
};
