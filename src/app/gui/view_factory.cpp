#include "app/gui/view_factory.h"

#include "acquisition/gui/opc_data_view.h"
#include "app/gui/velmora_pane_view.h"
#include "app/gui/velmora_start_view.h"
#include "chart/gui/opc_chart_view.h"
#include "explorer/gui/prj_data_view.h"
#include "explorer/gui/prj_database_view.h"
#include "explorer/gui/prj_export_view.h"
#include "opc/gui/opc_server_view.h"

CVelmoraView* CVelmoraViewFactory::CreateView(VelmoraView view, QWidget* parent) {
  switch (view) {
    case VelmoraView::Start:
      return new CVelmoraStartView(parent);
    case VelmoraView::OpcOutline:
      return new CVelmoraPaneView(OutlinePage::OpcExplorer, parent);
    case VelmoraView::OpcServer:
      return new COPCServerView(parent);
    case VelmoraView::OpcData:
      return new COPCDataView(parent);
    case VelmoraView::LiveChart:
      return new COPCChartView(ChartMode::Live, parent);
    case VelmoraView::ProjectsOutline:
      return new CVelmoraPaneView(OutlinePage::Projects, parent);
    case VelmoraView::PrjDatabase:
      return new CPrjDatabaseView(parent);
    case VelmoraView::PrjData:
      return new CPrjDataView(parent);
    case VelmoraView::PrjExport:
      return new CPrjExportView(parent);
    case VelmoraView::ProjectChart:
      return new COPCChartView(ChartMode::Project, parent);
    case VelmoraView::DcomOutline:
      return new CVelmoraPaneView(OutlinePage::Dcom, parent);
  }
  return nullptr;
}
