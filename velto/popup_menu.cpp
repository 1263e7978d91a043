#include "velto/popup_menu.h"

#include "gui/native_view.h"
#include "gui/root.h"

namespace Velto {

Wex::cPoint gActionOrigin;

std::int32_t ShowPopupMenu(Wex::rcGUIElement& element, const ref<Wex::rcMenu>& menu, bool relativeToActionOrigin,
                           const Wex::cPoint& point) {
  const Wex::cPoint screen = relativeToActionOrigin ? gActionOrigin + point : element.LocalToScreen(point);
  Wex::iNativeView* view = element.GetHost() != nullptr ? element.GetHost()->GetNativeView() : nullptr;
  return menu->PopUp(view != nullptr ? view->GetWindow() : nullptr, screen);
}

}  // namespace Velto
