#include "app/gui/velmora_session.h"

#include <QAction>
#include <QCoreApplication>
#include <QMetaObject>

#include "acquisition/acquisition_services.h"
#include "acquisition/gui/opc_data_view.h"
#include "app/gui/main_frame.h"
#include "db/database_check.h"
#include "db/gui/project_dialogs.h"
#include "db/project_commands.h"
#include "platform/sim/sim_runtime.h"

CVelmoraSession::CVelmoraSession(AppContext& context, QObject* parent)
    : QObject(parent),
      m_context(context),
      m_server(context),
      m_db(context),
      m_engine(context, m_server, m_db, MakeAcquisitionServices(m_server, context)) {
  // Server callbacks (the shutdown request) arrive on the GUI thread, after the current
  // call has returned, as COM delivers them into a single-threaded apartment.
  CSimRuntime& runtime = CSimRuntime::Instance();
  runtime.SetClock(&context.clock);
  runtime.SetDispatcher([this](std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
  });
  std::string error;
  if (!runtime.LoadConfigurationFromEnvironment(&error)) {
    m_context.log.Log(error, kLogOpcServer);
  }
  m_server.SetShutdownHandler([this] {
    QMetaObject::invokeMethod(
        this, [this] { OnShutdownRequest(); }, Qt::QueuedConnection);
  });
}

CVelmoraSession::~CVelmoraSession() {
  Detach();
  m_server.SetShutdownHandler(nullptr);
  m_server.RemoveAllGroups();
  m_server.Disconnect();
  CSimRuntime::Instance().SetDispatcher(nullptr);
  CSimRuntime::Instance().SetClock(nullptr);
}

bool CVelmoraSession::CheckDatabase(const std::string& path) {
  return CheckVelmoraDatabase(m_db, path);
}

void CVelmoraSession::Attach(CMainFrame& frame) {
  m_pFrame = &frame;
  frame.SetProjectSession(this);
  if (COPCDataView* view = frame.DataView()) {
    view->SetEngine(&m_engine, &m_context);
    connect(view, &COPCDataView::CommandStatesChanged, this, &CVelmoraSession::UpdateCommandStates);
  }
  ConnectProjectCommands();
  ConnectAcquisitionCommands();
  UpdateCommandStates();
}

void CVelmoraSession::Detach() {
  if (m_pFrame == nullptr)
    return;
  if (COPCDataView* view = m_pFrame->DataView())
    view->SetEngine(nullptr, nullptr);
  m_pFrame->SetProjectSession(nullptr);
  m_pFrame = nullptr;
}

void CVelmoraSession::OnShutdownRequest() {
  if (m_pFrame != nullptr)
    m_pFrame->CloseProject(true);
  UpdateCommandStates();
}

void CVelmoraSession::ConnectProjectCommands() {
  m_state.SetNameListener([this](const std::string& name) {
    if (m_pFrame != nullptr) {
      m_pFrame->setWindowTitle(QStringLiteral("Velmora 2.0 - ") + QString::fromStdString(name));
    }
  });
  if (QAction* save = m_pFrame->Command(CommandId::SaveProject)) {
    connect(save, &QAction::triggered, this, [this] {
      SaveProject();
      UpdateCommandStates();
    });
  }
  if (QAction* load = m_pFrame->Command(CommandId::LoadProject)) {
    connect(load, &QAction::triggered, this, [this] {
      CProjectDialogs dialogs(m_db, m_context.prompt, m_pFrame);
      LoadProjectCommand(
          m_store, m_state, dialogs, [this] { return m_pFrame->CloseProject(false); }, nullptr);
      if (m_pFrame != nullptr) {
        if (COPCDataView* view = m_pFrame->DataView())
          view->ResetView();
      }
      UpdateCommandStates();
    });
  }
  if (QAction* close = m_pFrame->Command(CommandId::CloseProject)) {
    // The frame runs the sequence itself; afterwards the commands follow the new state.
    connect(close, &QAction::triggered, this, &CVelmoraSession::UpdateCommandStates,
            Qt::QueuedConnection);
  }
}

