#pragma once

// What a window of the program and the editor's view in the host's view share as native views:
// the six handlers that the element tree installs, the content view that passes events to them
// and to which cursor and tracking requests go, and the scheduler with the event-loop timer that
// runs it. It holds no reference count of its own: the class that derives from it brings one,
// makes the content view with itself as the owner and decides the order in which Close drops
// the parts. Main thread only.

#include "base/rc.h"
#include "base/scheduler.h"
#include "gui/content_view.h"
#include "gui/event_loop_timer.h"
#include "gui/handlers.h"
#include "gui/native_view.h"

namespace Wex {

class cNativeViewCore : public iNativeView {
 public:
  cNativeViewCore(const cNativeViewCore&) = delete;
  cNativeViewCore& operator=(const cNativeViewCore&) = delete;

  void SetListener(const iref<iGUIElementListener>& listener) override;
  void SetDrawer(const iref<iGUIElementDrawer>& drawer) override;
  void SetClickHandler(const iref<iMouseClickHandler>& handler) override;
  void SetMovementHandler(const iref<iMouseMovementHandler>& handler) override;
  void SetKeyHandler(const iref<iKeyHandler>& handler) override;
  void SetContextMenuDisplayer(const iref<iContextMenuDisplayer>& displayer) override;
  iref<iGUIElementListener> GetListener() override;
  iref<iGUIElementDrawer> GetDrawer() override;
  iref<iMouseClickHandler> GetClickHandler() override;
  iref<iContextMenuDisplayer> GetContextMenuDisplayer() override;
  iref<iMouseMovementHandler> GetMovementHandler() override;
  iref<iKeyHandler> GetKeyHandler() override;
  ref<rcScheduler> GetScheduler() override;
  // These go to the content view; without one (closed) they do nothing or answer empty.
  void UseCursor(const ref<rcCocoaObject>& cursor) override;
  void ReissueMouseMoved() override;
  void StartTracking(const iref<iMouseTracker>& tracker, const cMouseEvent& event) override;
  void CancelTracking(const iref<iMouseTracker>& tracker) override;
  iref<iMouseTracker> GetTracker() override;

 protected:
  cNativeViewCore() = default;
  ~cNativeViewCore() override = default;

  // Makes the scheduler and its timer and starts the timer.
  void StartScheduler();
  // Drops the scheduler and then its timer.
  void DropScheduler();
  // Drops the six handlers, the listener first and the context menu displayer last.
  void DropHandlers();
  // Lets go of the content view after detaching it from everything; a second call does nothing.
  // Releasing it may release the last reference to the owner: the caller holds one for that.
  void ReleaseContentView();

  ref<comkelvane_brimlib_20150413151123_ContentView> fContentView;

 private:
  iref<iGUIElementListener> fListener;
  iref<iGUIElementDrawer> fDrawer;
  iref<iMouseClickHandler> fClickHandler;
  iref<iMouseMovementHandler> fMovementHandler;
  iref<iKeyHandler> fKeyHandler;
  iref<iContextMenuDisplayer> fContextMenuDisplayer;
  ref<rcScheduler> fScheduler;
  ref<rcMacEventLoopTimer> fTimer;
};

}  // namespace Wex
