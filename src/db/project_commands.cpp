#include "db/project_commands.h"

#include "base/log.h"
#include "base/report.h"
#include "base/rtf.h"

namespace {

constexpr char kSavedLog[] = "Project saved to SQLite Database (Velmora.sq3) in %d ms";
constexpr char kLoadedLog[] = "Project loaded from SQLite Database (Velmora.sq3) in %d ms";
constexpr char kConnectionErrorBody[] =
    "{\\f1\\cb5\\cf5\\b Error occured while Connecting to OPC Server} \\par\\par \\fs18 "
    "\\par OPC Server: {\\b %s} "
    "\\par \\par {\\f1 \\b Please Check if OPC Server is available on this computer} \\par}";

}  // namespace

ReportRequest ServerConnectionErrorReport(const std::string& serverId) {
  CReportBuilder report;
  report.Raw(Format(kConnectionErrorBody, RtfEscape(serverId).c_str()));
  return report.Request(kServerConnectionErrorTitle);
}

int SaveProjectAs(CProjectStore& store, CProjectState& state, const std::string& name) {
  AppContext& context = store.Database().Context();
  const uint32_t start = context.clock.TickCount();
  const int projectId = store.Save(name);
  context.log.Log(Format(kSavedLog, static_cast<int>(context.clock.TickCount() - start)),
                  kLogOpcServer);
  state.SetName(name);
  return projectId;
}

bool SaveProjectCommand(CProjectStore& store, CProjectState& state, IProjectNameChooser& chooser) {
  const std::optional<std::string> name = chooser.ChooseProjectName(state.Name());
  if (!name)
    return true;
  return SaveProjectAs(store, state, *name) != -1;
}

bool OpenSavedProject(CProjectStore& store, CProjectState& state, const ProjectChoice& choice,
                      IProjectLoadObserver* observer) {
  COPCServer& server = store.Server();
  AppContext& context = store.Database().Context();
  bool loaded = false;
  if (!server.Connect(choice.m_sServerId, choice.m_sHost, choice.m_clsid)) {
    context.prompt.ShowReport(ServerConnectionErrorReport(choice.m_sServerId));
    state.Reset();
  } else if (store.LoadGroups(choice.m_nId, observer)) {
    const uint32_t start = context.clock.TickCount();
    if (store.LoadItems(choice.m_nId, observer)) {
      context.log.Log(Format(kLoadedLog, static_cast<int>(context.clock.TickCount() - start)),
                      kLogOpcServer);
      state.SetName(choice.m_sName);
      loaded = true;
    }
  }
  if (!loaded && server.IsConnected()) {
    if (observer != nullptr)
      observer->OnLoadFailed();
    state.Reset();
  }
  server.SetConfigurationModified(false);
  return loaded;
}

bool LoadProjectCommand(CProjectStore& store, CProjectState& state, IProjectChooser& chooser,
                        const std::function<bool()>& closeProject, IProjectLoadObserver* observer) {
  const std::optional<ProjectChoice> choice = chooser.ChooseProject();
  if (!choice)
    return false;
  // Loading beside a project the user kept open would mix the two configurations.
  if (closeProject && !closeProject())
    return false;
  return OpenSavedProject(store, state, *choice, observer);
}
