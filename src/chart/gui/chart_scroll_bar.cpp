#include "chart/gui/chart_scroll_bar.h"

#include <cmath>

#include "chart/gui/chart_ctrl.h"

namespace {

constexpr int kStepsPerPage = 10;

}  // namespace

CChartScrollBar::CChartScrollBar(CChartCtrl& chart, ChartAxisSlot slot, QWidget* parent)
    : QScrollBar(slot == ChartAxisSlot::kBottom || slot == ChartAxisSlot::kTop ? Qt::Horizontal
                                                                               : Qt::Vertical,
                 parent),
      m_chart(chart),
      m_eSlot(slot) {
  setPageStep(kStepsPerPage);
  setSingleStep(1);
  connect(this, &QScrollBar::valueChanged, this, &CChartScrollBar::OnValueChanged);
  connect(&m_chart, &CChartCtrl::rangeChanged, this, &CChartScrollBar::Refresh);
}

CChartAxis* CChartScrollBar::Axis() const {
  return m_chart.Model().Axis(m_eSlot);
}

void CChartScrollBar::SetFullRange(double minimum, double maximum) {
  m_dFullMin = minimum;
  m_dFullMax = maximum;
  Refresh();
}

void CChartScrollBar::Refresh() {
  const CChartAxis* axis = Axis();
  if (axis == nullptr)
    return;
  const double step = (axis->Max() - axis->Min()) / kStepsPerPage;
  const int steps = axis->ScrollStepCount(m_dFullMin, m_dFullMax);
  m_bRefreshing = true;
  setRange(0, std::max(0, steps - kStepsPerPage));
  m_nShownStep = step > 0.0 ? static_cast<int>(std::lround((axis->Min() - m_dFullMin) / step)) : 0;
  setValue(m_nShownStep);
  m_bRefreshing = false;
}

void CChartScrollBar::OnValueChanged(int value) {
  CChartAxis* axis = Axis();
  if (m_bRefreshing || axis == nullptr || value == m_nShownStep)
    return;
  axis->ScrollBySteps(value - m_nShownStep);
  m_nShownStep = value;
  m_chart.update();
}
