#pragma once
// Table model over HistoricalDataList: column 0 the time, then one column per item, each
// cell coloured by its status bits. Rows are appended in batches: the view calls
// Refresh() once per acquisition cycle and the model announces what is new.
#include <QAbstractTableModel>
#include <QStringList>

#include "acquisition/cell_colour.h"
#include "acquisition/historical_data_list.h"

class CHistoricalDataModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit CHistoricalDataModel(const HistoricalDataList& list, QObject* parent = nullptr);

  // Headings of columns 1..N (column 0 is "OPC Data Acquisition Time  "). The same
  // number of headings only renames the columns; another number resets the model.
  void SetHeadings(const QStringList& itemHeadings);
  void SetColours(const DataColours& colours);
  // Announces rows appended since the last call and rows rewritten in [first, last].
  void Refresh(int firstChanged = -1, int lastChanged = -1);
  // Forgets every row (after the list was cleared or reset).
  void ResetRows();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const HistoricalDataList& m_list;
  QStringList m_headings;
  DataColours m_colours;
  int m_nRows = 0;
};
