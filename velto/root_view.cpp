#include "velto/root_view.h"

namespace Velto {

rcRootView::rcRootView(const Wex::cRect& bounds, iController* controller)
    : rcGUIContainer(bounds), fController(controller) {}

}  // namespace Velto
