#include "chart/chart_view_model.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "base/number_text.h"
#include "base/settings.h"
#include "chart/chart_block_fill.h"
#include "chart/chart_series_fill.h"
#include "chart/chart_view_rules.h"
#include "db/catalogue_store.h"

namespace {

constexpr int kItemQueryColumns = 5;
constexpr char kIncoherentItems[] =
    "Incoherent Items Count from Velmora Database !!! Unable to Load Project Data ...";
constexpr char kNoTable[] = "Internal Error !!! Invalid Pointer to Historical Data List ...";
constexpr char kNoRows[] = "No Historical Data to Show !!!";
constexpr char kUpdated[] = "Chart Updated with %d Data Points in %d ms ";
constexpr char kTooLong[] =
    "Chart Update Time is Too Long ... Switching the Chart Update Frequency to %d time%s the Data "
    "Acquisition Frequency";
constexpr char kAnteriorStart[] =
    "Invalid Request for Date/Time Page Start !!! Date/Time is anterior to Data Acquisition "
    "Start Date/Time";

constexpr uint16_t kVariantArray = 0x2000;
constexpr uint16_t kVariantString = 8;

int CellInt(const QueryCell& cell) {
  if (cell.columnType == kCellInteger)
    return cell.intValue;
  if (cell.columnType == kCellFloat)
    return static_cast<int>(cell.floatValue);
  if (cell.columnType == kCellText)
    return static_cast<int>(LeadingDouble(cell.text));
  return 0;
}

std::string CellText(const QueryCell& cell) {
  if (cell.columnType == kCellText || cell.columnType == kCellNull)
    return cell.text;
  if (cell.columnType == kCellInteger)
    return std::to_string(cell.intValue);
  return FormatShortest(cell.floatValue);
}

double Span(int minutes) {
  return minutes * kChartOneMinute;
}

bool After(double a, double b) {
  return a > b + kChartHalfSecond;
}

}  // namespace

std::string ChartItemStatement(int acquisitionId) {
  return CCatalogueStore::ChartItemStatement(acquisitionId);
}

CChartViewModel::CChartViewModel(AppContext& context, CChartModel& chart)
    : m_context(context),
      m_chart(chart),
      m_vTimes(kChartMaxPoints),
      m_vValues(static_cast<size_t>(kMaxChartItems) * kChartMaxPoints),
      m_vRow(kMaxChartItems) {}

void CChartViewModel::Create() {
  m_nSpanMinutes = settings::Read(m_context.settings, settings::kChartTimeSpan);
  m_background =
      static_cast<ChartColour>(settings::Read(m_context.settings, settings::kChartBkgColor));
  m_nTagDisplayType = settings::Read(m_context.settings, settings::kTagDisplayType);
  m_chart.CreateDateTimeAxis(ChartAxisSlot::kBottom);
  for (ChartAxisSlot slot : {ChartAxisSlot::kLeft, ChartAxisSlot::kRight}) {
    CChartAxis& axis = m_chart.CreateStandardAxis(slot);
    axis.SetMinMax(0.0, 100.0);
    axis.SetGridVisible(true);
  }
  m_chart.SetBackgroundColour(m_background);
}

void CChartViewModel::OnShown() {
  InitFields();
  ApplyLegend();
  ApplyTitle();
  if (m_nAcquisitionId == kNoChartAcquisition || m_nAcquisitionId != m_nDrawnAcquisitionId)
    m_bNeedBuild = true;
  Redraw();
}

void CChartViewModel::SetSource(const IChartRowSource* source) {
  if (source == m_pTable && source != nullptr) {
    m_pRealTime->Revalidate();  // the same table, perhaps cleared and filled anew
    return;
  }
  m_pTable = source;
  m_pRealTime = source != nullptr ? std::make_unique<CRealTimeRowSource>(*source) : nullptr;
  m_pSource = m_pRealTime.get();
}

