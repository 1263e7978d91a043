#include "gui/container.h"


namespace Wex {

rcGUIContainer::rcGUIContainer(const cRect& r) : rcGUIElement(r) {}

rcGUIContainer::~rcGUIContainer() {
  // A child that lives on must not point at this container.
  for (std::int64_t i = 0; i < fChildren.GetCount(); ++i) fChildren[i]->fParent = nullptr;
}

template <class Handler>
bool rcGUIContainer::Route(const cPoint& p, Handler&& handler) {
  const ref<rcGUIContainer> self(this);
  for (std::int64_t i = fChildren.GetCount() - 1; i >= 0; --i) {
    // A handler may have removed children meanwhile.
    if (i >= fChildren.GetCount()) continue;
    const ref<rcGUIElement> child = fChildren[i];
    if (child->fVisible && child->fRect.Contains(p) && handler(*child, p - child->fRect.TopLeft())) return true;
  }
  return false;
}

bool rcGUIContainer::MouseDown(const cPoint& p, std::int32_t time, bool doubleClick, const cKeyModifiers& modifiers) {
  return Route(p, [&](rcGUIElement& child, const cPoint& local) {
    return child.MouseDown(local, time, doubleClick, modifiers);
  });
}

bool rcGUIContainer::MouseWheel(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers, double amount) {
  return Route(p, [&](rcGUIElement& child, const cPoint& local) {
    return child.MouseWheel(local, time, modifiers, amount);
  });
}

bool rcGUIContainer::ContextClick(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers) {
  return Route(p, [&](rcGUIElement& child, const cPoint& local) { return child.ContextClick(local, time, modifiers); });
}

ref<rcGUIElement> rcGUIContainer::FindElementAt(const cPoint& p) {
  ref<rcGUIElement> found;
  Route(p, [&](rcGUIElement& child, const cPoint& local) {
    found = child.FindElementAt(local);
    return bool(found);
  });
  return found ? found : ref<rcGUIElement>(this);
}

void rcGUIContainer::MouseMoved(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers) {
  const ref<rcGUIContainer> self(this);
  rcGUIElement::MouseMoved(p, time, modifiers);
  for (std::int64_t i = 0; i < fChildren.GetCount(); ++i) {
    const ref<rcGUIElement> child = fChildren[i];
    if (child->fMouseInside && (!child->fVisible || !child->fRect.Contains(p))) child->MouseExited(time);
  }
  for (std::int64_t i = 0; i < fChildren.GetCount(); ++i) {
    const ref<rcGUIElement> child = fChildren[i];
    if (!child->fVisible || !child->fRect.Contains(p)) continue;
    if (!child->fMouseInside) child->MouseEntered(time);
    child->MouseMoved(p - child->fRect.TopLeft(), time, modifiers);
  }
}

void rcGUIContainer::MouseExited(std::int32_t time) {
  rcGUIElement::MouseExited(time);
  for (std::int64_t i = 0; i < fChildren.GetCount(); ++i) {
    const ref<rcGUIElement> child = fChildren[i];
    if (child->fMouseInside) child->MouseExited(time);
  }
}

void rcGUIContainer::MoveTo(const cPoint& p) {
  rcGUIElement::MoveTo(p);
  for (std::int64_t i = 0; i < fChildren.GetCount(); ++i) {
    const ref<rcGUIElement> child = fChildren[i];
    child->SetWindowOrigin(GetWindowRect().TopLeft());
    // Does not move the child, but lets a nested container refresh its own children.
    child->MoveTo(child->fRect.TopLeft());
  }
}

void rcGUIContainer::WindowStateChanged() {
  for (std::int64_t i = 0; i < fChildren.GetCount(); ++i) {
    const ref<rcGUIElement> child = fChildren[i];
    child->WindowStateChanged();
  }
}

void rcGUIContainer::SetHost(rcGUIRoot* host) {
  rcGUIElement::SetHost(host);
  for (std::int64_t i = 0; i < fChildren.GetCount(); ++i) {
    const ref<rcGUIElement> child = fChildren[i];
    child->SetHost(host);
  }
}

void rcGUIContainer::AddChild(ref<rcGUIElement> child) {
  if (!child) return;
  fChildren.Append(child);
  child->fParent = this;
  child->SetWindowOrigin(GetWindowRect().TopLeft());
  child->SetHost(GetHost());
  if (child->fVisible) child->InvalidateInParent(child->fRect);
}

void rcGUIContainer::Unlink(std::int64_t index) {
  const ref<rcGUIElement> child = fChildren[index];
  if (child->fVisible) child->InvalidateInParent(child->fRect);
  child->SetHost(nullptr);
  child->fParent = nullptr;
  // The host change may have reordered the list.
  if (const std::int64_t at = fChildren.Find(child.Get()); at >= 0) fChildren.RemoveAt(at);
}

void rcGUIContainer::RemoveChild(const ref<rcGUIElement>& child) {
  const std::int64_t index = fChildren.Find(child.Get());
  if (index >= 0) Unlink(index);
}

void rcGUIContainer::RemoveAllChildren() {
  for (std::int64_t i = fChildren.GetCount() - 1; i >= 0; --i) {
    if (i >= fChildren.GetCount()) continue;
    const ref<rcGUIElement> child = fChildren[i];
    Unlink(i);
    child->Detach();
  }
}

void rcGUIContainer::Detach() {
  const ref<rcGUIContainer> self(this);
  if (IsMouseInside()) MouseExited(CurrentElementTime());
  for (std::int64_t i = fChildren.GetCount() - 1; i >= 0; --i) {
    if (i >= fChildren.GetCount()) continue;
    const ref<rcGUIElement> child = fChildren[i];
    fChildren.RemoveAt(i);
    child->Detach();
  }
  SetHost(nullptr);
  fParent = nullptr;
}

void rcGUIContainer::Draw(rcGraphicsContext& context, const cRect& update) { DrawChildren(context, update); }

void rcGUIContainer::DrawChildren(rcGraphicsContext& context, const cRect& update) {
  // The context's origin moves to each drawn child's top-left in turn and back at the end.
  cTranslationScope origin(context);
  for (std::int64_t i = 0; i < fChildren.GetCount(); ++i) {
    const ref<rcGUIElement> child = fChildren[i];
    const cRect rect = child->fRect;
    if (!child->fVisible || !Overlaps(update, rect)) continue;
    if (!context.IsRectVisible(rect.Moved(origin.GetTranslation()))) continue;
    origin.Set(-rect.TopLeft());
    const cRect clip = Intersection(update, rect).Moved(origin.GetTranslation());
    cClipScope scope(context, clip);
    child->Draw(context, clip);
  }
}

}  // namespace Wex
