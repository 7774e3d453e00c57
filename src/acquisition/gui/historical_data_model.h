#pragma once
// Table model over HistoricalDataList: column 0 the time, then one column per item, each
// cell coloured by its status bits. Rows are appended in batches: the view calls
// Refresh() once per acquisition cycle and the model announces what is new.
// Rows in the list's memory are shown at once; older rows (read back from the recording)
// are read a page at a time by a worker and shown when their page arrives, so scrolling
// never waits on the database. Pages carry the list's generation: a page asked for before
// a Clear, a Start or a reset is dropped when it arrives.
#include <QAbstractTableModel>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <memory>
#include <vector>

#include "acquisition/cell_colour.h"
#include "acquisition/historical_data_list.h"
#include "acquisition/history_page_loader.h"

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
  // Pages of older rows asked for and not shown yet (tests wait for none).
  int PendingPages() const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // Pages of older rows shown from here.
  static constexpr size_t kCachedPages = 16;

  // The row: from the list's memory, else from a loaded page (null until it arrives).
  DataSetPtr RowAt(int row) const;
  // Takes the pages the worker read and shows their rows.
  void TakePages();
  // Drops every loaded page and every page asked for.
  void ForgetPages();

  const HistoricalDataList& m_list;
  std::unique_ptr<CHistoryPageLoader> m_pLoader;
  QTimer m_pageTimer;
  uint64_t m_nGeneration = 0;
  mutable std::deque<LoadedHistoryPage> m_pages;  // newest first
  QStringList m_headings;
  DataColours m_colours;
  int m_nRows = 0;
};
