#include "gui/bitmap_context.h"

#include <gtest/gtest.h>

#include <string>

#include "base/exceptions.h"
#include "gui/tests/pixels.h"

namespace {

using GuiTest::Colors;
using GuiTest::CountOther;
using GuiTest::Pixel;
using GuiTest::SetPixel;
using Wex::cPoint;
using Wex::cRect;

ref<Wex::rcOffscreenContext32> PatternBitmap(int width, int height) {
  ref<Wex::rcOffscreenContext32> b(new Wex::rcOffscreenContext32(width, height, false));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) SetPixel(*b, x, y, Colors(x, y));
  }
  b->PixelsChanged();
  return b;
}

ref<Wex::rcOffscreenContext32> NewBitmap(int width, int height) {
  return ref<Wex::rcOffscreenContext32>(new Wex::rcOffscreenContext32(width, height, false));
}

std::string CreationError(int width, int height, int bitsPerPixel) {
  try {
    Wex::rcBitmapGraphicsContext bitmap(width, height, bitsPerPixel, true);
  } catch (const Wex::xExceptionWithRCString& e) {
    return std::string(e.GetMessage()->GetText());
  }
  return "created";
}

TEST(BitmapContext, FormatsSizesAndRows) {
  Wex::rcBitmapGraphicsContext opaque32(32, 32, 32, true);
  EXPECT_EQ(opaque32.GetBytesPerRow(), 128);
  EXPECT_EQ(opaque32.GetBitsPerPixel(), 32);
  EXPECT_EQ(opaque32.GetBounds(), (cRect{0, 0, 32, 32}));
  EXPECT_TRUE(opaque32.IsOpaque());

  Wex::rcBitmapGraphicsContext rgb16(32, 32, 16, false);
  EXPECT_EQ(rgb16.GetBytesPerRow(), 64);
  EXPECT_EQ(rgb16.GetBitsPerPixel(), 16);

  // Rows of the 16-bit layout are padded to whole 32-bit words.
  EXPECT_EQ(Wex::rcBitmapGraphicsContext(3, 5, 16, true).GetBytesPerRow(), 8);

  Wex::rcBitmapGraphicsContext grey(7, 3, 8, true);
  EXPECT_EQ(grey.GetBitsPerPixel(), 8);
  EXPECT_EQ(grey.GetBounds(), (cRect{0, 0, 7, 3}));
  EXPECT_EQ(grey.GetBytesPerRow(), 8);
}

TEST(BitmapContext, InvalidBitmapsAreRefused) {
  // The last four lie beyond the image size limit (16384 a side, 64 M pixels), refused before
  // anything is allocated.
  const int refused[][3] = {{32, 32, 24},       {32, 32, 0},         {0, 32, 32},   {32, 0, 8},        {-4, 8, 16},
                            {65536, 65536, 32}, {0x7FFFFFFF, 1, 32}, {16385, 1, 8}, {16384, 4097, 32}};
  for (const auto& s : refused) {
    EXPECT_EQ(CreationError(s[0], s[1], s[2]), "Could not create bitmap context") << s[0] << " " << s[1] << " " << s[2];
  }
  EXPECT_EQ(CreationError(1, 1, 8), "created");
  EXPECT_EQ(CreationError(16384, 4096, 8), "created");
}

TEST(BitmapContext, OnlyOffscreenContextsAnswerPixelQueries) {
  ref<Wex::rcOffscreenContext32> b32(new Wex::rcOffscreenContext32(4, 4, true));
  ref<Wex::rcOffscreenContext16> b16(new Wex::rcOffscreenContext16(4, 4));
  ref<Wex::rcBitmapGraphicsContext> plain(new Wex::rcBitmapGraphicsContext(4, 4, 32, false));
  EXPECT_EQ(b32->GetPixelContext32().Get(), b32.Get());
  EXPECT_FALSE(b32->GetPixelContext16());
  EXPECT_EQ(b16->GetPixelContext16().Get(), b16.Get());
  EXPECT_FALSE(b16->GetPixelContext32());
  EXPECT_FALSE(plain->GetPixelContext32());
  EXPECT_FALSE(plain->GetPixelContext16());
  EXPECT_FALSE(plain->QueryContext());
  EXPECT_TRUE(b32->IsOpaque());
  EXPECT_EQ(b16->GetBitsPerPixel(), 16);
}

TEST(BitmapContext, DrawIntoPlacesTheWholeBitmap) {
  auto source = PatternBitmap(4, 3);
  auto target = NewBitmap(10, 10);
  source->DrawInto(*target, {5, 6});
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(*target, 5 + x, 6 + y), Colors(x, y));
  }
  EXPECT_EQ(CountOther(*target, {0, 0, 10, 10}, 0), 12);
}

TEST(BitmapContext, DrawIntoHonoursTheTargetsTranslationAndClip) {
  auto source = PatternBitmap(4, 4);
  auto target = NewBitmap(10, 10);
  target->Translate({10, 20});
  {
    Wex::cClipScope scope(*target, {10, 20, 12, 30});
    source->DrawInto(*target, {10, 20});
  }
  // Only the two left columns pass the clip, at the target's top-left pixel.
  EXPECT_EQ(Pixel(*target, 0, 0), Colors(0, 0));
  EXPECT_EQ(Pixel(*target, 1, 3), Colors(1, 3));
  EXPECT_EQ(CountOther(*target, {0, 0, 10, 10}, 0), 8);
}

