#include "chart/chart_model.h"

#include <algorithm>

#include "chart/chart_datetime_axis.h"
#include "chart/chart_standard_axis.h"

namespace {

int SlotIndex(ChartAxisSlot slot) {
  return static_cast<int>(slot);
}

// Line colours of new series, in turn.
// Sixteen colours that stay apart from each other and from the light backgrounds.
constexpr ChartColour kSerieColours[] = {
    ChartRgb(0, 0, 255),   ChartRgb(255, 0, 0),   ChartRgb(0, 160, 0),     ChartRgb(255, 128, 0),
    ChartRgb(128, 0, 128), ChartRgb(0, 160, 160), ChartRgb(160, 160, 0),   ChartRgb(96, 96, 96),
    ChartRgb(0, 0, 128),   ChartRgb(160, 0, 64),  ChartRgb(0, 96, 0),      ChartRgb(160, 96, 32),
    ChartRgb(224, 0, 224), ChartRgb(0, 112, 192), ChartRgb(128, 128, 255), ChartRgb(0, 0, 0),
};

}  // namespace

CChartModel::~CChartModel() {
  m_series.clear();  // the series leave their axes while these still exist
}

CChartAxis& CChartModel::PlaceAxis(ChartAxisSlot slot, std::unique_ptr<CChartAxis> axis) {
  for (auto& [id, serie] : m_series) {
    if (serie->HorizontalAxis() == Axis(slot) || serie->VerticalAxis() == Axis(slot))
      serie->SetAxes(nullptr, nullptr);
  }
  axis->SetHorizontal(slot == ChartAxisSlot::kBottom || slot == ChartAxisSlot::kTop);
  m_axes[SlotIndex(slot)] = std::move(axis);
  return *m_axes[SlotIndex(slot)];
}

CChartAxis& CChartModel::CreateStandardAxis(ChartAxisSlot slot) {
  return PlaceAxis(slot, std::make_unique<CChartStandardAxis>());
}

CChartAxis& CChartModel::CreateDateTimeAxis(ChartAxisSlot slot) {
  return PlaceAxis(slot, std::make_unique<CChartDateTimeAxis>());
}

CChartAxis* CChartModel::Axis(ChartAxisSlot slot) const {
  return m_axes[SlotIndex(slot)].get();
}

int CChartModel::CreateLineSerie(ChartAxisSlot horizontal, ChartAxisSlot vertical) {
  auto serie = std::make_unique<CChartLineSerie>();
  // By the series' place, not its id: series built anew get the same colours again.
  serie->SetColour(kSerieColours[m_series.size() % std::size(kSerieColours)]);
  serie->SetAxes(Axis(horizontal), Axis(vertical));
  const int id = m_nNextSerieId++;
  m_series[id] = std::move(serie);
  return id;
}

CChartLineSerie* CChartModel::Serie(int id) const {
  const auto found = m_series.find(id);
  return found != m_series.end() ? found->second.get() : nullptr;
}

bool CChartModel::RebindVertical(int id, ChartAxisSlot vertical) {
  CChartLineSerie* serie = Serie(id);
  if (serie == nullptr || Axis(vertical) == nullptr)
    return false;
  serie->SetAxes(serie->HorizontalAxis(), Axis(vertical));
  return true;
}

void CChartModel::RemoveSerie(int id) {
  m_series.erase(id);
}

void CChartModel::RemoveAllSeries() {
  m_series.clear();
}

std::vector<const CChartLineSerie*> CChartModel::Series() const {
  std::vector<const CChartLineSerie*> series;
  for (const auto& [id, serie] : m_series)
    series.push_back(serie.get());
  return series;
}

void CChartModel::EnableRefresh(bool enable) {
  if (!enable) {
    ++m_nSuspensions;
    return;
  }
  if (m_nSuspensions == 0)
    return;  // a resume without a suspension redraws nothing
  if (--m_nSuspensions == 0 && m_redraw)
    m_redraw();
}

void CChartModel::RequestRedraw() {
  if (m_nSuspensions == 0 && m_redraw)
    m_redraw();
}

int CChartModel::AxisRoom(const CChartAxis& axis, const IChartTextMeasure& measure) const {
  if (!axis.IsVisible())
    return 0;
  int labels = 0;
  for (double tick : axis.Ticks()) {
    const ChartSize size = measure.Measure(axis.TickLabel(tick), axis.LabelFont());
    labels = std::max(labels, axis.IsHorizontal() ? size.height : size.width);
  }
  int caption = 0;
  if (!axis.Caption().empty()) {
    // A vertical axis's caption is turned on its side: its height stands across the axis.
    caption = measure.Measure(axis.Caption(), axis.LabelFont()).height + kChartMargin;
  }
  return kChartTickLength + kChartMargin + labels + caption;
}

