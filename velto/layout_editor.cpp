#include "velto/layout_editor.h"

#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "gui/ext_window.h"
#include "gui/native_view.h"

namespace Velto {

namespace {

constexpr std::int32_t kBar = 6;           // the bars' thickness
constexpr Wex::cPoint kLabelOffset{0, -5};  // from the frame's top-left, above the descent
constexpr std::int32_t kLabelGrowth = 2;    // label bounds grow right and down by this when redrawn

Wex::cRGBColor Lightened(const Wex::cRGBColor& c) {
  return {255 - (255 - c.fRed) / 2, 255 - (255 - c.fGreen) / 2, 255 - (255 - c.fBlue) / 2};
}

}  // namespace

ref<rcLayoutEditor> rcLayoutEditor::Create() { return ref<rcLayoutEditor>(new rcLayoutEditor()); }

rcLayoutEditor::rcLayoutEditor() : rcGUIElement({0, 0, 32000, 32000}), fLabelFont(new Wex::rcFont(nullptr, 11)) {
  std::int32_t leading = 0;
  std::int32_t ascent = 0;
  try {
    Wex::GetFontMetrics(*fLabelFont, leading, ascent, fLabelDescent);
  } catch (const Wex::xExceptionWithRCString&) {
    fLabelDescent = 0;  // no face to measure: the label sits on the offset alone
  }
}

void rcLayoutEditor::GetBars(const Wex::cRect& f, Wex::cRect (&bars)[4]) {
  using Wex::WrapAdd;
  using Wex::WrapSub;
  const std::int32_t left = WrapSub(f.fLeft, kBar);
  const std::int32_t top = WrapSub(f.fTop, kBar);
  const std::int32_t right = WrapAdd(f.fRight, kBar);
  const std::int32_t bottom = WrapAdd(f.fBottom, kBar);
  bars[0] = {left, top, f.fLeft, bottom};
  bars[1] = {left, top, right, f.fTop};
  bars[2] = {f.fRight, top, right, bottom};
  bars[3] = {left, f.fBottom, right, bottom};
}

void rcLayoutEditor::AddEditableView(std::string name, ref<Wex::rcGUIElement> element, const Wex::cRect& r,
                                     const void* value, iref<iLayoutEditListener> listener,
                                     Wex::rcGUIElement* listenerArgument, const Wex::cRGBColor& color) {
  const Wex::cRect frame = r.Moved(element->GetWindowRect().TopLeft());
  fEntries.push_back(
      {std::move(name), std::move(element), r, frame, value, std::move(listener), listenerArgument, color});
  Redraw(fEntries.back());
}

std::list<LayoutEditorEntry>::iterator rcLayoutEditor::Find(const LayoutEditorEntry& entry) {
  for (auto it = fEntries.begin(); it != fEntries.end(); ++it) {
    if (&*it == &entry) return it;
  }
  return fEntries.end();
}

void rcLayoutEditor::RemoveEntry(const LayoutEditorEntry& entry) {
  if (Find(entry) == fEntries.end()) return;
  if (&entry == fSelected) {
    CancelDrag();
    fSelected = nullptr;
  }
  // The cancel's listener may have removed it already.
  const auto it = Find(entry);
  if (it == fEntries.end()) return;
  Redraw(*it);
  fEntries.erase(it);
}

void rcLayoutEditor::RemoveEntriesIf(const std::function<bool(const LayoutEditorEntry&)>& which) {
  std::vector<const LayoutEditorEntry*> doomed;
  for (const LayoutEditorEntry& entry : fEntries) {
    if (which(entry)) doomed.push_back(&entry);
  }
  for (const LayoutEditorEntry* entry : doomed) RemoveEntry(*entry);
}

void rcLayoutEditor::SetEntryRect(const LayoutEditorEntry& entry, const Wex::cRect& r) {
  if (Find(entry) == fEntries.end() || r == entry.fRect) return;
  if (entry.fListener && !entry.fListener->ApplyRect(r, entry.fListenerArgument)) return;
  const auto it = Find(entry);
  if (it == fEntries.end()) return;
  Redraw(*it);
  const Wex::cPoint offset = it->fFrame.TopLeft() - it->fRect.TopLeft();
  it->fRect = r;
  it->fFrame = r.Moved(offset);
  Redraw(*it);
}

Wex::cPoint rcLayoutEditor::GetLabelPoint(const Wex::cRect& frame) const {
  return {Wex::WrapAdd(frame.fLeft, kLabelOffset.fX),
          Wex::WrapAdd(Wex::WrapSub(frame.fTop, fLabelDescent), kLabelOffset.fY)};
}

void rcLayoutEditor::Redraw(const LayoutEditorEntry& entry) {
  Wex::cRect bars[4];
  GetBars(entry.fFrame, bars);
  for (const Wex::cRect& bar : bars) InvalidateRect(bar);
  Wex::iNativeView* view = GetHostView();
  const ref<Wex::rcExtWindow> window = view != nullptr ? view->GetWindow() : nullptr;
  const ref<Wex::rcGraphicsContext> context = window ? window->BeginDrawing() : nullptr;
  if (!context) return;
  try {
    Wex::cRect label = context->GetTextBounds(GetLabelPoint(entry.fFrame), *fLabelFont, entry.fName.c_str());
    label.fRight = Wex::WrapAdd(label.fRight, kLabelGrowth);
    label.fBottom = Wex::WrapAdd(label.fBottom, kLabelGrowth);
    InvalidateRect(label);
  } catch (const Wex::xExceptionWithRCString&) {
    // No face to measure the label with: its bars are redrawn all the same.
  }
}

void rcLayoutEditor::Draw(Wex::rcGraphicsContext& context, const Wex::cRect&) {
  if (!IsMouseInside()) return;
  for (const LayoutEditorEntry& entry : fEntries) {
    const Wex::cRGBColor c = &entry == fSelected ? Lightened(entry.fColor) : entry.fColor;
    Wex::cRect bars[4];
    GetBars(entry.fFrame, bars);
    for (const Wex::cRect& bar : bars) context.FrameRect(bar, c.fRed, c.fGreen, c.fBlue);
    context.DrawText(GetLabelPoint(entry.fFrame), c, *fLabelFont, entry.fName.c_str());
  }
}

bool rcLayoutEditor::CanEdit(const LayoutEditorEntry& entry) const {
  return !entry.fListener || entry.fListener->CanEdit(entry.fRect, entry.fListenerArgument);
}

bool rcLayoutEditor::MouseDown(const Wex::cPoint& p, std::int32_t time, bool, const Wex::cKeyModifiers& modifiers) {
  LayoutEditorEntry* hit = nullptr;
  for (auto it = fEntries.rbegin(); it != fEntries.rend() && hit == nullptr; ++it) {
    Wex::cRect bars[4];
    GetBars(it->fFrame, bars);
    const bool onBar = bars[0].Contains(p) || bars[1].Contains(p) || bars[2].Contains(p) || bars[3].Contains(p);
    if (onBar && CanEdit(*it)) hit = &*it;
  }
  if (hit == nullptr) {
    if (fSelected != nullptr) Redraw(*std::exchange(fSelected, nullptr));
    return false;
  }
  if (fSelected != nullptr) Redraw(*fSelected);
  fSelected = hit;
  Redraw(*hit);
  fDragging = true;
  fFine = modifiers.fShift;
  fStartPoint = p;
  fStartRect = hit->fRect;
  const Wex::cRect& f = hit->fFrame;
  fHandle = kMove;
  if (p.fX < f.fLeft && p.fY < f.fTop) {
    fHandle = kTopLeft;
  } else if (p.fX >= f.fRight) {
    if (p.fY < f.fTop) fHandle = kTopRight;
    if (p.fY >= f.fBottom) fHandle = kBottomRight;
  }
  if (p.fX < f.fLeft && p.fY >= f.fBottom) fHandle = kBottomLeft;
  if (Wex::iNativeView* view = GetHostView()) {
    const Wex::cMouseEvent event{iref<Wex::iGUIView>(dynamic_cast<Wex::rc*>(view), view), LocalToWindow(p), time,
                                 modifiers, 1};
    view->StartTracking(AsTracker(), event);
  }
  return true;
}

void rcLayoutEditor::DragTo(const Wex::cPoint& p) {
  std::int32_t dx = Wex::WrapSub(p.fX, fStartPoint.fX);
  std::int32_t dy = Wex::WrapSub(p.fY, fStartPoint.fY);
  if (fFine) {
    dx /= 10;
    dy /= 10;
  }
  using Wex::WrapAdd;
  Wex::cRect r = fStartRect;
  const bool left = fHandle == kTopLeft || fHandle == kBottomLeft || fHandle == kMove;
  const bool right = fHandle == kTopRight || fHandle == kBottomRight || fHandle == kMove;
  const bool top = fHandle == kTopLeft || fHandle == kTopRight || fHandle == kMove;
  const bool bottom = fHandle == kBottomRight || fHandle == kBottomLeft || fHandle == kMove;
  if (left) r.fLeft = WrapAdd(r.fLeft, dx);
  if (right) r.fRight = WrapAdd(r.fRight, dx);
  if (top) r.fTop = WrapAdd(r.fTop, dy);
  if (bottom) r.fBottom = WrapAdd(r.fBottom, dy);
  SetEntryRect(*fSelected, r);
}

void rcLayoutEditor::CancelDrag() {
  if (!fDragging) return;
  if (Wex::iNativeView* view = GetHostView()) view->CancelTracking(AsTracker());
  // Without a view (or when it no longer tracks for the editor) the cancel happens here.
  if (fDragging) CancelTracking(nullptr);
}

void rcLayoutEditor::TrackMouse(const iref<Wex::iMouseTrackingHost>&, const Wex::cMouseEvent& event) {
  if (fDragging && fSelected != nullptr) DragTo(WindowToLocal(event.fPoint));
}

bool rcLayoutEditor::TrackKey(const iref<Wex::iMouseTrackingHost>& host, const Wex::cKeyEvent& key) {
  if (key.fCharacter != 27) return false;
  if (host) host->CancelTracking(AsTracker());
  return true;
}

bool rcLayoutEditor::EndTracking(const iref<Wex::iMouseTrackingHost>&, const Wex::cMouseEvent&) {
  fDragging = false;
  return true;
}

void rcLayoutEditor::CancelTracking(const iref<Wex::iMouseTrackingHost>&) {
  if (fSelected != nullptr) SetEntryRect(*fSelected, fStartRect);
  fDragging = false;
}

void rcLayoutEditor::WindowStateChanged() {
  for (LayoutEditorEntry& entry : fEntries) {
    const Wex::cRect frame = entry.fRect.Moved(entry.fElement->GetWindowRect().TopLeft());
    if (frame == entry.fFrame) continue;
    Redraw(entry);
    entry.fFrame = frame;
    Redraw(entry);
  }
  rcGUIElement::WindowStateChanged();
}

void rcLayoutEditor::MouseEntered(std::int32_t time) {
  for (const LayoutEditorEntry& entry : fEntries) Redraw(entry);
  rcGUIElement::MouseEntered(time);
}

void rcLayoutEditor::MouseExited(std::int32_t time) {
  for (const LayoutEditorEntry& entry : fEntries) Redraw(entry);
  rcGUIElement::MouseExited(time);
}

void rcLayoutEditor::Detach() {
  CancelDrag();
  fSelected = nullptr;
  RemoveEntriesIf([](const LayoutEditorEntry&) { return true; });
  rcGUIElement::Detach();
}

}  // namespace Velto
