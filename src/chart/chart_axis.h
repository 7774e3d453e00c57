#pragma once
// CChartAxis: one axis of a chart, the mapping between its values and the pixels along
// it, its automatic range over the series bound to it, its scroll steps and its ticks
// (the kinds say where the ticks are and how they read). Qt-free; the painter asks it
// for pixels, ticks and labels.
#include <cstdint>
#include <string>
#include <vector>

class CChartSerie;

// 0x00BBGGRR, as the settings store colours.
using ChartColour = uint32_t;
inline constexpr ChartColour ChartRgb(int r, int g, int b) {
  return static_cast<ChartColour>(r) | (static_cast<ChartColour>(g) << 8) |
         (static_cast<ChartColour>(b) << 16);
}

enum class ChartAxisSlot : int { kLeft = 0, kBottom = 1, kRight = 2, kTop = 3 };

struct ChartFont {
  std::string face = "Microsoft Sans Serif";
  int tenthsOfPoint = 80;
  bool bold = false;
};

class CChartAxis {
 public:
  virtual ~CChartAxis() = default;

  bool IsHorizontal() const { return m_bHorizontal; }
  void SetHorizontal(bool horizontal) { m_bHorizontal = horizontal; }
  bool IsInverted() const { return m_bInverted; }
  void SetInverted(bool inverted) { m_bInverted = inverted; }
  bool IsVisible() const { return m_bVisible; }
  void SetVisible(bool visible) { m_bVisible = visible; }
  bool IsDiscrete() const { return m_bDiscrete; }
  void SetDiscrete(bool discrete) { m_bDiscrete = discrete; }

  double Min() const { return m_dMin; }
  double Max() const { return m_dMax; }
  void SetMinMax(double minimum, double maximum);
  // 0 manual (the bounds last set), 1 automatic over the bound series.
  bool IsAutomatic() const { return m_bAutomatic; }
  void SetAutomatic(bool automatic);

  // Along the axis: a horizontal axis runs left to right from start to end; a vertical
  // one from its bottom pixel (start) up to its top pixel (end).
  void SetPixels(int start, int end) { m_nPixelStart = start, m_nPixelEnd = end; }
  int PixelStart() const { return m_nPixelStart; }
  int PixelEnd() const { return m_nPixelEnd; }
  int PixelLength() const;

  int ValueToScreen(double value) const;
  double ScreenToValue(int pixel) const;

  // The series whose extents make the automatic range.
  void BindSerie(const CChartSerie* serie);
  void UnbindSerie(const CChartSerie* serie);
  const std::vector<const CChartSerie*>& Series() const { return m_series; }
  // Automatic mode: the bounds become the smallest and largest extent of the bound
  // series. True when they changed (the chart then redraws).
  bool RefreshAutomaticRange();

  // Ticks for the current range and pixel length (call after SetPixels).
  virtual void RefreshTicks() = 0;
  virtual double FirstTick() const = 0;
  // The tick after tick; a value above Max() ends the ticks.
  virtual double NextTick(double tick) const = 0;
  virtual std::string TickLabel(double tick) const = 0;
  // Every tick within the range, in order (at most a few thousand).
  std::vector<double> Ticks() const;
  // Where a tick's label goes: at the tick, or half-way to the next in discrete mode.
  double LabelValue(double tick) const;

  // Scroll bar: the number of steps of a tenth of the visible range over the full
  // extent, and a move of both bounds by steps tenths.
  int ScrollStepCount(double fullMin, double fullMax) const;
  void ScrollBySteps(int steps);

  ChartFont& LabelFont() { return m_labelFont; }
  const ChartFont& LabelFont() const { return m_labelFont; }
  ChartColour LabelColour() const { return m_labelColour; }
  void SetLabelColour(ChartColour color) { m_labelColour = color; }
  bool IsGridVisible() const { return m_bGridVisible; }
  void SetGridVisible(bool visible) { m_bGridVisible = visible; }
  ChartColour GridColour() const { return m_gridColour; }
  void SetGridColour(ChartColour color) { m_gridColour = color; }
  const std::string& Caption() const { return m_sCaption; }
  void SetCaption(const std::string& caption) { m_sCaption = caption; }

 protected:
  // Ticks a label can stand on per pixel: 30 pixels apart horizontally, 20 vertically.
  int TickCountFor(int pixelsPerTick) const;

 private:
  bool m_bHorizontal = true;
  bool m_bInverted = false;
  bool m_bVisible = true;
  bool m_bDiscrete = false;
  bool m_bAutomatic = false;
  double m_dMin = 0.0;
  double m_dMax = 0.0;
  int m_nPixelStart = 0;
  int m_nPixelEnd = 0;
  std::vector<const CChartSerie*> m_series;
  ChartFont m_labelFont;
  ChartColour m_labelColour = ChartRgb(0, 0, 0);
  bool m_bGridVisible = true;
  ChartColour m_gridColour = ChartRgb(128, 128, 128);
  std::string m_sCaption;
};
