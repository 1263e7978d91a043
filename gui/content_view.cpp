#include "gui/content_view.h"

#include <glib-object.h>

#include <string>
#include <utility>

#include "gui/geometry.h"
#include "gui/graphics_context.h"
#include "platform/cursor.h"
#include "platform/gtk_content_view_peer.h"

using ContentView = comkelvane_brimlib_20150413151123_ContentView;

namespace {

using Platform::ViewEvent;
using Platform::ViewEventKind;

// The last move that any content view delivered, and the view that received it.
struct LastMove {
  Wex::cMouseEvent event;
  ContentView* view = nullptr;
};
LastMove gLastMove;

// Clears the record. The old event's reference to its source goes when the caller's copy does.
[[nodiscard]] LastMove TakeLastMove() { return std::exchange(gLastMove, LastMove{}); }

// Event time in milliseconds: the timestamp's low 32 bits, sign-extended, so the time wraps as
// the original platform's event clock does.
std::int64_t EventTime(double timestamp) {
  const double milliseconds = timestamp * 1000.0 + 0.5;
  if (!(milliseconds > -9.0e18 && milliseconds < 9.0e18)) return 0;
  const auto whole = static_cast<std::int64_t>(milliseconds);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(whole));
}

// The key modifiers of the flags; the secondary-click flag stays clear.
Wex::cKeyModifiers KeyModifiers(std::uint32_t flags) {
  Wex::cKeyModifiers modifiers;
  modifiers.fControl = (flags & Platform::kControlKeyMask) != 0;
  modifiers.fShift = (flags & Platform::kShiftKeyMask) != 0;
  modifiers.fOption = (flags & Platform::kAlternateKeyMask) != 0;
  modifiers.fCommand = (flags & Platform::kCommandKeyMask) != 0;
  return modifiers;
}

// The key's character: the typed text in ISO Latin-1, up to its first character without a
// Latin-1 code, when that gives exactly one byte; delete (0x7F) becomes backspace (8).
std::uint8_t KeyCharacter(const std::u32string& characters) {
  std::size_t count = 0;
  while (count < characters.size() && characters[count] <= 0xFF) ++count;
  if (count != 1) return 0;
  return characters[0] == 0x7F ? 8 : static_cast<std::uint8_t>(characters[0]);
}

iref<Platform::iContentViewPeer> MakeToolkitPeer() {
  return iref<Platform::iContentViewPeer>(new Platform::GtkContentViewPeer());
}

Wex::ContentViewPeerMaker gPeerMaker = MakeToolkitPeer;

}  // namespace

namespace Wex {

iref<Platform::iContentViewPeer> MakeContentViewPeer() { return gPeerMaker(); }

ContentViewPeerMaker SetContentViewPeerMaker(ContentViewPeerMaker maker) { return std::exchange(gPeerMaker, maker); }

}  // namespace Wex

ref<ContentView> ContentView::CreateForOwner(const Platform::Rect& frame, Wex::rc* ownerObject,
                                             Wex::iNativeView* owner) {
  Wex::AddReference(ownerObject);
  const iref<Wex::iNativeView> nativeView(ownerObject, owner);
  const ref<ContentView> view(new ContentView(frame, nativeView, Wex::MakeContentViewPeer()));
  // Never the last reference: the view holds one.
  Wex::ReleaseReference(ownerObject);
  return view;
}

ContentView::comkelvane_brimlib_20150413151123_ContentView(const Platform::Rect& frame,
                                                           const iref<Wex::iNativeView>& nativeView,
                                                           const iref<Platform::iContentViewPeer>& peer)
    : wexNativeView(nativeView), fPeer(peer) {
  fPeer->SetFrame(frame);
  fPeer->Connect(this, this);
}

ContentView::~comkelvane_brimlib_20150413151123_ContentView() {
  // Nothing may reach the view while it is destroyed.
  fPeer->Disconnect();
  Release();
}

bool ContentView::DispatchEvent(const ViewEvent& event) {
  switch (event.kind) {
    case ViewEventKind::kMouseDown:
      return anyMouseDown(event);
    case ViewEventKind::kMouseUp:
      return anyMouseUp(event);
    case ViewEventKind::kMouseDragged:
      return anyMouseDragged(event);
    case ViewEventKind::kMouseMoved:
      mouseMoved(event);
      return false;
    case ViewEventKind::kMouseEntered:
      mouseEntered(event);
      return false;
    case ViewEventKind::kMouseExited:
      mouseExited(event);
      return false;
    case ViewEventKind::kKeyDown:
      return keyDown(event);
    case ViewEventKind::kFlagsChanged:
      return flagsChanged(event);
    case ViewEventKind::kDragLost: {
      // A drag whose pointer grab went elsewhere ends as if its buttons came up.
      if (!currentTracker) return false;
      ViewEvent up = event;
      up.pressedMouseButtons = 0;
      return anyMouseUp(up);
    }
  }
  return false;
}

