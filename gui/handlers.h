#pragma once

// The interfaces through which a native view hands its drawing and its events on. Every
// operation carries the view that calls it: the host, seen through its view side, or, for a
// mouse tracker, through its tracking side.

#include <cstdint>

#include "base/rc.h"
#include "gui/events.h"
#include "gui/geometry.h"

namespace Wex {

class iGUIView;
class iMouseTracker;
class rcGraphicsContext;
class rcWindow;

class iGUIElementListener {
 public:
  // The view's title changed.
  virtual void TitleChanged(const iref<iGUIView>& host) = 0;
  // The view's frame (position or size) changed.
  virtual void FrameChanged(const iref<iGUIView>& host) = 0;
  // The view was hidden or shown.
  virtual void VisibilityChanged(const iref<iGUIView>& host) = 0;
  // The view's window became or stopped being the key window.
  virtual void ActivationChanged(const iref<iGUIView>& host) = 0;
  // The view moved to another window or superview.
  virtual void HierarchyChanged(const iref<iGUIView>& host) = 0;

 protected:
  virtual ~iGUIElementListener() = default;
};

class iGUIElementDrawer {
 public:
  // Draws the update rectangle (view coordinates) into the context.
  virtual void Draw(const iref<iGUIView>& host, rcGraphicsContext& context, const cRect& update) = 0;

 protected:
  virtual ~iGUIElementDrawer() = default;
};

class iMouseClickHandler {
 public:
  // A press while no tracking runs: the button number (0 primary, 1 secondary, 2 middle), the
  // event's secondary-click flag and whether the click count is even. Answers whether the press
  // was handled.
  virtual bool MouseClick(const iref<iGUIView>& host, const cMouseEvent& event, std::int32_t button,
                          bool secondaryClick, bool doubleClick) = 0;

 protected:
  virtual ~iMouseClickHandler() = default;
};

class iContextMenuDisplayer {
 public:
  // A secondary click that the click handler did not handle; answers whether a menu was shown.
  virtual bool ShowContextMenu(const iref<iGUIView>& host, const cMouseEvent& event) = 0;
  // Whether a context menu is available for the event.
  virtual bool CanDisplayContextMenu(const iref<iGUIView>& host, const cMouseEvent& event) = 0;

 protected:
  virtual ~iContextMenuDisplayer() = default;
};

class iMouseMovementHandler {
 public:
  // Once per entry of the pointer into the view.
  virtual void MouseEntered(const iref<iGUIView>& host) = 0;
  virtual void MouseMoved(const iref<iGUIView>& host, const cMouseEvent& event) = 0;
  virtual void MouseExited(const iref<iGUIView>& host) = 0;

 protected:
  virtual ~iMouseMovementHandler() = default;
};

class iKeyHandler {
 public:
  // A key press, or a change of the modifier keys alone (key code -1, character 0); repeat is
  // set for the presses that a held key repeats. Answers whether the key was handled.
  virtual bool KeyDown(const iref<iGUIView>& host, const cKeyEvent& key, bool repeat) = 0;

 protected:
  virtual ~iKeyHandler() = default;
};

class iWindowEventHandler {
 public:
  // The user asks to close the window (its close box, or the window system); the window stays
  // open unless the handler hides or closes it.
  virtual void CloseRequested(const ref<rcWindow>& window) = 0;

 protected:
  virtual ~iWindowEventHandler() = default;
};

class iMouseTrackingHost {
 public:
  // From now on presses, drags, releases and keys go to the tracker instead of the handlers; the
  // tracker receives the event at once as its first one.
  virtual void StartTracking(const iref<iMouseTracker>& tracker, const cMouseEvent& event) = 0;
  // When the tracker is the current one: stops routing to it, tells it that tracking was
  // cancelled, then reports the pointer's entry or exit.
  virtual void CancelTracking(const iref<iMouseTracker>& tracker) = 0;
  // The current tracker; empty when nothing is tracked.
  virtual iref<iMouseTracker> GetTracker() = 0;

 protected:
  virtual ~iMouseTrackingHost() = default;
};

class iMouseTracker {
 public:
  // Presses, drags and releases that leave a button down, while tracking.
  virtual void TrackMouse(const iref<iMouseTrackingHost>& host, const cMouseEvent& event) = 0;
  // A key while tracking; answers whether it was handled (else it goes its normal way).
  virtual bool TrackKey(const iref<iMouseTrackingHost>& host, const cKeyEvent& key) = 0;
  // The release that leaves no button pressed; tracking has ended with it.
  virtual bool EndTracking(const iref<iMouseTrackingHost>& host, const cMouseEvent& event) = 0;
  virtual void CancelTracking(const iref<iMouseTrackingHost>& host) = 0;

 protected:
  virtual ~iMouseTracker() = default;
};

}  // namespace Wex
