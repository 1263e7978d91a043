#include "velto/bubble_view.h"

#include <cmath>
#include <optional>
#include <utility>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/native_view.h"
#include "gui/resources/attributes.h"
#include "gui/resources/canvas.h"
#include "gui/resources/layout.h"
#include "gui/resources/shapes.h"
#include "platform/cursor.h"
#include "raster/combine.h"
#include "raster/filter.h"
#include "raster/limits.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"
#include "velto/actions.h"
#include "velto/caption_markup.h"
#include "velto/popup_menu.h"
#include "velto/readers.h"
#include "velto/root_view.h"

namespace Velto {

namespace {

constexpr std::uint32_t kPointingHand = 5;
constexpr double kDefaultFps = 20.0;

// A layout rectangle read against the empty one, as offsets of the four edges.
cEdgeOffsets ReadOffsets(std::string_view text) {
  const Wex::cRect r = ReadLayoutRect(text, {});
  return {r.fLeft, r.fTop, r.Width(), r.Height()};
}

// The coverage of a path filled under the non-zero rule, within the clip.
struct cCoverage {
  cCoverage(const QorRaster::Path& path, const QorRaster::IntRect& clip, const QorRaster::GammaTable& gamma)
      : mask(path, clip, &QorRaster::kNonZeroRule), corrected(&mask, &gamma) {}
  QorRaster::PolygonMask mask;
  QorRaster::LookupMask corrected;
};

}  // namespace

rcBubbleView::rcBubbleView(const Wex::cRect& bounds, const Description& d, iFontProvider& fonts, rcRootView* root,
                           const ref<rcHintWindow>& hintWindow, std::int32_t tailPositionDefault)
    : rcView(bounds), fRoot(root), fGamma(1.0) {
  const std::int32_t height = bounds.Height();
  fState.fMinHeight = Wex::EvaluateIntExpressionWithValue(Wex::ValueOf(d, "minHeight"), height);
  fState.fMaxHeight = Wex::EvaluateIntExpressionWithValue(Wex::ValueOf(d, "maxHeight"), height);
  fGamma = QorRaster::GammaTable(Wex::EvaluateExpression(Wex::ValueOf(d, "gamma"), 1.0));
  fFillColor = ReadColor(Wex::ValueOf(d, "fill"), 0xFFFFFFFF);
  fState.fFrame = ReadStroke(Wex::ValueOf(d, "frame"), 0xFF000000);
  fState.fCorners = ReadRealPoint(Wex::ValueOf(d, "corners"), {});
  fState.fTailSize = ReadRealPoint(Wex::ValueOf(d, "tailSize"), {});
  // Three quarters of the width, computed wide so that a very wide bubble does not overflow.
  const std::int32_t tailDefault =
      tailPositionDefault < 0 ? static_cast<std::int32_t>(std::int64_t{bounds.Width()} * 3 / 4) : tailPositionDefault;
  fState.fTailPosition = TruncateToInt32(Wex::EvaluateExpression(Wex::ValueOf(d, "tailPosition"), tailDefault));
  fClickAction = Wex::Unquote(Wex::ValueOf(d, "clickAction"));
  fClickParams = Wex::Unquote(Wex::ValueOf(d, "clickParams"));
  fFullPageAction = Wex::Unquote(Wex::ValueOf(d, "fullPageAction"));
  fFullPageParams = Wex::Unquote(Wex::ValueOf(d, "fullPageParams"));
  fState.fMargins = ReadOffsets(Wex::ValueOf(d, "margins"));
  fState.fPaddings = ReadOffsets(Wex::ValueOf(d, "paddings"));
  const Description move = Wex::ParseKeyValueMap(Wex::ValueOf(d, "moveResize"));
  fFrameInterval = ReadTickInterval(Wex::ValueOf(move, "fps"), kDefaultFps);
  fMoveTime = Wex::EvaluateExpression(Wex::ValueOf(move, "time"), 0.0);
  fMoveCurve = Wex::EvaluateExpression(Wex::ValueOf(move, "curve"), 0.5);
  std::vector<std::string> pages;
  Wex::ParseListInto(Wex::ValueOf(d, "pages"), pages);
  for (const std::string& page : pages) fState.fPages.push_back(Wex::Unquote(page));
  if (const auto styles = d.find("styles"); styles != d.end()) {
    fState.fStyleSet = ref<rcTextStyleSet>(new rcTextStyleSet(Wex::ParseKeyValueMap(styles->second), fonts));
    fState.fDefaultStyle = fState.fStyleSet->Find("default");
  }
  if (const auto style = d.find("style"); !fState.fDefaultStyle && style != d.end()) {
    fState.fDefaultStyle = ReadTextStyle(Wex::ParseKeyValueMap(style->second), fonts);
  }
  fPageVariable = Wex::Unquote(Wex::ValueOf(d, "pageVariable"));
  fTypingRateVariable = Wex::Unquote(Wex::ValueOf(d, "typingRateVariable"));

  fState.fBaseBounds = bounds;
  fState.fRoot = root;
  fState.fMoveTime = fMoveTime;
  fState.fMoveCurve = fMoveCurve;
  fClickCursor = ref<Wex::rcCocoaObject>(new Wex::rcCocoaObject(Wex::GetNSCursor(kPointingHand), true));
  if (!fState.fPages.empty()) fState.SetPage(0);
  if (!fState.fDefaultStyle) throw FormatException("Missing (default) style specification for bubble view");
  if (hintWindow) {
    SetHintWindow(hintWindow);
    SetHint(Wex::rcString::GetEmpty());
  }
}

void rcBubbleView::UpdatePlace() {
  fState.fHeight = GetBounds().Height();
  const Wex::rcGUIContainer* parent = GetParent();
  fState.fParentHeight = parent != nullptr ? std::optional(parent->GetBounds().Height()) : std::nullopt;
}

void rcBubbleView::SetPage(std::int32_t index) { InvalidateRect(fState.SetPage(index)); }

void rcBubbleView::LayoutPage(Wex::rcGraphicsContext& context) {
  StopTimer(kTypingTimer);
  StopTimer(kMoveTimer);
  fState.fMoveTime = fMoveTime;
  fState.fMoveCurve = fMoveCurve;
  UpdatePlace();
  ParseCaptionMarkup(fState, context);
  fMoveStart = GetRect();
  // A time that is no finite number would never end the move: it moves at once.
  if (fState.fMoveTime > 0.0 && std::isfinite(fState.fMoveTime) && fState.fTargetRect != fMoveStart) {
    fPhase = 0.0;
    fPhaseStep = fFrameInterval / (1000.0 * fState.fMoveTime);
    StartTimer(fFrameInterval, kMoveTimer);
  } else {
    SetRect(fState.fTargetRect);
    fPhase = 1.0;
  }
  fState.fRevealed = 0;
  RevealNext(Wex::CurrentElementTime());
}

void rcBubbleView::RevealNext(std::int32_t now) {
  std::vector<CaptionToken>& tokens = fState.fTokens;
  if (fState.fRevealed >= tokens.size()) return;
  const ref<rcBubbleView> self(this);  // an action may remove the view
  while (fState.fRevealed < tokens.size()) {
    // What the step needs is taken first: the action may change the page or its tokens.
    const CaptionToken& token = tokens[fState.fRevealed];
    const std::string action = token.fRevealAction;
    const std::string params = token.fRevealParams;
    const std::int32_t wait = fState.fTypingDelayOverride >= 0 ? fState.fTypingDelayOverride : token.fDelay;
    InvalidateRect(token.fBox);
    if (!action.empty() && fRoot != nullptr) {
      const std::int32_t page = fState.fCurrentPage;
      const std::uint64_t changes = fState.fTokenChanges;
      try {
        ExecuteAction(*fRoot, action, params);
      } catch (...) {
        // Reveal actions run unchecked and their errors are dropped.
      }
      if (fState.fCurrentPage != page || fState.fTokenChanges != changes) return;
    }
    if (wait != 0) StartTimerAt(Wex::WrapAdd(now, wait), kTypingTimer);
    if (++fState.fRevealed >= tokens.size()) break;
    if (wait != 0) return;
  }
  if (fFullPageAction.empty() || fRoot == nullptr) return;
  try {
    ExecuteAction(*fRoot, fFullPageAction, fFullPageParams);
  } catch (...) {
    // Dropped like those of the reveal actions.
  }
}

void rcBubbleView::OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t, std::uint32_t id) {
  if (id == kTypingTimer) {
    RevealNext(dueTime);
  } else if (id == kMoveTimer) {
    fPhase += fPhaseStep;
    if (fPhase < 1.0) {
      scheduler.AddTask(Wex::WrapAdd(dueTime, fFrameInterval), iref<Wex::iSchedulerCallback>(this), kMoveTimer);
    } else {
      fPhase = 1.0;
    }
    const double c = fState.fMoveCurve;
    double t = (c * fPhase) / ((1.0 - c) + (2.0 * c - 1.0) * fPhase);
    if (!std::isfinite(t)) t = fPhase;
    const Wex::cRect& from = fMoveStart;
    const Wex::cRect& to = fState.fTargetRect;
    const auto edge = [t](std::int32_t start, std::int32_t end) {
      return RoundToInt32(start + (static_cast<double>(end) - start) * t);
    };
    SetRect({edge(from.fLeft, to.fLeft), edge(from.fTop, to.fTop), edge(from.fRight, to.fRight),
             edge(from.fBottom, to.fBottom)});
  }
}

