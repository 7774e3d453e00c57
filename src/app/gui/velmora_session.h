#pragma once
// CVelmoraSession: the process's one server connection, database object and acquisition
// engine, and the project as the close-project sequence sees it. It checks the database at
// start-up, delivers the simulation servers' callbacks on the GUI thread, turns a server's
// shutdown request into the close-project sequence. The views see it only through the
// narrow interfaces below, given to them at construction by the composition root
// (view_factory.cpp); the application owns the session, so it outlives the frame's views.
// Thread rule: GUI thread.
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

#include "acquisition/acquisition_engine.h"
#include "app/close_project.h"
#include "base/app_context.h"
#include "db/gui/qt_db_feedback.h"
#include "db/project_state.h"
#include "db/project_store.h"
#include "db/sqlite_db.h"
#include "explorer/gui/explorer_session.h"
#include "opc/gui/configuration_session.h"
#include "opc/opc_server.h"

class CMainFrame;

class CVelmoraSession : public QObject,
                        public IProjectSession,
                        public IConfigurationSession,
                        public IExplorerSession {
  Q_OBJECT
 public:
  explicit CVelmoraSession(AppContext& context, QObject* parent = nullptr);
  ~CVelmoraSession() override;

  // Start-up step: checks, creates or upgrades the database file at path.
  bool CheckDatabase(const std::string& path);
  // Plugs the session into the frame (views, commands, close-project sequence).
  void Attach(CMainFrame& frame);
  // Unplugs it again before the frame or the session goes.
  void Detach();

  AppContext& Context() override { return m_context; }
  COPCServer& Server() override { return m_server; }
  CSQLite& Database() override { return m_db; }
  CAcquisitionEngine& Engine() { return m_engine; }
  CProjectStore& ProjectStore() override { return m_store; }
  CProjectState& ProjectState() override { return m_state; }
  // The close-project sequence of the frame (a load closes the current project first).
  bool CloseProject() override;
  // IExplorerSession
  int RecordingAcquisitionId() const override;

  // IProjectSession
  bool IsAcquisitionRunning() const override;
  void StopAcquisition() override;
  // A quit signal (SIGTERM...): a running acquisition stops and records its end at once,
  // without the questions of the close-project sequence.
  void EndForSignal(int signal);
  bool IsProjectModified() const override;
  void SetProjectModified(bool modified) override;
  bool SaveProject() override;
  void RemoveGroupsAndDisconnect() override;
  std::string ServerId() const override;
  std::string ServerHost() const override;
  void ClearServerName() override;

 private:
  void OnShutdownRequest();

  AppContext& m_context;
  COPCServer m_server;
  CQtDbFeedback m_feedback;  // before the database objects that show it
  CSQLite m_db;
  CProjectStore m_store{m_db, m_server};
  CProjectState m_state;
  CAcquisitionEngine m_engine;
  QPointer<CMainFrame> m_pFrame;
};
