#pragma once
// CChartModel: what a chart control holds, without its window. Four axis slots (left,
// bottom, right, top), the line series keyed by id in id order, the title, the legend,
// the colours, and the redraw-suspension counter (nested suspensions redraw once).
// Layout() computes one redraw's rectangles and gives every axis its pixels and ticks;
// the painter then draws what the model says. Qt-free. Thread rule: GUI thread.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/chart_serie.h"

struct ChartRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const ChartRect&) const = default;
};

struct ChartSize {
  int width = 0;
  int height = 0;
};

// How the painter's fonts measure a text (the widget's, an image's or a test's metrics).
class IChartTextMeasure {
 public:
  virtual ~IChartTextMeasure() = default;
  virtual ChartSize Measure(const std::string& text, const ChartFont& font) const = 0;
};

struct ChartTitle {
  std::vector<std::string> lines;
  ChartFont font{"Microsoft Sans Serif", 100, false};
  bool italic = false;
  bool underline = false;
  ChartColour color = ChartRgb(0, 0, 0);
  bool visible = true;
};

enum class ChartLegendSide : int { kRight = 0, kLeft, kTop, kBottom };
// How the entries follow each other: by the side (a column beside the plot, a row above
// or below it), or always in a row or always in a column.
enum class ChartLegendLayout : int { kBySide = 0, kHorizontal, kVertical };

struct ChartLegend {
  bool visible = false;
  ChartLegendSide side = ChartLegendSide::kRight;
  ChartFont font;
  ChartColour textColor = ChartRgb(0, 0, 0);
  ChartColour background = ChartRgb(255, 255, 255);
  bool transparent = false;
  bool shadow = true;
  ChartLegendLayout layout = ChartLegendLayout::kBySide;
  // True when the entries stand in a column.
  bool IsVertical() const {
    if (layout != ChartLegendLayout::kBySide)
      return layout == ChartLegendLayout::kVertical;
    return side == ChartLegendSide::kLeft || side == ChartLegendSide::kRight;
  }
};

// The legend's entries in a grid of equal cells: a column legend fills its columns one
// after the other, a row legend its rows. Bounded to a share of the chart, it wraps into
// more columns or rows; entries beyond the last cell that fits are left out.
struct ChartLegendGrid {
  int columns = 0;
  int rows = 0;
  int cellWidth = 0;  // symbol, name and margins; a name wider than the legend is cut
  int rowHeight = 0;
  bool columnMajor = true;
  int shown = 0;  // entries drawn (the others did not fit)
  // The cell of the n-th drawn entry: column and row.
  int Column(int n) const { return columnMajor ? n / std::max(rows, 1) : n % std::max(columns, 1); }
  int Row(int n) const { return columnMajor ? n % std::max(rows, 1) : n / std::max(columns, 1); }
};

// The share of the chart a legend may take: across the chart beside the plot, and down
// the chart above or below it.
inline constexpr double kLegendSideShare = 0.4;
inline constexpr double kLegendTopShare = 0.35;
// A legend cell cut to share the width keeps at least this much (symbol and some name).
inline constexpr int kLegendMinCellWidth = 96;

// One redraw's places, in pixels of the client rectangle.
struct ChartLayout {
  ChartRect client;
  ChartRect title;   // empty when there is no title
  ChartRect legend;  // empty when hidden
  ChartLegendGrid legendGrid;
  ChartRect plot;  // inside the axes
  // The room each slot's axis took: labels, ticks and caption.
  ChartRect axisBand[4];
};

inline constexpr int kChartMargin = 4;
inline constexpr int kChartTickLength = 4;
inline constexpr int kLegendSymbolWidth = 24;

class CChartModel {
 public:
  CChartModel() = default;
  ~CChartModel();
  CChartModel(const CChartModel&) = delete;
  CChartModel& operator=(const CChartModel&) = delete;

  // Replaces the slot's axis (its series keep no binding to the old one).
  CChartAxis& CreateStandardAxis(ChartAxisSlot slot);
  CChartAxis& CreateDateTimeAxis(ChartAxisSlot slot);
  // Null for an empty slot.
  CChartAxis* Axis(ChartAxisSlot slot) const;

  // A line series bound to two axes (which must exist); its id.
  int CreateLineSerie(ChartAxisSlot horizontal, ChartAxisSlot vertical);
  CChartLineSerie* Serie(int id) const;
  // Binds the series to another vertical axis.
  bool RebindVertical(int id, ChartAxisSlot vertical);
  void RemoveSerie(int id);
  void RemoveAllSeries();
  // Series in id order.
  std::vector<const CChartLineSerie*> Series() const;

  ChartTitle& Title() { return m_title; }
  const ChartTitle& Title() const { return m_title; }
  ChartLegend& Legend() { return m_legend; }
  const ChartLegend& Legend() const { return m_legend; }
  ChartColour BackgroundColour() const { return m_background; }
  void SetBackgroundColour(ChartColour color) { m_background = color; }
  ChartColour BorderColour() const { return m_border; }
  void SetBorderColour(ChartColour color) { m_border = color; }

  // Redraw suspension: false suspends, true resumes; the redraw handler runs when the
  // last suspension is resumed, and on RequestRedraw while nothing is suspended.
  void EnableRefresh(bool enable);
  bool IsRefreshSuspended() const { return m_nSuspensions > 0; }
  void RequestRedraw();
  void SetRedrawHandler(std::function<void()> handler) { m_redraw = std::move(handler); }

  // One redraw's layout for a client rectangle: the title on top, the legend on its
  // side, the axes around the plotting rectangle; every axis gets its pixels, its
  // automatic range and its ticks.
  ChartLayout Layout(const ChartRect& client, const IChartTextMeasure& measure);

 private:
  CChartAxis& PlaceAxis(ChartAxisSlot slot, std::unique_ptr<CChartAxis> axis);
  // The room of one axis's labels, ticks and caption across the axis.
  int AxisRoom(const CChartAxis& axis, const IChartTextMeasure& measure) const;
  // The legend's grid inside room (width and height it may take at most).
  ChartLegendGrid LegendGrid(const IChartTextMeasure& measure, int maxWidth, int maxHeight) const;
  void SetAxisPixels(const ChartRect& plot);

  std::unique_ptr<CChartAxis> m_axes[4];
  std::map<int, std::unique_ptr<CChartLineSerie>> m_series;
  int m_nNextSerieId = 0;
  ChartTitle m_title;
  ChartLegend m_legend;
  ChartColour m_background = ChartRgb(255, 255, 255);
  ChartColour m_border = ChartRgb(0, 0, 0);
  int m_nSuspensions = 0;
  std::function<void()> m_redraw;
};
