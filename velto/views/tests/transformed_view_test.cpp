#include "velto/views/transformed_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

// A view of 100 x 100 on the variables op, sc, ox, oy and rot, holding a white bar (0, 0, 50, 10)
// and a probe (0, 20, 50, 30) that handles presses.
class TransformedViewTest : public ViewTest {
 protected:
  TransformedViewTest() {
    fTransformed = Make(
        "type: transformed, bounds: { 0, 0, 100, 100 }, opacity: op, scale: \"sc\", offset: { ox, \"oy\" },"
        "rotation: rot, views: { { type: rectangle, bounds: { 0, 0, 50, 10 }, fill: white } }");
    fProbe->fHandles = true;
    Container().AddChild(fProbe);
  }

  Velto::rcTransformContainer& Container() { return *static_cast<Velto::rcTransformContainer*>(fTransformed.Get()); }
  // Sets the variables and refreshes; answers the rectangles invalidated.
  Log Set(const char* op, const char* sc, const char* ox, const char* oy, const char* rot) {
    fController.fVariables = {{"op", op}, {"sc", sc}, {"ox", ox}, {"oy", oy}, {"rot", rot}};
    return Refresh();
  }

  ref<Wex::rcGUIElement> fTransformed;
  ref<GuiTest::rcProbe> fProbe{new GuiTest::rcProbe({0, 20, 50, 30}, "probe", fLog)};
};

TEST_F(TransformedViewTest, DrawsAndTakesTheMouseThroughTheVariables) {
  const char* const kBoth = "probe:MouseDown 10,5 probe:MouseEntered probe:MouseMoved 10,5";
  const struct {
    const char *op, *sc, *rot;
    bool offscreen;             // whether the container has its bitmap after drawing
    std::uint32_t bar, turned;  // colours at (10, 5) and at (95, 25), where a quarter turn puts the bar
    bool handled;               // a press where the probe shows
    const char* reached;        // what the probe logs of that press and of a move there
  } cases[] = {
      {"", "", "", false, 0xFFFFFF, 0, true, kBoth},
      {"inf", "nan", "-inf", false, 0xFFFFFF, 0, true, kBoth},
      {"50", "", "", true, 0x808080, 0, true, kBoth},
      {"150", "100", "0", true, 0xFFFFFF, 0, true, kBoth},
      {"40", "", "", true, 0x666666, 0, false, ""},
      {"", "0", "", true, 0, 0, false, ""},  // the bitmap stays for later
      // The probe shows at (70, 0, 80, 50): a press there is handled but reaches no child.
      {"", "", "90", true, 0, 0xFFFFFF, true, "probe:MouseEntered probe:MouseMoved 10,5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.op) + "/" + c.sc + "/" + c.rot);
    Set(c.op, c.sc, "", "", c.rot);
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 100}, 0xFF000000);
    EXPECT_EQ(Container().HasOffscreen(), c.offscreen);
    EXPECT_EQ(Rgb(*bitmap, 10, 5), c.bar);
    EXPECT_EQ(Rgb(*bitmap, 95, 25), c.turned);
    const Wex::cPoint at = *c.rot == '9' ? Wex::cPoint{75, 10} : Wex::cPoint{10, 25};
    TakeLog();
    EXPECT_EQ(Press(at), c.handled);
    Move(at);
    Move({150, 50});  // out of the view
    std::string reached;
    for (const std::string& entry : TakeLog()) {
      if (entry != "probe:MouseExited") reached += (reached.empty() ? "" : " ") + entry;
    }
    EXPECT_EQ(reached, c.reached);
  }
}

TEST_F(TransformedViewTest, InvalidatesWhereChildrenShowAndOnlyForChangedTexts) {
  Set("", "", "", "", "");
  Move({10, 25});
  TakeLog();
  EXPECT_EQ(Set("", "", "", "", "90"), (Log{"0,0,100,100", "0,0,100,100"}));
  // No hover state survives; then the children refresh.
  EXPECT_EQ(TakeLog(), (Log{"probe:MouseExited", "probe:WindowStateChanged"}));
  EXPECT_EQ(Set("", "", "", "", "90"), Log());
  fProbe->InvalidateAll();
  EXPECT_EQ(TakeInvalidated(), Log{"70,0,80,50"});

  // Texts that run together alike are told apart.
  Set("", "", "1", "23", "");
  EXPECT_EQ(Container().GetTransform().c, 1.0);
  Set("", "", "12", "3", "");
  EXPECT_EQ(Container().GetTransform().c, 12.0);
  EXPECT_EQ(Container().GetTransform().f, 3.0);
}

TEST_F(TransformedViewTest, AViewTooLargeForABitmapDrawsNothing) {
  fTransformed->SetRect({0, 0, 40000, 40000});
  Set("50", "", "", "", "");
  const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 100}, 0xFF000000);
  EXPECT_FALSE(Container().HasOffscreen());
  EXPECT_EQ(GuiTest::CountOther(*bitmap, {0, 0, 200, 100}, 0xFF000000), 0);
}

}  // namespace
}  // namespace VeltoTest
