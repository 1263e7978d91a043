// Fonts from arbitrary input. The first byte chooses:
//  - even: the rest is an AngelCode font text; every page it names gets one small prepared
//    coverage mask, and a bitmap font over it (with or without a replacement, by the next bit)
//    measures and draws a fixed text (missing characters, likely kerned pairs, the replacement)
//    into a small bitmap;
//  - odd: the rest is a font description given to the registry's GetFont over a fixed bundle
//    that holds a colour strip ("strip"), an AngelCode font ("font") and its grey page ("page");
//    the font answered measures and draws the fixed text; then Clear empties the caches.
// Only the documented errors may come out: AngelCode, description, colour and expression
// errors, decoder errors, the bundle's lookup error and a platform font's "Cannot find font".
// Anything else escapes and is a finding, and so is a broken promise of a font's answers.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/exceptions.h"
#include "base/png.h"
#include "gui/bitmap_context.h"
#include "gui/resources/bitmap_font.h"
#include "gui/resources/raster_resources.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/system_font.h"
#include "gui/resources/testing/temporary_bundle.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr std::string_view kFont =
    "info face=F spacing=1,0\ncommon lineHeight=9 base=7\npage id=0 file=\"page.png\"\n"
    "char id=65 x=0 y=0 width=4 height=6 xoffset=-1 yoffset=1 xadvance=5 page=0\n"
    "char id=86 x=4 y=0 width=4 height=6 xoffset=0 yoffset=1 xadvance=5 page=0\n"
    "char id=63 x=0 y=6 width=3 height=2 xoffset=0 yoffset=5 xadvance=4 page=0\n"
    "char id=32 x=0 y=0 width=0 height=0 xoffset=0 yoffset=0 xadvance=3 page=0\n"
    "kerning first=65 second=86 amount=-2\nkerning first=86 second=65 amount=-1\n";

// Capitals, digits and punctuation that inputs tend to name, a pair of likely kernings, Latin-1
// letters and characters beyond it.
const std::u16string kText = u"AVA ?0129 Tz\u00bf\u00ff\u0100\u2603AV";

ref<Velto::rcRasterResource> PreparedPage() {
  ref<Velto::rcMaskResource> mask(new Velto::rcMaskResource(8, 8));
  for (int i = 0; i < 64; ++i) *mask->GetMaskImage().At(i % 8, i / 8) = static_cast<std::uint8_t>(i * 4 + 3);
  return ref<Velto::rcRasterResource>(new Velto::rcRLEMaskResource({0, 0, 8, 8}, *mask->GetMask()));
}

struct Fixture {
  Fixture() {
    std::vector<std::uint32_t> strip;
    for (std::uint32_t i = 0; i < 6 * 20; ++i) strip.push_back(0xff000000u | (i % 6) << 13 | (i / 6) * 12);
    bundle.WriteResource("strip", "png", QorPNG::WritePremultipliedARGB(strip.data(), 6, 20, 6));
    bundle.WriteResource("page", "png", ResourcesTest::kGreyPicture);
    bundle.WriteResource("font", "fnt", kFont);
  }

  ResourcesTest::TemporaryBundle bundle;
  Velto::rcResourceRegistry registry{false, L"F V1.0"};
  ref<Velto::rcRasterResource> page = PreparedPage();
  ref<Wex::rcOffscreenContext32> bitmap{new Wex::rcOffscreenContext32(64, 64, false)};
  ref<Wex::rcVector<UniChar>> text{new Wex::rcVector<UniChar>(kText.data(), std::int64_t(kText.size()))};
};

// Measures and draws the text at a few points, and its characters one by one. Bitmap and film
// fonts never measure a rectangle whose right edge lies left of its left one; platform fonts
// measure what the platform gives (a negative size mirrors the text).
void Exercise(Fixture& fixture, Velto::iFont& font, bool upright) {
  Wex::rcGraphicsContext& context = *fixture.bitmap;
  std::int32_t height = 0, ascent = 0;
  font.GetMetrics(context, height, ascent);
  for (const Wex::cPoint p : {Wex::cPoint{3, 40}, Wex::cPoint{-0x7fffffff, 0x7fffffff}}) {
    const Wex::cRect r = font.Measure(context, p, *fixture.text, true);
    Check(r.fRight >= r.fLeft || !upright);
    font.Draw(context, p, *fixture.text);
  }
  std::vector<Wex::cPoint> points, ends(kText.size());
  for (std::size_t i = 0; i < kText.size(); ++i) points.push_back({std::int32_t(i * 5) - 4, 30});
  const std::vector<std::uint32_t> characters(kText.begin(), kText.end());
  font.DrawCharacters(context, std::int32_t(kText.size()), points.data(), characters.data(), ends.data());
  font.GetChangeCount();
}

void BitmapFont(Fixture& fixture, std::string_view input, bool replace) {
  ref<Velto::rcAngelCodeFont> data;
  try {
    data = new Velto::rcAngelCodeFont(input.data(), input.data() + input.size());
  } catch (const QorAngelCode::Exception&) {
    return;
  }
  for (const auto& [id, file] : data->GetFont().pages) data->SetPage(id, fixture.page);
  const ref<Velto::rcBitmapFont> font(new Velto::rcBitmapFont(data, replace ? '?' : 0, 0xc0802040));
  std::int32_t height = 0, ascent = 0;
  font->GetMetrics(*fixture.bitmap, height, ascent);
  Check(ascent == data->GetFont().base);
  const Wex::cRect r = font->Measure(*fixture.bitmap, {3, 40}, *fixture.text, false);
  Check(r.Height() == height || r.fBottom == 0x7fffffff || r.fBottom == -0x7fffffff - 1);
  Exercise(fixture, *font, true);
}

void FontResource(Fixture& fixture, std::string_view value) {
  try {
    const iref<Velto::iFont> font = fixture.registry.GetFont(value);
    Check(font.Get() != nullptr);
    Exercise(fixture, *font, dynamic_cast<Velto::rcSystemFont*>(font.Get()) == nullptr);
  } catch (const Exception&) {  // FormatException, expression errors
  } catch (const QorAngelCode::Exception&) {
  } catch (const QorPNG::Exception&) {
  } catch (const Wex::xExceptionWithRCString&) {  // a missing resource, a face not installed
  }
  fixture.registry.Clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 1) == 0) {
    BitmapFont(fixture, rest, (data[0] & 2) != 0);
  } else {
    FontResource(fixture, rest);
  }
  return 0;
}
