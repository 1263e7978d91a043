// The console view: its description, the terminal rules of its output, its drawing and
// invalidation, the keyboard that an input console claims and the keys it takes, and its blink.
#include "velto/views/console_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

// Characters 6 pixels wide, line height 12, ascent 9; each run drawn is logged " x,y:byte ...".
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
  Wex::cPoint Draw(Wex::rcGraphicsContext&, const Wex::cPoint& p, const Wex::rcVector<UniChar>& text) override {
    fLog.back() += " " + std::to_string(p.fX) + "," + std::to_string(p.fY) + ":" + std::to_string(text[0]);
    return {p.fX + 6, p.fY};
  }
  void DrawCharacters(Wex::rcGraphicsContext& context, std::int32_t count, const Wex::cPoint* points,
                      const std::uint32_t* characters, Wex::cPoint* ends) override {
    fLog.emplace_back();
    iFont::DrawCharacters(context, count, points, characters, ends);
  }
  std::int32_t GetChangeCount() override { return 0; }
  Log fLog;
};

class ConsoleViewTest : public ViewTest {
 protected:
  ConsoleViewTest() {
    fController.fFonts["runs"] = iref<Velto::iFont>(fFont);
    fController.fVariables = {{"out.n", "0"}};
    fView->fWindow = fWindow;
  }
  Velto::rcConsoleView& MakeConsole(const std::string& keys) {
    Velto::rcConsoleView& console = Remake<Velto::rcConsoleView>("type: console, font: runs, " + keys);
    TakeCalls();
    return console;
  }
  // Array mode: each element added after the count, then a refresh.
  void Output(Velto::rcConsoleView& console, const Log& elements) {
    for (const std::string& element : elements) {
      const std::string n = fController.fVariables["out.n"];
      fController.fVariables["out[" + n + "]"] = element;
      fController.fVariables["out.n"] = std::to_string(std::stoi(n) + 1);
      console.WindowStateChanged();
    }
  }
  // The rows without trailing blanks, each ended by '|', then the cursor.
  static std::string Screen(const Velto::rcConsoleView& console) {
    std::string screen;
    for (std::int32_t row = 0; row < console.GetSettings().fRows; ++row) {
      const std::string text = console.GetRowText(row);
      screen += text.substr(0, text.find_last_not_of(' ') + 1) + "|";
    }
    return screen + " " + std::to_string(console.GetCursor().fX) + "," + std::to_string(console.GetCursor().fY);
  }
  bool Type(char character) {
    Wex::cKeyEvent key;
    key.fCharacter = static_cast<std::uint8_t>(character);
    return fView->fKeyHandler && fView->fKeyHandler->KeyDown(fView->Self(), key, false);
  }
  // The variables written and the actions run, then the keyboard's state; after a refresh first
  // when asked.
  std::string Effects(Velto::rcConsoleView& console, bool refresh = false) {
    if (refresh) console.WindowStateChanged();
    std::string effects;
    for (const Call& call : TakeCalls()) {
      if (call.fOperation == "SetVariable" || call.fOperation == "PerformAction") {
        effects += call.fArguments[0] + "(" + call.fArguments[1] + ") ";
      }
    }
    return effects + std::to_string(fView->fActivations) + (fView->fKeyHandler ? " keys" : "") +
           (console.IsInputActive() ? " active" : "");
  }

  ref<rcRunFont> fFont{new rcRunFont()};
  ref<GuiTest::rcFakeWindow> fWindow{new GuiTest::rcFakeWindow({0, 0, 200, 100})};
};

TEST_F(ConsoleViewTest, ReadsItsDescriptionAndRefusesBadDimensionsBeforeTheFont) {
  WritePicture("white", 2, 2, 0xFFFFFFFF);
  const char* cases[][2] = {
      {"", "80x40 8 95 500 0,0 0 |||"},
      {"dimensions: {1000, 1000}, tabSize: 0x10, outputArray: a, outputVariable: v, inputAction: act, inputParams: "
       "'{x}', inputVariable: \"in\", cursor: {image: white, offset: {2, 3}}",
       "1000x1000 16 0 500 image 2,3 1 a|act|{x}|in"},
      {"tabSize: -3, outputVariable: 'v w', cursor: {character: '#x', blinkRate: 0.25}", "80x40 1 35 250 0,0 0 v w|||"},
      {"cursor: {blinkRate: -1}", "80x40 8 0 0 0,0 0 |||"},  // rates without a meaning do not blink
      {"cursor: {blinkRate: 0/0}", "80x40 8 0 0 0,0 0 |||"},
      {"cursor: {blinkRate: 3e6}", "80x40 8 0 0 0,0 0 |||"},
      {"dimensions: {5, 0}", "Console view has negative or zero dimensions"},
      {"dimensions: {1001, 1000}", "Console view dimensions are too large"},
      {"dimensions: {65536, 65536}", "Console view dimensions are too large"},
      {"background: nocolor", "Invalid color: \"nocolor\" font"}};
  for (const auto& c : cases) {
    std::string result;
    const std::string error = ErrorOf([&] {
      const Velto::cConsoleSettings& s = MakeConsole(c[0]).GetSettings();
      const auto text = [](auto... parts) { return ((std::to_string(parts) + " ") + ...); };
      result = std::to_string(s.fColumns) + "x" + text(s.fRows, s.fTabSize, s.fCursorCharacter, s.fBlinkPeriod) +
               (s.fCursorImage ? "image " : "") + std::to_string(s.fCursorOffset.fX) + "," +
               text(s.fCursorOffset.fY, s.fOutputIsArray) + s.fOutputName + "|" + s.fInputAction + "|" +
               s.fInputParams + "|" + s.fInputVariable;
    });
    EXPECT_EQ(error.empty() ? result : error + (CountCalls("GetFont") > 0 ? " font" : ""), c[1]) << c[0];
  }
}

