// The cluster view: its description, the images that its cells show and draw, and the values that
// a press and a drag paint into the cells' variables.
#include "velto/views/cluster_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

class ClusterViewTest : public ViewTest {
 protected:
  ClusterViewTest() {
    WritePicture("white", 10, 10, 0xFFFFFFFF);
    WritePicture("grey", 4, 4, 0xFF404040);
  }

  // "c" cells 0 to 7 in a row of 10 x 10 at the top, and cells 8 and 9 both at (0, 20).
  Velto::rcClusterViewBase& MakeRow(const std::string& keys) {
    std::string rects;
    for (int i = 0; i < 8; ++i) rects += "{" + std::to_string(i) + ",, {" + std::to_string(i * 10) + ", 0, 10, 10}},";
    rects += "{8,, {0, 20, 10, 10}}, {9,, {0, 20, 10, 10}}";
    fRoot->RemoveAllChildren();
    const ref<Wex::rcGUIElement> view =
        Make("type: cluster, bounds: {0, 0, 200, 100}, array: c, images: {white, grey}, rects: {" + rects + "}, " + keys);
    TakeCalls();
    return dynamic_cast<Velto::rcClusterViewBase&>(*view);
  }

  // The variable calls since the last take: "+name" and "-name" for edits begun and ended,
  // "name=value" for values written.
  std::string Edits() {
    std::string log;
    for (const Call& call : TakeCalls()) {
      const std::vector<std::string>& a = call.fArguments;
      if (call.fOperation == "SetVariableTracking") log += (a[1] == "true" ? " +" : " -") + a[0];
      if (call.fOperation == "SetVariable") log += " " + a[0] + "=" + a[1];
    }
    return log;
  }

  // A press, with tracking delivering its first event at once as the host's view does, then
  // drags and the release.
  bool Press(const Wex::cPoint& p, const Wex::cKeyModifiers& keys = {}) {
    const bool handled = fRoot->MouseDown(p, 0, false, keys);
    if (fView->fTracker) fView->fTracker->TrackMouse(fView->TrackingHost(), fView->fTrackingEvent);
    return handled;
  }
  void Drag(const Wex::cPoint& p) { fView->fTracker->TrackMouse(fView->TrackingHost(), Event(p)); }
  void Release() {
    EXPECT_TRUE(std::exchange(fView->fTracker, nullptr)->EndTracking(fView->TrackingHost(), Event({})));
  }
};

