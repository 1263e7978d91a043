// The click and hover views: presses matched by click masks, the enabled state and its cursor,
// and the actions and variables of the pointer passing over.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gui/alert.h"
#include "gui/tests/recording_view.h"
#include "velto/popup_menu.h"
#include "velto/views/click_view.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

class ClickHoverTest : public ViewTest {
 protected:
  // A probe below the views, filling the root, that handles nothing.
  void AddProbeBelow() {
    fController.fViews["probe"] = ref<Wex::rcGUIElement>(new GuiTest::rcProbe({0, 0, 200, 100}, "below", fLog));
    Make("{type: probe}");
  }
  // The calls of the operations named, as "operation arguments...", taken from the log.
  Log Take(const std::set<std::string>& operations) {
    Log taken;
    for (const Call& call : TakeCalls()) {
      if (!operations.contains(call.fOperation)) continue;
      std::string text = call.fOperation;
      for (const std::string& argument : call.fArguments) text += " " + argument;
      taken.push_back(text);
    }
    return taken;
  }
};

TEST_F(ClickHoverTest, APressRunsTheLastBindingThatItsButtonAndKeysMatch) {
  AddProbeBelow();
  fView->fWindow = ref<Wex::rcExtWindow>(new GuiTest::rcFakeWindow({100, 200, 400, 300}));
  fController.fEnabledActions = {{"off", false}};
  Build("{views: {{type: click, bounds: {10, 10, 40, 40}, actions: {{click, a}, {click+shift, b}, {left+alt, c},"
        "  {right+command, ''}}},"
        " {type: click, bounds: {60, 10, 40, 40}, action: t, mask: left, thru: true},"
        " {type: click, bounds: {110, 10, 40, 40}, action: off},"
        " {type: click, bounds: {160, 10, 40, 40}, actions: {{mac+down+press+left+click, l},"
        "  {mac+down+press+right+click, r}, {release, x}, {up, x}, {windows, x}, {context, ctx}}}}}");
  TakeCalls();
  TakeLog();
  // Point, right button, keys: whether the press was handled, the action performed, what the view
  // below received.
  const std::tuple<Wex::cPoint, bool, const char*, const char*> cases[] = {
      {{20, 20}, false, "", "handled a"},  {{20, 20}, true, "", "handled a"},   {{20, 20}, false, "s", "handled b"},
      {{20, 20}, false, "x", "handled c"}, {{20, 20}, false, "o", "handled c"}, {{20, 20}, false, "c", "handled a"},
      {{20, 20}, true, "c", "passed below:ContextClick 20,20"},
      {{70, 20}, false, "", "passed t below:MouseDown 70,20"},
      {{70, 20}, true, "", "passed below:ContextClick 70,20"},
      {{120, 20}, false, "", "handled"},   {{170, 20}, false, "", "handled l"}, {{170, 20}, true, "", "handled r"},
      {{170, 20}, true, "r", "handled ctx"}, {{170, 20}, false, "r", "handled ctx"},
  };
  for (const auto& [p, right, keys, expected] : cases) {
    const bool handled = right ? fRoot->ContextClick(p, 0, Keys(keys)) : fRoot->MouseDown(p, 0, false, Keys(keys));
    std::string result = handled ? "handled" : "passed";
    for (const Call& call : TakeCalls()) {
      if (call.fOperation == "PerformAction") result += " " + call.fArguments[0];
    }
    for (const std::string& line : TakeLog()) result += " " + line;
    EXPECT_EQ(result, expected) << p.fX << (right ? " right" : " left");
  }
  // The action origin is the press point on the screen.
  fRoot->MouseDown({12, 34}, 0, false, {});
  EXPECT_EQ(Velto::gActionOrigin, (Wex::cPoint{100 + 10 + 2, 200 + 10 + 24}));
}