void CChartViewModel::InitFields() {
  const int rows = RowCount();
  if (rows == 0)
    return;
  m_dAcquisitionStart = m_pSource->RowTime(0);
  if (!m_bLive || rows >= 2)
    m_dLastTime = m_pRealTime->WallTime(rows - 1);
  m_dWindowStart = m_dAcquisitionStart;
  m_dWindowEnd = m_dWindowStart + Span(m_nSpanMinutes);
}

std::string CChartViewModel::SerieName(const CVelmoraChartItem& item) const {
  switch (m_nTagDisplayType) {
    case 1:
      return item.m_sShortId;
    case 2:
      return item.m_sDescription;
    default:
      return item.m_sQualifiedId;
  }
}

void CChartViewModel::BuildSeries() {
  m_bNeedBuild = false;
  m_nDrawnAcquisitionId = m_nAcquisitionId;
  std::vector<QueryCell> cells;
  if (m_fnQuery && m_nAcquisitionId != kNoChartAcquisition)
    m_fnQuery(ChartItemStatement(m_nAcquisitionId), cells);
  if (cells.size() % kItemQueryColumns != 0) {
    m_context.prompt.ShowMessage(kIncoherentItems, MessageButtons::kOk, MessageIcon::kError);
    return;
  }
  m_chart.RemoveAllSeries();
  m_nItemCount = 0;
  const size_t itemCount = cells.size() / kItemQueryColumns;
  for (size_t k = 0; k < itemCount && m_nItemCount < kMaxChartItems; ++k) {
    CVelmoraChartItem item;
    for (size_t c = 0; c < kItemQueryColumns; ++c) {
      const QueryCell& cell = cells[k * kItemQueryColumns + c];
      if (cell.columnName == "OPCAcqItem_QualifiedName")
        item.m_sQualifiedId = CellText(cell);
      else if (cell.columnName == "OPCAcqItem_ShortName")
        item.m_sShortId = CellText(cell);
      else if (cell.columnName == "OPCAcqItem_Data")
        item.m_sDescription = CellText(cell);
      else if (cell.columnName == "OPCAcqItem_ItemType")
        item.m_nItemType = CellInt(cell);
      else if (cell.columnName == "OPCAcqItem_DataType")
        item.m_nDataType = static_cast<uint16_t>(CellInt(cell));
    }
    // Arrays and strings have no line to draw; their column still counts.
    if ((item.m_nDataType & kVariantArray) != 0 || item.m_nDataType == kVariantString)
      continue;
    item.m_nSerieId = m_chart.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft);
    CChartLineSerie* serie = m_chart.Serie(item.m_nSerieId);
    item.m_nTableColumn = static_cast<int>(k) + 1;
    item.m_dMin = 0.0;
    item.m_dMax = kChartEmptyMax;
    item.m_bZeroBased = true;
    item.m_color = serie->Colour();
    item.m_nLineStyle = static_cast<int>(serie->Style());
    item.m_nAxis = kChartLeftAxis;
    serie->SetName(SerieName(item));
    m_items[static_cast<size_t>(m_nItemCount++)] = std::move(item);
  }
}

int CChartViewModel::PeriodSeconds() const {
  return std::max<int>(static_cast<int>(m_nPeriodMs / 1000), 1);
}

int CChartViewModel::FindRow(double target, bool atOrAfter) const {
  return FindChartRow(*m_pSource, target, atOrAfter, RowCount() - 1, m_dAcquisitionStart,
                      PeriodSeconds());
}

