#include "velto/views/animation_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

// "bands": ten frames of 4 x 2 pixels, frame i of blue 20 i.
class AnimationViewTest : public ViewTest {
 protected:
  AnimationViewTest() {
    std::vector<std::uint32_t> pixels(80);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000 | static_cast<std::uint32_t>(i / 8 * 20);
    fBundle.WriteResource("bands", "png", QorPNG::WritePremultipliedARGB(pixels.data(), 4, 20, 4));
  }
  Velto::rcAnimationView& Animation(const std::string& keys) {
    fAnimation = Make("type: animation, bounds: { 20, 30, 4, 2 }, variable: \"v\", " + keys);
    return static_cast<Velto::rcAnimationView&>(*fAnimation);
  }
  ref<Wex::rcGUIElement> fAnimation;
};

TEST_F(AnimationViewTest, ShowsTheFrameOfTheValueThroughTheRangeAndTheCurve) {
  const char* const kTen = "film: { frames: 10, image: bands }";
  // A film of the first three bands, cut from the picture: its pixels are copied for blending.
  const char* const kBlended = "film: { frames: 3, interpolate: TRUE, image: { name: bands, clip: { 0, 0, 4, 6 } } }";
  const struct {
    const char *keys, *value;
    std::int32_t count, position, blue;
  } cases[] = {
      {kTen, "0", 10, 0, 0},  {kTen, "4.99", 10, 4, 80}, {kTen, "9.99", 10, 9, 180}, {kTen, "10", 10, 9, 180},
      {kTen, "-1", 10, 0, 0}, {kTen, "abc", 10, 0, 0},    {kTen, "1e308", 10, 9, 180}, {kTen, "-inf", 10, 0, 0},
      {"range: { 0, 1 }, film: { frames: 10, image: bands }", "0.35", 10, 3, 60},
      {"range: { 0, 1 }, curve: 0.25, film: { frames: 10, image: bands }", "0.5", 10, 2, 40},
      {"range: { 0, 1 }, curve: 0.25, film: { frames: 10, image: bands }", "0.75", 10, 5, 100},
      {kBlended, "256", 513, 256, 20},
      {kBlended, "384", 513, 384, 30},  // half of frame 1 and half of frame 2
      // Guards: no number counts as 0, numbers beyond the film's ends count as its ends.
      {"range: { 5, 5 }, film: { frames: 10, image: bands }", "5", 10, 0, 0},
      {"range: { 5, 5 }, film: { frames: 10, image: bands }", "6", 10, 9, 180},
      {"range: { 0, 1 }, curve: 0, film: { frames: 10, image: bands }", "1", 10, 0, 0},
      {"range: { 0, 1 }, curve: 2, film: { frames: 10, image: bands }", "0.5", 10, 9, 180},
      {"range: { 0, 1 }, curve: -1, film: { frames: 10, image: bands }", "0.5", 10, 0, 0},
      {"film: { frames: -5, image: bands }", "nan", 1, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.keys) + " @ " + c.value);
    fController.fVariables["v"] = c.value;
    Velto::rcAnimationView& view = Animation(c.keys);
    view.WindowStateChanged();
    EXPECT_EQ(view.GetFrameCount(), c.count);
    EXPECT_EQ(view.GetCurrentFrame(), c.position);
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 100}, 0xFFFFFFFF);
    EXPECT_NEAR(static_cast<double>(Rgb(*bitmap, 21, 31)), c.blue, 1.0);
    fRoot->RemoveChild(fAnimation);
  }
}

TEST_F(AnimationViewTest, InvalidatesTheOldAndTheNewFrameOnlyWhenTheFrameChanges) {
  Velto::rcAnimationView& view = Animation("film: { frames: 10, image: bands }");
  // Nothing before the first refresh.
  EXPECT_EQ(Rgb(*Draw({0, 0, 200, 100}, 0xFFFFFFFF), 21, 31), 0xFFFFFFu);
  fView->fInvalidated.clear();
  const struct {
    const char* value;
    std::vector<Wex::cRect> invalidated;
  } cases[] = {
      {"3", {{20, 30, 20, 30}, {20, 30, 24, 32}}},  // nothing drawn yet: an empty area
      {"3.5", {}},
      {"5", {{20, 30, 24, 32}, {20, 30, 24, 32}}},
  };
  for (const auto& c : cases) {
    fController.fVariables["v"] = c.value;
    view.WindowStateChanged();
    EXPECT_EQ(fView->fInvalidated, c.invalidated);
    Draw({0, 0, 200, 100}, 0xFF000000);
    fView->fInvalidated.clear();
  }
}

}  // namespace
}  // namespace VeltoTest
