#pragma once
// The axis dialogs of the chart view: "Set Axis Range" for one vertical axis (the range
// as entered, the axis manual) and "Set Chart Axis Attributes" for both (range types,
// manual ranges, automatic axis selection). Numbers show with the DecimalNbr decimals
// and read back with the decimal point whatever the locale. Thread rule: GUI thread.
#include <QDialog>

#include "chart/chart_view_model.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

class CChartAxisRangeDlg : public QDialog {
  Q_OBJECT
 public:
  CChartAxisRangeDlg(CChartViewModel& model, int axis, int decimals, QWidget* parent = nullptr);
  void Apply();
  QLineEdit* MinField() const { return m_pMin; }
  QLineEdit* MaxField() const { return m_pMax; }

 private:
  CChartViewModel& m_model;
  int m_nAxis;
  QLineEdit* m_pMin;
  QLineEdit* m_pMax;
};

class CChartAxisDlg : public QDialog {
  Q_OBJECT
 public:
  CChartAxisDlg(CChartViewModel& model, int decimals, QWidget* parent = nullptr);
  void Apply();
  QComboBox* TypeList(int axis) const { return m_pType[axis]; }
  QLineEdit* MinField(int axis) const { return m_pMin[axis]; }
  QLineEdit* MaxField(int axis) const { return m_pMax[axis]; }
  QCheckBox* AutomaticAxis() const { return m_pAutomatic; }

 private:
  void EnableFields();

  CChartViewModel& m_model;
  QComboBox* m_pType[2];
  QLineEdit* m_pMin[2];
  QLineEdit* m_pMax[2];
  QCheckBox* m_pAutomatic;
};
