#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>

#include "gui/resources/film.h"
#include "gui/resources/image_wrappers.h"
#include "gui/resources/raster_resources.h"
#include "gui/tests/pixels.h"

namespace {

using Velto::rcImage;
using Wex::cRect;
using Pixels = std::function<std::uint32_t(int x, int y)>;

ref<Velto::rcImageResource> MakeImage(int width, int height, const Pixels& color) {
  ref<Velto::rcImageResource> image(new Velto::rcImageResource(width, height, false));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) *image->GetRasterImage().At(x, y) = color(x, y);
  }
  return image;
}

ref<Wex::rcOffscreenContext32> MakeBitmap(int width, int height, std::uint32_t color) {
  ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(width, height, false));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) GuiTest::SetPixel(*bitmap, x, y, color);
  }
  return bitmap;
}

// The pixels in which the bitmap differs from what `expected` gives, at most a few.
std::string Differences(Wex::rcOffscreenContext32& bitmap, const Pixels& expected) {
  std::string differences;
  const cRect b = bitmap.GetBounds();
  for (int y = 0; y < b.fBottom; ++y) {
    for (int x = 0; x < b.fRight; ++x) {
      const std::uint32_t is = GuiTest::Pixel(bitmap, x, y);
      if (is != expected(x, y) && differences.size() < 200) {
        char text[64];
        std::snprintf(text, sizeof text, "(%d,%d) %08x not %08x; ", x, y, is, expected(x, y));
        differences += text;
      }
    }
  }
  return differences;
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
  constexpr std::uint32_t kSource = 0x80402010;
  const ref<Velto::rcImageResource> source = MakeImage(4, 4, [](int, int) { return kSource; });
  // Plain source-over, as the resource draws itself.
  const ref<Wex::rcOffscreenContext32> over = MakeBitmap(8, 8, kTarget);
  source->Draw(*over, {2, 2});
  const std::uint32_t kOver = GuiTest::Pixel(*over, 2, 2);
  EXPECT_NE(kOver, kTarget);
  struct Case {
    std::int32_t mode;
    std::int32_t opacity;
    std::uint32_t inside;
  };
  const Case cases[] = {
      {0, 255, kOver}, {0, 0x1ff, kOver},    {0, 0, kTarget},      {1, 255, 0xffc0a090}, {1, 128, 0xffa09088},
      {1, 0, kTarget}, {2, 255, 0x80201008}, {2, 128, 0xc0504844}, {2, 0, kTarget},      {7, 255, kOver},
  };
  for (const Case& c : cases) {
    const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(8, 8, kTarget);
    ref<rcImage> blended(new Velto::rcBlendedImage(source, c.mode, c.opacity));
    EXPECT_EQ(blended->GetBounds(), (cRect{0, 0, 4, 4}));
    blended->Draw(*bitmap, {2, 2});
    EXPECT_EQ(
        Differences(*bitmap, [&](int x, int y) { return x >= 2 && x < 6 && y >= 2 && y < 6 ? c.inside : kTarget; }), "")
        << "mode " << c.mode << " opacity " << c.opacity;
  }
}

