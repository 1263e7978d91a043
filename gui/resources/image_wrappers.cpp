#include "gui/resources/image_wrappers.h"

#include <algorithm>
#include <utility>

#include "gui/resources/canvas.h"
#include "raster/clip.h"
#include "raster/combine.h"
#include "raster/filter.h"
#include "raster/solid.h"

namespace Velto {

namespace {

// The common part of two rectangles, {0, 0, 0, 0} when it is empty in either direction (also when
// either rectangle is).
Wex::cRect Cut(const Wex::cRect& a, const Wex::cRect& b) {
  const Wex::cRect common = Wex::Intersection(a, b);
  return common.fLeft < common.fRight && common.fTop < common.fBottom ? common : Wex::cRect();
}

}  // namespace

std::int32_t ReadBlendMode(std::string_view text) {
  if (text == "add") return kBlendAdd;
  if (text == "multiply") return kBlendMultiply;
  return kBlendNormal;
}

void BlendImage(QorRaster::Image& target, QorRaster::Paint& source, std::int32_t blendMode, std::int32_t opacity) {
  const auto alpha = static_cast<QorRaster::Coverage>(opacity & 0xff);
  // Multiplying rewrites the target where the source lies: the product is transparent, or the
  // inverted paints white, everywhere else.
  const auto multiply = [&](QorRaster::Paint& factor) {
    QorRaster::MultiplyPaint product(&target, &factor);
    target.RenderRect(product, source.GetBounds());
  };
  if (alpha == 255) {
    switch (blendMode) {
      case kBlendAdd:
        target.Add(source);
        break;
      case kBlendMultiply:
        multiply(source);
        break;
      default:
        target.Draw(source);
        break;
    }
    return;
  }
  QorRaster::SolidMask scale(alpha);
  if (blendMode == kBlendMultiply) {
    // 1 - alpha × (1 - source): a blend between white and the source.
    QorRaster::InvertedPaint inverted(&source);
    QorRaster::MaskedPaint scaled(&inverted, &scale);
    QorRaster::InvertedPaint factor(&scaled);
    multiply(factor);
    return;
  }
  QorRaster::MaskedPaint scaled(&source, &scale);
  if (blendMode == kBlendAdd) {
    target.Add(scaled);
  } else {
    target.Draw(scaled);
  }
}

rcBlendedImage::rcBlendedImage(ref<rcImage> source, std::int32_t blendMode, std::int32_t opacity)
    : fSource(std::move(source)), fBlendMode(blendMode), fOpacity(opacity) {}

Wex::cRect rcBlendedImage::GetBounds() { return fSource->GetBounds(); }

void rcBlendedImage::BlendPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p,
                               std::int32_t blendMode, std::int32_t opacity) {
  const std::int32_t alpha = ((opacity & 0xff) * (fOpacity & 0xff) + 127) / 255;
  fSource->BlendPart(context, source, p, blendMode != kBlendNormal ? blendMode : fBlendMode, alpha);
}

std::int32_t rcBlendedImage::GetChangeCount() { return fSource->GetChangeCount(); }

rcSubImage::rcSubImage(ref<rcImage> source, const Wex::cRect& clip, const Wex::cPoint& offset)
    : fSource(std::move(source)), fOffset(offset) {
  fClip = Cut(clip, fSource->GetBounds());
}

Wex::cRect rcSubImage::GetBounds() {
  return {fOffset.fX, fOffset.fY, SaturateToInt32(std::int64_t{fOffset.fX} + fClip.Width()),
          SaturateToInt32(std::int64_t{fOffset.fY} + fClip.Height())};
}

void rcSubImage::BlendPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p,
                           std::int32_t blendMode, std::int32_t opacity) {
  const Wex::cRect part = Cut(source, GetBounds());
  if (part == Wex::cRect()) return;
  // A part cut on its left or top keeps its place: its corner lands where it lies below the
  // source rectangle's corner.
  const Wex::cPoint at = p + (part.TopLeft() - source.TopLeft());
  fSource->BlendPart(context, part.Moved(fClip.TopLeft() - fOffset), at, blendMode, opacity);
}

std::int32_t rcSubImage::GetChangeCount() { return fSource->GetChangeCount(); }

rcCrossfadeFrame::rcCrossfadeFrame(ref<rcRasterResource> source, std::int32_t frameHeight, std::int32_t top,
                                   std::int32_t weight)
    : fSource(std::move(source)), fFrameHeight(frameHeight), fTop(top), fWeight(weight) {}

Wex::cRect rcCrossfadeFrame::GetBounds() {
  const QorRaster::IntRect b = fSource->GetPaint().GetBounds();
  return {b.x, b.y, b.GetRight(), SaturateToInt32(std::int64_t{b.y} + fFrameHeight)};
}

void rcCrossfadeFrame::BlendPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p,
                                 std::int32_t blendMode, std::int32_t opacity) {
  QorRaster::Paint& paint = fSource->GetPaint();
  const QorRaster::IntRect b = paint.GetBounds();
  const Wex::cRect clip = Cut(source, GetBounds());
  if (b.height <= 0 || clip == Wex::cRect()) return;

  cContextCanvas canvas(context);
  QorRaster::OffsetPaint current(&paint, 0, Wex::WrapSub(0, fTop));
  // The band below; after the last band of the source comes the first again.
  const auto next = static_cast<std::int32_t>((std::int64_t{fTop} + fFrameHeight) % b.height);
  QorRaster::OffsetPaint following(&paint, 0, -next);
  const auto weight = static_cast<QorRaster::Coverage>(fWeight & 0xff);
  QorRaster::SolidMask keep(static_cast<QorRaster::Coverage>(255 - weight));
  QorRaster::SolidMask fade(weight);
  QorRaster::MaskedPaint kept(&current, &keep);
  QorRaster::MaskedPaint faded(&following, &fade);
  QorRaster::AddPaint mix(&kept, &faded);
  QorRaster::ClippedPaint part(&mix, EdgesToRect(clip));
  const Wex::cPoint shift = p - source.TopLeft();
  QorRaster::OffsetPaint placed(&part, shift.fX, shift.fY);
  BlendImage(canvas, placed, blendMode, opacity);
}

std::int32_t rcCrossfadeFrame::GetChangeCount() { return fSource->GetChangeCount(); }

}  // namespace Velto
