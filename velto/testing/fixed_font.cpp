#include "velto/testing/fixed_font.h"

#include "gui/resources/canvas.h"
#include "raster/solid.h"

namespace VeltoTest {

rcFixedFont::rcFixedFont(std::int32_t advance, std::int32_t height, std::int32_t ascent, std::uint32_t color)
    : fAdvance(advance), fHeight(height), fAscent(ascent), fColor(color) {}

std::int32_t rcFixedFont::Span(std::int64_t count) const {
  return static_cast<std::int32_t>(static_cast<std::uint64_t>(count) * static_cast<std::uint32_t>(fAdvance));
}

void rcFixedFont::GetMetrics(Wex::rcGraphicsContext&, std::int32_t& height, std::int32_t& ascent) {
  height = fHeight;
  ascent = fAscent;
}

Wex::cRect rcFixedFont::Measure(Wex::rcGraphicsContext&, const Wex::cPoint& p, const Wex::rcVector<UniChar>& text,
                                bool) {
  const std::int32_t top = Wex::WrapSub(p.fY, fAscent);
  return {p.fX, top, Wex::WrapAdd(p.fX, Span(text.GetSize())), Wex::WrapAdd(top, fHeight)};
}

Wex::cPoint rcFixedFont::Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                              const Wex::rcVector<UniChar>& text) {
  std::string bytes;
  for (const UniChar c : text) bytes += static_cast<char>(c);
  fDrawn.push_back(bytes + "@" + std::to_string(p.fX) + "," + std::to_string(p.fY));
  if (fColor != 0) {
    Velto::cContextCanvas canvas(context);
    for (std::int64_t i = 0; i < text.GetSize(); ++i) {
      if (text[i] == u' ') continue;
      const QorRaster::IntRect cell(Wex::WrapAdd(p.fX, Span(i)), Wex::WrapSub(p.fY, fAscent), fAdvance - 1, fAscent);
      QorRaster::SolidRectPaint paint(fColor, cell);
      canvas.Draw(paint);
    }
  }
  return {Wex::WrapAdd(p.fX, Span(text.GetSize())), p.fY};
}

}  // namespace VeltoTest
