#pragma once

// What the layout editor asks of the owner of a view that it frames: whether the view may be
// grabbed, and to apply each new rectangle that a drag gives it.

#include "gui/element.h"
#include "gui/geometry.h"

namespace Velto {

class iLayoutEditListener {
 public:
  // Called when the mouse goes down on the entry's frame, with the view's rectangle in its
  // parent's coordinates; true lets the drag start. `view` is the entry's listener argument.
  virtual bool CanEdit(const Wex::cRect& r, Wex::rcGUIElement* view) = 0;
  // Called with each new rectangle that differs from the entry's; true adopts it.
  virtual bool ApplyRect(const Wex::cRect& r, Wex::rcGUIElement* view) = 0;
  virtual ~iLayoutEditListener() = default;
};

}  // namespace Velto
