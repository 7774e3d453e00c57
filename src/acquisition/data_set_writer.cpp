#include "acquisition/data_set_writer.h"

#include <cstdio>

#include "base/number_text.h"
#include "opc/opc_group.h"
#include "opc/opc_server.h"
#include "opc/opc_texts.h"

namespace {

constexpr char kCalcDataType[] = "Double";
constexpr char kGoodQuality[] = "Good";

VARTYPE ValueTypeOf(const COPCBaseItem& item) {
  return item.Value().vt != VT_EMPTY ? item.Value().vt : item.DataType();
}

bool IsIntegerType(int type) {
  switch (type) {
    case VT_I2:
    case VT_I4:
    case VT_CY:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
      return true;
    default:
      return false;
  }
}

// "%02d-%02d-%04d %d:%02d:%02d.%03d" → 100-ns units since year 0 of the calendar.
bool ParseDateText(const std::string& text, long long& units) {
  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d.%d", &day, &month, &year, &hour, &minute,
                  &second, &millisecond) != 7) {
    return false;
  }
  const long long ms = DaysFromCivil(year, month, day) * 86400000LL + hour * 3600000LL +
                       minute * 60000LL + second * 1000LL + millisecond;
  units = ms * 10000LL;
  return true;
}

std::string FormatDateText(long long units) {
  const LocalTime t = LocalTimeFromUnixMs(units / 10000LL);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d-%02d-%04d %d:%02d:%02d.%03d", t.day, t.month, t.year,
                t.hour, t.minute, t.second, t.millisecond);
  return buffer;
}

std::string FormatReal(double value, int decimals) {
  return FormatFixed(value, decimals);
}

}  // namespace

std::string InterpolatedText(int typeCode, const std::string& startText, const std::string& endText,
                             int step, int gap, int decimals, bool& handled) {
  handled = true;
  switch (typeCode) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_BOOL:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4: {
      const double start = LeadingDouble(startText);
      const double slope = (LeadingDouble(endText) - start) / gap;
      double value = start;
      for (int i = 0; i < step; ++i)
        value += slope;  // accumulated, one slope per row
      if (IsIntegerType(typeCode))
        return std::to_string(static_cast<long>(value));
      if (typeCode == VT_BOOL)
        return value > 0.5 ? "1" : "0";
      return FormatReal(value, decimals);
    }
    case VT_DATE: {
      long long start = 0;
      long long end = 0;
      if (!ParseDateText(startText, start) || !ParseDateText(endText, end)) {
        handled = false;
        return {};
      }
      return FormatDateText(start + (end - start) / gap * step);
    }
    case VT_BSTR:
      return step <= gap / 2 ? startText : endText;
    default:
      handled = false;
      return {};
  }
}

void CDataSetWriter::Rebuild(const COPCServer& server) {
  m_realTime.Clear();
  for (int g = 0; g < server.GroupCount(); ++g) {
    const COPCGroup& group = *server.Group(g);
    for (const auto& item : group.AcquiredItems()) {
      m_realTime.Append({item->QualifiedId(), item->ShortId(), item->Description(), "???", "???",
                         "???", DataTypeText(ValueTypeOf(*item))});
    }
    for (const auto& item : group.CalcItems()) {
      m_realTime.Append({item->QualifiedId(), item->ShortId(), item->Expression(), "???", "???",
                         "???", kCalcDataType});
    }
  }
  m_history.Reset(server.ColumnCount());
}

int CDataSetWriter::StartDataSet(const COPCGroup& group) {
  return m_history.Append(DataSet(group.TimeText(), m_history.ItemColumns()));
}

