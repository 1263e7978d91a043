// The console view: its description, the terminal rules of its output, its drawing and
// invalidation, the keyboard that an input console claims and the keys it takes, and its blink.
#include "velto/views/console_view.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

// A font whose characters are 6 pixels wide, with line height 12 and ascent 9; it logs each run
// that it draws as "x,y:character ...", and the metrics asked.
class rcRunFont : public Wex::rc, public Velto::iFont {
 public:
  void GetMetrics(Wex::rcGraphicsContext&, std::int32_t& height, std::int32_t& ascent) override {
    fLog.push_back("metrics");
    height = 12;
    ascent = 9;
  }
  Wex::cRect Measure(Wex::rcGraphicsContext&, const Wex::cPoint&, const Wex::rcVector<UniChar>&, bool) override {
    return {};
  }
  Wex::cPoint Draw(Wex::rcGraphicsContext&, const Wex::cPoint& p, const Wex::rcVector<UniChar>&) override {
    return {p.fX + 6, p.fY};
  }
  void DrawCharacters(Wex::rcGraphicsContext& context, std::int32_t count, const Wex::cPoint* points,
                      const std::uint32_t* characters, Wex::cPoint* endPoints) override {
    std::string run;
    for (std::int32_t i = 0; i < count; ++i) {
      run += (i > 0 ? " " : "") + std::to_string(points[i].fX) + "," + std::to_string(points[i].fY) + ":" +
             std::to_string(characters[i]);
    }
    fLog.push_back(run);
    iFont::DrawCharacters(context, count, points, characters, endPoints);
  }
  std::int32_t GetChangeCount() override { return 0; }

  std::vector<std::string> fLog;
};

class ConsoleViewTest : public ViewTest {
 protected:
  ConsoleViewTest() {
    fController.fFonts["runs"] = iref<Velto::iFont>(fFont);
    fView->fWindow = fWindow;
  }

  Velto::rcConsoleView& MakeConsole(const std::string& keys) {
    fRoot->RemoveAllChildren();
    const ref<Wex::rcGUIElement> view = Make("type: console, bounds: {0, 0, 200, 100}, font: runs, " + keys);
    TakeCalls();
    return dynamic_cast<Velto::rcConsoleView&>(*view);
  }
  // Array mode: the elements from the count on, then a refresh.
  void Output(Velto::rcConsoleView& console, const std::vector<std::string>& elements) {
    std::int32_t count = std::stoi(fController.fVariables["out.n"]);
    for (const std::string& element : elements) fController.fVariables["out[" + std::to_string(count++) + "]"] = element;
    fController.fVariables["out.n"] = std::to_string(count);
    console.WindowStateChanged();
  }
  // The rows without their trailing blanks, joined by '|', and the cursor.
  static std::string Screen(const Velto::rcConsoleView& console) {
    std::string screen;
    for (std::int32_t row = 0; row < console.GetSettings().fRows; ++row) {
      std::string text = console.GetRowText(row);
      text.erase(text.find_last_not_of(' ') + 1);
      screen += text + "|";
    }
    const Wex::cPoint cursor = console.GetCursor();
    return screen + " " + std::to_string(cursor.fX) + "," + std::to_string(cursor.fY);
  }
  bool Type(std::uint8_t character) {
    Wex::cKeyEvent key;
    key.fCharacter = character;
    return fView->fKeyHandler && fView->fKeyHandler->KeyDown(fView->Self(), key, false);
  }

  ref<rcRunFont> fFont{new rcRunFont()};
  ref<GuiTest::rcFakeWindow> fWindow{new GuiTest::rcFakeWindow({0, 0, 200, 100})};
};

