#pragma once
// The real application with its session on a database in a test folder, and the demo
// project imported into it: what the session and window tests start from.
#include <QString>
#include <fstream>
#include <sstream>
#include <string>

#include "app/gui/velmora_app.h"
#include "app/gui/velmora_session.h"
#include "base/clock.h"
#include "db/project_file.h"
#include "db/project_import.h"
#include "scripted_user_prompt.h"

struct DemoSessionRig {
  explicit DemoSessionRig(const QString& databasePath) {
    options.databasePath = databasePath.toStdString();
  }
  // Starts the application and plugs the session into its frame.
  bool Start() {
    app = std::make_unique<CVelmoraApp>(options, VelmoraAppServices{&settings, &prompt, {}, clock});
    app->SetQuickStart(true);
    if (availableGeometry)
      app->SetAvailableGeometry(availableGeometry);
    session = &app->Session();
    app->SetDatabaseCheck([this](const std::string& path) { return session->CheckDatabase(path); });
    if (!app->InitInstance())
      return false;
    session->Attach(*app->MainFrame());
    return true;
  }
  // Imports the demo project (five groups on the simulation server) and connects it.
  bool ImportDemoProject() {
    std::ifstream in(VELMORA_DEMO_PROJECT);
    std::stringstream text;
    text << in.rdbuf();
    ProjectFile file;
    ProjectFileError error;
    return ParseProjectFile(text.str(), file, error) &&
           ImportProject(session->ProjectStore(), session->ProjectState(), file).Succeeded();
  }
  CMainFrame& Frame() { return *app->MainFrame(); }

  CommandLineOptions options;
  // Before Start: the screen the window goes on (empty: the platform's).
  std::function<QRect()> availableGeometry;
  InMemorySettingsStore settings;
  ScriptedUserPrompt prompt;
  // Before Start: the application runs on a clock that moves only when advanced, kept
  // here so that it outlives the application and its session.
  FakeClock& UseFakeClock() {
    clock = &fakeClock;
    return fakeClock;
  }
  FakeClock fakeClock;
  IClock* clock = nullptr;
  std::unique_ptr<CVelmoraApp> app;
  CVelmoraSession* session = nullptr;  // the application's
};
