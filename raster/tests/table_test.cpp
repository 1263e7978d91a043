#include <gtest/gtest.h>

#include <cmath>

#include "raster/color.h"
#include "raster/table.h"

namespace QorRaster {
namespace {

TEST(GammaTableTest, EntriesFollowThePowerCurve) {
  const GammaTable gamma2(2.0);
  EXPECT_EQ(gamma2.fEntries[0], 0);
  EXPECT_EQ(gamma2.fEntries[64], 128);
  EXPECT_EQ(gamma2.fEntries[255], 255);
  EXPECT_FALSE(gamma2.fFlag);
  const GammaTable identity(1.0);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(identity.fEntries[static_cast<std::size_t>(i)], i);
  const GammaTable bad(-1.0);  // not a valid gamma, but defined
  EXPECT_EQ(bad.fEntries[0], 255);
  EXPECT_EQ(bad.fEntries[255], 255);
}

TEST(MaskTableTest, RampBetweenTwoStops) {
  MaskTable table;
  const MaskStop stops[] = {{0.0, 0}, {1.0, 255}};
  table.Build(stops);
  EXPECT_EQ((std::vector<Coverage>(table.fEntries.begin(), table.fEntries.begin() + 5)),
            (std::vector<Coverage>{0, 0, 1, 2, 3}));
  EXPECT_EQ(table.fEntries[100], 99);
  EXPECT_EQ(table.fEntries[254], 253);
  EXPECT_EQ(table.fEntries[255], 255);
  EXPECT_FALSE(table.fFlag);
  const MaskStop full[] = {{0.0, 255}, {1.0, 255}};
  table.Build(full);
  EXPECT_TRUE(table.fFlag);
  for (Coverage v : table.fEntries) EXPECT_EQ(v, 255);
}

TEST(MaskTableTest, ValuesHoldBeforeTheFirstAndAfterTheLastStop) {
  MaskTable table;
  const MaskStop stops[] = {{0.25, 200}, {0.5, 100}, {0.5, 40}, {0.75, 40}};
  table.Build(stops);
  // Positions 64, 128, 128 and 191.
  for (int e = 0; e <= 64; ++e) EXPECT_EQ(table.fEntries[static_cast<std::size_t>(e)], 200) << e;
  EXPECT_EQ(table.fEntries[96], 200 + ((-100 * ((32 * (0x40000000 / 64)) >> 22)) >> 8));
  EXPECT_EQ(table.fEntries[128], 40);  // the zero-length segment is passed over
  for (int e = 128; e < 256; ++e) EXPECT_EQ(table.fEntries[static_cast<std::size_t>(e)], 40) << e;
}

TEST(MaskTableTest, NoStopsOrWildPositionsStayDefined) {
  MaskTable table;
  const MaskStop full[] = {{0.0, 255}};
  table.Build(full);
  ASSERT_TRUE(table.fFlag);
  table.Build({});
  EXPECT_FALSE(table.fFlag);
  for (Coverage v : table.fEntries) EXPECT_EQ(v, 0);
  const MaskStop wild[] = {{-1e300, 0}, {1e300, 255}, {NAN, 10}};
  table.Build(wild);
  const MaskStop far[] = {{-1e300, 0}, {1e300, 255}};
  table.Build(far);
  EXPECT_EQ(table.fEntries[0], table.fEntries[255]);  // the ramp is spread far beyond 0..255
}

TEST(PaletteTest, OneStopFillsThePaletteAndTwoStopsInterpolatePackedChannels) {
  Palette palette;
  const PaletteStop one[] = {{0.3, 0x80402010}};
  palette.Build(one);
  for (Pixel p : palette.fEntries) EXPECT_EQ(p, 0x80402010u);
  EXPECT_FALSE(palette.fFlag);

  const PaletteStop two[] = {{0.0, 0xFF0000FF}, {1.0, 0xFFFF0000}};
  palette.Build(two);
  EXPECT_TRUE(palette.fFlag);
  EXPECT_EQ(palette.fEntries[0], 0xFF0000FFu);
  EXPECT_EQ(palette.fEntries[255], 0xFFFF0000u);
  // Entry 128: f = 128 * (2^30 / 255) >> 22 = 128; blue falls 255 -> 128 - 1 borrow, red rises.
  const std::uint32_t f = (128u * (0x40000000u / 255u)) >> 22;
  const std::uint32_t rb = (0x000000FFu + (((0x00FF0000u - 0x000000FFu) * f) >> 8)) & 0x00FF00FFu;
  EXPECT_EQ(palette.fEntries[128], 0xFF000000u + rb);
  EXPECT_EQ(palette.fEntries[128] >> 24, 0xFFu);

  const PaletteStop fade[] = {{0.0, 0xFFFFFFFF}, {1.0, 0x00000000}};
  palette.Build(fade);
  EXPECT_FALSE(palette.fFlag);
  for (Pixel p : palette.fEntries) {
    const Pixel a = p >> 24;
    EXPECT_LE((p >> 16) & 0xFF, a);  // stays premultiplied
    EXPECT_LE(p & 0xFF, a);
  }
  palette.Build({});
  for (Pixel p : palette.fEntries) EXPECT_EQ(p, 0u);
}

TEST(HSVTest, PrimaryHuesGreysAndAlpha) {
  EXPECT_EQ(HSVToARGB(0, 1, 1, 1), 0xFFFF0000u);
  EXPECT_EQ(HSVToARGB(1, 1, 1, 1), 0xFFFF0000u);
  EXPECT_EQ(HSVToARGB(1.0 / 3, 1, 1, 1), 0xFF00FF00u);
  EXPECT_EQ(HSVToARGB(2.0 / 3, 1, 1, 1), 0xFF0000FFu);
  EXPECT_EQ(HSVToARGB(0, 0, 1, 0.5), 0x7F7F7F7Fu);
  EXPECT_EQ(HSVToARGB(0.5, 1, 0, 0.5), 0x7F000000u);
  EXPECT_EQ(HSVToARGB(1.01, 1, 1, 1), 0u);
  EXPECT_EQ(HSVToARGB(0.5, 0.5, 0.5, 1), 0xFF3F7F7Fu);  // cyan half: p = 63, V = 127
  EXPECT_EQ(HSVToARGB(0.25, 1, 1, 0), 0u);
}

TEST(HSVTest, OutOfRangeInputsStayPremultiplied) {
  for (double v : {-1.0, 2.0, 1e20, double{NAN}}) {
    const Pixel p = HSVToARGB(0.1, 0.5, v, 0.5);
    const Pixel a = p >> 24;
    EXPECT_LE((p >> 16) & 0xFF, a);
    EXPECT_LE((p >> 8) & 0xFF, a);
    EXPECT_LE(p & 0xFF, a);
  }
}

}  // namespace
}  // namespace QorRaster
