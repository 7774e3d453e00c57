#include "chart/chart_axis_rules.h"

#include <algorithm>

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

namespace {

// A series is told apart from the others on its axis when its range spans at least this
// share of the axis's range.
constexpr double kVisibleShare = 0.05;

// How many of the series (sorted by maximum, largest first) are told apart when the
// first onRight go right and the others left.
int VisibleSeries(const std::vector<const ChartAxisSerie*>& sorted, size_t onRight) {
  double lo[2] = {kChartEmptyMin, kChartEmptyMin};
  double hi[2] = {kChartEmptyMax, kChartEmptyMax};
  for (size_t i = 0; i < sorted.size(); ++i) {
    const int axis = i < onRight ? 1 : 0;
    lo[axis] = std::min(lo[axis], sorted[i]->min);
    hi[axis] = std::max(hi[axis], sorted[i]->max);
  }
  int visible = 0;
  for (size_t i = 0; i < sorted.size(); ++i) {
    const int axis = i < onRight ? 1 : 0;
    const double span = hi[axis] - lo[axis];
    if (span <= 0.0 || (sorted[i]->max - sorted[i]->min) >= kVisibleShare * span)
      ++visible;
  }
  return visible;
}

// With both axes automatic, the threshold may send more of the largest series right than
// T does, when that lets more series be told apart: a counter in the billions and a
// running-hours count in the hundreds of thousands must not flatten the process values.
// The series T sends right stay right. The smallest maximum that goes right, or T.
double SpreadThreshold(const std::vector<ChartAxisSerie>& series, double threshold) {
  std::vector<const ChartAxisSerie*> sorted;
  for (const ChartAxisSerie& serie : series)
    sorted.push_back(&serie);
  std::stable_sort(
      sorted.begin(), sorted.end(),
      [](const ChartAxisSerie* a, const ChartAxisSerie* b) { return a->max > b->max; });
  size_t byThreshold = 0;
  while (byThreshold < sorted.size() && sorted[byThreshold]->max >= threshold)
    ++byThreshold;
  if (byThreshold == 0 || byThreshold >= sorted.size())
    return threshold;
  size_t best = byThreshold;
  int bestVisible = VisibleSeries(sorted, best);
  for (size_t onRight = byThreshold + 1; onRight < sorted.size(); ++onRight) {
    // Series of equal maxima go together.
    if (sorted[onRight]->max == sorted[onRight - 1]->max)
      continue;
    const int visible = VisibleSeries(sorted, onRight);
    if (visible > bestVisible)
      best = onRight, bestVisible = visible;
  }
  return sorted[best - 1]->max;
}

}  // namespace

double ChartSpreadThreshold(const std::vector<ChartAxisSerie>& series, double threshold) {
  return SpreadThreshold(series, threshold);
}

void ApplyChartAxisRule(ChartAxisRange axes[2], std::vector<ChartAxisSerie>& series,
                        bool automaticAssignment, double overallMin, double overallMax) {
  double threshold = ChartAxisThreshold(axes, overallMin, overallMax);
  if (automaticAssignment && !axes[kChartLeftAxis].manual && !axes[kChartRightAxis].manual)
    threshold = SpreadThreshold(series, threshold);
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
