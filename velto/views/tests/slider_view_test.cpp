#include "velto/views/slider_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

class SliderViewTest : public ViewTest {
 protected:
  SliderViewTest() {
    WriteFilm("film");
    WritePicture("dot", 2, 2, 0xFFFFFF00);
  }
  // A 120 x 100 slider at the root's origin with the keys.
  Velto::rcValueControlView& MakeSlider(const std::string& keys) {
    return Remake<Velto::rcValueControlView>("type: slider, bounds: { 0, 0, 120, 100 }, " + keys);
  }
};

const std::string kLine = "slit: { start: { 10, 50 }, end: { 110, 50 } }, ";

TEST_F(SliderViewTest, DragsFollowTheSlitWithFineModeSnapZoneAndReset) {
  // The slider's keys, its value before, then the steps of the press and the drags.
  const struct {
    std::string keys;
    const char* start;
    const char* steps;
  } cases[] = {
      // Away from the cap the cap jumps with the first drag event (the press's own, as the host
      // tracks); with shift it does not.
      {kLine, "0", "60,50=0.5 61,50=0.51"},
      {kLine, "0", "60,50s=0 70,50s=0.01 80,50s=0.02"},
      // Beyond the end the movement has to be taken back.
      {kLine, "0", "10,50=0 130,50=1 140,50=1 110,50=1 100,50=0.9 100,90=0.9"},
      // The snap zone of 4 pixels each side: 0.04; the value rests over 8 pixels.
      {kLine + "snap: { value: 0.5, area: 4 }", "0", "10,50=0 59,50=0.49 61,50=0.5 67,50=0.5 69,50=0.51"},
      {kLine + "snap: { value: 0.5, area: 4 }", "0.6",
       "70,50=0.6 67,50=0.57 61,50=0.51 59,50=0.5 53,50=0.5 51,50=0.49"},
      // Fine mode has no dead zone, and leaving it does not move the cap.
      {kLine + "snap: { value: 0.5 }", "0.48", "58,50s=0.48 78,50s=0.5 98,50s=0.52 98,50=0.52 99,50=0.53 103,50=0.57"},
      // Command holds the default value for the whole drag.
      {kLine + "default: 0.3", "0", "60,50c=0.3 70,50c=0.3 90,50=0.3 90,50s=0.3"},
      // Off the swept slit, read-only or on a slit without extent: not handled.
      {kLine, "0", "60,56=0!"},
      {kLine + "readonly: true", "0", "10,50=0!"},
      {"", "0", "0,0=0!"},
      {"slit: { center: { 50, 50 }, radius: 0 }", "0", "50,50=0!"},
      {"slit: { center: { 50, 50 }, sweep: { 0, 0 } }", "0", "50,10=0!"},
      {"slit: { start: { 1e308, 0 }, end: { -1e308, 0 } }", "0", "0,0=0!"},
      // An empty range keeps every value at parameter 0.
      {kLine + "range: { 2, 2 }", "2", "10,50=2 60,50=2 5,50=2"},
      // A full circle: crossing the start continues without a jump, and back.
      {"slit: { center: { 50, 50 }, radius: 40, sweep: { 0, 360 } }", "0.9", "26,18=0.9 62,12=1 26,18=0.9"},
      {"slit: { center: { 50, 50 }, radius: 40, sweep: { 0, -360 } }", "0.1", "26,18=0.1 62,12=0 26,18=0.1"},
  };
  for (const auto& [keys, start, steps] : cases) {
    SCOPED_TRACE(keys + " | " + steps);
    Velto::rcValueControlView& slider = MakeSlider(keys);
    slider.SetValue(std::stod(start));
    RunValueSteps(slider, steps);
  }
  EXPECT_FALSE(MakeSlider(kLine).MouseDown({10, 50}, 0, false, Keys("r")));
}