TEST(BitmapContext, DrawPartIntoMapsDrawingCoordinatesThroughTheOffset) {
  auto source = PatternBitmap(32, 32);
  source->Translate({64, 32});
  ASSERT_EQ(source->GetOffset(), (cPoint{64, 32}));
  auto target = NewBitmap(128, 96);
  source->DrawPartInto(*target, {64, 32, 96, 64}, {64, 32});
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) ASSERT_EQ(Pixel(*target, 64 + x, 32 + y), Colors(x, y)) << x << "," << y;
  }
  EXPECT_EQ(CountOther(*target, {0, 0, 128, 96}, 0), 32 * 32);
}

TEST(BitmapContext, DrawPartIntoSkipsWhatLiesOutsideTheBitmap) {
  auto source = PatternBitmap(32, 32);
  source->Translate({64, 32});
  auto target = NewBitmap(64, 64);
  // r starts 16 pixels above and left of the bitmap; r's top-left still corresponds to p.
  Wex::DrawBitmapContext(*target, *source, {48, 16, 80, 48}, {0, 0});
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) ASSERT_EQ(Pixel(*target, 16 + x, 16 + y), Colors(x, y));
  }
  EXPECT_EQ(CountOther(*target, {0, 0, 64, 64}, 0), 16 * 16);

  // Entirely outside, or empty: nothing.
  auto untouched = NewBitmap(64, 64);
  source->DrawPartInto(*untouched, {0, 0, 64, 32}, {0, 0});
  source->DrawPartInto(*untouched, {70, 40, 70, 50}, {0, 0});
  EXPECT_EQ(CountOther(*untouched, {0, 0, 64, 64}, 0), 0);
}

TEST(BitmapContext, DirectWritesAndDrawingMix) {
  auto b = NewBitmap(8, 8);
  b->FillRect({0, 0, 8, 8}, 255, 0, 0);
  ASSERT_EQ(Pixel(*b, 3, 3), 0xFFFF0000u);
  SetPixel(*b, 3, 3, 0x80000080u);  // premultiplied half-transparent blue
  b->PixelsChanged();
  auto target = NewBitmap(8, 8);
  b->DrawInto(*target, {0, 0});
  EXPECT_EQ(Pixel(*target, 3, 3), 0x80000080u);
  EXPECT_EQ(Pixel(*target, 4, 3), 0xFFFF0000u);
}

TEST(BitmapContext, SourceMayDieBeforeTheTarget) {
  auto target = NewBitmap(8, 8);
  {
    auto source = PatternBitmap(4, 4);
    source->DrawInto(*target, {0, 0});
  }
  target->FillRect({4, 4, 8, 8}, 0, 0, 255);
  EXPECT_EQ(Pixel(*target, 1, 1), Colors(1, 1));
  EXPECT_EQ(Pixel(*target, 5, 5), 0xFF0000FFu);
}

TEST(BitmapContext, OpaqueGreyBitmapsDrawAsGreyLevels) {
  ref<Wex::rcBitmapGraphicsContext> grey(new Wex::rcBitmapGraphicsContext(2, 1, 8, true));
  grey->GetPixels()[0] = 0x80;
  grey->GetPixels()[1] = 0x00;
  grey->PixelsChanged();
  auto target = NewBitmap(4, 4);
  grey->DrawInto(*target, {1, 1});
  EXPECT_EQ(Pixel(*target, 1, 1), 0xFF808080u);
  EXPECT_EQ(Pixel(*target, 2, 1), 0xFF000000u);
  EXPECT_EQ(CountOther(*target, {0, 0, 4, 4}, 0), 2);

  // A mask bitmap (not opaque) lets the colour through only where it is set.
  ref<Wex::rcBitmapGraphicsContext> mask(new Wex::rcBitmapGraphicsContext(2, 1, 8, false));
  mask->GetPixels()[0] = 0xFF;
  mask->PixelsChanged();
  auto masked = NewBitmap(4, 4);
  mask->DrawInto(*masked, {0, 0});
  EXPECT_EQ(Pixel(*masked, 0, 0), 0xFF000000u);
  EXPECT_EQ(Pixel(*masked, 1, 0), 0u);
}

TEST(BitmapContext, SixteenBitBitmapsDrawIntoThirtyTwo) {
  ref<Wex::rcOffscreenContext16> b(new Wex::rcOffscreenContext16(3, 3));
  b->FillRect({0, 0, 3, 3}, 255, 0, 0);
  b->FillRect({1, 1, 2, 2}, 0, 255, 255);
  auto target = NewBitmap(3, 3);
  b->DrawInto(*target, {0, 0});
  EXPECT_EQ(Pixel(*target, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(Pixel(*target, 1, 1), 0xFF00FFFFu);
}

}  // namespace
