#pragma once

// The base of the views that show hints and tell listeners of their changes.

#include <cstdint>
#include <utility>

#include "base/rc.h"
#include "base/rc_string.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "velto/views/hint_window.h"

namespace Velto {

// The listener tag of the views whose changes the root view handles.
inline constexpr std::int32_t kRootListenerTag = 76089;  // 0x12939

// Hears of a view's changes. Codes: 0 once to a listener just added, 1 geometry, 2 appearance,
// 3 mouse tracking started or ended, 4 hint, 5 text, 7 value, 8 default value, 9 snap settings.
class iViewListener {
 public:
  virtual void ViewChanged(ref<Wex::rcGUIElement> view, std::int32_t code) = 0;
  virtual ~iViewListener() = default;
};

class rcView : public Wex::rcGUIElement {
 public:
  // r is the view's rectangle in its parent's coordinates.
  explicit rcView(const Wex::cRect& r);

  // The text to show as the hint now.
  virtual refString GetHintText();
  // Sets the hint text; an empty text means no hint.
  void SetHint(const refString& text);

  // The shared hint window; without one the view shows no hint.
  void SetHintWindow(ref<rcHintWindow> window) { fHintWindow = std::move(window); }
  const ref<rcHintWindow>& GetHintWindow() const { return fHintWindow; }
  // A mark that listeners may test (kRootListenerTag for the views that the root view handles).
  std::int32_t GetListenerTag() const { return fListenerTag; }
  void SetListenerTag(std::int32_t tag) { fListenerTag = tag; }

 private:
  std::int32_t fListenerTag = 0;
  ref<rcHintWindow> fHintWindow;
  refString fHintText = Wex::rcString::GetEmpty();
};

}  // namespace Velto
