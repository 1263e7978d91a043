#include "velto/views/knob_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

class KnobViewTest : public ViewTest {
 protected:
  // A 100 x 100 knob at the root's origin with the keys.
  Velto::rcKnobView& MakeKnob(const std::string& keys) {
    return Remake<Velto::rcKnobView>("type: knob, bounds: { 0, 0, 100, 100 }, " + keys);
  }
};

TEST_F(KnobViewTest, DragsMoveTheValueLinearlyByPointingOrToTheDefault) {
  // The knob's keys, its value before, then steps "x,y[keys]=value after": the press, then drags.
  const char* cases[][3] = {
      {"", "0", "50,50=0 50,-150=1"},
      {"", "0", "50,50=0 150,-50=1"},
      {"", "0", "50,50s=0 50,-150s=0.1"},
      {"transmission: { resolution: 4 }", "0", "50,50=0 50,40=0.06"},
      {"transmission: { vertical: 0, resolution: 0 }", "0", "50,50=0 50,0=0 150,50=0.5"},
      {"", "0", "50,50o=0.5 50,10o=0.5 90,50o=0.83333333333333 10,50x=0.16666666666667"},
      // Snapping: crossing rests 16 pixels, starting on it 8; pointing rests within 1/32.
      {"default: 0.5, snap: true", "0.4", "50,50=0.4 50,20=0.5 50,10=0.52"},
      {"default: 0.5, snap: true", "0.5", "50,50=0.5 50,40=0.51 50,70=0.44"},
      {"snap: { value: 0.5 }", "0", "50,50o=0.5 55,10o=0.5 90,50o=0.83333333333333"},
      // Shift re-anchors without a jump; command counts only when an anchoring takes it in.
      {"", "0", "50,50=0 50,30=0.1 50,10s=0.1 50,-90s=0.15 50,-90=0.15 50,-110=0.25"},
      {"default: 0.3", "0.9", "50,50c=0.3 50,0c=0.3 50,0=0.3 50,0s=0.3 50,-100s=0.35"},
      {"default: 0.3", "0", "50,50=0 50,40c=0.05"},
      // An empty sweep leaves the value; an empty range keeps it at the minimum.
      {"sweep: { 0, 0 }", "0.25", "50,50o=0.25 90,50o=0.25"},
      {"range: { 2, 2 }", "0", "50,50=2 50,-150=2 90,50o=2"},
  };
  for (const auto& [keys, start, steps] : cases) {
    SCOPED_TRACE(std::string(keys) + " | " + steps);
    Velto::rcKnobView& knob = MakeKnob(keys);
    knob.SetValue(std::stod(start));
    RunValueSteps(knob, steps);
  }
}

