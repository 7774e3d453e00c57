#pragma once
// CChartViewModel: everything the chart view decides, without a window. It owns the 256
// chart items and their series on a chart model, reads the data table of its mode
// through IChartRowSource, and implements the redraw (window, decimation, values, the
// two vertical axes), the live refresh divider and the paging. The Qt view shows its
// fields and forwards its buttons. Thread rule: GUI thread.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/app_context.h"
#include "chart/chart_axis_rules.h"
#include "chart/chart_model.h"
#include "chart/chart_real_time_rows.h"
#include "chart/chart_refresh_pacer.h"
#include "chart/chart_row_source.h"
#include "chart/chart_view_rules.h"
#include "db/db_result.h"
#include "db/query_cell.h"

inline constexpr int kMaxChartItems = 256;
// A window of more rows than this is drawn from the source's block extremes when it keeps
// them (a recording read in pages); up to it, from the rows.
inline constexpr int kChartSummaryMinRows = 8 * kChartMaxPoints;
inline constexpr int kNoChartAcquisition = -1;

struct CVelmoraChartItem {
  std::string m_sQualifiedId;
  std::string m_sShortId;
  std::string m_sDescription;
  int m_nItemType = 0;
  uint16_t m_nDataType = 0;
  int m_nTableColumn = -1;
  double m_dMin = -1.0;
  double m_dMax = -1.0;
  int m_nSerieId = -1;
  bool m_bShown = true;
  ChartColour m_color = 0;
  int m_nLineStyle = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
  int m_nAxis = kChartLeftAxis;
  bool m_bZeroBased = true;
};

struct ChartTitleSettings {
  bool shown = true;
  std::string line1 = "OPC Data Chart";
  std::string line2 = "Velmora 2.0 - www.quorix.example";
  std::string face = "Arial";
  int size = 18;
  bool italic = false;
  bool bold = true;
  bool underline = false;
  ChartColour color = 16711680;
};

struct ChartLegendSettings {
  bool shown = true;
  int position = 0;  // 0 right, 1 left, 2 top, 3 bottom
  bool horizontal = false;
  bool shadow = true;
  bool transparent = false;
  ChartColour color = 14205120;
};

// The legend and title settings on a chart (the view's and the dialogs' previews).
void ApplyChartLegend(const ChartLegendSettings& settings, CChartModel& chart);
void ApplyChartTitle(const ChartTitleSettings& settings, CChartModel& chart);

// The item query: fills the cells of a statement's result (CSQLite::GetQueryData); the column
// count of the result.
using ChartItemQuery =
    std::function<DbResult<int>(const std::string& statement, std::vector<QueryCell>&)>;

// The statement that lists the items of an acquisition.
std::string ChartItemStatement(int acquisitionId);

class CChartViewModel {
 public:
  CChartViewModel(AppContext& context, CChartModel& chart);

  // ---- Set-up ----
  // Reads ChartTimeSpan and ChartBkgColor and creates the three axes.
  void Create();
  void SetLiveMode(bool live) { m_bLive = live; }
  bool IsLiveMode() const { return m_bLive; }
  // The table to draw (null: none) and the acquisition it holds.
  // The times are read in the order of real time (CRealTimeRowSource): a step back of
  // the clocks does not fold the rows after it onto the hour before.
  void SetSource(const IChartRowSource* source);
  const IChartRowSource* Source() const { return m_pTable; }
  // Another acquisition than the one drawn builds the series anew at the next redraw.
  void SetAcquisitionId(int id) {
    m_nAcquisitionId = id;
    if (id != m_nDrawnAcquisitionId)
      m_bNeedBuild = true;
  }
  int AcquisitionId() const { return m_nAcquisitionId; }
  // The acquisition period (ms) that predicts the row of a time.
  void SetAcquisitionPeriodMs(uint32_t periodMs) { m_nPeriodMs = periodMs; }
  void SetItemQuery(ChartItemQuery query) { m_fnQuery = std::move(query); }
  // Called once the chart has been asked to redraw, while the redraw is timed: the view
  // paints there, so that the refresh divider measures the painting too.
  void SetPaintHook(std::function<void()> hook) { m_fnPaint = std::move(hook); }

  // ---- The view's events ----
  // The view became visible: fields, legend and title, series when the acquisition
  // changed, redraw.
  void OnShown();
  void InitFields();
  // The series anew from the item query.
  void BuildSeries();
  void Redraw();
  // The live acquisition's notice after a cycle (base period in ms). True when it redrew.
  bool OnCycleNotice(uint32_t basePeriodMs, bool visible);
  // Back to no acquisition (close-project sequence).
  void Reset();

  // ---- Navigation (false: refused) ----
  bool First();
  bool Last();
  bool Back(bool page);
  bool Forward(bool page);
  // "Page Time Span: " position (-1 none); stored in ChartTimeSpan.
  void SetSpanPosition(int position);
  // "Update Chart" with the page start; false (after the message) when the page would
  // end before the acquisition start.
  bool UpdateChart(double pageStart);
  void SetRealTime(bool realTime);
  bool IsRealTime() const { return m_bRealTime; }

