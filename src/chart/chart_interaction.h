#pragma once
// What the mouse and the keyboard do to a chart, without its window: zoom an axis around
// a value, pan it by pixels, zoom it to a dragged band, reset it to the full range of its
// series, and the readout under the cursor (the time and, for each visible series, the
// value of its nearest point). Qt-free. Thread rule: GUI thread.
#include <string>
#include <vector>

#include "chart/chart_model.h"

// Zooms around anchor (which keeps its pixel): factor < 1 zooms in, > 1 out.
void ZoomAxis(CChartAxis& axis, double anchor, double factor);
// Moves the range so that the content follows the mouse by pixels along the axis.
void PanAxisByPixels(CChartAxis& axis, int pixels);
// The range between two pixels of the axis (a rubber band); ignored when narrower than 3.
bool ZoomAxisToPixels(CChartAxis& axis, int from, int to);
// Back to the smallest and largest extent of the bound series, then manual again.
void ResetAxisRange(CChartAxis& axis);

struct ChartReadoutValue {
  std::string name;
  std::string value;
};
struct ChartReadout {
  bool valid = false;
  std::string position;  // the horizontal value under the cursor
  std::vector<ChartReadoutValue> values;
};
// At a horizontal pixel of the plot: the axis value and every visible series' nearest
// point's value (series without points are left out).
ChartReadout ReadoutAt(const CChartModel& model, ChartAxisSlot horizontal, int pixel);
