#include "gui/graphics_context.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "base/exceptions.h"
#include "gui/bitmap_context.h"
#include "gui/tests/pixels.h"

namespace {

using GuiTest::CountOther;
using GuiTest::Pixel;
using Wex::cPoint;
using Wex::cRect;

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;

ref<Wex::rcOffscreenContext32> NewBitmap(int width, int height) {
  return ref<Wex::rcOffscreenContext32>(new Wex::rcOffscreenContext32(width, height, false));
}

std::string MessageOf(const Wex::xExceptionWithRCString& e) { return std::string(e.GetMessage()->GetText()); }

TEST(GraphicsContext, ClipScopesNestAndRestore) {
  auto c = NewBitmap(100, 80);
  EXPECT_EQ(c->GetClipBounds(), (cRect{0, 0, 100, 80}));
  {
    Wex::cClipScope outer(*c, {10, 20, 30, 40});
    EXPECT_EQ(c->GetClipBounds(), (cRect{10, 20, 30, 40}));
    {
      Wex::cClipScope inner(*c, {25, 0, 50, 50});
      EXPECT_EQ(c->GetClipBounds(), (cRect{25, 20, 30, 40}));
      c->FillRect({0, 0, 100, 80}, 255, 0, 0);
    }
    EXPECT_EQ(c->GetClipBounds(), (cRect{10, 20, 30, 40}));
  }
  EXPECT_EQ(c->GetClipBounds(), (cRect{0, 0, 100, 80}));
  EXPECT_EQ(CountOther(*c, {25, 20, 30, 40}, kRed), 0);
  EXPECT_EQ(Pixel(*c, 24, 20), 0u);
  EXPECT_EQ(Pixel(*c, 25, 40), 0u);
}

TEST(GraphicsContext, VisibilityNeedsOverlapNotContactAndAnEmptyClipHidesEverything) {
  auto c = NewBitmap(50, 50);
  const std::tuple<cRect, cRect, bool> cases[] = {
      {{10, 10, 20, 20}, {19, 19, 30, 30}, true}, {{10, 10, 20, 20}, {20, 10, 30, 20}, false},
      {{10, 10, 20, 20}, {0, 0, 10, 10}, false},  {{10, 10, 20, 20}, {0, 0, 100, 100}, true},
      {{}, {0, 0, 20, 20}, false}};
  for (const auto& [clip, r, visible] : cases) {
    Wex::cClipScope scope(*c, clip);
    EXPECT_EQ(c->IsRectVisible(r), visible) << r.fLeft << "," << r.fTop << " in " << clip.fLeft;
  }
  Wex::cClipScope none(*c, {});
  EXPECT_EQ(c->GetClipBounds(), cRect{});
  c->FillRect({0, 0, 20, 20}, 255, 0, 0);
  EXPECT_EQ(CountOther(*c, {0, 0, 50, 50}, 0), 0);
}

TEST(GraphicsContext, TranslateMovesTheOriginAndTheOffsetFollows) {
  auto c = NewBitmap(40, 30);
  EXPECT_EQ(c->GetOffset(), (cPoint{0, 0}));
  c->Translate({64, 32});
  EXPECT_EQ(c->GetOffset(), (cPoint{64, 32}));
  EXPECT_EQ(c->GetClipBounds(), (cRect{64, 32, 104, 62}));
  c->Translate({-70, 8});
  EXPECT_EQ(c->GetOffset(), (cPoint{-6, 40}));
  c->Translate({6, -40});
  // A point q now lands where q - p landed before the translations.
  c->FillRect({1, 2, 3, 4}, 255, 0, 0);
  EXPECT_EQ(Pixel(*c, 1, 2), kRed);
  EXPECT_EQ(Pixel(*c, 2, 3), kRed);
  EXPECT_EQ(CountOther(*c, {0, 0, 40, 30}, 0), 4);
}

TEST(GraphicsContext, FillRectCoversExactlyItsPixels) {
  auto c = NewBitmap(10, 10);
  c->FillRect({2, 3, 5, 7}, 0, 0, 255);
  EXPECT_EQ(CountOther(*c, {2, 3, 5, 7}, kBlue), 0);
  EXPECT_EQ(CountOther(*c, {0, 0, 10, 10}, 0), 12);
  c->FillRect({0, 0, 1, 1}, 10, 128, 254);
  EXPECT_EQ(Pixel(*c, 0, 0), 0xFF0A80FEu);
}

TEST(GraphicsContext, FrameRectPaintsTheOuterRing) {
  auto c = NewBitmap(10, 10);
  c->FrameRect({1, 1, 7, 6}, 255, 0, 0);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 1 && x < 7 && y >= 1 && y < 6;
      const bool ring = inside && (x == 1 || x == 6 || y == 1 || y == 5);
      EXPECT_EQ(Pixel(*c, x, y), ring ? kRed : 0u) << x << "," << y;
    }
  }
}

