#include "velto/marker_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "base/clock.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

constexpr double kPi = std::numbers::pi;

class MarkerTest : public ViewTest {
 protected:
  // A marker over the view's area; the test's clock starts at the present.
  ref<Velto::rcMarkerView> Marker(const std::string& keys) {
    fNow = Wex::ToElementTime(Wex::GetMilliseconds());
    const ref<Wex::rcGUIElement> view = Make("type: marker, bounds: { 0, 0, 100, 100 }, " + keys);
    return ref<Velto::rcMarkerView>(dynamic_cast<Velto::rcMarkerView*>(view.Get()));
  }
  // Runs the next task at its due time and answers how long after the previous one it came; -1
  // when none is pending.
  std::int32_t Tick() {
    std::int32_t delta = 0;
    if (!fView->fScheduler->GetTimeToNextTask(fNow, delta)) return -1;
    fNow = Wex::WrapAdd(fNow, delta);
    fView->fScheduler->RunDueTasks(fNow);
    return delta;
  }
  // The view's area drawn over white.
  ref<Wex::rcOffscreenContext32> Picture() { return Draw({0, 0, 100, 100}, 0xFFFFFFFF); }

  std::int32_t fNow = Wex::ToElementTime(Wex::GetMilliseconds());
};

TEST_F(MarkerTest, KeysGiveTheIntervalThePhaseStepAndTheOutlineWeight) {
  // keys, interval, phase step, sweep, outline weight
  const std::tuple<std::string, std::int32_t, double, double, std::int32_t> cases[] = {
      {"", 50, kPi / 10, 2 * kPi, 0},
      {"time: 2, updateRate: 20, sweep: 90", 50, kPi / 20, kPi / 2, 0},
      {"updateRate: 30, outlineMix: 100", 33, 0.033 * 2 * kPi, 2 * kPi, 255},
      {"updateRate: 0, outlineMix: 50", 50, kPi / 10, 2 * kPi, 127},
      {"updateRate: -4, outlineMix: -20", 50, kPi / 10, 2 * kPi, 0},
      {"updateRate: 1/0, outlineMix: 300", 50, kPi / 10, 2 * kPi, 255},
      {"updateRate: 1e-9", 1 << 30, (1 << 30) * 0.001 * 2 * kPi, 2 * kPi, 0},
  };
  for (const auto& [keys, interval, step, sweep, weight] : cases) {
    SCOPED_TRACE(keys);
    const ref<Velto::rcMarkerView> marker = Marker(keys);
    EXPECT_EQ(marker->GetInterval(), interval);
    EXPECT_NEAR(marker->GetPhaseStep(), step, 1e-12);
    EXPECT_NEAR(marker->GetSweep(), sweep, 1e-12);
    EXPECT_EQ(marker->GetOutlineMix(), weight);
  }
  // Markers made in the same millisecond get different seeds.
  for (int attempt = 0; attempt < 10; ++attempt) {
    const std::int64_t start = Wex::GetMilliseconds();
    const std::uint32_t first = Marker("")->GetSeed();
    const std::uint32_t second = Marker("")->GetSeed();
    if (Wex::GetMilliseconds() != start) continue;
    EXPECT_NE(first, second);
    break;
  }
  EXPECT_EQ(ErrorOf([&] { Marker("pen: nocolor"); }), "Invalid color: \"nocolor\"");
}