TEST_F(ConsoleViewTest, ReadsItsDescriptionAndRefusesBadDimensionsBeforeTheFont) {
  const struct {
    const char* keys;
    const char* result;
  } cases[] = {
      {"", "80x40 tab 8 cursor 95 500 - 0,0 out '' in ''/''/'' bg 0"},
      {"dimensions: {1000, 1000}, tabSize: 0x10, margins: {3, 4}, outputArray: a, outputVariable: v,"
       " inputAction: act, inputParams: '{x}', inputVariable: \"in\", background: red",
       "1000x1000 tab 16 cursor 95 500 - 0,0 array 'a' in 'act'/'{x}'/'in' bg ffff0000"},
      {"tabSize: -3, outputVariable: 'v w', cursor: {}", "80x40 tab 1 cursor 0 500 - 0,0 out 'v w' in ''/''/'' bg 0"},
      {"cursor: {character: '#x', blinkRate: 0.25, image: white, offset: {2, 3}}",
       "80x40 tab 8 cursor 35 250 image 2,3 out '' in ''/''/'' bg 0"},
      // Blink rates without a meaning do not blink.
      {"cursor: {character: '#', blinkRate: -1}", "80x40 tab 8 cursor 35 0 - 0,0 out '' in ''/''/'' bg 0"},
      {"cursor: {character: '#', blinkRate: 0/0}", "80x40 tab 8 cursor 35 0 - 0,0 out '' in ''/''/'' bg 0"},
      {"cursor: {character: '#', blinkRate: 3e6}", "80x40 tab 8 cursor 35 0 - 0,0 out '' in ''/''/'' bg 0"},
      {"dimensions: {0, 5}", "Console view has negative or zero dimensions"},
      {"dimensions: {5, -1}", "Console view has negative or zero dimensions"},
      {"dimensions: {1001, 1000}", "Console view dimensions are too large"},
      {"dimensions: {65536, 65536}", "Console view dimensions are too large"},
      {"background: nocolor", "Invalid color: \"nocolor\" (font)"},
  };
  WritePicture("white", 2, 2, 0xFFFFFFFF);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    fRoot->RemoveAllChildren();
    std::string result;
    const std::string error = ErrorOf([&] {
      const ref<Wex::rcGUIElement> made = Make(std::string("type: console, font: runs, ") + c.keys);
      const Velto::cConsoleSettings& s = dynamic_cast<Velto::rcConsoleView&>(*made).GetSettings();
      char background[16];
      std::snprintf(background, sizeof background, "%x", s.fBackground);
      result = std::to_string(s.fColumns) + "x" + std::to_string(s.fRows) + " tab " + std::to_string(s.fTabSize) +
               " cursor " + std::to_string(s.fCursorCharacter) + " " + std::to_string(s.fBlinkPeriod) +
               (s.fCursorImage ? " image " : " - ") + std::to_string(s.fCursorOffset.fX) + "," +
               std::to_string(s.fCursorOffset.fY) + (s.fOutputIsArray ? " array '" : " out '") + s.fOutputName +
               "' in '" + s.fInputAction + "'/'" + s.fInputParams + "'/'" + s.fInputVariable + "' bg " + background;
    });
    bool askedFont = false;
    for (const Call& call : TakeCalls()) askedFont = askedFont || call.fOperation == "GetFont";
    EXPECT_EQ(error.empty() ? result : error + (askedFont ? " (font)" : ""), c.result);
  }
}

