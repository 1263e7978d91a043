#include "orv/path_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "orv/tests/test_support.h"

namespace ORV {
namespace {

using QorRaster::Path;
using Testing::FailureOf;

// The vertices of a path as text: "M x y", "L x y", "Z x y", rounded to 1e-6.
std::string Describe(const Path& path)
{
    std::string text;
    for (const Path::Vertex& v : path.GetVertices()) {
        if (!text.empty())
            text += ", ";
        text += v.kind == Path::kMove ? "M " : v.kind == Path::kLine ? "L " : "Z ";
        const auto number = [](double value) {
            const double rounded = std::round(value * 1e6) / 1e6;
            std::string s = std::to_string(rounded == 0 ? 0.0 : rounded);
            s.erase(s.find_last_not_of('0') + 1);
            if (s.back() == '.')
                s.pop_back();
            return s;
        };
        text += number(v.x) + " " + number(v.y);
    }
    return text;
}

Path Parse(std::string_view data)
{
    Path path;
    ParsePathData(data, 1.0, path);
    return path;
}

std::string Vertices(std::string_view data)
{
    return Describe(Parse(data));
}

std::string Failure(std::string_view data)
{
    return FailureOf([&] { Parse(data); }).text;
}

// Reads one number and reports it with how many characters it took, or "no".
std::string Number(std::string_view text)
{
    const char* p = text.data();
    double value = -1;
    if (!ScanNumber(p, text.data() + text.size(), value))
        return p == text.data() ? "no" : "moved";
    char out[64];
    std::snprintf(out, sizeof out, "%.17g/%d", value, int(p - text.data()));
    return out;
}

TEST(ScanNumberTest, NumberSyntax)
{
    EXPECT_EQ(Number("12"), "12/2");
    EXPECT_EQ(Number("-20,"), "-20/3");
    EXPECT_EQ(Number("+7"), "7/2");
    EXPECT_EQ(Number(".5.5"), "0.5/2");
    EXPECT_EQ(Number("5."), "5/2");
    EXPECT_EQ(Number("5.x"), "5/2");
    EXPECT_EQ(Number("1.25"), "1.25/4");
    EXPECT_EQ(Number("-.5"), "-0.5/3");
    EXPECT_EQ(Number("2e3"), "2000/3");
    EXPECT_EQ(Number("2E-2 "), "0.02/4");
    EXPECT_EQ(Number("3e+1"), "30/4");
    // Without a digit after it, the number ends just after the "e"; the sign is not taken.
    EXPECT_EQ(Number("3ex"), "3/2");
    EXPECT_EQ(Number("3e-x"), "3/2");
    // An exponent needs two characters left: a final "e" is not taken.
    EXPECT_EQ(Number("3e"), "3/1");
    EXPECT_EQ(Number("-"), "no");
    EXPECT_EQ(Number("+x"), "no");
    EXPECT_EQ(Number("."), "no");
    EXPECT_EQ(Number(".e1"), "no");
    EXPECT_EQ(Number("e1"), "no");
    EXPECT_EQ(Number(""), "no");
}

TEST(ScanNumberTest, ExponentDigitsSaturate)
{
    // Exponents beyond 32 bits saturate instead of wrapping around to small values.
    EXPECT_EQ(Number("1e-4294967296"), "0/13");
    EXPECT_EQ(Number("1e4294967297"), "inf/12");
    EXPECT_EQ(Number("1e-99999999999999999999"), "0/23");
    EXPECT_EQ(Number("-2e2147483648"), "-inf/13");
}

TEST(ScanPointTest, SeparatorsAndFailure)
{
    const auto point = [](std::string_view text, bool separated) {
        const char* p = text.data();
        QorRaster::Point value(-1, -1);
        if (!ScanPoint(p, text.data() + text.size(), value, separated))
            return std::string(p == text.data() ? "no" : "moved");
        return std::to_string(int(value.x)) + "," + std::to_string(int(value.y)) + "/" +
               std::to_string(p - text.data());
    };
    EXPECT_EQ(point("3,4", false), "3,4/3");
    EXPECT_EQ(point(" \t3 ,\n 4 5", false), "3,4/8");
    EXPECT_EQ(point("3-4", false), "3,-4/3");
    EXPECT_EQ(point(" , 3 4", true), "3,4/6");
    EXPECT_EQ(point(" , 3 4", false), "no");
    EXPECT_EQ(point(",,3 4", true), "no");
    EXPECT_EQ(point("3,,4", false), "no");
    EXPECT_EQ(point("3", false), "no");
    EXPECT_EQ(point("3 x", false), "no");
}

TEST(PathDataTest, MovesLinesAndImplicitRepetition)
{
    const std::string expected = "M 10 20, L 30 40";
    EXPECT_EQ(Vertices("M10,20L30,40"), expected);
    EXPECT_EQ(Vertices("M 10 20 L 30 40"), expected);
    EXPECT_EQ(Vertices("M10 20,30 40"), expected);
    EXPECT_EQ(Vertices("M10-20"), "M 10 -20");
    EXPECT_EQ(Vertices("M.5.5"), "M 0.5 0.5");
    EXPECT_EQ(Vertices("M5. 6 7..8"), "M 5 6, L 7 0.8");
    EXPECT_EQ(Vertices("L1 2 3 4"), "L 1 2, L 3 4");
    EXPECT_EQ(Vertices("m 10 10 20 0 l 5 5 -5 5"), "M 10 10, L 30 10, L 35 15, L 30 20");
    EXPECT_EQ(Vertices(""), "");
    EXPECT_EQ(Vertices(" \t\r\n"), "");
}

TEST(PathDataTest, CloseAndTheCurrentPointAfterIt)
{
    EXPECT_EQ(Vertices("m 10 10 l 5 0 z l 5 0"), "M 10 10, L 15 10, Z 10 10, L 15 10");
    EXPECT_EQ(Vertices("M1 1 L2 2 Z m1 1 Z"), "M 1 1, L 2 2, Z 1 1, M 2 2, Z 2 2");
    EXPECT_EQ(Vertices("z"), "Z 0 0");
}

TEST(PathDataTest, HorizontalAndVerticalLines)
{
    EXPECT_EQ(Vertices("M1 2 H5 V7 h-1 v-2"), "M 1 2, L 5 2, L 5 7, L 4 7, L 4 5");
    EXPECT_EQ(Vertices("M1 2 H3,4 5 v1 1"), "M 1 2, L 3 2, L 4 2, L 5 2, L 5 3, L 5 4");
    // H alone at the end adds nothing and raises nothing.
    EXPECT_EQ(Vertices("M1 2 H"), "M 1 2");
}

TEST(PathDataTest, CurvesAndTheirReflections)
{
    // S after C reflects C's second control point about the end point.
    EXPECT_EQ(Vertices("M0 0 C1 2 3 4 5 6 S9 10 11 12"), Vertices("M0 0 C1 2 3 4 5 6 C7 8 9 10 11 12"));
    EXPECT_EQ(Vertices("m0 0 c1 2 3 4 5 6 s4 4 6 6"), Vertices("M0 0 C1 2 3 4 5 6 C7 8 9 10 11 12"));
    // Repeated S sets reflect the previous set.
    EXPECT_EQ(Vertices("M0 0 S1 1 2 0 3 1 4 0"), Vertices("M0 0 C0 0 1 1 2 0 C3 -1 3 1 4 0"));
    // After L, or as the first command, the first control point is the current point.
    EXPECT_EQ(Vertices("M0 0 L1 1 S2 2 3 3"), Vertices("M0 0 L1 1 C1 1 2 2 3 3"));
    EXPECT_EQ(Vertices("S2 2 3 0"), Vertices("C0 0 2 2 3 0"));
    // The same holds for T after Q.
    EXPECT_EQ(Vertices("M0 0 Q1 2 3 4 T5 6"), Vertices("M0 0 Q1 2 3 4 Q5 6 5 6"));
    EXPECT_EQ(Vertices("M0 0 q1 2 3 4 t2 2"), Vertices("M0 0 Q1 2 3 4 Q5 6 5 6"));
    EXPECT_EQ(Vertices("M0 0 L4 0 T8 4"), Vertices("M0 0 L4 0 Q4 0 8 4"));
    // A cubic in between ends the quadratic reflection.
    EXPECT_EQ(Vertices("M0 0 Q1 2 3 4 C3 4 3 4 3 4 T5 6"), Vertices("M0 0 Q1 2 3 4 C3 4 3 4 3 4 Q3 4 5 6"));
    const Path curve = Parse("M0 0 C0 10 10 10 10 0");
    ASSERT_GT(curve.GetVertices().size(), 3u);
    EXPECT_NEAR(curve.GetVertices().back().x, 10, 1e-9);
    EXPECT_NEAR(curve.GetVertices().back().y, 0, 1e-9);
    // A command without a complete set before the next letter, or the end, adds nothing.
    EXPECT_EQ(Vertices("M0 0 C L5 5"), "M 0 0, L 5 5");
    EXPECT_EQ(Vertices("M1 2 L3 4 C"), "M 1 2, L 3 4");
}

TEST(PathDataTest, ArcsThroughTheirMidpoints)
{
    // q comes out 0 and is raised to 1e-8: a half circle about (10, 0.001), clockwise on the y-down
    // grid with the sweep flag set, ending exactly at (20, 0).
    for (const auto& [data, side] : {std::pair{"M0 0 A10 10 0 0 1 20 0", -1.0}, std::pair{"M0 0 A10 10 0 0 0 20 0", 1.0}}) {
        const Path arc = Parse(data);
        const auto& vertices = arc.GetVertices();
        ASSERT_GT(vertices.size(), 4u) << data;
        EXPECT_EQ(vertices.back(), (Path::Vertex{Path::kLine, 20, 0})) << data;
        double extreme = 0;
        for (const Path::Vertex& v : vertices) {
            EXPECT_NEAR(std::hypot(v.x - 10, v.y - 0.001 * -side), 10, 0.01) << data;
            extreme = side < 0 ? std::min(extreme, v.y) : std::max(extreme, v.y);
        }
        EXPECT_NEAR(extreme, 10 * side, 0.01) << data;
    }
    // Rotated by 90 degrees, the x radius lies along the chord from (0, 0) to (0, 20).
    const Path rotated = Parse("M0 0 A10 5 90 0 1 0 20");
    double maxX = 0;
    for (const Path::Vertex& v : rotated.GetVertices())
        maxX = std::max(maxX, v.x);
    EXPECT_NEAR(maxX, 5, 0.01);
    EXPECT_EQ(rotated.GetVertices().back(), (Path::Vertex{Path::kLine, 0, 20}));
    // Relative arcs end relative to the current point.
    EXPECT_EQ(Parse("m10 10 a5 5 0 0 1 10 0").GetVertices().back(), (Path::Vertex{Path::kLine, 20, 10}));
}

// The arc of a set as the construction steps give it: the chord is taken into the frame turned
// back by the x-axis angle (in degrees times pi / 180), the centre and sweep are found there, and
// the arc from a line vertex at the turned start point is turned forward and appended, followed by
// a line vertex at the end point.
void AddReferenceArc(Path& path, QorRaster::Point radii, double degrees, bool large, bool sweep,
                     QorRaster::Point end)
{
    const QorRaster::Point start = path.GetCurrentPoint();
    const QorRaster::Transform rotation = QorRaster::Transform().Rotate(degrees * std::numbers::pi / 180);
    QorRaster::Transform back = rotation;
    ASSERT_TRUE(back.Invert());
    const QorRaster::Point p0 = back.Apply(start), p1 = back.Apply(end);
    const double s = (large ? 1 : -1) * (sweep ? 1 : -1);
    const double dx = p1.x - p0.x, dy = p1.y - p0.y, k = radii.x / radii.y, dyk = k * dy;
    const double q = std::max(4 * radii.x * radii.x / (dyk * dyk + dx * dx) - 1, 1e-8);
    const double h = std::sqrt(q * 0.25) * s;
    const double theta = std::acos((q - 1) / (q + 1));
    Path arc;
    arc.LineTo(p0.x, p0.y)
        .ArcTo(p0.x + 0.5 * dx + dyk * h, p0.y + 0.5 * dy - h * dx / k, s * ((large ? 2 * std::numbers::pi : 0) - theta),
               k, 1.0)
        .Transform(rotation);
    path.Append(arc).LineTo(end.x, end.y);
}

TEST(PathDataTest, RotatedArcsFollowTheConstructionExactly)
{
    Path expected;
    expected.MoveTo(2, 1);
    AddReferenceArc(expected, {12, 8}, 12, false, true, {10, 7});
    AddReferenceArc(expected, {12, 8}, 12, true, false, {2, 1});
    EXPECT_EQ(Parse("M2 1 A12 8 12 0 1 10 7 a12,8,12,1,0,-8,-6").GetVertices(), expected.GetVertices());
}

TEST(PathDataTest, ArcFlagsAndDegenerateArcs)
{
    const std::string arc = Vertices("M0 0 A10 10 0 1 1 20 0");
    EXPECT_EQ(Vertices("M0 0 A10,10,0,1,1,20,0"), arc);
    EXPECT_EQ(Vertices("M0 0 A10 10 0 -1 2 20 0"), arc); // every value but 0 is true
    EXPECT_NE(Vertices("M0 0 A10 10 0 0 1 20 0"), arc);
    // 11 is one flag: the sweep flag is then 20 and the end point (0, 5).
    EXPECT_EQ(Vertices("M0 0 A10 10 0 11 20 0 5"), Vertices("M0 0 A10 10 0 1 1 0 5"));
    // A zero radius draws a straight line; so does an arc back to its start point.
    EXPECT_EQ(Vertices("M0 0 A0 10 0 0 1 20 0"), "M 0 0, L 20 0");
    EXPECT_EQ(Vertices("M0 0 a10 1e-9 0 0 1 20 0"), "M 0 0, L 20 0");
    EXPECT_EQ(Vertices("M5 5 A10 10 0 0 1 5 5"), "M 5 5, L 5 5");
    EXPECT_EQ(Vertices("M5 5 a10 10 30 1 0 0 0"), "M 5 5, L 5 5");
    // Radii too small for the chord grow to a half ellipse through both end points.
    const Path small = Parse("M0 0 A1 2 0 0 1 20 0");
    double minY = 0;
    for (const Path::Vertex& v : small.GetVertices())
        minY = std::min(minY, v.y);
    EXPECT_NEAR(minY, -20, 0.05);
}

TEST(PathDataTest, Errors)
{
    EXPECT_EQ(Failure("M"), "Syntax: Invalid M syntax in svg path data");
    EXPECT_EQ(Failure("M 1"), "Syntax: Invalid M syntax in svg path data");
    EXPECT_EQ(Failure("M0 0 L"), "Syntax: Invalid L syntax in svg path data");
    EXPECT_EQ(Failure("M0 0 l,1 1"), "Syntax: Invalid L syntax in svg path data");
    EXPECT_EQ(Failure("X"), "Syntax: Invalid command in svg path data");
    EXPECT_EQ(Failure("M0 0 B1 1"), "Syntax: Invalid command in svg path data");
    // Reading resumes at the first character of an incomplete set.
    EXPECT_EQ(Failure("M0 0 L 1 2 3 Z"), "Syntax: Invalid command in svg path data");
    EXPECT_EQ(Failure("M0 0 C1 1 2 2"), "Syntax: Invalid command in svg path data");
    EXPECT_EQ(Failure("M0 0 L1 1,"), "Syntax: Invalid command in svg path data");
    EXPECT_EQ(Failure("M0 0 A1 1 0 0"), "Syntax: Invalid command in svg path data");
    EXPECT_EQ(Failure("M0 0 A1 1 0 x 1 2 2"), "Syntax: Invalid command in svg path data");
    EXPECT_EQ(Failure("M0 0\xC9"), "Syntax: Invalid command in svg path data");
}

} // namespace
} // namespace ORV
