#include "opc/gui/add_item_models.h"

#include <QApplication>
#include <QStyle>

namespace {

constexpr const char* kRowColumns[] = {"Qualified Tag", "Short Tag", "Data Type"};

}  // namespace

// ---- Browse tree ----

CBrowseTreeModel::CBrowseTreeModel(const CAddItemSession& session, QObject* parent)
    : QAbstractItemModel(parent), m_session(session) {}

const CBrowseNode* CBrowseTreeModel::Node(const QModelIndex& index) const {
  return index.isValid() ? static_cast<const CBrowseNode*>(index.internalPointer()) : nullptr;
}

QModelIndex CBrowseTreeModel::IndexOf(const CBrowseNode* node) const {
  return node != nullptr ? createIndex(node->Row(), 0, const_cast<CBrowseNode*>(node))
                         : QModelIndex();
}

QModelIndex CBrowseTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0)
    return {};
  if (!parent.isValid())
    return row == 0 ? IndexOf(m_session.Tree().Root()) : QModelIndex();
  return IndexOf(Node(parent)->Child(row));
}

QModelIndex CBrowseTreeModel::parent(const QModelIndex& child) const {
  const CBrowseNode* node = Node(child);
  return node != nullptr ? IndexOf(node->Parent()) : QModelIndex();
}

int CBrowseTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0)
    return 0;
  if (!parent.isValid())
    return m_session.Tree().Root() != nullptr ? 1 : 0;
  return Node(parent)->ChildCount();
}

int CBrowseTreeModel::columnCount(const QModelIndex&) const {
  return 1;
}

QVariant CBrowseTreeModel::data(const QModelIndex& index, int role) const {
  const CBrowseNode* node = Node(index);
  if (node == nullptr)
    return {};
  if (role == Qt::DisplayRole)
    return QString::fromStdString(node->Label());
  if (role == Qt::DecorationRole && !node->IsPlaceholder()) {
    return QApplication::style()->standardIcon(node->Parent() == nullptr ? QStyle::SP_DriveNetIcon
                                                                         : QStyle::SP_DirIcon);
  }
  return {};
}

void CBrowseTreeModel::OnChildrenAboutToBeRemoved(const CBrowseNode* parent, int first, int last) {
  beginRemoveRows(IndexOf(parent), first, last);
}

void CBrowseTreeModel::OnChildrenRemoved(const CBrowseNode*) {
  endRemoveRows();
}

void CBrowseTreeModel::OnChildrenAboutToBeAdded(const CBrowseNode* parent, int first, int last) {
  beginInsertRows(IndexOf(parent), first, last);
}

void CBrowseTreeModel::OnChildrenAdded(const CBrowseNode*) {
  endInsertRows();
}

// ---- Texts ----

CTextListModel::CTextListModel(const std::vector<std::string>& texts, QString header,
                               QObject* parent)
    : QAbstractListModel(parent), m_texts(texts), m_sHeader(std::move(header)) {}

int CTextListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_texts.size());
}

QVariant CTextListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
    return {};
  return QString::fromStdString(m_texts[static_cast<size_t>(index.row())]);
}

QVariant CTextListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section == 0)
    return m_sHeader;
  return {};
}

// ---- Item list ----

CItemRowsModel::CItemRowsModel(const CAddItemSession& session, QObject* parent)
    : QAbstractTableModel(parent), m_session(session) {}

int CItemRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_session.RowCount();
}

int CItemRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 3;
}

QVariant CItemRowsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
    return {};
  const AddItemRow& row = m_session.Rows()[static_cast<size_t>(index.row())];
  switch (index.column()) {
    case 0:
      return QString::fromStdString(row.m_sQualifiedId);
    case 1:
      return QString::fromStdString(row.m_sShortId);
    case 2:
      return QString::fromStdString(row.m_sDataType);
    default:
      return {};
  }
}

QVariant CItemRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 && section < 3)
    return QString(kRowColumns[section]);
  return {};
}