void rcBubbleView::DrawOutline(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  const Wex::cRect& b = GetBounds();
  const QorRaster::IntRect clip = EdgesToRect(update);
  try {
    const QorRaster::Path outline = fState.GetOutlinePath(fState.GetOutlineRect(b.fRight, b.fBottom));
    QorRaster::Path frame = outline;
    fState.fFrame.StrokePath(frame);
    // The frame's coverage twice: a mask renders its rows once, in order.
    cCoverage frameCoverage(frame, clip, fGamma);
    QorRaster::PolygonMask frameCut(frame, clip, &QorRaster::kNonZeroRule);
    QorRaster::InvertedMask outsideFrame(&frameCut);
    QorRaster::PolygonMask shape(outline, clip, &QorRaster::kNonZeroRule);
    QorRaster::MaskedMask fillMask(&shape, &outsideFrame);
    QorRaster::LookupMask fillCoverage(&fillMask, &fGamma);
    QorRaster::SolidPaint fillColor(fFillColor);
    QorRaster::SolidPaint frameColor(fState.fFrame.fColor);
    QorRaster::MaskedPaint fill(&fillColor, &fillCoverage);
    QorRaster::MaskedPaint framed(&frameColor, &frameCoverage.corrected);
    QorRaster::OverPaint composed(&fill, &framed);
    cContextCanvas canvas(context);
    canvas.Draw(composed);
  } catch (const QorRaster::LimitException&) {
    // An outline beyond the raster library's limits is not drawn.
  }
}

