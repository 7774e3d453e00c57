#include "chart/gui/chart_colour_button.h"

#include <QColorDialog>
#include <QPixmap>

#include "ui/colour_ref.h"

CChartColourButton::CChartColourButton(QWidget* parent) : QPushButton(parent) {
  setMinimumWidth(64);
  connect(this, &QPushButton::clicked, this, &CChartColourButton::Choose);
  SetColour(0);
}

void CChartColourButton::SetColour(ChartColour colour) {
  m_colour = colour;
  QPixmap swatch(40, 14);
  swatch.fill(ColourFromColorRef(colour));
  setIcon(swatch);
  setIconSize(swatch.size());
  emit ColourChanged(colour);
}

void CChartColourButton::Choose() {
  const QColor chosen = QColorDialog::getColor(ColourFromColorRef(m_colour), this);
  if (chosen.isValid())
    SetColour(ColorRefFromColour(chosen));
}
