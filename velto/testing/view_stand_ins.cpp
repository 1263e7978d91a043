#include "velto/testing/view_stand_ins.h"

#include "velto/views/hint_window.h"
#include "velto/views/view.h"

namespace VeltoTest {

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

}  // namespace Velto
