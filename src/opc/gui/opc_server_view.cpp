#include "opc/gui/opc_server_view.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/log.h"
#include "base/number_text.h"
#include "calc/gui/add_calc_item_dlg.h"
#include "db/gui/project_dialogs.h"
#include "db/project_commands.h"
#include "db/project_state.h"
#include "db/project_store.h"
#include "db/sqlite_db.h"
#include "opc/add_item_result.h"
#include "opc/group_commands.h"
#include "opc/gui/add_item_dlg.h"
#include "opc/gui/configuration_session.h"
#include "opc/gui/group_dlg.h"
#include "opc/gui/property_dlg.h"
#include "opc/gui/server_selection_dlg.h"
#include "opc/gui/statistics_dlg.h"
#include "opc/item_commands.h"
#include "opc/opc_server.h"
#include "opc/opc_texts.h"

namespace {

// Rows the group and item lists keep in sight, and the attributes' least height (two lines;
// the rest scrolls).
constexpr int kMinimumListRows = 5;
constexpr int kMinimumAttributesHeight = 40;

constexpr char kTitle[] = "OPC Explorer Setup";
constexpr char kDescription[] =
    "Find an OPC server on this computer or on the network, connect to it, and define its "
    "groups, acquired items and calculated items.";
constexpr char kConnectionLog[] = "Connection to OPC Server %s %s";
constexpr char kNoData[] = "No Data";
constexpr char kUndefinedItem[] = "Undefined Item";
constexpr char kGroupCaption[] = "OPC Groups";
constexpr char kResetGroupCaption[] = "OPC Group";
constexpr char kItemCaption[] = "OPC Items in OPC Group '%1'";
constexpr char kNoGroupItemCaption[] = "OPC Items in Group";
constexpr char kResetItemCaption[] = "OPC Item";
constexpr char kMessagesCaption[] = "Messages";
constexpr int kKindRole = Qt::UserRole + 1;

constexpr const char* kAttributeLabels[] = {
    "Server Id: ",
    "OPC Server Host: ",
    "OPC Server Version: ",
    "OPC Vendor: ",
    "Connection Status: ",
    "Server Status: ",
    "Start Time: ",
    "Current Time: ",
    "Last Time: ",
    "Group Count in OPC Server: ",
    "Total Number of Acquired Items in OPC Server: ",
    "Total Number of Calculated Items in OPC Server: ",
    "Acquired OPC Item Count in Group: ",
    "Calculated Item Count in Group: ",
};

QTreeWidgetItem* Node(const QString& label, ConfigNodeKind kind, const QIcon& icon) {
  auto* node = new QTreeWidgetItem({label});
  node->setData(0, kKindRole, static_cast<int>(kind));
  node->setIcon(0, icon);
  return node;
}

}  // namespace

