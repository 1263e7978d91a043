#include "gui/resources/system_font.h"

#include <utility>

#include "base/encoding.h"
#include "gui/resources/canvas.h"

namespace Velto {

rcSystemFont::rcSystemFont(ref<Wex::rcFont> font, const Wex::cRGBColor& color)
    : fFont(std::move(font)), fColor(color) {}

void rcSystemFont::GetMetrics(Wex::rcGraphicsContext&, std::int32_t& height, std::int32_t& ascent) {
  height = ascent = 0;
  if (!fFont) return;
  std::int32_t leading = 0, descent = 0;
  Wex::GetFontMetrics(*fFont, leading, ascent, descent);
  height = SaturateToInt32(std::int64_t{ascent} + descent + leading);
}

Wex::cRect rcSystemFont::Measure(Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                                 const Wex::rcVector<UniChar>& text, bool) {
  if (!fFont) return {p.fX, p.fY, p.fX, p.fY};
  return context.GetTextBounds(p, *fFont, Wex::ToRCString(text)->GetChars());
}

Wex::cPoint rcSystemFont::Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                               const Wex::rcVector<UniChar>& text) {
  if (!fFont) return p;
  return context.DrawText(p, fColor, *fFont, Wex::ToRCString(text)->GetChars());
}

bool rcSystemFont::SetPlatformFont(ref<Wex::rcFont> font) {
  if (font.Get() == fFont.Get()) return false;
  fFont = std::move(font);
  Changed();
  return true;
}

bool rcSystemFont::SetTextParameters(const Wex::cRGBColor& color) {
  if (color == fColor) return false;
  fColor = color;
  Changed();
  return true;
}

// The count wraps around rather than overflow.
void rcSystemFont::Changed() { fChangeCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(fChangeCount) + 1); }

}  // namespace Velto
