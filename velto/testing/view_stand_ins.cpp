#include "velto/testing/view_stand_ins.h"

#include <stdexcept>

#include "velto/root_view.h"
#include "velto/views/hint_window.h"
#include "velto/views/view.h"

namespace VeltoTest {

std::vector<TransformCall>& TransformCalls() {
  static std::vector<TransformCall> calls;
  return calls;
}

std::vector<const Wex::rcGUIElement*>& HiddenHints() {
  static std::vector<const Wex::rcGUIElement*> views;
  return views;
}

}  // namespace VeltoTest

namespace Velto {

// Tests fill root views by adding children.
void rcRootView::ReadContents(const Description&) {
  throw std::logic_error("tests do not read view descriptions");
}

rcView::rcView(const Wex::cRect& r) : rcGUIElement(r) {}

refString rcView::GetHintText() { return fHintText; }

void rcView::SetHint(const refString& text) { fHintText = text ? text : Wex::rcString::GetEmpty(); }

rcHintWindow::rcHintWindow(std::int32_t, std::int32_t, const Wex::cRGBColor*, Wex::cPoint, const Wex::cRGBColor*,
                           const ref<Wex::rcFont>&)
    : rcWindow({0, 0, 10, 10}, 0, 16, false) {}

void rcHintWindow::HideHint(const ref<Wex::rcGUIElement>& view) { VeltoTest::HiddenHints().push_back(view.Get()); }

rcTransformContainer::rcTransformContainer(const Wex::cRect& r) : rcGUIContainer(r) {}

void rcTransformContainer::SetTransform(double opacity, const QorRaster::Transform& transform) {
  VeltoTest::TransformCalls().push_back({this, opacity, transform});
}

}  // namespace Velto
