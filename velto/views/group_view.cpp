#include "velto/views/group_view.h"

#include <vector>

#include "base/exceptions.h"
#include "base/text.h"
#include "gui/resources/canvas.h"
#include "velto/root_view.h"
#include "velto/text_macros.h"
#include "velto/views/view_construction.h"

namespace Velto {

rcGroupView::rcGroupView(const Wex::cRect& r, rcRootView& root, const Description& description)
    : rcGUIContainer(r), fRoot(&root), fVisibilityVariable(Wex::Unquote(Wex::ValueOf(description, "visibility"))) {
  const auto offset = description.find("offset");
  if (offset == description.end()) return;
  const std::vector<std::string> names = Wex::ParseList(offset->second);
  if (names.size() != 2) throw FormatException("Invalid offset: " + std::string(offset->second));
  fOffsetXVariable = Wex::Unquote(names[0]);
  fOffsetYVariable = Wex::Unquote(names[1]);
}

void rcGroupView::WindowStateChanged() {
  iController& controller = fRoot->GetController();
  if (!fVisibilityVariable.empty()) {
    const bool visible = Wex::StringToBool(controller.GetVariable(*fRoot, fVisibilityVariable), false);
    if (visible != fChildrenVisible) {
      fChildrenVisible = visible;
      for (std::int64_t i = 0; i < GetChildCount(); ++i) {
        const ref<Wex::rcGUIElement> child = GetChild(i);
        if (visible) {
          child->Show();
        } else {
          child->Hide();
        }
      }
    }
  }
  // In 64 bits: a value and the offset applied may lie 2^32 - 1 apart.
  std::int64_t dx = 0;
  std::int64_t dy = 0;
  if (!fOffsetXVariable.empty()) {
    dx = std::int64_t{Wex::StringToInt(controller.GetVariable(*fRoot, fOffsetXVariable), 0)} - fAppliedOffsetX;
  }
  if (!fOffsetYVariable.empty()) {
    dy = std::int64_t{Wex::StringToInt(controller.GetVariable(*fRoot, fOffsetYVariable), 0)} - fAppliedOffsetY;
  }
  if (dx != 0 || dy != 0) {
    fAppliedOffsetX = static_cast<std::int32_t>(fAppliedOffsetX + dx);  // the value read
    fAppliedOffsetY = static_cast<std::int32_t>(fAppliedOffsetY + dy);
    for (std::int64_t i = 0; i < GetChildCount(); ++i) {
      const ref<Wex::rcGUIElement> child = GetChild(i);
      const Wex::cRect& r = child->GetRect();
      child->MoveTo({SaturateToInt32(r.fLeft + dx), SaturateToInt32(r.fTop + dy)});
    }
  }
  rcGUIContainer::WindowStateChanged();
}

void rcGroupView::RemoveChild(const ref<Wex::rcGUIElement>& child) {
  fRoot->ForgetView(child);
  rcGUIContainer::RemoveChild(child);
}

rcFixedGroupView::rcFixedGroupView(const Wex::cRect& r, rcRootView& root, const Description& description)
    : rcGroupView(r, root, description) {}

rcExpandingGroupView::rcExpandingGroupView(const Wex::cRect& r, rcRootView& root, const Description& description)
    : rcGroupView(r, root, description), fViewsText(Wex::PartOf(description, "views")) {}

void rcExpandingGroupView::WindowStateChanged() {
  // Children that are expanding groups themselves rebuild within this refresh.
  const cViewNestingLevel level;
  const cViewCountBound bound(kMaxViewsPerRefresh);
  std::string expansion = ExpandTextMacros(GetRoot(), fViewsText);
  if (expansion != fExpandedViewsText) {
    // An expansion that changes nothing shares the views text.
    fExpandedViewsText = expansion == fViewsText ? fViewsText : Wex::cTextPart(std::move(expansion));
    for (std::int64_t i = GetChildCount() - 1; i >= 0; --i) {
      if (i >= GetChildCount()) continue;
      const ref<Wex::rcGUIElement> child = GetChild(i);
      RemoveChild(child);
      child->Detach();
    }
    // Before building: children built before a failing item are moved by the next refreshes.
    ForgetAppliedOffset();
    for (const Wex::cTextPart& item : Wex::ParseListParts(fExpandedViewsText)) {
      MakeViewFromDescription(GetRoot(), Wex::ParseKeyValueMap(item), *this, !AreChildrenVisible());
    }
  }
  rcGroupView::WindowStateChanged();
}

ref<Wex::rcGUIElement> MakeGroupView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  if (Wex::StringToBool(Wex::ValueOf(description, "varExpansion"), false)) {
    const ref<rcExpandingGroupView> group(new rcExpandingGroupView(bounds, root, description));
    root.ReadAutoRefresh(group, description);
    return group;
  }
  const ref<rcFixedGroupView> group(new rcFixedGroupView(bounds, root, description));
  root.FinishOrForget(group, [&] { MakeChildViews(root, Wex::PartOf(description, "views"), *group); });
  return group;
}

}  // namespace Velto
