// Feeds arbitrary image description values to the registry's GetImage over a fixed bundle that
// holds a small colour picture ("colour", with partial transparency) and a small grey one
// ("grey"), and an override folder with a third picture ("over"). Each image answered is drawn
// whole and in part into a small bitmap; then Clear empties the cache. GetImage may throw only
// the errors it documents: description and expression errors, decoder errors and the bundle's
// lookup error. Anything else escapes and is a finding.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/exceptions.h"
#include "base/png.h"
#include "gui/bitmap_context.h"
#include "gui/geometry.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/testing/temporary_bundle.h"

namespace {

const std::wstring kLabel = L"F V1.0";

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string ColourPicture(std::int32_t width, std::int32_t height) {
  std::vector<std::uint32_t> pixels;
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const std::uint32_t alpha = 0x30u + 0x20u * static_cast<std::uint32_t>(x);
      pixels.push_back(alpha << 24 | (alpha * static_cast<std::uint32_t>(y) / 8) << 8 | alpha / 2);
    }
  }
  return QorPNG::WritePremultipliedARGB(pixels.data(), width, height, width);
}

struct Fixture {
  Fixture() {
    bundle.WriteResource("colour", "png", ColourPicture(8, 6));
    bundle.WriteResource("grey", "png", ResourcesTest::kGreyPicture);
    bundle.WriteOverride(kLabel, "over", "png", ColourPicture(5, 9));
  }

  ResourcesTest::TemporaryBundle bundle;
  Velto::rcResourceRegistry registry{true, kLabel};
  ref<Wex::rcOffscreenContext32> bitmap{new Wex::rcOffscreenContext32(16, 16, false)};
};

void Draw(Fixture& fixture, Velto::rcImage& image) {
  const Wex::cRect b = image.GetBounds();
  Check(b.Width() >= 0 && b.Height() >= 0);
  Check(image.GetChangeCount() == 1);
  image.Draw(*fixture.bitmap, {-2, 3});
  // Bounds may reach the largest coordinates: an offset places them anywhere.
  const Wex::cRect part = {Wex::WrapAdd(b.fLeft, 1), Wex::WrapSub(b.fTop, 1), Wex::WrapAdd(b.fRight, 2),
                           Wex::WrapSub(b.fBottom, 1)};
  image.DrawPart(*fixture.bitmap, part, {4, -1});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  const std::string_view value(reinterpret_cast<const char*>(data), size);
  try {
    const ref<Velto::rcImage> image = fixture.registry.GetImage(value);
    Check(image.Get() != nullptr);
    Draw(fixture, *image);
  } catch (const Exception&) {  // FormatException and expression errors
  } catch (const QorPNG::Exception&) {
  } catch (const Wex::xExceptionWithRCString&) {  // a picture that does not exist
  }
  fixture.registry.Clear();
  return 0;
}
