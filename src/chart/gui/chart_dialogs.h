#pragma once
// The chart view's dialogs, and the number of decimals their numbers show with.
#include "base/app_context.h"
#include "base/settings.h"
#include "chart/gui/chart_axis_dialogs.h"
#include "chart/gui/chart_legend_dialog.h"
#include "chart/gui/chart_series_dialog.h"
#include "chart/gui/chart_title_dialog.h"

// DecimalNbr, kept to what "%.*f" can show.
inline int DecimalsSetting(AppContext& context) {
  const int decimals = settings::Read(context.settings, settings::kDecimalNbr);
  return decimals < 0 ? 0 : decimals > 17 ? 17 : decimals;
}