void CChartViewModel::Redraw() {
  if (m_bNeedBuild)
    BuildSeries();
  const uint32_t started = m_context.clock.TickCount();
  m_chart.EnableRefresh(false);
  m_chart.SetBackgroundColour(m_background);
  if (m_pSource == nullptr) {
    m_context.log.Log(kNoTable, kLogDataChart);
    m_chart.EnableRefresh(true);
    return;
  }
  const int rows = m_pSource->RowCount();
  if (rows == 0) {
    m_context.log.Log(kNoRows, kLogDataChart);
    m_chart.EnableRefresh(true);
    return;
  }
  // The live table may have been emptied and refilled since the fields were set.
  const double start = m_pSource->RowTime(0);
  if (start != m_dAcquisitionStart)
    InitFields();
  const int lastRow = rows - 1;
  int first = 0;
  int last = lastRow;
  if (m_bRealTime) {
    m_dWindowEnd = m_pSource->RowTime(lastRow);
    m_dWindowStart = std::max(m_dWindowEnd - Span(m_nSpanMinutes), m_dAcquisitionStart);
    first = FindRow(m_dWindowStart, true);
  } else {
    first = FindRow(m_dWindowStart, true);
    m_dWindowEnd = m_dWindowStart + Span(m_nSpanMinutes);
    last = FindRow(m_dWindowEnd, false);
  }
  m_nPoints = std::max(last - first + 1, 0);
  if (m_nPoints > 0) {
    FillSeries(first, last);
    FitAxes(m_dWindowStart, m_dWindowEnd);
  } else {
    m_nStep = 1;
    m_nDrawn = 0;
  }
  m_chart.EnableRefresh(true);
  if (m_fnPaint)
    m_fnPaint();
  m_pacer.SetLastRedrawMs(static_cast<int>(m_context.clock.TickCount() - started));
  m_context.log.Log(Format(kUpdated, m_nPoints, m_pacer.LastRedrawMs()), kLogDataChart);
}

void CChartViewModel::FillSeries(int first, int last) {
  std::vector<int> columns;
  std::vector<int> indices;
  for (int i = 0; i < m_nItemCount; ++i) {
    const CVelmoraChartItem& item = m_items[static_cast<size_t>(i)];
    if (item.m_bShown && item.m_nSerieId >= 0) {
      columns.push_back(item.m_nTableColumn);
      indices.push_back(i);
    }
  }
  const size_t shown = columns.size();
  double* values = m_vValues.data();
  const ChartPointBuffers buffers{m_vTimes.data(), values, m_vRow.data()};
  ChartFill fill;
  if (last - first + 1 > kChartSummaryMinRows && m_pSource->BlockRows() > 0) {
    fill = FillFromBlocks(*m_pSource, first, last, columns, buffers);
  } else {
    const int run = m_bKeepPeaks ? ChartPeakRunLength(last - first + 1) : 1;
    fill = run > 1 ? FillPeaks(*m_pSource, first, last, run, columns, buffers)
                   : FillDecimated(*m_pSource, first, last, columns, buffers);
  }
  m_nStep = fill.step;
  m_nDrawn = fill.drawn;
  m_dOverallMin = kChartEmptyMin;
  m_dOverallMax = kChartEmptyMax;
  for (size_t s = 0; s < shown; ++s) {
    CVelmoraChartItem& item = m_items[static_cast<size_t>(indices[s])];
    double minimum = item.m_bZeroBased ? 0.0 : kChartEmptyMin;
    double maximum = kChartEmptyMax;
    const double* series = values + s * kChartMaxPoints;
    for (int i = 0; i < m_nDrawn; ++i) {
      if (std::isnan(series[i]))
        continue;  // a cell without a value: no point
      minimum = std::min(minimum, series[i]);
      maximum = std::max(maximum, series[i]);
    }
    if (CChartLineSerie* serie = m_chart.Serie(item.m_nSerieId))
      serie->SetPoints(m_vTimes.data(), series, static_cast<size_t>(m_nDrawn));
    item.m_dMin = minimum;
    item.m_dMax = maximum;
    m_dOverallMin = std::min(m_dOverallMin, minimum);
    m_dOverallMax = std::max(m_dOverallMax, maximum);
  }
}

