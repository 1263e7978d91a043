#pragma once

// The image objects through which every bitmap of the GUI is drawn.

#include <cstdint>

#include "base/rc.h"
#include "gui/drawable.h"
#include "gui/geometry.h"
#include "gui/graphics_context.h"
#include "raster/source.h"

namespace Velto {

// Blend modes.
inline constexpr std::int32_t kBlendNormal = 0;
inline constexpr std::int32_t kBlendAdd = 1;
inline constexpr std::int32_t kBlendMultiply = 2;

// A reference-counted picture that draws itself into the drawing context of a paint pass. As a
// drawable of an element it draws the part under the clip rectangle.
class rcImage : public Wex::rcDrawable {
 public:
  ~rcImage() override = default;

  void DrawRect(Wex::rcGraphicsContext& context, const Wex::cRect& clip, const Wex::cPoint& position) final {
    DrawPart(context, clip, position);
  }

  // The image's rectangle in its own coordinates: where it draws when drawn with its origin at
  // (0, 0).
  virtual Wex::cRect GetBounds() = 0;
  // Draws the whole image with its origin at p, so that its bounds land moved by p: by default the
  // part that is its bounds.
  virtual void Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p) {
    const Wex::cRect bounds = GetBounds();
    DrawPart(context, bounds, p + bounds.TopLeft());
  }
  // Draws the part of the image inside `source` with that rectangle's top-left corner at p.
  void DrawPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p) {
    BlendPart(context, source, p, kBlendNormal, 255);
  }
  // Draws the part as DrawPart does, composited with the blend mode and the opacity as BlendImage
  // composites (normal at 255 is source-over).
  virtual void BlendPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p,
                         std::int32_t blendMode, std::int32_t opacity) = 0;
  // A counter that changes whenever the image's pixels change.
  virtual std::int32_t GetChangeCount() = 0;
};

// An image that owns raster pixels, which its creator fills before handing it out and which never
// change afterwards (its change count stays 1). It draws its paint source-over.
class rcRasterResource : public rcImage {
 public:
  // The paint's rectangle as edges.
  Wex::cRect GetBounds() override;
  void Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p) override;
  void BlendPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p,
                 std::int32_t blendMode, std::int32_t opacity) override;
  std::int32_t GetChangeCount() override { return fChangeCount; }
  // The pixels as a paint that lives as long as the resource; masks give white whose alpha is
  // the coverage. Like every raster source, it must not be rendered from two places at once.
  virtual QorRaster::Paint& GetPaint() = 0;
  // The coverage of a mask resource (the source of glyphs cut from font pages); null for colour.
  virtual QorRaster::Mask* GetMask() { return nullptr; }

 protected:
  rcRasterResource() = default;

 private:
  std::int32_t fChangeCount = 1;
};

}  // namespace Velto
