#pragma once
// The fixed rules of the chart view: the page spans with their small steps, the time
// texts of the data tables as automation dates, the decimation of a window into at most
// 1600 points, and the refresh divider of the live chart. Qt-free.
#include <cstdint>
#include <optional>
#include <string_view>

// At most this many points of a series are drawn, whatever the window holds.
inline constexpr int kChartMaxPoints = 1600;
// Date-times are compared with a tolerance of half a second (in days).
inline constexpr double kChartHalfSecond = 5.787037037037037e-06;
inline constexpr double kChartOneSecond = 1.0 / 86400.0;
inline constexpr double kChartOneMinute = 1.0 / 1440.0;
// The "empty" bounds that every range starts from.
inline constexpr double kChartEmptyMin = 999999995904.0;
inline constexpr double kChartEmptyMax = -999999995904.0;

// "Page Time Span: ": 21 positions.
inline constexpr int kChartSpanCount = 21;
inline constexpr int kDefaultChartSpanMinutes = 60;
// Minutes of a list position; no selection (-1) or a position above the list gives 60.
int ChartSpanMinutes(int position);
// The list text of a position ("1 min" .. "4 weeks"); empty outside the list.
const char* ChartSpanText(int position);
// The position of a span in the list, or -1 when it is not in it.
int ChartSpanPosition(int minutes);
// "<" and ">": the small step of a span in minutes (10 for a span not in the table).
int ChartSmallStepMinutes(int spanMinutes);

// "%02d/%s/%d %02d:%02d:%02d.%03d" (milliseconds optional) as an automation date.
std::optional<double> ParseChartTimeText(std::string_view text);

// Every step-th row of a window of points rows is drawn: 1 below 1600 rows, else
// points / 1600 + 1.
int ChartDecimationStep(int points);
// The rows drawn: first, first + step, ... up to the last row of the window.
int ChartDrawnPointCount(int points, int step);
// Keep Peaks: the rows of a window are cut into runs of this length, each drawn as its
// minimum and its maximum (so at most 1600 points).
int ChartPeakRunLength(int points);

// The live chart redraws every N-th acquisition cycle. For an acquisition period and the
// last redraw's duration (ms), the divider that keeps a redraw under a quarter of the time
// between two redraws: D / (P / 4) + 1; 0 when the period is too short to tell.
int ChartRefreshDivider(uint32_t basePeriodMs, int redrawMs);
