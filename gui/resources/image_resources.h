#pragma once

// Image specifications, the keys of the registry's image cache, and the building of raster images
// from PNG pictures: the byte sources that feed the decoder and the preparation of the pixels.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/png.h"
#include "gui/resources/image.h"
#include "platform/bundle.h"

namespace Velto {

// How a PNG picture becomes an image: which resource, as colour or as coverage, packed or not,
// with gamma correction, an opacity and a blend mode, cut to a clip and shifted.
struct cImageSpec {
  std::string fName;           // PNG resource name without its extension
  bool fRLE = false;           // run-length packed
  bool fMask = false;          // 8-bit coverage instead of 32-bit colour
  double fGamma = 0.0;         // decoding gamma; 0 corrects nothing
  double fOpacity = 1.0;       // baked into the pixels, 0 to 1
  std::int32_t fBlend = 0;     // 0 normal, 1 add, 2 multiply
  std::int32_t fClipLeft = 0;  // edges; left = right and top = bottom mean no clip
  std::int32_t fClipTop = 0;
  std::int32_t fClipRight = 0;
  std::int32_t fClipBottom = 0;
  std::int32_t fOffsetX = 0;  // displacement of the clipped part
  std::int32_t fOffsetY = 0;

  // Field by field in this order: names bytewise (a proper prefix first), false before true,
  // numbers by value. The order is total even for doubles that are no numbers (they sort apart
  // from every number), so that no value can break the cache.
  friend std::weak_ordering operator<=>(const cImageSpec& a, const cImageSpec& b);
  friend bool operator==(const cImageSpec& a, const cImageSpec& b) { return (a <=> b) == 0; }
};

// Bytes of a resource stream (Wex::xCannotReadBeyondEnd on a short read).
class cPNGStreamSource : public QorPNG::Source {
 public:
  // The stream must outlive the source.
  explicit cPNGStreamSource(Wex::rcResourceStream& stream) : fStream(stream) {}
  void Read(void* buffer, std::size_t count) override;

 private:
  Wex::rcResourceStream& fStream;
};

// The byte that an opacity bakes into the pixels: lround(opacity × 255) within 0 to 255; an
// opacity that is no number counts as whole (255).
std::uint8_t OpacityAlpha(double opacity);

// Decodes the reader's picture into a new raster resource: a colour image (opaque when the
// picture has neither alpha nor tRNS transparency and the opacity is whole) or, with `mask`, a
// coverage mask of its grey levels; gamma, when not 0, corrects the decoding; an opacity below 1
// scales the pixels (with multiply blending it fades them towards white instead); `rle` packs
// them. A blend other than 0 wraps the resource in an rcBlendedImage of that mode at full opacity.
// Decoder errors (QorPNG::Exception) pass out.
ref<rcImage> MakeRasterImage(QorPNG::Reader& reader, bool rle, bool mask, std::int32_t blend, double gamma,
                             double opacity);

}  // namespace Velto
