#pragma once
// COPCDataView: the acquisition view ("Data Acquisition and Storage"). It will run the
// acquisition cycles, show the live value table and record each data set.
#include "app/gui/velmora_view.h"

class QLabel;
class QTableView;

class COPCDataView : public CVelmoraView {
  Q_OBJECT
 public:
  explicit COPCDataView(QWidget* parent = nullptr);
  // Close-project sequence: the table and the acquisition state are cleared.
  void ResetView() override;

  QTableView* DataTable() const { return m_pTable; }

 private:
  QLabel* m_pState;
  QTableView* m_pTable;
};