TEST_F(ClusterViewTest, ReadsCellsAndRulesAndRefusesBadDescriptions) {
  const struct {
    const char* keys;
    const char* result;  // the variant, cells as "variable A / B / C", rules as "mask method value"; or the error
  } cases[] = {
      {"array: c, images: {white, grey}, range: {1, 5}, rects: {{1, {2, 2, 6, 8}, {20, 0, 10, 4}},"
       " {2+1,, {0, 0, 5, 5}, {0, 0, 30, 30}, ignored}}, paintMethod: set, paintValue: $ / 2,"
       " paintValues: {{shift, slide, 7}, {alt+command}, {windows, exclusive,, more}}",
       "interactive c[1] 2,2,8,6 / 20,0,26,4 / 20,0,30,4; c[3] 0,0,5,5 / 0,0,5,5 / 0,0,30,30;"
       " 0 set 2.5; 2 slide 7; 24 toggle 5; 4096 exclusive 5;"},
      // Defaults: "toggle" at the range maximum, the number of images less one; a method is
      // checked at the press that selects it, and a read-only cluster reads no rules.
      {"images: {white, grey}, rects: {5}", "interactive [5] 0,0,10,10 / 0,0,10,10 / 0,0,10,10; 0 toggle 1;"},
      {"images: {white}, paintMethod: bogus", "interactive 0 bogus 0;"},
      {"readonly: TRUE, images: {white}, paintValues: {{nonsense}}", "read-only"},
      {"images: {}, rects: {{}}", "No images declared for cluster view"},
      {"images: {white}, rects: {{1}, {}}", "Invalid rects specification in cluster view"},
      {"images: {white}, paintValues: {{shift+bogus}}", "Invalid click mask constant: \"bogus\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    fRoot->RemoveAllChildren();
    std::string result;
    const std::string error = ErrorOf([&] {
      const ref<Wex::rcGUIElement> made = Make(std::string("type: cluster, ") + c.keys);
      const auto& view = dynamic_cast<Velto::rcClusterViewBase&>(*made);
      const auto* interactive = dynamic_cast<const Velto::rcClusterView*>(&view);
      result = interactive != nullptr ? "interactive" : "read-only";
      for (const Velto::cClusterCell& cell : view.GetCells()) {
        result += " " + cell.fVariable + " " + RectText(cell.fSource) + " / " + RectText(cell.fDestination) + " / " +
                  RectText(cell.fHit) + ";";
      }
      for (const Velto::cClusterPaintRule& rule : interactive != nullptr ? interactive->GetRules()
                                                                         : std::vector<Velto::cClusterPaintRule>()) {
        result += " " + std::to_string(rule.fMask) + " " + rule.fMethod + " " + rule.fValue + ";";
      }
    });
    EXPECT_EQ(error.empty() ? result : error, c.result);
  }
}

TEST_F(ClusterViewTest, CellsShowTheImageOfTheirValueThroughTheRange) {
  // Value, range: the image shown (-1 none) and the colour of (2, 2) and (6, 6) in the cell.
  const struct {
    const char* value;
    const char* range;
    double image;
    std::uint32_t near, far;
  } cases[] = {
      {"0", "", 0, 0xFFFFFF, 0xFFFFFF},  {"abc", "", 0, 0xFFFFFF, 0xFFFFFF},
      // Image 1 is smaller than rectangle A: only its own pixels are drawn.
      {"1", "", 1, 0x404040, 0x0000FF},  {"0.5", "", 1, 0x404040, 0x0000FF},
      {"-0.5", "", -1, 0x0000FF, 0x0000FF}, {"2", "", 2, 0x0000FF, 0x0000FF},
      {"nan", "", -1, 0x0000FF, 0x0000FF}, {"inf", "", -1, 0x0000FF, 0x0000FF},
      {"7", "range: {-3, 6}", 1, 0x404040, 0x0000FF},
      // Equal ends: every value shows the first image.
      {"7", "range: {3, 3}", 0, 0xFFFFFF, 0xFFFFFF}, {"nan", "range: {3, 3}", 0, 0xFFFFFF, 0xFFFFFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.value) + " " + c.range);
    fController.fVariables = {{"c[3]", c.value}};
    Velto::rcClusterViewBase& view = MakeRow(std::string("readonly: true, ") + c.range);
    fView->fInvalidated.clear();
    view.WindowStateChanged();
    EXPECT_EQ(view.GetCells()[3].fShownImage, c.image);
    // Only a cell whose image changed is invalidated, at its destination.
    EXPECT_EQ(fView->fInvalidated, c.image != 0 ? std::vector<Wex::cRect>(1, {30, 0, 40, 10}) : std::vector<Wex::cRect>());
    const ref<Wex::rcOffscreenContext32> drawn = Draw({0, 0, 200, 100}, 0xFF0000FF);
    EXPECT_EQ(Rgb(*drawn, 32, 2), c.near);
    EXPECT_EQ(Rgb(*drawn, 36, 6), c.far);
    EXPECT_EQ(Rgb(*drawn, 72, 2), 0xFFFFFFu);  // a cell without a value shows the first image
    EXPECT_EQ(Rgb(*drawn, 100, 50), 0x0000FFu);  // nothing outside the cells
    // A cell outside the update rectangle is not drawn.
    EXPECT_EQ(Rgb(*Draw({40, 0, 200, 100}, 0xFF0000FF), 32, 2), 0x0000FFu);
  }
  Velto::rcClusterViewBase& view = MakeRow("");
  EXPECT_TRUE(view.ContainsPoint({79, 9}));
  EXPECT_FALSE(view.ContainsPoint({80, 9}));
}

