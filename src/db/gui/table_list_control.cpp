#include "db/gui/table_list_control.h"

#include <QHeaderView>

namespace {

Qt::Alignment ToQt(ListAlign align) {
  switch (align) {
    case ListAlign::kRight:
      return Qt::AlignRight | Qt::AlignVCenter;
    case ListAlign::kCentre:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case ListAlign::kLeft:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

void CTableListControl::Clear() {
  m_model.clear();  // rows, columns and header items
}

int CTableListControl::AddColumn(const std::string& title, int width, ListAlign align) {
  const int column = m_model.columnCount();
  m_model.insertColumns(column, 1);
  auto* header = new QStandardItem(QString::fromStdString(title));
  header->setTextAlignment(ToQt(align));
  m_model.setHorizontalHeaderItem(column, header);
  if (m_pView != nullptr)
    m_pView->setColumnWidth(column, width);
  return column;
}

QStandardItem* CTableListControl::NewItem(const std::string& text, int column) const {
  auto* item = new QStandardItem(QString::fromStdString(text));
  item->setEditable(false);
  if (const QStandardItem* header = m_model.horizontalHeaderItem(column))
    item->setTextAlignment(header->textAlignment());
  return item;
}

int CTableListControl::AddRow(const std::string& firstCell, int64_t itemData) {
  const int row = m_model.rowCount();
  QStandardItem* item = NewItem(firstCell, 0);
  item->setData(QVariant::fromValue<qint64>(itemData), kItemDataRole);
  m_model.appendRow(item);
  return row;
}

void CTableListControl::SetCell(int row, int column, const std::string& text) {
  if (row < 0 || row >= m_model.rowCount() || column < 0)
    return;
  m_model.setItem(row, column, NewItem(text, column));
}

void CTableListControl::FitColumns() {
  if (m_pView == nullptr)
    return;
  // Content and header both count: the header's own size hint is part of the fit.
  m_pView->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  m_pView->resizeColumnsToContents();
}

int64_t CTableListControl::ItemData(const QStandardItemModel& model, int row) {
  const QStandardItem* item = model.item(row, 0);
  return item != nullptr ? item->data(kItemDataRole).toLongLong() : 0;
}
