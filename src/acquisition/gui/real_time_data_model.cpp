#include "acquisition/gui/real_time_data_model.h"

void CRealTimeDataModel::ResetRows() {
  beginResetModel();
  m_nRows = m_list.Count();
  endResetModel();
}

void CRealTimeDataModel::ValuesChanged(int first, int last) {
  if (m_nRows != m_list.Count()) {
    ResetRows();
    return;
  }
  if (first < 0 || last < first || first >= m_nRows)
    return;
  emit dataChanged(index(first, RealTimeDataList::kAcquisitionTime),
                   index(std::min(last, m_nRows - 1), RealTimeDataList::kQuality));
}

int CRealTimeDataModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_nRows;
}

int CRealTimeDataModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RealTimeDataList::kColumnCount;
}

QVariant CRealTimeDataModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_nRows)
    return {};
  return QString::fromStdString(m_list.At(index.row())[static_cast<size_t>(index.column())]);
}

QVariant CRealTimeDataModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Vertical)
    return section + 1;
  return QString::fromLatin1(RealTimeDataList::Heading(section));
}
