#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <typeinfo>

#include "gui/resources/film.h"
#include "gui/resources/image_wrappers.h"
#include "gui/resources/raster_resources.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/resources/tests/outcome.h"
#include "gui/tests/pixels.h"

namespace {

using GuiTest::Colors;
using GuiTest::ColorsPNG;
using Velto::rcImage;
using Wex::cRect;
using Pixels = std::function<std::uint32_t(int x, int y)>;

ref<Velto::rcImageResource> MakeImage(int width, int height, const Pixels& color = Colors) {
  ref<Velto::rcImageResource> image(new Velto::rcImageResource(width, height, false));
  for (int i = 0; i < width * height; ++i)
    *image->GetRasterImage().At(i % width, i / width) = color(i % width, i / width);
  return image;
}

ref<Wex::rcOffscreenContext32> MakeBitmap(int width, int height, std::uint32_t color) {
  ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(width, height, false));
  for (int i = 0; i < width * height; ++i) GuiTest::SetPixel(*bitmap, i % width, i / width, color);
  return bitmap;
}

// The first pixel in which the bitmap differs from what `expected` gives, or "".
std::string Difference(Wex::rcOffscreenContext32& bitmap, const Pixels& expected) {
  const cRect b = bitmap.GetBounds();
  for (int i = 0; i < b.fRight * b.fBottom; ++i) {
    const int x = i % b.fRight, y = i / b.fRight;
    if (GuiTest::Pixel(bitmap, x, y) != expected(x, y)) {
      return "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
             std::to_string(GuiTest::Pixel(bitmap, x, y));
    }
  }
  return "";
}

std::uint32_t AddSaturating(std::uint32_t a, std::uint32_t b) {
  std::uint32_t sum = 0;
  for (int k = 0; k < 32; k += 8) sum |= std::min<std::uint32_t>(((a >> k) & 255) + ((b >> k) & 255), 255) << k;
  return sum;
}

TEST(BlendImage, ModesAndOpacitiesChangeOnlyTheSourcesPixels) {
  EXPECT_EQ(Velto::ReadBlendMode("add"), 1);
  EXPECT_EQ(Velto::ReadBlendMode("multiply"), 2);
  for (const char* other : {"Add", "screen", "", "add "}) EXPECT_EQ(Velto::ReadBlendMode(other), 0) << other;

  constexpr std::uint32_t kTarget = 0xff808080;
  const ref<Velto::rcImageResource> source = MakeImage(4, 4, [](int, int) { return 0x80402010u; });
  const ref<Wex::rcOffscreenContext32> over = MakeBitmap(8, 8, kTarget);
  source->Draw(*over, {2, 2});  // plain source-over
  const std::uint32_t kOver = GuiTest::Pixel(*over, 2, 2);
  const struct {
    std::int32_t mode, opacity;
    std::uint32_t inside;
  } cases[] = {
      {0, 255, kOver}, {0, 0x1ff, kOver},    {0, 0, kTarget},      {1, 255, 0xffc0a090}, {1, 128, 0xffa09088},
      {1, 0, kTarget}, {2, 255, 0x80201008}, {2, 128, 0xc0504844}, {2, 0, kTarget},      {7, 255, kOver},
  };
  for (const auto& c : cases) {
    const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(8, 8, kTarget);
    ref<rcImage>(new Velto::rcBlendedImage(source, c.mode, c.opacity))->Draw(*bitmap, {2, 2});
    EXPECT_EQ(
        Difference(*bitmap, [&](int x, int y) { return x >= 2 && x < 6 && y >= 2 && y < 6 ? c.inside : kTarget; }), "")
        << "mode " << c.mode << " opacity " << c.opacity;
  }
}

