#include "gui/resources/film_font.h"

#include <algorithm>
#include <utility>

#include "base/encoding.h"
#include "gui/resources/canvas.h"

namespace Velto {

namespace {

// Pens stay within ±2^60, so that adding a 32-bit advance or coordinate never overflows.
constexpr std::int64_t kPenLimit = std::int64_t{1} << 60;

std::uint8_t Byte(std::int8_t c) { return static_cast<std::uint8_t>(c); }

}  // namespace

rcFilmFont::rcFilmFont(iref<iFilm> film, std::int32_t ascent, std::int32_t advance, std::int8_t first,
                       std::int8_t replacement)
    : fFilm(std::move(film)), fAscent(ascent), fAdvance(advance), fFirst(first), fReplacement(replacement) {}

rcFilmFont::rcFilmFont(iref<iFilm> film, std::int32_t ascent, std::int32_t advance, refString charset,
                       std::int8_t replacement)
    : fFilm(std::move(film)),
      fAscent(ascent),
      fAdvance(advance),
      fCharset(charset ? std::move(charset) : Wex::rcString::GetEmpty()),
      fReplacement(replacement) {}

std::optional<std::int32_t> rcFilmFont::FindFrame(std::uint8_t byte) const {
  if (fCharset) {
    std::int64_t index = 0;
    if (!fCharset->FindChar(0, static_cast<char>(byte), index)) return std::nullopt;
    return SaturateToInt32(index);
  }
  const std::int32_t first = Byte(fFirst);
  if (byte < first || byte >= std::int64_t{first} + fFilm->GetFrameRange()) return std::nullopt;
  return byte - first;
}

std::optional<std::int32_t> rcFilmFont::ReplacementFrame() const {
  if (fReplacement == 0) return std::nullopt;
  if (!fCharset) return Byte(fReplacement) - Byte(fFirst);
  return FindFrame(Byte(fReplacement)).value_or(0);
}

template <class Visit>
std::int64_t rcFilmFont::ForEachByte(const Wex::rcVector<UniChar>& text, Visit&& visit) const {
  const refString bytes = Wex::ToRCString(text);
  const std::optional<std::int32_t> replacement = ReplacementFrame();
  std::int64_t pen = 0;
  for (const char byte : bytes->GetText()) {
    const std::optional<std::int32_t> frame = FindFrame(static_cast<std::uint8_t>(byte));
    visit(frame ? frame : replacement, pen);
    pen = std::clamp(pen + fAdvance, -kPenLimit, kPenLimit);
  }
  return pen;
}

void rcFilmFont::GetMetrics(Wex::rcGraphicsContext&, std::int32_t& height, std::int32_t& ascent) {
  const Wex::cRect frame = fFilm->GetFrame(0)->GetBounds();
  height = SaturateToInt32(std::int64_t{frame.fBottom} - frame.fTop);
  ascent = fAscent;
}

Wex::cRect rcFilmFont::Measure(Wex::rcGraphicsContext&, const Wex::cPoint& p, const Wex::rcVector<UniChar>& text,
                               bool) {
  std::int64_t width = 0;
  std::int64_t height = 0;
  ForEachByte(text, [&](std::optional<std::int32_t> frame, std::int64_t pen) {
    if (!frame) {
      width = std::max(width, pen);
      return;
    }
    const Wex::cRect r = fFilm->GetFrame(*frame)->GetBounds();
    width = std::max(width, pen + r.fRight);
    height = std::max<std::int64_t>(height, r.fBottom);
  });
  const std::int64_t top = std::int64_t{p.fY} - fAscent;
  return {p.fX, SaturateToInt32(top), SaturateToInt32(p.fX + width), SaturateToInt32(top + height)};
}

Wex::cPoint rcFilmFont::Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                             const Wex::rcVector<UniChar>& text) {
  const std::int32_t top = SaturateToInt32(std::int64_t{p.fY} - fAscent);
  const std::int64_t end = ForEachByte(text, [&](std::optional<std::int32_t> frame, std::int64_t pen) {
    if (frame) fFilm->GetFrame(*frame)->Draw(context, {SaturateToInt32(p.fX + pen), top});
  });
  return {SaturateToInt32(p.fX + end), top};
}

}  // namespace Velto
