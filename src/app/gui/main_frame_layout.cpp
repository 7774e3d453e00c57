// The window's layout between runs: size and position, the panes, the splitters of the
// views and the view shown last. Kept beside the settings, in the "Window" group.
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>

#include "app/gui/main_frame.h"
#include "app/gui/output_wnd.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/velmora_view.h"
#include "base/settings.h"

namespace {

constexpr char kWindowGroup[] = "Window";
constexpr char kGeometryKey[] = "Geometry";
constexpr char kStateKey[] = "State";
constexpr char kViewKey[] = "View";
constexpr char kSplitterPrefix[] = "Splitter/";
// Bumped when the docks change, so an old state is not applied to new panes.
constexpr int kStateVersion = 1;

QString SplitterKey(int view, const QSplitter* splitter) {
  return QString("%1%2/%3").arg(kSplitterPrefix).arg(view).arg(splitter->objectName());
}

// The project views show a chosen acquisition; none is chosen at start-up.
VelmoraView StartViewFor(VelmoraView saved) {
  switch (saved) {
    case VelmoraView::PrjData:
    case VelmoraView::PrjExport:
    case VelmoraView::ProjectChart:
      return VelmoraView::PrjDatabase;
    default:
      return saved;
  }
}

}  // namespace

void CMainFrame::SaveWindowLayout() const {
  const std::unique_ptr<QSettings> settings = OpenVelmoraSettings();
  settings->beginGroup(kWindowGroup);
  settings->setValue(kGeometryKey, saveGeometry());
  settings->setValue(kStateKey, saveState(kStateVersion));
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
  const bool known = settings->contains(kGeometryKey);
  if (!known || !restoreGeometry(settings->value(kGeometryKey).toByteArray())) {
    // First start: as large as the default, never larger than the screen.
    QSize size(1280, 820);
    if (const QScreen* screen = this->screen())
      size = size.boundedTo(screen->availableSize());
    resize(size);
  }
  restoreState(settings->value(kStateKey).toByteArray(), kStateVersion);
  // The output pane follows its own setting, whatever the saved state says.
  m_pOutputWnd->setVisible(settings::Read(m_context.settings, settings::kOutputPaneVisible) != 0);
  for (int index = 0; index < kViewCount; ++index) {
    CVelmoraView* view = m_views[static_cast<size_t>(index)];
    if (view == nullptr)
      continue;
    for (QSplitter* splitter : view->findChildren<QSplitter*>()) {
      const QVariant state = settings->value(SplitterKey(index, splitter));
      if (!splitter->objectName().isEmpty() && state.isValid())
        splitter->restoreState(state.toByteArray());
    }
  }
  bool ok = false;
  const int saved = settings->value(kViewKey).toInt(&ok);
  settings->endGroup();
  if (ok && saved > 0 && saved < kViewCount) {
    const VelmoraView view = StartViewFor(static_cast<VelmoraView>(saved));
    if (CVelmoraView* target = View(view)) {
      m_pViewStack->setCurrentWidget(target);
      target->OnViewShown();
      UpdateCaptionBar();
      UpdateCommandStates();
    }
  }
}