ChartLegendGrid CChartModel::LegendGrid(const IChartTextMeasure& measure, int maxWidth,
                                        int maxHeight) const {
  ChartLegendGrid grid;
  int entries = 0;
  int widest = 0;
  for (const auto& [id, serie] : m_series) {
    if (!serie->IsVisible())
      continue;
    const ChartSize text = measure.Measure(serie->Name(), m_legend.font);
    widest = std::max(widest, text.width);
    grid.rowHeight = std::max(grid.rowHeight, text.height);
    ++entries;
  }
  if (entries == 0 || grid.rowHeight <= 0)
    return grid;
  const int innerWidth = maxWidth - kChartMargin;
  const int innerHeight = maxHeight - 2 * kChartMargin;
  grid.cellWidth =
      std::max(1, std::min(kLegendSymbolWidth + widest + 2 * kChartMargin, innerWidth));
  const int fitRows = std::max(1, innerHeight / grid.rowHeight);
  grid.columnMajor = m_legend.IsVertical();
  if (grid.columnMajor) {
    // The columns that every entry needs share the width, names cut, down to a minimum.
    const int needed = (entries + fitRows - 1) / fitRows;
    grid.cellWidth = std::min(grid.cellWidth, std::max(kLegendMinCellWidth, innerWidth / needed));
  }
  const int fitColumns = std::max(1, innerWidth / grid.cellWidth);
  if (grid.columnMajor) {
    grid.rows = std::min(entries, fitRows);
    grid.columns = std::min((entries + grid.rows - 1) / grid.rows, fitColumns);
  } else {
    grid.columns = std::min(entries, fitColumns);
    grid.rows = std::min((entries + grid.columns - 1) / grid.columns, fitRows);
  }
  grid.shown = std::min(entries, grid.columns * grid.rows);
  return grid;
}

void CChartModel::SetAxisPixels(const ChartRect& plot) {
  for (int slot = 0; slot < 4; ++slot) {
    CChartAxis* axis = m_axes[slot].get();
    if (axis == nullptr)
      continue;
    if (axis->IsHorizontal())
      axis->SetPixels(plot.left, plot.right);
    else
      axis->SetPixels(plot.bottom, plot.top);
    axis->RefreshAutomaticRange();
    axis->RefreshTicks();
  }
}

ChartLayout CChartModel::Layout(const ChartRect& client, const IChartTextMeasure& measure) {
  ChartLayout layout;
  layout.client = client;
  ChartRect room{client.left + kChartMargin, client.top + kChartMargin, client.right - kChartMargin,
                 client.bottom - kChartMargin};

  // 1. The title takes the top.
  if (m_title.visible && !m_title.lines.empty()) {
    int height = 0;
    for (const std::string& line : m_title.lines)
      height += measure.Measure(line, m_title.font).height;
    layout.title = {room.left, room.top, room.right, room.top + height};
    room.top += height + kChartMargin;
  }

  // 2. The legend on its side.
  if (m_legend.visible) {
    const bool beside =
        m_legend.side == ChartLegendSide::kLeft || m_legend.side == ChartLegendSide::kRight;
    const int maxWidth = beside ? static_cast<int>(room.Width() * kLegendSideShare) : room.Width();
    const int maxHeight =
        beside ? room.Height() : static_cast<int>(room.Height() * kLegendTopShare);
    layout.legendGrid = LegendGrid(measure, maxWidth, maxHeight);
    const ChartLegendGrid& grid = layout.legendGrid;
    const ChartSize size{grid.columns * grid.cellWidth + kChartMargin,
                         grid.rows * grid.rowHeight + 2 * kChartMargin};
    if (grid.shown > 0) {
      switch (m_legend.side) {
        case ChartLegendSide::kRight:
          layout.legend = {room.right - size.width, room.top, room.right, room.top + size.height};
          room.right -= size.width + kChartMargin;
          break;
        case ChartLegendSide::kLeft:
          layout.legend = {room.left, room.top, room.left + size.width, room.top + size.height};
          room.left += size.width + kChartMargin;
          break;
        case ChartLegendSide::kTop:
          layout.legend = {room.left, room.top, room.left + size.width, room.top + size.height};
          room.top += size.height + kChartMargin;
          break;
        case ChartLegendSide::kBottom:
          layout.legend = {room.left, room.bottom - size.height, room.left + size.width,
                           room.bottom};
          room.bottom -= size.height + kChartMargin;
          break;
      }
    }
  }

  // 3. The axes measure their room: ticks first on the room as it is, then again on the
  // plotting rectangle, whose size the labels decided.
  SetAxisPixels(room);
  int bands[4] = {};
  for (int slot = 0; slot < 4; ++slot) {
    if (m_axes[slot] != nullptr)
      bands[slot] = AxisRoom(*m_axes[slot], measure);
  }
  ChartRect plot{room.left + bands[SlotIndex(ChartAxisSlot::kLeft)],
                 room.top + bands[SlotIndex(ChartAxisSlot::kTop)],
                 room.right - bands[SlotIndex(ChartAxisSlot::kRight)],
                 room.bottom - bands[SlotIndex(ChartAxisSlot::kBottom)]};
  // Labels at the ends of a horizontal axis stand half outside it.
  plot.right = std::max(plot.left + 1, plot.right - kChartMargin);
  plot.bottom = std::max(plot.top + 1, plot.bottom);
  SetAxisPixels(plot);
  layout.plot = plot;
  layout.axisBand[SlotIndex(ChartAxisSlot::kLeft)] = {room.left, plot.top, plot.left, plot.bottom};
  layout.axisBand[SlotIndex(ChartAxisSlot::kRight)] = {plot.right, plot.top, room.right,
                                                       plot.bottom};
  layout.axisBand[SlotIndex(ChartAxisSlot::kTop)] = {plot.left, room.top, plot.right, plot.top};
  layout.axisBand[SlotIndex(ChartAxisSlot::kBottom)] = {plot.left, plot.bottom, plot.right,
                                                        room.bottom};
  return layout;
}
