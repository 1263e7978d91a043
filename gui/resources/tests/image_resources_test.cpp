#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/png.h"
#include "gui/resources/image_wrappers.h"
#include "gui/resources/raster_resources.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/resources/tests/outcome.h"
#include "gui/tests/pixels.h"

namespace {

const std::wstring kLabel = L"X V1.0";

std::string CorpusPNG(const char* name) {
  std::ifstream in(std::string(MAROVELL_SOURCE_DIR "/base/fuzz/corpus/png_fuzzer/") + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A 4 x 4 opaque picture: red from the column, green from the row.
std::uint32_t PictureColor(int x, int y) {
  return 0xff000080u | std::uint32_t(x * 0x40) << 16 | std::uint32_t(y * 0x40) << 8;
}

std::string Picture(int width, int height) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(PictureColor(x, y));
  }
  return QorPNG::WritePremultipliedARGB(pixels.data(), width, height, width);
}

class ImageResources : public testing::Test {
 protected:
  void SetUp() override {
    fBundle.WriteResource("knob", "png", CorpusPNG("rgba.png"));
    fBundle.WriteResource("grey", "png", CorpusPNG("grey_gamma.png"));
    fBundle.WriteResource("trns", "png", CorpusPNG("palette_trns.png"));
    fBundle.WriteResource("pic", "png", Picture(4, 4));
    const std::string png = Picture(4, 4);
    fBundle.WriteResource("cut", "png", png.substr(0, png.size() - 20));
  }

  // The pixels of the image drawn at (1, 1) over a 6 x 6 bitmap of the background colour.
  std::vector<std::uint32_t> Drawn(const std::string& value, std::uint32_t background = 0) {
    const ref<Velto::rcImage> image = fRegistry.GetImage(value);
    ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(6, 6, false));
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < 36; ++i) GuiTest::SetPixel(*bitmap, i % 6, i / 6, background);
    image->Draw(*bitmap, {1, 1});
    for (int i = 0; i < 36; ++i) pixels.push_back(GuiTest::Pixel(*bitmap, i % 6, i / 6));
    return pixels;
  }

  ResourcesTest::TemporaryBundle fBundle;
  Velto::rcResourceRegistry fRegistry{true, kLabel};
};

TEST_F(ImageResources, EqualSpecificationsShareOneImage) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"knob", "{ name: knob }", true},
      {"knob", "\"knob\"", true},
      {"knob", "{ name: knob, gamma: -1 }", true},
      {"{ name: knob, gamma: 9 }", "{ name: knob, gamma: 4 }", true},
      {"knob", "{ name: knob, gamma: 0/0, opacity: 0/0 }", true},
      {"knob", "{ name: knob, opacity: 150, format: \"\" }", true},
      {"knob", "{ name: knob, clip: { 0, 0, 0, 0 } }", true},
      {"knob", "{ name: knob, blend: add }", false},
      {"knob", "{ name: knob, blend: \"add\" }", false},
      {"knob", "{ name: knob, clip: }", false},
      {"knob", "{ name: knob, clip: { 1, 1, 0, 0 } }", false},
      {"knob", "{ name: knob, format: rle }", false},
      {"knob", "{ name: knob, opacity: 99.9 }", false},
      {"{ name: knob, blend: add }", "{ name: knob, blend: \"add\", opacity: 100 }", true},
  };
  for (const Case& c : cases) {
    const ref<Velto::rcImage> a = fRegistry.GetImage(c.a);
    EXPECT_EQ(a == fRegistry.GetImage(c.b), c.same) << c.a << " and " << c.b;
    EXPECT_EQ(fRegistry.GetImage(c.b)->GetBounds(), (Wex::cRect{0, 0, 2, 2})) << c.b;
  }
  // A clear starts afresh; images handed out stay usable.
  const ref<Velto::rcImage> old = fRegistry.GetImage("pic");
  fRegistry.Clear();
  EXPECT_NE(fRegistry.GetImage("pic"), old);
  EXPECT_EQ(old->GetBounds(), (Wex::cRect{0, 0, 4, 4}));
}

