#include "chart/chart_refresh_pacer.h"

#include "chart/chart_view_rules.h"

CChartRefreshPacer::Decision CChartRefreshPacer::OnCycle(uint32_t basePeriodMs) {
  Decision decision;
  ++m_nCycles;
  if (m_nLastRedrawMs >= 0) {
    const int divider = ChartRefreshDivider(basePeriodMs, m_nLastRedrawMs);
    if (divider == 0)
      return decision;  // too short a period to tell: no redraw
    if (divider > m_nDivider) {
      m_nDivider = divider;
      decision.dividerRaised = true;
    }
  }
  if (m_nCycles < m_nDivider)
    return decision;
  m_nCycles = 0;
  decision.redraw = true;
  return decision;
}
