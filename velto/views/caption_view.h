#pragma once

// The caption: one line of text in a font that the application supplies, aligned left, centred
// or right in the view, shifted by an offset, and, when asked, shortened with an ellipsis at the
// left, the right, both ends or the middle until it fits the view's width. A live caption
// expands its text's macros again on every refresh.

#include <cstdint>
#include <string>

#include "base/key_value.h"
#include "base/rc.h"
#include "base/rc_vector.h"
#include "gui/geometry.h"
#include "gui/resources/font.h"
#include "velto/views/view.h"

namespace Velto {

class rcRootView;

// Alignments and ellipsis sides as ReadTextAlignment and ReadEllipsisSide give them.
inline constexpr std::int32_t kAlignLeft = 0;
inline constexpr std::int32_t kAlignCenter = 1;
inline constexpr std::int32_t kAlignRight = 2;
inline constexpr std::int32_t kEllipsisNone = 0;
inline constexpr std::int32_t kEllipsisLeft = 1;
inline constexpr std::int32_t kEllipsisRight = 2;
inline constexpr std::int32_t kEllipsisBoth = 3;
inline constexpr std::int32_t kEllipsisMiddle = 4;

class rcCaptionView : public rcView {
 public:
  explicit rcCaptionView(const Wex::cRect& r);

  // Each setter does nothing when the value is unchanged. Otherwise the old text rectangle is
  // invalidated, the value stored, the display text recomputed (not for the alignment) and the
  // new text rectangle invalidated; all but SetText then report code 2.
  void SetText(const ref<rcViewText>& text);
  void SetFont(const iref<iFont>& font);
  void SetAlignment(std::int32_t alignment);
  void SetOffset(const Wex::cPoint& offset);
  void SetEllipsis(std::int32_t side, const ref<rcViewText>& ellipsis);

  // The rectangle that the display text covers (local coordinates), measured through a context
  // of the host's window; false without a font, a host window or a context.
  bool GetTextBounds(Wex::cRect& bounds);
  // Recomputes the display text: the text itself, or, with an ellipsis side and in a window, the
  // text shortened one character (or two) per pass until its rectangle lies within the view's
  // width or nothing of the text is left. Past the first 64 passes the first pass that fits is
  // found by halving, so that a long text costs a few measures instead of one per character.
  void UpdateDisplayText();

  // Drops the font, then the base view's Detach.
  void Detach() override;
  // The display text at the aligned origin; nothing without a font.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // A new size is reported (code 1); the display text is recomputed in every case.
  void SetSize(const Wex::cRect& b) override;
  // A font whose change count moved on redraws the whole view; then the element's refresh.
  void WindowStateChanged() override;

  const ref<rcViewText>& GetText() const { return fText; }
  // Null while it is to be recomputed.
  const ref<rcViewText>& GetDisplayText() const { return fDisplayText; }
  const Wex::cPoint& GetOffset() const { return fOffset; }
  std::int32_t GetAlignment() const { return fAlignment; }
  std::int32_t GetEllipsisSide() const { return fEllipsisSide; }
  const ref<rcViewText>& GetEllipsis() const { return fEllipsis; }
  const iref<iFont>& GetFont() const { return fFont; }

 private:
  // (offset.x, height + offset.y): the line hangs on the view's bottom edge.
  Wex::cPoint UnalignedOrigin() const;
  // How far the alignment moves a text that measures tw wide.
  std::int32_t AlignmentShift(std::int32_t tw) const;
  void InvalidateTextBounds();
  // How many passes of the shortening empty W, and the display text after the given pass (from 1).
  std::size_t CountPasses() const;
  ref<rcViewText> ShortenedText(std::size_t pass) const;

  ref<rcViewText> fText;
  ref<rcViewText> fDisplayText;
  Wex::cPoint fOffset;
  std::int32_t fAlignment = kAlignLeft;
  std::int32_t fEllipsisSide = kEllipsisNone;
  ref<rcViewText> fEllipsis;
  iref<iFont> fFont;
  std::int32_t fFontChangeCount = 0;
};

// A caption whose text holds a variable macro: every refresh expands the template against the
// root view's controller and sets the result (read as ISO Latin-1) as the text. Expansion errors
// pass out of the refresh.
class rcLiveCaptionView : public rcCaptionView {
 public:
  // The root is borrowed: it holds the caption's tree.
  rcLiveCaptionView(const Wex::cRect& r, rcRootView& root, std::string textTemplate);
  void WindowStateChanged() override;

 private:
  rcRootView* fRoot;
  std::string fTextTemplate;
};

// The "caption" type: "text" (unquoted; with a variable macro a live caption, refreshed also by
// "autoRefresh", else a caption whose text is expanded once), "offset", "align", "ellipsis" (a
// list of the side, an empty one meaning right, and the ellipsis text, "..." by default) and
// "font" (passed raw to the controller).
ref<Wex::rcGUIElement> MakeCaptionView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
