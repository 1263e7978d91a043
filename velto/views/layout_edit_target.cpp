#include "velto/views/layout_edit_target.h"

#include <utility>

#include "velto/readers.h"
#include "velto/root_view.h"

namespace Velto {

rcLayoutEditTarget::rcLayoutEditTarget(rcRootView& root, ref<Wex::rcGUIElement> view)
    : fRoot(&root), fView(std::move(view)) {}

bool rcLayoutEditTarget::CanEdit(const Wex::cRect& r, Wex::rcGUIElement*) {
  CopyRectToClipboard(r);
  return true;
}

bool rcLayoutEditTarget::ApplyRect(const Wex::cRect& r, Wex::rcGUIElement*) {
  fView->SetRect(r);
  if (const ref<Wex::rcGUIElement> editor = fRoot->GetLayoutEditor()) editor->WindowStateChanged();
  CopyRectToClipboard(r);
  return true;
}

}  // namespace Velto