TEST(GraphicsContext, FrameRectOfNarrowRectanglesFillsThem) {
  auto c = NewBitmap(10, 10);
  c->FrameRect({0, 0, 1, 1}, 255, 0, 0);
  EXPECT_EQ(Pixel(*c, 0, 0), kRed);
  EXPECT_EQ(CountOther(*c, {0, 0, 10, 10}, 0), 1);
  c->FrameRect({3, 3, 5, 9}, 255, 0, 0);
  EXPECT_EQ(CountOther(*c, {3, 3, 5, 9}, kRed), 0);
  c->FrameRect({8, 8, 8, 9}, 255, 0, 0);
  EXPECT_EQ(CountOther(*c, {0, 0, 10, 10}, 0), 13);
}

TEST(GraphicsContextText, DrawingAdvancesByTheMeasuredWidth) {
  auto c = NewBitmap(200, 40);
  const Wex::rcFont font("", 16);
  const std::int32_t width = c->GetTextWidth(font, "Hello");
  EXPECT_GT(width, 20);
  const cPoint end = c->DrawText({10, 30}, {255, 0, 0}, font, "Hello");
  EXPECT_EQ(end, (cPoint{10 + width, 30}));
  // Glyphs stand above the baseline and start near the pen position.
  EXPECT_GT(CountOther(*c, {10, 10, 10 + width, 30}, 0), 20);
  EXPECT_EQ(CountOther(*c, {0, 0, 9, 40}, 0), 0);
  EXPECT_EQ(CountOther(*c, {0, 0, 200, 10}, 0), 0);
  // In the colour given: premultiplied red with as much red as coverage, no green or blue, and
  // fully covered pixels in pure red.
  EXPECT_LT(CountOther(*c, {10, 10, 10 + width, 30}, kRed), width * 20);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) {
      const std::uint32_t p = Pixel(*c, x, y);
      ASSERT_EQ(p & 0xFFFF, 0u) << x << "," << y;
      ASSERT_EQ((p >> 16) & 0xFF, p >> 24) << x << "," << y;
    }
  }
}

TEST(GraphicsContextText, CharactersOutsideMacRomanAreDrawnAndMeasuredAsQuestionMarks) {
  auto c = NewBitmap(400, 120);
  const Wex::rcFont font("Lucida Grande", 100);
  const std::int32_t question = c->GetTextWidth(font, "a?");
  EXPECT_EQ(c->GetTextWidth(font, "a\xA4"), question);  // currency sign
  EXPECT_EQ(c->GetTextWidth(font, "a\xD7"), question);  // multiplication sign
  EXPECT_EQ(c->GetTextWidth(font, "a\x85"), question);  // C1 control
  EXPECT_NE(c->GetTextWidth(font, "a\xE9"), question);  // e acute is kept
  EXPECT_EQ(c->DrawText({0, 100}, {}, font, "a\xD7").fX, question);

  // The same pixels as a drawn '?'.
  auto other = NewBitmap(400, 120);
  other->DrawText({0, 100}, {}, font, "a?");
  for (int y = 0; y < 120; y += 3) {
    for (int x = 0; x < question; x += 3) ASSERT_EQ(Pixel(*c, x, y), Pixel(*other, x, y)) << x << "," << y;
  }
}