TEST_F(ClickHoverTest, AClickViewShowsItsCursorWhileABindingThatRunsOnAPressIsEnabled) {
  fController.fEnabledActions = {{"off", false}};
  Build("{views: {{type: click, bounds: {0, 0, 50, 50}, action: on, cursor: hand},"
        " {type: click, bounds: {50, 0, 50, 50}, actions: {{right, on}, {press, off}}, cursor: {mac: hand}},"
        " {type: click, bounds: {100, 0, 50, 50}, actions: {{down, off}, {right+click, on}}, cursor: hand},"
        " {type: click, bounds: {150, 0, 50, 50}, action: on}}}");
  const auto enabled = [this] {
    std::string states;
    for (std::int64_t i = 0; i < fRoot->GetChildCount(); ++i) {
      states += ChildOf<Velto::rcClickView>(*fRoot, i)->IsEnabled() ? "1" : "0";
    }
    return states;
  };
  EXPECT_EQ(enabled(), "0000");
  for (const std::int32_t x : {10, 60, 110, 160}) Move({x, 10});
  EXPECT_TRUE(fView->fCursors.empty());  // disabled until the first refresh
  TakeCalls();
  fRoot->WindowStateChanged();
  EXPECT_EQ(enabled(), "1011");
  EXPECT_EQ(Take({"IsActionEnabled"}), (Log{"IsActionEnabled on ", "IsActionEnabled off ", "IsActionEnabled off ",
                                            "IsActionEnabled on ", "IsActionEnabled on "}));
  for (const std::int32_t x : {10, 60, 110, 160}) Move({x, 10});
  EXPECT_EQ(fView->fCursors.size(), 2u);  // a view without a cursor shows none
}

TEST_F(ClickHoverTest, AHoverViewRunsItsActionsOnEnteringAndLeavingAndSetsItsVariablesOnEveryMove) {
  AddProbeBelow();
  Build("{views: {{type: hover, bounds: {10, 10, 40, 40}, enterAction: 'in', enterParams: '{1}', leaveAction: out,"
        "  variable: v, variables: {{a, '1', extra}, {b}}, cursor: hand},"
        " {type: hover, bounds: {60, 10, 40, 40}, enterAction: execute, variable: w, value: \"x y\"}}}");
  TakeCalls();
  TakeLog();
  const std::set<std::string> operations{"PerformAction", "SetVariable"};
  const Log sets{"SetVariable v  false", "SetVariable a 1 false", "SetVariable b  false"};
  // Leaving runs the leave action; the failing enter action of the next view is dropped.
  const std::pair<Wex::cPoint, Log> moves[] = {{{5, 5}, {}},
                                               {{20, 20}, {"PerformAction in {1}", sets[0], sets[1], sets[2]}},
                                               {{30, 30}, sets},
                                               {{70, 20}, {"PerformAction out ", "SetVariable w x y false"}},
                                               {{71, 20}, {"SetVariable w x y false"}}};
  for (const auto& [p, expected] : moves) {
    Move(p);
    EXPECT_EQ(Take(operations), expected) << p.fX;
  }
  EXPECT_EQ(fView->fCursors.size(), 2u);
  EXPECT_FALSE(Press({71, 20}));
  EXPECT_EQ(TakeLog(), (Log{"below:MouseEntered", "below:MouseMoved 5,5", "below:MouseMoved 20,20",
                            "below:MouseMoved 30,30", "below:MouseMoved 70,20", "below:MouseMoved 71,20",
                            "below:MouseDown 71,20"}));
}

TEST_F(ClickHoverTest, AnActionThatRebuildsTheTreeLeavesItsViewAliveUntilItReturns) {
  Build("{views: {{type: click, action: alert, thru: true}, {type: hover, enterAction: alert, leaveAction: alert}}}");
  const Wex::AlertRunner previous = Wex::SetAlertRunner(
      [this](std::int32_t, std::int32_t, std::int32_t, const refString&, const refString&,
             const ref<Wex::rcExtWindow>&) {
        fRoot->RemoveAllChildren();  // as a reload in the alert's loop would
        return 0;
      });
  // Called through plain pointers: only the tree holds the views.
  EXPECT_FALSE(ChildOf(*fRoot, 0)->MouseDown({1, 1}, 0, false, {}));
  Build("{views: {{type: hover, enterAction: alert}}}");
  Wex::rcGUIElement* hover = ChildOf(*fRoot, 0);
  hover->MouseEntered(0);
  EXPECT_EQ(fRoot->GetChildCount(), 0);
  Wex::SetAlertRunner(previous);
}

}  // namespace
}  // namespace VeltoTest
