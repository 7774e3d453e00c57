#include "chart/chart_axis_rules.h"

#include "chart/chart_view_rules.h"

double ChartAxisThreshold(const ChartAxisRange axes[2], double overallMin, double overallMax) {
  const bool leftManual = axes[kChartLeftAxis].manual;
  const bool rightManual = axes[kChartRightAxis].manual;
  if (leftManual)
    return axes[kChartLeftAxis].max;
  if (rightManual)
    return axes[kChartRightAxis].max / 5.0;
  return (overallMax - overallMin) / 5.0;
}

void ApplyChartAxisRule(ChartAxisRange axes[2], std::vector<ChartAxisSerie>& series,
                        bool automaticAssignment, double overallMin, double overallMax) {
  const double threshold = ChartAxisThreshold(axes, overallMin, overallMax);
  for (ChartAxisRange* axis : {&axes[0], &axes[1]}) {
    if (!axis->manual)
      axis->min = kChartEmptyMin, axis->max = kChartEmptyMax;
  }
  int counts[2] = {0, 0};
  for (ChartAxisSerie& serie : series) {
    if (automaticAssignment)
      serie.axis = serie.max >= threshold ? kChartRightAxis : kChartLeftAxis;
    ChartAxisRange& axis = axes[serie.axis == kChartRightAxis ? 1 : 0];
    if (!axis.manual) {
      axis.min = serie.min < axis.min ? serie.min : axis.min;
      axis.max = serie.max > axis.max ? serie.max : axis.max;
    }
    ++counts[serie.axis == kChartRightAxis ? 1 : 0];
  }
  if (!axes[kChartRightAxis].manual && counts[kChartRightAxis] == 0) {
    axes[kChartRightAxis].min = axes[kChartLeftAxis].min;
    axes[kChartRightAxis].max = axes[kChartLeftAxis].max;
  }
  if (!axes[kChartLeftAxis].manual && counts[kChartLeftAxis] == 0) {
    axes[kChartLeftAxis].min = axes[kChartRightAxis].min;
    axes[kChartLeftAxis].max = axes[kChartRightAxis].max;
  }
}
