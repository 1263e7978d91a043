#pragma once

// The view on which the program draws its element trees, and the only place where the
// toolkit's mouse and key events enter the GUI. It turns event records into cMouseEvent and
// cKeyEvent, asks its owner (a native view or a window) for the handler of each kind of event
// and calls it; it keeps the pointer's enter/leave state, routes every mouse and key event to
// one tracker while a drag is tracked, keeps the cursor that the view shows, and sets up drawing.
// It reaches its widget only through the peer. Main thread only.
//
// An event that no handler consumes goes on to the widget's parent (the host), as it would go
// to the superclass of a platform view: a method that answers false lets it go there.

#include <cairo.h>

#include "base/rc.h"
#include "gui/events.h"
#include "gui/handlers.h"
#include "gui/native_view.h"
#include "platform/content_view_peer.h"
#include "platform/view_event.h"

typedef struct _GObject GObject;

namespace Wex {

// Makes the peer of a new content view: a toolkit widget unless tests put another maker in place.
using ContentViewPeerMaker = iref<Platform::iContentViewPeer> (*)();
iref<Platform::iContentViewPeer> MakeContentViewPeer();
// Answers the maker that was in place.
ContentViewPeerMaker SetContentViewPeerMaker(ContentViewPeerMaker maker);

}  // namespace Wex

class comkelvane_brimlib_20150413151123_ContentView : public Wex::rc, public Platform::iContentViewSink {
 public:
  // Holds the owner (which holds the view in turn until it calls Release) and connects the peer,
  // which must not be empty, giving it the frame.
  comkelvane_brimlib_20150413151123_ContentView(const Platform::Rect& frame, const iref<Wex::iNativeView>& nativeView,
                                                const iref<Platform::iContentViewPeer>& peer);
  // Makes the view of an owner that is still being constructed, over a peer from the maker. The
  // owner's count is raised for the call so that a failure cannot release the half-built owner;
  // on failure the raise stays (the owner's construction fails too and frees it regardless).
  static ref<comkelvane_brimlib_20150413151123_ContentView> CreateForOwner(const Platform::Rect& frame,
                                                                          Wex::rc* ownerObject,
                                                                          Wex::iNativeView* owner);
  // Releases first, so a view that its owner released is released safely a second time.
  ~comkelvane_brimlib_20150413151123_ContentView() override;

  // Hands one event record to the method of its kind.
  bool DispatchEvent(const Platform::ViewEvent& event) override;

  // The three dispatchers of presses, releases and drags; each answers whether it consumed the
  // event.
  bool anyMouseDown(const Platform::ViewEvent& event);
  bool anyMouseUp(const Platform::ViewEvent& event);
  bool anyMouseDragged(const Platform::ViewEvent& event);
  // These always let the event go on to the parent as well.
  void mouseMoved(const Platform::ViewEvent& event);
  void mouseEntered(const Platform::ViewEvent& event);
  void mouseExited(const Platform::ViewEvent& event);
  // Delivers one move to the movement handler, starting from the arrow cursor.
  void doMouseMove(const Wex::cMouseEvent& event);
  // Deliver the entered and the exited notification, each at most once in turn.
  void sendEnter();
  void sendLeft();
  // Re-sends the program's last move when this view received it.
  void reissueMouseMoved();
  bool keyDown(const Platform::ViewEvent& event);
  bool flagsChanged(const Platform::ViewEvent& event);
  Wex::cMouseEvent cMouseEventFromNSEvent(const Platform::ViewEvent& event) const;

  // Routes mouse and key events to the tracker, which receives the event at once.
  void StartTracking(const iref<Wex::iMouseTracker>& tracker, const Wex::cMouseEvent& event);
  // Cancels tracking when the tracker is the current one; any other is ignored.
  void CancelTracking(const iref<Wex::iMouseTracker>& tracker);
  // The current tracker, empty when nothing is tracked.
  iref<Wex::iMouseTracker> GetTracker() const { return currentTracker; }

  // Sets the cursor that the view shows: a shared cursor, a toolkit cursor, or null for the
  // parent's cursor.
  void useCursor(GObject* cursor);

  // The widget side, through which the owner places, shows and invalidates the view.
  Platform::iContentViewPeer& GetPeer() const { return *fPeer; }

  void drawRect(cairo_t* context, const Platform::Rect& dirty) override;
  void viewDidHide() override;
  void viewDidUnhide() override;
  void viewDidMoveToWindow() override;
  void viewDidMoveToSuperview() override;
  // The widget gained or lost the keys: the listener hears of it as of its window's activation,
  // so that the element tree can refresh what depends on who takes the keys.
  void viewDidChangeFocus() override;
  // Detaches the view from everything: cursor, widget parent, owner, tracker, events and the
  // last move. The owner calls it before it lets go of the view.
  void Release() override;

 private:
  iref<Wex::iGUIView> Host() const { return iref<Wex::iGUIView>(wexNativeView); }
  iref<Wex::iMouseTrackingHost> TrackingHost() const { return iref<Wex::iMouseTrackingHost>(wexNativeView); }
  // After a release: one move when the pointer is inside the view, else the exit.
  void MoveOrLeave(const Platform::ViewEvent& event);
  void NotifyListener(void (Wex::iGUIElementListener::*notification)(const iref<Wex::iGUIView>&));

  iref<Wex::iNativeView> wexNativeView;
  iref<Wex::iMouseTracker> currentTracker;
  bool isEntered = false;
  bool sentEnter = false;
  GObject* currentCursor = nullptr;
  iref<Platform::iContentViewPeer> fPeer;
};
