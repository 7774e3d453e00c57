#include "explorer/gui/loaded_table_model.h"

#include <QBrush>

#include "ui/colour_ref.h"

void CLoadedTableModel::EndReset() {
  m_recording.TakeArrivedPages();
  m_nRows = m_recording.RowCount();
  m_nColumns = m_recording.ColumnCount();
  endResetModel();
}

int CLoadedTableModel::SyncRows() {
  // The count starts as an upper bound and is made exact while the first rows are shown.
  const int rows = m_recording.RowCount();
  if (rows < m_nRows) {
    beginRemoveRows(QModelIndex(), rows, m_nRows - 1);
    m_nRows = rows;
    endRemoveRows();
  } else if (rows > m_nRows) {
    beginInsertRows(QModelIndex(), m_nRows, rows - 1);
    m_nRows = rows;
    endInsertRows();
  }
  for (const int page : m_recording.TakeArrivedPages()) {
    const int first = page * CRecordingPages::kPageRows;
    const int last = std::min(first + CRecordingPages::kPageRows, m_nRows) - 1;
    if (first > last || m_nColumns == 0)
      continue;
    emit dataChanged(index(first, 0), index(last, m_nColumns - 1));
    emit headerDataChanged(Qt::Vertical, first, last);
  }
  return m_nRows;
}

CRecordingPages::Page CLoadedTableModel::PageOf(int row, bool request, int& rowInPage) const {
  rowInPage = row % CRecordingPages::kPageRows;
  return m_recording.CachedPage(row / CRecordingPages::kPageRows, request);
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
  int row = 0;
  const CRecordingPages::Page page = PageOf(index.row(), true, row);
  if (page == nullptr)
    return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();  // until it is read
  const CLoadedTable& table = *page;
  if (role == Qt::DisplayRole) {
    const std::string_view text = table.Cell(row, index.column());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  // A row whose values could not be read: every cell, the time too, in the bad-quality
  // colour, and the reason beside it.
  if (table.IsDamaged(row)) {
    if (role == Qt::ForegroundRole)
      return QBrush(ColourFromColorRef(m_colours.badQuality));
    if (role == Qt::ToolTipRole)
      return QString(kDamagedRowText);
    return {};
  }
  if (role == Qt::ForegroundRole && index.column() > 0)
    return QBrush(ColourFromColorRef(CellColour(table.Status(row, index.column()), m_colours)));
  return {};
}

QVariant CLoadedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  bool damaged = false;
  if (orientation == Qt::Vertical && section >= 0 && section < m_nRows) {
    int row = 0;
    const CRecordingPages::Page page = PageOf(section, false, row);
    damaged = page != nullptr && page->IsDamaged(row);
  }
  if (role == Qt::ToolTipRole && orientation == Qt::Vertical && damaged)
    return QString(kDamagedRowText);
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Vertical)
    return damaged ? QString("%1 %2").arg(section + 1).arg(kDamagedRowMark) : QVariant(section + 1);
  if (section < 0 || section >= m_nColumns)
    return {};
  return QString::fromStdString(m_recording.ColumnTitle(section));
}
