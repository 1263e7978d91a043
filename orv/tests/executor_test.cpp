#include "orv/executor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "orv/plain_paints.h"
#include "orv/tests/test_support.h"
#include "raster/solid.h"
#include "raster/table.h"

namespace ORV {
namespace {

using Testing::Drawing;
using Testing::FailureOf;

constexpr QorRaster::Pixel kRed = 0xFFFF0000;

TEST(ExecutorTest, RecognisesTheSeventeenInstructionsInAnyCase)
{
    Drawing drawing(4, 4);
    for (const char* name : {"rect", "pen", "fill", "path", "matrix", "scale", "rotate", "offset", "shear", "context",
                             "wipe", "options", "reset", "ellipse", "star", "mask", "bounds"}) {
        // Every instruction exists: none reports itself unrecognized (most want arguments).
        EXPECT_NE(drawing.Fail(std::string(name) + " unknown-label: 1").text, "Syntax: Unrecognized instruction") << name;
    }
    drawing.Run("pen red; Pen width: 2; PEN caps: round");
    EXPECT_EQ(drawing.executor.GetState().penWidth, 2);
    for (const char* name : {"pens 1", "re 1", "polygon 1", "rectangle 1", "fil red", "paths"})
        EXPECT_EQ(drawing.Fail(name).text, "Syntax: Unrecognized instruction") << name;
}

TEST(ExecutorTest, FormatIncludeAndProgress)
{
    Drawing drawing(1, 1);
    drawing.Run("format orv-1; format ORV-1 uses: [a, b] requires: ordo-1");
    EXPECT_EQ(drawing.Fail("format orv-1 requires: [ordo-1 other]").text, "Format: Unsupported data format");
    EXPECT_EQ(drawing.Fail("format orv-2").text, "Format: Unsupported data format");
    EXPECT_EQ(drawing.Fail("format ordo-1").text, "Format: Unsupported data format");
    EXPECT_EQ(drawing.Fail("include shapes.orv").text, "RunTime: Could not include file");
    std::string text;
    EXPECT_FALSE(drawing.executor.Include(drawing.context, "x", text));
    EXPECT_TRUE(drawing.executor.Progress(drawing.context, 0));
}

TEST(ExecutorTest, TraceWritesUtf8Lines)
{
    Drawing drawing(1, 1);
    testing::internal::CaptureStdout();
    drawing.Run("trace caf\\xe9 \\u20ac; trace");
    drawing.executor.Trace(drawing.context, std::u32string{U'a', 0x1F600, 0xD800, 0x110000, 0x7FFFFFFF, U'z'});
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "caf\xC3\xA9 \xE2\x82\xAC\n\n"
              "a\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz\n");
}

TEST(ExecutorTest, CurvePrecisionAndPatternScaleFollowTheTransform)
{
    Drawing drawing(1, 1);
    Executor& executor = drawing.executor;
    EXPECT_EQ(executor.CurvePrecision(), 1.0);
    EXPECT_EQ(executor.PatternScale(), 1);
    drawing.Run("scale 4,1; options curve-quality: 0.5 pattern-resolution: 2");
    EXPECT_EQ(executor.CurvePrecision(), 2.0);
    EXPECT_EQ(executor.PatternScale(), 8);
    drawing.Run("reset; rotate 30; scale 1.00005");
    EXPECT_NEAR(executor.CurvePrecision(), 1.00005, 1e-12);
    EXPECT_EQ(executor.PatternScale(), 1); // within the 0.0001 tolerance
    drawing.Run("scale 1.5");
    EXPECT_EQ(executor.PatternScale(), 2);
    drawing.Run("reset; scale 0");
    EXPECT_EQ(executor.CurvePrecision(), 0.0001);
    EXPECT_EQ(executor.PatternScale(), 1);
    drawing.Run("reset; scale 1e300; scale 1e300");
    EXPECT_EQ(executor.PatternScale(), std::numeric_limits<int32_t>::max());
}

TEST(DrawPathTest, NothingIsDrawnUntilAPaintIsGiven)
{
    Drawing drawing(4, 4);
    drawing.Run("rect 0,0,4,4; ellipse 2,2,2; star 2,2,5,2; path svg: [M0 0 L4 0 L4 4 Z]");
    EXPECT_EQ(drawing.CountPainted(), 0);
}

TEST(DrawPathTest, FillsPixelExactly)
{
    Drawing drawing(4, 3);
    drawing.Run("fill red; rect 1,0,2,1; rect 0.5,1,1,1; fill #80000080; rect 1,2,1,0.5");
    EXPECT_EQ(drawing.Row(0), "00000000 FFFF0000 FFFF0000 00000000");
    // Half coverage scales red by 129/256.
    EXPECT_EQ(drawing.Row(1), "80800000 80800000 00000000 00000000");
    EXPECT_EQ(drawing.Row(2), "00000000 40000040 00000000 00000000");
}

TEST(DrawPathTest, FillRulesAndOpenSubpaths)
{
    Drawing drawing(5, 1);
    // Two overlapping squares in the same direction: the middle pixel is wound twice.
    drawing.Run("fill red; path svg: [M0 0 h3 v1 h-3 M2 0 h3 v1 h-3]");
    EXPECT_EQ(drawing.Row(0), "FFFF0000 FFFF0000 FFFF0000 FFFF0000 FFFF0000");
    Drawing evenOdd(5, 1);
    evenOdd.Run("fill blue rule: EVEN-ODD; path svg: [M0 0 h3 v1 h-3 M2 0 h3 v1 h-3]");
    EXPECT_EQ(evenOdd.Row(0), "FF0000FF FF0000FF 00000000 FF0000FF FF0000FF");
}

TEST(DrawPathTest, StrokesPixelExactly)
{
    Drawing drawing(6, 4);
    drawing.Run("pen lime width: 2; path svg: [M1 2 L5 2]");
    EXPECT_EQ(drawing.Row(0), "00000000 00000000 00000000 00000000 00000000 00000000");
    EXPECT_EQ(drawing.Row(1), "00000000 FF00FF00 FF00FF00 FF00FF00 FF00FF00 00000000");
    EXPECT_EQ(drawing.Row(2), "00000000 FF00FF00 FF00FF00 FF00FF00 FF00FF00 00000000");
    EXPECT_EQ(drawing.Row(3), "00000000 00000000 00000000 00000000 00000000 00000000");
    // Square caps reach one half width beyond the ends; the transform scales the stroke.
    Drawing square(6, 4);
    square.Run("pen lime width: 1 caps: square; scale 2; path svg: [M1 1 L2 1]");
    EXPECT_EQ(square.Row(0), "00000000 00000000 00000000 00000000 00000000 00000000");
    EXPECT_EQ(square.Row(1), "00000000 FF00FF00 FF00FF00 FF00FF00 FF00FF00 00000000");
    EXPECT_EQ(square.Row(2), "00000000 FF00FF00 FF00FF00 FF00FF00 FF00FF00 00000000");
    EXPECT_EQ(square.Row(3), "00000000 00000000 00000000 00000000 00000000 00000000");
}

TEST(DrawPathTest, FillComesBeforeStrokeWithTheSameShape)
{
    Drawing drawing(4, 4);
    drawing.Run("fill red; pen blue width: 2; rect 1,1,2,2");
    // The stroke of width 2 covers one pixel on each side of the outline and hides the fill.
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(drawing.Row(y), "FF0000FF FF0000FF FF0000FF FF0000FF") << y;
}

TEST(DrawPathTest, PenWidthAndDashThresholds)
{
    // The width is compared in user units, before the transform scales the stroke.
    Drawing thin(4, 1);
    thin.Run("scale 1,1e8; pen red width: 1e-8; path svg: [M0 5e-9 L4 5e-9]");
    EXPECT_EQ(thin.CountPainted(), 0);
    thin.Run("pen width: 1.0000001e-8; path svg: [M0 5e-9 L4 5e-9]");
    EXPECT_EQ(thin.Row(0), "FFFF0000 FFFF0000 FFFF0000 FFFF0000");
    Drawing solid(4, 1);
    solid.Run("pen red width: 1 dash: [1, 1e-8]; path svg: [M0 0.5 L4 0.5]");
    EXPECT_EQ(solid.Row(0), "FFFF0000 FFFF0000 FFFF0000 FFFF0000");
    Drawing dashed(4, 1);
    dashed.Run("pen red width: 1 dash: 1; path svg: [M0 0.5 L4 0.5]");
    EXPECT_EQ(dashed.Row(0), "FFFF0000 00000000 FFFF0000 00000000");
}

TEST(DrawPathTest, NegativeDashOffsetsFoldIntoThePeriod)
{
    Drawing negative(10, 1), folded(10, 1);
    negative.Run("pen red width: 1 dash: 3,2 dash-offset: -1; path svg: [M0 0.5 L10 0.5]");
    folded.Run("pen red width: 1 dash: 3,2 dash-offset: 4; path svg: [M0 0.5 L10 0.5]");
    EXPECT_EQ(negative.Row(0), folded.Row(0));
    // Offset 4 starts one unit before the end of a gap: 1 off, 3 on, 2 off, 3 on, 1 off.
    EXPECT_EQ(negative.Row(0), "00000000 FFFF0000 FFFF0000 FFFF0000 00000000 00000000 FFFF0000 FFFF0000 "
                               "FFFF0000 00000000");
}

TEST(DrawPathTest, GammaTableShapesTheCoverage)
{
    Drawing drawing(2, 1);
    drawing.Run("options aa-gamma: 2; fill red; rect 0,0,0.5,1; rect 1,0,1,1");
    const QorRaster::GammaTable table(2);
    EXPECT_EQ(drawing.At(0, 0), QorRaster::ScalePixel(kRed, table.fEntries[128]));
    EXPECT_NE(drawing.At(0, 0), QorRaster::ScalePixel(kRed, 128));
    EXPECT_EQ(drawing.At(1, 0), kRed);
    EXPECT_NE(drawing.executor.GetState().gammaTable.Get(), nullptr);
    drawing.Run("options aa-gamma: 1.00005");
    EXPECT_EQ(drawing.executor.GetState().gammaTable.Get(), nullptr);
    drawing.Run("options aa-gamma: 2");
    EXPECT_NE(drawing.executor.GetState().gammaTable.Get(), nullptr);
    drawing.Run("options aa-gamma: 1");
    EXPECT_EQ(drawing.executor.GetState().gammaTable.Get(), nullptr);
}

TEST(DrawPathTest, ClipMaskLimitsFillsAndStrokes)
{
    Drawing drawing(3, 1);
    QorRaster::SolidMask half(128);
    drawing.executor.GetState().clipMask.Borrow(&half);
    drawing.Run("fill red; rect 0,0,1,1; pen blue width: 1; path svg: [M2.5 0 L2.5 1]");
    EXPECT_EQ(drawing.Row(0), "80800000 00000000 80000080");
    drawing.executor.GetState().clipMask.Clear();
}

TEST(DrawPathTest, PathsWhoseCoordinatesAreNotFiniteAreNotDrawn)
{
    Drawing drawing(4, 4);
    // 1e300 squared overflows: the transformed corners are infinite (or not a number).
    drawing.Run("fill red; pen blue; context [scale 1e300; scale 1e300; rect 0,0,1,1]");
    drawing.Run("context [matrix 1e308,0,1e308,1e308,0,0; scale 10; rect -1,0,2,1]");
    EXPECT_EQ(drawing.CountPainted(), 0);
    QorRaster::Path path;
    path.MoveTo(0, 0).LineTo(4, 0).LineTo(std::nan(""), 4).Close();
    drawing.executor.DrawPath(path);
    EXPECT_EQ(drawing.CountPainted(), 0);
    // A finite shape after them draws as usual.
    drawing.Run("pen none; rect 1,1,2,2");
    EXPECT_EQ(drawing.At(1, 1), kRed);
}

TEST(DrawPathTest, ShapesBeyondTheRasterLimitsAreOutOfRange)
{
    Drawing drawing(24, 16);
    // The largest star a path holds draws; one vertex more, or any absurd count, is out of range.
    drawing.Run("fill red; star 12,8,262143,6");
    EXPECT_EQ(drawing.At(12, 8), kRed);
    const Testing::Failure star = drawing.Fail("star 12,8,262144,6");
    EXPECT_EQ(star.text, "RunTime: Value out of range");
    EXPECT_EQ(star.statement, "star 12,8,262144,6");
    EXPECT_EQ(drawing.Fail("star 12,8,2147483647,6").text, "RunTime: Value out of range");
    // Curves far off the canvas, each cut into 65536 lines: a few fill a path.
    EXPECT_EQ(drawing.Fail("path svg: [M0 0 C1e9 1e9 -1e9 1e9 0 0 C1e9 1e9 -1e9 1e9 0 0 C1e9 1e9 -1e9 1e9 0 0 "
                           "C1e9 1e9 -1e9 1e9 0 0 C1e9 1e9 -1e9 1e9 0 0]")
                  .text,
              "RunTime: Value out of range");

    // Dashes too many to stroke fail after the fill is drawn, which stays.
    Drawing dashed(24, 16);
    EXPECT_EQ(dashed.Fail("fill red; pen blue width: 2000 caps: round dash: 0.5; path svg: [M0 0 H131000 V16 H0 Z]")
                  .text,
              "RunTime: Value out of range");
    EXPECT_EQ(dashed.At(5, 5), kRed);
    EXPECT_EQ(dashed.Fail("pen dash: 0.000013; rect 0,0,24,16").text, "RunTime: Value out of range");
    // The same pens over a shorter line draw.
    dashed.Run("pen blue width: 2 caps: round dash: 0.5; path svg: [M0 1 H24]");
    EXPECT_EQ(dashed.At(0, 0) >> 24, 0xFFu);
    EXPECT_EQ(dashed.At(0, 0) & 0xFF, 0xFFu);
}

TEST(DrawPathTest, ShapesTooCostlyToScanAreOutOfRange)
{
    // Spokes from the centre cross most of the rows above or below it, each row in the two chunks
    // that a row 16 wide may meet: twenty thousand over 256 rows cost 5 million steps, 120
    // thousand over 1024 rows about 100 million, more than the 67 million a shape may take.
    Drawing drawing(16, 256);
    drawing.Run("fill red; star 8,128,20000,0,1000");
    EXPECT_GT(drawing.CountPainted(), 0);
    Drawing costly(16, 1024);
    EXPECT_EQ(costly.Fail("fill red; star 8,512,120000,0,1000").text, "RunTime: Value out of range");
    EXPECT_EQ(costly.CountPainted(), 0);
}

TEST(DrawPathTest, DenseDrawingsOnLargeViewsRender)
{
    // A hatching of 600 lines 2048 long, one pixel wide, over a view of 2048 by 2048 pixels.
    std::string lines;
    for (int i = 0; i < 600; ++i)
        lines += " M" + std::to_string(4 + 3 * i) + " 0 V2048";
    Drawing drawing(2048, 2048);
    drawing.Run("fill none; pen black width: 1; path svg: [" + lines + "]");
    // Each line covers half of the pixels on either side of its x, and nothing beyond.
    for (const int32_t y : {0, 1024, 2047}) {
        for (const int32_t x : {4, 901, 1801}) {
            EXPECT_EQ(drawing.At(x - 1, y), 0x80000000u) << x << "," << y;
            EXPECT_EQ(drawing.At(x, y), 0x80000000u) << x << "," << y;
            EXPECT_EQ(drawing.At(x + 1, y), 0u) << x << "," << y;
        }
    }
}

TEST(NestedRunTest, ContextKeepsTheCallersState)
{
    Drawing drawing(4, 1);
    drawing.Run("fill red; pen blue width: 3; mask [rect 0,0,2,1]");
    const DrawingState& state = drawing.executor.GetState();
    const QorRaster::Mask* const clip = state.clipMask.Get();
    const Paint* const fillPaint = state.fill.paint.Get();
    drawing.Run("context [scale 2; fill lime; pen none width: 9; mask inverted: yes [rect 0,0,1,1]; rect 1,0,1,1]");
    // What the block drew stays: lime at x 2 and 3, clipped to x >= 2 by the block's mask.
    EXPECT_EQ(drawing.Row(0), "00000000 00000000 FF00FF00 FF00FF00");
    EXPECT_EQ(state.transform, QorRaster::Transform());
    EXPECT_EQ(state.penWidth, 3);
    EXPECT_EQ(state.fill.paint.Get(), fillPaint);
    EXPECT_EQ(state.clipMask.Get(), clip);
    EXPECT_TRUE(state.clipMask.IsOwned());
}

TEST(NestedRunTest, ResetReturnsToTheStateAtTheStartOfTheRunOrBlock)
{
    Drawing drawing(4, 1, 2.0);
    drawing.Run("fill red; offset 1,0; context [fill blue; scale 3; reset; rect 0,0,0.5,0.5]");
    // Inside the block, reset returned to red with the offset; the initial scale of 2 applies.
    EXPECT_EQ(drawing.Row(0), "00000000 00000000 FFFF0000 00000000");
    drawing.Run("reset");
    EXPECT_EQ(drawing.executor.GetState().transform, QorRaster::Transform().ScaleUniform(2));
    EXPECT_FALSE(drawing.executor.GetState().fill.paint);
    // An error inside a block leaves the caller's state as it was before the block.
    EXPECT_EQ(drawing.Fail("context [scale 5; pen width: -1]").text, "RunTime: Negative stroke width");
    EXPECT_EQ(drawing.executor.GetState().transform, QorRaster::Transform().ScaleUniform(2));
}

TEST(NestedRunTest, NestedBlocksShareTheRunsLimits)
{
    Drawing drawing(1, 1);
    drawing.context.statementsLeft = 3;
    EXPECT_EQ(drawing.Fail("context [scale 1; scale 1; scale 1]").text, "RunTime: Statements limit reached");
    drawing.context.statementsLeft = 100;
    drawing.context.recursionLeft = 3;
    // Root block, the context block, the bracketed statement inside it: the fourth level fails.
    EXPECT_EQ(drawing.Fail("context [[[scale 1]]]").text, "RunTime: Recursion limit reached");
    EXPECT_EQ(drawing.Fail("mask [[[rect 0,0,1,1]]]").text, "RunTime: Recursion limit reached");
}

TEST(MaybeOwnedTest, CopiesBorrowAndStoringReleasesWhatWasOwned)
{
    struct Counted : Paint {
        explicit Counted(int& live) : fLive(live) { ++fLive; }
        ~Counted() override { --fLive; }
        bool IsVisible(const PaintSlot&) const override { return true; }
        void Fill(const PaintSlot&, Executor&, const QorRaster::Rect&, QorRaster::Mask&) const override {}
        int& fLive;
    };
    int live = 0;
    {
        MaybeOwned<Paint> owner;
        owner.Own(std::make_unique<Counted>(live));
        Paint* const first = owner.Get();
        MaybeOwned<Paint> copy = owner;
        EXPECT_EQ(copy.Get(), first);
        EXPECT_FALSE(copy.IsOwned());
        copy.Own(std::make_unique<Counted>(live));
        EXPECT_EQ(live, 2);
        copy = owner; // the copy's own object goes, the borrowed one stays
        EXPECT_EQ(live, 1);
        EXPECT_EQ(copy.Get(), first);
        owner.Borrow(first); // storing the owned object itself keeps it
        EXPECT_TRUE(owner.IsOwned());
        EXPECT_EQ(live, 1);
    }
    EXPECT_EQ(live, 0);
}

TEST(OpacityMaskTest, ScalesCoverageBelowFullOpacity)
{
    QorRaster::SolidMask coverage(200);
    PaintSlot slot;
    OpacityMask full(slot, coverage);
    EXPECT_EQ(&full.Get(), &coverage);
    slot.opacity = 128;
    OpacityMask half(slot, coverage);
    EXPECT_EQ(Testing::Coverage(half.Get(), QorRaster::IntRect(0, 0, 2, 1)), "6464");
    slot.opacity = 0;
    OpacityMask none(slot, coverage);
    EXPECT_EQ(Testing::Coverage(none.Get(), QorRaster::IntRect(0, 0, 1, 1)), "00");
}

} // namespace
} // namespace ORV
