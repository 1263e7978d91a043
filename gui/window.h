#pragma once

// A top-level window that the program creates: the toolkit window with a content view that fills
// it, the handlers to which the content view and the window's delegate pass events, and a
// scheduler of timed tasks with its own event-loop timer, so that elements in the window get
// their timers even while the host runs nested loops. Main thread only.
//
// Style mask 0 gives a borderless window that floats above all others and never takes a click
// or the keys (a hint); any other style a decorated window, kept above other windows when the
// level is above 0.

#include <cstdint>
#include <memory>

#include "gui/content_view.h"
#include "gui/event_loop_timer.h"
#include "gui/ext_window.h"
#include "gui/handlers.h"
#include "gui/native_view.h"

class comkelvane_brimlib_20150413151123_WindowsDelegate;

namespace Wex {

class rcWindow : public rcExtWindow, public iNativeView {
 public:
  // Creates the window hidden, with the content rectangle in screen coordinates. The toolkit
  // has no counterpart of defer.
  rcWindow(const cRect& contentRect, std::uint32_t styleMask, std::int32_t level, bool defer);
  ~rcWindow() override;

  // Each tells the listener when something changed: a new title, a window that was shown or
  // hidden.
  void SetTitle(const refString& title) override;
  void Show() override;
  void Hide() override;
  // Drops the handlers, the scheduler and its timer, the content view and the delegate, and
  // destroys the toolkit window.
  void Close() override;

  void SetListener(const iref<iGUIElementListener>& listener) override;
  void SetDrawer(const iref<iGUIElementDrawer>& drawer) override;
  void SetClickHandler(const iref<iMouseClickHandler>& handler) override;
  void SetMovementHandler(const iref<iMouseMovementHandler>& handler) override;
  void SetKeyHandler(const iref<iKeyHandler>& handler) override;
  void SetContextMenuDisplayer(const iref<iContextMenuDisplayer>& displayer) override;
  // The window itself.
  ref<rcExtWindow> GetWindow() override;
  // (0, 0): the content view fills the window.
  cPoint GetPositionInWindow() override;
  ref<rcScheduler> GetScheduler() override;
  void UseCursor(const ref<rcCocoaObject>& cursor) override;
  void ReissueMouseMoved() override;
  iref<iGUIElementListener> GetListener() override;
  iref<iGUIElementDrawer> GetDrawer() override;
  iref<iMouseClickHandler> GetClickHandler() override;
  iref<iContextMenuDisplayer> GetContextMenuDisplayer() override;
  iref<iMouseMovementHandler> GetMovementHandler() override;
  iref<iKeyHandler> GetKeyHandler() override;
  void StartTracking(const iref<iMouseTracker>& tracker, const cMouseEvent& event) override;
  void CancelTracking(const iref<iMouseTracker>& tracker) override;
  iref<iMouseTracker> GetTracker() override;
  // Runs the due tasks of the window's scheduler now.
  virtual void RunDueTasks();

 protected:
  // Asked when the user wants to close the window; without one the request is ignored.
  void SetWindowEventHandler(const iref<iWindowEventHandler>& handler);

 private:
  friend class ::comkelvane_brimlib_20150413151123_WindowsDelegate;

  void Notify(void (iGUIElementListener::*notification)(const iref<iGUIView>&));

  iref<iGUIElementListener> fListener;
  iref<iGUIElementDrawer> fDrawer;
  iref<iWindowEventHandler> fWindowEventHandler;
  iref<iMouseClickHandler> fClickHandler;
  iref<iMouseMovementHandler> fMovementHandler;
  iref<iKeyHandler> fKeyHandler;
  iref<iContextMenuDisplayer> fContextMenuDisplayer;
  std::unique_ptr<comkelvane_brimlib_20150413151123_WindowsDelegate> fDelegate;
  ref<comkelvane_brimlib_20150413151123_ContentView> fContentView;
  ref<rcScheduler> fScheduler;
  ref<rcMacEventLoopTimer> fTimer;
};

}  // namespace Wex
