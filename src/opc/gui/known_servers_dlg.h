#pragma once
// CKnownServersDlg: the OPC servers of the recorded acquisitions, for the direct server
// dialog. A click on a column heading sorts by that column (read again from the
// database); choosing a row takes its host, server id and class id.
// Thread rule: GUI thread.
#include <QDialog>

#include "db/known_servers.h"

class QStandardItemModel;
class QTableView;
class QPushButton;

class CKnownServersDlg : public QDialog {
  Q_OBJECT

 public:
  CKnownServersDlg(CSQLite& db, QWidget* parent = nullptr);

  // False when the list could not be read (the failure was reported).
  bool Load(KnownServerSort sort);
  // The chosen row after OK.
  const KnownServer& Choice() const { return m_choice; }
  QTableView* List() const { return m_pList; }

 private:
  void TakeCurrentRow();

  CSQLite& m_db;
  std::vector<KnownServer> m_rows;
  KnownServer m_choice;
  QTableView* m_pList;
  QStandardItemModel* m_pModel;
  QPushButton* m_pOk;
};
