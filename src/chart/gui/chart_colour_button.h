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
  ChartColour Colour() const { return m_colour; }
  void SetColour(ChartColour colour);

 signals:
  void ColourChanged(ChartColour colour);

 private:
  void Choose();

  ChartColour m_colour = 0;
};
