#include "velto/views/click_view.h"

#include <utility>

#include "base/text.h"
#include "gui/native_view.h"
#include "gui/resources/attributes.h"
#include "velto/actions.h"
#include "velto/popup_menu.h"
#include "velto/root_view.h"

namespace Velto {

rcClickView::rcClickView(const Wex::cRect& r, rcRootView& root, std::vector<cActionListEntry> actions,
                         ref<Wex::rcCocoaObject> cursor, bool thru)
    : rcView(r), fRoot(&root), fActions(std::move(actions)), fCursor(std::move(cursor)), fThru(thru) {}

void rcClickView::Draw(Wex::rcGraphicsContext&, const Wex::cRect&) {}

bool rcClickView::MouseDown(const Wex::cPoint& p, std::int32_t, bool, const Wex::cKeyModifiers& modifiers) {
  return Press(p, kLeftBit, modifiers);
}

bool rcClickView::ContextClick(const Wex::cPoint& p, std::int32_t, const Wex::cKeyModifiers& modifiers) {
  return Press(p, kRightBit, modifiers);
}

bool rcClickView::Press(const Wex::cPoint& p, std::uint32_t buttonMask, const Wex::cKeyModifiers& modifiers) {
  const std::uint32_t eventMask =
      kMacBit | kDownBit | kPressBit | kClickBit | buttonMask | ModifierClickMask(modifiers, true);
  const cActionListEntry* entry = FindActionForEvent(fActions, eventMask);
  if (entry == nullptr || entry->fBinding.fAction.empty()) return false;
  // The action may rebuild the tree (a reload in a modal loop) and so release this view.
  const ref<rcClickView> keep(this);
  const cActionBinding binding = entry->fBinding;
  if (const ref<rcHintWindow> window = GetHintWindow()) window->HideAnyHint();
  gActionOrigin = LocalToScreen(p);
  PerformAction(*fRoot, binding.fAction, binding.fParams);
  return !fThru;
}

void rcClickView::MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) {
  if (Wex::iNativeView* view = GetHostView(); fEnabled && fCursor && view != nullptr) view->UseCursor(fCursor);
  rcView::MouseMoved(p, time, modifiers);
}

void rcClickView::WindowStateChanged() {
  fEnabled = false;
  for (const cActionListEntry& entry : fActions) {
    if ((entry.fMask & (kClickBit | kPressBit | kDownBit)) == 0) continue;
    fEnabled = IsActionEnabled(*fRoot, entry.fBinding.fAction, entry.fBinding.fParams);
    if (fEnabled) break;
  }
  rcView::WindowStateChanged();
}

ref<Wex::rcGUIElement> MakeClickView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  std::vector<cActionListEntry> actions;
  ReadActionList(description, actions);
  ref<Wex::rcCocoaObject> cursor = ReadCursor(ReadCursorName(description));
  const bool thru = Wex::StringToBool(Wex::ValueOf(description, "thru"), false);
  const ref<rcClickView> view(new rcClickView(bounds, root, std::move(actions), std::move(cursor), thru));
  ReadHint(root, view, description);
  return view;
}

}  // namespace Velto
