#include "velto/views/animation_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

using AnimationViewTest = ViewTest;

TEST_F(AnimationViewTest, ShowsTheFrameOfTheValueThroughTheRangeAndTheCurve) {
  std::vector<std::uint32_t> pixels(80);  // ten frames of 4 x 2, frame i of blue 20 i
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000 | static_cast<std::uint32_t>(i / 8 * 20);
  fBundle.WriteResource("bands", "png", QorPNG::WritePremultipliedARGB(pixels.data(), 4, 20, 4));
  const std::string ten = "film: { frames: 10, image: bands }, ";
  // The first three frames cut from the picture: its pixels are copied for blending.
  const std::string blended = "film: { frames: 3, interpolate: TRUE, image: { name: bands, clip: { 0, 0, 4, 6 } } }";
  const struct {
    std::string keys;
    const char* value;
    std::int32_t count, position, blue;
  } cases[] = {
      {ten, "0", 10, 0, 0},       {ten, "4.99", 10, 4, 80}, {ten, "9.99", 10, 9, 180},    {ten, "10", 10, 9, 180},
      {ten, "-1", 10, 0, 0},      {ten, "abc", 10, 0, 0},   {ten, "1e308", 10, 9, 180},  {ten, "-inf", 10, 0, 0},
      {ten + "range: { 0, 1 }", "0.35", 10, 3, 60},          {ten + "range: { 0, 1 }, curve: 0.25", "0.5", 10, 2, 40},
      {ten + "range: { 0, 1 }, curve: 0.25", "0.75", 10, 5, 100},
      {blended, "256", 513, 256, 20}, {blended, "384", 513, 384, 30},  // half of frame 1, half of frame 2
      // Guards: no number counts as 0, numbers beyond the film's ends as its ends.
      {ten + "range: { 5, 5 }", "5", 10, 0, 0},              {ten + "range: { 5, 5 }", "6", 10, 9, 180},
      {ten + "range: { 0, 1 }, curve: 0", "1", 10, 0, 0},    {ten + "range: { 0, 1 }, curve: 2", "0.5", 10, 9, 180},
      {ten + "range: { 0, 1 }, curve: -1", "0.5", 10, 0, 0}, {"film: { frames: -5, image: bands }", "nan", 1, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys + " @ " + c.value);
    fController.fVariables["v"] = c.value;
    const ref<Wex::rcGUIElement> view = Make("type: animation, bounds: { 20, 30, 4, 2 }, variable: \"v\", " + c.keys);
    auto& animation = static_cast<Velto::rcAnimationView&>(*view);
    // Nothing before the first refresh.
    EXPECT_EQ(Rgb(*Draw({0, 0, 200, 100}, 0xFFFFFFFF), 21, 31), 0xFFFFFFu);
    animation.WindowStateChanged();
    EXPECT_EQ(animation.GetFrameCount(), c.count);
    EXPECT_EQ(animation.GetCurrentFrame(), c.position);
    EXPECT_NEAR(static_cast<double>(Rgb(*Draw({0, 0, 200, 100}, 0xFFFFFFFF), 21, 31)), c.blue, 1.0);
    // Another frame invalidates the area drawn and the new frame's; the same frame nothing.
    for (const bool again : {false, true}) {
      fView->fInvalidated.clear();
      fController.fVariables["v"] = again ? "-2" : "-1";
      animation.WindowStateChanged();
      const bool moved = !again && c.position != 0;
      EXPECT_EQ(fView->fInvalidated, moved ? std::vector<Wex::cRect>(2, {20, 30, 24, 32}) : std::vector<Wex::cRect>());
      Draw({0, 0, 200, 100}, 0xFFFFFFFF);
    }
    fRoot->RemoveChild(view);
  }
}

}  // namespace
}  // namespace VeltoTest
