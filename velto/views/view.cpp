#include "velto/views/view.h"

#include <algorithm>
#include <string>

#include "gui/ext_window.h"

namespace Velto {

bool SameText(const ref<rcViewText>& a, const ref<rcViewText>& b) {
  if (!a || !b) return a.Get() == b.Get();
  return a->GetSize() == b->GetSize() && std::equal(a->begin(), a->end(), b->begin());
}

rcView::rcView(const Wex::cRect& r) : rcGUIElement(r) {}

rcView::~rcView() = default;

void rcView::Detach() {
  fHintWindow = nullptr;
  fListeners = nullptr;
  rcGUIElement::Detach();
}

bool rcView::MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                       const Wex::cKeyModifiers& modifiers) {
  if (const ref<rcHintWindow> window = fHintWindow) window->HideAnyHint();
  return rcGUIElement::MouseDown(p, time, doubleClick, modifiers);
}

void rcView::MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) {
  rcGUIElement::MouseMoved(p, time, modifiers);
  if (!fHintWindow) return;
  if (ContainsPoint(p)) {
    ScheduleHint(p, 1000);
  } else {
    HideOwnHint();
  }
}

void rcView::MoveTo(const Wex::cPoint& p) {
  if (p == GetRect().TopLeft()) return;
  rcGUIElement::MoveTo(p);
  NotifyListeners(1);
}

void rcView::SetSize(const Wex::cRect& b) {
  if (b == GetBounds()) return;
  rcGUIElement::SetSize(b);
  NotifyListeners(1);
}

void rcView::StartTracking(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) {
  BecomeTrackedElement();
  NotifyListeners(3);
  StartHostTracking(p, time, modifiers);
}

void rcView::EndTracking() {
  HideOwnHint();
  rcGUIElement::EndTracking();
  NotifyListeners(3);
}

void rcView::CancelTracking() {
  HideOwnHint();
  rcGUIElement::CancelTracking();
  NotifyListeners(3);
}

void rcView::MouseExited(std::int32_t time) {
  rcGUIElement::MouseExited(time);
  HideOwnHint();
}

refString rcView::GetValueText() { return fValueText; }

bool rcView::ContainsPoint(const Wex::cPoint& p) { return GetBounds().Contains(p); }

refString rcView::GetHintText() { return fValueHint ? ExpandValueHint() : fHintText; }

refString rcView::ExpandValueHint() {
  const std::string_view stored = fHintText->GetText();
  std::string text;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] != '%') {
      text += stored[i];
    } else if (i + 1 < stored.size() && stored[i + 1] == '%') {
      text += '%';
      ++i;
    } else {
      text += GetValueText()->GetText();
    }
  }
  return Wex::MakeRCString(text);
}

void rcView::AddListener(const iref<iViewListener>& listener) {
  if (!listener) return;
  if (!fListeners) fListeners = new ViewListenerList();
  for (const iref<iViewListener>& listed : *fListeners) {
    if (listed == listener) return;
  }
  fListeners->Append(listener);
  listener->ViewChanged(ref<Wex::rcGUIElement>(this), 0);
}

void rcView::NotifyListeners(std::int32_t code) {
  const aref<ViewListenerList> listeners = fListeners;
  // Listeners may be added meanwhile: the count and the entries are read at every step.
  for (std::int64_t i = 0; i < listeners.GetSize(); ++i) {
    iViewListener* listener = listeners[i].Get();
    listener->ViewChanged(ref<Wex::rcGUIElement>(this), code);
  }
}

void rcView::SetHint(const refString& text) { StoreHint(text, false); }

void rcView::SetValueHint(const refString& text) { StoreHint(text, true); }

void rcView::StoreHint(const refString& text, bool valueHint) {
  if (fValueHint == valueHint && fHintText->IsEqual(text)) return;
  fValueHint = valueHint;
  fHintText = text ? text : Wex::rcString::GetEmpty();
  RefreshShownHint();
  NotifyListeners(4);
}

void rcView::RefreshShownHint() {
  if (const ref<rcHintWindow> window = fHintWindow; window && fHintText->GetSize() > 1) {
    window->UpdateShownText(ref<Wex::rcGUIElement>(this), GetHintText());
  }
}

void rcView::ScheduleHint(const Wex::cPoint& p, std::int32_t delay) {
  const refString text = GetHintText();
  const ref<rcHintWindow> window = fHintWindow;
  if (!window) return;
  if (text->GetSize() <= 1) {
    HideHintInSameWindow();
    return;
  }
  window->ScheduleHint(ref<Wex::rcGUIElement>(this), delay, LocalToScreen(p) + kHintOffset, text);
}

void rcView::ShowHintNow(const Wex::cPoint& p) {
  const ref<rcHintWindow> window = fHintWindow;
  if (!window) return;
  const refString text = GetHintText();
  if (text->GetSize() <= 1) {
    HideHintInSameWindow();
    return;
  }
  window->ShowHint(ref<Wex::rcGUIElement>(this), LocalToScreen(p) + kHintOffset, text);
}

void rcView::HideHintInSameWindow() {
  const ref<rcHintWindow> window = fHintWindow;
  const ref<Wex::rcGUIElement> owner = window ? window->GetOwner() : nullptr;
  if (!owner) return;
  // An owner without a host is in another window.
  const ref<Wex::rcExtWindow> ownerWindow = owner->GetHostWindow();
  if (ownerWindow && ownerWindow == GetHostWindow()) window->HideHint(owner);
}

void rcView::HideOwnHint() {
  if (const ref<rcHintWindow> window = fHintWindow) window->HideHint(ref<Wex::rcGUIElement>(this));
}

}  // namespace Velto
