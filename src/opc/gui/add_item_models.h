#pragma once
// The three lists of the add-item dialog as Qt item models over CAddItemSession: the
// browse tree, the leaf list ("Tag") and the item list ("Qualified Tag", "Short Tag",
// "Data Type"). The session owns the data; the models only show it and follow its
// change notices, so a list of tens of thousands of leaves costs no widget items.
// Thread rule: GUI thread.
#include <QAbstractItemModel>
#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QString>
#include <string>
#include <vector>

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

// A list of texts kept elsewhere (the leaves "Tag", the found ids "Qualified Tag"); the
// owner brackets every change of the texts with BeginChange and EndChange.
class CTextListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  CTextListModel(const std::vector<std::string>& texts, QString header, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  void BeginChange() { beginResetModel(); }
  void EndChange() { endResetModel(); }

 private:
  const std::vector<std::string>& m_texts;
  QString m_sHeader;
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