TEST_F(ConsoleViewTest, WritesOutputByTheTerminalRules) {
  const std::vector<std::pair<Log, const char*>> cases = {
      {{"abc\ndef", "\rX"}, "abc|Xef|| 1,1"},
      {{"\bx", "ab\b"}, "xa||| 2,0"},       // a backspace at column 0 changes nothing
      {{"abc\ndef\fxy"}, "xy||| 2,0"},      // the rows written before are blank
      {{"ab\2c\2", "\2d"}, "ab|c|d| 1,2"},  // 2 leaves a row's start alone
      {{"a\1\3\4\5\6\7\13b", "\x80\xe9\xff"}, "ab\x80\xe9\xff||| 5,0"},
      {{"abcdef\tx", "\t\ty"}, "abcdef  x|        y|| 9,1"},  // past the last stop into the next row
      {{"tabSize: 0", "ab\tx"}, "ab x||| 4,0"},
      {{"tabSize: 2147483647", "a\tb"}, "a|b|| 1,1"},
      {{"dimensions: {3, 2}", "abcdef"}, "def|| 0,1"},  // the last cell wraps and scrolls
      {{"dimensions: {3, 2}", "a\nb\nc\nd"}, "c|d| 1,1"}};
  for (const auto& [elements, screen] : cases) {
    const bool keys = elements[0].find(':') != std::string::npos;
    Velto::rcConsoleView& console =
        MakeConsole((keys ? elements[0] + ", " : "") + "outputArray: out, dimensions: {10, 3}");
    Output(console, Log(elements.begin() + keys, elements.end()));
    EXPECT_EQ(Screen(console), screen);
  }

  // Elements that exist when the view is made are not written; new ones in order, joined; a
  // smaller count only lowers the mark; a negative count reads nothing; a jump reads the last 65536.
  fController.fVariables.insert_or_assign("out[2]", "a");
  fController.fVariables.insert_or_assign("out[3]", "b");
  fController.fVariables["out.n"] = "2";
  Velto::rcConsoleView& array = MakeConsole("dimensions: {10, 3}, outputArray: out");
  for (const char* count : {"4", "3", "4", "-1", "70000"}) {
    TakeCalls();
    fController.fVariables["out.n"] = count;
    array.WindowStateChanged();
  }
  const Calls calls = TakeCalls();
  EXPECT_EQ(Screen(array), "abb||| 3,0");
  EXPECT_EQ(calls.size(), 65537u);
  EXPECT_EQ(calls.at(1), At("GetVariable", {"out[4464]"}));
  // A new value is written with a new line; the same value again writes nothing.
  Velto::rcConsoleView& single = MakeConsole("dimensions: {10, 3}, outputVariable: v");
  for (const char* value : {"abc", "abc", "de\n", "\fxy", ""}) {
    fController.fVariables["v"] = value;
    single.WindowStateChanged();
  }
  EXPECT_EQ(Screen(single), "xy||| 0,2");
}