TEST(Films, FramesAreBandsOfTheSourceAndCrossfadesMixNeighbours) {
  // Green is the column, blue the row.
  const Pixels colors = [](int x, int y) { return 0xff000000u | std::uint32_t(x) << 8 | std::uint32_t(y); };
  const ref<Velto::rcImageResource> strip = MakeImage(40, 160, colors);
  const iref<Velto::iFilm> linear(new Velto::rcCrossfadeFilm(strip, 4, false));
  const iref<Velto::iFilm> cyclic(new Velto::rcCrossfadeFilm(strip, 4, true));
  EXPECT_EQ(linear->GetFrameRange(), 769);
  EXPECT_EQ(cyclic->GetFrameRange(), 1024);
  struct Fade {
    const iref<Velto::iFilm>& film;
    std::int32_t position;
    int current;    // first row of the frame shown at 255 - weight
    int following;  // first row of the frame mixed in at weight
    std::uint32_t weight;
  };
  const Fade fades[] = {
      {linear, 0, 0, 40, 0},
      {linear, 768, 120, 0, 0},
      {linear, 128, 0, 40, 128},
      {cyclic, 1023, 120, 0, 255},
  };
  for (const Fade& f : fades) {
    const ref<rcImage> frame = f.film->GetFrame(f.position);
    EXPECT_EQ(frame->GetBounds(), (cRect{0, 0, 40, 40}));
    EXPECT_EQ(frame->GetChangeCount(), 1);
    const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(40, 40, 0);
    frame->Draw(*bitmap, {0, 0});
    EXPECT_EQ(Differences(*bitmap,
                          [&](int x, int y) {
                            return AddSaturating(QorRaster::ScalePixel(colors(x, f.current + y), 255 - f.weight),
                                                 QorRaster::ScalePixel(colors(x, f.following + y), f.weight));
                          }),
              "")
        << "position " << f.position;
  }

  // Plain films: 3 frames over 100 rows are 33 rows high, and row 99 shows only past the end.
  const ref<Velto::rcImageResource> source = MakeImage(4, 100, colors);
  const iref<Velto::iFilm> film(new Velto::rcFilm(source, 3));
  const iref<Velto::iFilm> whole(new Velto::rcFilm(source, 0));
  EXPECT_EQ(film->GetFrameRange(), 3);
  EXPECT_EQ(whole->GetFrameRange(), 1);
  EXPECT_EQ(iref<Velto::iFilm>(new Velto::rcFilm(source, -1 << 31))->GetFrameRange(), 1);
  EXPECT_EQ(iref<Velto::iFilm>(new Velto::rcFilm(source, 0x7fffffff))->GetFrameRange(), Velto::kMaxFrameCount);
  struct Band {
    const iref<Velto::iFilm>& film;
    std::int32_t index;
    cRect part;  // drawn at (0, 0)
    int firstRow;
    int height;  // of the frame's bounds
  };
  const Band bands[] = {
      {film, 2, {0, 0, 4, 40}, 66, 33},        {film, 1, {0, 0, 4, 100}, 33, 33}, {film, 1, {-1, -2, 4, 5}, 33, 33},
      {film, 3, {0, 0, 4, 40}, 99, 1},         {film, 4, {0, 0, 4, 40}, 0, 0},    {film, -1, {0, 0, 4, 40}, 0, 0},
      {film, 0x7fffffff, {0, 0, 4, 40}, 0, 0}, {whole, 0, {0, 0, 4, 40}, 0, 100},
  };
  for (const Band& b : bands) {
    const ref<rcImage> frame = b.film->GetFrame(b.index);
    EXPECT_EQ(frame->GetBounds(), (cRect{0, 0, b.height > 0 ? 4 : 0, b.height}));
    const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(6, 40, 0);
    frame->DrawPart(*bitmap, b.part, {0, 0});
    // A part that starts left of or above the frame keeps the frame where it lies.
    const int dx = std::max(-b.part.fLeft, 0);
    const int dy = std::max(-b.part.fTop, 0);
    const int rows = std::min(b.height, b.part.fBottom);
    EXPECT_EQ(Differences(*bitmap,
                          [&](int x, int y) {
                            return x >= dx && x < dx + 4 && y >= dy && y < dy + rows
                                       ? colors(x - dx, b.firstRow + y - dy)
                                       : 0;
                          }),
              "")
        << "frame " << b.index;
  }

  // Cross-fade frames of a source without rows draw nothing; extreme positions stay in range.
  const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(4, 4, 0);
  iref<Velto::iFilm>(new Velto::rcCrossfadeFilm(MakeImage(4, 0, colors), 4, true))->GetFrame(300)->Draw(*bitmap, {});
  EXPECT_EQ(GuiTest::CountOther(*bitmap, {0, 0, 4, 4}, 0), 0);
  const iref<Velto::iFilm> huge(new Velto::rcCrossfadeFilm(source, 0x7fffffff, false));
  EXPECT_EQ(huge->GetFrameRange(), Velto::kMaxFrameCount * 256 - 255);
  EXPECT_EQ(huge->GetFrame(0x7fffffff)->GetBounds(), (cRect{0, 0, 4, 0}));
  const ref<rcImage> before = iref<Velto::iFilm>(new Velto::rcCrossfadeFilm(source, 2, true))->GetFrame(-0x7fffffff);
  EXPECT_EQ(before->GetBounds(), (cRect{0, 0, 4, 50}));
  before->Draw(*bitmap, {});
}

