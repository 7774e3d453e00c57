#include "db/gui/project_table.h"

#include <QHeaderView>

void SetUpProjectTable(QTableView& view, QStandardItemModel& model) {
  view.setModel(&model);
  view.setSelectionBehavior(QAbstractItemView::SelectRows);
  view.setSelectionMode(QAbstractItemView::SingleSelection);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setShowGrid(true);
  view.verticalHeader()->setVisible(false);
  view.horizontalHeader()->setStretchLastSection(true);
}
