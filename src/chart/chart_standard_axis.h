#pragma once
// CChartStandardAxis: an axis of numbers. The tick increment is 1, 2 or 5 times a power
// of ten, chosen so that the ticks stand at least 30 pixels apart (20 on a vertical
// axis); the labels carry as many decimals as the increment needs.
#include "chart/chart_axis.h"

class CChartStandardAxis : public CChartAxis {
 public:
  void RefreshTicks() override;
  double FirstTick() const override;
  double NextTick(double tick) const override;
  std::string TickLabel(double tick) const override;

  double TickIncrement() const { return m_dIncrement; }
  int Decimals() const { return m_nDecimals; }

 private:
  double m_dIncrement = 0.0;
  int m_nDecimals = 0;
};
