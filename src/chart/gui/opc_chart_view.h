#pragma once
// COPCChartView: the chart view, in live mode (the running acquisition, "OPC Data
// Visualization") or project mode (a recorded acquisition, "Project Data Visualization").
#include "app/gui/velmora_view.h"
#include "app/navigation.h"

class QFrame;
class QLabel;

class COPCChartView : public CVelmoraView {
  Q_OBJECT
 public:
  explicit COPCChartView(ChartMode mode, QWidget* parent = nullptr);
  void SetMode(ChartMode mode);
  ChartMode Mode() const { return m_mode; }
  // Project mode: the recorded acquisition to draw.
  void SetAcquisitionId(int acquisitionId);
  int AcquisitionId() const { return m_nAcquisitionId; }
  void ResetView() override;

 private:
  void UpdateTexts();

  ChartMode m_mode;
  int m_nAcquisitionId = kNoAcquisition;
  QLabel* m_pSource;
  QFrame* m_pChartArea;
};
