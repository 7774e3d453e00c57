#pragma once
// CPrjDataView: the data of one recorded acquisition ("Project OPC Data"), loaded from the
// database into the same table layout as the live acquisition.
#include "app/gui/velmora_view.h"
#include "app/navigation.h"

class QLabel;
class QTableView;

class CPrjDataView : public CVelmoraView {
  Q_OBJECT
 public:
  explicit CPrjDataView(QWidget* parent = nullptr);
  void SetAcquisitionId(int acquisitionId);
  int AcquisitionId() const { return m_nAcquisitionId; }

  QTableView* DataTable() const { return m_pTable; }

 private:
  int m_nAcquisitionId = kNoAcquisition;
  QLabel* m_pProject;
  QTableView* m_pTable;
};
