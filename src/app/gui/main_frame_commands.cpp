// The frame's routing of the command bar to the views that handle its commands.
#include <QAction>
#include <algorithm>

#include "app/gui/main_frame.h"
#include "app/gui/ribbon_bar.h"
#include "ui/velmora_view.h"

namespace {

bool Handles(const CVelmoraView* view, CommandId id) {
  if (view == nullptr)
    return false;
  const std::vector<CommandId> commands = view->Commands();
  return std::find(commands.begin(), commands.end(), id) != commands.end();
}

}  // namespace

CVelmoraView* CMainFrame::CommandTarget(CommandId id) const {
  if (CVelmoraView* active = ActiveView(); Handles(active, id))
    return active;
  for (CVelmoraView* view : m_views) {
    if (Handles(view, id))
      return view;
  }
  return nullptr;
}

void CMainFrame::RouteViewCommands() {
  for (CVelmoraView* view : m_views) {
    if (view == nullptr)
      continue;
    connect(view, &CVelmoraView::CommandStatesChanged, this, &CMainFrame::UpdateCommandStates,
            Qt::UniqueConnection);
    for (CommandId id : view->Commands()) {
      const size_t index = static_cast<size_t>(id);
      QAction* action = Command(id);
      if (action == nullptr || m_routed[index])
        continue;
      m_routed[index] = true;
      // A checkable command flips its own mark before the view decides; the view's state
      // is shown again right after.
      connect(action, &QAction::triggered, this, [this, id] {
        if (CVelmoraView* target = CommandTarget(id))
          target->OnCommand(id);
        UpdateCommandStates();
      });
    }
  }
  UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
  if (m_pRibbon == nullptr)
    return;
  for (int i = 0; i < kCommandCount; ++i) {
    if (!m_routed[static_cast<size_t>(i)])
      continue;
    const CommandId id = static_cast<CommandId>(i);
    QAction* action = Command(id);
    const CVelmoraView* target = CommandTarget(id);
    const ViewCommandState state =
        target != nullptr ? target->CommandState(id) : ViewCommandState{};
    // The views' data is reachable only while a session is attached.
    action->setEnabled(IsSessionAttached() && target != nullptr && state.enabled);
    if (state.checked) {
      action->setCheckable(true);
      action->setChecked(*state.checked);
    }
    if (state.swatch.isValid())
      m_pRibbon->SetSwatch(id, state.swatch);
  }
  if (QAction* close = Command(CommandId::kCloseProject))
    close->setEnabled(!m_pSession->ServerId().empty());
}