TEST_F(ClusterViewTest, APressAndADragPaintTheCellsUnderThePointer) {
  Wex::cKeyModifiers shift, option, secondary;
  shift.fShift = option.fOption = secondary.fSecondaryClick = true;
  std::string exclusive;  // every cell to the minimum at the press
  for (const char* name : {"c[0]", "c[1]", "c[2]", "c[3]", "c[4]", "c[5]", "c[6]", "c[7]", "c[8]", "c[9]"}) {
    exclusive += std::string(" +") + name + " " + name + "=0";
  }
  const std::string endAll = " -c[0] -c[1] -c[2] -c[3] -c[4] -c[5] -c[6] -c[7] -c[8] -c[9]";
  const std::string rules = "paintValues: {{shift, set, 0.5}, {alt, slide}, {windows, set, 9}}";
  const struct {
    std::string keys;
    const char* c0;  // the value of c[0] before
    Wex::cKeyModifiers modifiers;
    std::vector<Wex::cPoint> path;  // the press, then the drags
    std::string edits;
  } cases[] = {
      // A click toggles its cell, within one edit gesture.
      {"", "0", {}, {{5, 5}}, " +c[0] c[0]=1 -c[0]"},
      {"", "1", {}, {{5, 5}}, " +c[0] c[0]=0 -c[0]"},
      // Steps of 5 pixels reach every cell on the way; "set" and "toggle" leave them painted.
      {"paintMethod: set", "1", {}, {{5, 5}, {37, 5}}, " +c[0] c[0]=1 +c[1] c[1]=1 +c[2] c[2]=1 +c[3] c[3]=1 -c[0] -c[1] -c[2] -c[3]"},
      {"", "1", {}, {{5, 5}, {9, 5}, {12, 5}}, " +c[0] c[0]=0 +c[1] c[1]=0 -c[0] -c[1]"},
      // "slide" and "exclusive" put the cells left behind back to the minimum.
      {"paintMethod: slide", "0", {}, {{5, 5}, {27, 5}},
       " +c[0] c[0]=1 +c[1] c[1]=1 c[0]=0 +c[2] c[2]=1 c[1]=0 -c[0] -c[1] -c[2]"},
      {"paintMethod: exclusive", "0", {}, {{5, 5}, {15, 5}}, exclusive + " c[0]=1 c[1]=1 c[0]=0" + endAll},
      // The last rule whose mask the keys hold wins; "windows" never matches.
      {rules, "0", shift, {{5, 5}}, " +c[0] c[0]=0.5 -c[0]"},
      {rules, "0", option, {{5, 5}, {15, 5}}, " +c[0] c[0]=1 +c[1] c[1]=1 c[0]=0 -c[0] -c[1]"},
      {rules, "0", {}, {{5, 5}}, " +c[0] c[0]=1 -c[0]"},
      // Overlapping cells: the last one decides the toggle, both are painted.
      {"", "0", {}, {{5, 25}}, " +c[9] c[9]=0 +c[8] c[8]=0 -c[8] -c[9]"},
      {"", "0", secondary, {{5, 5}}, ""},
      {"", "0", {}, {{150, 50}}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys + " " + c.edits);
    fController.fVariables = {{"c[0]", c.c0}, {"c[9]", "1"}};
    MakeRow(c.keys);
    EXPECT_EQ(Press(c.path.front(), c.modifiers), c.modifiers != secondary);
    for (std::size_t i = 1; i < c.path.size(); ++i) Drag(c.path[i]);
    if (fView->fTracker) Release();
    EXPECT_EQ(Edits(), c.edits);
  }

  // An unknown method fails at the press, before tracking.
  MakeRow("paintMethod: 'bo\tgus'");
  EXPECT_EQ(ErrorOf([&] { Press({5, 5}); }), "Unrecognized cluster paint method: \"bo\\tgus\"");
  EXPECT_FALSE(fView->fTracker);
  // A cancelled gesture ends its edits too, and so does one whose view leaves the tree.
  for (const bool remove : {false, true}) {
    fController.fVariables.clear();
    Velto::rcClusterViewBase& view = MakeRow("");
    Press({5, 5});
    Drag({15, 5});
    if (remove) {
      fRoot->RemoveChild(ref<Wex::rcGUIElement>(&view));
    } else {
      const iref<Wex::iMouseTracker> tracker = fView->fTracker;
      fView->CancelTracking(tracker);
    }
    EXPECT_FALSE(fView->fTracker);
    EXPECT_EQ(Edits(), " +c[0] c[0]=1 +c[1] c[1]=1 -c[0] -c[1]");
  }
}

}  // namespace
}  // namespace VeltoTest
