#pragma once

// The floating window in which the views show their hints, one hint at a time.

#include "base/rc.h"
#include "gui/element.h"
#include "gui/native_view.h"

namespace Velto {

class rcHintWindow : public Wex::rcWindow {
 public:
  // Hides the hint and cancels a pending show, but only when the view owns the hint.
  void HideHint(const ref<Wex::rcGUIElement>& view);
};

}  // namespace Velto
