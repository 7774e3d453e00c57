#include "chart/chart_datetime_axis.h"

#include <cmath>
#include <cstdint>

#include "chart/chart_date.h"

namespace {

constexpr int kHorizontalPixelsPerTick = 60;
constexpr int kVerticalPixelsPerTick = 20;
constexpr double kTickMargin = 1e-10;  // days: a tick exactly on the minimum counts

double UnitDays(ChartTimeUnit unit) {
  switch (unit) {
    case ChartTimeUnit::kSeconds:
      return 1.0 / 86400.0;
    case ChartTimeUnit::kMinutes:
      return 1.0 / 1440.0;
    case ChartTimeUnit::kHours:
      return 1.0 / 24.0;
    default:
      return 1.0;
  }
}

bool IsCalendarUnit(ChartTimeUnit unit) {
  return unit == ChartTimeUnit::kMonths || unit == ChartTimeUnit::kYears;
}

// The steps a tick may take, from the finest to the coarsest below a year.
struct TickStep {
  ChartTimeUnit unit;
  int multiplier;
};
constexpr TickStep kTickSteps[] = {
    {ChartTimeUnit::kSeconds, 1},  {ChartTimeUnit::kSeconds, 2},  {ChartTimeUnit::kSeconds, 5},
    {ChartTimeUnit::kSeconds, 10}, {ChartTimeUnit::kSeconds, 30}, {ChartTimeUnit::kMinutes, 1},
    {ChartTimeUnit::kMinutes, 2},  {ChartTimeUnit::kMinutes, 5},  {ChartTimeUnit::kMinutes, 10},
    {ChartTimeUnit::kMinutes, 30}, {ChartTimeUnit::kHours, 1},    {ChartTimeUnit::kHours, 2},
    {ChartTimeUnit::kHours, 6},    {ChartTimeUnit::kHours, 12},   {ChartTimeUnit::kDays, 1},
    {ChartTimeUnit::kDays, 2},     {ChartTimeUnit::kDays, 7},     {ChartTimeUnit::kMonths, 1},
    {ChartTimeUnit::kMonths, 2},   {ChartTimeUnit::kMonths, 4},   {ChartTimeUnit::kMonths, 6},
    {ChartTimeUnit::kYears, 1},
};
// A tick may stand this much closer than the room of a label before it steps up.
constexpr double kLabelRoomShare = 0.9;

double StepDays(ChartTimeUnit unit, int multiplier) {
  switch (unit) {
    case ChartTimeUnit::kMonths:
      return 30.436875 * multiplier;
    case ChartTimeUnit::kYears:
      return 365.2425 * multiplier;
    default:
      return UnitDays(unit) * multiplier;
  }
}

int64_t FloorToMultiple(int64_t value, int64_t multiple) {
  if (multiple <= 1)
    return value;
  const int64_t quotient = value >= 0 ? value / multiple : (value - multiple + 1) / multiple;
  return quotient * multiple;
}

}  // namespace

CChartDateTimeAxis::CChartDateTimeAxis()
    : m_sFormat(UnitFormat(ChartTimeUnit::kDays)),
      m_dReference(ChartDateFromParts(ChartDateParts{2000, 1, 1, 0, 0, 0, 0})) {}

const char* CChartDateTimeAxis::UnitFormat(ChartTimeUnit unit) {
  switch (unit) {
    case ChartTimeUnit::kSeconds:
      return "%H:%M:%S";
    case ChartTimeUnit::kMinutes:
      return "%H:%M";
    case ChartTimeUnit::kHours:
      return "%H:00";
    case ChartTimeUnit::kDays:
      return "%d %b";
    case ChartTimeUnit::kMonths:
      return "%b %Y";
    case ChartTimeUnit::kYears:
      return "%Y";
  }
  return "%Y";
}

void CChartDateTimeAxis::SetTickIncrement(bool automatic, ChartTimeUnit unit, int multiplier) {
  m_bAutomaticIncrement = automatic;
  if (!automatic) {
    m_eUnit = unit;
    m_nMultiplier = multiplier < 1 ? 1 : multiplier;
  }
}

void CChartDateTimeAxis::SetFormat(bool automatic, const std::string& format) {
  m_bAutomaticFormat = automatic;
  m_sFormat = automatic ? UnitFormat(m_eUnit) : format;
}

