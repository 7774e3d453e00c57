#pragma once
// The composition root of the views: the one place of the shell that knows the concrete
// views. It makes them with the session's narrow interfaces (the frame asks for them one by
// one in creation order; a view that cannot be made, nullptr, stops the creation there) and
// joins the views that work together. Everywhere else the shell sees only CVelmoraView.
// Thread rule: GUI thread.
#include <QPointer>

#include "app/navigation.h"

class CMainFrame;
class CPrjDataView;
class CVelmoraSession;
class CVelmoraView;
class QWidget;

class IViewFactory {
 public:
  virtual ~IViewFactory() = default;
  virtual CVelmoraView* CreateView(VelmoraView view, QWidget* parent) = 0;
};

// The program's views, each given at construction what it reads and commands from the
// session (which outlives the frame and its views).
class CVelmoraViewFactory : public IViewFactory {
 public:
  explicit CVelmoraViewFactory(CVelmoraSession& session);
  CVelmoraView* CreateView(VelmoraView view, QWidget* parent) override;

 private:
  CVelmoraSession& m_session;
  // The export view and the project chart read the data view's table.
  QPointer<CPrjDataView> m_pPrjData;
};

// Joins the frame's views that work together (the data view feeds the live chart, a loaded
// project resets the data view, the catalogue opens the data view); attach false parts them
// again.
void AttachSessionViews(CMainFrame& frame, bool attach);
