#include "explorer/gui/prj_export_view.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr char kTitle[] = "Export Project Data";
constexpr char kDescription[] =
    "Write the data of the recorded acquisition selected in Velmora Projects to a CSV file laid "
    "out for spreadsheets, or copy it to the clipboard.";
constexpr char kProjectLabel[] = "Project:";
constexpr char kFileLabel[] = "Export file:";
constexpr char kNoProject[] = "none selected";
}  // namespace

CPrjExportView::CPrjExportView(QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_pProject(new QLabel(kNoProject, this)),
      m_pFile(new QLineEdit(this)) {
  m_pFile->setReadOnly(true);
  auto* form = new QFormLayout;
  form->addRow(kProjectLabel, m_pProject);
  form->addRow(kFileLabel, m_pFile);
  ContentLayout()->addLayout(form);
  ContentLayout()->addStretch(1);
}

void CPrjExportView::SetAcquisitionId(int acquisitionId) {
  m_nAcquisitionId = acquisitionId;
  m_pProject->setText(acquisitionId == kNoAcquisition ? QString(kNoProject)
                                                      : QString::number(acquisitionId));
}
