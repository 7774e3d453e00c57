#pragma once
// CPrjDatabaseView: the catalogue of recorded acquisitions ("Velmora Projects"). The
// acquisition selected here is the one the data, export and project chart views work on.
#include "app/gui/velmora_view.h"
#include "app/navigation.h"

class QComboBox;
class QLabel;
class QTableView;

class CPrjDatabaseView : public CVelmoraView {
  Q_OBJECT
 public:
  explicit CPrjDatabaseView(QWidget* parent = nullptr);
  // -1 while no acquisition is selected.
  int SelectedAcquisitionId() const { return m_nSelectedAcquisitionId; }
  void SetSelectedAcquisitionId(int acquisitionId);

  QTableView* Catalogue() const { return m_pCatalogue; }

 private:
  int m_nSelectedAcquisitionId = kNoAcquisition;
  QComboBox* m_pSort;
  QTableView* m_pCatalogue;
  QLabel* m_pSelection;
};