TEST_F(SliderViewTest, DescriptionsChooseTheSlitCapAndSnap) {
  // The error, or the points of parameters 0 and 1 (to 12 digits), the cap's roundness and the snap.
  const char* cases[][2] = {
      {"cap: { rounded: 50 }", "Unsupported cap roundness: 50"},
      {"cap: { rounded: 1e300 }", "Unsupported cap roundness: 1e+300"},
      {"cap: { rounded: 100 }, snap: true, default: 0.25", "0,0 0,0 rounded snap 0.25"},
      {"slit: { color: red }", "0,50 120,50 square free 0"},
      {"slit: { start: { 1, 2 } }, snap: { value: 0.75 }", "1,2 120,50 square snap 0.75"},
      // The arc: about the view's centre, radius from the centre and the cap size, a quarter turn.
      {"slit: { center: }, cap: { size: { 10, 30 } }", "60,16 94,50 square free 0"},
      {"slit: { center: { 50, 50 }, radius: 40, sweep: { 90 } }", "90,50 50,90 square free 0"},
      {"slit: { center: { 50, 50 }, radius: 40, sweep: { , 180, 7 } }", "50,10 50,90 square free 0"},
      {"slit: { center: { 50, 50 }, radius: x }", "Undefined symbol: \"x\""},
      {"variable: v, slit: { thickness: q }", "Undefined symbol: \"q\""},
      {"variable: v, hint: '%', autoRefresh: q", "Undefined symbol: \"q\""},
  };
  for (const auto& c : cases) {
    char result[128] = "";
    const std::string error = ErrorOf([&] {
      const Velto::rcValueControlView& slider = MakeSlider(c[0]);
      const QorRaster::Point p0 = slider.PointAtParameter(0), p1 = slider.PointAtParameter(1);
      std::snprintf(result, sizeof result, "%.12g,%.12g %.12g,%.12g %s %s %.17g", p0.x + 0.0, p0.y + 0.0, p1.x + 0.0,
                    p1.y + 0.0, slider.GetDesign().fCapRounded ? "rounded" : "square",
                    slider.IsSnapEnabled() ? "snap" : "free", slider.GetSnapValue());
    });
    EXPECT_EQ(error.empty() ? result : error, c[1]) << c[0];
    EXPECT_EQ(fRoot->GetChildCount(), error.empty() ? 1 : 0) << c[0];
  }
  // A refused bound slider leaves no binding: a refresh asks nothing.
  TakeCalls();
  fRoot->WindowStateChanged();
  EXPECT_TRUE(TakeCalls().empty());

  // A bound slider writes its variable through the root while it is dragged.
  fController.fVariables["v"] = "0.5";
  Velto::rcValueControlView& bound = MakeSlider(kLine + "variable: v, hint: '%'");
  fRoot->WindowStateChanged();
  EXPECT_EQ(bound.GetValue(), 0.5);
  TakeCalls();
  RunValueSteps(bound, "60,50=0.5 70,50=0.6");
  EXPECT_EQ(TakeCalls(),
            (Calls{At("SetVariableTracking", {"v", "true"}), At("SetVariable", {"v", "0.6", "true"}),
                   At("SetVariableTracking", {"v", "false"}), At("TestVariable", {"v"}), At("GetVariable", {"v"})}));
  EXPECT_EQ(bound.GetHintText()->GetText(), "0.60");
}