TEST_F(ImageResources, FormatsOpacitiesAndBlendsPrepareThePixels) {
  const auto kind = [&](const char* value) -> std::string {
    Velto::rcImage* image = fRegistry.GetImage(value).Get();
    if (auto* plain = dynamic_cast<Velto::rcImageResource*>(image)) {
      return plain->GetRasterImage().IsOpaque() ? "opaque image" : "image";
    }
    if (dynamic_cast<Velto::rcRLEImageResource*>(image)) return "packed image";
    if (dynamic_cast<Velto::rcMaskResource*>(image)) return "mask";
    if (dynamic_cast<Velto::rcRLEMaskResource*>(image)) return "packed mask";
    if (dynamic_cast<Velto::rcBlendedImage*>(image)) return "blended";
    if (dynamic_cast<Velto::rcSubImage*>(image)) return "sub-image";
    return "?";
  };
  EXPECT_EQ(kind("knob"), "image");
  EXPECT_EQ(kind("trns"), "image");
  EXPECT_EQ(kind("grey"), "opaque image");
  EXPECT_EQ(kind("{ name: grey, opacity: 50 }"), "image");
  EXPECT_EQ(kind("{ name: grey, opacity: 50, blend: multiply }"), "blended");
  EXPECT_EQ(kind("{ name: pic, format: rle }"), "packed image");
  EXPECT_EQ(kind("{ name: grey, format: mask }"), "mask");
  EXPECT_EQ(kind("{ name: grey, format: rlemask, gamma: 2 }"), "packed mask");
  EXPECT_EQ(kind("{ name: knob, blend: add }"), "blended");
  EXPECT_EQ(kind("{ name: knob, offset: { 1, 2 } }"), "sub-image");

  const auto picture = [](int dx, int dy, const Wex::cRect& part, auto change) {
    std::vector<std::uint32_t> pixels(36, 0);
    for (int y = part.fTop; y < part.fBottom; ++y) {
      for (int x = part.fLeft; x < part.fRight; ++x)
        pixels[(y + 1 + dy - part.fTop) * 6 + x + 1 + dx - part.fLeft] = change(PictureColor(x, y));
    }
    return pixels;
  };
  const auto same = [](std::uint32_t p) { return p; };
  const Wex::cRect whole{0, 0, 4, 4};
  EXPECT_EQ(Drawn("pic"), picture(0, 0, whole, same));
  EXPECT_EQ(Drawn("{ name: pic, opacity: 100 }"), picture(0, 0, whole, same));
  EXPECT_EQ(Drawn("{ name: pic, format: rle }"), picture(0, 0, whole, same));
  EXPECT_EQ(Drawn("{ name: pic, opacity: 0 }"), std::vector<std::uint32_t>(36, 0));
  EXPECT_EQ(Drawn("{ name: pic, opacity: 0.5 }"),
            picture(0, 0, whole, [](std::uint32_t p) { return QorRaster::ScalePixel(p, 1); }));
  EXPECT_EQ(Drawn("{ name: pic, opacity: 0.5 }")[7] >> 24, 1u);
  EXPECT_EQ(Drawn("{ name: pic, opacity: 0, blend: multiply }", 0xff808080),
            std::vector<std::uint32_t>(36, 0xff808080));
  EXPECT_EQ(Drawn("{ name: pic, offset: { 1, 1 } }"), picture(1, 1, {0, 0, 4, 4}, same));
  EXPECT_EQ(Drawn("{ name: pic, offset: { 1, -1 }, clip: { 1, 1, w - 1, 2 } }"), picture(1, -1, {1, 1, 4, 3}, same));
  EXPECT_EQ(Drawn("{ name: pic, clip: { 3, 0, 9, 9 } }"), picture(0, 0, {3, 0, 4, 4}, same));
  EXPECT_EQ(Drawn("{ name: pic, clip: { 5, 0, 9, 9 } }"), std::vector<std::uint32_t>(36, 0));

  // A picture of the override folder wins over the bundle's.
  fBundle.WriteOverride(kLabel, "pic", "png", Picture(3, 1));
  Velto::rcResourceRegistry overridden(true, kLabel);
  EXPECT_EQ(overridden.GetImage("pic")->GetBounds(), (Wex::cRect{0, 0, 3, 1}));
  EXPECT_EQ(overridden.GetImage("knob")->GetBounds(), (Wex::cRect{0, 0, 2, 2}));
}

TEST_F(ImageResources, FailuresPassOutAndCacheNothing) {
  fBundle.WriteOverride(kLabel, "cutOverride", "png", Picture(4, 4).substr(0, 60));
  Velto::rcResourceRegistry registry(true, kLabel);
  const auto outcome = [&](const char* value) {
    return ResourcesTest::Outcome([&] {
      const Wex::cRect b = registry.GetImage(value)->GetBounds();
      return std::to_string(b.Width()) + "x" + std::to_string(b.Height());
    });
  };
  struct Case {
    const char* value;
    const char* expected;
  };
  const Case cases[] = {
      {"{ name: knob, format: RLE }", "FormatException: Invalid image format specification: \"RLE\""},
      {"{ name: absent, format: none }", "FormatException: Invalid image format specification: \"none\""},
      {"absent", "Wex: Cannot get URL for resource: absent (type: png)"},
      {"{ format: rle }", "Wex: Cannot get URL for resource:  (type: png)"},
      {"{ name: knob, format: mask }", "PNG: Error reading PNG image : unsupported pixel model"},
      {"{ name: trns, format: rlemask }", "PNG: Error reading PNG image : unsupported pixel model"},
      {"cut", "PNG: Error reading PNG image : Cannot read beyond end"},
      {"cutOverride", "PNG: Error reading PNG image : Error reading from file"},
      {"{ name: knob, gamma: x }", "Exception: Undefined symbol: \"x\""},
      {"{ name: pic, clip: { q } }", "Exception: Undefined symbol: \"q\""},
      {"{ name: pic, offset: { 1, ) } }", "Exception: Invalid number: )"},
      {"{ name: pic", "FormatException: Missing }"},
  };
  for (const Case& c : cases) EXPECT_EQ(outcome(c.value), c.expected) << c.value;

  // Only the whole picture of a clip that could not be read stays cached.
  fBundle.WriteResource("pic", "png", Picture(2, 2));
  fBundle.WriteResource("absent", "png", Picture(1, 1));
  EXPECT_EQ(outcome("pic"), "4x4");
  EXPECT_EQ(outcome("absent"), "1x1");
}

}  // namespace
