#pragma once
// A row of panels that wraps into more rows when the width is too small for them side by
// side, so a narrow window never needs to scroll sideways to reach a panel's fields.
#include <QWidget>
#include <vector>

class QGridLayout;

class CPanelFlow : public QWidget {
 public:
  explicit CPanelFlow(QWidget* parent = nullptr);
  // Adds a panel; stretch is its share of a row's spare width.
  void AddPanel(QWidget* panel, int stretch);
  // How many panels share a row now.
  int Columns() const { return m_nColumns; }
  // As narrow as the widest panel: the panels wrap rather than widen what holds them.
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The most panels, in order, that fit side by side in width (at least one).
  int ColumnsFor(int width) const;
  void Arrange(int columns);

  QGridLayout* m_pGrid;
  std::vector<QWidget*> m_panels;
  std::vector<int> m_stretches;
  int m_nColumns = 0;
};
