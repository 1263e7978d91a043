#pragma once

// The group views: containers that show, hide and move all their children by GUI variables. A
// fixed group builds its children once; an expanding group rebuilds them from its macro-expanded
// "views" text whenever the expansion changes, so that the children can follow GUI variables.

#include <cstdint>
#include <string>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/container.h"
#include "gui/element.h"
#include "gui/geometry.h"

namespace Velto {

class rcRootView;

class rcGroupView : public Wex::rcGUIContainer {
 public:
  // The refresh: the visibility variable ("true" in any case shows, anything else hides) is
  // applied when it differs from the visibility last applied; the offset variables (integers in
  // C notation, 0 without a number) move every child by their difference from the offset last
  // applied; then every child is refreshed.
  void WindowStateChanged() override;
  // The root forgets the child's records first.
  void RemoveChild(const ref<Wex::rcGUIElement>& child) override;

  bool AreChildrenVisible() const { return fChildrenVisible; }

 protected:
  // The root, whose controller answers the variables, is borrowed. "visibility" names the
  // visibility variable (unquoted); "offset", when present, is a list of the horizontal and
  // vertical variables' names (unquoted): any other number of items throws FormatException
  // "Invalid offset: " and the raw value.
  rcGroupView(const Wex::cRect& r, rcRootView& root, const Description& description);

  rcRootView& GetRoot() const { return *fRoot; }
  // The offsets are applied again in full by the next refresh.
  void ForgetAppliedOffset() {
    fAppliedOffsetX = 0;
    fAppliedOffsetY = 0;
  }

 private:
  rcRootView* fRoot;
  std::string fVisibilityVariable;
  std::string fOffsetXVariable;
  std::string fOffsetYVariable;
  bool fChildrenVisible = true;
  std::int32_t fAppliedOffsetX = 0;
  std::int32_t fAppliedOffsetY = 0;
};

// Its children are built once, when it is made (see MakeGroupView).
class rcFixedGroupView : public rcGroupView {
 public:
  rcFixedGroupView(const Wex::cRect& r, rcRootView& root, const Description& description);
};

// Keeps "views" as written and builds the children on the refreshes that expand it differently.
class rcExpandingGroupView : public rcGroupView {
 public:
  rcExpandingGroupView(const Wex::cRect& r, rcRootView& root, const Description& description);

  // When the expansion of the views text differs from the last one, every child goes and the
  // children of the new expansion are built (hidden while the group's children are hidden), to
  // be moved by the whole offset; then the group's refresh. A child that cannot be built ends
  // the refresh with its error: the new expansion stays, with the children built before it. It
  // makes at most kMaxViewsPerRefresh views.
  void WindowStateChanged() override;

 private:
  // Parts of the description's text where they are as written.
  Wex::cTextPart fViewsText;
  Wex::cTextPart fExpandedViewsText;
};

// The "group" type: "varExpansion" ("true" in any case) chooses the expanding group, which also
// reads "autoRefresh"; "visibility", "offset" and "views" as the classes say.
ref<Wex::rcGUIElement> MakeGroupView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
