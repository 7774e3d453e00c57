#pragma once
// CPreviewLinesModel: the export preview as a list whose rows are the lines; each line is
// built when the view asks for it, so a long acquisition opens at once.
// Thread rule: GUI thread.
#include <QAbstractListModel>
#include <memory>

#include "explorer/table_text.h"

class CPreviewLinesModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;

  // Shows the lines (null: the one line "There is nothing to show ...").
  void SetLines(std::unique_ptr<CPreviewLines> lines);
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  std::unique_ptr<CPreviewLines> m_pLines;
};