void CVelmoraSession::ConnectAcquisitionCommands() {
  COPCDataView* view = m_pFrame->DataView();
  if (view == nullptr)
    return;  // the view could not be created: its commands stay off
  auto route = [this, view](CommandId id, void (COPCDataView::*slot)()) {
    if (QAction* action = m_pFrame->Command(id)) {
      connect(action, &QAction::triggered, view, slot);
      connect(action, &QAction::triggered, this, &CVelmoraSession::UpdateCommandStates,
              Qt::QueuedConnection);
    }
  };
  route(CommandId::StartAcquisition, &COPCDataView::StartAcquisition);
  route(CommandId::ResumeAcquisition, &COPCDataView::ResumeAcquisition);
  route(CommandId::StopAcquisition, &COPCDataView::StopAcquisition);
  route(CommandId::AlwaysShowLastData, &COPCDataView::ToggleAlwaysShowLast);
  route(CommandId::ShowFullyQualifiedId, &COPCDataView::ShowFullyQualifiedId);
  route(CommandId::ShowShortId, &COPCDataView::ShowShortId);
  route(CommandId::ClearOpcData, &COPCDataView::ClearOpcData);
  route(CommandId::StandardColor, &COPCDataView::ChooseStandardColor);
  route(CommandId::BadQualityColor, &COPCDataView::ChooseBadQualityColor);
  route(CommandId::InterpolatedColor, &COPCDataView::ChooseInterpolatedColor);
  route(CommandId::InactiveGroupColor, &COPCDataView::ChooseInactiveColor);
}

bool CVelmoraSession::SaveProject() {
  CProjectDialogs dialogs(m_db, m_context.prompt, m_pFrame);
  return SaveProjectCommand(m_store, m_state, dialogs);
}

bool CVelmoraSession::IsAcquisitionRunning() const {
  return m_engine.IsRunning();
}

void CVelmoraSession::StopAcquisition() {
  m_engine.Stop(m_engine.BackupFrequency() > 0);
}

bool CVelmoraSession::IsProjectModified() const {
  return m_server.m_bConfigurationModified;
}

void CVelmoraSession::SetProjectModified(bool modified) {
  m_server.m_bConfigurationModified = modified;
}

std::string CVelmoraSession::ServerId() const {
  return m_server.ServerId();
}

std::string CVelmoraSession::ServerHost() const {
  return m_server.Host();
}

void CVelmoraSession::RemoveGroupsAndDisconnect() {
  m_server.RemoveAllGroups();
  m_server.Disconnect();
}

void CVelmoraSession::ClearServerName() {
  m_server.m_sServerId.clear();
  m_state.Reset();
}

void CVelmoraSession::UpdateCommandStates() {
  if (m_pFrame == nullptr)
    return;
  const bool connected = m_server.m_bConnected;
  const bool running = m_engine.IsRunning();
  auto enable = [this](CommandId id, bool on) {
    if (QAction* action = m_pFrame->Command(id))
      action->setEnabled(on);
  };
  enable(CommandId::StartAcquisition, connected && !running);
  enable(CommandId::ResumeAcquisition, connected && !running && m_server.m_bResumeAllowed);
  enable(CommandId::StopAcquisition, running);
  enable(CommandId::ClearOpcData, true);
  enable(CommandId::AlwaysShowLastData, true);
  enable(CommandId::ShowFullyQualifiedId, true);
  enable(CommandId::ShowShortId, true);
  enable(CommandId::StandardColor, true);
  enable(CommandId::BadQualityColor, true);
  enable(CommandId::InterpolatedColor, true);
  enable(CommandId::InactiveGroupColor, true);
  enable(CommandId::CloseProject, connected);
  enable(CommandId::SaveProject, connected);
  enable(CommandId::LoadProject, !running);
}
