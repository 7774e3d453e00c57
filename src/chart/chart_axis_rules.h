#pragma once
// The vertical axis rule of the chart view: which of the two vertical axes each series
// goes to, and the range of each axis. A manual axis keeps the user's range; an automatic
// one is fitted to its series. With automatic assignment a series whose maximum reaches
// the threshold T goes right, the others left. Qt-free.
#include <vector>

inline constexpr int kChartLeftAxis = 0;
inline constexpr int kChartRightAxis = 1;

struct ChartAxisRange {
  bool manual = false;
  double min = 0.0;
  double max = 100.0;
};

// One shown, charted series: its range at the last redraw and the axis it is on.
struct ChartAxisSerie {
  double min = 0.0;
  double max = 0.0;
  int axis = kChartLeftAxis;
};

// The threshold T for the two axes' modes and the overall range of the values.
double ChartAxisThreshold(const ChartAxisRange axes[2], double overallMin, double overallMax);

// Both axes automatic: the threshold that sends right the series T sends right and, when
// that lets more series be told apart (each spanning at least 5 % of its axis), the
// next largest ones too. Returns the smallest maximum sent right, or T itself.
double ChartSpreadThreshold(const std::vector<ChartAxisSerie>& series, double threshold);

// Assigns the series (their axis is set when automaticAssignment is on; with both axes
// automatic by ChartSpreadThreshold) and fits the
// automatic axes: an automatic axis without series takes the other's range (the right
// one first).
void ApplyChartAxisRule(ChartAxisRange axes[2], std::vector<ChartAxisSerie>& series,
                        bool automaticAssignment, double overallMin, double overallMax);
