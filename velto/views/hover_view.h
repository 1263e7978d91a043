#pragma once

// The hover view: an invisible rectangle that runs an action when the pointer enters it and
// another when it leaves, sets GUI variables on every pointer move over it and shows its cursor.
// It handles no press.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/cocoa_object.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "velto/readers.h"

namespace Velto {

class rcRootView;

class rcHoverView : public Wex::rcGUIElement {
 public:
  using Variables = std::vector<std::pair<std::string, std::string>>;

  // The root is not owned; empty action names run nothing.
  rcHoverView(const Wex::cRect& r, rcRootView& root, Variables variables, cActionBinding enter, cActionBinding leave,
              ref<Wex::rcCocoaObject> cursor);

  // Draws nothing.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // The cursor, then each variable set to its value, in order (errors pass out).
  void MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // The enter or leave action runs without the enabled test, its errors dropped silently.
  void MouseEntered(std::int32_t time) override;
  void MouseExited(std::int32_t time) override;

 private:
  // Runs the action unless its name is empty; the caller holds this view for it.
  void Run(const cActionBinding& action);

  rcRootView* fRoot;
  Variables fVariables;
  cActionBinding fEnter;
  cActionBinding fLeave;
  ref<Wex::rcCocoaObject> fCursor;
};

// The "hover" type, every text unquoted: "enterAction", "enterParams", "leaveAction",
// "leaveParams", "cursor", then "variable" with its "value" and the pairs of the "variables"
// list (each item cut or padded to a name and a value).
ref<Wex::rcGUIElement> MakeHoverView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
