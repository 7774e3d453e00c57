#pragma once
// CPrjExportView: exports the data of one recorded acquisition ("Export Project Data") to
// a CSV file or the clipboard.
#include "app/gui/velmora_view.h"
#include "app/navigation.h"

class QLabel;
class QLineEdit;

class CPrjExportView : public CVelmoraView {
  Q_OBJECT
 public:
  explicit CPrjExportView(QWidget* parent = nullptr);
  void SetAcquisitionId(int acquisitionId);
  int AcquisitionId() const { return m_nAcquisitionId; }

 private:
  int m_nAcquisitionId = kNoAcquisition;
  QLabel* m_pProject;
  QLineEdit* m_pFile;
};
