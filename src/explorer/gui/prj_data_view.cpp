#include "explorer/gui/prj_data_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr char kTitle[] = "Project OPC Data";
constexpr char kDescription[] =
    "The values of the recorded acquisition selected in Velmora Projects, read back from the "
    "database.";
constexpr char kNoProject[] = "No project selected.";
constexpr char kProject[] = "Project %1";
}  // namespace

CPrjDataView::CPrjDataView(QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_pProject(new QLabel(kNoProject, this)),
      m_pTable(new QTableView(this)) {
  m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pTable->horizontalHeader()->setStretchLastSection(true);
  ContentLayout()->addWidget(m_pProject);
  ContentLayout()->addWidget(m_pTable, 1);
}

void CPrjDataView::SetAcquisitionId(int acquisitionId) {
  m_nAcquisitionId = acquisitionId;
  m_pProject->setText(acquisitionId == kNoAcquisition ? QString(kNoProject)
                                                      : QString(kProject).arg(acquisitionId));
}
