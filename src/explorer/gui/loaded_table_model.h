#pragma once
// CLoadedTableModel: a recorded acquisition's compact table shown in a QTableView. While
// the worker loads, SyncRows (called by a short timer) announces the rows published since
// the last call in one batch, so the view scrolls during the load; cell texts are made in
// data() only for the rows on screen. Colours come from the status marks; a row whose
// values could not be read is shown in the bad-quality colour with a mark by its number.
// Thread rule: GUI thread; the table may be appended to by its worker meanwhile.
#include <QAbstractTableModel>

#include "acquisition/cell_colour.h"
#include "explorer/loaded_table.h"

inline constexpr char kDamagedRowMark[] = "(not read)";
inline constexpr char kDamagedRowText[] = "The values of this data set could not be read";

class CLoadedTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit CLoadedTableModel(const CLoadedTable& table, QObject* parent = nullptr)
      : QAbstractTableModel(parent), m_table(table) {}

  void SetColours(const DataColours& colours) { m_colours = colours; }
  // Before the table is reset (columns change, rows go).
  void BeginReset() { beginResetModel(); }
  // After the reset: the columns are taken, rows are announced by SyncRows.
  void EndReset();
  // Announces the rows published since the last call; returns the rows shown.
  int SyncRows();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  const CLoadedTable& m_table;
  DataColours m_colours;
  int m_nRows = 0;
  int m_nColumns = 0;
};
