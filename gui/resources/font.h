#pragma once

// The interface through which every text of the GUI is measured and drawn.

#include <cstdint>

#include "base/rc_vector.h"
#include "gui/geometry.h"
#include "gui/graphics_context.h"

namespace Velto {

// A font object's drawing part, held through an iref next to the object's reference count.
// Points are baseline points in the coordinates of the paint pass's drawing context; texts are
// UTF-16.
class iFont {
 public:
  // The line height and the ascent in pixels.
  virtual void GetMetrics(Wex::rcGraphicsContext& context, std::int32_t& height, std::int32_t& ascent) = 0;
  // The rectangle that the text covers when drawn at p; with `includeAdvance` it also covers the
  // advance after the last character.
  virtual Wex::cRect Measure(Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                             const Wex::rcVector<UniChar>& text, bool includeAdvance) = 0;
  // Draws the text and answers the point from which a following text continues.
  virtual Wex::cPoint Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                           const Wex::rcVector<UniChar>& text) = 0;
  // Draws `count` single characters (the low 16 bits of each), the i-th at points[i]; stores the
  // end point of each in endPoints[i] when endPoints is not null. A count of 0 or below draws
  // nothing. Every font does this the same way: each character is a one-unit text drawn with Draw.
  virtual void DrawCharacters(Wex::rcGraphicsContext& context, std::int32_t count, const Wex::cPoint* points,
                              const std::uint32_t* characters, Wex::cPoint* endPoints);
  // A counter that changes whenever the font's appearance changes.
  virtual std::int32_t GetChangeCount() = 0;
  virtual ~iFont() = default;
};

}  // namespace Velto