TEST_F(ConsoleViewTest, WritesOutputByTheTerminalRules) {
  const struct {
    const char* keys;  // after the dimensions, or with them
    std::vector<std::string> elements;  // one refresh each
    const char* screen;
  } cases[] = {
      {"", {"abc"}, "abc||| 3,0"},
      {"", {"abc\ndef", "\rX"}, "abc|Xef|| 1,1"},
      {"", {"ab\b", "\bc"}, "c||| 1,0"},
      {"", {"\bx"}, "x||| 1,0"},  // a backspace at column 0 changes nothing
      {"", {"abc\n\fxy"}, "xy||| 2,0"},
      {"", {"ab\2c\2", "\2d"}, "ab|c|d| 1,2"},  // 2 leaves a row's start alone
      {"", {"a\1\3\4\5\6\7\13b"}, "ab||| 2,0"},
      {"", {"\x80\xe9\xff"}, "\x80\xe9\xff||| 3,0"},
      // Tabs: to the next stop, past the end into the next row, one column at tab size 1.
      {"", {"abcdef\tx"}, "abcdef  x||| 9,0"},
      {"", {"\t\ty"}, "|y|| 1,1"},
      {", tabSize: 0", {"ab\tx"}, "ab x||| 4,0"},
      {", tabSize: 2147483647", {"a\tb"}, "a|b|| 1,1"},
      // The last cell of the last row wraps and scrolls; so do new rows beyond it.
      {"dimensions: {3, 2}", {"abcdef"}, "def|| 0,1"},
      {"dimensions: {3, 2}", {"a\nb\nc\nd"}, "c|d| 1,1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.screen);
    fController.fVariables = {{"out.n", "0"}};
    const std::string keys = c.keys[0] == 'd' ? c.keys : "dimensions: {10, 3}" + std::string(c.keys);
    Velto::rcConsoleView& console = MakeConsole("outputArray: out, " + keys);
    for (const std::string& element : c.elements) Output(console, {element});
    EXPECT_EQ(Screen(console), c.screen);
  }
}

TEST_F(ConsoleViewTest, ReadsNewArrayElementsAndChangedValues) {
  // Elements that exist when the view is made are not written; new ones in order, joined.
  fController.fVariables = {{"out.n", "2"}, {"out[0]", "x"}, {"out[1]", "y"}};
  Velto::rcConsoleView& array = MakeConsole("dimensions: {10, 3}, outputArray: out");
  Output(array, {"a", "b"});
  EXPECT_EQ(Screen(array), "ab||| 2,0");
  // A smaller count only lowers the mark: the element at it comes again.
  fController.fVariables["out.n"] = "3";
  array.WindowStateChanged();
  fController.fVariables["out.n"] = "4";
  array.WindowStateChanged();
  EXPECT_EQ(Screen(array), "abb||| 3,0");
  // A negative count reads nothing; a jump reads the last 65536 elements.
  fController.fVariables["out.n"] = "-1";
  TakeCalls();
  array.WindowStateChanged();
  fController.fVariables["out.n"] = "70000";
  array.WindowStateChanged();
  const Calls calls = TakeCalls();
  ASSERT_EQ(calls.size(), 2u + 65536u);
  EXPECT_EQ(calls[2], At("GetVariable", {"out[4464]"}));
  EXPECT_EQ(calls.back(), At("GetVariable", {"out[69999]"}));

  // A new value is written with a new line; the same value again writes nothing.
  fController.fVariables = {{"v", "abc"}};
  Velto::rcConsoleView& single = MakeConsole("dimensions: {10, 3}, outputVariable: v");
  for (const char* value : {"abc", "abc", "de\n", "\fxy", ""}) {
    fController.fVariables["v"] = value;
    single.WindowStateChanged();
  }
  EXPECT_EQ(Screen(single), "xy||| 0,2");
}

TEST_F(ConsoleViewTest, DrawsRowsInRunsAndInvalidatesWhatChanged) {
  // Cells at (10 + 9 c, 5 + 18 r).
  fController.fVariables = {{"out.n", "0"}};
  Velto::rcConsoleView& console =
      MakeConsole("dimensions: {20, 5}, margins: {10, 5}, outputArray: out, background: red");
  fView->fInvalidated.clear();
  Output(console, {"\xe9\nab"});
  // Before the first drawing nothing is measured: the cells reach far out, merged and cut.
  EXPECT_EQ(fView->fInvalidated, (std::vector<Wex::cRect>{{8, 3, 200, 100}}));
  const ref<Wex::rcOffscreenContext32> drawn = Draw({0, 0, 100, 50}, 0xFF0000FF);
  EXPECT_EQ(fFont->fLog, (std::vector<std::string>{"metrics", "10,14:233", "10,32:97 19,32:98"}));
  EXPECT_EQ(Rgb(*drawn, 99, 49), 0xFF0000u);  // the background fills the update rectangle only
  EXPECT_EQ(Rgb(*drawn, 100, 50), 0x0000FFu);
  // Measured widths (6) and line height (12): neighbours merge unless that wastes over 100 pixels.
  fView->fInvalidated.clear();
  Output(console, {"\rba   a"});
  EXPECT_EQ(fView->fInvalidated, (std::vector<Wex::cRect>{{8, 21, 27, 37}, {53, 21, 63, 37}}));
  fFont->fLog.clear();
  Draw({0, 0, 200, 100}, 0xFF0000FF);
  EXPECT_EQ(fFont->fLog, (std::vector<std::string>{"10,14:233", "10,32:98 19,32:97 55,32:97"}));

  // Cell origins are computed in 64 bits.
  Output(MakeConsole("dimensions: {20, 5}, margins: {-2000000000, 0}, outputArray: out"), {"ab"});
  fFont->fLog.clear();
  Draw({0, 0, 200, 100}, 0xFF0000FF);
  EXPECT_EQ(fFont->fLog, (std::vector<std::string>{"metrics", "-2000000000,9:97 -1799999990,9:98"}));
}

TEST_F(ConsoleViewTest, AnInputConsoleClaimsTheKeyboardAndTakesKeysWhileActive) {
  Velto::rcConsoleView& console =
      MakeConsole("dimensions: {2, 3}, inputVariable: in, inputAction: act, inputParams: p, cursor: {blinkRate: 0,"
                  " character: '#'}");
  // Becoming visible takes the focus and installs the console; active only in the key window.
  console.WindowStateChanged();
  EXPECT_EQ(fView->fActivations, 1);
  EXPECT_EQ(fView->fKeyHandler.Get(), static_cast<Wex::iKeyHandler*>(&console));
  EXPECT_FALSE(console.IsInputActive());
  EXPECT_FALSE(Type('a'));
  fWindow->fKey = true;
  fView->fInvalidated.clear();
  console.WindowStateChanged();
  EXPECT_TRUE(console.IsInputActive());
  EXPECT_EQ(fView->fInvalidated.size(), 1u);  // the cursor shows
  Draw({0, 0, 200, 100}, 0);
  EXPECT_EQ(fFont->fLog.back(), "0,9:35");

  // Typed keys are echoed; a backspace at column 0 only shortens the line; Return stores the
  // line and runs the action.
  TakeCalls();
  for (const std::uint8_t key : {'a', 'b', '\b', 'c', '\r'}) EXPECT_TRUE(Type(key)) << key;
  for (const std::uint8_t key : {0, 7, 127, 200}) EXPECT_FALSE(Type(key)) << key;
  EXPECT_EQ(Screen(console), "ab|c|| 0,2");
  EXPECT_EQ(console.GetLineBuffer(), "");
  Calls writes;
  for (const Call& call : TakeCalls()) {
    if (call.fOperation == "SetVariable" || call.fOperation == "PerformAction") writes.push_back(call);
  }
  EXPECT_EQ(writes, (Calls{At("SetVariable", {"in", "ac\n", "true"}), At("PerformAction", {"act", "p"})}));

  // Without the focus input stops; hidden, the console gives up the keys; shown, claims them.
  fView->fKey = false;
  console.WindowStateChanged();
  EXPECT_FALSE(console.IsInputActive());
  console.Hide();
  console.WindowStateChanged();
  EXPECT_FALSE(fView->fKeyHandler);
  console.Show();
  console.WindowStateChanged();
  EXPECT_EQ(fView->fActivations, 2);
  EXPECT_TRUE(console.IsInputActive());
  // A press claims the keys back, once; leaving the host gives them up.
  fView->fKeyHandler = nullptr;
  EXPECT_TRUE(fRoot->MouseDown({5, 5}, 0, false, {}));
  EXPECT_TRUE(fView->fKeyHandler);
  EXPECT_FALSE(fRoot->MouseDown({5, 5}, 0, false, {}));
  EXPECT_EQ(fView->fActivations, 4);
  fRoot->RemoveAllChildren();
  EXPECT_FALSE(fView->fKeyHandler);

  // With only an action, Return runs it and writes nothing; a console without input never
  // takes the keyboard, and a press on it goes to the base view.
  Velto::rcConsoleView& action = MakeConsole("inputAction: act");
  action.WindowStateChanged();
  EXPECT_TRUE(Type('x') && Type('\r'));
  Calls actions;
  for (const Call& call : TakeCalls()) {
    if (call.fOperation == "SetVariable" || call.fOperation == "PerformAction") actions.push_back(call);
  }
  EXPECT_EQ(actions, (Calls{At("PerformAction", {"act", ""})}));
  fView->fKeyHandler = nullptr;
  Velto::rcConsoleView& output = MakeConsole("");
  output.WindowStateChanged();
  EXPECT_FALSE(fRoot->MouseDown({5, 5}, 0, false, {}));
  EXPECT_FALSE(fView->fKeyHandler);
  EXPECT_EQ(fView->fActivations, 5);
}

TEST_F(ConsoleViewTest, TheCursorBlinksFromItsDueTimes) {
  fWindow->fKey = true;
  Velto::rcConsoleView& console = MakeConsole("dimensions: {2, 2}, inputVariable: in");
  console.WindowStateChanged();
  Wex::rcScheduler& scheduler = *fView->fScheduler;
  const auto next = [&] {
    std::int32_t due = 0;
    return scheduler.GetTimeToNextTask(0, due) ? due : -1;
  };
  const std::int32_t first = next();
  Draw({0, 0, 200, 100}, 0);
  // Due time and time run: the next due time, the blink phase, the invalidations.
  const struct {
    std::int32_t run;
    std::int32_t due;
    bool on;
    std::size_t invalidated;
  } steps[] = {{first + 100, first + 500, false, 1}, {first + 500, first + 1000, true, 1},
               // Late by more than a period: the next is a period from now, and it ran once.
               {first + 3000, first + 3500, false, 1}};
  for (const auto& step : steps) {
    fView->fInvalidated.clear();
    scheduler.RunDueTasks(step.run);
    EXPECT_EQ(next(), step.due);
    EXPECT_EQ(console.IsBlinkOn(), step.on);
    EXPECT_EQ(fView->fInvalidated.size(), step.invalidated);
    Draw({0, 0, 200, 100}, 0);
  }
  // Without a blink period no timer runs.
  fRoot->RemoveAllChildren();
  EXPECT_EQ(next(), -1);
  MakeConsole("cursor: {blinkRate: -0.5}");
  EXPECT_EQ(next(), -1);
}

}  // namespace
}  // namespace VeltoTest
