// Bubble views made by the factory under the views' fixture, with a font of 10 pixels per
// character (12 high, ascent 9) that paints its characters blue.
#include "velto/bubble_view.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "platform/cursor.h"
#include "velto/popup_menu.h"
#include "velto/testing/fixed_font.h"
#include "velto/tests/root_fixture.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

using Strings = std::vector<std::string>;

class BubbleTest : public ViewTest {
 protected:
  BubbleTest() { fController.fFonts["ten"] = iref<Velto::iFont>(new rcFixedFont(10, 12, 9, 0xFF0000FF)); }

  // A bubble at (10, 10), 100 by 50, in the default style of font "ten"; the test's clock starts.
  ref<Velto::rcBubbleView> Bubble(const std::string& keys, const std::string& bounds = "{ 10, 10, 100, 50 }") {
    fNow = Wex::ToElementTime(Wex::GetMilliseconds());
    const ref<Wex::rcGUIElement> view =
        Make("type: bubble, bounds: " + bounds + ", style: { font: ten }" + (keys.empty() ? "" : ", " + keys));
    return ref<Velto::rcBubbleView>(dynamic_cast<Velto::rcBubbleView*>(view.Get()));
  }
  // Runs the next task `late` milliseconds after it is due; answers how long after the previous
  // tick it was due, -1 when none is pending.
  std::int32_t Tick(std::int32_t late = 0) {
    std::int32_t delta = 0;
    if (!fView->fScheduler->GetTimeToNextTask(fNow, delta)) return -1;
    fNow = Wex::WrapAdd(fNow, delta + late);
    fView->fScheduler->RunDueTasks(fNow);
    return delta;
  }
  // The actions that reached the controller since the last call.
  Strings Performed() { return VeltoTest::Performed(TakeCalls()); }
  ref<Wex::rcOffscreenContext32> Picture() { return Draw({0, 0, 200, 100}, 0xFFFFFFFF); }

  std::int32_t fNow = 0;
};

TEST_F(BubbleTest, TheKeysAndTheirDefaults) {
  // keys, tail position, minimum and maximum height, frame interval, outline within 100 by 50
  const std::tuple<std::string, std::int32_t, std::int32_t, std::int32_t, std::int32_t, Wex::cRect> cases[] = {
      {"", 75, 50, 50, 50, {1, 1, 99, 49}},  // a black frame of width 1
      {"tailPosition: $ - 5.9, minHeight: $ / 2, maxHeight: 90, moveResize: { fps: 40, time: 2 }", 69, 25, 90, 25,
       {1, 1, 99, 49}},
      {"tailPosition: 1e20, margins: { 4, 4, -4, -4 }, frame: transparent, moveResize: { fps: 0 }", INT32_MAX, 50,
       50, 50, {4, 4, 96, 46}},
      {"moveResize: { fps: 1/0 }", 75, 50, 50, 50, {1, 1, 99, 49}},
  };
  for (const auto& [keys, tail, minimum, maximum, interval, outline] : cases) {
    const ref<Velto::rcBubbleView> bubble = Bubble(keys);
    const Velto::cBubbleState& state = bubble->GetState();
    EXPECT_EQ((std::vector<std::int32_t>{state.fTailPosition, state.fMinHeight, state.fMaxHeight,
                                         bubble->GetFrameInterval(), state.fCurrentPage}),
              (std::vector<std::int32_t>{tail, minimum, maximum, interval, -1}))
        << keys;
    EXPECT_EQ(state.GetOutlineRect(100, 50), outline) << keys;
  }
  EXPECT_EQ(Bubble("", "{ 0, 0, 99, 40 }")->GetState().fTailPosition, 74);
  EXPECT_EQ(Bubble("", "{ 0, 0, 2000000000, 40 }")->GetState().fTailPosition, 1500000000);
  const ref<Velto::rcBubbleView> paged = Bubble("pages: { a, 'b c' }");
  EXPECT_EQ(paged->GetState().fPages, (Strings{"a", "b c"}));
  EXPECT_EQ(paged->GetState().fCurrentPage, 0);
  const std::pair<std::string, std::string> errors[] = {
      {"type: bubble", "Missing (default) style specification for bubble view"},
      {"type: bubble, styles: { b: { font: ten } }", "Missing (default) style specification for bubble view"},
      {"type: bubble, styles: { b: { font: ten } }, style: { font: ten }", ""},
      {"type: bubble, styles: { default: { font: ten } }, style: { font: ten, lineSpacing: 1/ }", ""},  // not read
      {"type: bubble, style: { font: ten }, fill: nocolor", "Invalid color: \"nocolor\""},
  };
  for (const auto& c : errors) EXPECT_EQ(ErrorOf([&] { Make(c.first); }), c.second) << c.first;
}

