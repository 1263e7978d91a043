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

#include "gui/ext_window.h"
#include "gui/handlers.h"
#include "gui/native_view_core.h"

class comkelvane_brimlib_20150413151123_WindowsDelegate;

namespace Wex {

class rcWindow : public rcExtWindow, public cNativeViewCore {
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

  // The window itself.
  ref<rcExtWindow> GetWindow() override;
  // (0, 0): the content view fills the window.
  cPoint GetPositionInWindow() override;
  // Runs the due tasks of the window's scheduler now.
  virtual void RunDueTasks();

 protected:
  // Asked when the user wants to close the window; without one the request is ignored.
  void SetWindowEventHandler(const iref<iWindowEventHandler>& handler);

 private:
  friend class ::comkelvane_brimlib_20150413151123_WindowsDelegate;

  void Notify(void (iGUIElementListener::*notification)(const iref<iGUIView>&));

  iref<iWindowEventHandler> fWindowEventHandler;
  std::unique_ptr<comkelvane_brimlib_20150413151123_WindowsDelegate> fDelegate;
};

}  // namespace Wex
