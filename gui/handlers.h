#pragma once

// The interfaces through which a native view hands its drawing and its events on. Every
// operation carries the view that calls it.

#include <cstdint>

#include "base/rc.h"
#include "gui/events.h"
#include "gui/geometry.h"

namespace Wex {

class iGUIView;
class rcGraphicsContext;

class iGUIElementDrawer {
 public:
  // Draws the update rectangle (view coordinates) into the context.
  virtual void Draw(const iref<iGUIView>& view, rcGraphicsContext& context, const cRect& update) = 0;

 protected:
  virtual ~iGUIElementDrawer() = default;
};

class iMouseClickHandler {
 public:
  // A press while no tracking runs: the button number (0 primary), the event's secondary-click
  // flag and whether the click count is even. Answers whether the press was handled.
  virtual bool HandleMouseDown(const iref<iGUIView>& view, const cMouseEvent& event, std::int32_t button,
                               bool secondaryClick, bool doubleClick) = 0;

 protected:
  virtual ~iMouseClickHandler() = default;
};

class iContextMenuDisplayer {
 public:
  // A secondary click that the click handler did not handle; answers whether a menu was shown.
  virtual bool DisplayContextMenu(const iref<iGUIView>& view, const cMouseEvent& event) = 0;
  // Whether a context menu is available for the event.
  virtual bool CanDisplayContextMenu(const iref<iGUIView>& view, const cMouseEvent& event) = 0;

 protected:
  virtual ~iContextMenuDisplayer() = default;
};

class iMouseMovementHandler {
 public:
  // Once per entry of the pointer into the view.
  virtual void MouseEntered(const iref<iGUIView>& view) = 0;
  virtual void MouseMoved(const iref<iGUIView>& view, const cMouseEvent& event) = 0;
  virtual void MouseExited(const iref<iGUIView>& view) = 0;

 protected:
  virtual ~iMouseMovementHandler() = default;
};

class iMouseTracker {
 public:
  // Presses, drags and releases that leave a button down, while tracking.
  virtual void TrackMouse(const iref<iGUIView>& view, const cMouseEvent& event) = 0;
  // A key while tracking; answers whether it was handled (else it goes its normal way).
  virtual bool TrackKey(const iref<iGUIView>& view, const cKeyEvent& key) = 0;
  // The release that leaves no button pressed; tracking ends with it.
  virtual bool TrackMouseUp(const iref<iGUIView>& view, const cMouseEvent& event) = 0;
  virtual void TrackingCancelled(const iref<iGUIView>& view) = 0;

 protected:
  virtual ~iMouseTracker() = default;
};

class iWindowEventHandler {
 public:
  // A change of the window's state.
  virtual void WindowStateChanged(const iref<iGUIView>& view) = 0;
  // The window that holds the view was resized or moved.
  virtual void GeometryChanged(const iref<iGUIView>& view) = 0;
  // The view was hidden or shown.
  virtual void VisibilityChanged(const iref<iGUIView>& view) = 0;
  // The window became or stopped being the key window.
  virtual void KeyWindowChanged(const iref<iGUIView>& view) = 0;
  // The view moved to another window or superview.
  virtual void ViewMoved(const iref<iGUIView>& view) = 0;

 protected:
  virtual ~iWindowEventHandler() = default;
};

}  // namespace Wex