TEST(SubImages, ClipToTheirSourceAndShift) {
  const Pixels colors = [](int x, int y) { return 0xff000000u | std::uint32_t(x) << 8 | std::uint32_t(y); };
  const ref<Velto::rcImageResource> source = MakeImage(4, 4, colors);
  struct Case {
    cRect clip;
    Wex::cPoint offset;
    cRect bounds;
    Wex::cPoint firstPixel;  // where the clip's top-left pixel lands when drawn at (1, 1)
  };
  const Case cases[] = {
      {{1, 1, 3, 3}, {0, 0}, {0, 0, 2, 2}, {1, 1}},  {{2, -3, 10, 2}, {0, 0}, {0, 0, 2, 2}, {1, 1}},
      {{1, 1, 3, 3}, {2, -1}, {0, 0, 2, 2}, {3, 0}}, {{5, 0, 9, 4}, {0, 0}, {0, 0, 0, 0}, {}},
      {{0, 0, 4, -4}, {0, 0}, {0, 0, 0, 0}, {}},
  };
  for (const Case& c : cases) {
    const ref<rcImage> sub(new Velto::rcSubImage(source, c.clip, c.offset));
    EXPECT_EQ(sub->GetBounds(), c.bounds);
    EXPECT_EQ(sub->GetChangeCount(), 1);
    const ref<Wex::rcOffscreenContext32> bitmap = MakeBitmap(6, 6, 0);
    sub->Draw(*bitmap, {1, 1});
    const cRect cut = Wex::Intersection(c.clip, {0, 0, 4, 4});
    EXPECT_EQ(Differences(*bitmap,
                          [&](int x, int y) {
                            const int u = x - c.firstPixel.fX;
                            const int v = y - c.firstPixel.fY;
                            return u >= 0 && u < c.bounds.fRight && v >= 0 && v < c.bounds.fBottom
                                       ? colors(cut.fLeft + u, cut.fTop + v)
                                       : 0;
                          }),
              "");
  }
}

TEST(RasterResources, MasksDrawAsWhiteAndPackedFormsDrawTheSamePixels) {
  const ref<Velto::rcMaskResource> mask(new Velto::rcMaskResource(4, 3));
  const QorRaster::Coverage levels[] = {0, 64, 128, 255};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) *mask->GetMaskImage().At(x, y) = y == 1 ? levels[x] : 255;
  }
  EXPECT_EQ(mask->GetBounds(), (cRect{0, 0, 4, 3}));
  EXPECT_EQ(mask->GetMask(), static_cast<QorRaster::Mask*>(&mask->GetMaskImage()));
  const ref<Wex::rcOffscreenContext32> black = MakeBitmap(4, 1, 0xff000000);
  mask->DrawPart(*black, {0, 1, 4, 2}, {0, 0});
  for (int x = 0; x < 4; ++x) EXPECT_EQ(GuiTest::Pixel(*black, x, 0), 0xff000000u | levels[x] * 0x010101u);
  const ref<Wex::rcOffscreenContext32> white = MakeBitmap(4, 3, 0xffffffff);
  mask->Draw(*white, {0, 0});
  EXPECT_EQ(GuiTest::CountOther(*white, {0, 0, 4, 3}, 0xffffffff), 0);

  // Packed forms over the same pixels, drawn whole and in parts at shifted places.
  const ref<Velto::rcImageResource> image = MakeImage(700, 5, [](int x, int y) {
    return x < 300 ? 0xff102030u : x < 310 ? std::uint32_t(x * 0x01010101u & 0x7f7f7f7fu) : y * 0x20202020u;
  });
  const ref<Velto::rcRasterResource> pairs[][2] = {
      {image, ref<Velto::rcRasterResource>(new Velto::rcRLEImageResource({0, 0, 700, 5}, image->GetPaint()))},
      {mask, ref<Velto::rcRasterResource>(new Velto::rcRLEMaskResource({0, 0, 4, 3}, *mask->GetMask()))},
  };
  EXPECT_EQ(pairs[0][1]->GetMask(), nullptr);
  EXPECT_NE(pairs[1][1]->GetMask(), nullptr);
  for (const auto& [plain, packed] : pairs) {
    EXPECT_EQ(packed->GetBounds(), plain->GetBounds());
    EXPECT_EQ(packed->GetChangeCount(), 1);
    const ref<Wex::rcOffscreenContext32> expected = MakeBitmap(720, 8, 0x40404040);
    const ref<Wex::rcOffscreenContext32> actual = MakeBitmap(720, 8, 0x40404040);
    for (rcImage* one : {plain.Get(), packed.Get()}) {
      Wex::rcOffscreenContext32& bitmap = one == plain.Get() ? *expected : *actual;
      one->Draw(bitmap, {3, -1});
      one->DrawPart(bitmap, {2, 1, 600, 3}, {100, 5});
    }
    EXPECT_EQ(Differences(*actual, [&](int x, int y) { return GuiTest::Pixel(*expected, x, y); }), "");
  }
}

}  // namespace
