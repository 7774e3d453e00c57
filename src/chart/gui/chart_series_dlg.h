#pragma once
// "Select Chart Data Serie": one checkable row per chart item with its colour, line
// style, range and axis; the attributes of the selected row; select and unselect all;
// automatic axis selection and Keep Peaks. Works on its rows; Apply gives them to the
// view model (OK), Cancel leaves it as it was. Thread rule: GUI thread.
#include <QDialog>

#include "chart/chart_view_model.h"

class CChartColourButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// Line styles and axes by name, as the dialogs list them.
const char* ChartLineStyleName(int style);
int ChartLineStyleValue(const QString& name);
const char* ChartAxisName(int axis);

class CChartSeriesDlg : public QDialog {
  Q_OBJECT
 public:
  enum Column { kQualified = 0, kShort, kColour, kStyle, kMin, kMax, kAxis, kColumnCount };

  CChartSeriesDlg(CChartViewModel& model, int decimals, QWidget* parent = nullptr);
  // OK: the rows' checks, colours, styles and axes into the chart items, automatic
  // assignment and Keep Peaks.
  void Apply();

  QTreeWidget* List() const { return m_pList; }
  QLabel* SeriesCount() const { return m_pCount; }
  QLabel* SelectedCount() const { return m_pSelected; }
  CChartColourButton* ColourButton() const { return m_pColour; }
  QComboBox* StyleList() const { return m_pStyle; }
  QComboBox* AxisList() const { return m_pAxis; }
  QCheckBox* DisplayCheck() const { return m_pDisplay; }
  QCheckBox* AutomaticAxis() const { return m_pAutomatic; }
  QCheckBox* KeepPeaks() const { return m_pKeepPeaks; }
  // "Update Serie Attributes", "Select All Data Series", "Unselect All Data Series".
  void UpdateSelectedRow();
  void CheckAll(bool checked);

 private:
  void OnRowSelected();
  void CountSelected();

  CChartViewModel& m_model;
  QTreeWidget* m_pList;
  QLabel* m_pCount;
  QLabel* m_pSelected;
  QLineEdit* m_pQualified;
  QLineEdit* m_pMin;
  QLineEdit* m_pMax;
  QCheckBox* m_pDisplay;
  CChartColourButton* m_pColour;
  QComboBox* m_pStyle;
  QComboBox* m_pAxis;
  QCheckBox* m_pAutomatic;
  QCheckBox* m_pKeepPeaks;
};
