#include "velto/views/caption_view.h"

#include <string>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "base/text.h"
#include "gui/ext_window.h"
#include "gui/resources/attributes.h"
#include "gui/resources/canvas.h"
#include "gui/resources/layout.h"
#include "velto/root_view.h"
#include "velto/text_macros.h"

namespace Velto {

namespace {

// The shortening measures pass by pass this far; beyond it, it halves the passes left.
constexpr std::size_t kPassesOneByOne = 64;

ref<rcViewText> MakeText(std::u16string_view units) {
  return ref<rcViewText>(new rcViewText(units.data(), static_cast<std::int64_t>(units.size())));
}

std::u16string_view Units(const ref<rcViewText>& text) {
  if (!text) return {};
  return {text->begin(), static_cast<std::size_t>(text->GetSize())};
}

}  // namespace

rcCaptionView::rcCaptionView(const Wex::cRect& r)
    : rcView(r), fText(new rcViewText()), fDisplayText(fText), fEllipsis(MakeText(u"...")) {}

Wex::cPoint rcCaptionView::UnalignedOrigin() const {
  return {fOffset.fX, Wex::WrapAdd(GetBounds().fBottom, fOffset.fY)};
}

std::int32_t rcCaptionView::AlignmentShift(std::int32_t tw) const {
  const std::int64_t free = std::int64_t{GetBounds().fRight} - tw;
  switch (fAlignment) {
    case kAlignCenter:
      return SaturateToInt32(free / 2);
    case kAlignRight:
      return SaturateToInt32(free);
    default:
      return 0;
  }
}

bool rcCaptionView::GetTextBounds(Wex::cRect& bounds) {
  if (!fFont) return false;
  const ref<Wex::rcExtWindow> window = GetHostWindow();
  const ref<Wex::rcGraphicsContext> context = window ? window->BeginDrawing() : nullptr;
  if (!context) return false;
  if (!fDisplayText) UpdateDisplayText();
  const Wex::cRect r = fFont->Measure(*context, UnalignedOrigin(), *fDisplayText, false);
  const std::int32_t shift = fAlignment == kAlignLeft ? 0 : AlignmentShift(r.Width());
  bounds = r.Moved({shift, 0});
  return true;
}

void rcCaptionView::InvalidateTextBounds() {
  if (Wex::cRect r; GetTextBounds(r)) InvalidateRect(r);
}

std::size_t rcCaptionView::CountPasses() const {
  const std::size_t length = Units(fText).size();
  switch (fEllipsisSide) {
    case kEllipsisBoth:
      return (length + 1) / 2;
    case kEllipsisMiddle:
      return length == 0 ? 0 : (length - 1) / 2 + 1;
    default:
      return length;
  }
}

// Every pass cuts W where the one before it did: the right side loses its last unit, the left side
// its first, both sides one unit at each end; the middle loses its middle unit or two at the first
// pass and then one unit at each side of the cut. So W after `pass` passes is a part of the text
// that follows from the count alone.
ref<rcViewText> rcCaptionView::ShortenedText(std::size_t pass) const {
  const std::u16string_view text = Units(fText);
  const std::u16string e(Units(fEllipsis));
  const std::size_t length = text.size();
  switch (fEllipsisSide) {
    case kEllipsisRight:
      return MakeText(std::u16string(text.substr(0, length - pass)) + e);
    case kEllipsisLeft:
      return MakeText(e + std::u16string(text.substr(pass)));
    case kEllipsisBoth:
      return MakeText(2 * pass < length ? e + std::u16string(text.substr(pass, length - 2 * pass)) + e : e);
    default: {  // middle: m units kept at each end
      const std::size_t m = (length - 1) / 2 + 1 - pass;
      return MakeText(m > 0 ? std::u16string(text.substr(0, m)) + e + std::u16string(text.substr(length - m)) : e);
    }
  }
}

void rcCaptionView::UpdateDisplayText() {
  fDisplayText = fText;
  if (fEllipsisSide == kEllipsisNone) return;
  Wex::cRect r;
  if (!GetTextBounds(r)) return;
  const auto fits = [this](const Wex::cRect& r) { return r.fLeft >= 0 && r.fRight <= GetBounds().fRight; };
  // The shortening ends at the first pass whose text fits, or at the pass that empties W.
  const std::size_t last = CountPasses();
  std::size_t pass = 0;
  while (!fits(r) && pass < last && pass < kPassesOneByOne) {
    fDisplayText = ShortenedText(++pass);
    if (!GetTextBounds(r)) return;
  }
  if (fits(r) || pass == last) return;
  // A long text would take a pass and a measure for each of its units: texts narrow as they lose
  // units, so halving the passes between one that does not fit and the last finds the first that fits.
  std::size_t high = last;
  while (high - pass > 1) {
    const std::size_t middle = pass + (high - pass) / 2;
    fDisplayText = ShortenedText(middle);
    if (!GetTextBounds(r)) return;
    (fits(r) ? high : pass) = middle;
  }
  fDisplayText = ShortenedText(high);
}

void rcCaptionView::SetText(const ref<rcViewText>& text) {
  const ref<rcViewText> t = text ? text : ref<rcViewText>(new rcViewText());
  if (SameText(t, fText)) return;
  InvalidateTextBounds();
  fText = t;
  UpdateDisplayText();
  InvalidateTextBounds();
}

void rcCaptionView::SetFont(const iref<iFont>& font) {
  if (font.Get() == fFont.Get()) return;
  InvalidateTextBounds();
  fFont = font;
  fFontChangeCount = fFont ? fFont->GetChangeCount() : 0;
  UpdateDisplayText();
  InvalidateTextBounds();
  NotifyListeners(2);
}

void rcCaptionView::SetAlignment(std::int32_t alignment) {
  if (alignment == fAlignment) return;
  InvalidateTextBounds();
  fAlignment = alignment;
  InvalidateTextBounds();
  NotifyListeners(2);
}

void rcCaptionView::SetOffset(const Wex::cPoint& offset) {
  if (offset == fOffset) return;
  InvalidateTextBounds();
  fOffset = offset;
  UpdateDisplayText();
  InvalidateTextBounds();
  NotifyListeners(2);
}

void rcCaptionView::SetEllipsis(std::int32_t side, const ref<rcViewText>& ellipsis) {
  if (side == fEllipsisSide && SameText(ellipsis, fEllipsis)) return;
  InvalidateTextBounds();
  fEllipsisSide = side;
  fEllipsis = ellipsis ? ellipsis : ref<rcViewText>(new rcViewText());
  UpdateDisplayText();
  InvalidateTextBounds();
  NotifyListeners(2);
}

void rcCaptionView::Detach() {
  fFont = nullptr;
  rcView::Detach();
}

void rcCaptionView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect&) {
  if (!fFont) return;
  if (!fDisplayText) UpdateDisplayText();
  Wex::cPoint origin = UnalignedOrigin();
  if (fAlignment == kAlignCenter || fAlignment == kAlignRight) {
    origin.fX = Wex::WrapAdd(origin.fX, AlignmentShift(fFont->Measure(context, origin, *fDisplayText, false).Width()));
  }
  fFont->Draw(context, origin, *fDisplayText);
}