void CChartViewModel::FitAxes(double windowStart, double windowEnd) {
  if (windowEnd < windowStart)
    windowStart = windowEnd - kChartOneSecond;
  if (CChartAxis* axis = m_chart.Axis(ChartAxisSlot::kBottom))
    axis->SetMinMax(windowStart, windowEnd);
  std::vector<ChartAxisSerie> series;
  std::vector<int> indices;
  for (int i = 0; i < m_nItemCount; ++i) {
    const CVelmoraChartItem& item = m_items[static_cast<size_t>(i)];
    if (item.m_bShown && item.m_nSerieId >= 0) {
      series.push_back({item.m_dMin, item.m_dMax, item.m_nAxis});
      indices.push_back(i);
    }
  }
  ApplyChartAxisRule(m_axes, series, m_bAutoAssign, m_dOverallMin, m_dOverallMax);
  for (size_t s = 0; s < series.size(); ++s) {
    CVelmoraChartItem& item = m_items[static_cast<size_t>(indices[s])];
    item.m_nAxis = series[s].axis;
    m_chart.RebindVertical(item.m_nSerieId, item.m_nAxis == kChartRightAxis ? ChartAxisSlot::kRight
                                                                            : ChartAxisSlot::kLeft);
  }
  if (CChartAxis* left = m_chart.Axis(ChartAxisSlot::kLeft))
    left->SetMinMax(m_axes[0].min, m_axes[0].max);
  if (CChartAxis* right = m_chart.Axis(ChartAxisSlot::kRight))
    right->SetMinMax(m_axes[1].min, m_axes[1].max);
}

bool CChartViewModel::OnCycleNotice(uint32_t basePeriodMs, bool visible) {
  if (!visible)
    return false;
  const int rows = RowCount();
  if (rows >= 2)
    m_dLastTime = m_pRealTime->WallTime(rows - 1);
  if (!m_bRealTime)
    return false;
  const CChartRefreshPacer::Decision decision = m_pacer.OnCycle(basePeriodMs);
  if (decision.dividerRaised) {
    const int divider = m_pacer.Divider();
    m_context.log.Log(Format(kTooLong, divider, divider > 1 ? "s " : " "), kLogDataChart);
  }
  if (!decision.redraw)
    return false;
  Redraw();
  return true;
}

void CChartViewModel::Reset() {
  m_chart.RemoveAllSeries();
  m_nItemCount = 0;
  m_nAcquisitionId = kNoChartAcquisition;
  m_nDrawnAcquisitionId = kNoChartAcquisition;
  m_bNeedBuild = true;
  m_pacer.RestartCycles();
  m_nPoints = m_nDrawn = 0;
  m_dAcquisitionStart = m_dLastTime = m_dWindowStart = m_dWindowEnd = 0.0;
  m_chart.RequestRedraw();
}

void CChartViewModel::MoveWindowStart(double start) {
  m_dWindowStart = start;
  m_dWindowEnd = start + Span(m_nSpanMinutes);
  Redraw();
}

bool CChartViewModel::First() {
  if (RowCount() == 0)
    return false;
  MoveWindowStart(m_pSource->RowTime(0));
  return true;
}

bool CChartViewModel::Last() {
  const int rows = RowCount();
  if (rows == 0)
    return false;
  MoveWindowStart(m_pSource->RowTime(rows - 1) - Span(m_nSpanMinutes));
  return true;
}

bool CChartViewModel::Back(bool page) {
  if (RowCount() == 0)
    return false;
  const int minutes = page ? m_nSpanMinutes : ChartSmallStepMinutes(m_nSpanMinutes);
  MoveWindowStart(std::max(m_dWindowStart - Span(minutes), m_dAcquisitionStart));
  return true;
}

bool CChartViewModel::Forward(bool page) {
  const int rows = RowCount();
  const int minutes = page ? m_nSpanMinutes : ChartSmallStepMinutes(m_nSpanMinutes);
  const double moved = m_dWindowStart + Span(minutes);
  if (rows < 2 || !After(m_pSource->RowTime(rows - 1), moved))
    return false;
  MoveWindowStart(moved);
  return true;
}

void CChartViewModel::SetSpanPosition(int position) {
  m_nSpanMinutes = ChartSpanMinutes(position);
  settings::Write(m_context.settings, settings::kChartTimeSpan, m_nSpanMinutes);
  MoveWindowStart(m_dWindowStart);
}

bool CChartViewModel::UpdateChart(double pageStart) {
  if (pageStart + Span(m_nSpanMinutes) < m_dAcquisitionStart - kChartHalfSecond) {
    m_context.prompt.ShowMessage(kAnteriorStart, MessageButtons::kOk, MessageIcon::kWarning);
    return false;
  }
  m_dWindowStart = pageStart;
  Redraw();
  return true;
}

