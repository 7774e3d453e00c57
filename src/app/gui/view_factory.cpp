// The composition root: the only file of the shell that includes the views.
#include "app/gui/view_factory.h"

#include "acquisition/gui/opc_data_view.h"
#include "app/gui/main_frame.h"
#include "app/gui/velmora_pane_view.h"
#include "app/gui/velmora_session.h"
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

// The frame's typed look-ups (for the wiring below and for tests) live here too, so that
// the frame's own files need no view header.
COPCServerView* CMainFrame::ServerView() const {
  return qobject_cast<COPCServerView*>(View(VelmoraView::OpcServer));
}

COPCDataView* CMainFrame::DataView() const {
  return qobject_cast<COPCDataView*>(View(VelmoraView::OpcData));
}

COPCChartView* CMainFrame::ChartView(VelmoraView view) const {
  return qobject_cast<COPCChartView*>(View(view));
}

CPrjDatabaseView* CMainFrame::DatabaseView() const {
  return qobject_cast<CPrjDatabaseView*>(View(VelmoraView::PrjDatabase));
}

namespace {

void AttachExplorerViews(CMainFrame& frame, CVelmoraSession* session) {
  CPrjDatabaseView* catalogue = frame.DatabaseView();
  auto* data = qobject_cast<CPrjDataView*>(frame.View(VelmoraView::PrjData));
  auto* exporter = qobject_cast<CPrjExportView*>(frame.View(VelmoraView::PrjExport));
  if (catalogue != nullptr) {
    QObject::disconnect(catalogue, &CPrjDatabaseView::ViewProjectDataRequested, &frame, nullptr);
    catalogue->SetSession(session);
    if (session != nullptr) {
      QObject::connect(catalogue, &CPrjDatabaseView::ViewProjectDataRequested, &frame,
                       [&frame] { frame.ChooseEntry(NavigationEntry::ProjectOpcData); });
    }
  }
  if (data != nullptr)
    data->SetSession(session);
  if (exporter != nullptr)
    exporter->SetSession(session, data);
}

void AttachViews(CMainFrame& frame, CVelmoraSession& session) {
  COPCDataView* dataView = frame.DataView();
  if (dataView != nullptr) {
    dataView->SetEngine(&session.Engine(), &session.Context());
    CProjectState& state = session.ProjectState();
    dataView->SetProjectNameSource([&state] { return state.Name(); });
  }
  if (COPCChartView* chart = frame.ChartView(VelmoraView::LiveChart)) {
    chart->SetSession(&session.Context(), &session.Database(), &session.Engine());
    if (dataView != nullptr) {
      QObject::connect(dataView, &COPCDataView::ChartUpdate, chart, &COPCChartView::OnChartUpdate);
      QObject::connect(dataView, &COPCDataView::HeadingsChanged, chart,
                       &COPCChartView::OnHeadingsChanged);
    }
  }
  if (COPCChartView* chart = frame.ChartView(VelmoraView::ProjectChart)) {
    chart->SetSession(&session.Context(), &session.Database(), nullptr);
    chart->SetProjectDataView(qobject_cast<CPrjDataView*>(frame.View(VelmoraView::PrjData)));
  }
  if (COPCServerView* serverView = frame.ServerView()) {
    serverView->SetSession(&session);
    if (dataView != nullptr)
      QObject::connect(serverView, &COPCServerView::ProjectLoaded, dataView,
                       &COPCDataView::ResetView);
  }
  AttachExplorerViews(frame, &session);
}

void DetachViews(CMainFrame& frame) {
  if (COPCDataView* view = frame.DataView())
    view->SetEngine(nullptr, nullptr);
  if (COPCServerView* view = frame.ServerView())
    view->SetSession(nullptr);
  for (VelmoraView view : {VelmoraView::LiveChart, VelmoraView::ProjectChart}) {
    if (COPCChartView* chart = frame.ChartView(view))
      chart->SetSession(nullptr, nullptr, nullptr);
  }
  AttachExplorerViews(frame, nullptr);
}

}  // namespace

void AttachSessionViews(CMainFrame& frame, CVelmoraSession* session) {
  if (session != nullptr)
    AttachViews(frame, *session);
  else
    DetachViews(frame);
}
