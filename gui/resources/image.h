#pragma once

// The image objects through which every bitmap of the GUI is drawn.

#include <cstdint>

#include "base/rc.h"
#include "gui/geometry.h"
#include "gui/graphics_context.h"

namespace Velto {

// A reference-counted picture that draws itself into the drawing context of a paint pass.
class rcImage : public Wex::rc {
 public:
  ~rcImage() override = default;

  // The image's rectangle in its own coordinates.
  virtual Wex::cRect GetBounds() = 0;
  // Draws the whole image with the top-left corner of its bounds at p.
  virtual void Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p) = 0;
  // Draws the part of the image inside `source` with that rectangle's top-left corner at p.
  virtual void DrawPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p) = 0;
  // A counter that changes whenever the image's pixels change.
  virtual std::int32_t GetChangeCount() = 0;
};

}  // namespace Velto
