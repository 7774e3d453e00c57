// The window's layout between runs: size and position, the panes, the splitters of the
// views and the view shown last. Kept beside the settings, in the "Window" group.
#include <algorithm>

#include <QDockWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>

#include "app/gui/main_frame.h"
#include "app/gui/outlook_bar.h"
#include "app/gui/output_wnd.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/window_geometry.h"
#include "base/settings.h"
#include "ui/velmora_view.h"

namespace {

constexpr char kWindowGroup[] = "Window";
// The inside of the window in its normal (not maximised) state, and whether it was maximised.
constexpr char kGeometryKey[] = "NormalGeometry";
constexpr char kMaximizedKey[] = "Maximized";
constexpr char kStateKey[] = "State";
constexpr char kViewKey[] = "View";
constexpr char kGroupKey[] = "NavigationGroup";
// The window manager frames the window a moment after it is shown.
constexpr int kFrameSettleMs = 300;
// A frame estimate for the first placement, generous rather than short.
constexpr int kEstimatedTitleBar = 32;
constexpr int kEstimatedBorder = 4;
// The first start's pane sizes, in pixels: a share of the window within these bounds.
constexpr int kNavigationWidthMin = 215;
constexpr int kNavigationWidthMax = 240;
constexpr int kOutputHeightMin = 110;
constexpr int kOutputHeightMax = 150;
constexpr char kSplitterPrefix[] = "Splitter/";
constexpr char kRestoredSplitterProperty[] = "restoredLayout";
// Bumped when the docks change, so an old state is not applied to new panes.
constexpr int kStateVersion = 1;

QString SplitterKey(int view, const QSplitter* splitter) {
  return QString("%1%2/%3").arg(kSplitterPrefix).arg(view).arg(splitter->objectName());
}

// The project views show a chosen acquisition; none is chosen at start-up.
VelmoraView StartViewFor(VelmoraView saved) {
  switch (saved) {
    case VelmoraView::kPrjData:
    case VelmoraView::kPrjExport:
    case VelmoraView::kProjectChart:
      return VelmoraView::kPrjDatabase;
    default:
      return saved;
  }
}

}  // namespace

void CMainFrame::SaveWindowLayout() const {
  const std::unique_ptr<QSettings> settings = OpenVelmoraSettings();
  settings->beginGroup(kWindowGroup);
  const bool maximized = isMaximized();
  const QRect normal = maximized && normalGeometry().isValid() ? normalGeometry() : geometry();
  settings->setValue(kGeometryKey, normal);
  settings->setValue(kMaximizedKey, maximized);
  settings->setValue(kStateKey, saveState(kStateVersion));
  settings->setValue(kGroupKey, static_cast<int>(m_pOutlookBar->ExpandedGroup()));
  const CVelmoraView* active = ActiveView();
  for (int index = 0; index < kViewCount; ++index) {
    const CVelmoraView* view = m_views[static_cast<size_t>(index)];
    if (view == nullptr)
      continue;
    if (view == active)
      settings->setValue(kViewKey, index);
    for (const QSplitter* splitter : view->findChildren<QSplitter*>()) {
      if (!splitter->objectName().isEmpty())
        settings->setValue(SplitterKey(index, splitter), splitter->saveState());
    }
  }
  settings->endGroup();
}

void CMainFrame::RestoreWindowLayout() {
  const std::unique_ptr<QSettings> settings = OpenVelmoraSettings();
  settings->beginGroup(kWindowGroup);
  const QRect stored = settings->value(kGeometryKey).toRect();
  const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  const QMargins frame = EstimatedFrameMargins(
      std::max(kEstimatedTitleBar, style()->pixelMetric(QStyle::PM_TitleBarHeight)),
      std::max(kEstimatedBorder, border));
  if (stored.isValid())
    setGeometry(FitToScreen(stored, AvailableGeometryFor(stored), frame));
  else
    setGeometry(FirstStartGeometry(AvailableGeometry(), frame));
  m_bShowMaximized = settings->value(kMaximizedKey, false).toBool();
  bool groupOk = false;
  const int group = settings->value(kGroupKey).toInt(&groupOk);
  if (groupOk && group >= 0 && group < kGroupCount)
    m_pOutlookBar->ExpandGroup(static_cast<NavigationGroup>(group));
  if (!restoreState(settings->value(kStateKey).toByteArray(), kStateVersion)) {
    // First start: the panes take a share of the window, so a small screen keeps most of
    // its height and width for the views.
    const QSize size = geometry().size();
    resizeDocks({m_pNavigationDock},
                {std::clamp(size.width() * 19 / 100, kNavigationWidthMin, kNavigationWidthMax)},
                Qt::Horizontal);
    resizeDocks({m_pOutputWnd},
                {std::clamp(size.height() * 17 / 100, kOutputHeightMin, kOutputHeightMax)},
                Qt::Vertical);
  }
  // The output pane follows its own setting, whatever the saved state says.
  m_pOutputWnd->setVisible(settings::Read(m_context.settings, settings::kOutputPaneVisible) != 0);
  for (int index = 0; index < kViewCount; ++index) {
    CVelmoraView* view = m_views[static_cast<size_t>(index)];
    if (view == nullptr)
      continue;
    for (QSplitter* splitter : view->findChildren<QSplitter*>()) {
      const QVariant state = settings->value(SplitterKey(index, splitter));
      // The views leave the sizes of a splitter marked so as they are.
      if (!splitter->objectName().isEmpty() && state.isValid() &&
          splitter->restoreState(state.toByteArray()))
        splitter->setProperty(kRestoredSplitterProperty, true);
    }
  }
  bool ok = false;
  const int saved = settings->value(kViewKey).toInt(&ok);
  settings->endGroup();
  if (ok && saved > 0 && saved < kViewCount) {
    const VelmoraView view = StartViewFor(static_cast<VelmoraView>(saved));
    if (CVelmoraView* target = View(view)) {
      m_pViewStack->setCurrentWidget(target);
      if (IsSessionAttached())
        target->OnViewShown();  // otherwise the session shows it when it attaches
      UpdateCaptionBar();
      UpdateCommandStates();
    }
  }
}

QRect CMainFrame::AvailableGeometry() const {
  if (m_fnAvailableGeometry)
    return m_fnAvailableGeometry();
  const QScreen* screen = this->screen();
  if (screen == nullptr)
    screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(QPoint(0, 0), kFirstStartSize);
}

QRect CMainFrame::AvailableGeometryFor(const QRect& stored) const {
  // The screen the window was on, when it is still there; else the window's own screen.
  if (!m_fnAvailableGeometry) {
    if (const QScreen* screen = QGuiApplication::screenAt(stored.center()))
      return screen->availableGeometry();
  }
  return AvailableGeometry();
}

void CMainFrame::ShowRestored() {
  if (m_bShowMaximized)
    showMaximized();
  else
    showNormal();
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (m_bFramedOnce || event->spontaneous())
    return;
  m_bFramedOnce = true;
  QTimer::singleShot(kFrameSettleMs, this, &CMainFrame::FitFrameToScreen);
}

void CMainFrame::FitFrameToScreen() {
  if (!isVisible() || isMaximized() || isFullScreen())
    return;
  const QRect available = AvailableGeometry();
  const QRect framed = frameGeometry();
  if (available.contains(framed))
    return;
  const QRect inside = geometry();
  const QMargins frame(inside.left() - framed.left(), inside.top() - framed.top(),
                       framed.right() - inside.right(), framed.bottom() - inside.bottom());
  setGeometry(FitToScreen(inside, available, frame));
}