TEST_F(ConsoleViewTest, DrawsRowsInRunsAndInvalidatesWhatChanged) {
  // Cells at (10 + 9 c, 5 + 18 r); the background fills the update rectangle only.
  Velto::rcConsoleView& console =
      MakeConsole("dimensions: {20, 5}, margins: {10, 5}, outputArray: out, background: red");
  fView->fInvalidated.clear();
  Output(console, {"\xe9\nab"});
  const ref<Wex::rcOffscreenContext32> drawn = Draw({0, 0, 100, 50}, 0xFF0000FF);
  EXPECT_EQ(Rgb(*drawn, 99, 49) * 0x100000000ull + Rgb(*drawn, 100, 50), 0xFF0000'000000FFull);
  Output(console, {"\rba   a"});
  Draw({0, 0, 200, 100}, 0);
  // Unmeasured cells reach far out, merged and cut; measured ones (6 wide, 12 high) merge unless
  // that wastes over 100 square pixels.
  EXPECT_EQ(fView->fInvalidated, (std::vector<Wex::cRect>{{8, 3, 200, 100}, {8, 21, 27, 37}, {53, 21, 63, 37}}));
  EXPECT_EQ(fFont->fLog,
            (Log{"metrics", " 10,14:233", " 10,32:97 19,32:98", " 10,14:233", " 10,32:98 19,32:97 55,32:97"}));
  // Cell origins are computed in 64 bits.
  fFont->fLog.clear();
  Output(MakeConsole("dimensions: {20, 5}, margins: {-2000000000, 0}, outputArray: out"), {"ab"});
  Draw({0, 0, 200, 100}, 0);
  EXPECT_EQ(fFont->fLog, (Log{"metrics", " -2000000000,9:97 -1799999990,9:98"}));
}

TEST_F(ConsoleViewTest, AnInputConsoleClaimsTheKeyboardAndTakesKeysWhileActive) {
  Velto::rcConsoleView& console =
      MakeConsole("dimensions: {2, 3}, inputVariable: in, inputAction: act, inputParams: p");
  // Becoming visible takes the focus and the keys; the console is active in the key window only.
  EXPECT_EQ(Effects(console, true), "1 keys");
  EXPECT_FALSE(Type('a'));
  fWindow->fKey = true;
  console.WindowStateChanged();
  Draw({0, 0, 200, 100}, 0);
  EXPECT_EQ(fFont->fLog.back(), " 0,9:95");  // the cursor
  // A backspace at column 0 only shortens the line; Return stores it and runs the action.
  for (const char key : {'a', 'b', '\b', 'c', '\r'}) EXPECT_TRUE(Type(key)) << key;
  for (const char key : {'\0', '\a', '\x7f', '\xc8'}) EXPECT_FALSE(Type(key)) << key;
  EXPECT_EQ(Screen(console), "ab|c|| 0,2");
  EXPECT_EQ(Effects(console), "in(ac\n) act(p) 1 keys active");
  // Without the focus input stops; hidden, the console gives up the keys; shown, claims them.
  fView->fKey = false;
  EXPECT_EQ(Effects(console, true), "1 keys");
  console.Hide();
  EXPECT_EQ(Effects(console, true), "1");
  console.Show();
  EXPECT_EQ(Effects(console, true), "2 keys active");
  // A press claims the keys that another handler has, and only then is handled.
  fView->fKeyHandler = nullptr;
  EXPECT_TRUE(fRoot->MouseDown({5, 5}, 0, false, {}));
  EXPECT_FALSE(fRoot->MouseDown({5, 5}, 0, false, {}));
  EXPECT_EQ(Effects(console), "4 keys active");

  // Leaving the host gives the keys up. With only an action nothing is written; a console
  // without input never takes the keys, and a press on it goes to the base view.
  Velto::rcConsoleView& action = MakeConsole("inputAction: act");
  EXPECT_EQ(Effects(action), "4");
  action.WindowStateChanged();
  EXPECT_TRUE(Type('x') && Type('\r'));
  EXPECT_EQ(Effects(action), "act() 5 keys active");
  fView->fKeyHandler = nullptr;
  Velto::rcConsoleView& output = MakeConsole("");
  output.WindowStateChanged();
  EXPECT_FALSE(fRoot->MouseDown({5, 5}, 0, false, {}));
  EXPECT_EQ(Effects(output), "5");
}

TEST_F(ConsoleViewTest, TheCursorBlinksFromItsDueTimes) {
  fWindow->fKey = true;
  MakeConsole("dimensions: {2, 2}, inputVariable: in").WindowStateChanged();
  Draw({0, 0, 200, 100}, 0);
  // Run at, next due: a period after the due time; late by over a period, a period after the
  // run, with one blink. Each blink invalidates the cursor.
  const std::int32_t first = NextDue();
  const std::pair<std::int32_t, std::int32_t> steps[] = {
      {first + 100, first + 500}, {first + 500, first + 1000}, {first + 3000, first + 3500}};
  for (const auto& [run, due] : steps) {
    fView->fInvalidated.clear();
    fView->fScheduler->RunDueTasks(run);
    EXPECT_EQ(NextDue(), due);
    EXPECT_EQ(fView->fInvalidated.size(), 1u);
    Draw({0, 0, 200, 100}, 0);
  }
  MakeConsole("cursor: {blinkRate: -0.5}");
  EXPECT_EQ(NextDue(), kNoTask);
}

}  // namespace
}  // namespace VeltoTest
