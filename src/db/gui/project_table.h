#pragma once
// The look shared by the project dialogs' lists: read-only, full-row single selection,
// grid lines.
#include <QStandardItemModel>
#include <QTableView>

void SetUpProjectTable(QTableView& view, QStandardItemModel& model);
