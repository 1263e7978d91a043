#include "orv/patterns.h"

#include <gtest/gtest.h>

#include <string>

#include "orv/tests/test_support.h"

namespace ORV {
namespace {

using Testing::Drawing;

constexpr QorRaster::Pixel kRed = 0xFFFF0000;

// The bounds of the image of the pattern in the fill slot, after the source has run.
QorRaster::IntRect TileOf(double scale, const std::string& source)
{
    Drawing drawing(1, 1, scale);
    drawing.Run(source);
    const PaintSlot& fill = drawing.executor.GetState().fill;
    const auto* const pattern = dynamic_cast<const ImagePattern*>(fill.paint.Get());
    if (pattern == nullptr)
        return QorRaster::IntRect(-1, -1, -1, -1);
    return pattern->GetBounds();
}

TEST(PatternTest, ResolutionFollowsTheTransformAndTheOption)
{
    EXPECT_EQ(TileOf(1, "fill pattern: [bounds 0,0,10,10]"), QorRaster::IntRect(0, 0, 10, 10));
    EXPECT_EQ(TileOf(2, "fill pattern: [bounds 0,0,10,10]"), QorRaster::IntRect(0, 0, 20, 20));
    EXPECT_EQ(TileOf(1, "options pattern-resolution: 2; fill pattern: [bounds -1,2,10,10]"),
              QorRaster::IntRect(-2, 4, 20, 20));
    EXPECT_EQ(TileOf(1, "scale 1.00005; fill pattern: [bounds 0,0,10,10]"), QorRaster::IntRect(0, 0, 10, 10));
    EXPECT_EQ(TileOf(1, "scale 1.5,0.5; fill pattern: [bounds 0,0,10,10]"), QorRaster::IntRect(0, 0, 20, 20));
    // A transform that shrinks to nothing still renders at one pixel per unit.
    EXPECT_EQ(TileOf(1, "scale 0; fill pattern: [bounds 0,0,3,3]"), QorRaster::IntRect(0, 0, 3, 3));
}

TEST(PatternTest, TilesRepeatOverThePlane)
{
    Drawing drawing(20, 2);
    drawing.Run("fill pattern: [bounds 0,0,10,1; fill red; rect 0,0,5,1]; rect 0,0,20,2");
    const std::string half = "FFFF0000 FFFF0000 FFFF0000 FFFF0000 FFFF0000 00000000 00000000 00000000 00000000 00000000";
    EXPECT_EQ(drawing.Row(0), half + " " + half);
    EXPECT_EQ(drawing.Row(1), half + " " + half);
    // Drawn at twice the scale, the body is rendered at twice the resolution: the same picture,
    // twice as large, and as sharp.
    Drawing large(40, 1, 2);
    large.Run("fill pattern: [bounds 0,0,10,1; fill red; rect 0,0,5,1]; rect 0,0,20,0.5");
    EXPECT_EQ(large.At(0, 0), kRed);
    EXPECT_EQ(large.At(9, 0), kRed);
    EXPECT_EQ(large.At(10, 0), 0u);
    EXPECT_EQ(large.At(19, 0), 0u);
    EXPECT_EQ(large.At(29, 0), kRed);
    // A pattern declared away from the origin keeps its phase: the tile's area is where it lies.
    Drawing shifted(10, 1);
    shifted.Run("fill pattern: [bounds 3,0,5,1; fill red; rect 3,0,1,1]; rect 0,0,10,1");
    EXPECT_EQ(shifted.Row(0), "00000000 00000000 00000000 FFFF0000 00000000 00000000 00000000 00000000 FFFF0000 "
                              "00000000");
}

TEST(PatternTest, RelativeTilesCoverTheShape)
{
    // One tile of two pixels stretched over a shape eight wide: red, blending to transparent.
    Drawing drawing(12, 1);
    drawing.Run("fill pattern: [bounds 0,0,2,1; fill red; rect 0,0,1,1] relative: yes; rect 4,0,8,1");
    EXPECT_EQ(drawing.At(4, 0), kRed);
    EXPECT_EQ(drawing.At(6, 0), 0x7F7F0000u);
    EXPECT_EQ(drawing.At(8, 0), 0u);
    // Only the centre of the transparent column is transparent; around it the red of the
    // neighbouring tiles blends in.
    EXPECT_NE(drawing.At(9, 0), 0u);
    EXPECT_EQ(drawing.CountPainted(), 7);
    // Declared away from the origin, the tile keeps its size and moves with its origin.
    Drawing away(12, 1);
    away.Run("fill pattern: [bounds 1,0,2,1; fill red; rect 1,0,1,1] relative: yes; rect 4,0,8,1");
    EXPECT_EQ(away.Row(0), drawing.Row(0));
    // The paint transform applies before the map onto the shape.
    Drawing halved(12, 1);
    halved.Run("fill pattern: [bounds 0,0,2,1; fill red; rect 0,0,1,1] relative: yes transform: [scale 0.5,1]");
    halved.Run("rect 4,0,8,1");
    EXPECT_EQ(halved.At(4, 0), kRed);
    EXPECT_EQ(halved.At(6, 0), 0u);
    EXPECT_EQ(halved.At(8, 0), kRed);
}

TEST(PatternTest, BodiesStartFromTheRunningStateWithoutItsClip)
{
    // The body borrows the fill in force and is not clipped by the running mask; the shape that
    // is filled with the pattern is.
    Drawing drawing(4, 1);
    drawing.Run("fill red; mask [rect 0,0,1,1]; fill pattern: [bounds 0,0,4,1; rect 1,0,3,1]; rect 0,0,4,1");
    EXPECT_EQ(drawing.Row(0), "00000000 00000000 00000000 00000000");
    drawing.Run("mask [] inverted: yes; rect 0,0,4,1");
    EXPECT_EQ(drawing.Row(0), "00000000 FFFF0000 FFFF0000 FFFF0000");
    // "reset" in a body returns to the state the body started with: its scale, its paints.
    Drawing scaled(4, 1, 2);
    scaled.Run("fill red; fill pattern: [bounds 0,0,2,1; fill none; scale 4; reset; rect 0,0,1,1]; rect 0,0,2,0.5");
    EXPECT_EQ(scaled.Row(0), "FFFF0000 FFFF0000 00000000 00000000");
    // The caller's state is untouched by the body.
    const DrawingState& state = scaled.executor.GetState();
    EXPECT_EQ(state.transform, QorRaster::Transform().ScaleUniform(2));
}

TEST(PatternTest, OpacityAndVisibility)
{
    Drawing drawing(2, 1);
    drawing.Run("fill pattern: [bounds 0,0,1,1; wipe red] opacity: 0.5; rect 0,0,2,1");
    EXPECT_EQ(drawing.Row(0), "80800000 80800000");
    // A body without bounds and drawing makes an invisible pattern, which paints nothing.
    Drawing empty(2, 1);
    empty.Run("fill pattern: [options curve-quality: 2; fill red; pen blue]; rect 0,0,2,1");
    const PaintSlot& fill = empty.executor.GetState().fill;
    ASSERT_TRUE(fill.paint);
    EXPECT_FALSE(fill.paint->IsVisible(fill));
    EXPECT_EQ(empty.CountPainted(), 0);
    // Wipe and pen take patterns too.
    Drawing wiped(3, 3);
    wiped.Run("wipe pattern: [bounds 0,0,2,2; fill red; rect 0,0,1,1]");
    EXPECT_EQ(wiped.Row(0), "FFFF0000 00000000 FFFF0000");
    EXPECT_EQ(wiped.Row(1), "00000000 00000000 00000000");
    Drawing stroked(4, 3);
    stroked.Run("pen pattern: [bounds 0,0,2,1; wipe red] width: 1; path svg: [M0 1.5 H4]");
    EXPECT_EQ(stroked.Row(1), "FFFF0000 FFFF0000 FFFF0000 FFFF0000");
    EXPECT_EQ(stroked.CountPainted(), 4);
}

TEST(PatternTest, BoundsErrors)
{
    Drawing drawing(2, 1);
    const PaintSlot& fill = drawing.executor.GetState().fill;
    drawing.Run("fill red");
    const Paint* const red = fill.paint.Get();
    EXPECT_EQ(drawing.Fail("fill pattern: [rect 0,0,1,1]").text, "RunTime: Undeclared bounds");
    EXPECT_EQ(drawing.Fail("fill pattern: [wipe red]").text, "RunTime: Undeclared bounds");
    EXPECT_EQ(drawing.Fail("fill pattern: [mask []]").text, "RunTime: Undeclared bounds");
    EXPECT_EQ(drawing.Fail("fill pattern: [bounds 0,0,1,1; bounds 0,0,1,1]").text,
              "RunTime: Multiple bounds declarations");
    // A second declaration is refused before its own values are looked at.
    EXPECT_EQ(drawing.Fail("fill pattern: [bounds 0,0,1,1; bounds 0,0,0,1]").text,
              "RunTime: Multiple bounds declarations");
    EXPECT_EQ(drawing.Fail("fill pattern: [bounds 0,0,0,1]").text, "RunTime: Value out of range");
    EXPECT_EQ(drawing.Fail("fill pattern: [bounds 0,0,1,-1]").text, "RunTime: Value out of range");
    EXPECT_EQ(drawing.Fail("fill pattern: [bounds 0,0,1,1; mask [bounds 0,0,1,1]]").text,
              "RunTime: Bounds cannot be declared for mask");
    EXPECT_EQ(drawing.Fail("fill pattern: [bounds 0,0,1,1; fill bleu]").text, "Syntax: Invalid color");
    // Failed bodies leave the previous paint, and nothing was drawn.
    EXPECT_EQ(fill.paint.Get(), red);
    EXPECT_EQ(drawing.CountPainted(), 0);
    // A pattern wins over a gradient, which is then left over.
    EXPECT_EQ(drawing.Fail("fill pattern: [bounds 0,0,1,1] gradient: [linear 0,0,1,0 from: red to: blue]").text,
              "Syntax: Unrecognized labels or too many arguments");
    EXPECT_NE(dynamic_cast<const ImagePattern*>(fill.paint.Get()), nullptr);
}

TEST(PatternTest, BoundsBeyondTheRangeAreRefusedBeforeAnyPixel)
{
    Drawing drawing(1, 1);
    // Rectangles that leave the plane, or whose side overflows 32 bits once scaled.
    for (const char* bounds : {"0,0,2147483647,1", "-1073741825,0,1,1", "1073741823,0,2,1", "0,0,1,1073741824"}) {
        EXPECT_EQ(drawing.Fail(std::string("fill pattern: [bounds ") + bounds + "; wipe red]").text,
                  "RunTime: Value out of range")
            << bounds;
    }
    Drawing triple(1, 1, 3);
    // 3 * 1431655766 wraps to 2 in 32 bits.
    EXPECT_EQ(triple.Fail("fill pattern: [bounds 0,0,1431655766,1; wipe red]").text, "RunTime: Value out of range");
    EXPECT_EQ(triple.Fail("fill pattern: [bounds 0,0,715827883,1; wipe red]").text, "RunTime: Value out of range");
    // Too many values to allocate.
    EXPECT_EQ(drawing.Fail("fill pattern: [bounds 0,0,100000,100000; wipe red]").text, "RunTime: Value out of range");
    EXPECT_EQ(drawing.CountPainted(), 0);
    EXPECT_FALSE(drawing.executor.GetState().fill.paint);
}

TEST(PatternTest, PatternsOfARunShareOneAllowance)
{
    // Coverage patterns, one byte a value, of a little more than half the allowance each: one
    // after the other they fit, one inside the other they do not.
    Drawing drawing(1, 1);
    const std::string big = "bounds 0,0,8192,4097";
    drawing.Run("mask [fill pattern: [" + big + "]]; mask [fill pattern: [" + big + "]]");
    EXPECT_EQ(drawing.executor.PatternValuesLeft(), kPatternValuesLimit);
    EXPECT_EQ(drawing.Fail("mask [fill pattern: [" + big + "; fill pattern: [" + big + "]]]").text,
              "RunTime: Value out of range");
    EXPECT_EQ(drawing.executor.PatternValuesLeft(), kPatternValuesLimit);
    drawing.Run("fill pattern: [bounds 0,0,4,4]");
    EXPECT_EQ(drawing.executor.PatternValuesLeft(), kPatternValuesLimit - 16);
    drawing.Run("fill red");
    EXPECT_EQ(drawing.executor.PatternValuesLeft(), kPatternValuesLimit);
}

TEST(PatternTest, PatternsAsLargeAsTheLargestImageFit)
{
    // A tile of 2049 by 2048 units at twice the scale: 16.8 million pixels.
    Drawing scaled(4, 1, 2);
    scaled.Run("fill pattern: [bounds 0,0,2049,2048; fill red; rect 0,0,1,1]; pen none; rect 0,0,2,1");
    EXPECT_EQ(scaled.Row(0), "FFFF0000 FFFF0000 00000000 00000000");
    // The allowance holds as many values as the largest image has pixels, and not one row more.
    Drawing drawing(2, 1);
    drawing.Run("mask [fill pattern: [bounds 0,0,8192,8192; rect 0,0,1,1]; rect 0,0,2,1]; wipe red");
    EXPECT_EQ(drawing.Row(0), "FFFF0000 00000000");
    EXPECT_EQ(drawing.Fail("mask [fill pattern: [bounds 0,0,8192,8193]]").text, "RunTime: Value out of range");
}

TEST(PatternTest, MaskSidePatternsTileCoverage)
{
    Drawing drawing(4, 1);
    drawing.Run("mask [fill pattern: [bounds 0,0,2,1; rect 0,0,1,1; fill 0.5; rect 1,0,1,1]; rect 0,0,4,1]; wipe red");
    EXPECT_EQ(drawing.Row(0), "FFFF0000 80800000 FFFF0000 80800000");
    // Colours belong to the image side; the mask side draws no colours.
    Drawing other(2, 1);
    EXPECT_EQ(other.Fail("mask [fill pattern: [bounds 0,0,1,1; fill red]]").text, "RunTime: Invalid number");
    other.Run("fill pattern: [bounds 0,0,1,1; mask [rect 0,0,1,1]; wipe red]; rect 0,0,2,1");
    EXPECT_EQ(other.Row(0), "FFFF0000 FFFF0000");
}

} // namespace
} // namespace ORV