void CChartViewModel::SetRealTime(bool realTime) {
  m_bRealTime = realTime;
  m_pacer.RestartCycles();
  Redraw();
}

void CChartViewModel::SetAxisManual(int axis, bool manual) {
  AxisRange(axis).manual = manual;
  Redraw();
}

void CChartViewModel::SetAxisRange(int axis, double minimum, double maximum) {
  ChartAxisRange& range = AxisRange(axis);
  range.min = minimum;
  range.max = maximum;
  range.manual = true;
  m_dOverallMin = std::min(m_dOverallMin, minimum);
  m_dOverallMax = std::max(m_dOverallMax, maximum);
  Redraw();
}

void CChartViewModel::SetAxisAttributes(const ChartAxisRange ranges[2], bool automaticAssignment) {
  for (int axis = 0; axis < 2; ++axis) {
    m_axes[axis].manual = ranges[axis].manual;
    if (ranges[axis].manual) {
      m_axes[axis].min = ranges[axis].min;
      m_axes[axis].max = ranges[axis].max;
    }
  }
  m_bAutoAssign = automaticAssignment;
  m_dOverallMin = std::min({m_dOverallMin, m_axes[0].min, m_axes[1].min});
  m_dOverallMax = std::max({m_dOverallMax, m_axes[0].max, m_axes[1].max});
  Redraw();
}

void CChartViewModel::SetTagDisplayType(int type) {
  m_nTagDisplayType = type;
  settings::Write(m_context.settings, settings::kTagDisplayType, type);
  for (int i = 0; i < m_nItemCount; ++i) {
    const CVelmoraChartItem& item = m_items[static_cast<size_t>(i)];
    if (CChartLineSerie* serie = m_chart.Serie(item.m_nSerieId))
      serie->SetName(SerieName(item));
  }
}

void CChartViewModel::ApplySerieAttributes() {
  for (int i = 0; i < m_nItemCount; ++i) {
    const CVelmoraChartItem& item = m_items[static_cast<size_t>(i)];
    CChartLineSerie* serie = m_chart.Serie(item.m_nSerieId);
    if (serie == nullptr)
      continue;
    serie->SetName(SerieName(item));
    serie->SetVisible(item.m_bShown);
    serie->SetColour(item.m_color);
    serie->SetStyle(static_cast<ChartLineStyle>(std::clamp(item.m_nLineStyle, 0, 4)));
    m_chart.RebindVertical(item.m_nSerieId, item.m_nAxis == kChartRightAxis ? ChartAxisSlot::kRight
                                                                            : ChartAxisSlot::kLeft);
  }
}

void ApplyChartLegend(const ChartLegendSettings& settings, CChartModel& chart) {
  ChartLegend& legend = chart.Legend();
  legend.visible = settings.shown;
  legend.side = static_cast<ChartLegendSide>(std::clamp(settings.position, 0, 3));
  legend.shadow = settings.shadow;
  legend.transparent = settings.transparent;
  legend.background = settings.color;
  legend.layout =
      settings.horizontal ? ChartLegendLayout::kHorizontal : ChartLegendLayout::kVertical;
}

void ApplyChartTitle(const ChartTitleSettings& settings, CChartModel& chart) {
  ChartTitle& title = chart.Title();
  title.lines = {settings.line1, settings.line2};
  title.font.face = settings.face;
  // The title dialog's sizes are points; the chart's font sizes are tenths of points
  // scaled by half, as the title always had.
  title.font.tenthsOfPoint = settings.size * 5;
  title.font.bold = settings.bold;
  title.italic = settings.italic;
  title.underline = settings.underline;
  title.color = settings.color;
  title.visible = settings.shown;
}

void CChartViewModel::ApplyLegend() {
  ApplyChartLegend(m_legend, m_chart);
}

void CChartViewModel::ApplyTitle() {
  ApplyChartTitle(m_title, m_chart);
}