Wex::cMouseEvent ContentView::cMouseEventFromNSEvent(const ViewEvent& event) const {
  Wex::cKeyModifiers modifiers = KeyModifiers(event.modifierFlags);
  modifiers.fSecondaryClick = modifiers.fControl || event.buttonNumber == 1;
  return {Host(), Wex::ToPoint(event.locationInWindow), EventTime(event.timestamp), modifiers,
          event.pressedMouseButtons};
}

bool ContentView::anyMouseDown(const ViewEvent& event) {
  if (const iref<Wex::iMouseTracker> tracker = currentTracker) {
    tracker->TrackMouse(TrackingHost(), cMouseEventFromNSEvent(event));
    return true;
  }
  const iref<Wex::iMouseClickHandler> handler = wexNativeView ? wexNativeView->GetClickHandler() : nullptr;
  if (!handler) return false;
  const Wex::cMouseEvent mouse = cMouseEventFromNSEvent(event);
  const bool doubleClick = ((event.clickCount ^ 1) & 1) != 0;
  const bool secondary = mouse.fModifiers.fSecondaryClick;
  if (handler->MouseClick(Host(), mouse, event.buttonNumber, secondary, doubleClick)) return true;
  if (secondary && wexNativeView) {
    const iref<Wex::iContextMenuDisplayer> displayer = wexNativeView->GetContextMenuDisplayer();
    if (displayer && displayer->ShowContextMenu(Host(), mouse)) return true;
  }
  return false;
}

bool ContentView::anyMouseUp(const ViewEvent& event) {
  if (const iref<Wex::iMouseTracker> tracker = currentTracker) {
    const Wex::cMouseEvent mouse = cMouseEventFromNSEvent(event);
    if (mouse.fButtons == 0) {
      currentTracker = nullptr;
      tracker->EndTracking(TrackingHost(), mouse);
      MoveOrLeave(event);
    } else {
      tracker->TrackMouse(TrackingHost(), mouse);
    }
    return true;
  }
  MoveOrLeave(event);
  return false;
}

void ContentView::MoveOrLeave(const ViewEvent& event) {
  if (isEntered) {
    doMouseMove(cMouseEventFromNSEvent(event));
  } else {
    sendLeft();
  }
}

bool ContentView::anyMouseDragged(const ViewEvent& event) {
  const iref<Wex::iMouseTracker> tracker = currentTracker;
  if (!tracker) return false;
  tracker->TrackMouse(TrackingHost(), cMouseEventFromNSEvent(event));
  return true;
}

void ContentView::mouseMoved(const ViewEvent& event) {
  // A plain move while tracking means that the buttons came up unseen.
  if (currentTracker) anyMouseUp(event);
  if (!currentTracker) doMouseMove(cMouseEventFromNSEvent(event));
}

void ContentView::mouseEntered(const ViewEvent& event) {
  isEntered = true;
  if (!currentTracker) doMouseMove(cMouseEventFromNSEvent(event));
}

void ContentView::mouseExited(const ViewEvent&) {
  isEntered = false;
  if (!currentTracker) sendLeft();
}

void ContentView::doMouseMove(const Wex::cMouseEvent& event) {
  const iref<Wex::iMouseMovementHandler> handler = wexNativeView ? wexNativeView->GetMovementHandler() : nullptr;
  // Every move starts from the arrow; an element under the pointer may set its own cursor.
  useCursor(Wex::GetNSCursor(0));
  const LastMove previous = std::exchange(gLastMove, LastMove{event, this});
  if (!handler) return;
  isEntered = true;
  if (!sentEnter) {
    sentEnter = true;
    handler->MouseEntered(Host());
  }
  handler->MouseMoved(Host(), event);
}

void ContentView::sendEnter() {
  if (sentEnter) return;
  const iref<Wex::iMouseMovementHandler> handler = wexNativeView ? wexNativeView->GetMovementHandler() : nullptr;
  if (!handler) return;
  sentEnter = true;
  handler->MouseEntered(Host());
}

void ContentView::sendLeft() {
  if (!sentEnter) return;
  const iref<Wex::iMouseMovementHandler> handler = wexNativeView ? wexNativeView->GetMovementHandler() : nullptr;
  useCursor(Wex::GetNSCursor(0));
  const LastMove previous = TakeLastMove();
  if (!handler) return;
  sentEnter = false;
  handler->MouseExited(Host());
}