COPCServerView::COPCServerView(IConfigurationSession& session, QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_pSession(&session),
      m_pTree(new QTreeWidget(this)),
      m_pGroups(new QTreeWidget(this)),
      m_pItems(new QTreeWidget(this)),
      m_pGroupCaption(new QLabel(kResetGroupCaption, this)),
      m_pItemCaption(new QLabel(kResetItemCaption, this)),
      m_pMessages(new QListWidget(this)) {
  m_pTree->setHeaderLabels({"OPC Server Configuration"});
  m_pGroups->setHeaderLabels({"Group Name", "Item Count", "Update Rate", "Time Bias", "Deadband"});
  m_pItems->setHeaderLabels(
      {"Qualified Name", "Short Name", "Description", "Data Type", "Expression"});
  for (QTreeWidget* list : {m_pGroups, m_pItems}) {
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
  }

  // Two columns of label and value: the lists below keep their height on a small screen.
  auto* attributes = new QWidget(this);
  auto* grid = new QGridLayout(attributes);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(2);
  constexpr int kRows = static_cast<int>(std::size(kAttributeLabels) + 1) / 2;
  for (int i = 0; i < static_cast<int>(std::size(kAttributeLabels)); ++i) {
    const char* label = kAttributeLabels[i];
    auto* value = new QLabel(attributes);
    QFont font = value->font();
    font.setBold(true);
    value->setFont(font);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int row = i % kRows;
    const int column = i / kRows * 2;
    grid->addWidget(new QLabel(label, attributes), row, column);
    grid->addWidget(value, row, column + 1);
    m_attributes.emplace_back(label, value);
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  // The attributes, the group list and the item list share the height in a splitter: in a
  // small window the lists keep five rows in sight and the attributes scroll instead.
  auto* attributeScroller = new QScrollArea(this);
  attributeScroller->setObjectName("ServerAttributes");
  attributeScroller->setFrameShape(QFrame::NoFrame);
  attributeScroller->setWidgetResizable(true);
  attributeScroller->setWidget(attributes);
  attributeScroller->setMinimumHeight(kMinimumAttributesHeight);
  const auto captioned = [this](QLabel* caption, QTreeWidget* list) {
    auto* pane = new QWidget(this);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(caption);
    layout->addWidget(list, 1);
    const int rowHeight = list->fontMetrics().height() + 4;
    list->setMinimumHeight(kMinimumListRows * rowHeight + list->header()->sizeHint().height() +
                           list->horizontalScrollBar()->sizeHint().height() +
                           2 * list->frameWidth());
    return pane;
  };
  auto* right = new QSplitter(Qt::Vertical, this);
  right->setObjectName("ConfigurationLists");
  right->addWidget(attributeScroller);
  right->addWidget(captioned(m_pGroupCaption, m_pGroups));
  right->addWidget(captioned(m_pItemCaption, m_pItems));
  right->setStretchFactor(0, 0);
  right->setStretchFactor(1, 1);
  right->setStretchFactor(2, 2);
  right->setChildrenCollapsible(false);
  // The view's own messages (the default-name checks) under the tree, a few lines high.
  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(m_pTree, 1);
  leftLayout->addWidget(new QLabel(kMessagesCaption, left));
  leftLayout->addWidget(m_pMessages);
  m_pMessages->setObjectName("ConfigurationMessages");
  m_pMessages->setMaximumHeight(m_pMessages->fontMetrics().lineSpacing() * 4 + 8);
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName("ConfigurationPanes");
  splitter->addWidget(left);
  splitter->addWidget(right);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 3);
  // The tree keeps a usable width; the attributes scroll in their own pane instead.
  m_pTree->setMinimumWidth(m_pTree->fontMetrics().averageCharWidth() * 28);
  splitter->setChildrenCollapsible(false);
  ContentLayout()->addWidget(splitter, 1);

  m_pTree->installEventFilter(this);
  m_pTree->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_pTree, &QTreeWidget::customContextMenuRequested, this,
          &COPCServerView::ShowContextMenu);
  connect(m_pTree, &QTreeWidget::currentItemChanged, this, [this] {
    RefreshAttributes();
    RefreshItemList();
    emit CommandStatesChanged();
  });
  Refresh();
}

QLabel* COPCServerView::Attribute(const char* label) const {
  for (const auto& [name, value] : m_attributes) {
    if (std::string(name) == label)
      return value;
  }
  return nullptr;
}

void COPCServerView::ResetView() {
  ClearServerDisplay();
}

void COPCServerView::ClearServerDisplay() {
  m_pTree->clear();
  m_pTree->addTopLevelItem(Node(kNoServerSelectedLabel, ConfigNodeKind::kNoServer,
                                style()->standardIcon(QStyle::SP_ComputerIcon)));
  m_pTree->setCurrentItem(m_pTree->topLevelItem(0));
  for (const auto& [name, value] : m_attributes)
    value->clear();
  m_pGroups->clear();
  m_pItems->clear();
  m_pGroupCaption->setText(kResetGroupCaption);
  m_pItemCaption->setText(kResetItemCaption);
  emit CommandStatesChanged();
}

