#pragma once
// COPCServerView: the OPC configuration view ("OPC Explorer Setup"): the tree of the
// server, its groups and their items, the server attributes, the list of groups and the
// items of the selected group, and the commands of the selected node. It also owns the
// project commands (Load Project, Save Project).
#include "opc/configuration_view_rules.h"
#include "ui/velmora_view.h"

class IConfigurationSession;
class QLabel;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

class COPCServerView : public CVelmoraView {
  Q_OBJECT
 public:
  // session: whose server, database and project the commands work on; it outlives the view.
  explicit COPCServerView(IConfigurationSession& session, QWidget* parent = nullptr);
  // Close-project sequence: back to "No OPC Server Selected".
  void ResetView() override;
  // "Close Project": the server, group and item display is emptied.
  void ClearServerDisplay();
  // The tree, the attributes and the lists made anew from the model.
  void Refresh();

  std::vector<CommandId> Commands() const override;
  void OnCommand(CommandId id) override;
  ViewCommandState CommandState(CommandId id) const override;

  QTreeWidget* ConfigurationTree() const { return m_pTree; }
  QTreeWidget* GroupList() const { return m_pGroups; }
  QTreeWidget* ItemList() const { return m_pItems; }
  QLabel* ItemListCaption() const { return m_pItemCaption; }
  // The view's own message list (the time-stamped default-name check summaries).
  QListWidget* MessageList() const { return m_pMessages; }
  // The value label of an attribute of the panel ("Server Id: "...); null when unknown.
  QLabel* Attribute(const char* label) const;
  // The property sheet of the selected group or item (also while acquiring).
  void OpenSelectedProperties() { ShowProperties(); }
  ConfigNodeKind SelectedKind() const;

 signals:
  // A project was loaded: the acquisition view shows its items.
  void ProjectLoaded();

 protected:
  void showEvent(QShowEvent* event) override;
  // F2 modifies the selected group, Delete removes the selected group or item.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LoadProject();
  void SaveProject();
  void SelectServer();
  void DisconnectServer();
  void AddItems();
  void AddGroup();
  void AddCalcItems();
  void ModifyGroup();
  void RemoveGroup();
  void RemoveItem();
  void ShowProperties();
  void ShowStatistics();
  void ShowContextMenu(const QPoint& position);
  void RebuildTree();
  void RefreshAttributes();
  void RefreshGroupList();
  void RefreshItemList();
  COPCGroup* SelectedGroup() const;
  // The connected server's group of that name; null when it is gone.
  COPCGroup* LiveGroup(const std::string& name) const;
  QTreeWidgetItem* NodeOfGroup(const COPCGroup* group) const;

  IConfigurationSession* m_pSession;  // never null
  QTreeWidget* m_pTree;
  QTreeWidget* m_pGroups;
  QTreeWidget* m_pItems;
  QLabel* m_pGroupCaption;
  QLabel* m_pItemCaption;
  QListWidget* m_pMessages;
  std::vector<std::pair<const char*, QLabel*>> m_attributes;
};
