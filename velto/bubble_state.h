#pragma once

// What a speech bubble's layout, drawing and hit tests work on, kept apart from the view so that
// they run without a window, a host or the view itself: the bubble's settings, its place, its
// pages and the laid-out tokens of the current page, with the geometry of its outline (rounded
// corners and a tail below), its text area and its height fitting.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/rc.h"
#include "gui/geometry.h"
#include "gui/resources/stroke.h"
#include "raster/geometry.h"
#include "raster/path.h"
#include "velto/text_style.h"

namespace Velto {

class rcRootView;

// Conversions of doubles to 32-bit integers that saturate beyond the range; NaN gives 0.
std::int32_t RoundToInt32(double v);  // halves away from zero
std::int32_t FloorToInt32(double v);
std::int32_t CeilToInt32(double v);
std::int32_t TruncateToInt32(double v);

// One laid-out item of a page: a word, or an action-only record (no style, empty box).
struct CaptionToken {
  Wex::cRect fBox;                // the space the word takes, frame and margin included
  std::int32_t fGap = 0;          // from the box's right edge to where the next token starts
  QorRaster::Rect fFrameRect;     // the centre line of the style's frame around the word
  ref<rcTextStyle> fStyle;        // null for action-only tokens
  Wex::cPoint fTextPosition;      // the baseline point the text is drawn at
  std::int32_t fTextWidth = 0;
  std::wstring fText;
  std::int32_t fDelay = 0;        // milliseconds before the next token shows
  std::string fRevealAction;      // run when typing reaches the token
  std::string fRevealParams;
  std::string fClickAction;       // run by a click on the revealed word
  std::string fClickParams;

  bool IsClickable() const { return !fClickAction.empty(); }
};

// Offsets added to the left, top, right and bottom edges of a rectangle.
struct cEdgeOffsets {
  std::int32_t fLeft = 0;
  std::int32_t fTop = 0;
  std::int32_t fRight = 0;
  std::int32_t fBottom = 0;
};

struct cBubbleState {
  // The outline's rectangle within local bounds 0, 0, width, height: the margins, the frame's
  // half width (when it is visible, rounded up) and, at the bottom, the tail's height (rounded
  // up) lie outside it.
  Wex::cRect GetOutlineRect(std::int32_t width, std::int32_t height) const;
  // The outline inset by the frame's half width.
  Wex::cRect GetInnerRect(std::int32_t width, std::int32_t height) const;
  // The inner rectangle with the paddings added.
  Wex::cRect GetTextRect(std::int32_t width, std::int32_t height) const;
  // Whether the local point lies in the outline's rectangle.
  bool ContainsPoint(const Wex::cPoint& p, std::int32_t width, std::int32_t height) const;
  // The rectangle with the height that the laid-out text needs, at least the minimum, then at
  // most the maximum height, moved up (not above 0) when it would leave the parent; kept as it
  // is when the view's height is both the minimum and the maximum.
  Wex::cRect FitHeight(const Wex::cRect& r) const;
  // The outline with rounded corners and the tail, around the rectangle.
  QorRaster::Path GetOutlinePath(const Wex::cRect& outline) const;
  // The first revealed clickable token whose box, grown by half its style's frame width and
  // widened to whole pixels, holds the point; null when none does or the bubble has no root.
  const CaptionToken* FindClickableToken(const Wex::cPoint& p) const;
  // Makes the page current: its tokens are laid out anew, with their own typing delays. Answers
  // the area of the text shown until now. Throws Exception "Invalid page number: " and the index
  // for an index outside the pages.
  Wex::cRect SetPage(std::int32_t index);
  // Empties the token list, counting the change.
  void ClearTokens();

  // Settings.
  std::int32_t fMinHeight = 0;
  std::int32_t fMaxHeight = 0;
  cStroke fFrame;
  QorRaster::Point fCorners;   // corner radii, x and y
  QorRaster::Point fTailSize;  // half the tail's base, and its height
  std::int32_t fTailPosition = 0;  // the tail tip's x
  cEdgeOffsets fMargins;
  cEdgeOffsets fPaddings;
  ref<rcTextStyle> fDefaultStyle;
  ref<rcTextStyleSet> fStyleSet;  // null without "styles"
  // The view's place: its rectangle given at construction, its present height and its parent's
  // height (none without a parent), which the view keeps up to date.
  Wex::cRect fBaseBounds;
  std::int32_t fHeight = 0;
  std::optional<std::int32_t> fParentHeight;
  // For text macros and actions; null for none.
  rcRootView* fRoot = nullptr;

  // Pages.
  std::vector<std::string> fPages;
  std::int32_t fCurrentPage = -1;         // -1 for none
  std::int32_t fTypingDelayOverride = -1; // milliseconds; -1 for none
  double fMoveTime = 0.0;                 // of the page in hand, seconds
  double fMoveCurve = 0.5;

  // The layout of the current page: empty until it is laid out.
  Wex::cRect fTargetRect;
  std::vector<CaptionToken> fTokens;
  std::uint64_t fTokenChanges = 0;  // goes up whenever the list is emptied
  Wex::cRect fTextBounds;           // the union of the token boxes
  std::size_t fRevealed = 0;        // tokens shown so far
};

}  // namespace Velto
