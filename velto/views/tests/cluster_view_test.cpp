// The cluster view: its description, the images that its cells show, and the values that a press
// and a drag paint into the cells' variables.
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
    for (int i = 0; i < 10; ++i)
      rects += "{" + std::to_string(i) + ",, {" + (i < 8 ? std::to_string(i * 10) + ", 0" : "0, 20") + ", 10, 10}},";
    auto& view = Remake<Velto::rcClusterViewBase>("type: cluster, array: c, images: {white, grey}, rects: {" + rects +
                                                  "}, " + keys);
    TakeCalls();
    return view;
  }
  // " +name" and " -name" for edits begun and ended, " name=value" for values written.
  std::string Edits() {
    std::string log;
    for (const Call& call : TakeCalls()) {
      const std::vector<std::string>& a = call.fArguments;
      if (call.fOperation == "SetVariableTracking") log += (a[1] == "true" ? " +" : " -") + a[0];
      if (call.fOperation == "SetVariable") log += " " + a[0] + "=" + a[1];
    }
    return log;
  }
};

TEST_F(ClusterViewTest, ReadsCellsAndRulesAndRefusesBadDescriptions) {
  const char* cases[][2] = {
      {"images: {white, grey}, range: {1, 5}, rects: {{1, {2, 2, 6, 8}, {20, 0, 10, 4}}, {2+1,, {0, 0, 5, 5}, "
       "{0, 0, 30, 30}, x}}, paintMethod: set, paintValue: $ / 2, paintValues: {{shift, slide, 7}, {alt+command}, "
       "{windows,,, x}}",
       "[1] 2,2,8,6 20,0,26,4 20,0,30,4 [3] 0,0,5,5 0,0,5,5 0,0,30,30 0 set 2.5 2 slide 7 24 toggle 5 4096 toggle 5"},
      {"images: {white}, rects: {5}, paintMethod: bogus", "[5] 0,0,10,10 0,0,10,10 0,0,10,10 0 bogus 0"},
      {"readonly: TRUE, images: {white}, paintValues: {{nonsense}}", ""},
      {"images: {}, rects: {{}}", "No images declared for cluster view"},
      {"images: {white}, rects: {{1}, {}}", "Invalid rects specification in cluster view"},
      {"images: {white}, paintValues: {{shift+bogus}}", "Invalid click mask constant: \"bogus\""}};
  for (const auto& c : cases) {
    std::string result;
    const std::string error = ErrorOf([&] {
      const ref<Wex::rcGUIElement> made = Make(std::string("type: cluster, ") + c[0]);
      for (const Velto::cClusterCell& cell : dynamic_cast<Velto::rcClusterViewBase&>(*made).GetCells()) {
        result += " " + cell.fVariable + " " + RectText(cell.fSource) + " " + RectText(cell.fDestination) + " " +
                  RectText(cell.fHit);
      }
      const auto* view = dynamic_cast<Velto::rcClusterView*>(made.Get());
      for (const Velto::cClusterPaintRule& r : view ? view->GetRules() : std::vector<Velto::cClusterPaintRule>()) {
        result += " " + std::to_string(r.fMask) + " " + r.fMethod + " " + r.fValue;
      }
    });
    EXPECT_EQ(error.empty() ? result.substr(result.empty() ? 0 : 1) : error, c[1]) << c[0];
  }
}