TEST(Films, CrossfadesMixAFrameWithTheNextOne) {
  const ref<Velto::rcImageResource> strip = MakeImage(40, 160);
  const iref<Velto::iFilm> linear(new Velto::rcCrossfadeFilm(strip, 4, false));
  const iref<Velto::iFilm> cyclic(new Velto::rcCrossfadeFilm(strip, 4, true));
  EXPECT_EQ(linear->GetFrameRange(), 769);
  EXPECT_EQ(cyclic->GetFrameRange(), 1024);
  const struct {
    const iref<Velto::iFilm>& film;
    std::int32_t position;
    int current, following;  // the first rows of the frames mixed at 255 - weight and at weight
    std::uint32_t weight;
  } fades[] = {{linear, 0, 0, 40, 0}, {linear, 768, 120, 0, 0}, {linear, 128, 0, 40, 128}, {cyclic, 1023, 120, 0, 255}};
  for (const auto& f : fades) {
    const ref<rcImage> frame = f.film->GetFrame(f.position);
    EXPECT_EQ(frame->GetBounds(), (cRect{0, 0, 40, 40}));
    const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(40, 40, 0);
    frame->Draw(*bitmap, {0, 0});
    EXPECT_EQ(Difference(*bitmap,
                         [&](int x, int y) {
                           return AddSaturating(QorRaster::ScalePixel(Colors(x, f.current + y), 255 - f.weight),
                                                QorRaster::ScalePixel(Colors(x, f.following + y), f.weight));
                         }),
              "")
        << "position " << f.position;
  }
  // Counts are kept within their limits; a source without rows shows nothing.
  const ref<Velto::rcImageResource> source = MakeImage(4, 100);
  const iref<Velto::iFilm> huge(new Velto::rcCrossfadeFilm(source, 0x7fffffff, false));
  EXPECT_EQ(huge->GetFrameRange(), Velto::kMaxFrameCount * 256 - 255);
  EXPECT_EQ(huge->GetFrame(0x7fffffff)->GetBounds(), (cRect{0, 0, 4, 0}));
  const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(4, 4, 0);
  iref<Velto::iFilm>(new Velto::rcCrossfadeFilm(MakeImage(4, 0), 4, true))->GetFrame(300)->Draw(*bitmap, {});
  EXPECT_EQ(GuiTest::CountOther(*bitmap, {0, 0, 4, 4}, 0), 0);
}

TEST(Films, FramesAndSubImagesShowTheirPartOfTheSource) {
  const ref<Velto::rcImageResource> source = MakeImage(4, 100);
  const iref<Velto::iFilm> film(new Velto::rcFilm(source, 3));  // frames of 33 rows; row 99 only past the end
  EXPECT_EQ(film->GetFrameRange(), 3);
  EXPECT_EQ(iref<Velto::iFilm>(new Velto::rcFilm(source, 0x7fffffff))->GetFrameRange(), Velto::kMaxFrameCount);
  const auto sub = [&](const cRect& clip, const Wex::cPoint& offset) {
    return ref<rcImage>(new Velto::rcSubImage(source, clip, offset));
  };
  const struct {
    ref<rcImage> image;
    cRect part;  // drawn at (1, 1)
    cRect bounds;
    Wex::cPoint from;  // the source pixel shown at (1, 1) (for parts starting at 0, 0)
    Wex::cRect ink;    // where the picture lands
  } cases[] = {
      {film->GetFrame(2), {0, 0, 4, 40}, {0, 0, 4, 33}, {0, 66}, {1, 1, 5, 34}},
      {film->GetFrame(1), {0, 0, 9, 99}, {0, 0, 4, 33}, {0, 33}, {1, 1, 5, 34}},
      {film->GetFrame(1), {-1, -2, 3, 5}, {0, 0, 4, 33}, {-1, 31}, {2, 3, 5, 8}},
      {film->GetFrame(3), {0, 0, 4, 40}, {0, 0, 4, 1}, {0, 99}, {1, 1, 5, 2}},
      {film->GetFrame(-1), {0, 0, 4, 40}, {0, 0, 0, 0}, {}, {}},
      {film->GetFrame(0x7fffffff), {0, 0, 4, 40}, {0, 0, 0, 0}, {}, {}},
      {iref<Velto::iFilm>(new Velto::rcFilm(source, 0))->GetFrame(0), {0, 0, 4, 9}, {0, 0, 4, 100}, {}, {1, 1, 5, 10}},
      {sub({2, -3, 10, 2}, {0, 0}), {0, 0, 9, 9}, {0, 0, 2, 2}, {2, 0}, {1, 1, 3, 3}},
      // The offset places the part: a part from (0, 0) leaves out its row above 0.
      {sub({1, 1, 3, 3}, {2, -1}), {0, 0, 9, 9}, {2, -1, 4, 1}, {-1, 2}, {3, 1, 5, 2}},
      {sub({1, 1, 3, 3}, {2, -1}), {2, -1, 9, 9}, {2, -1, 4, 1}, {1, 1}, {1, 1, 3, 3}},
      {sub({5, 0, 9, 4}, {0, 0}), {0, 0, 9, 9}, {0, 0, 0, 0}, {}, {}},
      {sub({2, 0, 1, 3}, {0, 0}), {0, 0, 9, 9}, {0, 0, 0, 0}, {}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.image->GetBounds(), c.bounds);
    EXPECT_EQ(c.image->GetChangeCount(), 1);
    const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(6, 40, 0);
    c.image->DrawPart(*bitmap, c.part, {1, 1});
    EXPECT_EQ(Difference(*bitmap,
                         [&](int x, int y) {
                           return c.ink.Contains({x, y}) ? Colors(c.from.fX + x - 1, c.from.fY + y - 1) : 0;
                         }),
              "")
        << "part " << c.part.fLeft << "," << c.part.fTop << " bounds " << c.bounds.fRight << "x" << c.bounds.fBottom;
  }
}