void rcCaptionView::SetSize(const Wex::cRect& b) {
  rcView::SetSize(b);
  UpdateDisplayText();
}

void rcCaptionView::WindowStateChanged() {
  if (fFont) {
    if (const std::int32_t count = fFont->GetChangeCount(); count != fFontChangeCount) {
      fFontChangeCount = count;
      InvalidateAll();
    }
  }
  rcView::WindowStateChanged();
}

rcLiveCaptionView::rcLiveCaptionView(const Wex::cRect& r, rcRootView& root, std::string textTemplate)
    : rcCaptionView(r), fRoot(&root), fTextTemplate(std::move(textTemplate)) {}

void rcLiveCaptionView::WindowStateChanged() {
  SetText(Wex::WideToUTF16(Wex::Latin1ToWide(ExpandTextMacros(*fRoot, fTextTemplate))));
  rcCaptionView::WindowStateChanged();
}

ref<Wex::rcGUIElement> MakeCaptionView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  const std::string text = Wex::Unquote(Wex::ValueOf(description, "text"));
  ref<rcCaptionView> view;
  if (HasVariableMacro(text)) {
    view = new rcLiveCaptionView(bounds, root, text);
    root.ReadAutoRefresh(view, description);
  } else {
    view = new rcCaptionView(bounds);
    view->SetText(Wex::WideToUTF16(Wex::Latin1ToWide(ExpandTextMacros(root, text))));
  }
  root.FinishOrForget(view, [&] {
    const Wex::cPoint offset = ReadIntPoint(Wex::ValueOf(description, "offset"), {0, 0});
    const std::int32_t alignment = ReadTextAlignment(Wex::ValueOf(description, "align"), kAlignLeft);
    const std::vector<std::string> ellipsis = Wex::ParseList(Wex::ValueOf(description, "ellipsis"));
    const iref<iFont> font = root.GetController().GetFont(root, std::string(Wex::ValueOf(description, "font")));
    view->SetFont(font);
    view->SetAlignment(alignment);
    view->SetOffset(offset);
    if (!ellipsis.empty()) {
      const std::int32_t side = ReadEllipsisSide(ellipsis[0], kEllipsisRight);
      view->SetEllipsis(side, ellipsis.size() > 1 ? Wex::WideToUTF16(Wex::UnquoteWide(ellipsis[1])) : MakeText(u"..."));
    }
  });
  return view;
}

}  // namespace Velto
