#include "gui/root.h"

#include <utility>

namespace Wex {

rcGUIRoot::rcGUIRoot(const iref<iNativeView>& view) : fView(view) {
  if (!fView) return;
  fView->SetDrawer(iref<iGUIElementDrawer>(this));
  fView->SetClickHandler(iref<iMouseClickHandler>(this));
  fView->SetContextMenuDisplayer(iref<iContextMenuDisplayer>(this));
  fView->SetMovementHandler(iref<iMouseMovementHandler>(this));
  fView->SetListener(iref<iGUIElementListener>(this));
}

rcGUIRoot::~rcGUIRoot() = default;

void rcGUIRoot::SetRootElement(ref<rcGUIElement> element) {
  if (const ref<rcGUIElement> old = std::move(fRootElement)) {
    if (fView) fView->InvalidateRect(old->GetWindowRect());
    old->SetHost(nullptr);
  }
  fRootElement = element;
  if (element) {
    if (fView) element->SetSize(fView->GetBounds());
    element->SetHost(this);
    if (fView) fView->InvalidateRect(element->GetWindowRect());
  }
}

void rcGUIRoot::StartTracking(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers) {
  StartTracking(GetTracker(), p, time, modifiers);
}

void rcGUIRoot::StartTracking(const iref<iMouseTracker>& tracker, const cPoint& p, std::int32_t time,
                              const cKeyModifiers& modifiers) {
  const iref<iNativeView> view = fView;
  if (!view) return;
  view->StartTracking(tracker, cMouseEvent{iref<iGUIView>(view), p, time, modifiers, 1});
}

void rcGUIRoot::Close() {
  if (const ref<rcGUIElement> element = fRootElement) {
    element->Detach();
    fRootElement = nullptr;
  }
  if (const iref<iNativeView> view = fView) {
    fView = nullptr;
    view->Close();
  }
}

void rcGUIRoot::NotifyWindowStateChanged() {
  if (const ref<rcGUIElement> element = fRootElement) element->WindowStateChanged();
}

void rcGUIRoot::Draw(const iref<iGUIView>&, rcGraphicsContext& context, const cRect& update) {
  if (const ref<rcGUIElement> element = fRootElement) element->Draw(context, update);
}

bool rcGUIRoot::MouseClick(const iref<iGUIView>&, const cMouseEvent& event, std::int32_t button, bool secondaryClick,
                           bool doubleClick) {
  const ref<rcGUIElement> element = fRootElement;
  if (button != 0 || !element) return false;
  cKeyModifiers modifiers = event.fModifiers;
  modifiers.fSecondaryClick = secondaryClick;
  return element->MouseDown(event.fPoint, ToElementTime(event.fTime), doubleClick, modifiers);
}

bool rcGUIRoot::ShowContextMenu(const iref<iGUIView>&, const cMouseEvent& event) {
  const ref<rcGUIElement> element = fRootElement;
  return element && element->ContextClick(event.fPoint, ToElementTime(event.fTime), event.fModifiers);
}

bool rcGUIRoot::CanDisplayContextMenu(const iref<iGUIView>&, const cMouseEvent&) { return false; }

void rcGUIRoot::MouseEntered(const iref<iGUIView>&) {
  if (const ref<rcGUIElement> element = fRootElement) element->MouseEntered(0);
}

void rcGUIRoot::MouseMoved(const iref<iGUIView>&, const cMouseEvent& event) {
  if (const ref<rcGUIElement> element = fRootElement) {
    element->MouseMoved(event.fPoint, ToElementTime(event.fTime), event.fModifiers);
  }
}

void rcGUIRoot::MouseExited(const iref<iGUIView>&) {
  if (const ref<rcGUIElement> element = fRootElement) element->MouseExited(0);
}

void rcGUIRoot::TrackMouse(const iref<iMouseTrackingHost>&, const cMouseEvent& event) {
  if (const ref<rcGUIElement> tracked = rcGUIElement::GetTrackedElement()) {
    tracked->TrackMouse(tracked->WindowToLocal(event.fPoint), ToElementTime(event.fTime), event.fModifiers);
  }
}

bool rcGUIRoot::TrackKey(const iref<iMouseTrackingHost>&, const cKeyEvent&) { return false; }

bool rcGUIRoot::EndTracking(const iref<iMouseTrackingHost>&, const cMouseEvent& event) {
  if (const ref<rcGUIElement> tracked = rcGUIElement::GetTrackedElement()) {
    tracked->MouseUp(tracked->WindowToLocal(event.fPoint), ToElementTime(event.fTime), event.fModifiers);
  }
  return true;
}

void rcGUIRoot::CancelTracking(const iref<iMouseTrackingHost>&) {
  if (const ref<rcGUIElement> tracked = rcGUIElement::GetTrackedElement()) tracked->CancelTracking();
}

void rcGUIRoot::TitleChanged(const iref<iGUIView>&) { NotifyWindowStateChanged(); }

void rcGUIRoot::FrameChanged(const iref<iGUIView>& host) {
  const ref<rcGUIElement> element = fRootElement;
  if (element && host) element->SetSize(host->GetBounds());
}

void rcGUIRoot::VisibilityChanged(const iref<iGUIView>&) { NotifyWindowStateChanged(); }

void rcGUIRoot::ActivationChanged(const iref<iGUIView>&) { NotifyWindowStateChanged(); }

void rcGUIRoot::HierarchyChanged(const iref<iGUIView>&) { NotifyWindowStateChanged(); }

}  // namespace Wex
