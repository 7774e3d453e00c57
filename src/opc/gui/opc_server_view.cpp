#include "opc/gui/opc_server_view.h"

#include <QLabel>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/velmora_session.h"
#include "db/gui/project_dialogs.h"
#include "db/project_commands.h"

namespace {
constexpr char kTitle[] = "OPC Explorer Setup";
constexpr char kDescription[] =
    "Find an OPC server on this computer or on the network, connect to it, and define its "
    "groups, acquired items and calculated items.";
constexpr char kNoServer[] = "No OPC server connected.";
}  // namespace

COPCServerView::COPCServerView(QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_pServerLine(new QLabel(kNoServer, this)),
      m_pTree(new QTreeWidget(this)),
      m_pProperties(new QTreeWidget(this)) {
  m_pTree->setHeaderLabels({"OPC Server Configuration"});
  m_pProperties->setHeaderLabels({"Property", "Value"});
  m_pProperties->setRootIsDecorated(false);
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName("ConfigurationPanes");
  splitter->addWidget(m_pTree);
  splitter->addWidget(m_pProperties);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  ContentLayout()->addWidget(m_pServerLine);
  ContentLayout()->addWidget(splitter, 1);
}

void COPCServerView::ResetView() {
  ClearServerDisplay();
}

void COPCServerView::ClearServerDisplay() {
  m_pTree->clear();
  m_pProperties->clear();
  m_pServerLine->setText(kNoServer);
}

void COPCServerView::SetSession(CVelmoraSession* session) {
  m_pSession = session;
  emit CommandStatesChanged();
}

std::vector<CommandId> COPCServerView::Commands() const {
  return {CommandId::LoadProject, CommandId::SaveProject};
}

void COPCServerView::OnCommand(CommandId id) {
  if (m_pSession == nullptr)
    return;
  if (id == CommandId::LoadProject)
    LoadProject();
  else if (id == CommandId::SaveProject)
    SaveProject();
}

ViewCommandState COPCServerView::CommandState(CommandId id) const {
  ViewCommandState state;
  state.enabled = false;
  if (m_pSession == nullptr)
    return state;
  if (id == CommandId::LoadProject)
    state.enabled = !m_pSession->Engine().IsRunning();
  else if (id == CommandId::SaveProject)
    state.enabled = m_pSession->Server().m_bConnected;
  return state;
}

void COPCServerView::LoadProject() {
  CProjectDialogs dialogs(m_pSession->Database(), m_pSession->Context().prompt, window());
  LoadProjectCommand(
      m_pSession->ProjectStore(), m_pSession->ProjectState(), dialogs,
      [this] { return m_pSession->CloseProject(); }, nullptr);
  emit ProjectLoaded();
  emit CommandStatesChanged();
}

void COPCServerView::SaveProject() {
  m_pSession->SaveProject();
  emit CommandStatesChanged();
}
