#pragma once
// COPCServerView: the OPC configuration view ("OPC Explorer Setup"). It will show the
// connected server with its groups and items as a tree, and the properties of the
// selected node; the server and configuration commands fill it. It owns the project
// commands (Load Project, Save Project).
#include "app/gui/velmora_view.h"

class CVelmoraSession;
class QLabel;
class QTreeWidget;

class COPCServerView : public CVelmoraView {
  Q_OBJECT
 public:
  explicit COPCServerView(QWidget* parent = nullptr);
  // The session whose server, database and project the commands work on; null detaches.
  void SetSession(CVelmoraSession* session);
  // Close-project sequence: back to "no server".
  void ResetView() override;
  // "Close Project": the server, group and item display is emptied.
  void ClearServerDisplay();

  std::vector<CommandId> Commands() const override;
  void OnCommand(CommandId id) override;
  ViewCommandState CommandState(CommandId id) const override;

  QTreeWidget* ConfigurationTree() const { return m_pTree; }
  QTreeWidget* PropertyList() const { return m_pProperties; }

 signals:
  // A project was loaded: the acquisition view shows its items.
  void ProjectLoaded();

 private:
  void LoadProject();
  void SaveProject();

  CVelmoraSession* m_pSession = nullptr;
  QLabel* m_pServerLine;
  QTreeWidget* m_pTree;
  QTreeWidget* m_pProperties;
};
