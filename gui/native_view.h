#pragma once

// The native view that hosts an element tree (the editor's view in the host's window, or a window
// of the program), as the element tree uses it.

#include "base/rc.h"
#include "base/scheduler.h"
#include "gui/cocoa_object.h"
#include "gui/events.h"
#include "gui/ext_window.h"
#include "gui/geometry.h"
#include "gui/gui_view.h"
#include "gui/handlers.h"

namespace Wex {

class iNativeView : public virtual iGUIView, public virtual iMouseTrackingHost {
 public:
  // Each replaces the view's handler of that kind (the new reference is taken before the old
  // one is dropped).
  virtual void SetListener(const iref<iGUIElementListener>& listener) = 0;
  virtual void SetDrawer(const iref<iGUIElementDrawer>& drawer) = 0;
  virtual void SetClickHandler(const iref<iMouseClickHandler>& handler) = 0;
  virtual void SetMovementHandler(const iref<iMouseMovementHandler>& handler) = 0;
  virtual void SetKeyHandler(const iref<iKeyHandler>& handler) = 0;
  virtual void SetContextMenuDisplayer(const iref<iContextMenuDisplayer>& displayer) = 0;
  // Each answers a new reference to the view's handler of that kind, empty when none is set.
  virtual iref<iGUIElementListener> GetListener() = 0;
  virtual iref<iGUIElementDrawer> GetDrawer() = 0;
  virtual iref<iMouseClickHandler> GetClickHandler() = 0;
  virtual iref<iContextMenuDisplayer> GetContextMenuDisplayer() = 0;
  virtual iref<iMouseMovementHandler> GetMovementHandler() = 0;
  virtual iref<iKeyHandler> GetKeyHandler() = 0;

  // The window that holds the view; empty when there is none.
  virtual ref<rcExtWindow> GetWindow() = 0;
  // The view's top-left in its window's content area, y from the top; (0, 0) without a window.
  virtual cPoint GetPositionInWindow() = 0;
  // The scheduler that the view's event-loop timer runs.
  virtual ref<rcScheduler> GetScheduler() = 0;
  // Sends the program's last move again when this view received it, so that hover state and
  // cursor follow a change under a still pointer.
  virtual void ReissueMouseMoved() = 0;
  // Makes the cursor (a shared cursor or a toolkit cursor) the one that the view shows; an empty
  // reference shows the cursor of the view's parent.
  virtual void UseCursor(const ref<rcCocoaObject>& cursor) = 0;
  // Drops the handlers, the scheduler and its timer, and the platform's view.
  virtual void Close() = 0;

 protected:
  ~iNativeView() override = default;
};

}  // namespace Wex
