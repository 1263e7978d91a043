#include "gui/element.h"

#include "gui/container.h"
#include "gui/native_view.h"
#include "gui/root.h"

namespace Wex {

namespace {

// The element that tracks the mouse; setting it releases the previous one.
ref<rcGUIElement> gTrackedElement;

}  // namespace

rcGUIElement::rcGUIElement(const cRect& r) : fBounds{0, 0, r.Width(), r.Height()}, fRect(r), fWindowRect(r) {}

rcGUIElement::~rcGUIElement() = default;

ref<rcGUIElement> rcGUIElement::GetTrackedElement() { return gTrackedElement; }

iNativeView* rcGUIElement::GetHostView() const { return fHost != nullptr ? fHost->GetNativeView() : nullptr; }

void rcGUIElement::Detach() {
  SetHost(nullptr);
  fParent = nullptr;
}

bool rcGUIElement::MouseDown(const cPoint&, std::int32_t, bool, const cKeyModifiers&) { return false; }

void rcGUIElement::MouseUp(const cPoint&, std::int32_t, const cKeyModifiers&) {
  if (gTrackedElement.Get() == this) EndTracking();
}

void rcGUIElement::MouseMoved(const cPoint&, std::int32_t, const cKeyModifiers&) {
  if (iNativeView* view = GetHostView(); fCursor && view != nullptr) view->UseCursor(fCursor);
}

bool rcGUIElement::MouseWheel(const cPoint&, std::int32_t, const cKeyModifiers&, double) { return false; }

void rcGUIElement::MoveTo(const cPoint& p) {
  const cPoint delta = p - fRect.TopLeft();
  if (delta == cPoint{}) return;
  if (fVisible) InvalidateInParent(fRect);
  fRect = fRect.Moved(delta);
  fWindowRect = fWindowRect.Moved(delta);
  if (fVisible) InvalidateInParent(fRect);
}

void rcGUIElement::SetSize(const cRect& b) {
  if (b == fBounds) return;
  if (fVisible) InvalidateInParent(fRect);
  fBounds = b;
  fRect.fRight = WrapAdd(fRect.fLeft, b.fRight);
  fRect.fBottom = WrapAdd(fRect.fTop, b.fBottom);
  fWindowRect.fRight = WrapAdd(fWindowRect.fLeft, b.fRight);
  fWindowRect.fBottom = WrapAdd(fWindowRect.fTop, b.fBottom);
  if (fVisible) InvalidateInParent(fRect);
}

void rcGUIElement::WindowStateChanged() {}

void rcGUIElement::InvalidateRect(const cRect& r) {
  if (!fVisible) return;
  const cRect clip = Intersection(r, fBounds);
  if (fParent != nullptr) {
    fParent->InvalidateRect(clip.Moved(fRect.TopLeft()));
  } else if (iNativeView* view = GetHostView()) {
    view->InvalidateRect(clip.Moved(fWindowRect.TopLeft()));
  }
}

ref<rcGUIElement> rcGUIElement::FindElementAt(const cPoint&) { return ref<rcGUIElement>(this); }

void rcGUIElement::StartTracking(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers) {
  BecomeTrackedElement();
  StartHostTracking(p, time, modifiers);
}

void rcGUIElement::BecomeTrackedElement() { gTrackedElement = ref<rcGUIElement>(this); }

void rcGUIElement::StartHostTracking(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers) {
  if (fHost != nullptr) fHost->StartTracking(LocalToWindow(p), time, modifiers);
}

void rcGUIElement::TrackMouse(const cPoint&, std::int32_t, const cKeyModifiers&) {}

void rcGUIElement::EndTracking() { gTrackedElement = nullptr; }

void rcGUIElement::CancelTracking() { gTrackedElement = nullptr; }

void rcGUIElement::MouseEntered(std::int32_t) { fMouseInside = true; }

void rcGUIElement::MouseExited(std::int32_t) { fMouseInside = false; }

bool rcGUIElement::ContextClick(const cPoint&, std::int32_t, const cKeyModifiers&) { return false; }

void rcGUIElement::OnHostAttached(rcGUIRoot&) {}

void rcGUIElement::OnHostDetached(rcGUIRoot&) {}

void rcGUIElement::OnTimer(rcScheduler&, std::int32_t, std::int32_t, std::uint32_t) {}

void rcGUIElement::SetHost(rcGUIRoot* host) {
  if (host == fHost) return;
  if (rcGUIRoot* old = fHost) {
    iNativeView* view = old->GetNativeView();
    if (fTimed) {
      fTimed = false;
      if (ref<rcScheduler> scheduler = view != nullptr ? view->GetScheduler() : nullptr) {
        scheduler->RemoveAllTasksOf(AsCallback());
      }
    }
    // The view reports the cancellation back through the root, which ends in CancelTracking.
    if (gTrackedElement.Get() == this && view != nullptr) view->CancelTracking(old->GetTracker());
    OnHostDetached(*old);
  }
  fHost = host;
  if (fParent != nullptr) SetWindowOrigin(fParent->GetWindowRect().TopLeft());
  if (host != nullptr) OnHostAttached(*host);
}

void rcGUIElement::Show() {
  if (fVisible) return;
  fVisible = true;
  InvalidateInParent(fRect);
}

void rcGUIElement::Hide() {
  if (!fVisible) return;
  fVisible = false;
  if (fMouseInside) MouseExited(CurrentElementTime());
  InvalidateInParent(fRect);
}

void rcGUIElement::SetRect(const cRect& r) {
  if (r == fRect) return;
  MoveTo(r.TopLeft());
  SetSize({0, 0, r.Width(), r.Height()});
}

void rcGUIElement::InvalidateAll() { InvalidateRect(fBounds); }

void rcGUIElement::InvalidateInParent(const cRect& r) {
  if (fParent != nullptr) {
    fParent->InvalidateRect(r);
  } else if (iNativeView* view = GetHostView()) {
    view->InvalidateRect(r);
  }
}

cPoint rcGUIElement::WindowToLocal(const cPoint& p) const { return p - fWindowRect.TopLeft(); }

cPoint rcGUIElement::LocalToWindow(const cPoint& p) const { return p + fWindowRect.TopLeft(); }

cRect rcGUIElement::GetContentRect() const {
  iNativeView* view = GetHostView();
  return view != nullptr ? fWindowRect.Moved(view->GetPositionInWindow()) : fWindowRect;
}

ref<rcExtWindow> rcGUIElement::GetHostWindow() const {
  iNativeView* view = GetHostView();
  return view != nullptr ? view->GetWindow() : nullptr;
}

cPoint rcGUIElement::LocalToScreen(const cPoint& p) const {
  const ref<rcExtWindow> window = GetHostWindow();
  if (!window) return {};
  return window->GetContentRect().TopLeft() + GetContentRect().TopLeft() + p;
}

void rcGUIElement::StartTimer(std::int32_t delay, std::uint32_t id) {
  StartTimerAt(WrapAdd(CurrentElementTime(), delay), id);
}

void rcGUIElement::StartTimerAt(std::int32_t due, std::uint32_t id) {
  iNativeView* view = GetHostView();
  ref<rcScheduler> scheduler = view != nullptr ? view->GetScheduler() : nullptr;
  if (!scheduler) return;
  fTimed = true;
  scheduler->AddTask(due, AsCallback(), id);
}

void rcGUIElement::StopTimer(std::uint32_t id) {
  if (!fTimed) return;
  iNativeView* view = GetHostView();
  if (ref<rcScheduler> scheduler = view != nullptr ? view->GetScheduler() : nullptr) {
    scheduler->RemoveTasks(AsCallback(), id);
  }
}

}  // namespace Wex
