#pragma once

// Bitmap fonts: glyphs cut from the coverage of AngelCode page masks and filled with one colour.
// Layout and drawing share one walk over the text: each UTF-16 unit is looked up (or replaced),
// kerned against the previous character and advanced by its xadvance plus the font's horizontal
// spacing. Positions are reckoned in 64 bits and clamped to 32 bits where a point or rectangle
// is formed, so that no font file can make them overflow.

#include <cstdint>
#include <vector>

#include "base/rc.h"
#include "base/rc_vector.h"
#include "gui/resources/angelcode.h"
#include "gui/resources/font.h"
#include "gui/resources/image.h"
#include "raster/geometry.h"
#include "raster/image.h"

namespace Velto {

// The parsed data of one AngelCode font with its page images by page id, shared by every bitmap
// font made from the same resource and gamma.
class rcAngelCodeFont : public Wex::rc {
 public:
  // Parses the font text; QorAngelCode::Exception passes out. The page vector starts empty.
  rcAngelCodeFont(const char* begin, const char* end);

  const QorAngelCode::Font& GetFont() const { return fFont; }
  // Stores the page at its id (0 to QorAngelCode::kMaxPageId), growing the vector with empty
  // entries; other ids are ignored.
  void SetPage(std::int32_t id, ref<rcRasterResource> page);
  // The coverage of a page; null for an id without a page or a page that is no mask, whose
  // glyphs cannot be drawn.
  QorRaster::Mask* GetPageMask(std::int32_t id) const;

 private:
  QorAngelCode::Font fFont;
  std::vector<ref<rcRasterResource>> fPages;
};

// The rectangle {x, y, width, height} that the text covers at the baseline point (x, y):
// from the leftmost glyph pixel, at least as wide as the glyphs reach (and, with
// `includeAdvance`, as the pen after each advance), from base above the baseline, lineHeight + 1
// high. A character the font lacks is drawn as `replacement` (0 for none); one that neither
// the font nor the replacement gives takes no space and leaves the previous character as it was.
QorRaster::IntRect BitmapFontLayout(const rcAngelCodeFont& data, std::int32_t replacement, double x, double y,
                                    const Wex::rcVector<UniChar>& text, bool includeAdvance);
// Draws the glyphs of the text at the baseline point (x, y) over the canvas in the colour
// (premultiplied ARGB), straight from the page masks, and answers the pen position after the
// last advance on that baseline. Glyphs whose page has no coverage are not drawn but advance.
QorRaster::Point BitmapFontDraw(QorRaster::Image& canvas, const rcAngelCodeFont& data, std::int32_t replacement,
                                std::uint32_t color, double x, double y, const Wex::rcVector<UniChar>& text);

// A bitmap font in one colour; it never changes, so its change count stays 0.
class rcBitmapFont : public Wex::rc, public iFont {
 public:
  rcBitmapFont(ref<rcAngelCodeFont> data, std::int32_t replacement, std::uint32_t color);

  // Height lineHeight + 1 and ascent base; the context is not consulted.
  void GetMetrics(Wex::rcGraphicsContext& context, std::int32_t& height, std::int32_t& ascent) override;
  Wex::cRect Measure(Wex::rcGraphicsContext& context, const Wex::cPoint& p, const Wex::rcVector<UniChar>& text,
                     bool includeAdvance) override;
  Wex::cPoint Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                   const Wex::rcVector<UniChar>& text) override;
  std::int32_t GetChangeCount() override { return 0; }

 private:
  ref<rcAngelCodeFont> fData;
  std::int32_t fReplacement;
  std::uint32_t fColor;
};

}  // namespace Velto