void CChartDateTimeAxis::RefreshTicks() {
  if (m_bAutomaticIncrement) {
    if (Min() == Max()) {
      m_nMultiplier = 1;
    } else {
      const int count =
          TickCountFor(IsHorizontal() ? kHorizontalPixelsPerTick : kVerticalPixelsPerTick);
      const double daysPerTick = (Max() - Min()) / count;
      const int64_t s = static_cast<int64_t>(daysPerTick * 86400.0 + 0.5);
      const int64_t n = s / 60;
      const int64_t h = s / 3600;
      const int64_t d = s / 86400;
      if (s < 60 && s > 30) {
        m_eUnit = ChartTimeUnit::kMinutes, m_nMultiplier = 1;
      } else if (s < 60) {
        m_eUnit = ChartTimeUnit::kSeconds;
        m_nMultiplier = s > 10 ? 30 : s > 5 ? 10 : s > 2 ? 5 : 1;
      } else if (n < 60 && n > 30) {
        m_eUnit = ChartTimeUnit::kHours, m_nMultiplier = 1;
      } else if (n < 60) {
        m_eUnit = ChartTimeUnit::kMinutes;
        m_nMultiplier = n > 10 ? 30 : n > 5 ? 10 : n > 2 ? 5 : 2;
      } else if (h < 24 && h > 12) {
        m_eUnit = ChartTimeUnit::kDays, m_nMultiplier = 1;
      } else if (h < 24) {
        m_eUnit = ChartTimeUnit::kHours;
        m_nMultiplier = h > 6 ? 12 : h > 2 ? 6 : 2;
      } else if (d < 31 && d > 7) {
        m_eUnit = ChartTimeUnit::kMonths, m_nMultiplier = 1;
      } else if (d < 31 && d > 2) {
        m_eUnit = ChartTimeUnit::kDays, m_nMultiplier = 7;
      } else if (d < 31) {
        m_eUnit = ChartTimeUnit::kDays, m_nMultiplier = 2;
      } else if (d < 365 && d > 186) {
        m_eUnit = ChartTimeUnit::kYears, m_nMultiplier = 1;
      } else if (d < 365) {
        m_eUnit = ChartTimeUnit::kMonths;
        m_nMultiplier = d > 124 ? 6 : d > 62 ? 4 : 2;
      } else {
        m_eUnit = ChartTimeUnit::kYears;
        m_nMultiplier = static_cast<int>(d / 365) + 1;
      }
      // The whole-second rounding above lets ticks of 1 or 2 units stand up to 2.5 units
      // of time apart per label's room: the labels would run into each other (a
      // minute-long window had a label every 24 pixels). Step up until a tick has the
      // room of a label.
      KeepLabelsApart(daysPerTick * kLabelRoomShare);
    }
  }
  if (m_bAutomaticFormat)
    m_sFormat = UnitFormat(m_eUnit);
}

void CChartDateTimeAxis::KeepLabelsApart(double minimumDays) {
  if (StepDays(m_eUnit, m_nMultiplier) >= minimumDays)
    return;
  for (const TickStep& step : kTickSteps) {
    if (StepDays(step.unit, step.multiplier) >= minimumDays) {
      m_eUnit = step.unit;
      m_nMultiplier = step.multiplier;
      return;
    }
  }
  m_eUnit = ChartTimeUnit::kYears;
  m_nMultiplier = static_cast<int>(minimumDays / 365.2425) + 1;
}

double CChartDateTimeAxis::FirstTick() const {
  if (!IsCalendarUnit(m_eUnit)) {
    const double unit = UnitDays(m_eUnit);
    const int64_t units =
        static_cast<int64_t>(std::floor((Min() + kTickMargin - m_dReference) / unit));
    return m_dReference + static_cast<double>(FloorToMultiple(units, m_nMultiplier)) * unit;
  }
  const int step = m_eUnit == ChartTimeUnit::kYears ? 12 * m_nMultiplier : m_nMultiplier;
  const int months = ChartMonthsBetween(m_dReference, Min() + kTickMargin);
  return AddChartMonths(m_dReference, static_cast<int>(FloorToMultiple(months, step)));
}

double CChartDateTimeAxis::NextTick(double tick) const {
  if (m_eUnit == ChartTimeUnit::kMonths)
    return AddChartMonths(tick, m_nMultiplier);
  if (m_eUnit == ChartTimeUnit::kYears)
    return AddChartMonths(tick, 12 * m_nMultiplier);
  return tick + UnitDays(m_eUnit) * m_nMultiplier;
}

std::string CChartDateTimeAxis::TickLabel(double tick) const {
  return FormatChartDate(m_sFormat, tick);
}
