#pragma once

// The top element of one Velto GUI: the container that holds the application's controller,
// through which every part of the framework reaches the application.

#include "gui/container.h"
#include "gui/geometry.h"
#include "velto/controller.h"

namespace Velto {

class rcRootView : public Wex::rcGUIContainer {
 public:
  // The controller is not owned: it must outlive the root view.
  rcRootView(const Wex::cRect& bounds, iController* controller);

  iController& GetController() const { return *fController; }

 private:
  iController* fController;
};

}  // namespace Velto
