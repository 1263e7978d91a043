#pragma once

// Two small concrete elements: one that draws a drawable, one that fills itself with a colour.

#include <cstdint>

#include "gui/drawable.h"
#include "gui/element.h"

namespace Wex {

class rcDrawableElement : public rcGUIElement {
 public:
  rcDrawableElement(const cRect& r, ref<rcDrawable> drawable);
  // Draws the drawable for the update rectangle, positioned at the update rectangle's top-left.
  void Draw(rcGraphicsContext& context, const cRect& update) override;
  // The drawable, or none.
  const ref<rcDrawable>& GetDrawable() const { return fDrawable; }

 private:
  ref<rcDrawable> fDrawable;
};

class rcSolidColorElement : public rcGUIElement {
 public:
  // The colour's components run from 0 to 255.
  rcSolidColorElement(const cRect& r, std::int32_t red, std::int32_t green, std::int32_t blue);
  void Draw(rcGraphicsContext& context, const cRect& update) override;

 private:
  std::int32_t fRed;
  std::int32_t fGreen;
  std::int32_t fBlue;
};

}  // namespace Wex
