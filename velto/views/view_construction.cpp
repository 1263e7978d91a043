#include "velto/views/view_construction.h"

#include <algorithm>
#include <limits>
#include <string>

#include "base/exceptions.h"
#include "base/text.h"
#include "gui/resources/layout.h"
#include "velto/root_view.h"
#include "velto/view_factory.h"
#include "velto/views/layout_edit_target.h"

namespace Velto {

namespace {

// How deep the making of views is nested now (main thread only).
std::int32_t gNesting = 0;
// The views made so far, and the count at which the tightest bound alive is reached (main
// thread only).
std::int64_t gViewsMade = 0;
std::int64_t gViewsEnd = std::numeric_limits<std::int64_t>::max();

}  // namespace

cViewNestingLevel::cViewNestingLevel() {
  if (gNesting >= kMaxViewNesting) throw FormatException("Views nested too deeply");
  ++gNesting;
}

cViewNestingLevel::~cViewNestingLevel() { --gNesting; }

cViewCountBound::cViewCountBound(std::int32_t limit) : fOuterEnd(gViewsEnd) {
  gViewsEnd = std::min(gViewsEnd, gViewsMade + limit);
}

cViewCountBound::~cViewCountBound() { gViewsEnd = fOuterEnd; }

ref<Wex::rcGUIElement> MakeViewFromDescription(rcRootView& root, const Description& description,
                                               Wex::rcGUIContainer& parent, bool hidden) {
  const std::string type = Wex::Unquote(Wex::ValueOf(description, "type"));
  if (type.empty()) throw FormatException("Missing view type");
  const Wex::cRect& reference = parent.GetBounds();
  const auto bounds = description.find("bounds");
  const Wex::cRect r = bounds != description.end() ? ReadLayoutRect(bounds->second, reference) : reference;
  if (r.fRight < r.fLeft || r.fBottom < r.fTop) {
    throw FormatException("View bounds has negative width and/or height");
  }
  const cViewNestingLevel level;
  if (gViewsMade >= gViewsEnd) throw xTooManyViews();
  ++gViewsMade;
  ref<Wex::rcGUIElement> view = root.GetController().CreateView(root, r, type, description);
  if (!view) view = CreateViewOfType(root, r, type, description);
  if (hidden) view->Hide();
  parent.AddChild(view);
  const ref<rcLayoutEditor> editor = root.GetLayoutEditor();
  if (const auto edit = description.find("edit"); editor && edit != description.end()) {
    // The entry's value is the root, whose removal of its views takes their entries away.
    editor->AddEditableView(Wex::Unquote(edit->second), ref<Wex::rcGUIElement>(&parent), view->GetRect(), &root,
                            iref<iLayoutEditListener>(new rcLayoutEditTarget(root, view)), view.Get(),
                            {255, 255, 128});
  }
  return view;
}

void MakeChildViews(rcRootView& root, const Wex::cTextPart& views, Wex::rcGUIContainer& parent) {
  for (const Wex::cTextPart& item : Wex::ParseListParts(views)) {
    MakeViewFromDescription(root, Wex::ParseKeyValueMap(item), parent, false);
  }
}

}  // namespace Velto