  // ---- State shown by the view ----
  int RowCount() const { return m_pSource != nullptr ? m_pSource->RowCount() : 0; }
  bool HasEnoughRows() const { return RowCount() >= 2; }
  double AcquisitionStart() const { return m_dAcquisitionStart; }
  // Live: the time of the last acquisition; project: the end of the acquisition.
  double LastTime() const { return m_dLastTime; }
  double WindowStart() const { return m_dWindowStart; }
  double WindowEnd() const { return m_dWindowEnd; }
  int SpanMinutes() const { return m_nSpanMinutes; }
  int PointCount() const { return m_nPoints; }
  int DecimationStep() const { return m_nStep; }
  int DrawnPoints() const { return m_nDrawn; }
  int RefreshDivider() const { return m_pacer.Divider(); }
  int LastRedrawMs() const { return m_pacer.LastRedrawMs(); }
  double OverallMin() const { return m_dOverallMin; }
  double OverallMax() const { return m_dOverallMax; }

  // ---- Settings of the dialogs ----
  int ItemCount() const { return m_nItemCount; }
  CVelmoraChartItem& Item(int index) { return m_items[static_cast<size_t>(index)]; }
  const CVelmoraChartItem& Item(int index) const { return m_items[static_cast<size_t>(index)]; }
  ChartAxisRange& AxisRange(int axis) { return m_axes[axis == kChartRightAxis ? 1 : 0]; }
  const ChartAxisRange& AxisRange(int axis) const {
    return m_axes[axis == kChartRightAxis ? 1 : 0];
  }
  bool AutomaticAssignment() const { return m_bAutoAssign; }
  void SetAutomaticAssignment(bool on) { m_bAutoAssign = on; }
  // Keep Peaks: every drawn point pair is the minimum and maximum of its run of rows.
  bool KeepPeaks() const { return m_bKeepPeaks; }
  void SetKeepPeaks(bool on) { m_bKeepPeaks = on; }
  // "Manual Range": the axis keeps its present range.
  void SetAxisManual(int axis, bool manual);
  // The axis range dialog: the range as entered, the axis manual, the overall range
  // widened.
  void SetAxisRange(int axis, double minimum, double maximum);
  // The axis attributes dialog: both modes, the manual ranges, automatic assignment.
  void SetAxisAttributes(const ChartAxisRange ranges[2], bool automaticAssignment);
  ChartTitleSettings& Title() { return m_title; }
  ChartLegendSettings& Legend() { return m_legend; }
  ChartColour BackgroundColour() const { return m_background; }
  void SetBackgroundColour(ChartColour color) { m_background = color; }
  // TagDisplayType: 0 qualified id, 1 short id, 2 description.
  int TagDisplayType() const { return m_nTagDisplayType; }
  void SetTagDisplayType(int type);
  // Gives every series its item's name, visibility, colour, line style and axis.
  void ApplySerieAttributes();
  void ApplyLegend();
  void ApplyTitle();

  CChartModel& Chart() { return m_chart; }

 private:
  std::string SerieName(const CVelmoraChartItem& item) const;
  int PeriodSeconds() const;
  int FindRow(double target, bool atOrAfter) const;
  // Fills the series from rows [first, last] (decimated, by peaks with Keep Peaks, or from
  // the source's block extremes for a window of many rows), then each shown item's range.
  void FillSeries(int first, int last);
  void FitAxes(double windowStart, double windowEnd);
  void MoveWindowStart(double start);

  AppContext& m_context;
  CChartModel& m_chart;
  std::array<CVelmoraChartItem, kMaxChartItems> m_items;
  int m_nItemCount = 0;
  bool m_bLive = true;
  const IChartRowSource* m_pTable = nullptr;
  std::unique_ptr<CRealTimeRowSource> m_pRealTime;
  const IChartRowSource* m_pSource = nullptr;  // the table read in real time order
  ChartItemQuery m_fnQuery;
  std::function<void()> m_fnPaint;
  int m_nAcquisitionId = kNoChartAcquisition;
  int m_nDrawnAcquisitionId = kNoChartAcquisition;
  uint32_t m_nPeriodMs = 1000;
  bool m_bNeedBuild = true;
  bool m_bRealTime = false;
  CChartRefreshPacer m_pacer;
  double m_dAcquisitionStart = 0.0;
  double m_dLastTime = 0.0;
  double m_dWindowStart = 0.0;
  double m_dWindowEnd = 0.0;
  int m_nSpanMinutes = 60;
  int m_nPoints = 0;
  int m_nStep = 1;
  int m_nDrawn = 0;
  double m_dOverallMin = kChartEmptyMin;
  double m_dOverallMax = kChartEmptyMax;
  ChartAxisRange m_axes[2];
  bool m_bAutoAssign = true;
  bool m_bKeepPeaks = false;
  ChartTitleSettings m_title;
  ChartLegendSettings m_legend;
  ChartColour m_background = 16767935;
  int m_nTagDisplayType = 0;
  // The preallocated buffers of one redraw: times, and the values of every series.
  std::vector<double> m_vTimes;
  std::vector<double> m_vValues;
  std::vector<double> m_vRow;
};
