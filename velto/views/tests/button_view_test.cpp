#include "velto/views/button_view.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "gui/alert.h"
#include "velto/popup_menu.h"
#include "velto/testing/fixed_font.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

class ButtonViewTest : public ViewTest {
 protected:
  ButtonViewTest() {
    // The first alert runs what the test set for it.
    fPreviousAlert = Wex::SetAlertRunner([this](std::int32_t, std::int32_t, std::int32_t, const refString&,
                                                const refString&, const ref<Wex::rcExtWindow>&) {
      if (const std::function<void()> during = std::exchange(fDuringAlert, nullptr)) during();
      return 0;
    });
  }
  ~ButtonViewTest() override { Wex::SetAlertRunner(fPreviousAlert); }

  // A button at { 10, 10, 100, 20 } with the keys, refreshed; the tree holds it alone.
  Velto::rcButtonView* MakeButton(const std::string& keys) {
    Velto::rcButtonView& button = Remake<Velto::rcButtonView>("type: button, bounds: { 10, 10, 100, 20 }, " + keys);
    Refresh();
    return &button;
  }
  // Runs mouse steps: "p", "d" or "r" and a root point "x,y" (upper case with shift) press, drag
  // and release, "c" cancels. Answers the actions that reached the controller, space-separated,
  // and "passed" when a press was not handled.
  std::string Mouse(const std::string& steps) {
    std::string passed;
    std::istringstream in(steps);
    for (std::string step; in >> step;) {
      Wex::cKeyModifiers keys;
      keys.fShift = std::isupper(static_cast<unsigned char>(step[0])) != 0;
      const std::size_t comma = step.find(',');
      const Wex::cPoint p{comma == std::string::npos ? 0 : std::stoi(step.substr(1)),
                          comma == std::string::npos ? 0 : std::stoi(step.substr(comma + 1))};
      const char kind = static_cast<char>(std::tolower(static_cast<unsigned char>(step[0])));
      if (kind == 'p' && !Press(p, keys)) passed = " passed";
      if (kind == 'd') Drag(p, keys);
      if (kind == 'r') Release(p, keys);
      if (kind == 'c') CancelTracking();
    }
    std::string names;
    for (const Call& call : TakeCalls()) {
      if (call.fOperation == "PerformAction") names += (names.empty() ? "" : " ") + call.fArguments[0];
    }
    return names + passed;
  }

  Wex::AlertRunner fPreviousAlert;
  std::function<void()> fDuringAlert;
};

TEST_F(ButtonViewTest, PressDragsAndReleaseRunTheLastBindingsThatTheirMasksMatch) {
  fController.fEnabledActions = {{"off", false}};
  fView->fWindow = ref<Wex::rcExtWindow>(new GuiTest::rcFakeWindow({100, 200, 400, 300}));
  const char* five = "actions: { { press, p }, { down, d }, { up, u }, { release, r }, { click, c } }";
  const char* shift = "actions: { { click, a }, { click+shift, b } }";
  const char* cases[][3] = {
      {five, "p60,20 r60,20", "p d u r c"},
      {five, "p60,20 d150,20 d140,20 d60,20 d150,20 r150,20", "p d u d u r"},
      {five, "p60,20 c", "p d u r"},
      {shift, "P60,20 R60,20", "b"},
      {shift, "p60,20 r60,20", "a"},
      {"actions: { { click, a }, { click+shift, '' } }", "P60,20 R60,20", ""},
      // A corner outside the rounded shape is not the button's; a disabled button swallows presses.
      {"rounded: 100, action: a", "p11,11 r11,11", " passed"},
      {"action: off", "p60,20 r60,20", ""},
  };
  for (const auto& [keys, steps, performed] : cases) {
    MakeButton(keys);
    TakeCalls();
    EXPECT_EQ(Mouse(steps), performed) << keys << " | " << steps;
    EXPECT_FALSE(fView->fTracker);
  }
  // Actions start from the view's centre on the screen.
  EXPECT_EQ(Velto::gActionOrigin, (Wex::cPoint{100 + 10 + 50, 200 + 10 + 10}));
}

