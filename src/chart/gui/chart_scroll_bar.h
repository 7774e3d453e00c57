#pragma once
// CChartScrollBar: the scroll bar of one chart axis. The full extent is cut into steps of
// a tenth of the visible range; the page is the visible range (ten steps); moving the bar
// shifts both bounds of the axis by whole steps and redraws the chart.
// Thread rule: GUI thread.
#include <QScrollBar>

#include "chart/chart_axis.h"

class CChartCtrl;

class CChartScrollBar : public QScrollBar {
  Q_OBJECT

 public:
  CChartScrollBar(CChartCtrl& chart, ChartAxisSlot slot, QWidget* parent = nullptr);

  // The extent the bar covers (the whole acquisition, say), in the axis's values.
  void SetFullRange(double minimum, double maximum);
  // Follows the axis after a zoom or pan made elsewhere.
  void Refresh();

 private:
  void OnValueChanged(int value);
  CChartAxis* Axis() const;

  CChartCtrl& m_chart;
  ChartAxisSlot m_eSlot;
  double m_dFullMin = 0.0;
  double m_dFullMax = 0.0;
  int m_nShownStep = 0;
  bool m_bRefreshing = false;
};