TEST_F(ClusterViewTest, CellsShowTheImageOfTheirValueThroughTheRange) {
  // Value, range: the image shown, and the colours of (2, 2) and (6, 6) of the cell; image 1 is
  // smaller than the source rectangle, and equal ends of the range show image 0 for every value.
  const struct {
    const char *value, *range;
    double image;
    std::uint64_t colours;
  } cases[] = {{"abc", "", 0, 0xFFFFFF'00FFFFFF},
               {"0.5", "", 1, 0x404040'000000FF},
               {"2", "", 2, 0x0000FF'000000FF},
               {"inf", "", -1, 0x0000FF'000000FF},
               {"nan", "range: {3, 3}", 0, 0xFFFFFF'00FFFFFF}};
  for (const auto& c : cases) {
    fController.fVariables = {{"c[3]", c.value}};
    Velto::rcClusterViewBase& view = MakeRow(std::string("readonly: true, ") + c.range);
    fView->fInvalidated.clear();
    view.WindowStateChanged();
    EXPECT_EQ(view.GetCells()[3].fShownImage, c.image) << c.value;
    EXPECT_EQ(fView->fInvalidated, std::vector<Wex::cRect>(c.image != 0, {30, 0, 40, 10})) << c.value;
    const ref<Wex::rcOffscreenContext32> drawn = Draw({0, 0, 200, 100}, 0xFF0000FF);
    EXPECT_EQ(Rgb(*drawn, 32, 2) * 0x100000000ull + Rgb(*drawn, 36, 6), c.colours) << c.value;
    EXPECT_EQ(Rgb(*Draw({40, 0, 200, 100}, 0xFF0000FF), 32, 2), 0x0000FFu);  // outside the update
  }
}

TEST_F(ClusterViewTest, APressAndADragPaintTheCellsUnderThePointer) {
  std::string exclusive, endAll;
  for (const std::string name : {"c[0]", "c[1]", "c[2]", "c[3]", "c[4]", "c[5]", "c[6]", "c[7]", "c[8]", "c[9]"}) {
    exclusive += " +" + name + " " + name + "=0";
    endAll += " -" + name;
  }
  const std::string rules = "paintValues: {{shift, set, 0.5}, {alt, slide}, {windows, set, 9}}";
  const struct {
    std::string keys;
    const char* c0;  // the value of c[0] before
    Wex::cKeyModifiers modifiers;
    std::vector<Wex::cPoint> path;  // the press, then the drags
    std::string edits;
  } cases[] = {
      {"", "0", {}, {{5, 5}}, " +c[0] c[0]=1 -c[0]"},
      {"", "1", {}, {{5, 5}, {9, 5}, {12, 5}}, " +c[0] c[0]=0 +c[1] c[1]=0 -c[0] -c[1]"},
      {"paintMethod: set", "1", {}, {{5, 5}, {27, 5}}, " +c[0] c[0]=1 +c[1] c[1]=1 +c[2] c[2]=1 -c[0] -c[1] -c[2]"},
      {"paintMethod: slide", "0", {}, {{5, 5}, {27, 5}},
       " +c[0] c[0]=1 +c[1] c[1]=1 c[0]=0 +c[2] c[2]=1 c[1]=0 -c[0] -c[1] -c[2]"},
      {"paintMethod: exclusive", "0", {}, {{5, 5}, {15, 5}}, exclusive + " c[0]=1 c[1]=1 c[0]=0" + endAll},
      {rules, "0", Keys("s"), {{5, 5}}, " +c[0] c[0]=0.5 -c[0]"},
      {rules, "0", Keys("o"), {{5, 5}, {15, 5}}, " +c[0] c[0]=1 +c[1] c[1]=1 c[0]=0 -c[0] -c[1]"},
      {rules, "0", {}, {{5, 5}}, " +c[0] c[0]=1 -c[0]"},
      {"", "0", {}, {{5, 25}}, " +c[9] c[9]=0 +c[8] c[8]=0 -c[8] -c[9]"},  // the last cell decides
      {"", "0", Keys("r"), {{5, 5}}, ""},
      {"", "0", {}, {{150, 50}}, ""}};
  for (const auto& c : cases) {
    fController.fVariables = {{"c[0]", c.c0}, {"c[9]", "1"}};
    MakeRow(c.keys);
    EXPECT_EQ(fRoot->MouseDown(c.path.front(), 0, false, c.modifiers), !c.modifiers.fSecondaryClick);
    // The host's view has delivered the press at once; then come the drags and the release.
    for (std::size_t i = 1; i < c.path.size(); ++i) Drag(c.path[i]);
    Release(c.path.back());
    EXPECT_EQ(Edits(), c.edits) << c.keys;
  }

  MakeRow("paintMethod: 'bo\tgus'");
  const auto press = [this] { fRoot->MouseDown({5, 5}, 0, false, {}); };
  EXPECT_EQ(ErrorOf(press), "Unrecognized cluster paint method: \"bo\\tgus\"");
  EXPECT_FALSE(fView->fTracker);
  // A gesture whose view leaves the tree is cancelled: its edits end.
  fController.fVariables.clear();
  MakeRow("");
  press();
  Drag({15, 5});
  fRoot->RemoveAllChildren();
  EXPECT_TRUE(!fView->fTracker && Edits() == " +c[0] c[0]=1 +c[1] c[1]=1 -c[0] -c[1]");
  // Without a host's view nothing tracks: the edits that a press began end at once.
  MakeRow("paintMethod: exclusive");
  fHost->SetRootElement(nullptr);
  press();
  EXPECT_EQ(Edits(), exclusive + endAll);
}

}  // namespace
}  // namespace VeltoTest
