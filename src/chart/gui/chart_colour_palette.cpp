#include "chart/gui/chart_colour_palette.h"

#include <QCursor>
#include <QGridLayout>
#include <QPixmap>
#include <QToolButton>
#include <QWidgetAction>

namespace {

constexpr char kMoreColours[] = "More Colors...";
constexpr int kColumns = 8;
constexpr int kSwatch = 18;

// Five rows of eight: the strong colours, then lighter and darker shades, then greys.
constexpr QRgb kPalette[] = {
    0xFF0000, 0xFF8000, 0xFFFF00, 0x00C000, 0x00C0C0, 0x0000FF, 0x8000FF, 0xFF00FF,
    0xFFC0C0, 0xFFE0C0, 0xFFFFC0, 0xC0FFC0, 0xC0FFFF, 0xC0C0FF, 0xE0C0FF, 0xFFC0FF,
    0xFF8080, 0xFFC080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0xBFDFFF, 0xC080FF, 0xFF80FF,
    0x800000, 0x804000, 0x808000, 0x008000, 0x008080, 0x000080, 0x400080, 0x800080,
    0xFFFFFF, 0xE0E0E0, 0xC0C0C0, 0xA0A0A0, 0x808080, 0x606060, 0x404040, 0x000000,
};

}  // namespace

CChartColourPalette::CChartColourPalette(const QColor& current, MoreColours more, QWidget* parent)
    : QMenu(parent), m_current(current), m_fnMore(std::move(more)) {
  auto* grid = new QWidget(this);
  auto* layout = new QGridLayout(grid);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(3);
  int index = 0;
  for (QRgb rgb : kPalette) {
    const QColor colour(rgb);
    auto* swatch = new QToolButton(grid);
    QPixmap pixmap(kSwatch, kSwatch);
    pixmap.fill(colour);
    swatch->setIcon(pixmap);
    swatch->setIconSize(pixmap.size());
    swatch->setAutoRaise(true);
    swatch->setCheckable(true);
    swatch->setChecked(colour.rgb() == current.rgb());
    swatch->setToolTip(colour.name());
    swatch->setObjectName(colour.name());
    connect(swatch, &QToolButton::clicked, this, [this, colour] { Choose(colour); });
    layout->addWidget(swatch, index / kColumns, index % kColumns);
    m_swatches << swatch;
    ++index;
  }
  auto* holder = new QWidgetAction(this);
  holder->setDefaultWidget(grid);
  addAction(holder);
  addSeparator();
  m_pMore = addAction(kMoreColours);
  // After the palette has closed: the colour dialog must not open inside the popup.
  connect(m_pMore, &QAction::triggered, this, [this] {
    if (!m_fnMore)
      return;
    const std::optional<QColor> chosen = m_fnMore(m_current);
    if (chosen && chosen->isValid())
      m_chosen = *chosen;
  });
}

void CChartColourPalette::Choose(const QColor& colour) {
  m_chosen = colour;
  close();
}

std::optional<QColor> CChartColourPalette::Pick(QWidget* anchor) {
  m_chosen.reset();
  const QPoint at =
      anchor != nullptr ? anchor->mapToGlobal(QPoint(0, anchor->height())) : QCursor::pos();
  exec(at);
  return m_chosen;
}
