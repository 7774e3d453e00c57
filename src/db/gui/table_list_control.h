#pragma once
// CTableListControl: the list-control interface over a QStandardItemModel, for the small
// lists the database fills (projects, groups, items, tables). Large data tables use
// their own QAbstractTableModel instead. The key of a keyed row is kept as
// kItemDataRole on the row's first item. Thread rule: GUI thread.
#include <QStandardItemModel>
#include <QTableView>

#include "db/list_control.h"

class CTableListControl : public IListControl {
 public:
  static constexpr int kItemDataRole = Qt::UserRole + 1;

  // view (optional) receives the column widths; it may show the model or a proxy of it.
  explicit CTableListControl(QStandardItemModel& model, QTableView* view = nullptr)
      : m_model(model), m_pView(view) {}

  void Clear() override;
  int AddColumn(const std::string& title, int width, ListAlign align = ListAlign::kLeft) override;
  int AddRow(const std::string& firstCell, int64_t itemData = 0) override;
  void SetCell(int row, int column, const std::string& text) override;
  void FitColumns() override;

  // The item data of a row (0 when the row does not exist).
  static int64_t ItemData(const QStandardItemModel& model, int row);

 private:
  QStandardItem* NewItem(const std::string& text, int column) const;

  QStandardItemModel& m_model;
  QTableView* m_pView;
};
