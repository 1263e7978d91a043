#pragma once

// The floating window in which the views show their hints, one hint at a time: a borderless
// popup that takes no input, with one line of text on a plain background. It remembers the view
// that owns the hint, so that a view hides only its own; a show may wait for a delay; a shown
// hint is checked every 100 ms and goes when its view's window is hidden or the program is no
// longer the front process. Main thread only.

#include <cstdint>

#include "base/rc.h"
#include "base/rc_string.h"
#include "base/scheduler.h"
#include "gui/element.h"
#include "gui/font.h"
#include "gui/geometry.h"
#include "gui/graphics_context.h"
#include "gui/handlers.h"
#include "gui/window.h"

namespace Velto {

// The program's default GUI font, "Lucida Grande" of size 11: made on first use, so that no
// order of static initialisation matters, and kept to the end of the program.
const ref<Wex::rcFont>& gDefaultFont();

class rcHintWindow : public Wex::rcWindow,
                     public Wex::iGUIElementDrawer,
                     public Wex::iGUIElementListener,
                     public Wex::iSchedulerCallback {
 public:
  // Ids of the window's own tasks.
  static constexpr std::uint32_t kShowTimer = 1;   // a delayed show
  static constexpr std::uint32_t kWatchTimer = 3;  // the check of a shown hint
  static constexpr std::int32_t kWatchInterval = 100;

  // The window is as wide as the text plus extraWidth and `height` high; the text is drawn at
  // textOrigin in its colour and the font over the background colour. The window is made
  // hidden at (0, 0, 10, 10), at 80 % opacity; it is its own drawer and listener, so that it
  // lives until Close (its Reset) undoes that.
  rcHintWindow(std::int32_t extraWidth, std::int32_t height, const Wex::cRGBColor* backgroundColor,
               Wex::cPoint textOrigin, const Wex::cRGBColor* textColor, const ref<Wex::rcFont>& font);
  ~rcHintWindow() override;

  // Shows the text at once for the view, with the window's top-left at the screen point,
  // cancelling a pending show; the window is resized when the text's width changed. The hint is
  // then checked every kWatchInterval ms.
  void ShowHint(const ref<Wex::rcGUIElement>& view, Wex::cPoint point, const refString& text);
  // Shows the text for the view after the delay (ms) at the screen point, unless a hint is shown
  // or CanShowFor(view) is false. A pending show moves only earlier; the show uses the latest
  // view, point and text.
  void ScheduleHint(const ref<Wex::rcGUIElement>& view, std::int32_t delay, Wex::cPoint point, const refString& text);
  // Hides the hint and cancels a pending show, but only when the view owns the hint.
  void HideHint(const ref<Wex::rcGUIElement>& view);
  // Hides the hint of whichever view owns it.
  void HideAnyHint();
  // Replaces the text of the view's hint (nothing when the view does not own it); a shown hint
  // is redrawn, resized when the width changed, and not moved.
  void UpdateShownText(const ref<Wex::rcGUIElement>& view, const refString& text);
  // Whether a hint may show for the view: it is hosted in a visible window and the program is
  // the front process.
  bool CanShowFor(const ref<Wex::rcGUIElement>& view);

  // kShowTimer shows the pending hint when it still may; kWatchTimer hides a shown hint that may
  // no longer show, or checks again later.
  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) override;
  // Fills the update rectangle with the background and draws the text.
  void Draw(const iref<Wex::iGUIView>& host, Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // The window's notifications change nothing.
  void TitleChanged(const iref<Wex::iGUIView>& host) override;
  void FrameChanged(const iref<Wex::iGUIView>& host) override;
  void VisibilityChanged(const iref<Wex::iGUIView>& host) override;
  void ActivationChanged(const iref<Wex::iGUIView>& host) override;
  void HierarchyChanged(const iref<Wex::iGUIView>& host) override;
  // The hint window's Reset: removes its tasks, hides the hint, drops the font and the text,
  // then closes the window. No hint shows after it.
  void Close() override;

  const ref<Wex::rcGUIElement>& GetOwner() const { return fOwner; }
  const refString& GetText() const { return fText; }
  Wex::cPoint GetPoint() const { return fPoint; }
  bool IsShown() const { return fShown; }
  bool IsPending() const { return fPending; }
  std::int32_t GetPendingDueTime() const { return fPendingDueTime; }

 private:
  iref<Wex::iSchedulerCallback> AsCallback() { return iref<Wex::iSchedulerCallback>(this); }
  // Measures the text and, when its width changed, resizes the window, keeping its top-left.
  // Without a font or a measuring context the width stays.
  void FitText();

  std::int32_t fExtraWidth;
  std::int32_t fHeight;
  Wex::cRGBColor fBackgroundColor;
  Wex::cPoint fTextOrigin;
  Wex::cRGBColor fTextColor;
  ref<Wex::rcFont> fFont;
  refString fText = Wex::rcString::GetEmpty();
  std::int32_t fTextWidth = 0;
  bool fShown = false;
  bool fPending = false;
  std::int32_t fPendingDueTime = 0;
  ref<Wex::rcGUIElement> fOwner;
  Wex::cPoint fPoint;
};

}  // namespace Velto