TEST(RasterResources, MasksDrawAsWhiteAndPackedFormsDrawTheSamePixels) {
  const ref<Velto::rcMaskResource> mask(new Velto::rcMaskResource(4, 3));
  const QorRaster::Coverage levels[] = {0, 64, 128, 255};
  for (int i = 0; i < 12; ++i) *mask->GetMaskImage().At(i % 4, i / 4) = i / 4 == 1 ? levels[i % 4] : 255;
  EXPECT_EQ(mask->GetMask(), static_cast<QorRaster::Mask*>(&mask->GetMaskImage()));
  const ref<Wex::rcOffscreenContext32> black = MakeBitmap(4, 1, 0xff000000);
  mask->DrawPart(*black, {0, 1, 4, 2}, {0, 0});
  EXPECT_EQ(Difference(*black, [&](int x, int) { return 0xff000000u | levels[x] * 0x010101u; }), "");
  const ref<Wex::rcOffscreenContext32> white = MakeBitmap(4, 3, 0xffffffff);
  mask->Draw(*white, {0, 0});
  EXPECT_EQ(GuiTest::CountOther(*white, {0, 0, 4, 3}, 0xffffffff), 0);

  // Long runs, literal stretches and steps, drawn whole and in parts at shifted places.
  const ref<Velto::rcImageResource> image = MakeImage(700, 5, [](int x, int y) {
    return x < 300 ? 0xff102030u : x < 310 ? std::uint32_t(x * 0x01010101u & 0x7f7f7f7fu) : y * 0x20202020u;
  });
  const ref<Velto::rcRasterResource> pairs[][2] = {
      {image, ref<Velto::rcRasterResource>(new Velto::rcRLEImageResource({0, 0, 700, 5}, image->GetPaint()))},
      {mask, ref<Velto::rcRasterResource>(new Velto::rcRLEMaskResource({0, 0, 4, 3}, *mask->GetMask()))},
  };
  EXPECT_EQ(pairs[0][1]->GetMask(), nullptr);
  EXPECT_NE(pairs[1][1]->GetMask(), nullptr);
  const auto draw = [](Velto::rcRasterResource& resource) {
    const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(720, 8, 0x40404040);
    resource.Draw(*bitmap, {3, -1});
    resource.DrawPart(*bitmap, {2, 1, 600, 3}, {100, 5});
    return bitmap;
  };
  for (const auto& [plain, packed] : pairs) {
    EXPECT_EQ(packed->GetBounds(), plain->GetBounds());
    const ref<Wex::rcOffscreenContext32> expected = draw(*plain);
    EXPECT_EQ(Difference(*draw(*packed), [&](int x, int y) { return GuiTest::Pixel(*expected, x, y); }), "");
  }
}

const std::wstring kLabel = L"X V1.0";

