#pragma once
// CServerSelectionDlg: "Select OPC Server". The selection tree (local host, network,
// direct host and direct server), enumerated as its nodes are expanded (F5 enumerates
// the selected node again), the enumeration mode, and the server id, host and class id
// of the selected server. Enter accepts a chosen server, Escape cancels.
// Thread rule: GUI thread.
#include <QDialog>
#include <memory>

#include "opc/server_selection_tree.h"

class CServerSelectionModel;
class CSQLite;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;

inline constexpr char kServerSelectionTitle[] = "Select OPC Server";

class CServerSelectionDlg : public QDialog, public IServerSelectionDialogs {
  Q_OBJECT

 public:
  // db: the recorded acquisitions offered by the direct server dialog (may be null).
  CServerSelectionDlg(AppContext& context, CSQLite* db, QWidget* parent = nullptr);
  ~CServerSelectionDlg() override;

  // What OK was pressed with.
  const ServerSelection& Selection() const { return m_selection; }

  CServerSelectionTree& Tree() { return *m_pTree; }
  CServerSelectionModel* Model() const { return m_pModel; }
  QTreeView* TreeView() const { return m_pView; }
  QRadioButton* OpcEnumButton() const { return m_pOpcEnum; }
  QRadioButton* RegistryButton() const { return m_pRegistry; }
  QLineEdit* ServerIdField() const { return m_pServerId; }
  QLineEdit* HostField() const { return m_pHost; }
  QLineEdit* ClassIdField() const { return m_pClassId; }
  QPushButton* OkButton() const { return m_pOk; }

  // Enumerates the node again (F5 on the selected node).
  void Refresh(const QModelIndex& index);

  void done(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool AskDirectHost(DirectHostChoice& choice) override;
  bool AskDirectServer(DirectServerChoice& choice) override;
  void OnExpanded(const QModelIndex& index);
  void OnCurrentChanged(const QModelIndex& current);
  void Expand(const QModelIndex& index);

  AppContext& m_context;
  CSQLite* m_pDb;
  std::unique_ptr<CServerSelectionTree> m_pTree;
  CServerSelectionModel* m_pModel;
  ServerSelection m_selection;
  QTreeView* m_pView;
  QRadioButton* m_pOpcEnum;
  QRadioButton* m_pRegistry;
  QLineEdit* m_pServerId;
  QLineEdit* m_pHost;
  QLineEdit* m_pClassId;
  QPushButton* m_pOk;
};
