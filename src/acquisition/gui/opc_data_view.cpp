#include "acquisition/gui/opc_data_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr char kTitle[] = "Data Acquisition and Storage";
constexpr char kDescription[] =
    "Acquire the values of the configured items periodically, watch them in the table below "
    "and record every acquisition in the Velmora database.";
constexpr char kStopped[] = "Data acquisition stopped.";
}  // namespace

COPCDataView::COPCDataView(QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_pState(new QLabel(kStopped, this)),
      m_pTable(new QTableView(this)) {
  m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pTable->horizontalHeader()->setStretchLastSection(true);
  ContentLayout()->addWidget(m_pState);
  ContentLayout()->addWidget(m_pTable, 1);
}

void COPCDataView::ResetView() {
  m_pTable->setModel(nullptr);
  m_pState->setText(kStopped);
}
