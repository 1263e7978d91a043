#pragma once

// The node of the editor's element tree: a rectangle with a position in its parent, a size, a
// visibility flag, a mouse-inside flag, an optional cursor and optional timed callbacks. It
// reaches the platform only through its host, the root of the tree.

#include <cstdint>

#include "base/rc.h"
#include "base/scheduler.h"
#include "gui/cocoa_object.h"
#include "gui/events.h"
#include "gui/geometry.h"
#include "gui/graphics_context.h"

namespace Wex {

class rcGUIContainer;
class rcExtWindow;
class rcGUIRoot;
class iNativeView;

// Coordinates are whole pixels; points are in the element's local coordinates unless said
// otherwise; times are the low 32 bits of milliseconds since system start.
class rcGUIElement : public rc, public iSchedulerCallback {
 public:
  // r is the element's rectangle in its parent's coordinates.
  explicit rcGUIElement(const cRect& r);
  rcGUIElement(const rcGUIElement&) = delete;
  rcGUIElement& operator=(const rcGUIElement&) = delete;
  ~rcGUIElement() override;

  // Leaves the host and the parent.
  virtual void Detach();
  virtual void Draw(rcGraphicsContext& context, const cRect& update) = 0;
  // Answers whether the press was handled.
  virtual bool MouseDown(const cPoint& p, std::int32_t time, bool doubleClick, const cKeyModifiers& modifiers);
  // Ends the tracking when this element tracks the mouse.
  virtual void MouseUp(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers);
  // Shows the element's cursor, if it has one.
  virtual void MouseMoved(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers);
  virtual bool MouseWheel(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers, double amount);
  // Moves the rectangle's top-left to p (parent coordinates), invalidating the old and new place.
  virtual void MoveTo(const cPoint& p);
  // Resizes to b.fRight × b.fBottom, invalidating the old and new place.
  virtual void SetSize(const cRect& b);
  // A notification broadcast down the tree.
  virtual void WindowStateChanged();
  // Marks the part of r inside the element for redrawing.
  virtual void InvalidateRect(const cRect& r);
  // The element under p (this one for a plain element).
  virtual ref<rcGUIElement> FindElementAt(const cPoint& p);
  // Makes this the tracked element and asks the host to route the mouse to it.
  virtual void StartTracking(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers);
  // Movement and presses while this element is tracked.
  virtual void TrackMouse(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers);
  virtual void EndTracking();
  virtual void CancelTracking();
  virtual void MouseEntered(std::int32_t time);
  virtual void MouseExited(std::int32_t time);
  // A secondary (context-menu) click; answers whether it was handled.
  virtual bool ContextClick(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers);
  // Derived classes start their timers when they are attached.
  virtual void OnHostAttached(rcGUIRoot& host);
  virtual void OnHostDetached(rcGUIRoot& host);
  // The timer callback (the scheduled call of iSchedulerCallback).
  void OnTimer(rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) override;
  // Leaving a host drops every timer task of the element.
  virtual void SetHost(rcGUIRoot* host);

  void Show();
  // Hiding an element that has the mouse sends it MouseExited first.
  void Hide();
  // MoveTo and SetSize, when the rectangle differs.
  void SetRect(const cRect& r);
  void InvalidateAll();
  // Marks r (parent coordinates) for redrawing in the parent, or in the host view without one.
  void InvalidateInParent(const cRect& r);
  cPoint WindowToLocal(const cPoint& p) const;
  cPoint LocalToWindow(const cPoint& p) const;
  // The rectangle in the content area of the host view's window.
  cRect GetContentRect() const;
  // p in screen coordinates, y downwards from the top of the first screen; (0, 0) when the host
  // view is in no window.
  cPoint LocalToScreen(const cPoint& p) const;
  // The window of the host's view; empty without a host or when the view is in no window.
  ref<rcExtWindow> GetHostWindow() const;
  // Timer tasks on the host view's scheduler; without a host these do nothing.
  void StartTimer(std::int32_t delay, std::uint32_t id);
  void StartTimerAt(std::int32_t due, std::uint32_t id);
  void StopTimer(std::uint32_t id);

  rcGUIRoot* GetHost() const { return fHost; }
  rcGUIContainer* GetParent() const { return fParent; }
  bool IsVisible() const { return fVisible; }
  bool IsMouseInside() const { return fMouseInside; }
  const cRect& GetBounds() const { return fBounds; }
  const cRect& GetRect() const { return fRect; }
  const cRect& GetWindowRect() const { return fWindowRect; }
  bool IsTimed() const { return fTimed; }

  // The element that tracks the mouse, program-wide; empty when none.
  static ref<rcGUIElement> GetTrackedElement();

 protected:
  void SetCursor(ref<rcCocoaObject> cursor) { fCursor = std::move(cursor); }
  const ref<rcCocoaObject>& GetCursor() const { return fCursor; }
  // The host's view; null without a host or after the host closed.
  iNativeView* GetHostView() const;
  // The two steps of StartTracking, for elements that act between them: this element becomes
  // the tracked one (releasing the previous one); then the host, if any, routes the mouse to it
  // from p on.
  void BecomeTrackedElement();
  void StartHostTracking(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers);

 private:
  friend class rcGUIContainer;

  iref<iSchedulerCallback> AsCallback() { return iref<iSchedulerCallback>(this); }
  void SetWindowOrigin(const cPoint& parentWindowOrigin) { fWindowRect = fRect.Moved(parentWindowOrigin); }

  rcGUIRoot* fHost = nullptr;
  rcGUIContainer* fParent = nullptr;
  bool fVisible = true;
  cRect fBounds;
  ref<rcCocoaObject> fCursor;
  bool fMouseInside = false;
  cRect fRect;
  cRect fWindowRect;
  bool fTimed = false;
};

}  // namespace Wex
