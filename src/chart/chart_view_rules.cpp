#include "chart/chart_view_rules.h"

#include "base/time_text.h"
#include "chart/chart_date.h"

namespace {

struct SpanEntry {
  int minutes;
  int smallStep;
  const char* text;
};

constexpr SpanEntry kSpans[kChartSpanCount] = {
    {1, 1, "1 min"},          {2, 1, "2 min"},          {5, 5, "5 min"},
    {10, 2, "10 min"},        {15, 3, "15 min"},        {20, 4, "20 min"},
    {30, 5, "30 min"},        {60, 10, "1 hour"},       {120, 20, "2 hours"},
    {360, 60, "6 hours"},     {720, 120, "12 hours"},   {1440, 240, "1 day"},
    {2880, 480, "2 days"},    {4320, 720, "3 days"},    {5760, 960, "4 days"},
    {7200, 1200, "5 days"},   {8640, 1440, "6 days"},   {10080, 1440, "1 week"},
    {20160, 2880, "2 weeks"}, {30240, 4320, "3 weeks"}, {40320, 5760, "4 weeks"},
};
constexpr int kUnknownSpanStep = 10;

}  // namespace

int ChartSpanMinutes(int position) {
  if (position < 0 || position >= kChartSpanCount)
    return kDefaultChartSpanMinutes;
  return kSpans[position].minutes;
}

const char* ChartSpanText(int position) {
  return position >= 0 && position < kChartSpanCount ? kSpans[position].text : "";
}

int ChartSpanPosition(int minutes) {
  for (int i = 0; i < kChartSpanCount; ++i) {
    if (kSpans[i].minutes == minutes)
      return i;
  }
  return -1;
}

int ChartSmallStepMinutes(int spanMinutes) {
  const int position = ChartSpanPosition(spanMinutes);
  return position < 0 ? kUnknownSpanStep : kSpans[position].smallStep;
}

std::optional<double> ParseChartTimeText(std::string_view text) {
  LocalTime time;
  if (!ParseTimeStampText(text, time))
    return std::nullopt;
  ChartDateParts parts;
  parts.year = time.year;
  parts.month = time.month;
  parts.day = time.day;
  parts.hour = time.hour;
  parts.minute = time.minute;
  parts.second = time.second;
  parts.millisecond = time.millisecond;
  return ChartDateFromParts(parts);
}

int ChartDecimationStep(int points) {
  return points >= kChartMaxPoints ? points / kChartMaxPoints + 1 : 1;
}

int ChartDrawnPointCount(int points, int step) {
  if (points <= 0 || step <= 0)
    return 0;
  return (points - 1) / step + 1;
}

int ChartPeakRunLength(int points) {
  if (points <= kChartMaxPoints)
    return 1;
  constexpr int kRuns = kChartMaxPoints / 2;
  return (points + kRuns - 1) / kRuns;
}

int ChartRefreshDivider(uint32_t basePeriodMs, int redrawMs) {
  const int64_t quarter = static_cast<int64_t>(basePeriodMs) * 250 / 1000;
  if (quarter == 0 || redrawMs < 0)
    return 0;
  return static_cast<int>(redrawMs / quarter + 1);
}
