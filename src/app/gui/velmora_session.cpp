#include "app/gui/velmora_session.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "acquisition/acquisition_services.h"
#include "app/gui/main_frame.h"
#include "app/gui/view_factory.h"
#include "db/database_check.h"
#include "db/gui/project_dialogs.h"
#include "db/project_commands.h"
#include "platform/sim/sim_runtime.h"
#include "ui/velmora_view.h"

CVelmoraSession::CVelmoraSession(AppContext& context, QObject* parent)
    : QObject(parent),
      m_context(context),
      m_server(context),
      m_db(context),
      m_engine(context, m_server, m_db, MakeAcquisitionServices(m_server, context)) {
  m_db.SetFeedback(&m_feedback);
  m_store.SetFeedback(&m_feedback);
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
  m_store.SetFeedback(nullptr);
  m_db.SetFeedback(nullptr);
  CSimRuntime::Instance().SetDispatcher(nullptr);
  CSimRuntime::Instance().SetClock(nullptr);
}

bool CVelmoraSession::CheckDatabase(const std::string& path) {
  return CheckVelmoraDatabase(m_db, path);
}

void CVelmoraSession::Attach(CMainFrame& frame) {
  m_pFrame = &frame;
  frame.SetProjectSession(this);
  m_state.SetNameListener([this](const std::string& name) {
    if (m_pFrame != nullptr)
      m_pFrame->setWindowTitle(QStringLiteral("Velmora 2.0 - ") + QString::fromStdString(name));
  });
  AttachSessionViews(frame, true);
  frame.UpdateCommandStates();
  // The view brought back from the last run was shown before its data was reachable.
  if (CVelmoraView* shown = frame.ActiveView())
    shown->OnViewShown();
}

void CVelmoraSession::Detach() {
  if (m_pFrame == nullptr)
    return;
  AttachSessionViews(*m_pFrame, false);
  m_state.SetNameListener(nullptr);
  m_pFrame->SetProjectSession(nullptr);
  m_pFrame = nullptr;
}

void CVelmoraSession::OnShutdownRequest() {
  if (m_pFrame != nullptr)
    m_pFrame->CloseProject(true);
}

bool CVelmoraSession::CloseProject() {
  return m_pFrame != nullptr && m_pFrame->CloseProject(false);
}

bool CVelmoraSession::SaveProject() {
  CProjectDialogs dialogs(m_db, m_context.prompt, m_pFrame);
  return SaveProjectCommand(m_store, m_state, dialogs);
}

bool CVelmoraSession::IsAcquisitionRunning() const {
  return m_engine.IsRunning();
}

int CVelmoraSession::RecordingAcquisitionId() const {
  return m_engine.IsRunning() ? m_engine.AcquisitionId() : kNoAcquisition;
}

void CVelmoraSession::EndForSignal(int signal) {
  m_context.log.Log(Format("Signal %d Received ... End of Application", signal), kLogOpcServer);
  if (m_engine.IsRunning())
    m_engine.Stop(false);
}

void CVelmoraSession::StopAcquisition() {
  m_engine.Stop(m_engine.BackupClock().IsAutomatic());
}

bool CVelmoraSession::IsProjectModified() const {
  return m_server.IsConfigurationModified();
}

void CVelmoraSession::SetProjectModified(bool modified) {
  m_server.SetConfigurationModified(modified);
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
  m_server.ClearServerId();
  m_state.Reset();
}