TEST_F(SliderViewTest, DrawsTheFilmSlitCapAndCapImage) {
  const struct {
    std::string keys;
    double value;
    std::vector<Sample> samples;  // over grey
  } cases[] = {
      // The slit is stroked 4 wide with round caps.
      {"slit: { start: { 10, 50 }, end: { 110, 50 }, color: red }", 0.5,
       {{60, 48, 0xFF0000}, {60, 51, 0xFF0000}, {60, 47, 0x808080}, {60, 52, 0x808080}, {9, 50, 0xFF0000},
        {110, 50, 0xFF0000}, {7, 50, 0x808080}, {112, 50, 0x808080}}},
      // A rectangular cap over the slit, and at the snap value the snap colour.
      {"slit: { start: { 10, 50 }, end: { 110, 50 }, color: red }, cap: { size: { 10, 6 }, color: blue }", 0.5,
       {{55, 47, 0x0000FF}, {64, 52, 0x0000FF}, {66, 50, 0xFF0000}, {60, 46, 0x808080}, {60, 53, 0x808080}}},
      {kLine + "cap: { size: { 10, 6 }, color: blue }, snap: { value: 0.5, color: lime }", 0.5,
       {{55, 47, 0x00FF00}, {64, 52, 0x00FF00}}},
      // A round cap leaves its corners.
      {kLine + "cap: { rounded: 100, size: 10, color: blue }", 0.5,
       {{60, 50, 0x0000FF}, {56, 50, 0x0000FF}, {55, 45, 0x808080}, {64, 54, 0x808080}}},
      // The cap image centred on the cap, scaled; a snap image without a cap image.
      {kLine + "cap: { image: dot, scale: 200 }", 0,
       {{9, 49, 0xFFFF00}, {10, 50, 0xFFFF00}, {6, 50, 0x808080}, {13, 50, 0x808080}}},
      {kLine + "snap: { value: 0, image: dot }", 0, {{9, 49, 0xFFFF00}, {10, 50, 0xFFFF00}, {8, 50, 0x808080}}},
      {kLine + "snap: { value: 0, image: dot }", 0.5, {{9, 49, 0x808080}, {60, 50, 0x808080}}},
      // Film frames by the value; frames below 1 count as 1; an empty range shows frame 0.
      {kLine + "film: { image: film, frames: 8, offset: { 3, 4 } }", 0.3, {{3, 4, 0x000002}}},
      {kLine + "film: { image: film, frames: 8, offset: { 3, 4 } }", 1, {{3, 4, 0x000007}}},
      {kLine + "film: { image: film, frames: -3 }", 1, {{0, 0, 0x000000}, {0, 1, 0x000001}}},
      {kLine + "range: { 5, 5 }, film: { image: film, frames: 8 }", 5, {{0, 0, 0x000000}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    MakeSlider(c.keys).SetValue(c.value);
    ExpectSamples(c.samples);
  }
  // A cap of colour 0 draws nothing but is still hit.
  Velto::rcValueControlView& plain = MakeSlider(kLine + "cap: { size: 10 }");
  EXPECT_EQ(GuiTest::CountOther(*Draw({0, 0, 200, 100}, 0xFF808080), {0, 0, 200, 100}, 0xFF808080), 0);
  EXPECT_TRUE(plain.IsOnCap({14, 54}, 0));
  EXPECT_FALSE(plain.IsOnCap({15, 50}, 0));
  EXPECT_TRUE(plain.ContainsPoint({60, 54}));
  EXPECT_FALSE(plain.ContainsPoint({60, 55}));
}

TEST_F(SliderViewTest, ValueChangesRedrawTheCapAreasAndFilmFramesOnly) {
  const struct {
    std::string keys;
    std::vector<std::string> areas;  // invalidated by SetValue(0.5) from 0, after a draw
  } cases[] = {
      {kLine + "cap: { size: { 10, 6 }, color: blue }", {"4,46,16,54", "54,46,66,54"}},
      {kLine + "cap: { size: { 10, 6 } }", {}},
      {kLine + "cap: { image: dot, scale: 300 }", {"7,47,13,53", "57,47,63,53"}},
      {kLine + "cap: { size: { 2, 2 }, color: blue, image: dot, scale: 300 }", {"7,47,13,53", "57,47,63,53"}},
      {kLine + "snap: { value: 0, image: dot }", {"9,49,11,51"}},
      {kLine + "snap: { value: 0, color: lime }", {"4,44,16,56"}},
      {kLine + "film: { image: film, frames: 8, offset: { 3, 4 } }", {"3,4,4,5", "3,4,4,5"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    Velto::rcValueControlView& slider = MakeSlider(c.keys);
    Draw({0, 0, 200, 100}, 0xFF808080);
    fView->fInvalidated.clear();
    EXPECT_TRUE(slider.SetValue(0.5));
    EXPECT_FALSE(slider.SetValue(0.5));
    EXPECT_EQ(TakeInvalidated(), c.areas);
  }
}

}  // namespace
}  // namespace VeltoTest
