#include "chart/chart_axis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/chart_serie.h"

namespace {

// A range is drawn with at most this many ticks, whatever the increment says.
constexpr size_t kMaxTicks = 5000;

}  // namespace

void CChartAxis::SetMinMax(double minimum, double maximum) {
  m_dMin = std::min(minimum, maximum);
  m_dMax = std::max(minimum, maximum);
}

void CChartAxis::SetAutomatic(bool automatic) {
  m_bAutomatic = automatic;
  if (automatic)
    RefreshAutomaticRange();
}

int CChartAxis::PixelLength() const {
  return std::abs(m_nPixelEnd - m_nPixelStart);
}

int CChartAxis::ValueToScreen(double value) const {
  const int length = PixelLength();
  if (m_dMin == m_dMax)
    return m_bHorizontal ? m_nPixelStart + length / 2 : m_nPixelStart - length / 2;
  // floor without the library call: a chart maps hundreds of thousands of points a redraw.
  double scaled = length * (value - m_dMin) / (m_dMax - m_dMin);
  // A value far outside the range (or not a number) still maps to a whole pixel: held a
  // million pixels out, where the clip hides it, instead of overflowing the conversion.
  constexpr double kFarOut = 1e6;
  scaled = !(scaled >= -kFarOut) ? -kFarOut : scaled > kFarOut ? kFarOut : scaled;
  int offset = static_cast<int>(scaled);
  if (offset > scaled)
    --offset;
  if (m_bHorizontal)
    return m_bInverted ? m_nPixelEnd - offset : m_nPixelStart + offset;
  // Pixels grow downwards: a vertical axis starts at its bottom pixel.
  return m_bInverted ? m_nPixelEnd + offset : m_nPixelStart - offset;
}

double CChartAxis::ScreenToValue(int pixel) const {
  const int length = PixelLength();
  if (m_dMin == m_dMax || length == 0)
    return m_dMin;
  int distance;
  if (m_bHorizontal)
    distance = m_bInverted ? m_nPixelEnd - pixel : pixel - m_nPixelStart;
  else
    distance = m_bInverted ? pixel - m_nPixelEnd : m_nPixelStart - pixel;
  return m_dMin + static_cast<double>(distance) / length * (m_dMax - m_dMin);
}

void CChartAxis::BindSerie(const CChartSerie* serie) {
  if (std::find(m_series.begin(), m_series.end(), serie) == m_series.end())
    m_series.push_back(serie);
}

void CChartAxis::UnbindSerie(const CChartSerie* serie) {
  m_series.erase(std::remove(m_series.begin(), m_series.end(), serie), m_series.end());
}

bool CChartAxis::RefreshAutomaticRange() {
  if (!m_bAutomatic)
    return false;
  bool found = false;
  double low = 0.0;
  double high = 0.0;
  for (const CChartSerie* serie : m_series) {
    double serieLow = 0.0;
    double serieHigh = 0.0;
    const bool has =
        m_bHorizontal ? serie->XExtent(serieLow, serieHigh) : serie->YExtent(serieLow, serieHigh);
    if (!has)
      continue;
    low = found ? std::min(low, serieLow) : serieLow;
    high = found ? std::max(high, serieHigh) : serieHigh;
    found = true;
  }
  if (!found || (low == m_dMin && high == m_dMax))
    return false;
  m_dMin = low;
  m_dMax = high;
  return true;
}

int CChartAxis::TickCountFor(int pixelsPerTick) const {
  return std::max(1, PixelLength() / pixelsPerTick);
}

std::vector<double> CChartAxis::Ticks() const {
  std::vector<double> ticks;
  const double tolerance = (m_dMax - m_dMin) * 1e-9;
  double tick = FirstTick();
  while (tick <= m_dMax + tolerance && ticks.size() < kMaxTicks) {
    if (tick >= m_dMin - tolerance)
      ticks.push_back(tick);
    const double next = NextTick(tick);
    if (!(next > tick))
      break;  // a zero increment: one tick only
    tick = next;
  }
  return ticks;
}

double CChartAxis::LabelValue(double tick) const {
  return m_bDiscrete ? (tick + NextTick(tick)) / 2.0 : tick;
}

int CChartAxis::ScrollStepCount(double fullMin, double fullMax) const {
  const double step = (m_dMax - m_dMin) / 10.0;
  if (step <= 0.0)
    return 0;
  return static_cast<int>(std::ceil((fullMax - fullMin) / step));
}

void CChartAxis::ScrollBySteps(int steps) {
  const double shift = (m_dMax - m_dMin) / 10.0 * steps;
  m_dMin += shift;
  m_dMax += shift;
}