std::string CorpusPNG(const char* name) {
  std::ifstream in(std::string(MAROVELL_SOURCE_DIR "/base/fuzz/corpus/png_fuzzer/") + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ImageResources : public testing::Test {
 protected:
  void SetUp() override {
    fBundle.WriteResource("knob", "png", CorpusPNG("rgba.png"));
    fBundle.WriteResource("grey", "png", CorpusPNG("grey_gamma.png"));
    fBundle.WriteResource("trns", "png", CorpusPNG("palette_trns.png"));
    fBundle.WriteResource("pic", "png", ColorsPNG(4, 4));
    fBundle.WriteResource("cut", "png", ColorsPNG(4, 4).substr(0, 60));
    fBundle.WriteOverride(kLabel, "cutOverride", "png", ColorsPNG(4, 4).substr(0, 60));
    fBundle.WriteOverride(kLabel, "over", "png", ColorsPNG(3, 1));
    fBundle.WriteResource("over", "png", ColorsPNG(4, 4));
    fRegistry.emplace(true, kLabel);
  }

  // Whether the image drawn at (1, 1) over a 6 x 6 bitmap of the background colour shows the
  // picture's part with its corner at (1 + d.x, 1 + d.y), each pixel changed by `change`.
  std::string Drawn(
      const char* value, const cRect& part, const Wex::cPoint& d = {},
      std::uint32_t (*change)(std::uint32_t) = [](std::uint32_t p) { return p; }, std::uint32_t background = 0) {
    const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(6, 6, background);
    fRegistry->GetImage(value)->Draw(*bitmap, {1, 1});
    const cRect ink = cRect{0, 0, part.Width(), part.Height()}.Moved({1 + d.fX, 1 + d.fY});
    return Difference(*bitmap, [&](int x, int y) {
      return ink.Contains({x, y}) ? change(Colors(x - ink.fLeft + part.fLeft, y - ink.fTop + part.fTop)) : background;
    });
  }

  // The width and height of the value's image ("WxH"), or the error that getting it threw.
  std::string Size(const char* value) {
    return ResourcesTest::Outcome([&] {
      const cRect b = fRegistry->GetImage(value)->GetBounds();
      return std::to_string(b.Width()) + "x" + std::to_string(b.Height());
    });
  }

  ResourcesTest::TemporaryBundle fBundle;
  std::optional<Velto::rcResourceRegistry> fRegistry;
};

TEST_F(ImageResources, EqualImageSpecificationsShareOneImage) {
  const struct {
    const char *a, *b;
    bool same;
  } cases[] = {
      {"knob", "{ name: knob }", true},
      {"knob", "\"knob\"", true},
      {"knob", "{ name: knob, gamma: -1 }", true},
      {"{ name: knob, gamma: 9 }", "{ name: knob, gamma: 4 }", true},
      {"knob", "{ name: knob, gamma: 0/0, opacity: 0/0, format: \"\" }", true},
      {"knob", "{ name: knob, opacity: 150, clip: { 0, 0, 0, 0 } }", true},
      {"{ name: knob, blend: add }", "{ name: knob, blend: \"add\", opacity: 100 }", true},
      {"knob", "{ name: knob, blend: add }", false},
      {"knob", "{ name: knob, clip: }", false},
      {"knob", "{ name: knob, clip: { 1, 1, 0, 0 } }", false},
      {"knob", "{ name: knob, format: rle }", false},
      {"knob", "{ name: knob, opacity: 99.9 }", false},
  };
  for (const auto& c : cases) {
    const ref<rcImage> a = fRegistry->GetImage(c.a);
    EXPECT_EQ(a == fRegistry->GetImage(c.b), c.same) << c.a << " and " << c.b;
    EXPECT_EQ(fRegistry->GetImage(c.b)->GetBounds(), (cRect{0, 0, 2, 2})) << c.b;
  }
  const ref<rcImage> old = fRegistry->GetImage("pic");
  fRegistry->Clear();
  EXPECT_NE(fRegistry->GetImage("pic"), old);
  EXPECT_EQ(old->GetBounds(), (cRect{0, 0, 4, 4}));  // still usable
}

TEST_F(ImageResources, FormatsOpacitiesAndBlendsPrepareThePixels) {
  const struct {
    const char* value;
    const std::type_info& type;
    bool opaque;
  } kinds[] = {
      {"knob", typeid(Velto::rcImageResource), false},
      {"trns", typeid(Velto::rcImageResource), false},
      {"grey", typeid(Velto::rcImageResource), true},
      {"{ name: grey, opacity: 50 }", typeid(Velto::rcImageResource), false},
      {"{ name: grey, opacity: 50, blend: multiply }", typeid(Velto::rcBlendedImage), false},
      {"{ name: pic, format: rle }", typeid(Velto::rcRLEImageResource), false},
      {"{ name: grey, format: mask }", typeid(Velto::rcMaskResource), false},
      {"{ name: grey, format: rlemask, gamma: 2 }", typeid(Velto::rcRLEMaskResource), false},
      {"{ name: knob, offset: { 1, 2 } }", typeid(Velto::rcSubImage), false},
  };
  for (const auto& k : kinds) {
    rcImage& image = *fRegistry->GetImage(k.value);
    EXPECT_TRUE(typeid(image) == k.type) << k.value;
    auto* plain = dynamic_cast<Velto::rcImageResource*>(&image);
    EXPECT_EQ(plain != nullptr && plain->GetRasterImage().IsOpaque(), k.opaque) << k.value;
  }
  const cRect whole{0, 0, 4, 4};
  EXPECT_EQ(Drawn("{ name: pic, opacity: 100 }", whole), "");
  EXPECT_EQ(Drawn("{ name: pic, format: rle }", whole), "");
  EXPECT_EQ(Drawn("{ name: pic, opacity: 0 }", {}), "");
  EXPECT_EQ(
      Drawn("{ name: pic, opacity: 0.5 }", whole, {}, [](std::uint32_t p) { return QorRaster::ScalePixel(p, 1); }),
      "");                                                                                          // alpha 1
  EXPECT_EQ(Drawn("{ name: pic, opacity: 0, blend: multiply }", {}, {}, nullptr, 0xff808080), "");  // white
  EXPECT_EQ(Drawn("{ name: pic, offset: { 1, 1 } }", whole, {1, 1}), "");
  EXPECT_EQ(Drawn("{ name: pic, offset: { 1, -1 }, clip: { 1, 1, w - 1, 2 } }", {1, 1, 4, 3}, {1, -1}), "");
  EXPECT_EQ(Drawn("{ name: pic, clip: { 3, 0, 9, 9 } }", {3, 0, 4, 4}), "");
  EXPECT_EQ(Drawn("{ name: pic, clip: { 5, 0, 9, 9 } }", {}), "");
  EXPECT_EQ(Drawn("over", {0, 0, 3, 1}), "");  // the override folder's picture
}

TEST_F(ImageResources, FailuresPassOutAndCacheNothing) {
  const struct {
    const char *value, *expected;
  } cases[] = {
      {"{ name: knob, format: RLE }", "FormatException: Invalid image format specification: \"RLE\""},
      {"{ name: absent, format: none }", "FormatException: Invalid image format specification: \"none\""},
      {"absent", "Wex: Cannot get URL for resource: absent (type: png)"},
      {"{ format: rle }", "Wex: Cannot get URL for resource:  (type: png)"},
      {"{ name: knob, format: mask }", "PNG: Error reading PNG image : unsupported pixel model"},
      {"{ name: trns, format: rlemask }", "PNG: Error reading PNG image : unsupported pixel model"},
      {"cut", "PNG: Error reading PNG image : Cannot read beyond end"},
      {"cutOverride", "PNG: Error reading PNG image : Cannot read beyond end"},
      {"{ name: knob, gamma: x }", "Exception: Undefined symbol: \"x\""},
      {"{ name: pic, clip: { q } }", "Exception: Undefined symbol: \"q\""},
      {"{ name: pic, offset: { 1, ) } }", "Exception: Invalid number: )"},
      {"{ name: pic", "FormatException: Missing }"},
  };
  for (const auto& c : cases) EXPECT_EQ(Size(c.value), c.expected) << c.value;
  // Only the whole picture of a clip that could not be read stays cached.
  fBundle.WriteResource("pic", "png", ColorsPNG(2, 2));
  fBundle.WriteResource("absent", "png", ColorsPNG(1, 1));
  EXPECT_EQ(Size("pic"), "4x4");
  EXPECT_EQ(Size("absent"), "1x1");
}

TEST_F(ImageResources, DecodedPixelsStayWithinTheCachesBound) {
  fRegistry.emplace(true, kLabel, 201);
  const auto full = [](const char* picture) {
    return std::string("FormatException: Too many image pixels: ") + picture +
           " would take decoded images past 201 bytes";
  };
  const struct {
    const char* value;
    std::string expected;
  } steps[] = {
      {"pic", "4x4"},  // 64 bytes
      {"{ name: pic, opacity: 100 }", "4x4"},
      {"{ name: pic, blend: add }", "4x4"},  // blends share the pixels while the opacity is whole
      {"{ name: pic, blend: multiply, clip: { 1, 1, 3, 3 } }", "3x3"},
      {"{ name: grey, format: mask }", "3x1"},               // 3
      {"{ name: pic, opacity: 50, blend: add }", "4x4"},       // 64
      {"{ name: pic, opacity: 50, blend: multiply }", "4x4"},  // 64, 195 in all
      {"{ name: pic, format: rle }", full("pic.png (4 x 4)")},
      {"{ name: grey, format: rlemask, clip: { 0, 0, 1, 1 } }", "1x1"},  // 3
      {"{ name: grey, format: mask, gamma: 2 }", "3x1"},                 // 3, 201 in all
      {"{ name: grey, gamma: 2 }", full("grey.png (3 x 1)")},
  };
  for (const auto& s : steps) EXPECT_EQ(Size(s.value), s.expected) << s.value;
  fRegistry->Clear();
  EXPECT_EQ(fRegistry->GetImage("{ name: pic, format: rle }")->GetBounds(), (cRect{0, 0, 4, 4}));
}

}  // namespace
