#include "explorer/gui/preview_lines_model.h"

#include "explorer/export_file.h"

void CPreviewLinesModel::SetLines(std::unique_ptr<CPreviewLines> lines) {
  beginResetModel();
  m_pLines = std::move(lines);
  endResetModel();
}

int CPreviewLinesModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid())
    return 0;
  return m_pLines != nullptr ? m_pLines->LineCount() : 1;
}

QVariant CPreviewLinesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole)
    return {};
  if (m_pLines == nullptr)
    return QString(kNothingToShow);
  return QString::fromStdString(m_pLines->Line(index.row()));
}