TEST_F(MarkerTest, TicksGrowTheLoopByAStepUntilTheSweepThenStop) {
  const ref<Velto::rcMarkerView> marker =
      Marker("center: { 50, 50 }, size: { 30, 20 }, random: 10, time: 2, pen: { color: black, stroke: 3 }");
  int ticks = 0;
  int drawn = 0;
  ref<Wex::rcOffscreenContext32> before = Picture();
  for (std::int32_t delay = Tick(); delay != -1; delay = Tick()) {
    EXPECT_TRUE(++ticks == 1 || delay == 50) << delay;
    EXPECT_NEAR(marker->GetPhase(), std::min(ticks * kPi / 20, 2 * kPi), 1e-9);
    // The generator starts again each tick: what was drawn stays as the loop grows.
    const ref<Wex::rcOffscreenContext32> after = Picture();
    int lost = 0;
    drawn = 0;
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 100; ++x) {
        const int was = Rgb(*before, x, y) & 0xFF;
        const int is = Rgb(*after, x, y) & 0xFF;
        lost += is > was + 8;
        drawn += is < 0x80;
      }
    }
    EXPECT_LE(lost, 3) << ticks;
    before = after;
  }
  EXPECT_GE(ticks, 40);
  EXPECT_LE(ticks, 41);
  EXPECT_EQ(marker->GetPhase(), marker->GetSweep());
  EXPECT_GT(drawn, 150);

  const ref<Velto::rcMarkerView> once = Marker("size: { 30, 20 }, sweep: 0");
  EXPECT_NE(Tick(), -1);
  EXPECT_EQ(once->GetPhase(), 0.0);
  EXPECT_NE(once->GetImage(), nullptr);
  EXPECT_EQ(Tick(), -1);
}

TEST_F(MarkerTest, WithoutRandomnessThePenTracesTheEllipseAndTheOutlineMixChoosesRingOrStroke) {
  // One tick draws the whole loop; "random" below 0 counts as 0, so every such loop is the same.
  const std::string loop = "center: { 50, 50 }, size: { 30, 20 }, time: 0.05, pen: { color: black, stroke: 6 }, ";
  const std::tuple<std::string, std::uint32_t, std::uint32_t> cases[] = {
      // keys, on the pen's centre line (50, 70), on its edge (50, 67)
      {"random: 0", 0x000000, 0x000000}, {"random: -50", 0x000000, 0x000000},
      {"outlineMix: 100, outlineWidth: 2", 0xFFFFFF, 0x000000},
  };
  for (const auto& [keys, centre, edge] : cases) {
    SCOPED_TRACE(keys);
    fRoot->RemoveAllChildren();
    Marker(loop + keys);
    ASSERT_NE(Tick(), -1);
    const ref<Wex::rcOffscreenContext32> picture = Picture();
    EXPECT_EQ(Rgb(*picture, 50, 70), centre);
    EXPECT_NEAR(Rgb(*picture, 50, 67) & 0xFF, edge & 0xFF, 4);
    EXPECT_EQ(Rgb(*picture, 79, 55), centre);
    EXPECT_EQ(Rgb(*picture, 50, 50), 0xFFFFFFu);  // not at the centre
    EXPECT_EQ(Rgb(*picture, 70, 50), 0xFFFFFFu);
  }
  fRoot->RemoveAllChildren();
  Marker(loop + "outlineMix: 50, outlineWidth: 2");
  Tick();
  const std::uint32_t half = Rgb(*Picture(), 50, 70) & 0xFF;
  EXPECT_TRUE(half >= 0x7E && half <= 0x81) << half;
}

TEST_F(MarkerTest, ShapesThatCannotBeDrawnDrawNothingAndLoopsBeyondTheLimitsEndTheTicks) {
  for (const char* size : {"{ 0, 0 }", "{ 1/0, 5 }"}) {
    fRoot->RemoveAllChildren();
    const ref<Velto::rcMarkerView> marker = Marker(std::string("size: ") + size + ", time: 0.05");
    EXPECT_NE(Tick(), -1);
    EXPECT_EQ(marker->GetImage(), nullptr) << size;
  }
  // The first tick's loop has 165,000 vertices, the second's more than a path may hold.
  fRoot->RemoveAllChildren();
  const ref<Velto::rcMarkerView> marker =
      Marker("size: { 30, 20 }, sweep: 1e9, time: 0.0000286, pen: { color: black, stroke: 0 }");
  EXPECT_NE(Tick(), -1);
  const QorRaster::RLEImage* image = marker->GetImage();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(Tick(), 50);
  EXPECT_EQ(marker->GetImage(), image);
  EXPECT_EQ(Tick(), -1);
}

}  // namespace
}  // namespace VeltoTest