void COPCServerView::showEvent(QShowEvent* event) {
  CVelmoraView::showEvent(event);
  Refresh();  // a project may have been loaded or imported elsewhere
}

void COPCServerView::Refresh() {
  if (m_pSession == nullptr || !m_pSession->Server().IsConnected()) {
    if (m_pTree->topLevelItemCount() != 1 || SelectedKind() != ConfigNodeKind::kNoServer)
      ClearServerDisplay();
    return;
  }
  RebuildTree();
}

ConfigNodeKind COPCServerView::SelectedKind() const {
  const QTreeWidgetItem* node = m_pTree->currentItem();
  return node != nullptr ? static_cast<ConfigNodeKind>(node->data(0, kKindRole).toInt())
                         : ConfigNodeKind::kNoServer;
}

COPCGroup* COPCServerView::SelectedGroup() const {
  if (m_pSession == nullptr)
    return nullptr;
  const QTreeWidgetItem* node = m_pTree->currentItem();
  if (node != nullptr && SelectedKind() == ConfigNodeKind::kItem)
    node = node->parent();
  if (node == nullptr ||
      static_cast<ConfigNodeKind>(node->data(0, kKindRole).toInt()) != ConfigNodeKind::kGroup)
    return nullptr;
  COPCServer& server = m_pSession->Server();
  return server.FindGroupByName(node->text(0).toStdString());
}

COPCGroup* COPCServerView::LiveGroup(const std::string& name) const {
  // A dialog's group is found again by name once the dialog has ended: a server shutdown
  // or a closed project may have freed it meanwhile.
  if (m_pSession == nullptr || !m_pSession->Server().IsConnected())
    return nullptr;
  return m_pSession->Server().FindGroupByName(name);
}

QTreeWidgetItem* COPCServerView::NodeOfGroup(const COPCGroup* group) const {
  QTreeWidgetItem* root = m_pTree->topLevelItem(0);
  for (int i = 0; root != nullptr && i < root->childCount(); ++i) {
    if (root->child(i)->text(0).toStdString() == group->Name())
      return root->child(i);
  }
  return nullptr;
}

void COPCServerView::RebuildTree() {
  COPCServer& server = m_pSession->Server();
  const COPCGroup* selected = SelectedGroup();
  const std::string selectedName = selected != nullptr ? selected->Name() : std::string();
  m_pTree->clear();
  auto* root = Node(QString::fromStdString(server.ServerId()), ConfigNodeKind::kServer,
                    style()->standardIcon(QStyle::SP_DriveNetIcon));
  m_pTree->addTopLevelItem(root);
  QTreeWidgetItem* current = root;
  for (int g = 0; g < server.GroupCount(); ++g) {
    const COPCGroup& group = *server.Group(g);
    auto* node = Node(QString::fromStdString(group.Name()), ConfigNodeKind::kGroup,
                      style()->standardIcon(QStyle::SP_DirIcon));
    root->addChild(node);
    for (const auto& item : group.AcquiredItems()) {
      node->addChild(Node(QString::fromStdString(ItemNodeLabel(*item, false)),
                          ConfigNodeKind::kItem, style()->standardIcon(QStyle::SP_FileIcon)));
    }
    for (const auto& item : group.CalcItems()) {
      node->addChild(Node(QString::fromStdString(ItemNodeLabel(*item, true)), ConfigNodeKind::kItem,
                          style()->standardIcon(QStyle::SP_FileDialogDetailedView)));
    }
    if (group.Name() == selectedName)
      current = node;
  }
  root->setExpanded(true);
  m_pTree->setCurrentItem(current);
  RefreshAttributes();
  RefreshGroupList();
  RefreshItemList();
}

