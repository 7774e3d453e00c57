#pragma once
// Makes the frame's views. The frame asks for them one by one in creation order; a view
// that cannot be made (nullptr) stops the creation there.
#include "app/navigation.h"

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
