#include "gui/simple_elements.h"

#include <utility>

namespace Wex {

rcDrawableElement::rcDrawableElement(const cRect& r, ref<rcDrawable> drawable)
    : rcGUIElement(r), fDrawable(std::move(drawable)) {}

void rcDrawableElement::Draw(rcGraphicsContext& context, const cRect& update) {
  if (fDrawable) fDrawable->DrawRect(context, update, update.TopLeft());
}

rcSolidColorElement::rcSolidColorElement(const cRect& r, std::int32_t red, std::int32_t green, std::int32_t blue)
    : rcGUIElement(r), fRed(red), fGreen(green), fBlue(blue) {}

void rcSolidColorElement::Draw(rcGraphicsContext& context, const cRect& update) {
  context.FillRect(update, fRed, fGreen, fBlue);
}

}  // namespace Wex