void ContentView::reissueMouseMoved() {
  if (gLastMove.view != this) return;
  const Wex::cMouseEvent event = gLastMove.event;
  doMouseMove(event);
}

bool ContentView::keyDown(const ViewEvent& event) {
  const iref<Wex::iKeyHandler> handler = wexNativeView ? wexNativeView->GetKeyHandler() : nullptr;
  const iref<Wex::iMouseTracker> tracker = currentTracker;
  if (!tracker && !handler) return false;
  const Wex::cKeyEvent key{KeyCharacter(event.characters), EventTime(event.timestamp),
                           KeyModifiers(event.modifierFlags), event.keyCode};
  if (tracker) return tracker->TrackKey(TrackingHost(), key);
  return handler->KeyDown(Host(), key, event.isARepeat);
}

bool ContentView::flagsChanged(const ViewEvent& event) {
  const iref<Wex::iKeyHandler> handler = wexNativeView ? wexNativeView->GetKeyHandler() : nullptr;
  const Wex::cKeyEvent key{0, EventTime(event.timestamp), KeyModifiers(event.modifierFlags), -1};
  // Hover state and cursor follow the modifier keys while the pointer stands still, in whichever
  // view received the last move.
  if (gLastMove.view != nullptr) {
    gLastMove.event.fModifiers = key.fModifiers;
    const ref<ContentView> view(gLastMove.view);
    const Wex::cMouseEvent move = gLastMove.event;
    view->doMouseMove(move);
  }
  if (const iref<Wex::iMouseTracker> tracker = currentTracker) return tracker->TrackKey(TrackingHost(), key);
  return handler && handler->KeyDown(Host(), key, false);
}

void ContentView::StartTracking(const iref<Wex::iMouseTracker>& tracker, const Wex::cMouseEvent& event) {
  if (const iref<Wex::iMouseTracker> old = currentTracker; old && old.Get() != tracker.Get()) {
    old->CancelTracking(TrackingHost());
  }
  currentTracker = tracker;
  const LastMove previous = TakeLastMove();
  if (tracker) tracker->TrackMouse(TrackingHost(), event);
}

void ContentView::CancelTracking(const iref<Wex::iMouseTracker>& tracker) {
  const iref<Wex::iMouseTracker> current = currentTracker;
  if (!current || current.Get() != tracker.Get()) return;
  currentTracker = nullptr;
  current->CancelTracking(TrackingHost());
  if (isEntered) {
    sendEnter();
  } else {
    sendLeft();
  }
}

void ContentView::useCursor(GObject* cursor) {
  if (cursor == currentCursor) return;
  if (cursor != nullptr) g_object_ref(cursor);
  if (currentCursor != nullptr) g_object_unref(currentCursor);
  currentCursor = cursor;
  fPeer->UseCursor(cursor);
}

void ContentView::drawRect(cairo_t* context, const Platform::Rect& dirty) {
  const iref<Wex::iGUIElementDrawer> drawer = wexNativeView ? wexNativeView->GetDrawer() : nullptr;
  // Without a drawer nothing more is drawn over the widget's background.
  if (!drawer) return;
  const ref<Wex::rcGraphicsContext> graphics(new Wex::rcGraphicsContext(cairo_reference(context)));
  drawer->Draw(Host(), *graphics, Wex::ToRect(dirty));
}

void ContentView::NotifyListener(void (Wex::iGUIElementListener::*notification)(const iref<Wex::iGUIView>&)) {
  const iref<Wex::iGUIElementListener> listener = wexNativeView ? wexNativeView->GetListener() : nullptr;
  if (listener) (listener.Get()->*notification)(Host());
}

void ContentView::viewDidHide() { NotifyListener(&Wex::iGUIElementListener::VisibilityChanged); }

void ContentView::viewDidUnhide() { NotifyListener(&Wex::iGUIElementListener::VisibilityChanged); }

void ContentView::viewDidMoveToWindow() { NotifyListener(&Wex::iGUIElementListener::HierarchyChanged); }

void ContentView::viewDidMoveToSuperview() { NotifyListener(&Wex::iGUIElementListener::HierarchyChanged); }

void ContentView::viewDidChangeFocus() { NotifyListener(&Wex::iGUIElementListener::ActivationChanged); }

void ContentView::Release() {
  if (currentCursor != nullptr) g_object_unref(std::exchange(currentCursor, nullptr));
  fPeer->RemoveFromSuperview();
  // What the view lets go of may hold the last reference to the view itself: it goes last.
  const iref<Wex::iNativeView> owner = std::move(wexNativeView);
  const iref<Wex::iMouseTracker> tracker = std::move(currentTracker);
  fPeer->Disconnect();
  const LastMove previous = gLastMove.view == this ? TakeLastMove() : LastMove{};
}
