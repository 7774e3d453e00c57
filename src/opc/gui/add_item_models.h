#pragma once
// The three lists of the add-item dialog as Qt item models over CAddItemSession: the
// browse tree, the leaf list ("Tag") and the item list ("Qualified Tag", "Short Tag",
// "Data Type"). The session owns the data; the models only show it and follow its
// change notices, so a list of tens of thousands of leaves costs no widget items.
// Thread rule: GUI thread.
#include <QAbstractItemModel>
#include <QAbstractListModel>
#include <QAbstractTableModel>

#include "opc/add_item_session.h"

class CBrowseTreeModel : public QAbstractItemModel, public IBrowseTreeListener {
  Q_OBJECT

 public:
  explicit CBrowseTreeModel(const CAddItemSession& session, QObject* parent = nullptr);

  const CBrowseNode* Node(const QModelIndex& index) const;
  QModelIndex IndexOf(const CBrowseNode* node) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  void OnChildrenAboutToBeRemoved(const CBrowseNode* parent, int first, int last) override;
  void OnChildrenRemoved(const CBrowseNode* parent) override;
  void OnChildrenAboutToBeAdded(const CBrowseNode* parent, int first, int last) override;
  void OnChildrenAdded(const CBrowseNode* parent) override;

  const CAddItemSession& m_session;
};

class CLeafListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit CLeafListModel(const CAddItemSession& session, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  void BeginChange() { beginResetModel(); }
  void EndChange() { endResetModel(); }

 private:
  const CAddItemSession& m_session;
};

// The fully qualified ids a search found ("Qualified Tag").
class CFoundIdsModel : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;
  void SetIds(std::vector<std::string> ids);
  const std::vector<std::string>& Ids() const { return m_ids; }
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::vector<std::string> m_ids;
};

class CItemRowsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CItemRowsModel(const CAddItemSession& session, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  void BeginChange() { beginResetModel(); }
  void EndChange() { endResetModel(); }

 private:
  const CAddItemSession& m_session;
};