TEST_F(ButtonViewTest, DragsDuringAnActionLeaveRequestsAndARebuildLeavesTheButtonAlive) {
  // Out and in again during the down action: pressed still; in and out: up at once.
  for (const auto& [drags, performed, pressed] :
       {std::tuple{"d150,20 d60,20", "", true}, std::tuple{"d60,21 d150,20", "u", false}}) {
    const Velto::rcButtonView* button = MakeButton("actions: { { down, alert }, { up, u }, { release, r } }");
    fDuringAlert = [&, d = drags] { Mouse(d); };
    EXPECT_EQ(Mouse("p60,20"), performed);
    EXPECT_EQ(button->IsPressedInside(), pressed);
    Mouse("r60,20");
  }
  // The tree drops the button while its press or its down action runs; only the tree held it.
  for (const char* action : {"press", "down"}) {
    Velto::rcButtonView* button = MakeButton(std::string("actions: { { ") + action + ", alert }, { release, r } }");
    fDuringAlert = [&] { fRoot->RemoveAllChildren(); };
    EXPECT_TRUE(button->MouseDown({50, 10}, 0, false, {}));
    EXPECT_EQ(fRoot->GetChildCount(), 0);
    EXPECT_FALSE(fView->fTracker);
  }
}

TEST_F(ButtonViewTest, FacesStartFromTheirCopiesAndReadTheirBlocks) {
  // Per face (standard, checked, down, checkedDown, disabled): fill, frame colour and width,
  // rectangle and corner radii. Relative radii follow the face's size, but not along a side of 0
  // of the standard face.
  const char* cases[][2] = {
      {"",
       "0 0 1 0,0,100,20 0,0 | 0 0 1 0,0,100,20 0,0 | 0 0 1 0,0,100,20 0,0 | 0 0 1 0,0,100,20 0,0 | "
       "0 0 1 0,0,100,20 0,0"},
      {"standard: { fill: red, frame: blue }, checked: { fill: lime }, down: { rect: { l + 2, t + 2, w - 4, } },"
       " checkedDown: { rect: { , , 50, 10 } }, disabled: { rect: { 1, $ + 1, r - l, b, 7 }, frame: { stroke: 3 } },"
       " rounded: 50",
       "ffff0000 ff0000ff 1 0,0,100,20 25,5 | ff00ff00 0 0 0,0,100,20 25,5 | ffff0000 0 0 2,2,96,20 24,5 | "
       "ff00ff00 0 0 0,0,50,10 12.5,2.5 | ffff0000 0 3 1,1,99,20 24.75,5"},
      {"rounded: { 3, 4 }, down: { rect: { , , 50, 10 } }, standard: { rect: { , , 0, } }",
       "0 0 0 0,0,0,20 3,4 | 0 0 0 0,0,0,20 3,4 | 0 0 0 0,0,50,10 3,4 | 0 0 0 0,0,0,20 3,4 | 0 0 0 0,0,0,20 3,4"},
      {"rounded: 200, standard: { rect: { , , 0, } }, down: { rect: { , , 50, 10 } }",
       "0 0 0 0,0,0,20 0,10 | 0 0 0 0,0,0,20 0,10 | 0 0 0 0,0,50,10 0,5 | 0 0 0 0,0,0,20 0,10 | 0 0 0 0,0,0,20 0,10"},
  };
  for (const auto& [keys, expected] : cases) {
    const Velto::rcButtonView* button = MakeButton(keys);
    std::ostringstream faces;
    for (std::size_t i = 0; i < Velto::kButtonFaceCount; ++i) {
      const Velto::cButtonFace& f = button->GetFaces()[i];
      const QorRaster::Point radii = button->GetFaceRadii(i);
      faces << (i > 0 ? " | " : "") << std::hex << f.fFill << " " << f.fFrame.fColor << std::dec << " "
            << f.fFrame.fWidth << " " << f.fRect.x << "," << f.fRect.y << "," << f.fRect.width << "," << f.fRect.height
            << " " << radii.x << "," << radii.y;
    }
    EXPECT_EQ(faces.str(), expected) << keys;
  }
  EXPECT_EQ(ErrorOf([&] { MakeButton("down: { fill: nocolor }"); }), "Invalid color: \"nocolor\"");
}