void COPCServerView::RefreshAttributes() {
  if (m_pSession == nullptr || !m_pSession->Server().IsConnected())
    return;
  const ServerAttributeTexts texts = ReadServerAttributes(m_pSession->Server());
  const std::pair<const char*, const std::string*> values[] = {
      {"Server Id: ", &texts.serverId},
      {"OPC Server Host: ", &texts.host},
      {"OPC Server Version: ", &texts.version},
      {"OPC Vendor: ", &texts.vendor},
      {"Connection Status: ", &texts.connection},
      {"Server Status: ", &texts.status},
      {"Start Time: ", &texts.startTime},
      {"Current Time: ", &texts.currentTime},
      {"Last Time: ", &texts.lastTime},
      {"Group Count in OPC Server: ", &texts.groupCount},
      {"Total Number of Acquired Items in OPC Server: ", &texts.acquiredTotal},
      {"Total Number of Calculated Items in OPC Server: ", &texts.calculatedTotal},
  };
  for (const auto& [label, value] : values)
    Attribute(label)->setText(QString::fromStdString(*value));
  const COPCGroup* group = SelectedGroup();
  Attribute("Acquired OPC Item Count in Group: ")
      ->setText(group != nullptr ? QString::number(group->AcquiredCount()) : QString());
  Attribute("Calculated Item Count in Group: ")
      ->setText(group != nullptr ? QString::number(group->CalcCount()) : QString());
}

void COPCServerView::RefreshGroupList() {
  m_pGroups->clear();
  m_pGroupCaption->setText(kGroupCaption);
  const COPCServer& server = m_pSession->Server();
  if (server.GroupCount() == 0) {
    m_pGroups->addTopLevelItem(new QTreeWidgetItem({kNoData}));
    return;
  }
  for (int g = 0; g < server.GroupCount(); ++g) {
    const COPCGroup& group = *server.Group(g);
    m_pGroups->addTopLevelItem(new QTreeWidgetItem(
        {QString::fromStdString(group.Name()), QString::number(group.AcquiredCount()),
         QString::number(group.UpdateRate()), QString::number(group.TimeBias()),
         QString::fromStdString(FormatFixed(static_cast<double>(group.DeadBand()), 2))}));
  }
  for (int column = 0; column < m_pGroups->columnCount(); ++column)
    m_pGroups->resizeColumnToContents(column);
}

void COPCServerView::RefreshItemList() {
  m_pItems->clear();
  const COPCGroup* group = SelectedGroup();
  if (group == nullptr) {
    m_pItemCaption->setText(m_pSession != nullptr && m_pSession->Server().IsConnected()
                                ? kNoGroupItemCaption
                                : kResetItemCaption);
    return;
  }
  m_pItemCaption->setText(QString(kItemCaption).arg(QString::fromStdString(group->Name())));
  if (group->ColumnCount() == 0) {
    m_pItems->addTopLevelItem(new QTreeWidgetItem({kUndefinedItem, kNoData}));
    return;
  }
  for (const auto& item : group->AcquiredItems()) {
    m_pItems->addTopLevelItem(new QTreeWidgetItem(
        {QString::fromStdString(item->QualifiedId()), QString::fromStdString(item->ShortId()),
         QString::fromStdString(item->Description()),
         QString::fromStdString(DataTypeText(item->DataType())), QString()}));
  }
  for (const auto& item : group->CalcItems()) {
    m_pItems->addTopLevelItem(new QTreeWidgetItem(
        {QString::fromStdString(item->QualifiedId()), QString::fromStdString(item->ShortId()),
         QString::fromStdString(item->Description()), "Double",
         QString::fromStdString(item->Expression())}));
  }
  for (int column = 0; column < m_pItems->columnCount(); ++column)
    m_pItems->resizeColumnToContents(column);
}

std::vector<CommandId> COPCServerView::Commands() const {
  return {CommandId::kLoadProject,  CommandId::kSaveProject,
          CommandId::kSelectServer, CommandId::kDisconnectServer,
          CommandId::kAddGroup,     CommandId::kRemoveGroup,
          CommandId::kAddItems,     CommandId::kAddCalcItems,
          CommandId::kRemoveItem,   CommandId::kAcquisitionStatistics};
}

