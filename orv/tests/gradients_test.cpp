#include "orv/gradients.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ordo/value.h"
#include "orv/tests/test_support.h"

namespace ORV {
namespace {

using Testing::Drawing;
using Testing::FailureOf;

constexpr QorRaster::Pixel kBlack = 0xFF000000;
constexpr QorRaster::Pixel kWhite = 0xFFFFFFFF;
constexpr QorRaster::Pixel kRed = 0xFFFF0000;
constexpr QorRaster::Pixel kBlue = 0xFF0000FF;

using Stops = std::vector<std::pair<double, std::string>>;

Stops StopsOf(const Gradient& gradient)
{
    Stops stops;
    for (const Gradient::Stop& stop : gradient.stops)
        stops.emplace_back(stop.position, stop.value);
    return stops;
}

class GradientParseTest : public ::testing::Test {
protected:
    Gradient Parse(const std::string& text, bool reverseRadial = true)
    {
        return ParseGradient(fDrawing.context, text, reverseRadial);
    }
    std::string Fail(const std::string& text)
    {
        return FailureOf([&] { Parse(text); }).text;
    }

    Drawing fDrawing{1, 1};
};

TEST_F(GradientParseTest, KindsAndGeometry)
{
    const Gradient linear = Parse("LiNeAr 1,2,3,4 from: red to: blue");
    EXPECT_EQ(linear.kind, Gradient::kLinear);
    EXPECT_EQ(linear.first.x, 1);
    EXPECT_EQ(linear.first.y, 2);
    EXPECT_EQ(linear.second.x, 3);
    EXPECT_EQ(linear.second.y, 4);
    // Three numbers make a circle; bracketed arguments are expanded.
    fDrawing.Run("kind = RADIAL");
    const Gradient circle = Parse("[$kind] [5 6 7] from: red to: blue");
    EXPECT_EQ(circle.kind, Gradient::kRadial);
    EXPECT_EQ(circle.second.x, 7);
    EXPECT_EQ(circle.second.y, 7);
    const Gradient ellipse = Parse("radial 5,6,7,8 from: red to: blue");
    EXPECT_EQ(ellipse.second.y, 8);

    EXPECT_EQ(Fail(""), "Syntax: Missing argument(s)");
    EXPECT_EQ(Fail("conic 0,0,1,1 from: red to: blue"), "Syntax: Unrecognized gradient type");
    EXPECT_EQ(Fail("linear from: red to: blue"), "Syntax: Missing argument(s)");
    EXPECT_EQ(Fail("linear 0,0,1 from: red to: blue"), "Syntax: Too few list elements");
    EXPECT_EQ(Fail("radial 0,0 from: red to: blue"), "Syntax: Too few list elements");
    EXPECT_EQ(Fail("radial 0,0,1,1,1 from: red to: blue"), "Syntax: Too many list elements");
    EXPECT_EQ(Fail("linear 0,0,1,x from: red to: blue"), "RunTime: Invalid number");
    EXPECT_EQ(Fail("linear 0,0,1,1 from: red"), "Syntax: Missing argument(s)");
    EXPECT_EQ(Fail("linear 0,0,1,1 to: red"), "Syntax: Missing argument(s)");
    EXPECT_EQ(Fail("linear 0,0,1,1 from: red to: blue via: lime"), "Syntax: Unrecognized labels or too many arguments");
    EXPECT_EQ(Fail("linear 0,0,1,1 1 from: red to: blue"), "Syntax: Unrecognized labels or too many arguments");
    // With stops, "from" and "to" are not read.
    EXPECT_EQ(Fail("linear 0,0,1,1 stops: [0 red 1 blue] from: red to: blue"),
              "Syntax: Unrecognized labels or too many arguments");
}

TEST_F(GradientParseTest, StopPositionsAscendWithinTheUnitRange)
{
    // Positions are read as ORDO numbers.
    const double quarter = ORDO::ToNumber("0.25"), threeQuarters = ORDO::ToNumber("0.75");
    EXPECT_EQ(StopsOf(Parse("linear 0,0,1,1 stops: [0.25 red 0.25 lime, 0.75 blue]")),
              (Stops{{quarter, "red"}, {quarter, "lime"}, {threeQuarters, "blue"}}));
    EXPECT_EQ(StopsOf(Parse("linear 0,0,1,1 stops: [1 red]")), (Stops{{1.0, "red"}}));
    // Bracketed elements are expanded, so a value may hold blanks.
    fDrawing.Run("c = 0.5");
    EXPECT_EQ(StopsOf(Parse("linear 0,0,1,1 stops: [[$c] [rgb(1, 0, 0)]]")), (Stops{{0.5, "rgb(1, 0, 0)"}}));

    EXPECT_EQ(Fail("linear 0,0,1,1 stops: [0.5 red 0.4 blue]"), "Syntax: Invalid stops for gradient");
    EXPECT_EQ(Fail("linear 0,0,1,1 stops: [-0.1 red 1 blue]"), "Syntax: Invalid stops for gradient");
    EXPECT_EQ(Fail("linear 0,0,1,1 stops: [0 red 1.01 blue]"), "Syntax: Invalid stops for gradient");
    EXPECT_EQ(Fail("linear 0,0,1,1 stops: [0 red 1]"), "Syntax: Invalid stops for gradient");
    EXPECT_EQ(Fail("linear 0,0,1,1 stops: [0]"), "Syntax: Too few list elements");
    EXPECT_EQ(Fail("linear 0,0,1,1 stops: [x red]"), "RunTime: Invalid number");
}

TEST_F(GradientParseTest, RadialStopsAreReversed)
{
    EXPECT_EQ(StopsOf(Parse("radial 0,0,1 stops: [0 red 0.25 lime 1 blue]")),
              (Stops{{0.0, "blue"}, {0.75, "lime"}, {1.0, "red"}}));
    EXPECT_EQ(StopsOf(Parse("radial 0,0,1 from: red to: blue")), (Stops{{0.0, "blue"}, {1.0, "red"}}));
    // Linear gradients, and radial ones without the flag, keep their stops as written.
    EXPECT_EQ(StopsOf(Parse("linear 0,0,1,1 stops: [0 red 0.25 lime]")), (Stops{{0.0, "red"}, {0.25, "lime"}}));
    EXPECT_EQ(StopsOf(Parse("radial 0,0,1 from: red to: blue", false)), (Stops{{0.0, "red"}, {1.0, "blue"}}));
}

TEST(GradientPaintTest, LinearGradientValuesAlongItsLine)
{
    Drawing drawing(20, 1);
    drawing.Run("fill gradient: [linear 2,0,18,0 from: black to: white]; rect 0,0,20,1");
    // Before the from point the first stop, from the to point on the last; in between the
    // palette's interpolation: a quarter of the way 0x3F, half way 0x7F.
    EXPECT_EQ(drawing.At(0, 0), kBlack);
    EXPECT_EQ(drawing.At(2, 0), kBlack);
    EXPECT_EQ(drawing.At(6, 0), 0xFF3F3F3Fu);
    EXPECT_EQ(drawing.At(10, 0), 0xFF7F7F7Fu);
    EXPECT_EQ(drawing.At(18, 0), kWhite);
    EXPECT_EQ(drawing.At(19, 0), kWhite);
    for (int x = 1; x < 20; ++x)
        EXPECT_GE(drawing.At(x, 0) & 0xFF, drawing.At(x - 1, 0) & 0xFF) << x;

    // The paint transform and a relative placement give the same gradient.
    Drawing transformed(20, 1), relative(20, 1);
    transformed.Run("fill gradient: [linear 0,0,1,0 from: black to: white] transform: [offset 2,0; scale 16,1]");
    transformed.Run("rect 0,0,20,1");
    relative.Run("fill gradient: [linear 0,0,1,0 from: black to: white] relative: yes; rect 2,0,16,1");
    relative.Run("fill black relative: no; rect 0,0,2,1; fill white; rect 18,0,2,1");
    EXPECT_EQ(transformed.Row(0), drawing.Row(0));
    EXPECT_EQ(relative.Row(0), drawing.Row(0));
}

TEST(GradientPaintTest, LinearGradientFollowsTransforms)
{
    // Turned a quarter: the gradient runs down the rows.
    Drawing turned(1, 20);
    turned.Run("matrix 0,1,-1,0,0,0; fill gradient: [linear 2,0,18,0 from: black to: white]; rect 0,-1,20,1");
    EXPECT_EQ(turned.At(0, 1), kBlack);
    EXPECT_EQ(turned.At(0, 10), 0xFF7F7F7Fu);
    EXPECT_EQ(turned.At(0, 19), kWhite);
    // Mirrored: the end point stays on the (dy, -dx) side of the placed from point, so the ramp
    // runs from x = 18 to the right, off the shape, and the shape left of it shows the first stop.
    Drawing mirrored(20, 1);
    mirrored.Run("matrix -1,0,0,1,20,0; fill gradient: [linear 2,0,18,0 from: black to: white]; rect 0,0,20,1");
    EXPECT_EQ(mirrored.At(1, 0), kBlack);
    EXPECT_EQ(mirrored.At(10, 0), kBlack);
    EXPECT_EQ(mirrored.At(17, 0), kBlack);
    EXPECT_NE(mirrored.At(19, 0), kBlack);
    EXPECT_NE(mirrored.At(19, 0), kWhite);
    // A vertical shear moves the points of constant value along the columns only: every row
    // shows the unsheared ramp.
    Drawing plain(20, 1), sheared(20, 4);
    plain.Run("fill gradient: [linear 2,0,18,0 from: black to: white]; rect 0,0,20,1");
    sheared.Run("shear 0,1; fill gradient: [linear 2,0,18,0 from: black to: white]; rect 0,-20,20,40");
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(sheared.Row(y), plain.Row(0)) << y;
}

TEST(GradientPaintTest, LinearGradientWithoutLengthShowsItsLastStop)
{
    // Coinciding end points: the last stop everywhere, with no trace of the others.
    Drawing drawing(4, 1);
    drawing.Run("fill gradient: [linear 2,0,2,0 stops: [0 red 0.5 lime 0.5 blue]]; rect 0,0,4,1");
    EXPECT_EQ(drawing.Row(0), "FF0000FF FF0000FF FF0000FF FF0000FF");
    // A relative paint on a line, whose bounds have no height, at half opacity: the last stop
    // scaled like a plain colour. The same for a vertical gradient, and for a zero transform.
    for (const char* gradient : {"linear 0,0,1,0", "linear 0,0,0,1"}) {
        Drawing line(4, 2);
        line.Run(std::string("pen gradient: [") + gradient +
                 " from: red to: blue] relative: yes opacity: 0.5 width: 2; path svg: [M0 1 H4]");
        EXPECT_EQ(line.Row(0), "80000080 80000080 80000080 80000080") << gradient;
    }
    Drawing zero(2, 1);
    zero.Run("fill gradient: [linear 0,0,1,0 from: red to: blue] transform: [scale 0]; rect 0,0,2,1");
    EXPECT_EQ(zero.Row(0), "FF0000FF FF0000FF");
}

TEST(GradientPaintTest, RadialGradientFromTheCentreOutwards)
{
    Drawing drawing(21, 21);
    drawing.Run("fill gradient: [radial 10.5,10.5,8 from: red to: blue]; rect 0,0,21,21");
    EXPECT_EQ(drawing.At(10, 10), kRed);
    EXPECT_EQ(drawing.At(10, 2), kBlue);
    EXPECT_EQ(drawing.At(18, 10), kBlue);
    EXPECT_EQ(drawing.At(0, 0), kBlue);
    EXPECT_EQ(drawing.At(20, 20), kBlue);
    // Half way out the colour is a mix, redder nearer the centre.
    const QorRaster::Pixel near = drawing.At(12, 10);
    const QorRaster::Pixel far = drawing.At(16, 10);
    EXPECT_GT(near >> 16 & 0xFF, far >> 16 & 0xFF);
    EXPECT_LT(near & 0xFF, far & 0xFF);
    EXPECT_EQ(drawing.At(16, 10) >> 24, 0xFFu);

    // Stops are written from the centre outwards.
    Drawing stops(21, 21);
    stops.Run("fill gradient: [radial 10.5,10.5,8 stops: [0 red 0.5 red 0.5 lime 1 lime]]; rect 0,0,21,21");
    EXPECT_EQ(stops.At(10, 10), kRed);
    EXPECT_EQ(stops.At(12, 10), kRed);
    EXPECT_EQ(stops.At(17, 10), 0xFF00FF00u);
    EXPECT_EQ(stops.At(0, 0), 0xFF00FF00u);
}

TEST(GradientPaintTest, RadialGradientStaysAxisAlignedOnTheDevice)
{
    // A quarter turn keeps the lengths of the radii but not their directions: the wide axis
    // stays horizontal.
    Drawing drawing(21, 21);
    drawing.Run("offset 10.5,10.5; rotate 90; fill gradient: [radial 0,0,8,2 from: white to: none]");
    drawing.Run("rect -10.5,-10.5,21,21");
    EXPECT_EQ(drawing.At(10, 10), kWhite);
    EXPECT_NE(drawing.At(15, 10), 0u);
    EXPECT_EQ(drawing.At(10, 13), 0u);
    // Scaled to nothing, the gradient shows its outer value everywhere.
    Drawing zero(3, 1);
    zero.Run("fill gradient: [radial 1.5,0.5,4 from: red to: blue] transform: [scale 0]; rect 0,0,3,1");
    EXPECT_EQ(zero.Row(0), "FF0000FF FF0000FF FF0000FF");
    Drawing flat(3, 1);
    flat.Run("fill gradient: [radial 1.5,0.5,4,0 from: red to: blue] opacity: 0.5; rect 0,0,3,1");
    EXPECT_EQ(flat.Row(0), "80000080 80000080 80000080");
    // Placed radii too long for a double are still radii: the canvas lies near the centre, as it
    // does for radii just short of overflowing.
    for (const char* radius : {"1e298", "1e300"}) {
        Drawing wide(3, 1);
        wide.Run(std::string("fill gradient: [radial 0,0,") + radius +
                 " from: red to: blue] transform: [scale 1e10]; rect 0,0,3,1");
        EXPECT_EQ(wide.Row(0), "FFFF0000 FFFF0000 FFFF0000") << radius;
    }
}

TEST(GradientPaintTest, OpacityScalesThroughTheCoverage)
{
    Drawing drawing(2, 1);
    drawing.Run("fill gradient: [linear 0,0,1,0 from: white to: white] opacity: 0.5; rect 0,0,2,1");
    EXPECT_EQ(drawing.Row(0), "80808080 80808080");
    // A pen paints its gradient through the stroke's coverage.
    Drawing pen(4, 3);
    pen.Run("pen gradient: [linear 0,0,4,0 from: red to: red] width: 1; path svg: [M0 1.5 H4]");
    EXPECT_EQ(pen.Row(1), "FFFF0000 FFFF0000 FFFF0000 FFFF0000");
    EXPECT_EQ(pen.CountPainted(), 4);
}

TEST(GradientPaintTest, VisibilityAndStopErrors)
{
    Drawing drawing(2, 1);
    const PaintSlot& fill = drawing.executor.GetState().fill;
    drawing.Run("fill gradient: [linear 0,0,1,0 from: none to: #00000000]");
    ASSERT_TRUE(fill.paint);
    EXPECT_FALSE(fill.paint->IsVisible(fill));
    drawing.Run("rect 0,0,2,1");
    EXPECT_EQ(drawing.CountPainted(), 0);
    drawing.Run("fill gradient: [radial 0,0,1 stops: [0 none 1 #01000000]]");
    EXPECT_TRUE(fill.paint->IsVisible(fill));

    // An invalid stop value fails before the paint is replaced.
    drawing.Run("fill red");
    const Paint* const red = fill.paint.Get();
    EXPECT_EQ(drawing.Fail("fill gradient: [linear 0,0,1,0 from: red to: bleu]").text, "Syntax: Invalid color");
    EXPECT_EQ(drawing.Fail("fill gradient: [linear 0,0,1,0 from: 0.5 to: red]").text, "Syntax: Invalid color");
    EXPECT_EQ(drawing.Fail("fill gradient: [linear 0,0,1 from: red to: blue]").text, "Syntax: Too few list elements");
    EXPECT_EQ(fill.paint.Get(), red);
    // A wipe paints the whole canvas with a gradient, which cannot be relative.
    drawing.Run("wipe gradient: [linear 0,0,2,0 from: black to: black]");
    EXPECT_EQ(drawing.Row(0), "FF000000 FF000000");
    EXPECT_EQ(drawing.Fail("wipe gradient: [linear 0,0,1,0 from: red to: blue] relative: yes").text,
              "RunTime: Relative paint is not allowed with wipe");
}

TEST(GradientPaintTest, MaskSideGradientsAreCoverageRamps)
{
    Drawing drawing(20, 1);
    drawing.Run("mask [fill gradient: [linear 2,0,18,0 from: 0 to: 1]; rect 0,0,20,1]; wipe white");
    // Coverage 127 half way: white scaled by it.
    EXPECT_EQ(drawing.At(0, 0), 0u);
    EXPECT_EQ(drawing.At(10, 0), 0x7F7F7F7Fu);
    EXPECT_EQ(drawing.At(19, 0), kWhite);

    Drawing radial(21, 21);
    radial.Run("mask [fill gradient: [radial 10.5,10.5,8 from: #FF to: 0]; rect 0,0,21,21]; wipe white");
    EXPECT_EQ(radial.At(10, 10), kWhite);
    EXPECT_EQ(radial.At(0, 0), 0u);
    EXPECT_EQ(radial.At(18, 10), 0u);

    // Values are opacities on this side, so colours are refused; all-zero stops paint nothing.
    Drawing other(1, 1);
    EXPECT_EQ(other.Fail("mask [fill gradient: [linear 0,0,1,0 from: red to: 1]]").text, "RunTime: Invalid number");
    other.Run("mask [fill gradient: [linear 0,0,1,0 from: 0 to: #00]; rect 0,0,1,1] inverted: yes; wipe red");
    EXPECT_EQ(other.At(0, 0), kRed);
    // Without extent: the last stop (linear) or the outer value (radial) everywhere.
    Drawing flat(2, 1);
    flat.Run("mask [fill gradient: [linear 0,0,0,0 from: 1 to: 0.5]; rect 0,0,1,1;"
             " fill gradient: [radial 1,0,0 from: 1 to: 0.25]; rect 1,0,1,1]; wipe white");
    EXPECT_EQ(flat.Row(0), "80808080 40404040");
}

} // namespace
} // namespace ORV
