#include "app/gui/ribbon_bar.h"

#include <QAction>
#include <QColor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kLargeIcon = 32;
constexpr int kSmallIcon = 16;
constexpr int kSmallRows = 3;  // panels with more commands stack small buttons in columns

QIcon SwatchIcon(const QColor& colour) {
  QPixmap pixmap(kLargeIcon, kLargeIcon);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(90, 90, 90), 1));
  painter.setBrush(colour);
  painter.drawRoundedRect(QRectF(3.5, 3.5, kLargeIcon - 7, kLargeIcon - 7), 4, 4);
  return QIcon(pixmap);
}

// Some style icons exist only at 16 pixels; a ribbon button shows them at full size.
QIcon LargeIcon(const QIcon& icon) {
  const QPixmap largest = icon.pixmap(kLargeIcon, kLargeIcon);
  if (largest.isNull() || largest.width() >= kLargeIcon)
    return icon;
  QIcon scaled(icon);
  scaled.addPixmap(
      largest.scaled(kLargeIcon, kLargeIcon, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  return scaled;
}

// A large button's text on two lines, broken at the blank nearest the middle.
QString TwoLines(const QString& text) {
  const int middle = text.size() / 2;
  int best = -1;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == ' ' && (best < 0 || qAbs(i - middle) < qAbs(best - middle)))
      best = i;
  }
  if (best < 0)
    return text + "\n";
  QString lines = text;
  lines[best] = '\n';
  return lines;
}

// A tool button that mirrors its action but may show its own (wrapped) text.
QToolButton* ButtonFor(QAction* action, bool large, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::TabFocus);
  button->setIconSize(QSize(large ? kLargeIcon : kSmallIcon, large ? kLargeIcon : kSmallIcon));
  button->setToolButtonStyle(large ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
  if (large)
    button->setMinimumWidth(64);
  else
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  auto sync = [button, action, large] {
    button->setText(large ? TwoLines(action->text()) : action->text());
    button->setIcon(action->icon());
    button->setEnabled(action->isEnabled());
    button->setCheckable(action->isCheckable());
    button->setChecked(action->isChecked());
    button->setToolTip(action->toolTip());
  };
  sync();
  QObject::connect(action, &QAction::changed, button, sync);
  if (action->menu() != nullptr) {
    button->setMenu(action->menu());
    button->setPopupMode(QToolButton::InstantPopup);
  } else {
    QObject::connect(button, &QToolButton::clicked, action, [action] { action->trigger(); });
  }
  return button;
}

}  // namespace

CRibbonBar::CRibbonBar(QWidget* parent) : QTabWidget(parent) {
  setObjectName("RibbonBar");
  setDocumentMode(true);
  setUsesScrollButtons(true);
  for (const RibbonCategorySpec& category : RibbonLayout()) {
    auto* page = new QWidget(this);
    page->setObjectName("RibbonPage");
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(0);
    for (const RibbonPanelSpec& panel : category.panels)
      row->addWidget(BuildPanel(panel, page));
    row->addStretch(1);
    // A category wider than a small window scrolls sideways instead of widening it.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName("RibbonCategory");
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroller->setWidget(page);
    scroller->setFixedHeight(page->sizeHint().height() +
                             scroller->horizontalScrollBar()->sizeHint().height());
    addTab(scroller, category.tabText);
  }
}

void CRibbonBar::SetSwatch(CommandId id, const QColor& colour) {
  QAction* action = Command(id);
  if (action == nullptr || action->data().value<QColor>() == colour)
    return;  // unchanged: no repaint of the button
  action->setData(colour);
  action->setIcon(SwatchIcon(colour));
}

QAction* CRibbonBar::BuildAction(const RibbonCommandDef& entry) {
  auto* action = new QAction(entry.text, this);
  if (entry.icon == QStyle::SP_CustomBase) {
    if (entry.swatch.isValid())
      action->setIcon(SwatchIcon(entry.swatch));
  } else {
    action->setIcon(LargeIcon(style()->standardIcon(entry.icon)));
  }
  if (!entry.shortcut.isEmpty()) {
    action->setShortcut(entry.shortcut);
    action->setToolTip(
        QString("%1 (%2)").arg(entry.text, entry.shortcut.toString(QKeySequence::NativeText)));
  }
  action->setEnabled(false);
  m_actions[static_cast<size_t>(entry.id)] = action;
  if (!entry.items.empty() || entry.id == CommandId::kApplicationLook) {
    auto* menu = new QMenu(this);
    for (const RibbonCommandDef& item : entry.items)
      menu->addAction(BuildAction(item));
    action->setMenu(menu);
  }
  return action;
}

QWidget* CRibbonBar::BuildPanel(const RibbonPanelSpec& panel, QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setObjectName("RibbonPanel");
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(6, 2, 6, 0);
  layout->setSpacing(0);
  auto* buttons = new QGridLayout;
  buttons->setSpacing(1);
  const bool large = panel.commands.size() <= 3;
  int index = 0;
  for (const RibbonCommandDef& entry : panel.commands) {
    QAction* action = BuildAction(entry);
    QToolButton* button = ButtonFor(action, large, frame);
    if (large)
      buttons->addWidget(button, 0, index);
    else
      buttons->addWidget(button, index % kSmallRows, index / kSmallRows);
    ++index;
  }
  layout->addLayout(buttons, 1);
  auto* title = new QLabel(panel.title, frame);
  title->setObjectName("RibbonPanelTitle");
  title->setAlignment(Qt::AlignCenter);
  layout->addWidget(title);

  // Panels are separated by a thin vertical line, as on a ribbon.
  auto* holder = new QWidget(parent);
  auto* holderLayout = new QHBoxLayout(holder);
  holderLayout->setContentsMargins(0, 0, 0, 0);
  holderLayout->setSpacing(0);
  holderLayout->addWidget(frame);
  auto* line = new QFrame(holder);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  holderLayout->addWidget(line);
  return holder;
}

QList<QAction*> CRibbonBar::Actions() const {
  QList<QAction*> actions;
  for (QAction* action : m_actions) {
    if (action != nullptr)
      actions << action;
  }
  return actions;
}

int CRibbonBar::CategoryIndex(const QString& title) const {
  const std::vector<RibbonCategorySpec>& layout = RibbonLayout();
  for (size_t i = 0; i < layout.size(); ++i) {
    if (title == layout[i].title)
      return static_cast<int>(i);
  }
  return -1;
}
