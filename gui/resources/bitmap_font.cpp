#include "gui/resources/bitmap_font.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "gui/resources/canvas.h"
#include "raster/clip.h"
#include "raster/combine.h"
#include "raster/solid.h"

namespace Velto {

namespace {

// Pens stay within ±2^60: one step (kerning, advance and spacing) moves less than 2^34, so no
// sum or difference of positions can overflow 64 bits.
constexpr std::int64_t kPenLimit = std::int64_t{1} << 60;

std::int64_t RoundToPixel(double v) { return QorRaster::TruncateSaturated<std::int32_t>(std::round(v)); }

// Walks the glyphs of the text from the pen position: looks each unit up (or its replacement),
// kerns it against the previous character and calls visit(glyph, pen, next) with the pen where
// the glyph is placed and the pen after its advance. Answers the final pen.
template <class Visit>
std::int64_t WalkGlyphs(const QorAngelCode::Font& font, std::int32_t replacement, const Wex::rcVector<UniChar>& text,
                        std::int64_t pen, Visit&& visit) {
  std::int32_t previous = 0;
  for (const UniChar unit : text) {
    std::int32_t c = unit;
    auto found = font.chars.find(c);
    if (found == font.chars.end()) {
      if (replacement == 0) continue;
      found = font.chars.find(replacement);
      if (found == font.chars.end()) continue;
      c = replacement;
    }
    if (previous != 0) {
      const auto kerning = font.kernings.find({previous, c});
      if (kerning != font.kernings.end()) pen += kerning->second;
    }
    const QorAngelCode::Char& glyph = found->second;
    const std::int64_t next =
        std::clamp(pen + glyph.xadvance + std::int64_t{font.spacing[0]}, -kPenLimit, kPenLimit);
    visit(glyph, pen, next);
    pen = next;
    previous = c;
  }
  return pen;
}

// The common part of three spans [start, start + length).
std::pair<std::int64_t, std::int64_t> Overlap(std::int64_t a, std::int64_t aLength, std::int64_t b,
                                              std::int64_t bLength, std::int64_t c, std::int64_t cLength) {
  return {std::max({a, b, c}), std::min({a + aLength, b + bLength, c + cLength})};
}

}  // namespace

rcAngelCodeFont::rcAngelCodeFont(const char* begin, const char* end) : fFont(QorAngelCode::ReadFont(begin, end)) {}

void rcAngelCodeFont::SetPage(std::int32_t id, ref<rcRasterResource> page) {
  if (id < 0 || id > QorAngelCode::kMaxPageId) return;
  if (fPages.size() <= static_cast<std::size_t>(id)) fPages.resize(static_cast<std::size_t>(id) + 1);
  fPages[static_cast<std::size_t>(id)] = std::move(page);
}

QorRaster::Mask* rcAngelCodeFont::GetPageMask(std::int32_t id) const {
  if (id < 0 || static_cast<std::size_t>(id) >= fPages.size() || !fPages[static_cast<std::size_t>(id)]) return nullptr;
  return fPages[static_cast<std::size_t>(id)]->GetMask();
}

QorRaster::IntRect BitmapFontLayout(const rcAngelCodeFont& data, std::int32_t replacement, double x, double y,
                                    const Wex::rcVector<UniChar>& text, bool includeAdvance) {
  const QorAngelCode::Font& font = data.GetFont();
  const std::int64_t start = RoundToPixel(x);
  std::int64_t left = start;
  std::int64_t width = 0;
  WalkGlyphs(font, replacement, text, start,
             [&](const QorAngelCode::Char& glyph, std::int64_t pen, std::int64_t next) {
               const std::int64_t gx = pen + glyph.xoffset;
               left = std::min(left, gx);
               width = std::max(width, gx + glyph.width - left);
               if (includeAdvance) width = std::max(width, next - left);
             });
  return {SaturateToInt32(left), SaturateToInt32(RoundToPixel(y) - font.base), SaturateToInt32(width),
          SaturateToInt32(std::int64_t{font.lineHeight} + 1)};
}

QorRaster::Point BitmapFontDraw(QorRaster::Image& canvas, const rcAngelCodeFont& data, std::int32_t replacement,
                                std::uint32_t color, double x, double y, const Wex::rcVector<UniChar>& text) {
  const QorAngelCode::Font& font = data.GetFont();
  const std::int64_t baseline = RoundToPixel(y);
  const QorRaster::IntRect area = canvas.GetBounds();
  QorRaster::SolidPaint ink(color);
  const auto draw = [&](const QorAngelCode::Char& glyph, std::int64_t pen, std::int64_t) {
    QorRaster::Mask* const page = data.GetPageMask(glyph.page);
    if (page == nullptr) return;
    // The glyph's rectangle on the page moves by (dx, dy). Only the part that lies on the page and
    // lands on the canvas is cut out, so every coordinate handed on fits 32 bits.
    const std::int64_t dx = pen + glyph.xoffset - glyph.x;
    const std::int64_t dy = baseline - font.base + glyph.yoffset - glyph.y;
    const QorRaster::IntRect sheet = page->GetBounds();
    const auto [left, right] = Overlap(glyph.x, glyph.width, sheet.x, sheet.width, area.x - dx, area.width);
    const auto [top, bottom] = Overlap(glyph.y, glyph.height, sheet.y, sheet.height, area.y - dy, area.height);
    if (right <= left || bottom <= top || dx != SaturateToInt32(dx) || dy != SaturateToInt32(dy)) return;
    QorRaster::ClippedMask cut(page, QorRaster::IntRect(static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                                                        static_cast<std::int32_t>(right - left),
                                                        static_cast<std::int32_t>(bottom - top)));
    QorRaster::OffsetMask placed(&cut, static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy));
    QorRaster::MaskedPaint filled(&ink, &placed);
    canvas.Draw(filled);
  };
  const std::int64_t end = WalkGlyphs(font, replacement, text, RoundToPixel(x), draw);
  return {static_cast<double>(end), y};
}

rcBitmapFont::rcBitmapFont(ref<rcAngelCodeFont> data, std::int32_t replacement, std::uint32_t color)
    : fData(std::move(data)), fReplacement(replacement), fColor(color) {}

void rcBitmapFont::GetMetrics(Wex::rcGraphicsContext&, std::int32_t& height, std::int32_t& ascent) {
  height = SaturateToInt32(std::int64_t{fData->GetFont().lineHeight} + 1);
  ascent = fData->GetFont().base;
}

Wex::cRect rcBitmapFont::Measure(Wex::rcGraphicsContext&, const Wex::cPoint& p, const Wex::rcVector<UniChar>& text,
                                 bool includeAdvance) {
  const QorRaster::IntRect r = BitmapFontLayout(*fData, fReplacement, p.fX, p.fY, text, includeAdvance);
  return {r.x, r.y, SaturateToInt32(std::int64_t{r.x} + r.width), SaturateToInt32(std::int64_t{r.y} + r.height)};
}

Wex::cPoint rcBitmapFont::Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                               const Wex::rcVector<UniChar>& text) {
  cContextCanvas canvas(context);
  const QorRaster::Point end = BitmapFontDraw(canvas, *fData, fReplacement, fColor, p.fX, p.fY, text);
  return {SaturateToInt32(RoundToPixel(end.x)), p.fY};
}

}  // namespace Velto
