#pragma once

// Pop-up menus of the views, shown under the mouse or beside the point from which an action
// was triggered.

#include <cstdint>

#include "base/rc.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "gui/menu.h"

namespace Velto {

// The screen point from which the action being performed was triggered; views set it just
// before they perform an action (for a click, the press point on the screen).
extern Wex::cPoint gActionOrigin;

// Pops the menu up over the element's window and answers the chosen item's tag (0 for none). The
// point is in the element's coordinates, or, relative to the action origin, an offset from
// gActionOrigin.
std::int32_t ShowPopupMenu(Wex::rcGUIElement& element, const ref<Wex::rcMenu>& menu, bool relativeToActionOrigin,
                           const Wex::cPoint& point);

}  // namespace Velto