TEST_F(BubbleTest, TypingRunsFromTheDueTimeAndEachActionRunsOnceInTextOrder) {
  const ref<Velto::rcBubbleView> bubble =
      Bubble("pages: { '<do action=first>a<pause delay=0.1> <do action=second>b<pause delay=0.2> c' },"
             "fullPageAction: done, fullPageParams: p");
  fRoot->WindowStateChanged();  // no window to measure with: the layout waits for the drawing
  EXPECT_TRUE(bubble->GetState().fTokens.empty());
  Picture();
  EXPECT_EQ(Performed(), Strings{"first "});
  EXPECT_EQ(bubble->GetState().fRevealed, 2u);
  Tick(30);  // late: the next step is still timed from when this one was due
  EXPECT_EQ(Performed(), Strings{"second "});
  EXPECT_EQ(Tick(), 170);
  EXPECT_EQ(Performed(), Strings{"done p"});
  EXPECT_EQ(bubble->GetState().fRevealed, 5u);
  Picture();
  EXPECT_EQ(Tick(), -1);
  EXPECT_EQ(Performed(), Strings{});
}

TEST_F(BubbleTest, VariablesChooseThePageAndTheTypingDelay) {
  const ref<Velto::rcBubbleView> bubble =
      Bubble("pages: { 'ab cd ef', two, three }, pageVariable: page, typingRateVariable: rate, fullPageAction: done,"
             "styles: { default: { font: ten, typingRate: 0.1 } }");
  Picture();
  EXPECT_EQ(bubble->GetState().fRevealed, 1u);
  const auto refresh = [this](const char* name, const char* value) {
    fController.fVariables[name] = value;
    fRoot->WindowStateChanged();
  };
  const auto delay = [this] {
    std::int32_t delta = 0;
    fView->fScheduler->GetTimeToNextTask(Wex::ToElementTime(Wex::GetMilliseconds()), delta);
    return delta;
  };
  refresh("rate", "50");
  EXPECT_EQ(bubble->GetState().fRevealed, 2u);
  EXPECT_NEAR(delay(), 50, 2);
  refresh("rate", "-1");  // the tokens' own delays again
  EXPECT_EQ(bubble->GetState().fRevealed, 3u);
  EXPECT_NEAR(delay(), 200, 2);
  EXPECT_EQ(Performed(), Strings{"done "});
  const std::pair<const char*, std::int32_t> pages[] = {{"2.7", 2}, {"-3", 0}, {"99", 2}, {"", 2}, {"nan", 0}};
  for (const auto& [value, page] : pages) {
    refresh("page", value);
    EXPECT_EQ(bubble->GetState().fCurrentPage, page) << value;
  }
  refresh("rate", "0");  // everything at once
  Picture();
  EXPECT_EQ(bubble->GetState().fRevealed, bubble->GetState().fTokens.size());
  EXPECT_EQ(Performed(), Strings{"done "});
  const ref<Velto::rcBubbleView> empty = Bubble("pageVariable: page");
  refresh("page", "1");
  EXPECT_EQ(empty->GetState().fCurrentPage, -1);
}

TEST_F(BubbleTest, AMovingPageStepsFromTheDueTimeAndLandsOnItsRectangle) {
  const std::string page = "pages: { \"<move bounds='{ 20, 30, 150, 60 }'>x\" }, ";
  const ref<Velto::rcBubbleView> bubble = Bubble(page + "moveResize: { fps: 20, time: 1 }");
  Picture();
  EXPECT_EQ(bubble->GetRect(), (Wex::cRect{10, 10, 110, 60}));
  int steps = 0;
  for (std::int32_t delta = Tick(5); delta != -1; delta = Tick(5)) {
    EXPECT_TRUE(++steps == 1 || delta == 45) << delta;  // each 50 from the last due time
    EXPECT_TRUE(steps != 10 || bubble->GetRect() == (Wex::cRect{15, 20, 140, 75}));
  }
  EXPECT_EQ(steps, 20);
  EXPECT_EQ(bubble->GetRect(), (Wex::cRect{20, 30, 170, 90}));
  // At once without a finite time; a curve of 0 reaches the end too.
  for (const std::string move : {"time: 0", "time: 1/0", "time: 0.2, curve: 0"}) {
    const ref<Velto::rcBubbleView> other = Bubble(page + "moveResize: { " + move + " }");
    Picture();
    EXPECT_EQ(other->GetRect() == (Wex::cRect{20, 30, 170, 90}), move.find("curve") == std::string::npos) << move;
    while (Tick() != -1) {
    }
    EXPECT_EQ(other->GetRect(), (Wex::cRect{20, 30, 170, 90})) << move;
  }
}

