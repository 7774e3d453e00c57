#include "explorer/gui/loaded_table_model.h"

#include <QBrush>

#include "ui/colour_ref.h"

void CLoadedTableModel::EndReset() {
  m_nRows = 0;
  m_nColumns = m_table.ColumnCount();
  endResetModel();
}

int CLoadedTableModel::SyncRows() {
  const int rows = m_table.RowCount();
  if (rows > m_nRows) {
    beginInsertRows(QModelIndex(), m_nRows, rows - 1);
    m_nRows = rows;
    endInsertRows();
  }
  return m_nRows;
}

int CLoadedTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_nRows;
}

int CLoadedTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_nColumns;
}

QVariant CLoadedTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_nRows || index.column() >= m_nColumns)
    return {};
  if (role == Qt::DisplayRole) {
    const std::string_view text = m_table.Cell(index.row(), index.column());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  // A row whose values could not be read: every cell, the time too, in the bad-quality
  // colour, and the reason beside it.
  if (m_table.IsDamaged(index.row())) {
    if (role == Qt::ForegroundRole)
      return QBrush(ColourFromColorRef(m_colours.badQuality));
    if (role == Qt::ToolTipRole)
      return QString(kDamagedRowText);
    return {};
  }
  if (role == Qt::ForegroundRole && index.column() > 0)
    return QBrush(
        ColourFromColorRef(CellColour(m_table.Status(index.row(), index.column()), m_colours)));
  return {};
}

QVariant CLoadedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::ToolTipRole && orientation == Qt::Vertical && m_table.IsDamaged(section))
    return QString(kDamagedRowText);
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Vertical)
    return m_table.IsDamaged(section) ? QString("%1 %2").arg(section + 1).arg(kDamagedRowMark)
                                      : QVariant(section + 1);
  if (section < 0 || section >= m_nColumns)
    return {};
  return QString::fromStdString(m_table.ColumnTitle(section));
}
