#include "gui/resources/image_resources.h"

#include <algorithm>
#include <cmath>

#include "gui/resources/image_wrappers.h"
#include "gui/resources/raster_resources.h"
#include "raster/combine.h"
#include "raster/filter.h"
#include "raster/solid.h"

namespace Velto {

namespace {

// Scales every value of the image by alpha / 255, or, fading towards white, turns each value v
// into 255 − (255 − v) × alpha / 255, so that the image multiplies as nothing where alpha is 0.
template <typename Value>
void BakeOpacity(QorRaster::BasicImage<Value>& image, QorRaster::Coverage alpha, bool towardsWhite) {
  using Inverted =
      std::conditional_t<std::is_same_v<Value, QorRaster::Pixel>, QorRaster::InvertedPaint, QorRaster::InvertedMask>;
  using Scaled =
      std::conditional_t<std::is_same_v<Value, QorRaster::Pixel>, QorRaster::MaskedPaint, QorRaster::MaskedMask>;
  QorRaster::SolidMask scale(alpha);
  if (towardsWhite) {
    Inverted inverted(&image);
    Scaled scaled(&inverted, &scale);
    Inverted faded(&scaled);
    image.Render(faded);
  } else {
    Scaled scaled(&image, &scale);
    image.Render(scaled);
  }
}

ref<rcRasterResource> DecodeColor(QorPNG::Reader& reader, bool rle, bool towardsWhite, QorRaster::Coverage alpha) {
  const std::int32_t channels = reader.GetChannelCount();
  // Pixels scaled by an opacity are no longer opaque.
  const bool opaque = (channels == 1 || channels == 3) && alpha == 255;
  ref<rcImageResource> resource(new rcImageResource(reader.GetWidth(), reader.GetHeight(), opaque));
  QorRaster::Image& image = resource->GetRasterImage();
  if (image.GetBounds().IsEmpty()) return resource;
  reader.ReadARGB(image.At(0, 0), true);
  if (alpha != 255) BakeOpacity(image, alpha, towardsWhite);
  if (!rle) return resource;
  return ref<rcRasterResource>(new rcRLEImageResource(image.GetBounds(), image));
}

ref<rcRasterResource> DecodeMask(QorPNG::Reader& reader, bool rle, bool towardsWhite, QorRaster::Coverage alpha) {
  ref<rcMaskResource> resource(new rcMaskResource(reader.GetWidth(), reader.GetHeight()));
  QorRaster::MaskImage& mask = resource->GetMaskImage();
  if (mask.GetBounds().IsEmpty()) return resource;
  reader.ReadGrey(mask.At(0, 0));
  if (alpha != 255) BakeOpacity(mask, alpha, towardsWhite);
  if (!rle) return resource;
  return ref<rcRasterResource>(new rcRLEMaskResource(mask.GetBounds(), mask));
}

std::weak_ordering CompareNumbers(double a, double b) { return std::weak_order(a, b); }

}  // namespace

std::uint8_t OpacityAlpha(double opacity) {
  if (opacity == 1.0 || std::isnan(opacity)) return 255;
  return static_cast<std::uint8_t>(std::lround(std::clamp(opacity, 0.0, 1.0) * 255));
}

std::weak_ordering operator<=>(const cImageSpec& a, const cImageSpec& b) {
  if (const int c = a.fName.compare(b.fName); c != 0)
    return c < 0 ? std::weak_ordering::less : std::weak_ordering::greater;
  if (const auto c = a.fRLE <=> b.fRLE; c != 0) return c;
  if (const auto c = a.fMask <=> b.fMask; c != 0) return c;
  if (const auto c = CompareNumbers(a.fGamma, b.fGamma); c != 0) return c;
  if (const auto c = CompareNumbers(a.fOpacity, b.fOpacity); c != 0) return c;
  if (const auto c = a.fBlend <=> b.fBlend; c != 0) return c;
  if (const auto c = a.fClipLeft <=> b.fClipLeft; c != 0) return c;
  if (const auto c = a.fClipTop <=> b.fClipTop; c != 0) return c;
  if (const auto c = a.fClipRight <=> b.fClipRight; c != 0) return c;
  if (const auto c = a.fClipBottom <=> b.fClipBottom; c != 0) return c;
  if (const auto c = a.fOffsetX <=> b.fOffsetX; c != 0) return c;
  return a.fOffsetY <=> b.fOffsetY;
}

void cPNGStreamSource::Read(void* buffer, std::size_t count) { fStream.Read(buffer, static_cast<std::int64_t>(count)); }

ref<rcImage> MakeRasterImage(QorPNG::Reader& reader, bool rle, bool mask, std::int32_t blend, double gamma,
                             double opacity) {
  if (gamma != 0) reader.SetGamma(gamma);
  const QorRaster::Coverage alpha = OpacityAlpha(opacity);
  const bool towardsWhite = blend == kBlendMultiply;
  ref<rcRasterResource> resource =
      mask ? DecodeMask(reader, rle, towardsWhite, alpha) : DecodeColor(reader, rle, towardsWhite, alpha);
  if (blend == kBlendNormal) return resource;
  return ref<rcImage>(new rcBlendedImage(resource, blend, 255));
}

}  // namespace Velto
