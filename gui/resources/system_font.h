#pragma once

// Platform fonts: text measured and drawn by the platform's text drawing, in one colour. Texts
// are drawn as ISO Latin-1 bytes; a character 0 ends them.

#include <cstdint>

#include "base/rc.h"
#include "gui/font.h"
#include "gui/graphics_context.h"
#include "gui/resources/font.h"

namespace Velto {

// The caption views change its font and colour; each change raises the change count. Without a
// platform font (made by the default constructor, before SetPlatformFont) it has no metrics,
// measures an empty rectangle at the point and draws nothing.
class rcSystemFont : public Wex::rc, public iFont {
 public:
  rcSystemFont() = default;
  rcSystemFont(ref<Wex::rcFont> font, const Wex::cRGBColor& color);

  // Height ascent + descent + leading, and the ascent, of Wex::GetFontMetrics; "Cannot find
  // font" (Wex::xExceptionWithRCString) passes out for a face that is not installed.
  void GetMetrics(Wex::rcGraphicsContext& context, std::int32_t& height, std::int32_t& ascent) override;
  // The context's GetTextBounds; throws like GetMetrics.
  Wex::cRect Measure(Wex::rcGraphicsContext& context, const Wex::cPoint& p, const Wex::rcVector<UniChar>& text,
                     bool includeAdvance) override;
  // The context's DrawText in the colour, answering the end point that it reports.
  Wex::cPoint Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                   const Wex::rcVector<UniChar>& text) override;
  std::int32_t GetChangeCount() override { return fChangeCount; }

  // Takes the font unless it is the object already held; answers whether it changed.
  bool SetPlatformFont(ref<Wex::rcFont> font);
  // Takes the colour unless it equals the one held; answers whether it changed.
  bool SetTextParameters(const Wex::cRGBColor& color);

 private:
  void Changed();

  ref<Wex::rcFont> fFont;
  Wex::cRGBColor fColor;
  std::int32_t fChangeCount = 0;
};

}  // namespace Velto
