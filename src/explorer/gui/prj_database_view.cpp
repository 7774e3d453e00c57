#include "explorer/gui/prj_database_view.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr char kTitle[] = "Velmora Projects";
constexpr char kDescription[] =
    "The acquisitions recorded in the Velmora database. Select one to view, chart or export "
    "its data, or delete it.";
constexpr char kSortBy[] = "Sort by:";
constexpr const char* kSortChoices[] = {"Project Id", "OPC Server Id", "OPC Server Host",
                                        "Acquisition Start", "Acquisition Count"};
constexpr char kNoSelection[] = "No project selected.";
constexpr char kSelected[] = "Selected project: %1";
}  // namespace

CPrjDatabaseView::CPrjDatabaseView(QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_pSort(new QComboBox(this)),
      m_pCatalogue(new QTableView(this)),
      m_pSelection(new QLabel(kNoSelection, this)) {
  for (const char* choice : kSortChoices)
    m_pSort->addItem(choice);
  auto* sortRow = new QHBoxLayout;
  sortRow->addWidget(new QLabel(kSortBy, this));
  sortRow->addWidget(m_pSort);
  sortRow->addStretch(1);
  sortRow->addWidget(m_pSelection);
  m_pCatalogue->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pCatalogue->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pCatalogue->horizontalHeader()->setStretchLastSection(true);
  ContentLayout()->addLayout(sortRow);
  ContentLayout()->addWidget(m_pCatalogue, 1);
}

void CPrjDatabaseView::SetSelectedAcquisitionId(int acquisitionId) {
  m_nSelectedAcquisitionId = acquisitionId;
  m_pSelection->setText(acquisitionId == kNoAcquisition ? QString(kNoSelection)
                                                        : QString(kSelected).arg(acquisitionId));
}
