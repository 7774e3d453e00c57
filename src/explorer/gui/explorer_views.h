#pragma once
// Plugs the session into the three project explorer views and joins them: the catalogue's
// "View Project Data" opens the data view through the frame's navigation, and the export
// view reads the data view's table.
class CMainFrame;
class CVelmoraSession;

// session null detaches.
void AttachExplorerViews(CMainFrame& frame, CVelmoraSession* session);
