#include "orv/instructions.h"

#include <gtest/gtest.h>

#include "orv/tests/test_support.h"
#include "raster/polygon_mask.h"

namespace ORV {
namespace {

using Testing::Drawing;

constexpr QorRaster::Pixel kRed = 0xFFFF0000;

TEST(ShapeInstructionTest, Rect)
{
    Drawing drawing(4, 4);
    EXPECT_EQ(drawing.Fail("rect 1,1,2").text, "Syntax: Too few list elements");
    EXPECT_EQ(drawing.Fail("rect 1,1,2,2,2").text, "Syntax: Too many list elements");
    EXPECT_EQ(drawing.Fail("rect").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("rect 1,1,2,x").text, "RunTime: Invalid number");
    // Every argument must be known before "rounded" is read.
    EXPECT_EQ(drawing.Fail("rect 1,1,2,2 rounded: x extra: 1").text,
              "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(drawing.Fail("rect 1,1,2,2 rounded: 1,2,3").text, "Syntax: Too many list elements");
    drawing.Run("fill red; rect 1,1,2,2");
    EXPECT_EQ(drawing.Row(0), "00000000 00000000 00000000 00000000");
    EXPECT_EQ(drawing.Row(1), "00000000 FFFF0000 FFFF0000 00000000");
    EXPECT_EQ(drawing.Row(2), "00000000 FFFF0000 FFFF0000 00000000");
    EXPECT_EQ(drawing.CountPainted(), 4);
}

TEST(ShapeInstructionTest, RoundedRectCorners)
{
    // One radius gives circular corners: the same as two equal ones, different from an elliptic one.
    Drawing circular(8, 8), both(8, 8), elliptic(8, 8);
    circular.Run("fill red; rect 0,0,8,8 rounded: 3");
    both.Run("fill red; rect 0,0,8,8 rounded: [3 3]");
    elliptic.Run("fill red; rect 0,0,8,8 rounded: 3,1");
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(circular.Row(y), both.Row(y));
    EXPECT_EQ(circular.At(3, 3), kRed);
    EXPECT_EQ(circular.At(0, 3), kRed);
    EXPECT_EQ(circular.At(3, 0), kRed);
    // The corner pixels are cut by the arcs: only a little of them is covered.
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{7, 0}, std::pair{0, 7}, std::pair{7, 7}}) {
        EXPECT_GT(circular.At(x, y) >> 24, 0u);
        EXPECT_LT(circular.At(x, y) >> 24, 0x10u);
    }
    // Radii of 3 and 1 cut the corners less deeply along y.
    EXPECT_EQ(elliptic.At(0, 1), kRed);
    EXPECT_NE(circular.At(0, 1), kRed);
}

TEST(ShapeInstructionTest, Ellipse)
{
    Drawing drawing(6, 4);
    EXPECT_EQ(drawing.Fail("ellipse 2,2").text, "Syntax: Too few list elements");
    EXPECT_EQ(drawing.Fail("ellipse 2,2,1,1,1").text, "Syntax: Too many list elements");
    EXPECT_EQ(drawing.Fail("ellipse 2,2,2 rotation: 1").text, "Syntax: Unrecognized labels or too many arguments");
    drawing.Run("fill red; ellipse 3,2,3,2");
    EXPECT_EQ(drawing.At(2, 1), kRed);
    EXPECT_EQ(drawing.At(3, 2), kRed);
    // The ellipse reaches the middle of each side and cuts the corners.
    EXPECT_LT(drawing.At(0, 0) >> 24, 0x40u);
    EXPECT_GT(drawing.At(0, 1) >> 24, 0xC0u);
    EXPECT_LT(drawing.At(5, 3) >> 24, 0x40u);
    Drawing circle(4, 4);
    circle.Run("fill red; ellipse 2,2,2");
    EXPECT_EQ(circle.At(1, 1), kRed);
    EXPECT_EQ(circle.At(2, 2), kRed);
    EXPECT_LT(circle.At(0, 0) >> 24, 0x50u);
    EXPECT_GT(circle.At(0, 1) >> 24, 0xA0u);
    Drawing ellipse(6, 4);
    ellipse.Run("fill red; ellipse 3,2,2,3");
    EXPECT_EQ(ellipse.At(3, 0), kRed);
    EXPECT_EQ(ellipse.At(0, 1), 0u);
}

TEST(ShapeInstructionTest, StarArgumentsAndPolygons)
{
    Drawing drawing(8, 8);
    EXPECT_EQ(drawing.Fail("star 4,4,5").text, "Syntax: Too few list elements");
    EXPECT_EQ(drawing.Fail("star 4,4,5,1,2,3").text, "Syntax: Too many list elements");
    EXPECT_EQ(drawing.Fail("star 4,4,5.5,1").text, "RunTime: Invalid integer");
    // The rotation is converted first, before the list's elements.
    EXPECT_EQ(drawing.Fail("star 4,4,5.5,1 rotation: x").text, "RunTime: Invalid number");
    EXPECT_EQ(drawing.Fail("star 4,4,5,1 turn: 1").text, "Syntax: Unrecognized labels or too many arguments");
    // Four elements give a regular polygon: a square turned by 45 degrees has axis-parallel sides.
    drawing.Run("fill red; star 4,4,4,2.8284271247461903 rotation: 45");
    EXPECT_EQ(drawing.Row(1), "00000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000");
    EXPECT_EQ(drawing.Row(2), "00000000 00000000 FFFF0000 FFFF0000 FFFF0000 FFFF0000 00000000 00000000");
    EXPECT_EQ(drawing.Row(5), "00000000 00000000 FFFF0000 FFFF0000 FFFF0000 FFFF0000 00000000 00000000");
    EXPECT_EQ(drawing.CountPainted(), 16);
    // Two radii alternate, the first pointing up: spikes to the sides, nothing on the diagonals.
    Drawing star(8, 8);
    star.Run("fill red; star [4 4 8 4 1]");
    EXPECT_NE(star.At(4, 1), 0u);
    EXPECT_NE(star.At(6, 4), 0u);
    EXPECT_EQ(star.At(1, 1), 0u);
    EXPECT_EQ(star.At(6, 6), 0u);
}

TEST(ShapeInstructionTest, StarWithANegativeCountDrawsNothing)
{
    Drawing drawing(4, 4);
    drawing.Run("fill red; star 2,2,-1,2; star 2,2,-2147483648,2,1");
    EXPECT_EQ(drawing.CountPainted(), 0);
    drawing.Run("star 2,2,0,2; star 2,2,1,2");
    EXPECT_EQ(drawing.CountPainted(), 0);
}

TEST(ShapeInstructionTest, PathArgumentsAndDrawing)
{
    Drawing drawing(4, 2);
    EXPECT_EQ(drawing.Fail("path").text, "Syntax: Invalid PATH arguments");
    EXPECT_EQ(drawing.Fail("path [M0 0]").text, "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(drawing.Fail("path svg: X extra: 1").text, "Syntax: Invalid command in svg path data");
    EXPECT_EQ(drawing.Fail("path svg: [M0 0 H4 V2 H0 Z] extra: 1").text,
              "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(drawing.CountPainted(), 0);
    drawing.Run("fill red; path svg: []; path SVG: [m1 0 h2 v1 h-2 z]");
    EXPECT_EQ(drawing.Row(0), "00000000 FFFF0000 FFFF0000 00000000");
    EXPECT_EQ(drawing.Row(1), "00000000 00000000 00000000 00000000");
}

TEST(StateInstructionTest, FillSetsThePaintAndTheRule)
{
    Drawing drawing(2, 1);
    const DrawingState& state = drawing.executor.GetState();
    EXPECT_EQ(drawing.Fail("fill").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("fill other: 1").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("fill rule: winding").text, "Syntax: Unrecognized fill rule");
    drawing.Run("fill rule: EVEN-ODD");
    EXPECT_TRUE(state.evenOdd);
    EXPECT_FALSE(state.fill.paint);
    EXPECT_EQ(drawing.Fail("fill red other: 1").text, "Syntax: Unrecognized labels or too many arguments");
    EXPECT_TRUE(state.fill.paint); // read before the error
    drawing.Run("fill red rule: non-zero");
    EXPECT_FALSE(state.evenOdd);
    // A pattern or a gradient makes the paint: a colour beside it is left over.
    EXPECT_EQ(drawing.Fail("fill red gradient: [linear 0,0,1,0 from: red to: blue]").text,
              "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(drawing.Fail("fill red pattern: [bounds 0,0,1,1]").text,
              "Syntax: Unrecognized labels or too many arguments");
    // "none" is the transparent colour: shapes are no longer filled, but still stroked.
    drawing.Run("fill none; pen blue width: 0.5; path svg: [M0 0.25 H2 V0.75 H0 Z]");
    EXPECT_EQ(drawing.Row(0), "FF0000FF FF0000FF");
    Drawing unfilled(2, 1);
    unfilled.Run("fill none; rect 0,0,2,1");
    EXPECT_EQ(unfilled.CountPainted(), 0);
}

TEST(StateInstructionTest, PenSettingsInOrder)
{
    Drawing drawing(1, 1);
    const DrawingState& state = drawing.executor.GetState();
    EXPECT_EQ(drawing.Fail("pen").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("pen thickness: 2").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("pen width: 2 thickness: 2").text, "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(drawing.Fail("pen width: -0.5").text, "RunTime: Negative stroke width");
    EXPECT_EQ(drawing.Fail("pen caps: flat").text, "Syntax: Unrecognized stroke caps");
    EXPECT_EQ(drawing.Fail("pen joints: sharp").text, "Syntax: Unrecognized stroke joints");
    EXPECT_EQ(drawing.Fail("pen miter-limit: 0.99").text, "RunTime: Value out of range");
    EXPECT_EQ(drawing.Fail("pen dash: -1").text, "RunTime: Value out of range");
    EXPECT_EQ(drawing.Fail("pen dash: 1,-1").text, "RunTime: Value out of range");
    EXPECT_EQ(drawing.Fail("pen dash: 1,2,3").text, "Syntax: Too many list elements");
    EXPECT_EQ(drawing.Fail("pen dash-offset: x").text, "RunTime: Invalid number");
    EXPECT_EQ(drawing.Fail("pen width: x").text, "RunTime: Invalid number");

    // Settings read before an error stay applied.
    EXPECT_EQ(drawing.Fail("pen width: 2 caps: flat").text, "Syntax: Unrecognized stroke caps");
    EXPECT_EQ(state.penWidth, 2);
    drawing.Run("pen red; pen width: 3 caps: ROUND joints: Bevel miter-limit: 4 dash: 4 dash-offset: -7");
    EXPECT_EQ(state.penWidth, 3);
    EXPECT_EQ(state.caps, QorRaster::CapStyle::kRound);
    EXPECT_EQ(state.joints, QorRaster::JointStyle::kBevel);
    EXPECT_EQ(state.miterLimit, 4);
    EXPECT_EQ(state.dashOn, 4);
    EXPECT_EQ(state.dashOff, 4);
    EXPECT_EQ(state.dashOffset, -7);
    ASSERT_TRUE(state.pen.paint); // "pen width" keeps the paint
    drawing.Run("pen caps: square joints: curve dash: [2 1]");
    EXPECT_EQ(state.caps, QorRaster::CapStyle::kSquare);
    EXPECT_EQ(state.joints, QorRaster::JointStyle::kCurve);
    EXPECT_EQ(state.dashOn, 2);
    EXPECT_EQ(state.dashOff, 1);
    drawing.Run("pen dash: None caps: butt joints: miter");
    EXPECT_EQ(state.dashOn, 0);
    EXPECT_EQ(state.dashOff, 0);
    EXPECT_EQ(state.caps, QorRaster::CapStyle::kButt);
    EXPECT_EQ(state.joints, QorRaster::JointStyle::kMiter);
}

TEST(StateInstructionTest, Wipe)
{
    Drawing drawing(2, 2);
    EXPECT_EQ(drawing.Fail("wipe").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("wipe red rule: even-odd").text, "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(drawing.Fail("wipe red relative: yes").text, "RunTime: Relative paint is not allowed with wipe");
    EXPECT_EQ(drawing.CountPainted(), 0);
    drawing.Run("wipe red; wipe #80000080");
    EXPECT_EQ(drawing.Row(0), "FF7F0080 FF7F0080");
    EXPECT_EQ(drawing.Row(1), "FF7F0080 FF7F0080");
    // The fill and pen slots are not touched, and the clip mask limits the wipe.
    EXPECT_FALSE(drawing.executor.GetState().fill.paint);
    Drawing clipped(2, 1);
    clipped.Run("mask [rect 0,0,1,1]; wipe lime opacity: 0.5; wipe blue opacity: 0");
    EXPECT_EQ(clipped.Row(0), "80008000 00000000");
}

TEST(TransformInstructionTest, TransformsComposeWithTheNewestFirst)
{
    Drawing drawing(1, 1);
    QorRaster::Transform& transform = drawing.executor.GetState().transform;
    drawing.Run("offset 10,0; scale 2");
    EXPECT_EQ(transform.Apply({1, 1}).x, 12);
    EXPECT_EQ(transform.Apply({1, 1}).y, 2);
    drawing.Run("reset; scale 2,3; matrix 1,0,0,1,5,7");
    EXPECT_EQ(transform.Apply({0, 0}).x, 10);
    EXPECT_EQ(transform.Apply({0, 0}).y, 21);
    drawing.Run("reset; shear 1,0; rotate 90,1,1");
    const QorRaster::Point p = transform.Apply({2, 1});
    EXPECT_NEAR(p.x, 3, 1e-12); // rotated to (1, 2), then sheared
    EXPECT_NEAR(p.y, 2, 1e-12);
    drawing.Run("reset; rotate 90");
    EXPECT_NEAR(transform.Apply({1, 0}).y, 1, 1e-12);

    EXPECT_EQ(drawing.Fail("scale 1,2,3").text, "Syntax: Too many list elements");
    EXPECT_EQ(drawing.Fail("scale 2 3").text, "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(drawing.Fail("rotate 1,2").text, "Syntax: Invalid transform");
    EXPECT_EQ(drawing.Fail("rotate 1,2,3,4").text, "Syntax: Too many list elements");
    EXPECT_EQ(drawing.Fail("offset 1").text, "Syntax: Too few list elements");
    EXPECT_EQ(drawing.Fail("shear 1,2,3").text, "Syntax: Too many list elements");
    EXPECT_EQ(drawing.Fail("matrix 1,0,0,1,0").text, "Syntax: Too few list elements");
    EXPECT_EQ(drawing.Fail("matrix").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("offset 1,2 by: 1").text, "Syntax: Unrecognized labels or too many arguments");
    // Failed transforms change nothing.
    EXPECT_NEAR(transform.Apply({1, 0}).y, 1, 1e-12);
}

TEST(BlockInstructionTest, ContextArguments)
{
    Drawing drawing(1, 1);
    EXPECT_EQ(drawing.Fail("context").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("context [scale 2] extra: 1").text, "Syntax: Unrecognized labels or too many arguments");
    // The block is taken as written: its variables are expanded when it runs, inside.
    drawing.Run("w = 4; context [pen width: $w; w = 5]");
    EXPECT_EQ(drawing.executor.GetState().penWidth, 1);
    std::string value;
    EXPECT_TRUE(drawing.variables.Get("w", value));
    EXPECT_EQ(value, "5");
}

TEST(BlockInstructionTest, MaskMakesTheClip)
{
    Drawing drawing(4, 1);
    EXPECT_EQ(drawing.Fail("mask").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("mask [] inverted: maybe").text, "RunTime: Invalid boolean (should be 'yes' or 'no')");
    EXPECT_EQ(drawing.Fail("mask [] invert: yes").text, "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(drawing.Fail("mask [bounds 0,0,1,1]").text, "RunTime: Bounds cannot be declared for mask");
    // Shapes add coverage; a pen given in the block strokes coverage too.
    drawing.Run("mask [rect 0,0,1,1; fill 0.5; rect 1,0,1,1; pen #FF; path svg: [M3.5 0 V1]]; wipe red");
    EXPECT_EQ(drawing.Row(0), "FFFF0000 80800000 00000000 FFFF0000");
    // The next mask is clipped by the one in force and replaces it.
    drawing.Run("mask [wipe 1]; fill blue; rect 0,0,4,1");
    EXPECT_EQ(drawing.Row(0), "FF0000FF C0400080 00000000 FF0000FF");
}

TEST(BlockInstructionTest, EmptyAndInvertedMasks)
{
    Drawing empty(2, 1);
    empty.Run("mask []; fill red; rect 0,0,2,1; wipe red");
    EXPECT_EQ(empty.CountPainted(), 0);
    Drawing inverted(2, 1);
    inverted.Run("mask [] inverted: yes; fill red; rect 0,0,2,1");
    EXPECT_EQ(inverted.Row(0), "FFFF0000 FFFF0000");
    Drawing half(2, 1);
    half.Run("mask [rect 0,0,0.5,1] inverted: yes; wipe red");
    EXPECT_EQ(half.Row(0), "7F7F0000 FFFF0000");
}

TEST(BlockInstructionTest, ResetInsideAMaskReturnsToTheCallingState)
{
    // The calling state's colour paints draw nothing onto the mask, and its transform applies.
    Drawing drawing(4, 1);
    drawing.Run("fill red; scale 2; mask [rect 0,0,0.5,1; reset; rect 1,0,1,1]; wipe blue");
    EXPECT_EQ(drawing.Row(0), "FF0000FF 00000000 00000000 00000000");
}

TEST(StateInstructionTest, Bounds)
{
    Drawing drawing(1, 1);
    drawing.Run("bounds 0,0,10,10; bounds [-1 -2 3 4]");
    EXPECT_EQ(drawing.CountPainted(), 0);
    EXPECT_EQ(drawing.Fail("bounds 1,2,3").text, "Syntax: Too few list elements");
    EXPECT_EQ(drawing.Fail("bounds 1,2,3,4,5").text, "Syntax: Too many list elements");
    EXPECT_EQ(drawing.Fail("bounds 1,2,,4").text, "RunTime: Invalid integer");
    EXPECT_EQ(drawing.Fail("bounds 1,2,3,4.5").text, "RunTime: Invalid integer");
    EXPECT_EQ(drawing.Fail("bounds 1,2,3,x extra: 1").text, "Syntax: Unrecognized labels or too many arguments");
}

TEST(StateInstructionTest, Options)
{
    Drawing drawing(1, 1);
    const DrawingState& state = drawing.executor.GetState();
    EXPECT_EQ(drawing.Fail("options").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("options quality: 1").text, "Syntax: Missing argument(s)");
    EXPECT_EQ(drawing.Fail("options aa-gamma: 100").text, "RunTime: Value out of range");
    EXPECT_EQ(drawing.Fail("options curve-quality: 0").text, "RunTime: Value out of range");
    EXPECT_EQ(drawing.Fail("options pattern-resolution: 0.00009").text, "RunTime: Value out of range");
    EXPECT_EQ(drawing.Fail("options curve-quality: 2 quality: 1").text,
              "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(state.curveQuality, 2);
    drawing.Run("options aa-gamma: 0.0001 curve-quality: 99.9999 pattern-resolution: 3");
    EXPECT_DOUBLE_EQ(state.aaGamma, 0.0001);
    EXPECT_TRUE(state.gammaTable);
    EXPECT_DOUBLE_EQ(state.curveQuality, 99.9999);
    EXPECT_EQ(state.patternResolution, 3);
}

TEST(StateInstructionTest, ResetTakesNoArguments)
{
    Drawing drawing(1, 1);
    EXPECT_EQ(drawing.Fail("reset now").text, "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(drawing.Fail("reset all: yes").text, "Syntax: Unrecognized labels or too many arguments");
    drawing.Run("fill red; pen blue width: 4; options aa-gamma: 2 curve-quality: 3; rotate 10; mask []; reset");
    const DrawingState& state = drawing.executor.GetState();
    EXPECT_FALSE(state.fill.paint);
    EXPECT_FALSE(state.pen.paint);
    EXPECT_FALSE(state.clipMask);
    EXPECT_FALSE(state.gammaTable);
    EXPECT_EQ(state.penWidth, 1);
    EXPECT_EQ(state.curveQuality, 1);
    EXPECT_EQ(state.transform, QorRaster::Transform());
}

TEST(PaintArgumentsTest, OpacityScalesTheColour)
{
    Drawing drawing(5, 1);
    drawing.Run("fill red opacity: #01; rect 0,0,1,1");
    EXPECT_EQ(drawing.Fail("fill opacity: 254").text, "RunTime: Value out of range");
    drawing.Run("fill opacity: #FE; rect 1,0,1,1; fill opacity: 1; rect 2,0,1,1");
    drawing.Run("fill opacity: 0; rect 3,0,1,1; fill #00000000 opacity: 1; rect 4,0,1,1");
    // Opacity 1 scales by 2/256, 254 by 255/256, 255 not at all; 0 and a transparent colour draw nothing.
    EXPECT_EQ(drawing.Row(0), "01010000 FEFE0000 FFFF0000 00000000 00000000");
}

TEST(PaintArgumentsTest, AbsentSettingsKeepTheirValues)
{
    Drawing drawing(1, 1);
    const PaintSlot& fill = drawing.executor.GetState().fill;
    drawing.Run("fill red opacity: 0.5 relative: yes transform: [scale 2; offset 1,0]");
    const Paint* const red = fill.paint.Get();
    EXPECT_EQ(fill.opacity, 128);
    EXPECT_TRUE(fill.relative);
    EXPECT_EQ(fill.transform.Apply({1, 1}).x, 4);
    drawing.Run("fill opacity: 1");
    EXPECT_EQ(fill.paint.Get(), red);
    EXPECT_EQ(fill.opacity, 255);
    EXPECT_TRUE(fill.relative);
    EXPECT_EQ(fill.transform.Apply({1, 1}).x, 4);
    drawing.Run("fill relative: no transform: []");
    EXPECT_FALSE(fill.relative);
    EXPECT_EQ(fill.transform, QorRaster::Transform());
    // What was read before an error stays: the new paint and opacity, not the relative flag.
    EXPECT_EQ(drawing.Fail("fill blue opacity: 0.5 relative: maybe").text,
              "RunTime: Invalid boolean (should be 'yes' or 'no')");
    EXPECT_NE(fill.paint.Get(), red);
    EXPECT_EQ(fill.opacity, 128);
    EXPECT_EQ(drawing.Fail("fill transform: [tilt 1]").text, "Syntax: Unrecognized instruction");
    EXPECT_EQ(drawing.Fail("fill bleu").text, "Syntax: Invalid color");
    EXPECT_EQ(drawing.Fail("fill opacity: 2").text, "RunTime: Value out of range");
}

TEST(PaintArgumentsTest, MaskSidePaintsAreOpacities)
{
    Drawing drawing(3, 1);
    drawing.Run("mask [fill #80; rect 0,0,1,1; fill 0.5 opacity: 0.5; rect 1,0,1,1; wipe #10 opacity: 0.5]; wipe red");
    // 0x80 + 0x08; 128 scaled by 129/256 (64) + 0x08; 0x10 scaled by 129/256 (8).
    EXPECT_EQ(drawing.Row(0), "88880000 48480000 08080000");
    EXPECT_EQ(drawing.Fail("mask [fill red]").text, "RunTime: Invalid number");
    EXPECT_EQ(drawing.Fail("mask [fill #800]").text, "Syntax: Invalid opacity");
}

} // namespace
} // namespace ORV
