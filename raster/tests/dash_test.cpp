#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "raster/path.h"
#include "raster/tests/vertex_list.h"

namespace QorRaster {
namespace {

using namespace Testing;

Path Dashed(Path p, double dash, double gap, double offset) {
  p.Dash(dash, gap, offset);
  return p;
}

Path Square() {
  Path p;
  p.MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10).LineTo(0, 10).Close();
  return p;
}

Path Segment() {
  Path p;
  p.MoveTo(0, 0).LineTo(10, 0);
  return p;
}

TEST(DashTest, ClosedSquareMergesTheLastDashIntoTheFirst) {
  const Path p = Dashed(Square(), 6, 4, 2);
  EXPECT_EQ(p.GetVertices(), (std::vector<V>{Move(0, 2), Line(0, 0), Line(0, 0), Line(4, 0), Move(8, 0), Line(10, 0),
                                             Line(10, 4), Move(10, 8), Line(10, 10), Line(6, 10), Move(2, 10),
                                             Line(0, 10), Line(0, 6)}));
  EXPECT_EQ(p.GetOpenSubpathIndex(), 12);

  // The gap ending exactly at the closing point starts an empty dash there, merged all the same.
  EXPECT_EQ(Dashed(Square(), 6, 4, 0).GetVertices(),
            (std::vector<V>{Move(0, 0), Line(0, 0), Line(6, 0), Move(10, 0), Line(10, 6), Move(10, 10), Line(4, 10),
                            Move(0, 10), Line(0, 4)}));

  // An open subpath keeps its dashes apart.
  Path unclosed;
  unclosed.MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10).LineTo(0, 10).LineTo(0, 0);
  EXPECT_EQ(Dashed(unclosed, 6, 4, 2).GetVertices(),
            (std::vector<V>{Move(0, 0), Line(4, 0), Move(8, 0), Line(10, 0), Line(10, 4), Move(10, 8), Line(10, 10),
                            Line(6, 10), Move(2, 10), Line(0, 10), Line(0, 6), Move(0, 2), Line(0, 0)}));
}

TEST(DashTest, PatternBoundaries) {
  // Offset equal to the dash: a zero-length line at the start, then the gap.
  EXPECT_EQ(Dashed(Segment(), 3, 2, 3).GetVertices(),
            (std::vector<V>{Move(0, 0), Line(0, 0), Move(2, 0), Line(5, 0), Move(7, 0), Line(10, 0)}));
  // Dashes of length 0: a move and a line at the same point every period.
  EXPECT_EQ(Dashed(Segment(), 0, 5, 0).GetVertices(),
            (std::vector<V>{Move(0, 0), Line(0, 0), Move(5, 0), Line(5, 0), Move(10, 0)}));
  // Starting inside a gap: the initial move is followed directly by the first dash's move.
  EXPECT_EQ(Dashed(Segment(), 2, 3, 3).GetVertices(),
            (std::vector<V>{Move(0, 0), Move(2, 0), Line(4, 0), Move(7, 0), Line(9, 0)}));
  // A dash across a corner keeps the corner.
  Path corner;
  corner.MoveTo(0, 0).LineTo(3, 0).LineTo(3, 10);
  EXPECT_EQ(Dashed(corner, 5, 5, 0).GetVertices(),
            (std::vector<V>{Move(0, 0), Line(3, 0), Line(3, 2), Move(3, 7), Line(3, 10)}));
}

TEST(DashTest, EachSubpathRestartsThePattern) {
  Path p;
  p.MoveTo(0, 0).LineTo(7, 0).MoveTo(0, 5).MoveTo(0, 10).LineTo(0.00001, 10).LineTo(7, 10);
  EXPECT_EQ(Dashed(p, 4, 2, 0).GetVertices(),
            (std::vector<V>{Move(0, 0), Line(4, 0), Move(6, 0), Line(7, 0), Move(0, 10), Line(4, 10), Move(6, 10),
                            Line(7, 10)}));
  // A trailing move stays a lone move, which the stroker turns into a dot.
  Path trailing = Segment();
  trailing.MoveTo(20, 20);
  EXPECT_EQ(Dashed(trailing, 20, 1, 0).GetVertices(), (std::vector<V>{Move(0, 0), Line(10, 0), Move(20, 20)}));
}

TEST(DashTest, OffsetsOutsideOnePeriodShiftThePattern) {
  const std::vector<V> reference = Dashed(Square(), 6, 4, 2).GetVertices();
  for (const double offset : {12.0, 102.0, -8.0, -98.0}) {
    const std::vector<V> shifted = Dashed(Square(), 6, 4, offset).GetVertices();
    ASSERT_EQ(shifted.size(), reference.size()) << offset;
    for (std::size_t i = 0; i < reference.size(); ++i) {
      EXPECT_EQ(shifted[i].kind, reference[i].kind) << offset << " vertex " << i;
      EXPECT_NEAR(shifted[i].x, reference[i].x, 1e-9) << offset << " vertex " << i;
      EXPECT_NEAR(shifted[i].y, reference[i].y, 1e-9) << offset << " vertex " << i;
    }
  }
  // A negative offset starts inside the gap before the first dash.
  EXPECT_EQ(Dashed(Segment(), 3, 2, -1).GetVertices(),
            (std::vector<V>{Move(0, 0), Move(1, 0), Line(4, 0), Move(6, 0), Line(9, 0)}));
}

TEST(DashTest, InvalidPatternsLeaveThePathUnchanged) {
  const Path original = Square();
  for (const auto& [dash, gap, offset] :
       {std::tuple{-1.0, 4.0, 0.0}, {6.0, 0.0, 0.0}, {6.0, 1e-9, 0.0}, {6.0, -6.0, 0.0}, {kNaN, 4.0, 0.0},
        {kInf, 4.0, 0.0}, {6.0, kInf, 0.0}, {6.0, kNaN, 0.0}, {6.0, 4.0, kNaN}, {6.0, 4.0, kInf}}) {
    Path p = original;
    p.Dash(dash, gap, offset);
    EXPECT_EQ(p.GetVertices(), original.GetVertices()) << dash << " " << gap << " " << offset;
    EXPECT_EQ(p.GetOpenSubpathIndex(), original.GetOpenSubpathIndex());
  }
}

TEST(DashTest, SegmentsThatAreNotFiniteAreSkipped) {
  Path p;
  p.MoveTo(0, 0).LineTo(kInf, 0).LineTo(10, 0).LineTo(kNaN, kNaN).LineTo(10, 10);
  Path reference;
  reference.MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10);
  EXPECT_EQ(Dashed(p, 3, 2, 0).GetVertices(), Dashed(reference, 3, 2, 0).GetVertices());
  Path empty;
  EXPECT_EQ(Dashed(empty, 3, 2, 0).GetOpenSubpathIndex(), -1);
}

}  // namespace
}  // namespace QorRaster
