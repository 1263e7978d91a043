#pragma once

// Test definitions of the base view and hint window operations that the root view, the nested
// view and the actions call: the views keep their hint, and the hint window (a plain borderless
// window, which needs a display) records what it is asked to show and hide.

#include <string>
#include <utility>
#include <vector>

#include "base/rc.h"
#include "gui/element.h"

namespace VeltoTest {

// The views passed to every hint window's HideHint so far, in order.
std::vector<const Wex::rcGUIElement*>& HiddenHints();
// Every hint window's ShowHint so far, in order: the view, then "x,y text".
std::vector<std::pair<const Wex::rcGUIElement*, std::string>>& ShownHints();

}  // namespace VeltoTest
