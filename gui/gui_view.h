#pragma once

// The operations of a visible view: a window of the program, the window of a dialog or of the
// host, or the editor's view in the host's window. Rectangles are in screen coordinates with the
// origin at the top left of the main screen and y growing downward, except where said otherwise.

#include <cstdint>

#include "base/rc.h"
#include "base/rc_string.h"
#include "gui/geometry.h"

namespace Wex {

class iGUIView {
 public:
  virtual void SetTitle(const refString& title) = 0;
  // The shared empty string when there is no title.
  virtual refString GetTitle() = 0;
  virtual void SetContentRect(const cRect& r) = 0;
  virtual cRect GetContentRect() = 0;
  // (0, 0) to the size of the content.
  virtual cRect GetBounds() = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() = 0;
  // Brings the view forward and gives it the keys.
  virtual void Activate() = 0;
  virtual bool IsKeyWindow() = 0;
  // Marks an area (view coordinates) for redrawing.
  virtual void InvalidateRect(const cRect& r) = 0;
  virtual void InvalidateAll() = 0;
  // A value that the view stores for its user and reads for nothing else.
  virtual void SetUserValue(std::int32_t value) = 0;
  virtual std::int32_t GetUserValue() = 0;
  // Always empty: nothing is attached to a view.
  virtual iref<iGUIView> GetAttachedInterface() = 0;

 protected:
  virtual ~iGUIView() = default;
};

}  // namespace Wex
