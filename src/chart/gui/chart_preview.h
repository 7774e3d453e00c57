#pragma once
// The preview of the legend and title dialogs: a small chart with four sample series
// (TY_001, LY_005, FY_002, PY_010) that shows the dialog's settings as they change.
#include "chart/chart_view_model.h"
#include "chart/gui/chart_ctrl.h"

class CChartPreview : public CChartCtrl {
  Q_OBJECT
 public:
  explicit CChartPreview(QWidget* parent = nullptr);
  // Applies a legend, a title and a background, then redraws.
  void Show(const ChartLegendSettings& legend, const ChartTitleSettings& title,
            ChartColour background);
};
