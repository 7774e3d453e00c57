#pragma once
// The chart view's dialogs, and the number of decimals their numbers show with.
#include "base/app_context.h"
#include "base/settings.h"
#include "chart/gui/chart_axis_dlg.h"
#include "chart/gui/chart_legend_dlg.h"
#include "chart/gui/chart_series_dlg.h"
#include "chart/gui/chart_title_dlg.h"

// DecimalNbr, kept to what "%.*f" can show.
inline int DecimalsSetting(AppContext& context) {
  const int decimals = settings::Read(context.settings, settings::kDecimalNbr);
  return decimals < 0 ? 0 : decimals > 17 ? 17 : decimals;
}