void COPCServerView::OnCommand(CommandId id) {
  if (m_pSession == nullptr)
    return;
  switch (id) {
    case CommandId::kLoadProject:
      return LoadProject();
    case CommandId::kSaveProject:
      return SaveProject();
    case CommandId::kSelectServer:
      return SelectServer();
    case CommandId::kDisconnectServer:
      return DisconnectServer();
    case CommandId::kAddItems:
      return AddItems();
    case CommandId::kAddGroup:
      return AddGroup();
    case CommandId::kAddCalcItems:
      return AddCalcItems();
    case CommandId::kAcquisitionStatistics:
      return ShowStatistics();
    case CommandId::kRemoveGroup:
      return RemoveGroup();
    case CommandId::kRemoveItem:
      return RemoveItem();
    default:
      return;
  }
}

ViewCommandState COPCServerView::CommandState(CommandId id) const {
  ViewCommandState state;
  state.enabled = false;
  if (m_pSession == nullptr)
    return state;
  const bool acquiring = m_pSession->IsAcquisitionRunning();
  const ConfigNodeKind kind = SelectedKind();
  switch (id) {
    case CommandId::kLoadProject:
      state.enabled = !acquiring;
      break;
    case CommandId::kSaveProject:
      state.enabled = m_pSession->Server().IsConnected() && m_pSession->IsProjectModified();
      break;
    case CommandId::kSelectServer:
      state.enabled = ConfigCommandEnabled(ConfigCommand::kSelectServer, kind, acquiring);
      break;
    case CommandId::kDisconnectServer:
      state.enabled = ConfigCommandEnabled(ConfigCommand::kDisconnectServer, kind, acquiring);
      break;
    case CommandId::kAddItems:
      state.enabled = ConfigCommandEnabled(ConfigCommand::kAddItems, kind, acquiring);
      break;
    case CommandId::kAddGroup:
      state.enabled = ConfigCommandEnabled(ConfigCommand::kAddGroup, kind, acquiring);
      break;
    case CommandId::kAddCalcItems:
      state.enabled = ConfigCommandEnabled(ConfigCommand::kAddCalcItems, kind, acquiring);
      break;
    case CommandId::kAcquisitionStatistics:
      state.enabled = m_pSession->Server().IsConnected();
      break;
    case CommandId::kRemoveGroup:
      state.enabled = ConfigCommandEnabled(ConfigCommand::kRemoveGroup, kind, acquiring);
      break;
    case CommandId::kRemoveItem:
      state.enabled = ConfigCommandEnabled(ConfigCommand::kRemoveItem, kind, acquiring);
      break;
    default:
      break;
  }
  return state;
}

void COPCServerView::LoadProject() {
  CProjectDialogs dialogs(m_pSession->Database(), m_pSession->Context().prompt, window());
  LoadProjectCommand(
      m_pSession->ProjectStore(), m_pSession->ProjectState(), dialogs,
      [this] { return m_pSession->CloseProject(); }, nullptr);
  Refresh();
  emit ProjectLoaded();
  emit CommandStatesChanged();
}

void COPCServerView::SaveProject() {
  m_pSession->SaveProject();
  emit CommandStatesChanged();
}

void COPCServerView::SelectServer() {
  CServerSelectionDlg dialog(m_pSession->Context(), &m_pSession->Database(), window());
  if (dialog.exec() != QDialog::Accepted)
    return;
  const ServerSelection& selection = dialog.Selection();
  COPCServer& server = m_pSession->Server();
  const bool connected =
      server.Connect(selection.m_sServerId, selection.m_sHost, selection.m_clsid);
  m_pSession->Context().log.Log(
      Format(kConnectionLog, selection.m_sServerId.c_str(), connected ? "succeeded" : "failed"),
      kLogOpcServer);
  m_pSession->ProjectState().SetName(kUnnamedProjectName);
  Refresh();
  emit CommandStatesChanged();
}

void COPCServerView::DisconnectServer() {
  if (m_pSession->CloseProject())
    ClearServerDisplay();
  emit CommandStatesChanged();
}