void rcBubbleView::DrawToken(Wex::rcGraphicsContext& context, const CaptionToken& token) {
  const rcTextStyle& style = *token.fStyle;
  if (style.fFont) style.fFont->Draw(context, token.fTextPosition, *Wex::WideToUTF16(token.fText));
  if (!style.fUnderline.IsVisible() && !style.fFrame.IsVisible()) return;
  try {
    QorRaster::Path underline;
    if (style.fUnderline.IsVisible()) {
      const double y = token.fTextPosition.fY + style.fUnderline.fWidth / 2 + style.fUnderlineOffset;
      underline.AddLine(token.fTextPosition.fX, y, static_cast<double>(token.fTextPosition.fX) + token.fTextWidth, y);
      style.fUnderline.StrokePath(underline);
    }
    QorRaster::Path frame;
    if (style.fFrame.IsVisible()) {
      const QorRaster::Rect& r = token.fFrameRect;
      frame.AddRect(r.x, r.y, r.width, r.height);
      style.fFrame.StrokePath(frame);
    }
    const QorRaster::IntRect clip = EdgesToRect(GetBounds());
    cCoverage underlineCoverage(underline, clip, fGamma);
    cCoverage frameCoverage(frame, clip, fGamma);
    QorRaster::SolidPaint underlineColor(style.fUnderline.fColor);
    QorRaster::SolidPaint frameColor(style.fFrame.fColor);
    QorRaster::MaskedPaint underlined(&underlineColor, &underlineCoverage.corrected);
    QorRaster::MaskedPaint framed(&frameColor, &frameCoverage.corrected);
    QorRaster::OverPaint composed(&underlined, &framed);
    cContextCanvas canvas(context);
    canvas.Draw(composed);
  } catch (const QorRaster::LimitException&) {
    // Decorations beyond the raster library's limits are not drawn.
  }
}

void rcBubbleView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  if (fState.fTokens.empty() && fState.fCurrentPage >= 0) LayoutPage(context);
  DrawOutline(context, update);
  const Wex::cRect& b = GetBounds();
  const Wex::cRect inner = fState.GetInnerRect(b.fRight, b.fBottom);
  const Wex::cClipScope clip(context, inner);
  const std::vector<CaptionToken>& tokens = fState.fTokens;
  const std::size_t revealed = std::min(fState.fRevealed, tokens.size());
  std::size_t i = 0;
  while (i < revealed && tokens[i].fBox.fBottom <= inner.fTop) ++i;
  for (; i < revealed && tokens[i].fBox.fTop < inner.fBottom; ++i) {
    if (tokens[i].fStyle) DrawToken(context, tokens[i]);
  }
}