TEST(GraphicsContextText, EmptyTextAndUndrawableSizesLeaveThePenInPlace) {
  auto c = NewBitmap(50, 50);
  EXPECT_EQ(c->DrawText({5, 20}, {}, Wex::rcFont("", 12), ""), (cPoint{5, 20}));
  EXPECT_EQ(c->DrawText({5, 20}, {}, Wex::rcFont("", 12), nullptr), (cPoint{5, 20}));
  EXPECT_EQ(c->DrawText({5, 20}, {}, Wex::rcFont("", 0), "abc"), (cPoint{5, 20}));
  EXPECT_EQ(c->GetTextWidth(Wex::rcFont("", 0), "abc"), 0);
  EXPECT_EQ(c->DrawText({5, 20}, {}, Wex::rcFont("", 1 << 30), "abc"), (cPoint{5, 20}));
  EXPECT_EQ(c->GetTextWidth(Wex::rcFont("", -(1 << 30)), "abc"), 0);
  // The context still draws, and so does the font at ordinary sizes.
  EXPECT_GT(c->GetTextWidth(Wex::rcFont("", 12), "abc"), 0);
  EXPECT_EQ(cairo_status(c->GetContext()), CAIRO_STATUS_SUCCESS);
  c->FillRect({0, 0, 1, 1}, 255, 0, 0);
  EXPECT_EQ(Pixel(*c, 0, 0), kRed);
}

TEST(GraphicsContextText, UnknownFacesStillDrawWithASubstitute) {
  auto c = NewBitmap(100, 30);
  const Wex::rcFont font("No Such Face 5d2", 12);
  EXPECT_GT(c->GetTextWidth(font, "abc"), 0);
  EXPECT_THROW(c->GetTextBounds({0, 0}, font, "abc"), Wex::xExceptionWithRCString);
}

TEST(GraphicsContextText, TextBoundsSpanAscentToDescent) {
  auto c = NewBitmap(10, 10);
  const Wex::rcFont font("", 100);
  std::int32_t leading, ascent, descent;
  Wex::GetFontMetrics(font, leading, ascent, descent);
  EXPECT_EQ(c->GetTextBounds({7, 50}, font, ""), (cRect{7, 50 - ascent, 7, 50 + descent}));
  const std::int32_t width = c->GetTextWidth(font, "Wg");
  EXPECT_EQ(c->GetTextBounds({7, 50}, font, "Wg"), (cRect{7, 50 - ascent, 7 + width, 50 + descent}));
}

TEST(Font, EmptyFaceNameIsTheSystemFont) {
  EXPECT_EQ(Wex::rcFont("", 12).GetName()->GetText(), "Lucida Grande");
  EXPECT_EQ(Wex::rcFont(nullptr, 9).GetName()->GetText(), "Lucida Grande");
  const Wex::rcFont font("DejaVu Serif", 14);
  EXPECT_EQ(font.GetName()->GetText(), "DejaVu Serif");
  EXPECT_EQ(font.GetSize(), 14);
}

TEST(Font, MetricsScaleTheDesignUnitsWithTruncation) {
  // The system font's stand-in has 2048 units per em, ascent 1901, descent 483 and no line gap:
  // 1901 × 100 / 2048 = 92.8 gives 92, 483 × 100 / 2048 = 23.6 gives 23.
  std::int32_t leading = -1, ascent = -1, descent = -1;
  Wex::GetFontMetrics(Wex::rcFont("", 100), leading, ascent, descent);
  EXPECT_EQ(ascent, 92);
  EXPECT_EQ(descent, 23);
  EXPECT_EQ(leading, 0);
  Wex::GetFontMetrics(Wex::rcFont("Lucida Grande", 12), leading, ascent, descent);
  EXPECT_EQ(ascent, 11);
  EXPECT_EQ(descent, 2);
  Wex::GetFontMetrics(Wex::rcFont("", -12), leading, ascent, descent);
  EXPECT_EQ(ascent, -11);
}

TEST(Font, MetricsOfAnUnknownFaceFailWithZeroedOutputs) {
  // Face names are Latin-1: "DéjàVu Sans" is no installed family; its bytes must reach fontconfig
  // as that text and fail cleanly rather than as malformed UTF-8.
  for (const char* face : {"No Such Face 5d2", "D\xE9j\xE0Vu Sans"}) {
    std::int32_t leading = 5, ascent = 6, descent = 7;
    try {
      Wex::GetFontMetrics(Wex::rcFont(face, 12), leading, ascent, descent);
      ADD_FAILURE() << "no exception for " << face;
    } catch (const Wex::xExceptionWithRCString& e) {
      EXPECT_EQ(MessageOf(e), "Cannot find font") << face;
    }
    EXPECT_TRUE(leading == 0 && ascent == 0 && descent == 0) << face;
  }
}

}  // namespace