void COPCServerView::AddItems() {
  COPCGroup* group = SelectedGroup();
  if (group == nullptr)
    return;
  COPCServer& server = m_pSession->Server();
  const std::string name = group->Name();
  CAddItemDlg dialog(m_pSession->Context(), server, *group, window());
  if (dialog.exec() != QDialog::Accepted || (group = LiveGroup(name)) == nullptr)
    return;
  ApplyAddItemResult(server, *group, dialog.Session().TakeResult());
  RebuildTree();
  if (QTreeWidgetItem* node = NodeOfGroup(group))
    m_pTree->setCurrentItem(node);
  emit CommandStatesChanged();
}

void COPCServerView::AddGroup() {
  COPCServer& server = m_pSession->Server();
  if (!CanAddGroup(server, m_pSession->Context().prompt))
    return;
  CGroupDlg dialog(server, m_pSession->Context().prompt, nullptr, window());
  if (dialog.exec() != QDialog::Accepted)
    return;
  COPCGroup* group = AddGroupCommand(server, dialog.Values());
  RebuildTree();
  if (QTreeWidgetItem* node = group != nullptr ? NodeOfGroup(group) : nullptr)
    m_pTree->setCurrentItem(node);
  emit CommandStatesChanged();
}

void COPCServerView::ModifyGroup() {
  COPCGroup* group = SelectedGroup();
  if (group == nullptr || m_pSession->IsAcquisitionRunning())
    return;
  const std::string name = group->Name();
  CGroupDlg dialog(m_pSession->Server(), m_pSession->Context().prompt, group, window());
  if (dialog.exec() != QDialog::Accepted || (group = LiveGroup(name)) == nullptr)
    return;
  ModifyGroupCommand(m_pSession->Server(), *group, dialog.Values());
  RebuildTree();
  if (QTreeWidgetItem* node = NodeOfGroup(group))
    m_pTree->setCurrentItem(node);
  emit CommandStatesChanged();
}

void COPCServerView::RemoveGroup() {
  COPCGroup* group = SelectedGroup();
  if (group == nullptr)
    return;
  const RemoveGroupOutcome outcome = RemoveGroupCommand(m_pSession->Server(), group);
  if (outcome.m_bRemoved) {
    RebuildTree();
    for (const std::string& line :
         {outcome.m_check.m_sStampedGroupSummary, outcome.m_check.m_sStampedIdentifierSummary}) {
      if (!line.empty())
        m_pMessages->addItem(QString::fromStdString(line));
    }
    m_pMessages->scrollToBottom();
  }
  emit CommandStatesChanged();
}

void COPCServerView::RemoveItem() {
  COPCGroup* group = SelectedGroup();
  const QTreeWidgetItem* node = m_pTree->currentItem();
  if (group == nullptr || node == nullptr || SelectedKind() != ConfigNodeKind::kItem)
    return;
  auto* item = const_cast<COPCBaseItem*>(FindItemByLabel(*group, node->text(0).toStdString()));
  if (item != nullptr && RemoveItemCommand(m_pSession->Server(), item)) {
    RebuildTree();
    if (QTreeWidgetItem* groupNode = NodeOfGroup(group))
      m_pTree->setCurrentItem(groupNode);
  }
  emit CommandStatesChanged();
}

bool COPCServerView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pTree && event->type() == QEvent::KeyPress && m_pSession != nullptr) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool acquiring = m_pSession->IsAcquisitionRunning();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        SelectedKind() == ConfigNodeKind::kItem) {
      ShowProperties();
      return true;
    }
    if (key == Qt::Key_F2 && SelectedKind() == ConfigNodeKind::kGroup) {
      ModifyGroup();
      return true;
    }
    if (key == Qt::Key_Delete && !acquiring) {
      if (SelectedKind() == ConfigNodeKind::kGroup)
        RemoveGroup();
      else if (SelectedKind() == ConfigNodeKind::kItem)
        RemoveItem();
      return true;
    }
  }
  return CVelmoraView::eventFilter(watched, event);
}

