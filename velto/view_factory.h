#pragma once

// The view factory: the view types of the GUI description language, found by name through a
// perfect hash, each made from its description by a function of its own beside its view class.

#include <string_view>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/element.h"
#include "gui/geometry.h"

namespace Velto {

class rcRootView;

// Makes one view of a type. `bounds` is the view's rectangle in its parent (the caller refused
// negative sizes), `root` the root of the tree being read, whose controller, hint window and
// layout editor the view may use. The description keys and the errors are the type's own; errors
// pass out, and release whatever the type made.
using ViewMaker = ref<Wex::rcGUIElement> (*)(rcRootView& root, const Wex::cRect& bounds,
                                             const Description& description);

// The view of the named type (compared exactly, letter case counting). An unknown name throws
// FormatException "Unrecognized view type : " and the quoted name; nothing is made then.
ref<Wex::rcGUIElement> CreateViewOfType(rcRootView& root, const Wex::cRect& bounds, std::string_view type,
                                        const Description& description);

// The "raster" type: an element that draws the image that "image" (as written) names, blended by
// "blend" ("add", "multiply", else normal) at "opacity" (percent, "$" = 100).
ref<Wex::rcGUIElement> MakeRasterView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
