#pragma once
// Table model over RealTimeDataList: seven text columns, one row per item.
#include <QAbstractTableModel>

#include "acquisition/real_time_data_list.h"

class CRealTimeDataModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit CRealTimeDataModel(const RealTimeDataList& list, QObject* parent = nullptr)
      : QAbstractTableModel(parent), m_list(list) {}

  // After the rows were rebuilt.
  void ResetRows();
  // After the values of rows [first, last] changed.
  void ValuesChanged(int first, int last);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const RealTimeDataList& m_list;
  int m_nRows = 0;
};