void COPCServerView::AddCalcItems() {
  COPCGroup* group = SelectedGroup();
  AppContext& context = m_pSession->Context();
  if (group == nullptr || !CanAddCalcItems(*group, context.prompt))
    return;
  const std::string name = group->Name();
  CAddCalcItemDlg dialog(m_pSession->Server(), *group, context.prompt, context.clock, window());
  if (dialog.exec() != QDialog::Accepted || (group = LiveGroup(name)) == nullptr)
    return;
  dialog.Presenter().Apply();
  RebuildTree();
  if (QTreeWidgetItem* node = NodeOfGroup(group))
    m_pTree->setCurrentItem(node);
  emit CommandStatesChanged();
}

void COPCServerView::ShowProperties() {
  COPCGroup* group = SelectedGroup();
  if (group == nullptr || m_pSession == nullptr)
    return;
  const bool acquiring = m_pSession->IsAcquisitionRunning();
  if (SelectedKind() == ConfigNodeKind::kGroup) {
    CPropertyDlg dialog(
        kGroupPropertiesTitle, kGroupPropertiesCaption,
        GroupPropertySheet(*group, m_pSession->Server().GroupIndex(group), acquiring), window());
    dialog.exec();
    return;
  }
  bool calculated = false;
  const COPCBaseItem* item =
      FindItemByLabel(*group, m_pTree->currentItem()->text(0).toStdString(), &calculated);
  if (item == nullptr)
    return;
  CPropertyDlg dialog(kItemPropertiesTitle, kItemPropertiesCaption,
                      ItemPropertySheet(*item, calculated, *group), window());
  dialog.exec();
}

// The commands of the node under the mouse, as the command bar has them.
void COPCServerView::ShowContextMenu(const QPoint& position) {
  QTreeWidgetItem* node = m_pTree->itemAt(position);
  if (node == nullptr || m_pSession == nullptr)
    return;
  m_pTree->setCurrentItem(node);
  const bool acquiring = m_pSession->IsAcquisitionRunning();
  const ConfigNodeKind kind = SelectedKind();
  QMenu menu(this);
  const auto add = [&](const char* text, ConfigCommand command, auto handler) {
    QAction* action = menu.addAction(text, this, handler);
    action->setEnabled(ConfigCommandEnabled(command, kind, acquiring));
  };
  switch (kind) {
    case ConfigNodeKind::kNoServer:
      add("Select OPC Server", ConfigCommand::kSelectServer, [this] { SelectServer(); });
      break;
    case ConfigNodeKind::kServer:
      add("Add OPC Group", ConfigCommand::kAddGroup, [this] { AddGroup(); });
      add("Disconnect OPC Server", ConfigCommand::kDisconnectServer,
          [this] { DisconnectServer(); });
      break;
    case ConfigNodeKind::kGroup:
      add("Add OPC Item(s)", ConfigCommand::kAddItems, [this] { AddItems(); });
      add("Add Calc. OPC Item(s)", ConfigCommand::kAddCalcItems, [this] { AddCalcItems(); });
      add("Modify OPC Group...", ConfigCommand::kModifyGroup, [this] { ModifyGroup(); });
      add("OPC Group Properties...", ConfigCommand::kGroupProperties, [this] { ShowProperties(); });
      add("Remove OPC Group", ConfigCommand::kRemoveGroup, [this] { RemoveGroup(); });
      break;
    case ConfigNodeKind::kItem:
      add("OPC Item Properties...", ConfigCommand::kItemProperties, [this] { ShowProperties(); });
      add("Remove Item", ConfigCommand::kRemoveItem, [this] { RemoveItem(); });
      break;
  }
  menu.exec(m_pTree->viewport()->mapToGlobal(position));
  emit CommandStatesChanged();
}

void COPCServerView::ShowStatistics() {
  CStatisticsDlg dialog(m_pSession->Server(), m_pSession->Context().prompt, window());
  dialog.exec();
}
