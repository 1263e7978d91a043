#pragma once

// The "bubble" view: a speech bubble (a filled, framed outline with rounded corners and a tail)
// that shows one page of marked-up text at a time, types it out word by word, runs actions as it
// types and when a page is complete, makes words and itself clickable, follows GUI variables for
// its page and its typing speed, and moves or resizes itself smoothly when a page asks for other
// bounds.

#include <cstdint>
#include <string>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/cocoa_object.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "gui/graphics_context.h"
#include "raster/table.h"
#include "velto/bubble_state.h"
#include "velto/text_style.h"
#include "velto/views/hint_window.h"
#include "velto/views/view.h"

namespace Velto {

class rcRootView;

class rcBubbleView : public rcView {
 public:
  static constexpr std::uint32_t kTypingTimer = 5432;
  static constexpr std::uint32_t kMoveTimer = 5434;

  // Reads "minHeight", "maxHeight" (integers, "$" = the height), "gamma", "fill", "frame",
  // "corners", "tailSize", "tailPosition" ("$" = the default; a negative default stands for three
  // quarters of the width), "clickAction", "clickParams", "fullPageAction", "fullPageParams",
  // "margins" and "paddings" (layout rectangles against the empty one), "moveResize" ("fps", "time"
  // in seconds, "curve"), "pages", "styles" (the set whose "default" is the default style) or else
  // "style", "pageVariable" and "typingRateVariable"; shows page 0 when there are pages. Throws
  // FormatException "Missing (default) style specification for bubble view" without a default
  // style; the readers' errors pass out. Fonts come from the provider, variables and actions from
  // the root (not owned; null for none). With a hint window the view has an empty hint.
  rcBubbleView(const Wex::cRect& bounds, const Description& description, iFontProvider& fonts, rcRootView* root,
               const ref<rcHintWindow>& hintWindow, std::int32_t tailPositionDefault);

  // Lays the current page out with the context's fonts and starts showing it: the bubble moves
  // to the page's rectangle (in steps when a move time is set) and typing begins. Markup errors
  // pass out.
  void LayoutPage(Wex::rcGraphicsContext& context);
  // Reveals the tokens from the next one on until one asks to wait (typing continues at now plus
  // its delay); after the last, the full page action runs. Reveal and full page actions run
  // unchecked, their errors dropped; an action that changes the page or the tokens stops the
  // reveal.
  void RevealNext(std::int32_t now);
  // Makes the page current (see cBubbleState::SetPage) and redraws the text shown until now.
  void SetPage(std::int32_t index);

  // kTypingTimer reveals on, kMoveTimer takes one step of the move; both from the due time.
  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) override;
  // The outline, filled and framed, then the revealed words inside it; a current page that is
  // not laid out yet is laid out first.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // A press of the primary button inside the outline's rectangle performs the action of the
  // revealed word under it, or else, inside the outline, the bubble's click action.
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                 const Wex::cKeyModifiers& modifiers) override;
  // The pointing hand over clickable words and the arrow elsewhere inside the outline's
  // rectangle; then the view's hint handling.
  void MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // Follows the page and typing rate variables, then lays a page out that is not yet, measuring
  // through the host's window when there is one.
  void WindowStateChanged() override;
  // Both point tests hold inside the outline's rectangle.
  ref<Wex::rcGUIElement> FindElementAt(const Wex::cPoint& p) override;
  bool ContainsPoint(const Wex::cPoint& p) override;

  const cBubbleState& GetState() const { return fState; }
  std::int32_t GetFrameInterval() const { return fFrameInterval; }
  double GetMovePhase() const { return fPhase; }

 private:
  // The view's and its parent's heights go into the record before a layout.
  void UpdatePlace();
  // Performs a click action with the press point as the action's origin.
  void PerformClick(const Wex::cPoint& p, const std::string& action, const std::string& params);
  void DrawOutline(Wex::rcGraphicsContext& context, const Wex::cRect& update);
  void DrawToken(Wex::rcGraphicsContext& context, const CaptionToken& token);
  void ApplyPageVariable();
  void ApplyTypingRateVariable();

  cBubbleState fState;
  rcRootView* fRoot;
  QorRaster::GammaTable fGamma;
  std::uint32_t fFillColor;
  std::string fClickAction;
  std::string fClickParams;
  std::string fFullPageAction;
  std::string fFullPageParams;
  std::int32_t fFrameInterval;
  double fMoveTime;   // as configured
  double fMoveCurve;
  double fPhase = 0.0;
  double fPhaseStep = 0.0;
  Wex::cRect fMoveStart;
  ref<Wex::rcCocoaObject> fClickCursor;
  std::string fPageVariable;
  std::string fTypingRateVariable;
};

// The "bubble" type, with the root as font provider and its hint window.
ref<Wex::rcGUIElement> MakeBubbleView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
