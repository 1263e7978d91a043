#include "gui/offscreen_container.h"

#include <algorithm>

namespace Wex {

namespace {

// The extent rounded up to a multiple of 32, limited by the maximum when that is at least 1.
std::int32_t TileExtent(std::int32_t extent, std::int32_t maximum) {
  std::int64_t tile = (std::int64_t{extent} + 31) / 32 * 32;
  if (maximum >= 1) tile = std::min<std::int64_t>(tile, maximum);
  return static_cast<std::int32_t>(std::min<std::int64_t>(tile, kInfiniteRectMax));
}

}  // namespace

rcOffscreenGUIContainer::rcOffscreenGUIContainer(const cRect& r, std::int32_t bitsPerPixel)
    : rcGUIContainer(r), fBitsPerPixel(bitsPerPixel), fMaxTileWidth(r.Width()), fMaxTileHeight(r.Height()) {}

void rcOffscreenGUIContainer::Draw(rcGraphicsContext& context, const cRect& update) {
  const cRect clip = context.GetClipBounds();
  if (!Overlaps(update, clip)) return;
  const cRect area = Intersection(update, clip);
  if (area.Width() < 1 || area.Height() < 1) return;

  const std::int32_t tileWidth = TileExtent(area.Width(), fMaxTileWidth);
  const std::int32_t tileHeight = TileExtent(area.Height(), fMaxTileHeight);
  if (fOffscreen && (fOffscreen->GetBounds().Width() < tileWidth || fOffscreen->GetBounds().Height() < tileHeight)) {
    fOffscreen = nullptr;
  }
  if (!fOffscreen) {
    if (fBitsPerPixel == 32) {
      fOffscreen = ref<rcBitmapGraphicsContext>(new rcOffscreenContext32(tileWidth, tileHeight, true));
    } else {
      fOffscreen = ref<rcBitmapGraphicsContext>(new rcOffscreenContext16(tileWidth, tileHeight));
    }
  }

  const ref<rcBitmapGraphicsContext> offscreen = fOffscreen;
  // Each tile's top-left becomes the bitmap's top-left pixel in turn.
  cTranslationScope origin(*offscreen);
  for (std::int64_t top = area.fTop; top < area.fBottom; top += tileHeight) {
    for (std::int64_t left = area.fLeft; left < area.fRight; left += tileWidth) {
      const cRect tile{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                       static_cast<std::int32_t>(std::min<std::int64_t>(left + tileWidth, area.fRight)),
                       static_cast<std::int32_t>(std::min<std::int64_t>(top + tileHeight, area.fBottom))};
      if (!context.IsRectVisible(tile)) continue;
      origin.Set(tile.TopLeft());
      DrawChildren(*offscreen, tile);
      DrawBitmapContext(context, *offscreen, tile, tile.TopLeft());
    }
  }
}

}  // namespace Wex
