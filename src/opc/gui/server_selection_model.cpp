#include "opc/gui/server_selection_model.h"

#include <QApplication>
#include <QStyle>

namespace {

QIcon KindIcon(ServerNodeKind kind) {
  QStyle* style = QApplication::style();
  switch (kind) {
    case ServerNodeKind::kLocalHost:
      return style->standardIcon(QStyle::SP_ComputerIcon);
    case ServerNodeKind::kNetwork:
      return style->standardIcon(QStyle::SP_DriveNetIcon);
    case ServerNodeKind::kNetworkHost:
      return style->standardIcon(QStyle::SP_ComputerIcon);
    case ServerNodeKind::kCategory:
      return style->standardIcon(QStyle::SP_DirIcon);
    case ServerNodeKind::kLocalServer:
    case ServerNodeKind::kRemoteServer:
      return style->standardIcon(QStyle::SP_DriveHDIcon);
    case ServerNodeKind::kClassId:
      return style->standardIcon(QStyle::SP_FileIcon);
    case ServerNodeKind::kDirectHostRoot:
    case ServerNodeKind::kDirectServerRoot:
      return style->standardIcon(QStyle::SP_FileDialogContentsView);
    case ServerNodeKind::kFailureNote:
      return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case ServerNodeKind::kPlaceholder:
      break;
  }
  return {};
}

}  // namespace

CServerSelectionModel::CServerSelectionModel(CServerSelectionTree& tree, QObject* parent)
    : QAbstractItemModel(parent), m_tree(tree) {
  m_tree.SetListener(this);
}

CServerSelectionModel::~CServerSelectionModel() {
  m_tree.SetListener(nullptr);
}

const CServerNode* CServerSelectionModel::Node(const QModelIndex& index) const {
  return index.isValid() ? static_cast<const CServerNode*>(index.internalPointer()) : nullptr;
}

QModelIndex CServerSelectionModel::IndexOf(const CServerNode* node) const {
  return node != nullptr ? createIndex(node->Row(), 0, const_cast<CServerNode*>(node))
                         : QModelIndex();
}

QModelIndex CServerSelectionModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0)
    return {};
  const CServerNode* node = parent.isValid() ? Node(parent)->Child(row) : m_tree.Root(row);
  return node != nullptr ? IndexOf(node) : QModelIndex();
}

QModelIndex CServerSelectionModel::parent(const QModelIndex& child) const {
  const CServerNode* node = Node(child);
  return node != nullptr ? IndexOf(node->Parent()) : QModelIndex();
}

int CServerSelectionModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0)
    return 0;
  return parent.isValid() ? Node(parent)->ChildCount() : m_tree.RootCount();
}

int CServerSelectionModel::columnCount(const QModelIndex&) const {
  return 1;
}

QVariant CServerSelectionModel::data(const QModelIndex& index, int role) const {
  const CServerNode* node = Node(index);
  if (node == nullptr)
    return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return QString::fromStdString(node->Label());
    case Qt::DecorationRole:
      return KindIcon(node->Kind());
    case kKindRole:
      return node->KindNumber();
    default:
      return {};
  }
}

void CServerSelectionModel::BeforeRemoveChildren(const CServerNode& parent, int first, int count) {
  beginRemoveRows(IndexOf(&parent), first, first + count - 1);
}

void CServerSelectionModel::AfterRemoveChildren(const CServerNode&, int, int) {
  endRemoveRows();
}

void CServerSelectionModel::BeforeAddChildren(const CServerNode& parent, int first, int count) {
  beginInsertRows(IndexOf(&parent), first, first + count - 1);
}

void CServerSelectionModel::AfterAddChildren(const CServerNode&, int, int) {
  endInsertRows();
}

void CServerSelectionModel::ModeChanged(EnumerationMode mode) {
  emit modeChanged(mode);
}

void CServerSelectionModel::CollapseNode(const CServerNode& node) {
  emit collapseRequested(IndexOf(&node));
}

void CServerSelectionModel::ExpandNode(const CServerNode& node) {
  emit expandRequested(IndexOf(&node));
}
