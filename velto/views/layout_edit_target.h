#pragma once

// The link through which the layout editor moves a view that a description marked "edit": every
// step puts the view's rectangle on the clipboard in the form that a "bounds" value takes.

#include "base/rc.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "velto/layout_edit_listener.h"

namespace Velto {

class rcRootView;

class rcLayoutEditTarget : public Wex::rc, public iLayoutEditListener {
 public:
  // The root, which holds the layout editor, is borrowed; the view is kept.
  rcLayoutEditTarget(rcRootView& root, ref<Wex::rcGUIElement> view);

  // Copies the rectangle to the clipboard; every view may be dragged.
  bool CanEdit(const Wex::cRect& r, Wex::rcGUIElement* view) override;
  // Gives the view the rectangle, lets the root's layout editor redraw its frames and copies the
  // rectangle to the clipboard; the rectangle is always adopted.
  bool ApplyRect(const Wex::cRect& r, Wex::rcGUIElement* view) override;

 private:
  rcRootView* fRoot;
  ref<Wex::rcGUIElement> fView;
};

}  // namespace Velto
