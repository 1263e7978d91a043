#pragma once

// Images that draw a source image in a particular way: blended with a mode and an opacity, cut to
// a clip rectangle and shifted, or as one position of a film strip that cross-fades into its next
// frame. Each keeps its source alive.

#include <cstdint>
#include <string_view>

#include "gui/resources/image.h"
#include "raster/image.h"

namespace Velto {

// "add" gives kBlendAdd, "multiply" kBlendMultiply, any other text kBlendNormal (exact and
// case-sensitive).
std::int32_t ReadBlendMode(std::string_view text);

// Composites the source into the target with the mode (any code other than add and multiply
// composites source-over) and the opacity (its low byte: 0 transparent to 255 opaque). Only
// pixels within the source's bounds change. Multiply scales the target by the source, or with a
// lower opacity by a blend between white and the source.
void BlendImage(QorRaster::Image& target, QorRaster::Paint& source, std::int32_t blendMode, std::int32_t opacity);

// The source, of any kind, drawn in its place with the blend mode and the opacity. Blended again, a
// mode other than normal replaces its own and the opacities multiply.
class rcBlendedImage : public rcImage {
 public:
  rcBlendedImage(ref<rcImage> source, std::int32_t blendMode, std::int32_t opacity);
  // The source's.
  Wex::cRect GetBounds() override;
  void BlendPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p,
                 std::int32_t blendMode, std::int32_t opacity) override;
  std::int32_t GetChangeCount() override;

 private:
  ref<rcImage> fSource;
  std::int32_t fBlendMode;
  std::int32_t fOpacity;
};

// The part of the source inside the clip (cut to the source's bounds at construction, {0, 0, 0,
// 0} when they do not overlap), with its top-left corner at the offset. It draws as its source
// draws.
class rcSubImage : public rcImage {
 public:
  rcSubImage(ref<rcImage> source, const Wex::cRect& clip, const Wex::cPoint& offset);
  // The clip's extent with its top-left corner at the offset (cut at the largest coordinate).
  Wex::cRect GetBounds() override;
  void BlendPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p,
                 std::int32_t blendMode, std::int32_t opacity) override;
  std::int32_t GetChangeCount() override;

 private:
  ref<rcImage> fSource;
  Wex::cRect fClip;
  Wex::cPoint fOffset;
};

// One position of a cross-fading film: the band of the source of frame height rows from top (rows
// counted from the top of the source's bounds), mixed with the band below it (after the last band
// comes the first) at weight / 255, in the place of the source's first band. A source without rows
// draws nothing.
class rcCrossfadeFrame : public rcImage {
 public:
  rcCrossfadeFrame(ref<rcRasterResource> source, std::int32_t frameHeight, std::int32_t top, std::int32_t weight);
  // The source's first band: its bounds cut to the frame height.
  Wex::cRect GetBounds() override;
  void BlendPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p,
                 std::int32_t blendMode, std::int32_t opacity) override;
  std::int32_t GetChangeCount() override;

 private:
  ref<rcRasterResource> fSource;
  std::int32_t fFrameHeight;
  std::int32_t fTop;
  std::int32_t fWeight;
};

}  // namespace Velto