TEST_F(BubbleTest, ClicksPerformTheWordsOrTheBubblesActionAndTheHandShowsOverWords) {
  fView->fWindow = ref<Wex::rcExtWindow>(new GuiTest::rcFakeWindow({100, 200, 400, 300}));
  Bubble("clickAction: bubble, clickParams: q, tailSize: { 5, 8 },"
         "pages: { '<click action=word params=p>hi</click> there' }");
  Picture();
  TakeCalls();
  EXPECT_TRUE(Press({15, 15}));  // on "hi"
  EXPECT_EQ(Velto::gActionOrigin, (Wex::cPoint{115, 215}));
  EXPECT_TRUE(Press({70, 40}));
  EXPECT_TRUE(Press({108, 49}));  // the outline's rectangle, inside the outline
  EXPECT_FALSE(Press({70, 55}));  // beside the tail, outside the outline's rectangle
  EXPECT_EQ(Performed(), (Strings{"word p", "bubble q", "bubble q"}));
  Wex::cMouseEvent control = Event({70, 40});
  control.fModifiers.fControl = true;
  EXPECT_FALSE(fView->GetClickHandler()->MouseClick(fView->Self(), control, 0, true, false));
  EXPECT_FALSE(RightPress({70, 40}));
  EXPECT_EQ(Performed(), Strings{});
  for (const Wex::cPoint p : {Wex::cPoint{15, 15}, Wex::cPoint{70, 40}, Wex::cPoint{70, 55}}) Move(p);
  ASSERT_EQ(fView->fCursors.size(), 2u);
  EXPECT_EQ(Platform::GetCursorId(fView->fCursors[0]->GetObject()), 5);
  EXPECT_EQ(Platform::GetCursorId(fView->fCursors[1]->GetObject()), 0);
}

TEST_F(BubbleTest, TheOutlineIsFilledAndFramedWithItsTailAndTheWordsInside) {
  Bubble("fill: { 0, 255, 0 }, frame: { color: red, stroke: 2 }, tailSize: { 5, 8 }, tailPosition: 50,"
         "pages: { ab }");
  const ref<Wex::rcOffscreenContext32> picture = Picture();
  // Local (x, y) is at (x + 10, y + 10); the outline's rectangle is 1, 1, 99, 41.
  const std::pair<Wex::cPoint, std::uint32_t> cases[] = {
      {{80, 40}, 0x00FF00}, {{11, 30}, 0xFF0000}, {{60, 30}, 0x00FF00}, {{30, 50}, 0xFF0000},
      {{60, 53}, 0x00FF00}, {{30, 56}, 0xFFFFFF}, {{15, 15}, 0x0000FF}, {{25, 15}, 0x0000FF},
      {{35, 15}, 0x00FF00},
  };
  for (const auto& [p, color] : cases) EXPECT_EQ(Rgb(*picture, p.fX, p.fY), color) << p.fX << "," << p.fY;
}

// Calls a function of the test when an action is performed.
class rcHookController : public RecordingController {
 public:
  using RecordingController::RecordingController;
  void PerformAction(Velto::rcRootView& root, const std::string& action, const std::string& params) override {
    RecordingController::PerformAction(root, action, params);
    if (fHook) fHook(action);
  }
  std::function<void(const std::string&)> fHook;
};

TEST_F(BubbleTest, ARevealActionThatChangesThePageEndsTheReveal) {
  rcHookController controller(&fRegistry);
  controller.fFonts = fController.fFonts;
  const ref<Velto::rcRootView> root(new Velto::rcRootView({0, 0, 200, 100}, &controller));
  const ref<Velto::rcBubbleView> bubble(new Velto::rcBubbleView(
      {0, 0, 100, 50},
      Wex::ParseKeyValueMap("pages: { '<do action=turn>a b', x }, fullPageAction: done, style: { font: ten }"),
      *root, root.Get(), nullptr, -1));
  root->AddChild(bubble);
  controller.fHook = [&bubble](const std::string& action) {
    if (action == "turn") bubble->SetPage(1);
  };
  bubble->LayoutPage(*Picture());
  EXPECT_TRUE(bubble->GetState().fTokens.empty());
  EXPECT_EQ(bubble->GetState().fRevealed, 0u);
  EXPECT_EQ(VeltoTest::Performed(controller.TakeCalls()), Strings{"turn "});
  root->Detach();
}

}  // namespace
}  // namespace VeltoTest
