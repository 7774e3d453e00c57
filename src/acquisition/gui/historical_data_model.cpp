#include "acquisition/gui/historical_data_model.h"

#include <QBrush>
#include <QColor>

#include "ui/colour_ref.h"

namespace {
constexpr char kTimeHeading[] = "OPC Data Acquisition Time  ";
}  // namespace

CHistoricalDataModel::CHistoricalDataModel(const HistoricalDataList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {}

void CHistoricalDataModel::SetHeadings(const QStringList& itemHeadings) {
  if (itemHeadings.size() == m_headings.size()) {
    // Same columns: only the texts change, the rows and the scroll position stay.
    m_headings = itemHeadings;
    if (!m_headings.isEmpty())
      emit headerDataChanged(Qt::Horizontal, 1, static_cast<int>(m_headings.size()));
    return;
  }
  beginResetModel();
  m_headings = itemHeadings;
  m_nRows = m_list.Count();
  endResetModel();
}

void CHistoricalDataModel::SetColours(const DataColours& colours) {
  m_colours = colours;
  if (m_nRows > 0) {
    emit dataChanged(index(0, 1), index(m_nRows - 1, columnCount() - 1), {Qt::ForegroundRole});
  }
}

void CHistoricalDataModel::Refresh(int firstChanged, int lastChanged) {
  const int count = m_list.Count();
  if (count < m_nRows) {
    ResetRows();
    return;
  }
  if (firstChanged >= 0 && lastChanged >= firstChanged && firstChanged < m_nRows) {
    emit dataChanged(index(firstChanged, 0),
                     index(std::min(lastChanged, m_nRows - 1), columnCount() - 1));
  }
  if (count > m_nRows) {
    beginInsertRows(QModelIndex(), m_nRows, count - 1);
    m_nRows = count;
    endInsertRows();
  }
}

void CHistoricalDataModel::ResetRows() {
  beginResetModel();
  m_nRows = m_list.Count();
  endResetModel();
}

int CHistoricalDataModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_nRows;
}

int CHistoricalDataModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_headings.size()) + 1;
}

QVariant CHistoricalDataModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_nRows)
    return {};
  if (role != Qt::DisplayRole && role != Qt::ForegroundRole)
    return {};
  DataSetPtr row = m_list.Row(index.row());
  if (!row)
    return {};
  if (role == Qt::DisplayRole) {
    const std::string_view text = index.column() == 0 ? row->TimeText() : row->Cell(index.column());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  if (index.column() == 0)
    return {};
  return QBrush(ColourFromColorRef(CellColour(row->Status(index.column()), m_colours)));
}

QVariant CHistoricalDataModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Vertical)
    return section + 1;
  if (section == 0)
    return QString::fromLatin1(kTimeHeading);
  return section - 1 < m_headings.size() ? m_headings[section - 1] : QVariant();
}
