#include "velto/views/view_construction.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "velto/velto_view.h"
#include "velto/views/rectangle_view.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

using ViewConstructionTest = ViewTest;

TEST_F(ViewConstructionTest, RefusesTypesAndBoundsBeforeAnythingIsMade) {
  const struct {
    const char* item;
    const char* error;
    bool asked;  // whether the controller was asked for a view
  } cases[] = {
      {"bounds: { 0, 0, 5, 5 }", "Missing view type", false},
      {"type: \"\"", "Missing view type", false},
      {"type: rectangle, bounds: { 0, 0, -1, 5 }", "View bounds has negative width and/or height", false},
      {"type: rectangle, bounds: { 0, 0, 5, -1 }", "View bounds has negative width and/or height", false},
      // The right edge wraps below the left one, though their 32-bit difference is 1000.
      {"type: rectangle, bounds: { 2147483000, 0, 1000, 1 }", "View bounds has negative width and/or height", false},
      {"type: Rectangle", "Unrecognized view type : \"Rectangle\"", true},
      {"type: rectangle, fill: nocolour", "Invalid color: \"nocolour\"", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(ErrorOf([&] { Make(c.item); }), c.error);
    EXPECT_EQ(fRoot->GetChildCount(), 0);
    const Calls calls = TakeCalls();
    EXPECT_EQ(!calls.empty() && calls[0].fOperation == "CreateView", c.asked);
  }
}

TEST_F(ViewConstructionTest, BuildsTheListedViewsInOrderAskingTheControllerFirst) {
  const ref<Wex::rcGUIElement> custom(new GuiTest::rcProbe({0, 0, 1, 1}, "custom", fLog));
  fController.fViews["knob"] = custom;
  Build(
      "bounds: { 5, 5, 190, 90 }, views: { { type: rectangle }, { type: \"rectangle\", bounds: { 1, 2, 0, 0 } },"
      "{ type: knob, bounds: { 3, 4, w - 10, 6 }, fill: nocolour }, { type: rectangle, bounds: { 0, 0, w / 2 } } }");
  EXPECT_EQ(fRoot->GetRect(), (Wex::cRect{5, 5, 195, 95}));
  std::string rects;
  for (std::int64_t i = 0; i < fRoot->GetChildCount(); ++i) rects += RectText(fRoot->GetChild(i)->GetRect()) + " ";
  EXPECT_EQ(rects, "0,0,190,90 1,2,1,2 0,0,1,1 0,0,95,0 ");  // the knob is the controller's, keys unread
  EXPECT_NE(ChildOf<Velto::rcPlainRectangleView>(*fRoot, 0), nullptr);
  EXPECT_EQ(fRoot->GetChild(2), custom);
  const Calls calls = TakeCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[1], At("CreateView", {"1,2,1,2", "rectangle", "{bounds: { 1, 2, 0, 0 }, type: \"rectangle\"}"}));
  EXPECT_EQ(calls[2].fArguments[0] + " " + calls[2].fArguments[1], "3,4,183,10 knob");

  // Without "bounds" the root takes its first rectangle again; an item that fails ends the list,
  // and the views before it stay.
  fRoot->RemoveAllChildren();
  EXPECT_EQ(ErrorOf([&] { Build("views: { { type: rectangle }, { type: dial }, { type: rectangle } }"); }),
            "Unrecognized view type : \"dial\"");
  EXPECT_EQ(fRoot->GetRect(), (Wex::cRect{0, 0, 200, 100}));
  EXPECT_EQ(fRoot->GetChildCount(), 1);
  EXPECT_TRUE(fRoot->GetChild(0)->IsVisible());
  EXPECT_FALSE(Make("type: rectangle", fRoot.Get(), true)->IsVisible());

  const auto nested = [](int depth) {
    std::string text = "{ type: rectangle }";
    for (int i = 1; i < depth; ++i) text = "{ type: transformed, views: { " + text + " } }";
    return "views: { " + text + " }";
  };
  fRoot->RemoveAllChildren();
  Build(nested(Velto::kMaxViewNesting));
  EXPECT_EQ(ErrorOf([&] { Build(nested(Velto::kMaxViewNesting + 1)); }), "Views nested too deeply");
  EXPECT_EQ(fRoot->GetChildCount(), 1);
}

// Step, opacity and scale of a transition, or "none".
std::string Describe(const Velto::cTransitionSpec* t) {
  char text[64] = "none";
  if (t != nullptr) std::snprintf(text, sizeof text, "%g/%g/%g", t->fPhaseStep, t->fOpacity, t->fScale);
  return text;
}

TEST_F(ViewConstructionTest, NestedViewsTakeTheirTransitionsOverOneAnother) {
  const ref<Velto::rcVeltoView> nested(new Velto::rcVeltoView({0, 0, 50, 50}, &fController, "layout", nullptr));
  const struct {
    const char* transitions;
    const char* records;  // open, close, swapIn, swapOut
  } cases[] = {
      {"{ default: { time: 2 } }", "0.025/1/1 -0.025/1/1 0.025/1/1 -0.025/1/1"},
      {"{ open: { time: 1 } }", "0.05/1/1 none 0.05/1/1 none"},
      {"{ default: { time: 2, opacity: 50 }, close: { time: 0 }, swapIn: { scale: 20 } }",
       "0.025/0.5/1 none 0.025/0.5/0.2 none"},
      {"{ close: { opacity: 0 }, swapOut: { time: 0.5 } }", "none -0.05/0/1 none -0.1/0/1"},
      {"", "none none none none"},
      {"false", "none none none none"},
      {"0", "none none none none"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.transitions);
    Velto::Description description = {{"views", "{ { type: rectangle } }"}};
    if (*c.transitions != '\0') description["transitions"] = c.transitions;
    nested->RemoveAllChildren();
    nested->ReadContents(description);
    EXPECT_EQ(Describe(nested->GetOpenTransition()) + " " + Describe(nested->GetCloseTransition()) + " " +
                  Describe(nested->GetSwapInTransition()) + " " + Describe(nested->GetSwapOutTransition()),
              c.records);
    EXPECT_EQ(nested->GetChildCount(), 1);
  }
}

}  // namespace
}  // namespace VeltoTest
