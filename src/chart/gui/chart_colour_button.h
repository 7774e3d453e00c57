#pragma once
// CChartColourButton: a push button showing a colour swatch; a click asks for a new
// colour. The chart dialogs' "Serie Color: ", "Background Color: ", "Font Color: " and
// "Chart Background Color: " buttons. Thread rule: GUI thread.
#include <QColor>
#include <QPushButton>

#include "chart/chart_axis.h"

class CChartColourButton : public QPushButton {
  Q_OBJECT
 public:
  explicit CChartColourButton(QWidget* parent = nullptr);
  ChartColor Colour() const { return m_colour; }
  void SetColour(ChartColor colour);

 signals:
  void ColourChanged(ChartColor colour);

 private:
  void Choose();

  ChartColor m_colour = 0;
};
