#include "app/view_creation.h"

namespace {

constexpr char kUnableToCreate[] = "Unable to Create ";
constexpr char kPleaseContactQuorix[] = "!!! Please Contact Quorix";

constexpr std::array<ViewCreationStep, kViewCount> kOrder = {{
    {VelmoraView::Start, "Initializing Velmora Start View ...", "CVelmoraStartView"},
    {VelmoraView::OpcOutline, "Initializing OPC Server Pane View ...", "CVelmoraPaneView"},
    {VelmoraView::OpcServer, "Initializing OPC Server View ...", "COPCServerView"},
    {VelmoraView::OpcData, "Initializing OPC Data Acquisition View ...", "CDbView"},
    {VelmoraView::LiveChart, "Initializing OPC Data Chart View ...", "COPCDataChartView"},
    {VelmoraView::ProjectsOutline, "Initializing Project Pane View ...", "CVelmoraPaneView"},
    {VelmoraView::PrjDatabase, "Initializing Project Database View ...", "CPrjDatabaseView"},
    {VelmoraView::PrjData, "Initializing Project Data View ...", "CPrjDataView"},
    {VelmoraView::PrjExport, "Initializing Project Export View ...", "CPrjExportView"},
    {VelmoraView::ProjectChart, "Initializing OPC Data Chart View for Project ...",
     "COPCDataChartView"},
    {VelmoraView::DcomOutline, "Initializing DCOM Pane View ...", "CVelmoraPaneView"},
}};

}  // namespace

const std::array<ViewCreationStep, kViewCount>& ViewCreationOrder() {
  return kOrder;
}

std::string ViewCreationFailureText(const std::string& className) {
  return kUnableToCreate + className + kPleaseContactQuorix;
}

int CreateViewsInOrder(ISplashProgress* splash, IUserPrompt& prompt,
                       const ViewCreationHooks& hooks) {
  auto pause = [&](int milliseconds) {
    if (hooks.pause)
      hooks.pause(milliseconds);
  };
  if (splash != nullptr)
    splash->ShowText(kCreatingViewsText);
  pause(kViewCreationWaitMs);
  int created = 0;
  for (const ViewCreationStep& entry : kOrder) {
    if (splash != nullptr)
      splash->ShowStep(entry.splashText, false);
    if (!hooks.create || !hooks.create(entry.view)) {
      prompt.ShowMessage(ViewCreationFailureText(entry.className), MessageButtons::Ok,
                         MessageIcon::Error);
      return created;
    }
    ++created;
    pause(hooks.pauseAfterEachMs);
  }
  return created;
}