void CDataSetWriter::WriteGroupValues(const COPCGroup& group, int columnOffset, int decimals,
                                      int& lastRow, std::vector<int>& rewrittenRows) {
  const int current = m_history.Count() - 1;
  if (current < 0)
    return;
  DataSet row = m_history.Edit(current);
  for (int i = 0; i < group.AcquiredCount(); ++i) {
    const COPCItem& item = *group.AcquiredItems()[static_cast<size_t>(i)];
    const int column = columnOffset + 1 + i;
    row.SetCell(column, item.ValueText(decimals));
    if (!item.IsGood())
      row.OrStatus(column, kStatusBadQuality);
  }
  for (int i = 0; i < group.CalcCount(); ++i) {
    const COPCCalcItem& item = *group.CalcItems()[static_cast<size_t>(i)];
    row.SetCell(columnOffset + group.AcquiredCount() + 1 + i,
                FormatReal(item.CalcValue(), decimals));
  }
  m_history.Replace(current, row);

  const int previous = lastRow;
  if (previous != kNoDataSetRow && current - previous > 1) {
    std::vector<DataSet> rows;
    for (int r = previous; r <= current; ++r)
      rows.push_back(m_history.Edit(r));
    Interpolate(group, columnOffset, current - previous, decimals, rows);
    for (int r = previous + 1; r < current; ++r) {
      m_history.Replace(r, rows[static_cast<size_t>(r - previous)]);
      rewrittenRows.push_back(r);
    }
  }
  lastRow = current;
}

void CDataSetWriter::Interpolate(const COPCGroup& group, int columnOffset, int gap, int decimals,
                                 std::vector<DataSet>& rows) {
  const DataSet& first = rows.front();
  const DataSet& last = rows.back();
  for (int i = 0; i < group.AcquiredCount(); ++i) {
    const COPCItem& item = *group.AcquiredItems()[static_cast<size_t>(i)];
    const int column = columnOffset + 1 + i;
    const uint8_t bit = item.IsGood() ? kStatusInterpolated : kStatusBadQuality;
    for (int step = 1; step < gap; ++step) {
      bool handled = false;
      std::string text = InterpolatedText(ValueTypeOf(item), first.Cell(column), last.Cell(column),
                                          step, gap, decimals, handled);
      if (!handled)
        break;  // other types keep their cells as they are
      DataSet& row = rows[static_cast<size_t>(step)];
      row.SetCell(column, std::move(text));
      row.OrStatus(column, bit);
    }
  }
  for (int i = 0; i < group.CalcCount(); ++i) {
    const int column = columnOffset + group.AcquiredCount() + 1 + i;
    for (int step = 1; step < gap; ++step) {  // sample and hold
      DataSet& row = rows[static_cast<size_t>(step)];
      row.SetCell(column, first.Cell(column));
      row.OrStatus(column, kStatusInterpolated);
    }
  }
}

void CDataSetWriter::UpdateRealTime(const COPCGroup& group, int columnOffset, int decimals) {
  for (int i = 0; i < group.AcquiredCount(); ++i) {
    const COPCItem& item = *group.AcquiredItems()[static_cast<size_t>(i)];
    m_realTime.SetValue(columnOffset + i, group.TimeText(), item.ValueText(decimals),
                        item.QualityText());
  }
  for (int i = 0; i < group.CalcCount(); ++i) {
    const COPCCalcItem& item = *group.CalcItems()[static_cast<size_t>(i)];
    m_realTime.SetValue(columnOffset + group.AcquiredCount() + i, group.TimeText(),
                        FormatFixed6(item.CalcValue()), kGoodQuality);
  }
}

void CDataSetWriter::FillInactiveGroup(const COPCGroup& group, int columnOffset, int& lastRow) {
  const int previous = lastRow;
  const int last = m_history.Count() - 1;
  if (last <= previous)
    return;
  const DataSet source = previous != kNoDataSetRow
                             ? m_history.Edit(previous)
                             : DataSet(std::string(), m_history.ItemColumns());
  const int columns = group.ColumnCount();
  for (int r = previous + 1; r <= last; ++r) {
    DataSet row = m_history.Edit(r);
    for (int k = columnOffset + 1; k <= columnOffset + columns; ++k) {
      row.SetCell(k, std::string(source.Cell(k)));
      row.OrStatus(k, kStatusInactive);
    }
    m_history.Replace(r, row);
  }
  lastRow = last;
}
