#pragma once

// A container that draws its children through a reusable off-screen bitmap, tile by tile, and
// copies each tile to the target.

#include <cstdint>

#include "gui/bitmap_context.h"
#include "gui/container.h"

namespace Wex {

class rcOffscreenGUIContainer : public rcGUIContainer {
 public:
  // Tiles are at most as large as r; an empty r means no limit. 32 bits per pixel give a 32-bit
  // opaque bitmap, any other value a 16-bit one.
  explicit rcOffscreenGUIContainer(const cRect& r, std::int32_t bitsPerPixel = 32);

  // Draws the part of the update rectangle inside the target's clip, in tiles whose sizes are
  // multiples of 32 pixels. The bitmap is not cleared between tiles.
  void Draw(rcGraphicsContext& context, const cRect& update) override;

  // The off-screen bitmap, kept from one draw to the next; empty before the first draw.
  const ref<rcBitmapGraphicsContext>& GetOffscreen() const { return fOffscreen; }

 private:
  std::int32_t fBitsPerPixel;
  std::int32_t fMaxTileWidth;
  std::int32_t fMaxTileHeight;
  ref<rcBitmapGraphicsContext> fOffscreen;
};

}  // namespace Wex
