#pragma once
// The composition root of the views: the one place of the shell that knows the concrete
// views. It makes them (the frame asks for them one by one in creation order; a view that
// cannot be made, nullptr, stops the creation there), plugs the session's narrow
// interfaces into them and joins the views that work together. Everywhere else the shell
// sees only CVelmoraView.
// Thread rule: GUI thread.
#include "app/navigation.h"

class CMainFrame;
class CVelmoraSession;
class CVelmoraView;
class QWidget;

class IViewFactory {
 public:
  virtual ~IViewFactory() = default;
  virtual CVelmoraView* CreateView(VelmoraView view, QWidget* parent) = 0;
};

// The program's views.
class CVelmoraViewFactory : public IViewFactory {
 public:
  CVelmoraView* CreateView(VelmoraView view, QWidget* parent) override;
};

// Gives the frame's views what they read and command from the session and joins them
// (the data view feeds the live chart, a loaded project resets the data view, the catalogue
// opens the data view, the export view and the project chart read the data view's table).
// session null detaches them all again.
void AttachSessionViews(CMainFrame& frame, CVelmoraSession* session);
