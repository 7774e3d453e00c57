// CMainFrame: creating the views, switching between them, the navigation rules and the
// close-project sequence. The frame knows its views as CVelmoraView only; the concrete
// views are made and joined in view_factory.cpp.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QStackedWidget>

#include "app/gui/main_frame.h"
#include "app/gui/message_pump.h"
#include "app/gui/outlook_bar.h"
#include "app/gui/output_wnd.h"
#include "app/gui/view_factory.h"
#include "app/view_creation.h"
#include "base/settings.h"
#include "ui/velmora_view.h"
#include "ui/view_header.h"

namespace {
constexpr int kPauseAfterEachViewMs = 40;
}  // namespace

int CMainFrame::CreateViews(ISplashProgress* splash, IViewFactory& factory) {
  ViewCreationHooks hooks;
  hooks.create = [this, &factory](VelmoraView view) {
    CVelmoraView* created = factory.CreateView(view, m_pViewStack);
    if (created == nullptr)
      return false;
    m_views[static_cast<size_t>(view)] = created;
    m_pViewStack->addWidget(created);
    connect(created, &CVelmoraView::LogChannelWanted, this, [this](int channel) {
      if (m_pOutputWnd != nullptr)
        m_pOutputWnd->ShowChannel(channel);
    });
    return true;
  };
  hooks.pause = [this](int milliseconds) { PumpMessagesFor(m_bCreationPauses ? milliseconds : 0); };
  hooks.pauseAfterEachMs = kPauseAfterEachViewMs;
  const int created = CreateViewsInOrder(splash, m_context.prompt, hooks);
  if (CVelmoraView* start = View(VelmoraView::kStart))
    m_pViewStack->setCurrentWidget(start);
  UpdateCaptionBar();
  ApplyViewSizePolicies();
  RouteViewCommands();
  RestoreWindowLayout();
  return created;
}

CVelmoraView* CMainFrame::ActiveView() const {
  return qobject_cast<CVelmoraView*>(m_pViewStack->currentWidget());
}

bool CMainFrame::SwitchToView(VelmoraView view) {
  CVelmoraView* target = View(view);
  if (target == nullptr) {
    m_context.prompt.ShowMessage(MissingViewMessage(view), MessageButtons::kOk,
                                 MessageIcon::kError);
    return false;
  }
  SetWaitCursor(true);
  m_pViewStack->setCurrentWidget(target);
  if (IsSessionAttached())
    target->OnViewShown();  // otherwise the session shows it when it attaches
  target->setFocus();
  UpdateCaptionBar();
  UpdateCommandStates();
  SetWaitCursor(false);
  return true;
}

void CMainFrame::OpenGroup(NavigationGroup group) {
  m_pOutlookBar->ExpandGroup(group);
  const bool noOutline = settings::Read(m_context.settings, settings::kNoFeaturesOutline) == 1;
  if (const std::optional<NavigationTarget> target = m_navigator.OpenGroup(group, noOutline))
    ApplyTarget(*target);
}

void CMainFrame::ChooseEntry(NavigationEntry entry) {
  const CVelmoraView* catalogue = View(VelmoraView::kPrjDatabase);
  const int selected = catalogue != nullptr ? catalogue->SelectedAcquisitionId() : kNoAcquisition;
  ApplyTarget(m_navigator.SelectEntry(entry, selected));
}

void CMainFrame::ApplyTarget(const NavigationTarget& target) {
  if (CVelmoraView* view = View(target.view)) {
    if (target.chartMode)
      view->SetMode(*target.chartMode);
    if (target.handAcquisitionId)
      view->SetAcquisitionId(target.acquisitionId);
  }
  SwitchToView(target.view);
}

void CMainFrame::UpdateCaptionBar() {
  if (m_pCaptionBar == nullptr || m_pViewStack == nullptr)
    return;
  const CVelmoraView* view = ActiveView();
  m_pCaptionBar->setText(view != nullptr ? QString("<b>%1</b> &nbsp; %2")
                                               .arg(view->Title().toHtmlEscaped(),
                                                    view->Header()->Description().toHtmlEscaped())
                                         : QString());
}

void CMainFrame::SetProjectSession(IProjectSession* session) {
  m_pSession = session != nullptr ? session : &m_unconnectedSession;
  UpdateCommandStates();
}

bool CMainFrame::CloseProject(bool triggeredByServer) {
  const bool closed =
      CCloseProjectSequence(*m_pSession, *this, m_context.prompt).Run(triggeredByServer);
  UpdateCommandStates();
  return closed;
}

void CMainFrame::OnCloseProjectCommand() {
  if (CloseProject(false)) {
    // The configuration view empties its server, group and item display.
    if (CVelmoraView* server = View(VelmoraView::kOpcServer))
      server->ResetView();
  }
  UpdateCommandStates();
}

bool CMainFrame::HasSessionViews() const {
  return View(VelmoraView::kOpcServer) != nullptr && View(VelmoraView::kOpcData) != nullptr &&
         View(VelmoraView::kLiveChart) != nullptr;
}

void CMainFrame::ResetSessionViews() {
  for (VelmoraView view :
       {VelmoraView::kOpcData, VelmoraView::kLiveChart, VelmoraView::kOpcServer}) {
    if (CVelmoraView* target = View(view))
      target->ResetView();
  }
}

void CMainFrame::CloseOpenDialogs() {
  // Rejected, each dialog's exec() returns once the running sequence is over, and its
  // caller finds it cancelled: nothing it held is written to.
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(window);
    if (dialog != nullptr && dialog->isVisible())
      dialog->reject();
  }
}

void CMainFrame::RunPendingMessages(int milliseconds) {
  PumpMessagesFor(milliseconds);
}

void CMainFrame::SetWaitCursor(bool wait) {
  if (wait) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_nWaitDepth;
  } else if (m_nWaitDepth > 0) {
    QApplication::restoreOverrideCursor();
    --m_nWaitDepth;
  }
}