void rcBubbleView::PerformClick(const Wex::cPoint& p, const std::string& action, const std::string& params) {
  if (fRoot == nullptr) return;
  gActionOrigin = LocalToScreen(p);
  PerformAction(*fRoot, action, params);
}

bool rcBubbleView::MouseDown(const Wex::cPoint& p, std::int32_t, bool, const Wex::cKeyModifiers& modifiers) {
  if (modifiers.fSecondaryClick) return false;
  const Wex::cRect& b = GetBounds();
  const Wex::cRect outline = fState.GetOutlineRect(b.fRight, b.fBottom);
  if (!outline.Contains(p)) return false;
  if (const CaptionToken* word = fState.FindClickableToken(p)) {
    const std::string action = word->fClickAction;
    const std::string params = word->fClickParams;
    PerformClick(p, action, params);
    return true;
  }
  if (fClickAction.empty() || !HitTestPath(fState.GetOutlinePath(outline), p.fX, p.fY)) return false;
  PerformClick(p, fClickAction, fClickParams);
  return true;
}

void rcBubbleView::MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) {
  if (Wex::iNativeView* view = GetHostView()) {
    if (fState.FindClickableToken(p) != nullptr) {
      view->UseCursor(fClickCursor);
    } else if (ContainsPoint(p)) {
      view->UseCursor(Wex::GetArrowCursor());
    }
  }
  rcView::MouseMoved(p, time, modifiers);
}

void rcBubbleView::ApplyPageVariable() {
  if (fPageVariable.empty() || fRoot == nullptr || fState.fPages.empty()) return;
  const std::string value = fRoot->GetController().GetVariable(*fRoot, fPageVariable);
  if (value.empty()) return;
  // Clamped as a number, then converted: NaN counts as 0.
  double page = std::floor(Wex::StringToFloat(value, 0.0f));
  if (std::isnan(page)) page = 0.0;
  page = std::fmin(std::fmax(page, 0.0), static_cast<double>(fState.fPages.size() - 1));
  const auto index = static_cast<std::int32_t>(page);
  if (index != fState.fCurrentPage) SetPage(index);
}

void rcBubbleView::ApplyTypingRateVariable() {
  if (fTypingRateVariable.empty() || fRoot == nullptr) return;
  const std::string value = fRoot->GetController().GetVariable(*fRoot, fTypingRateVariable);
  if (value.empty()) return;
  const double rate = Wex::StringToDouble(value, 0.0);
  const std::int32_t delay = std::isnan(rate) ? -1 : RoundToInt32(rate);
  if (delay == fState.fTypingDelayOverride) return;
  fState.fTypingDelayOverride = delay;
  StopTimer(kTypingTimer);
  RevealNext(Wex::CurrentElementTime());
}

void rcBubbleView::WindowStateChanged() {
  const ref<rcBubbleView> self(this);
  ApplyPageVariable();
  ApplyTypingRateVariable();
  rcView::WindowStateChanged();
  if (!fState.fTokens.empty() || fState.fCurrentPage < 0 || GetHost() == nullptr) return;
  Wex::iNativeView* view = GetHostView();
  const ref<Wex::rcExtWindow> window = view != nullptr ? view->GetWindow() : nullptr;
  // Without a window to measure with, the page is laid out when it is next drawn.
  if (const ref<Wex::rcGraphicsContext> context = window ? window->BeginDrawing() : nullptr) LayoutPage(*context);
}

ref<Wex::rcGUIElement> rcBubbleView::FindElementAt(const Wex::cPoint& p) {
  return ContainsPoint(p) ? ref<Wex::rcGUIElement>(this) : nullptr;
}

bool rcBubbleView::ContainsPoint(const Wex::cPoint& p) {
  const Wex::cRect& b = GetBounds();
  return fState.ContainsPoint(p, b.fRight, b.fBottom);
}

ref<Wex::rcGUIElement> MakeBubbleView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  return ref<Wex::rcGUIElement>(new rcBubbleView(bounds, description, root, &root, root.GetHintWindow(), -1));
}

}  // namespace Velto
