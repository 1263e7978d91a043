#pragma once

// The floating window in which the views show their hints, one hint at a time.

#include <cstdint>

#include "base/rc.h"
#include "gui/element.h"
#include "gui/font.h"
#include "gui/geometry.h"
#include "gui/graphics_context.h"
#include "gui/window.h"

namespace Velto {

class rcHintWindow : public Wex::rcWindow {
 public:
  // The window is as wide as the text plus extraWidth and `height` high; the text is drawn at
  // textOrigin in the font.
  rcHintWindow(std::int32_t extraWidth, std::int32_t height, const Wex::cRGBColor* backgroundColor,
               Wex::cPoint textOrigin, const Wex::cRGBColor* textColor, const ref<Wex::rcFont>& font);

  // Shows the text at once at the screen point, for the view.
  void ShowHint(const ref<Wex::rcGUIElement>& view, Wex::cPoint point, const refString& text);
  // Hides the hint and cancels a pending show, but only when the view owns the hint.
  void HideHint(const ref<Wex::rcGUIElement>& view);
};

}  // namespace Velto
