#include "velto/views/hover_view.h"

#include "base/text.h"
#include "gui/native_view.h"
#include "gui/resources/attributes.h"
#include "velto/actions.h"
#include "velto/root_view.h"

namespace Velto {

rcHoverView::rcHoverView(const Wex::cRect& r, rcRootView& root, Variables variables, cActionBinding enter,
                         cActionBinding leave, ref<Wex::rcCocoaObject> cursor)
    : rcGUIElement(r),
      fRoot(&root),
      fVariables(std::move(variables)),
      fEnter(std::move(enter)),
      fLeave(std::move(leave)),
      fCursor(std::move(cursor)) {}

void rcHoverView::Draw(Wex::rcGraphicsContext&, const Wex::cRect&) {}

void rcHoverView::MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) {
  if (Wex::iNativeView* view = GetHostView(); fCursor && view != nullptr) view->UseCursor(fCursor);
  iController& controller = fRoot->GetController();
  for (const auto& [name, value] : fVariables) controller.SetVariable(*fRoot, name, value, false);
  rcGUIElement::MouseMoved(p, time, modifiers);
}

void rcHoverView::MouseEntered(std::int32_t time) {
  // The action may rebuild the tree and so release this view.
  const ref<rcHoverView> keep(this);
  Run(fEnter);
  rcGUIElement::MouseEntered(time);
}

void rcHoverView::MouseExited(std::int32_t time) {
  const ref<rcHoverView> keep(this);
  Run(fLeave);
  rcGUIElement::MouseExited(time);
}

void rcHoverView::Run(const cActionBinding& action) {
  if (action.fAction.empty()) return;
  try {
    ExecuteAction(*fRoot, action.fAction, action.fParams);
  } catch (...) {
    // Hover actions fail silently.
  }
}

ref<Wex::rcGUIElement> MakeHoverView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  const auto text = [&description](const char* key) { return Wex::Unquote(Wex::ValueOf(description, key)); };
  cActionBinding enter{text("enterAction"), text("enterParams")};
  cActionBinding leave{text("leaveAction"), text("leaveParams")};
  ref<Wex::rcCocoaObject> cursor = ReadCursor(ReadCursorName(description));
  rcHoverView::Variables variables;
  if (description.contains("variable")) variables.emplace_back(text("variable"), text("value"));
  for (const std::string& item : Wex::ParseList(Wex::ValueOf(description, "variables"))) {
    std::vector<std::string> pair = Wex::ParseList(item);
    pair.resize(2);
    variables.emplace_back(Wex::Unquote(pair[0]), Wex::Unquote(pair[1]));
  }
  return ref<Wex::rcGUIElement>(
      new rcHoverView(bounds, root, std::move(variables), std::move(enter), std::move(leave), std::move(cursor)));
}

}  // namespace Velto
