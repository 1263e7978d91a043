#include "gui/offscreen_container.h"

#include <gtest/gtest.h>

#include "gui/simple_elements.h"
#include "gui/tests/pixels.h"

namespace {

using Wex::cRect;

ref<Wex::rcOffscreenGUIContainer> NewOffscreen(const cRect& r, std::int32_t bitsPerPixel = 32) {
  return ref<Wex::rcOffscreenGUIContainer>(new Wex::rcOffscreenGUIContainer(r, bitsPerPixel));
}

ref<Wex::rcOffscreenContext32> NewTarget(int width, int height) {
  return ref<Wex::rcOffscreenContext32>(new Wex::rcOffscreenContext32(width, height, false));
}

cRect OffscreenSize(const Wex::rcOffscreenGUIContainer& c) { return c.GetOffscreen()->GetBounds(); }

TEST(OffscreenContainer, BitmapGrowsInMultiplesOf32AndIsReused) {
  auto c = NewOffscreen({0, 0, 300, 200});
  auto target = NewTarget(300, 200);
  EXPECT_FALSE(c->GetOffscreen());
  c->Draw(*target, {5, 5, 15, 15});
  EXPECT_EQ(OffscreenSize(*c), (cRect{0, 0, 32, 32}));
  EXPECT_EQ(c->GetOffscreen()->GetBitsPerPixel(), 32);
  EXPECT_TRUE(c->GetOffscreen()->IsOpaque());
  c->Draw(*target, {0, 0, 100, 50});
  EXPECT_EQ(OffscreenSize(*c), (cRect{0, 0, 128, 64}));
  const Wex::rcBitmapGraphicsContext* kept = c->GetOffscreen().Get();
  c->Draw(*target, {40, 40, 50, 50});
  EXPECT_EQ(c->GetOffscreen().Get(), kept);
  // The bitmap is left as it was, untranslated.
  EXPECT_EQ(kept->GetOffset(), (Wex::cPoint{0, 0}));
}

TEST(OffscreenContainer, TilesNeverExceedTheContainer) {
  auto c = NewOffscreen({0, 0, 50, 70});
  auto target = NewTarget(300, 200);
  c->Draw(*target, {0, 0, 300, 200});
  EXPECT_EQ(OffscreenSize(*c), (cRect{0, 0, 50, 70}));
}

TEST(OffscreenContainer, EmptyConstructionRectangleMeansNoTileLimit) {
  auto c = NewOffscreen({});
  c->SetSize({0, 0, 300, 200});
  auto target = NewTarget(300, 200);
  c->Draw(*target, {0, 0, 100, 50});
  EXPECT_EQ(OffscreenSize(*c), (cRect{0, 0, 128, 64}));
}

TEST(OffscreenContainer, NothingOutsideTheClipIsDrawn) {
  auto c = NewOffscreen({0, 0, 100, 100});
  auto target = NewTarget(100, 100);
  {
    Wex::cClipScope clip(*target, {50, 50, 60, 60});
    c->Draw(*target, {0, 0, 40, 40});
    c->Draw(*target, {55, 55, 55, 90});
  }
  EXPECT_FALSE(c->GetOffscreen());
}

// Children that paint every pixel look exactly the same drawn through tiles as drawn directly
// (the bitmap is not cleared between tiles, so unpainted pixels would keep older contents).
TEST(OffscreenContainer, TiledDrawingMatchesDirectDrawing) {
  auto tiled = NewOffscreen({0, 0, 45, 37});
  ref<Wex::rcGUIContainer> direct(new Wex::rcGUIContainer({0, 0, 45, 37}));
  for (auto* c : {static_cast<Wex::rcGUIContainer*>(tiled.Get()), direct.Get()}) {
    c->AddChild(ref<Wex::rcSolidColorElement>(new Wex::rcSolidColorElement({-9, -9, 200, 200}, 10, 20, 30)));
    c->AddChild(ref<Wex::rcSolidColorElement>(new Wex::rcSolidColorElement({7, 3, 80, 33}, 200, 0, 0)));
    c->AddChild(ref<Wex::rcSolidColorElement>(new Wex::rcSolidColorElement({40, 30, 90, 90}, 0, 250, 0)));
  }
  auto viaTiles = NewTarget(100, 100);
  auto straight = NewTarget(100, 100);
  viaTiles->Translate({-5, -6});
  straight->Translate({-5, -6});
  {
    Wex::cClipScope clip(*viaTiles, {0, 0, 90, 80});
    tiled->Draw(*viaTiles, {2, 1, 100, 100});
  }
  {
    Wex::cClipScope clip(*straight, {2, 1, 90, 80});
    direct->Draw(*straight, {2, 1, 100, 100});
  }
  EXPECT_EQ(OffscreenSize(*tiled), (cRect{0, 0, 45, 37}));
  int differences = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) differences += GuiTest::Pixel(*viaTiles, x, y) != GuiTest::Pixel(*straight, x, y);
  }
  EXPECT_EQ(differences, 0);
  EXPECT_EQ(GuiTest::Pixel(*viaTiles, 80, 75), 0xFF00FA00u);
  EXPECT_EQ(GuiTest::Pixel(*viaTiles, 10, 10), 0xFF0A141Eu);
}

TEST(OffscreenContainer, OtherPixelSizesUseA16BitBitmap) {
  auto c = NewOffscreen({0, 0, 64, 64}, 16);
  c->AddChild(ref<Wex::rcSolidColorElement>(new Wex::rcSolidColorElement({0, 0, 64, 64}, 255, 0, 0)));
  auto target = NewTarget(64, 64);
  c->Draw(*target, {0, 0, 64, 64});
  EXPECT_EQ(c->GetOffscreen()->GetBitsPerPixel(), 16);
  EXPECT_TRUE(c->GetOffscreen()->GetPixelContext16());
  EXPECT_EQ(GuiTest::CountOther(*target, {0, 0, 64, 64}, 0xFFFF0000u), 0);
}

}  // namespace
