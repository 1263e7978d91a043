#pragma once

// Test definitions of the base view, hint window and transform container operations that the
// root view and the nested view call: the views keep their hint, the hint window (a plain
// borderless window, which needs a display) and the container record what they are asked, a
// nested view reads its four transitions, and a root view reads no child views: a description
// with "views" throws std::logic_error.

#include <string>
#include <utility>
#include <vector>

#include "base/rc.h"
#include "gui/element.h"
#include "raster/transform.h"
#include "velto/views/transform_container.h"

namespace VeltoTest {

struct TransformCall {
  const Velto::rcTransformContainer* fContainer = nullptr;
  double fOpacity = 0.0;
  QorRaster::Transform fTransform;
};

// Every SetTransform so far, of every container, in order.
std::vector<TransformCall>& TransformCalls();
// The views passed to every hint window's HideHint so far, in order.
std::vector<const Wex::rcGUIElement*>& HiddenHints();
// Every hint window's ShowHint so far, in order: the view, then "x,y text".
std::vector<std::pair<const Wex::rcGUIElement*, std::string>>& ShownHints();

}  // namespace VeltoTest
