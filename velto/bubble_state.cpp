#include "velto/bubble_state.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/exceptions.h"
#include "gui/resources/canvas.h"

namespace Velto {

std::int32_t TruncateToInt32(double v) { return std::isnan(v) ? 0 : QorRaster::TruncateSaturated<std::int32_t>(v); }
std::int32_t RoundToInt32(double v) { return TruncateToInt32(std::round(v)); }
std::int32_t FloorToInt32(double v) { return TruncateToInt32(std::floor(v)); }
std::int32_t CeilToInt32(double v) { return TruncateToInt32(std::ceil(v)); }

namespace {

std::int64_t CeilInt(double v) { return CeilToInt32(v); }

// The frame's half width, rounded up, when it shows; else 0.
std::int64_t FrameAllowance(const cStroke& frame) { return frame.IsVisible() ? CeilInt(frame.fWidth / 2.0) : 0; }

// The room below the outline that the tail takes.
std::int64_t TailRoom(const QorRaster::Point& tail) { return tail.y > 0.0 ? CeilInt(tail.y) : 0; }

}  // namespace

Wex::cRect cBubbleState::GetOutlineRect(std::int32_t width, std::int32_t height) const {
  const std::int64_t f = FrameAllowance(fFrame);
  return {SaturateToInt32(std::int64_t{fMargins.fLeft} + f), SaturateToInt32(std::int64_t{fMargins.fTop} + f),
          SaturateToInt32(std::int64_t{width} + fMargins.fRight - f),
          SaturateToInt32(std::int64_t{height} + fMargins.fBottom - f - TailRoom(fTailSize))};
}

Wex::cRect cBubbleState::GetInnerRect(std::int32_t width, std::int32_t height) const {
  const Wex::cRect o = GetOutlineRect(width, height);
  const std::int64_t f = FrameAllowance(fFrame);
  return {SaturateToInt32(o.fLeft + f), SaturateToInt32(o.fTop + f), SaturateToInt32(o.fRight - f),
          SaturateToInt32(o.fBottom - f)};
}

Wex::cRect cBubbleState::GetTextRect(std::int32_t width, std::int32_t height) const {
  const Wex::cRect i = GetInnerRect(width, height);
  return {SaturateToInt32(std::int64_t{i.fLeft} + fPaddings.fLeft),
          SaturateToInt32(std::int64_t{i.fTop} + fPaddings.fTop),
          SaturateToInt32(std::int64_t{i.fRight} + fPaddings.fRight),
          SaturateToInt32(std::int64_t{i.fBottom} + fPaddings.fBottom)};
}

bool cBubbleState::ContainsPoint(const Wex::cPoint& p, std::int32_t width, std::int32_t height) const {
  return GetOutlineRect(width, height).Contains(p);
}

Wex::cRect cBubbleState::FitHeight(const Wex::cRect& r) const {
  if (fHeight == fMinHeight && fHeight == fMaxHeight) return r;
  // The text's bounds are local to the bubble: their bottom is the height that the text reaches.
  const bool noText = fTextBounds.fRight <= fTextBounds.fLeft || fTextBounds.fBottom <= fTextBounds.fTop;
  const std::int64_t text = noText ? 0 : fTextBounds.fBottom;
  const std::int64_t frame = fFrame.IsVisible() ? CeilInt(fFrame.fWidth) : 0;
  std::int64_t height = text + TailRoom(fTailSize) + frame - fMargins.fBottom - fPaddings.fBottom;
  // One limit after the other: when they cross, the maximum wins.
  height = std::max<std::int64_t>(height, fMinHeight);
  height = std::min<std::int64_t>(height, fMaxHeight);
  std::int64_t top = r.fTop;
  std::int64_t bottom = top + height;
  if (fParentHeight && bottom > *fParentHeight) {
    const std::int64_t shift = std::min(bottom - *fParentHeight, std::max<std::int64_t>(top, 0));
    top -= shift;
    bottom -= shift;
  }
  return {r.fLeft, SaturateToInt32(top), r.fRight, SaturateToInt32(bottom)};
}

QorRaster::Path cBubbleState::GetOutlinePath(const Wex::cRect& outline) const {
  const double l = outline.fLeft;
  const double t = outline.fTop;
  const double r = outline.fRight;
  const double b = outline.fBottom;
  const double cx = fCorners.x;
  const double cy = fCorners.y;
  const bool arcs = cy > 0.0 && cx / cy > 0.0;
  const double aspect = arcs ? cx / cy : 1.0;
  constexpr double kQuarter = std::numbers::pi / 2.0;
  QorRaster::Path path;
  const auto arc = [&](double x, double y) {
    if (arcs) path.ArcTo(x, y, kQuarter, aspect, 1.0);
  };
  path.MoveTo(l + cx, t).LineTo(r - cx, t);
  arc(r - cx, t + cy);
  path.LineTo(r, t + cy).LineTo(r, b - cy);
  arc(r - cx, b - cy);
  path.LineTo(r - cx, b);
  const double halfWidth = fTailSize.x;
  const double tailHeight = fTailSize.y;
  if (halfWidth > 0.0 && tailHeight > 0.0) {
    const double tip = fTailPosition;
    path.LineTo(tip + halfWidth, b).LineTo(tip, b + tailHeight).LineTo(tip - halfWidth, b);
  }
  path.LineTo(l + cx, b);
  arc(l + cx, b - cy);
  path.LineTo(l, b - cy).LineTo(l, t + cy);
  arc(l + cx, t + cy);
  path.Close();
  return path;
}

const CaptionToken* cBubbleState::FindClickableToken(const Wex::cPoint& p) const {
  if (fRoot == nullptr) return nullptr;
  const std::size_t shown = std::min(fRevealed, fTokens.size());
  const double x = p.fX;
  const double y = p.fY;
  for (std::size_t i = 0; i < shown; ++i) {
    const CaptionToken& token = fTokens[i];
    if (!token.IsClickable()) continue;
    const double g = token.fStyle ? token.fStyle->fFrame.fWidth / 2.0 : 0.0;
    const Wex::cRect& box = token.fBox;
    if (std::floor(box.fLeft - g) <= x && x < std::ceil(box.fRight + g) && std::floor(box.fTop - g) <= y &&
        y < std::ceil(box.fBottom + g)) {
      return &token;
    }
  }
  return nullptr;
}

Wex::cRect cBubbleState::SetPage(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= fPages.size()) {
    throw Exception("Invalid page number: " + std::to_string(index));
  }
  const Wex::cRect shown = fTextBounds;
  fCurrentPage = index;
  fTypingDelayOverride = -1;
  ClearTokens();
  return shown;
}

void cBubbleState::ClearTokens() {
  fTokens.clear();
  ++fTokenChanges;
}

}  // namespace Velto
