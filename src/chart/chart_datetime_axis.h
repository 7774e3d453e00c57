#pragma once
// CChartDateTimeAxis: an axis of automation dates. The tick unit (seconds to years) and
// its multiplier follow the span per tick; ticks are counted from a reference date,
// months and years by calendar arithmetic; labels are formatted for the unit.
#include "chart/chart_axis.h"

enum class ChartTimeUnit : int {
  kSeconds = 0,
  kMinutes = 1,
  kHours = 2,
  kDays = 3,
  kMonths = 4,
  kYears = 5
};

class CChartDateTimeAxis : public CChartAxis {
 public:
  CChartDateTimeAxis();

  // The automatic unit and format for the current range and pixel length.
  void RefreshTicks() override;
  double FirstTick() const override;
  double NextTick(double tick) const override;
  std::string TickLabel(double tick) const override;

  ChartTimeUnit TickUnit() const { return m_eUnit; }
  int Multiplier() const { return m_nMultiplier; }
  // A fixed unit and multiplier (no automatic choice).
  void SetTickIncrement(bool automatic, ChartTimeUnit unit, int multiplier);
  bool IsAutomaticFormat() const { return m_bAutomaticFormat; }
  const std::string& Format() const { return m_sFormat; }
  // A format of FormatChartDate; automatic = the unit's own format.
  void SetFormat(bool automatic, const std::string& format);
  double ReferenceTick() const { return m_dReference; }
  void SetReferenceTick(double date) { m_dReference = date; }

  // The automatic label format of a unit.
  static const char* UnitFormat(ChartTimeUnit unit);

 private:
  // Steps up the tick unit and multiplier until a tick spans at least minimumDays.
  void KeepLabelsApart(double minimumDays);
  ChartTimeUnit m_eUnit = ChartTimeUnit::kDays;
  int m_nMultiplier = 1;
  bool m_bAutomaticIncrement = true;
  bool m_bAutomaticFormat = true;
  std::string m_sFormat;
  double m_dReference;
};
