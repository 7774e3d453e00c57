#pragma once
// "Set Chart Legend ": the legend's visibility, place, display mode, shadow,
// transparency and colour, the legend text (TagDisplayType) and the chart background,
// with a preview that shows every change at once. Thread rule: GUI thread.
#include <QDialog>

#include "chart/chart_view_model.h"

class CChartColourButton;
class CChartPreview;
class QCheckBox;
class QComboBox;

class CChartLegendDlg : public QDialog {
  Q_OBJECT
 public:
  CChartLegendDlg(CChartViewModel& model, QWidget* parent = nullptr);
  // OK: the legend settings, the legend text (stored) and the names of every series.
  void Apply();

  QCheckBox* ShowCheck() const { return m_pShow; }
  QComboBox* LocationList() const { return m_pLocation; }
  QComboBox* DisplayList() const { return m_pDisplay; }
  QCheckBox* ShadowCheck() const { return m_pShadow; }
  QCheckBox* TransparentCheck() const { return m_pTransparent; }
  CChartColourButton* ColourButton() const { return m_pColour; }
  QComboBox* TextList() const { return m_pText; }
  CChartColourButton* BackgroundButton() const { return m_pBackground; }
  CChartPreview* Preview() const { return m_pPreview; }
  ChartLegendSettings Settings() const;

 private:
  void Refresh();

  CChartViewModel& m_model;
  QCheckBox* m_pShow;
  QComboBox* m_pLocation;
  QComboBox* m_pDisplay;
  QCheckBox* m_pShadow;
  QCheckBox* m_pTransparent;
  CChartColourButton* m_pColour;
  QComboBox* m_pText;
  CChartColourButton* m_pBackground;
  CChartPreview* m_pPreview;
};
