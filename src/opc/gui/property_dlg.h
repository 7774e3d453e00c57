#pragma once
// CPropertyDlg: the read-only property sheet of a group or an item, a two-column grid
// ("Property", "Value") in categories, with the description of the selected property
// below. Thread rule: GUI thread.
#include <QDialog>

#include "opc/property_sheet.h"

class QLabel;
class QTreeWidget;

class CPropertyDlg : public QDialog {
  Q_OBJECT

 public:
  CPropertyDlg(const char* title, const char* caption, const std::vector<PropertyRow>& rows,
               QWidget* parent = nullptr);

  QTreeWidget* Grid() const { return m_pGrid; }
  QLabel* Description() const { return m_pDescription; }
  // The value shown for a property name; empty when there is none.
  QString Value(const QString& name) const;

 private:
  QTreeWidget* m_pGrid;
  QLabel* m_pDescription;
};