TEST_F(ButtonViewTest, DrawsTheFaceOfItsStateWithTheIconAndCaptionCentred) {
  fController.fEnabledActions = {{"off", false}};
  const ref<rcFixedFont> font(new rcFixedFont(6, 10, 8));
  fController.fFonts["f"] = iref<Velto::iFont>(font);
  fController.fVariables["n"] = "OK";
  WritePicture("dot", 2, 2, 0xFFFFFF00);
  const std::string faces =
      "rounded: 50, standard: { fill: red, font: f }, down: { fill: blue, rect: { l, t, 50, } }, "
      "disabled: { fill: lime, icon: dot }, caption: '[var]n[/var]', ";
  const struct {
    std::string button;
    bool press;
    std::vector<Sample> samples;  // over grey
    std::vector<std::string> text;
  } cases[] = {
      // The standard face's corners have radii 25 and 5; the down face's 12.5 and 5.
      {faces + "action: a", false, {{60, 20, 0xFF0000}, {13, 11, 0x808080}, {70, 20, 0xFF0000}}, {"OK@44,13"}},
      {faces + "action: a", true, {{15, 11, 0x0000FF}, {70, 20, 0x808080}, {11, 11, 0x808080}}, {"OK@19,13"}},
      {faces + "action: off", true, {{59, 19, 0xFFFF00}, {60, 20, 0xFFFF00}, {58, 19, 0x00FF00}}, {"OK@44,13"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    MakeButton(c.button);
    if (c.press) Press({30, 20});
    ExpectSamples(c.samples);
    EXPECT_EQ(std::exchange(font->fDrawn, {}), c.text);
    Release({30, 20});
  }
}

TEST_F(ButtonViewTest, EnabledCheckedAndCaptionFollowTheBindingsAndRedrawOnlyOnAChange) {
  fController.fEnabledActions = {{"a", false}, {"c", true}, {"d", false}};
  fController.fCheckedActions = {{"d", true}};
  fController.fVariables["n"] = "x";
  Velto::rcButtonView* button = MakeButton(
      "actions: { { click, a }, { release, b }, { press, c }, { down, d } }, caption: '[var]n[/var]',"
      " cursor: hand");
  std::vector<std::string> queries;
  for (const Call& call : TakeCalls()) {
    if (call.fOperation != "CreateView") queries.push_back(call.fOperation + " " + call.fArguments[0]);
  }
  EXPECT_EQ(queries, (std::vector<std::string>{"IsActionEnabled a", "IsActionChecked a", "IsActionEnabled c",
                                               "IsActionChecked c", "IsActionChecked d", "GetVariable n"}));
  EXPECT_TRUE(button->IsEnabled());
  EXPECT_TRUE(button->IsChecked());
  EXPECT_EQ(Wex::ToRCString(*button->GetCaptionText())->GetText(), "x");
  const std::vector<std::pair<std::function<void()>, std::size_t>> changes = {
      {[] {}, 0},
      {[&] { fController.fVariables["n"] = "xy"; }, 1},
      {[&] { fController.fCheckedActions.clear(); }, 1},
      {[&] { fController.fEnabledActions["c"] = false; }, 1},
  };
  for (const auto& [change, invalidated] : changes) {
    change();
    EXPECT_EQ(Refresh().size(), invalidated);
  }
  // The cursor shows only while the button is enabled.
  Move({60, 20});
  fController.fEnabledActions["c"] = true;
  fRoot->WindowStateChanged();
  Move({61, 20});
  EXPECT_EQ(fView->fCursors.size(), 1u);
}

}  // namespace
}  // namespace VeltoTest
