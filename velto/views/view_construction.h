#pragma once

// The making of views from the items of a description tree: what every view shares (its type,
// its rectangle, the application's chance to make it, its hidden start and its place in the
// parent); the view factory does the rest.

#include <cstdint>

#include "base/exceptions.h"
#include "base/key_value.h"
#include "base/rc.h"
#include "gui/container.h"
#include "gui/element.h"

namespace Velto {

class rcRootView;

// The deepest nesting of views in one another while they are made.
inline constexpr std::int32_t kMaxViewNesting = 64;

// One level of that nesting while it lives: making one beyond kMaxViewNesting levels throws
// FormatException "Views nested too deeply". Making a view takes one; a view that builds its
// children on a refresh holds one while the refresh goes on below it, so that views whose
// children rebuild themselves cannot nest without end.
class cViewNestingLevel {
 public:
  cViewNestingLevel();
  ~cViewNestingLevel();
  cViewNestingLevel(const cViewNestingLevel&) = delete;
  cViewNestingLevel& operator=(const cViewNestingLevel&) = delete;
};

// The most views that one load of a description may make (the views of the nested descriptions,
// groups and pages that it builds included), and the most that one refresh may make.
inline constexpr std::int32_t kMaxViewsPerLoad = 100000;
inline constexpr std::int32_t kMaxViewsPerRefresh = 100000;

// What making more views than a bound allows throws.
class xTooManyViews : public FormatException {
 public:
  xTooManyViews() : FormatException("Too many views") {}
};

// A bound on the views made while it lives: making more than the limit throws xTooManyViews.
// Bounds may live inside one another (a refresh that loads a description); every one of them
// holds.
class cViewCountBound {
 public:
  explicit cViewCountBound(std::int32_t limit);
  ~cViewCountBound();
  cViewCountBound(const cViewCountBound&) = delete;
  cViewCountBound& operator=(const cViewCountBound&) = delete;

 private:
  std::int64_t fOuterEnd;
};

// Makes the view of one description item and adds it to the parent, hidden when asked:
// - "type" (unquoted) selects the kind; empty, it throws FormatException "Missing view type";
// - "bounds" is a layout rectangle against the parent's local bounds; without the key the view
//   fills the parent. A width or height below 0 throws FormatException "View bounds has negative
//   width and/or height" (0 is accepted);
// - the root's controller may make the view (CreateView); otherwise the view factory does;
// - with "edit" and a root that has a layout editor, the view is entered into the editor under the
//   unquoted name, through a link that moves it.
// Nothing is made or added when it throws; a view made inside views nested kMaxViewNesting
// deep throws FormatException "Views nested too deeply", one beyond a view count bound
// xTooManyViews. Returns the view.
ref<Wex::rcGUIElement> MakeViewFromDescription(rcRootView& root, const Description& description,
                                               Wex::rcGUIContainer& parent, bool hidden);

// A visible view in the parent for each item of a "views" list, in list order, each item a
// description text. The descriptions are parts of the list's text. Errors pass out; the views
// made before stay.
void MakeChildViews(rcRootView& root, const Wex::cTextPart& views, Wex::rcGUIContainer& parent);

}  // namespace Velto
