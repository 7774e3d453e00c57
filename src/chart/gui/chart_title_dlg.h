#pragma once
// "Set Chart Title": the two title lines, the font face, style, size and colour, the
// chart background, with a preview that shows every change at once.
// Thread rule: GUI thread.
#include <QDialog>

#include "chart/chart_view_model.h"

class CChartColourButton;
class CChartPreview;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CChartTitleDlg : public QDialog {
  Q_OBJECT
 public:
  CChartTitleDlg(CChartViewModel& model, QWidget* parent = nullptr);
  // OK: the title rebuilt from the fields.
  void Apply();

  QCheckBox* ShowCheck() const { return m_pShow; }
  QLineEdit* TitleField() const { return m_pLine1; }
  QLineEdit* SubTitleField() const { return m_pLine2; }
  QComboBox* FontList() const { return m_pFont; }
  QComboBox* SizeList() const { return m_pSize; }
  QCheckBox* ItalicCheck() const { return m_pItalic; }
  QCheckBox* BoldCheck() const { return m_pBold; }
  QCheckBox* UnderlineCheck() const { return m_pUnderline; }
  CChartColourButton* ColourButton() const { return m_pColour; }
  CChartColourButton* BackgroundButton() const { return m_pBackground; }
  CChartPreview* Preview() const { return m_pPreview; }
  ChartTitleSettings Settings() const;

 private:
  void Refresh();

  CChartViewModel& m_model;
  QCheckBox* m_pShow;
  QLineEdit* m_pLine1;
  QLineEdit* m_pLine2;
  QComboBox* m_pFont;
  QCheckBox* m_pItalic;
  QCheckBox* m_pBold;
  QCheckBox* m_pUnderline;
  QComboBox* m_pSize;
  CChartColourButton* m_pColour;
  CChartColourButton* m_pBackground;
  CChartPreview* m_pPreview;
};
