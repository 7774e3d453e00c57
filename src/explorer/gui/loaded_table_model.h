#pragma once
// CLoadedTableModel: a recorded acquisition read in pages (CRecordingPages) shown in a
// QTableView. Every row is there from the start; a row whose page is not cached yet shows
// empty cells and asks the worker for its page, and SyncRows (called by a short timer)
// repaints the rows of the pages read since the last call. Cell texts are made in data()
// only for the rows on screen. Colours come from the status marks; a row whose values
// could not be read is shown in the bad-quality colour with a mark by its number.
// Thread rule: GUI thread; the recording's worker reads pages meanwhile.
#include <QAbstractTableModel>

#include "acquisition/cell_colour.h"
#include "explorer/recording_pages.h"

inline constexpr char kDamagedRowMark[] = "(not read)";
inline constexpr char kDamagedRowText[] = "The values of this data set could not be read";

class CLoadedTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit CLoadedTableModel(const CRecordingPages& recording, QObject* parent = nullptr)
      : QAbstractTableModel(parent), m_recording(recording) {}

  void SetColours(const DataColours& colours) { m_colours = colours; }
  // Before the table is reset (columns change, rows go).
  void BeginReset() { beginResetModel(); }
  // After the reset: the columns and the rows are taken.
  void EndReset();
  // Takes the recording's row count once settled and repaints the rows of the pages read
  // since the last call; returns the rows shown.
  int SyncRows();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  // The row's page if cached (asked for when request), and the row's index in it.
  CRecordingPages::Page PageOf(int row, bool request, int& rowInPage) const;

  const CRecordingPages& m_recording;
  DataColours m_colours;
  int m_nRows = 0;
  int m_nColumns = 0;
};
