#include "app/view_creation.h"

namespace {

constexpr char kUnableToCreate[] = "Unable to Create ";
constexpr char kPleaseContactQuorix[] = "!!! Please Contact Quorix";

constexpr std::array<ViewCreationStep, kViewCount> kOrder = {{
    {VelmoraView::kStart, "Initializing Velmora Start View ...", "CVelmoraStartView"},
    {VelmoraView::kOpcOutline, "Initializing OPC Server Pane View ...", "CVelmoraPaneView"},
    {VelmoraView::kOpcServer, "Initializing OPC Server View ...", "COPCServerView"},
    {VelmoraView::kOpcData, "Initializing OPC Data Acquisition View ...", "CDbView"},
    {VelmoraView::kLiveChart, "Initializing OPC Data Chart View ...", "COPCDataChartView"},
    {VelmoraView::kProjectsOutline, "Initializing Project Pane View ...", "CVelmoraPaneView"},
    {VelmoraView::kPrjDatabase, "Initializing Project Database View ...", "CPrjDatabaseView"},
    {VelmoraView::kPrjData, "Initializing Project Data View ...", "CPrjDataView"},
    {VelmoraView::kPrjExport, "Initializing Project Export View ...", "CPrjExportView"},
    {VelmoraView::kProjectChart, "Initializing OPC Data Chart View for Project ...",
     "COPCDataChartView"},
    {VelmoraView::kDcomOutline, "Initializing DCOM Pane View ...", "CVelmoraPaneView"},
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
      prompt.ShowMessage(ViewCreationFailureText(entry.className), MessageButtons::kOk,
                         MessageIcon::kError);
      return created;
    }
    ++created;
    pause(hooks.pauseAfterEachMs);
  }
  return created;
}
