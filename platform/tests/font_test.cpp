#include "platform/font.h"

#include <gtest/gtest.h>

namespace {

TEST(PlatformFont, SystemFamilyHasAnInstalledStandIn) {
  const Platform::FontFace* system = Platform::FontFace::Find("Lucida Grande", true);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(Platform::FontFace::Find("lucida grande", true), system);
  EXPECT_EQ(Platform::FontFace::Find("DejaVu Sans", true), system);
}

TEST(PlatformFont, DesignMetricsComeFromTheFontFile) {
  // DejaVu Sans: 2048 units per em, ascender 1901, descender -483, line height 2384.
  const Platform::FontFace* face = Platform::FontFace::Find("DejaVu Sans", true);
  ASSERT_NE(face, nullptr);
  const Platform::FontDesignMetrics& m = face->GetDesignMetrics();
  EXPECT_EQ(m.unitsPerEm, 2048);
  EXPECT_EQ(m.ascent, 1901);
  EXPECT_EQ(m.descent, -483);
  EXPECT_EQ(m.leading, 0);
}

TEST(PlatformFont, UnknownFamilyIsOnlyFoundAsASubstitute) {
  EXPECT_EQ(Platform::FontFace::Find("No Such Family 7c1e", true), nullptr);
  EXPECT_NE(Platform::FontFace::Find("No Such Family 7c1e", false), nullptr);
  EXPECT_EQ(Platform::FontFace::Find("", true), nullptr);
}

TEST(PlatformFont, ScaledFontsBeyondTheEnginesRangeAreRefusedWithoutHarm) {
  const Platform::FontFace* face = Platform::FontFace::Find("DejaVu Sans", true);
  ASSERT_NE(face, nullptr);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_matrix_t identity, magnify;
  cairo_matrix_init_identity(&identity);
  cairo_matrix_init_scale(&magnify, 1000, 1000);
  EXPECT_EQ(face->CreateScaledFont(0, identity, options), nullptr);
  EXPECT_EQ(face->CreateScaledFont(1e6, identity, options), nullptr);
  EXPECT_EQ(face->CreateScaledFont(-1e6, identity, options), nullptr);
  EXPECT_EQ(face->CreateScaledFont(100, magnify, options), nullptr);
  // The face is unharmed and still scales to ordinary sizes, mirrored ones included.
  for (double size : {12.0, -12.0, 0.5}) {
    cairo_scaled_font_t* scaled = face->CreateScaledFont(size, identity, options);
    ASSERT_NE(scaled, nullptr) << size;
    cairo_scaled_font_destroy(scaled);
  }
  cairo_font_options_destroy(options);
}

TEST(PlatformFont, FamilyNamesAreNotParsedAsPatterns) {
  // Characters that fontconfig's name syntax gives a meaning must stay part of the family.
  EXPECT_EQ(Platform::FontFace::Find("DejaVu Sans:bold", true), nullptr);
  EXPECT_EQ(Platform::FontFace::Find("DejaVu Sans-12", true), nullptr);
}

}  // namespace
