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
      {"fill: red", true, 0, 0},        {"fill: red, frame: ,", false, 0, 0}, {"blend: add", false, 0, 0},
      {"rounded: 50", false, 25, 10},   {"rounded: 150", false, 50, 20},         {"rounded: 100", false, 50, 20},
      {"rounded: -5", false, 0, 0},     {"rounded: { 4, 6 }", false, 4, 6},      {"rounded: 50 + $", false, 25, 10},
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
  struct Sample {
    int x, y;
    std::uint32_t rgb;
  };
  const struct {
    const char* keys;
    std::uint32_t background;
    std::vector<Sample> samples;
  } cases[] = {
      // A frame of width 2 runs on (1, 1) to (99, 39); the fill reaches its centre line.
      {"fill: white, frame: { color: blue, stroke: 2 }", 0xFF808080,
       {{0, 20, 0x0000FF}, {1, 20, 0x0000FF}, {2, 20, 0xFFFFFF}, {50, 0, 0x0000FF}, {50, 1, 0x0000FF},
        {50, 2, 0xFFFFFF}, {98, 20, 0x0000FF}, {99, 20, 0x0000FF}, {97, 20, 0xFFFFFF}, {50, 39, 0x0000FF},
        {100, 20, 0x808080}, {50, 40, 0x808080}}},
      // A bare colour is a frame of width 1 over no fill.
      {"frame: blue", 0xFF808080, {{0, 20, 0x0000FF}, {1, 20, 0x808080}, {50, 20, 0x808080}, {99, 20, 0x0000FF}}},
      // Multiply darkens under the shape and leaves the rounded corners as they were.
      {"fill: { 128, 128, 128 }, blend: multiply, rounded: 100", 0xFF808080,
       {{50, 20, 0x404040}, {0, 0, 0x808080}, {99, 39, 0x808080}, {99, 0, 0x808080}, {100, 20, 0x808080}}},
      {"fill: { 64, 64, 64 }, blend: add", 0xFF404040, {{0, 0, 0x808080}, {99, 39, 0x808080}, {100, 40, 0x404040}}},
      {"fill: { 64, 64, 64 }, blend: multiply, frame: { color: white, stroke: 4 }", 0xFF808080,
       {{1, 20, 0x808080}, {50, 20, 0x202020}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    fRoot->RemoveAllChildren();
    Make(std::string("type: rectangle, bounds: { 0, 0, 100, 40 }, ") + c.keys);
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 100}, c.background);
    for (const Sample& s : c.samples) EXPECT_EQ(Rgb(*bitmap, s.x, s.y), s.rgb) << s.x << "," << s.y;
  }

  // Each form paints exactly the update rectangle, the plain one with hard edges.
  for (const char* keys : {"fill: red", "fill: red, rounded: 0", "fill: red, blend: multiply"}) {
    SCOPED_TRACE(keys);
    fRoot->RemoveAllChildren();
    Make(std::string("type: rectangle, bounds: { 10, 10, 100, 40 }, ") + keys);
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({20, 15, 60, 35}, 0xFFFFFFFF);
    EXPECT_EQ(GuiTest::CountOther(*bitmap, {20, 15, 60, 35}, 0xFFFF0000), 0);
    EXPECT_EQ(GuiTest::CountOther(*bitmap, {0, 0, 200, 100}, 0xFFFFFFFF), 40 * 20);
  }
}

}  // namespace
}  // namespace VeltoTest
