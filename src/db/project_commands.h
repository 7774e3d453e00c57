#pragma once
// The project commands of the configuration view and the command bar: "Save Project"
// (name dialog, save, timing line, new name) and "Load Project" (load dialog, close the
// current project, connect, load groups and items). The dialogs are behind two small
// interfaces: the GUI shows CSetProjectNameDlg and CGetProjectDlg, tests and the
// command-line tool answer directly. Thread rule: GUI thread.
#include <functional>
#include <optional>
#include <string>

#include "db/project_choice_presenter.h"
#include "db/project_state.h"
#include "db/project_store.h"

class IProjectNameChooser {
 public:
  virtual ~IProjectNameChooser() = default;
  // The name dialog with the current project name; empty when cancelled.
  virtual std::optional<std::string> ChooseProjectName(const std::string& currentName) = 0;
};

class IProjectChooser {
 public:
  virtual ~IProjectChooser() = default;
  // The load dialog; empty when cancelled.
  virtual std::optional<ProjectChoice> ChooseProject() = 0;
};

inline constexpr char kServerConnectionErrorTitle[] = "OPC Server Connection Error";

// "Save Project": the name dialog, then SaveProjectAs. False only when the save failed
// (a cancelled dialog is not a failure): the close-project sequence relies on this.
bool SaveProjectCommand(CProjectStore& store, CProjectState& state, IProjectNameChooser& chooser);

// Saves under name, logs "Project saved to SQLite Database (Velmora.sq3) in %d ms" on the
// "OPC Server" channel (also after a failure), and makes name the current project name.
// Returns the project id, -1 on failure.
int SaveProjectAs(CProjectStore& store, CProjectState& state, const std::string& name);

// "Load Project": the load dialog, then closeProject (the close-project sequence of the
// configuration view), then OpenSavedProject. False when cancelled, when the current
// project stayed open, or when the load failed.
bool LoadProjectCommand(CProjectStore& store, CProjectState& state, IProjectChooser& chooser,
                        const std::function<bool()>& closeProject, IProjectLoadObserver* observer);

// Connects to the project's server and re-creates its groups and items there. On a
// connection failure shows the "OPC Server Connection Error" report and makes "Empty
// Project" the current name; on a failed load step tells the observer and does the same;
// on success logs "Project loaded from SQLite Database (Velmora.sq3) in %d ms" and makes
// the project's name the current name. The project-modified flag is cleared in every case.
bool OpenSavedProject(CProjectStore& store, CProjectState& state, const ProjectChoice& choice,
                      IProjectLoadObserver* observer);

// The report shown when the server of a project cannot be connected.
ReportRequest ServerConnectionErrorReport(const std::string& serverId);
