#pragma once
// Automation dates (the chart's time scale) as the date-time fields show them.
#include <QDateTime>

#include "chart/chart_date.h"

inline QDateTime QDateTimeFromChartDate(double date) {
  const ChartDateParts parts = ChartDateToParts(date);
  return QDateTime(QDate(parts.year, parts.month, parts.day),
                   QTime(parts.hour, parts.minute, parts.second, parts.millisecond));
}

// Whole seconds: the page start field has no milliseconds.
inline double ChartDateFromQDateTime(const QDateTime& value) {
  ChartDateParts parts;
  parts.year = value.date().year();
  parts.month = value.date().month();
  parts.day = value.date().day();
  parts.hour = value.time().hour();
  parts.minute = value.time().minute();
  parts.second = value.time().second();
  return ChartDateFromParts(parts);
}
