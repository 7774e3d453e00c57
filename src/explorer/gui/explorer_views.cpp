#include "explorer/gui/explorer_views.h"

#include "app/gui/main_frame.h"
#include "explorer/gui/prj_data_view.h"
#include "explorer/gui/prj_database_view.h"
#include "explorer/gui/prj_export_view.h"

void AttachExplorerViews(CMainFrame& frame, CVelmoraSession* session) {
  auto* catalogue = frame.DatabaseView();
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
