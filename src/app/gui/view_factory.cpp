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

CVelmoraViewFactory::CVelmoraViewFactory(CVelmoraSession& session) : m_session(session) {}

CVelmoraView* CVelmoraViewFactory::CreateView(VelmoraView view, QWidget* parent) {
  CVelmoraSession& session = m_session;
  switch (view) {
    case VelmoraView::kStart:
      return new CVelmoraStartView(parent);
    case VelmoraView::kOpcOutline:
      return new CVelmoraPaneView(OutlinePage::kOpcExplorer, parent);
    case VelmoraView::kOpcServer:
      return new COPCServerView(session, parent);
    case VelmoraView::kOpcData: {
      CProjectState& state = session.ProjectState();
      return new COPCDataView(
          session.Engine(), session.Context(), [&state] { return state.Name(); }, parent);
    }
    case VelmoraView::kLiveChart:
      return new COPCChartView(ChartMode::kLive, session.Context(), session.Database(),
                               &session.Engine(), nullptr, parent);
    case VelmoraView::kProjectsOutline:
      return new CVelmoraPaneView(OutlinePage::kProjects, parent);
    case VelmoraView::kPrjDatabase:
      return new CPrjDatabaseView(session, parent);
    case VelmoraView::kPrjData:
      m_pPrjData = new CPrjDataView(session, parent);
      return m_pPrjData;
    case VelmoraView::kPrjExport:
      // Made after the data view whose table it exports (creation stops at a failed view).
      return m_pPrjData.isNull() ? nullptr : new CPrjExportView(session, *m_pPrjData, parent);
    case VelmoraView::kProjectChart:
      return new COPCChartView(ChartMode::kProject, session.Context(), session.Database(), nullptr,
                               m_pPrjData.data(), parent);
    case VelmoraView::kDcomOutline:
      return new CVelmoraPaneView(OutlinePage::kDcom, parent);
  }
  return nullptr;
}

// The frame's typed look-ups (for the wiring below and for tests) live here too, so that
// the frame's own files need no view header.
COPCServerView* CMainFrame::ServerView() const {
  return qobject_cast<COPCServerView*>(View(VelmoraView::kOpcServer));
}

COPCDataView* CMainFrame::DataView() const {
  return qobject_cast<COPCDataView*>(View(VelmoraView::kOpcData));
}

COPCChartView* CMainFrame::ChartView(VelmoraView view) const {
  return qobject_cast<COPCChartView*>(View(view));
}

CPrjDatabaseView* CMainFrame::DatabaseView() const {
  return qobject_cast<CPrjDatabaseView*>(View(VelmoraView::kPrjDatabase));
}

namespace {

void AttachViews(CMainFrame& frame) {
  COPCDataView* dataView = frame.DataView();
  if (COPCChartView* chart = frame.ChartView(VelmoraView::kLiveChart); chart && dataView) {
    QObject::connect(dataView, &COPCDataView::ChartUpdate, chart, &COPCChartView::OnChartUpdate);
    QObject::connect(dataView, &COPCDataView::HeadingsChanged, chart,
                     &COPCChartView::OnHeadingsChanged);
  }
  if (COPCServerView* serverView = frame.ServerView(); serverView && dataView)
    QObject::connect(serverView, &COPCServerView::ProjectLoaded, dataView,
                     &COPCDataView::ResetView);
  if (CPrjDatabaseView* catalogue = frame.DatabaseView()) {
    QObject::connect(catalogue, &CPrjDatabaseView::ViewProjectDataRequested, &frame,
                     [&frame] { frame.ChooseEntry(NavigationEntry::kProjectOpcData); });
  }
}

void DetachViews(CMainFrame& frame) {
  COPCDataView* dataView = frame.DataView();
  if (COPCChartView* chart = frame.ChartView(VelmoraView::kLiveChart); chart && dataView)
    QObject::disconnect(dataView, nullptr, chart, nullptr);
  if (COPCServerView* serverView = frame.ServerView(); serverView && dataView)
    QObject::disconnect(serverView, nullptr, dataView, nullptr);
  if (CPrjDatabaseView* catalogue = frame.DatabaseView())
    QObject::disconnect(catalogue, &CPrjDatabaseView::ViewProjectDataRequested, &frame, nullptr);
}

}  // namespace

void AttachSessionViews(CMainFrame& frame, bool attach) {
  DetachViews(frame);  // never joined twice
  if (attach)
    AttachViews(frame);
}
