#include "velto/testing/view_stand_ins.h"

#include <stdexcept>

#include "base/key_value.h"
#include "velto/root_view.h"
#include "velto/transition.h"
#include "velto/velto_view.h"
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

std::vector<std::pair<const Wex::rcGUIElement*, std::string>>& ShownHints() {
  static std::vector<std::pair<const Wex::rcGUIElement*, std::string>> hints;
  return hints;
}

}  // namespace VeltoTest

namespace Velto {

// Tests fill root views by adding children.
void rcRootView::ReadContents(const Description& description) {
  if (description.contains("views")) throw std::logic_error("tests do not read view descriptions");
}

// The four transitions, each over no other.
void rcVeltoView::ReadContents(const Description& description) {
  const Description transitions = Wex::ParseKeyValueMap(Wex::ValueOf(description, "transitions"));
  fOpenTransition = ReadTransitionSpec(transitions, "open", false, nullptr);
  fCloseTransition = ReadTransitionSpec(transitions, "close", true, nullptr);
  fSwapOutTransition = ReadTransitionSpec(transitions, "swapOut", true, nullptr);
  fSwapInTransition = ReadTransitionSpec(transitions, "swapIn", false, nullptr);
  rcRootView::ReadContents(description);
}

rcView::rcView(const Wex::cRect& r) : rcGUIElement(r) {}

refString rcView::GetHintText() { return fHintText; }

void rcView::SetHint(const refString& text) { fHintText = text ? text : Wex::rcString::GetEmpty(); }

rcHintWindow::rcHintWindow(std::int32_t, std::int32_t, const Wex::cRGBColor*, Wex::cPoint, const Wex::cRGBColor*,
                           const ref<Wex::rcFont>&)
    : rcWindow({0, 0, 10, 10}, 0, 16, false) {}

void rcHintWindow::ShowHint(const ref<Wex::rcGUIElement>& view, Wex::cPoint point, const refString& text) {
  VeltoTest::ShownHints().emplace_back(
      view.Get(), std::to_string(point.fX) + "," + std::to_string(point.fY) + " " + std::string(text->GetText()));
}

void rcHintWindow::HideHint(const ref<Wex::rcGUIElement>& view) { VeltoTest::HiddenHints().push_back(view.Get()); }

rcTransformContainer::rcTransformContainer(const Wex::cRect& r) : rcGUIContainer(r) {}

void rcTransformContainer::SetTransform(double opacity, const QorRaster::Transform& transform) {
  VeltoTest::TransformCalls().push_back({this, opacity, transform});
}

}  // namespace Velto
