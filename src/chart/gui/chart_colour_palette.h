#pragma once
// CChartColourPalette: the drop-down of a colour command: a grid of colour swatches and
// "More Colors...", which asks for any other colour. Thread rule: GUI thread.
#include <QColor>
#include <QMenu>
#include <functional>
#include <optional>

class QToolButton;

class CChartColourPalette : public QMenu {
  Q_OBJECT
 public:
  // Asked by "More Colors..." with the current colour; empty when cancelled.
  using MoreColours = std::function<std::optional<QColor>(const QColor& current)>;

  CChartColourPalette(const QColor& current, MoreColours more, QWidget* parent = nullptr);

  // Shows the palette below anchor (at the cursor when there is none) until a colour is
  // picked or the palette is closed; the colour picked, or none.
  std::optional<QColor> Pick(QWidget* anchor);

  // The swatches, in rows of eight, and "More Colors...".
  const QList<QToolButton*>& Swatches() const { return m_swatches; }
  QAction* MoreAction() const { return m_pMore; }

 private:
  void Choose(const QColor& colour);

  QColor m_current;
  MoreColours m_fnMore;
  std::optional<QColor> m_chosen;
  QList<QToolButton*> m_swatches;
  QAction* m_pMore = nullptr;
};
