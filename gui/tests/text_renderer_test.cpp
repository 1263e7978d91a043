// Platform text up to the threshold draws pixel for pixel as cairo_show_text, larger text the same
// within anti-aliasing; advances and end points are cairo's at every size.
#include "gui/text_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gui/bitmap_context.h"
#include "gui/tests/pixels.h"
#include "platform/font.h"
#include "platform/text.h"

namespace {

using GuiTest::Pixel;
using Wex::cPoint;

constexpr int kWidth = 400, kHeight = 160;

// A bitmap under a scaling by s and a rotation, with the face at the size selected as cairo's own
// text calls use it, drawing in red.
ref<Wex::rcOffscreenContext32> NewBitmap(int size, double s, double degrees = 0) {
  ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(kWidth, kHeight, false));
  cairo_t* cr = bitmap->GetContext();
  cairo_rotate(cr, degrees * M_PI / 180);
  cairo_scale(cr, s, s);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_matrix_t ctm;
  cairo_get_matrix(cr, &ctm);
  cairo_scaled_font_t* font = Platform::FontFace::Find("DejaVu Sans", true)->CreateScaledFont(size, ctm, options);
  cairo_set_scaled_font(cr, font);
  cairo_scaled_font_destroy(font);
  cairo_font_options_destroy(options);
  cairo_set_source_rgb(cr, 1, 0, 0);
  return bitmap;
}

int Alpha(Wex::rcOffscreenContext32& bitmap, int x, int y) {
  return int(Pixel(bitmap, std::clamp(x, 0, kWidth - 1), std::clamp(y, 0, kHeight - 1)) >> 24);
}

TEST(TextRenderer, TextDrawsAsGlyphImagesUpToTheThresholdAndWithinAntiAliasingAboveIt) {
  const struct {
    int size;
    double scale, degrees;
    cPoint p;
    bool outlines;
  } cases[] = {
      {12, 1, 0, {3, 20}, false},      {128, 1, 0, {2, 130}, false},  {64, 2, 0, {1, 65}, false},
      {-100, 1, 0, {380, 30}, false},  {129, 1, 0, {2, 130}, true},   {65, 2, 0, {1, 66}, true},
      {-300, 1, 0, {390, -60}, true},  {100, 1.5, 30, {60, 40}, true}, {1000, 1, 0, {-300, 800}, true},
      {300, 1, 0, {-2000000000, 100}, true},  // far off the bitmap: nothing drawn
  };
  const std::string text = "AgW\xE9";
  for (const auto& c : cases) {
    const std::string row = std::to_string(c.size) + " at " + std::to_string(c.scale);
    auto drawn = NewBitmap(c.size, c.scale, c.degrees), shown = NewBitmap(c.size, c.scale, c.degrees);
    const Wex::rcFont font("DejaVu Sans", c.size);
    EXPECT_EQ(Wex::cTextRenderer(drawn->GetContext(), font).DrawsOutlines(), c.outlines) << row;
    const cPoint end = drawn->DrawText(c.p, {255, 0, 0}, font, text.c_str());
    cairo_move_to(shown->GetContext(), c.p.fX, c.p.fY);
    cairo_show_text(shown->GetContext(), Platform::Latin1ToUTF8(text).c_str());
    double x, y;
    cairo_get_current_point(shown->GetContext(), &x, &y);
    EXPECT_EQ(end, (cPoint{Wex::RoundToPixel(x), c.p.fY})) << row;
    long inkDrawn = 0, inkShown = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int a = Alpha(*drawn, x, y), b = Alpha(*shown, x, y);
        inkDrawn += a;
        inkShown += b;
        ASSERT_EQ(Pixel(*drawn, x, y), std::uint32_t(a) * 0x1010000u) << row << " at " << x << "," << y;  // red
        // Within anti-aliasing: a pixel may differ only on an edge of the glyph images.
        const bool edge = Alpha(*shown, x - 1, y) != b || Alpha(*shown, x + 1, y) != b ||
                          Alpha(*shown, x, y - 1) != b || Alpha(*shown, x, y + 1) != b;
        ASSERT_LE(std::abs(a - b), c.outlines && edge ? 255 : c.outlines ? 16 : 0) << row << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(inkShown > 0, c.p.fX > -1000) << row;
    EXPECT_NEAR(double(inkDrawn), double(inkShown), inkShown * 0.01) << row;
  }
}

TEST(TextRenderer, AdvancesAndEndPointsAreCairosAtEverySize) {
  const std::string text = "Wavy kerning: AV To 0123\xC4", utf8 = Platform::Latin1ToUTF8(text);
  for (const int size : {7, 128, 129, 700, 8000, -8000, 11000}) {
    for (const double scale : {1.0, 0.37}) {
      const std::string row = std::to_string(size) + " at " + std::to_string(scale);
      auto bitmap = NewBitmap(size, scale);
      cairo_t* cr = bitmap->GetContext();
      // cairo's text extents, and its pen after the text's outlines: neither makes glyph images.
      cairo_text_extents_t extents;
      cairo_text_extents(cr, utf8.c_str(), &extents);
      cairo_move_to(cr, 5, 50);
      cairo_text_path(cr, utf8.c_str());
      double x, y;
      cairo_get_current_point(cr, &x, &y);
      cairo_new_path(cr);
      const Wex::rcFont font("DejaVu Sans", size);
      EXPECT_NE(extents.x_advance, 0) << row;
      EXPECT_EQ(bitmap->GetTextWidth(font, text.c_str()), Wex::RoundToPixel(extents.x_advance)) << row;
      EXPECT_EQ(bitmap->DrawText({5, 50}, {}, font, text.c_str()), (cPoint{Wex::RoundToPixel(x), 50})) << row;
    }
  }
}

}  // namespace
