#include "velto/views/rectangle_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

using RectangleViewTest = ViewTest;

TEST_F(RectangleViewTest, OptionalFeaturesMakeAShapeWithRadiiFromTheRectangle) {
  const struct {
    const char* keys;
    bool plain;
    double rx, ry;
  } cases[] = {
      {"fill: red", true, 0, 0},          {"fill: red, frame: ,", false, 0, 0}, {"blend: add", false, 0, 0},
      {"rounded: 50", false, 25, 10},     {"rounded: 150", false, 50, 20},      {"rounded: -5", false, 0, 0},
      {"rounded: { 4, 6 }", false, 4, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    const ref<Wex::rcGUIElement> view = Make(std::string("type: rectangle, bounds: { 7, 3, 100, 40 }, ") + c.keys);
    EXPECT_EQ(dynamic_cast<Velto::rcPlainRectangleView*>(view.Get()) != nullptr, c.plain);
    if (const auto* shape = dynamic_cast<Velto::rcShapeView*>(view.Get())) {
      EXPECT_EQ(shape->GetCornerRadii().x, c.rx);
      EXPECT_EQ(shape->GetCornerRadii().y, c.ry);
    }
  }
}

TEST_F(RectangleViewTest, PaintsFillFrameAndBlendWithinTheUpdateRectangle) {
  const struct {
    const char* keys;
    std::vector<Sample> samples;  // over grey
  } cases[] = {
      // The frame's centre line runs on (1, 1) to (99, 39); the fill reaches it.
      {"fill: white, frame: { color: blue, stroke: 2 }",
       {{0, 20, 0x0000FF}, {1, 20, 0x0000FF}, {2, 20, 0xFFFFFF}, {50, 1, 0x0000FF}, {50, 2, 0xFFFFFF},
        {99, 20, 0x0000FF}, {97, 20, 0xFFFFFF}, {100, 20, 0x808080}, {50, 40, 0x808080}}},
      // Multiply darkens under the shape and leaves the rounded corners as they were.
      {"fill: { 128, 128, 128 }, blend: multiply, rounded: 100",
       {{50, 20, 0x404040}, {0, 0, 0x808080}, {99, 39, 0x808080}, {100, 20, 0x808080}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    Remake<Wex::rcGUIElement>(std::string("type: rectangle, bounds: { 0, 0, 100, 40 }, ") + c.keys);
    ExpectSamples(c.samples);
  }
  // Both forms paint exactly the update rectangle.
  for (const char* keys : {"fill: red", "fill: red, blend: multiply"}) {
    SCOPED_TRACE(keys);
    Remake<Wex::rcGUIElement>(std::string("type: rectangle, bounds: { 10, 10, 100, 40 }, ") + keys);
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({20, 15, 60, 35}, 0xFFFFFFFF);
    EXPECT_EQ(GuiTest::CountOther(*bitmap, {20, 15, 60, 35}, 0xFFFF0000), 0);
    EXPECT_EQ(GuiTest::CountOther(*bitmap, {0, 0, 200, 100}, 0xFFFFFFFF), 40 * 20);
  }
}

}  // namespace
}  // namespace VeltoTest
