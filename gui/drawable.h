#pragma once

// A drawable of the GUI resources (an image or the like), as elements draw it.

#include "base/rc.h"
#include "gui/geometry.h"

namespace Wex {

class rcGraphicsContext;

class rcDrawable : public rc {
 public:
  // Draws the drawable into the context for the clip rectangle at the position.
  virtual void DrawRect(rcGraphicsContext& context, const cRect& clip, const cPoint& position) = 0;
};

}  // namespace Wex
