#pragma once

// The click view: an invisible rectangle that runs the action binding whose click mask matches a
// press of either button and the held keys, and shows its cursor while one of its bindings is
// enabled.

#include <cstdint>
#include <vector>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/cocoa_object.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "velto/readers.h"
#include "velto/views/view.h"

namespace Velto {

class rcRootView;

class rcClickView : public rcView {
 public:
  // The root is not owned. With thru a press that ran an action still goes to the views below.
  rcClickView(const Wex::cRect& r, rcRootView& root, std::vector<cActionListEntry> actions,
              ref<Wex::rcCocoaObject> cursor, bool thru);

  // Draws nothing.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // A press of the primary button (event mask "mac", "down", "press", "left", "click" and the
  // keys') runs the last binding that matches: any hint goes, gActionOrigin becomes the press
  // point on the screen and the action is performed. Handled (unless thru) when a binding with
  // an action matched, whether or not the action was enabled.
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                 const Wex::cKeyModifiers& modifiers) override;
  // The same for the secondary button, with "right" for "left".
  bool ContextClick(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // The cursor while enabled, then the hint.
  void MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // Enabled when one of the bindings that run on a press ("click", "press" or "down") is.
  void WindowStateChanged() override;

  bool IsEnabled() const { return fEnabled; }

 private:
  bool Press(const Wex::cPoint& p, std::uint32_t buttonMask, const Wex::cKeyModifiers& modifiers);

  rcRootView* fRoot;
  std::vector<cActionListEntry> fActions;
  ref<Wex::rcCocoaObject> fCursor;
  bool fThru;
  bool fEnabled = false;
};

// The "click" type: the bindings ("action", "params", "mask" or "actions"), "cursor", "thru"
// (a boolean), then "hint".
ref<Wex::rcGUIElement> MakeClickView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
