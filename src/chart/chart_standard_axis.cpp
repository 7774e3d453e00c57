#include "chart/chart_standard_axis.h"

#include <algorithm>
#include <cmath>

#include "base/number_text.h"

namespace {

constexpr int kHorizontalPixelsPerTick = 30;
constexpr int kVerticalPixelsPerTick = 20;

}  // namespace

void CChartStandardAxis::RefreshTicks() {
  if (Min() == Max()) {
    m_dIncrement = 0.0;
    return;
  }
  const int count =
      TickCountFor(IsHorizontal() ? kHorizontalPixelsPerTick : kVerticalPixelsPerTick);
  const double wanted = (Max() - Min()) / count;
  // The margin keeps an exact power of ten (0.1, 1000) on its own decade.
  const double exponent = std::floor(std::log10(wanted) + 1e-12);
  const double decade = std::pow(10.0, exponent);
  m_nDecimals = exponent < 0 ? static_cast<int>(-exponent) : 0;
  const double tolerance = wanted * 1e-12;
  if (decade >= wanted - tolerance) {
    m_dIncrement = decade;
  } else if (wanted <= 2 * decade + tolerance) {
    m_dIncrement = 2 * decade;
  } else if (wanted <= 5 * decade + tolerance) {
    m_dIncrement = 5 * decade;
  } else {
    m_dIncrement = 10 * decade;
    m_nDecimals = std::max(0, m_nDecimals - 1);
  }
}

double CChartStandardAxis::FirstTick() const {
  if (m_dIncrement == 0.0)
    return Min();
  if (Min() == 0.0)
    return 0.0;
  const double tolerance = m_dIncrement * 1e-9;
  double tick = m_dIncrement * std::trunc(Min() / m_dIncrement);
  while (tick < Min() - tolerance)
    tick += m_dIncrement;
  while (tick - m_dIncrement >= Min() - tolerance)
    tick -= m_dIncrement;
  return tick;
}

double CChartStandardAxis::NextTick(double tick) const {
  return tick + m_dIncrement;
}

std::string CChartStandardAxis::TickLabel(double tick) const {
  // A tick a rounding error away from zero must not read "-0.0".
  const double shown = std::fabs(tick) < m_dIncrement * 1e-9 ? 0.0 : tick;
  return FormatFixed(shown, m_nDecimals);
}
