#include "acquisition/gui/panel_flow.h"

#include <QGridLayout>
#include <QResizeEvent>
#include <algorithm>

CPanelFlow::CPanelFlow(QWidget* parent) : QWidget(parent), m_pGrid(new QGridLayout(this)) {
  m_pGrid->setContentsMargins(0, 0, 0, 0);
  m_pGrid->setHorizontalSpacing(8);
  m_pGrid->setVerticalSpacing(6);
}

void CPanelFlow::AddPanel(QWidget* panel, int stretch) {
  panel->setParent(this);
  m_panels.push_back(panel);
  m_stretches.push_back(stretch);
  Arrange(static_cast<int>(m_panels.size()));
}

int CPanelFlow::ColumnsFor(int width) const {
  const int spacing = m_pGrid->horizontalSpacing();
  const int count = static_cast<int>(m_panels.size());
  for (int columns = count; columns > 1; --columns) {
    // The panels of a grid column share its width: the widest of them sets it.
    int needed = -spacing;
    for (int column = 0; column < columns; ++column) {
      int widest = 0;
      for (int i = column; i < count; i += columns)
        widest = std::max(widest, m_panels[static_cast<size_t>(i)]->sizeHint().width());
      needed += widest + spacing;
    }
    if (needed <= width)
      return columns;
  }
  return 1;
}

void CPanelFlow::Arrange(int columns) {
  if (columns == m_nColumns)
    return;
  m_nColumns = columns;
  for (QWidget* panel : m_panels)
    m_pGrid->removeWidget(panel);
  for (int column = 0; column < m_pGrid->columnCount(); ++column)
    m_pGrid->setColumnStretch(column, 0);
  for (size_t i = 0; i < m_panels.size(); ++i) {
    const int row = static_cast<int>(i) / columns;
    const int column = static_cast<int>(i) % columns;
    m_pGrid->addWidget(m_panels[i], row, column);
    m_pGrid->setColumnStretch(column, std::max(m_pGrid->columnStretch(column), m_stretches[i]));
  }
  // One panel per row takes the whole width.
  if (columns == 1)
    m_pGrid->setColumnStretch(0, 1);
}

QSize CPanelFlow::minimumSizeHint() const {
  int width = 0;
  for (const QWidget* panel : m_panels)
    width = std::max(width, panel->minimumSizeHint().width());
  return {width, m_pGrid->minimumSize().height()};
}

void CPanelFlow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Arrange(ColumnsFor(event->size().width()));
}
