#pragma once
// CServerSelectionModel: the server selection tree as a Qt item model. The tree tells
// it before and after every change of a node's children; the model turns that into row
// insertions and removals, so a view keeps its expansion and selection elsewhere.
// Thread rule: GUI thread.
#include <QAbstractItemModel>

#include "opc/server_selection_tree.h"

class CServerSelectionModel : public QAbstractItemModel, public IServerTreeListener {
  Q_OBJECT

 public:
  // The node's kind number (0..11) under this role.
  static constexpr int kKindRole = Qt::UserRole + 1;

  explicit CServerSelectionModel(CServerSelectionTree& tree, QObject* parent = nullptr);
  ~CServerSelectionModel() override;

  const CServerNode* Node(const QModelIndex& index) const;
  QModelIndex IndexOf(const CServerNode* node) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 signals:
  void modeChanged(EnumerationMode mode);
  void collapseRequested(const QModelIndex& index);
  void expandRequested(const QModelIndex& index);

 private:
  void BeforeRemoveChildren(const CServerNode& parent, int first, int count) override;
  void AfterRemoveChildren(const CServerNode& parent, int first, int count) override;
  void BeforeAddChildren(const CServerNode& parent, int first, int count) override;
  void AfterAddChildren(const CServerNode& parent, int first, int count) override;
  void ModeChanged(EnumerationMode mode) override;
  void CollapseNode(const CServerNode& node) override;
  void ExpandNode(const CServerNode& node) override;

  CServerSelectionTree& m_tree;
};