TEST_F(KnobViewTest, APressTracksABoundKnobInsideItsCapOnly) {
  fController.fVariables["v"] = "0";
  Velto::rcKnobView& knob = MakeKnob("variable: v, cap: { size: 60 }, hint: '%'");
  fRoot->WindowStateChanged();
  TakeCalls();
  EXPECT_FALSE(Press({50, 81}));  // outside the cap circle
  EXPECT_FALSE(knob.MouseDown({50, 50}, 0, false, Keys("r")));
  EXPECT_FALSE(knob.IsTracking());
  RunValueSteps(knob, "50,78s=0 50,-122s=0.1");
  EXPECT_EQ(TakeCalls(),
            (Calls{At("SetVariableTracking", {"v", "true"}), At("SetVariable", {"v", "0.1", "true"}),
                   At("SetVariableTracking", {"v", "false"}), At("TestVariable", {"v"}), At("GetVariable", {"v"})}));
  // Read-only by description, or disabled by its variable, the knob takes no press.
  fController.fReadOnly = {"v"};
  fRoot->WindowStateChanged();
  EXPECT_FALSE(Press({50, 50}));
  EXPECT_FALSE(MakeKnob("readonly: true").MouseDown({50, 50}, 0, false, {}));
  // A knob whose description fails after its binding leaves no binding behind.
  EXPECT_EQ(ErrorOf([&] { MakeKnob("variable: w, autoRefresh: s"); }), "Undefined symbol: \"s\"");
  TakeCalls();
  fRoot->WindowStateChanged();
  EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(KnobViewTest, TheFilmFrameFollowsTheValueAngleWithinTheFilm) {
  WriteFilm("film");
  const struct {
    const char* film;
    std::vector<std::pair<double, std::uint32_t>> frames;  // value, frame
  } cases[] = {
      {"frames: 8", {{0, 0}, {0.3, 2}, {0.5, 4}, {1, 7}}},
      {"frames: 8, range: { -90, 180 }", {{0, 0}, {0.25, 1}, {0.5, 4}, {1, 7}}},
      {"frames: 8, interpolate: true", {{0, 0}, {1, 7}}},
      {"frames: 0", {{1, 0}}},
      {"frames: 8, range: { 0, 0 }", {{1, 0}}},
  };
  const ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(1, 1, false));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.film);
    Velto::rcKnobView& knob = MakeKnob(std::string("film: { image: film, ") + c.film + " }");
    for (const auto& [value, frame] : c.frames) {
      knob.GetFilmFrame(value)->Draw(*bitmap, {0, 0});
      EXPECT_EQ(GuiTest::Pixel(*bitmap, 0, 0), 0xFF000000 | frame) << value;
    }
  }
  EXPECT_FALSE(MakeKnob("").GetFilmFrame(0));
}

TEST_F(KnobViewTest, DrawsTheFilmTheTurnedImageAndDialOverRingOverCap) {
  // 20 x 10: the left half red, the right half blue.
  std::vector<std::uint32_t> pixels(200, 0xFF0000FF);
  for (int y = 0; y < 10; ++y) std::fill_n(pixels.begin() + y * 20, 10, 0xFFFF0000);
  fBundle.WriteResource("pic", "png", QorPNG::WritePremultipliedARGB(pixels.data(), 20, 10, 20));
  WritePicture("dot", 2, 2, 0xFFFFFF00);
  const char* vector = "cap: { color: red, frame: { color: lime, stroke: 4 }, dial: { color: blue } }";
  const struct {
    std::string knob;
    double value;
    std::vector<Sample> samples;  // over grey
  } cases[] = {
      // At 0 the dial points down-left; the ring's centre line lies 48 from the centre.
      {vector, 0, {{50, 20, 0xFF0000}, {50, 3, 0x00FF00}, {35, 65, 0x0000FF}, {65, 65, 0xFF0000}, {2, 2, 0x808080}}},
      {std::string(vector) + ", snap: { color: yellow, value: 1 }", 1, {{50, 20, 0xFFFF00}, {65, 65, 0x0000FF}}},
      {std::string(vector) + ", snap: { color: yellow, value: 1 }", 0.5, {{50, 60, 0xFF0000}, {50, 40, 0x0000FF}}},
      // Turned a quarter turn clockwise about the centre: the left half above it.
      {"sweep: { 90, 90 }, cap: { image: pic }", 0,
       {{50, 44, 0xFF0000}, {50, 55, 0x0000FF}, {43, 50, 0x808080}, {60, 50, 0x808080}}},
      {"sweep: { 90, 90 }, cap: { image: pic, angle: 90, scale: 200 }", 0,
       {{35, 50, 0xFF0000}, {65, 50, 0x0000FF}, {50, 38, 0x808080}}},
      {"film: { image: dot, offset: { 3, 4 } }", 0, {{3, 4, 0xFFFF00}, {5, 4, 0x808080}, {50, 50, 0x808080}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.knob);
    MakeKnob(c.knob).SetValue(c.value);
    ExpectSamples(c.samples);
  }
}

}  // namespace
}  // namespace VeltoTest
