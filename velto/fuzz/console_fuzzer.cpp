// Builds two consoles from fuzzed "dimensions", "margins" and "tabSize" values (the first three
// lines of the input, as written): one that writes a single variable and takes typed lines, one that writes
// a variable array. Both are hosted by a GUI root over the recording native view in a key
// window, so that the input console is active, and draw with a film font of 256 glyphs. The rest
// of the input is a list of steps, each chosen by its first byte: a new value of the single
// variable, a new array element, an array count (negative, huge and no number included), a
// typed key, or a drawing into a 32 x 24 bitmap followed by a tick of the blink timers. Reading
// the description may fail only with the errors of descriptions and expressions; anything else
// that escapes, and any crash, hang or sanitizer report, is a finding.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/exceptions.h"
#include "base/key_value.h"
#include "base/png.h"
#include "gui/bitmap_context.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/root.h"
#include "gui/tests/recording_view.h"
#include "velto/root_view.h"
#include "velto/testing/recording_controller.h"
#include "velto/views/view_construction.h"

namespace {

// Steps beyond these are not run: a grid of a million cells costs that many visits per refresh.
constexpr std::size_t kMaxSteps = 48;
constexpr std::size_t kMaxText = 300;

struct Fixture {
  Fixture() {
    // Glyph i is a 3 x 4 band whose grey is i.
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t i = 0; i < 256; ++i) pixels.insert(pixels.end(), 12, 0xFF000000 | i * 0x010101);
    bundle.WriteResource("glyphs", "png", QorPNG::WritePremultipliedARGB(pixels.data(), 3, 1024, 3));
    window->fKey = true;
  }

  ResourcesTest::TemporaryBundle bundle;
  Velto::rcResourceRegistry registry{false, L"F"};
  VeltoTest::RecordingController controller{&registry};
  ref<GuiTest::rcFakeWindow> window{new GuiTest::rcFakeWindow({0, 0, 32, 24})};
  ref<Wex::rcOffscreenContext32> bitmap{new Wex::rcOffscreenContext32(32, 24, false)};
};

// The next line of the input, without its end.
std::string_view TakeLine(std::string_view& input) {
  const std::size_t end = input.find('\n');
  const std::string_view line = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return line;
}

// The next byte of the input, 0 at its end.
std::uint8_t TakeByte(std::string_view& input) {
  if (input.empty()) return 0;
  const auto byte = static_cast<std::uint8_t>(input.front());
  input.remove_prefix(1);
  return byte;
}

// A text of as many bytes as the next byte says (at most kMaxText, at most what is left).
std::string TakeText(std::string_view& input) {
  const std::size_t length = std::min<std::size_t>({TakeByte(input) * std::size_t{2}, kMaxText, input.size()});
  const std::string text(input.substr(0, length));
  input.remove_prefix(length);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  Velto::Description grid{{"type", "console"}, {"font", "{film: glyphs, first: 0}"}};
  grid["dimensions"] = TakeLine(input);
  grid["margins"] = TakeLine(input);
  grid["tabSize"] = TakeLine(input);
  Velto::Description single = grid;
  single.insert({{"outputVariable", "out"},
                 {"inputVariable", "in"},
                 {"inputAction", "nop"},
                 {"cursor", "{character: '\\xdb', blinkRate: 0.01}"},
                 {"background", "0xFF204080"}});
  Velto::Description array = grid;
  array.insert({{"bounds", "{4, 4, 20, 10}"}, {"outputArray", "arr"}, {"cursor", "{}"}});

  VeltoTest::RecordingController& controller = fixture.controller;
  controller.fVariables = {{"arr.n", "1"}};
  const ref<GuiTest::rcRecordingView> view(new GuiTest::rcRecordingView());
  view->fWindow = fixture.window;
  view->fBounds = {0, 0, 32, 24};
  const ref<Wex::rcGUIRoot> host(new Wex::rcGUIRoot(iref<Wex::iNativeView>(view)));
  const ref<Velto::rcRootView> root(new Velto::rcRootView({0, 0, 32, 24}, &controller));
  host->SetRootElement(root);
  for (const Velto::Description& description : {single, array}) {
    try {
      Velto::MakeViewFromDescription(*root, description, *root, false);
    } catch (const Exception&) {  // FormatException and the evaluator's errors
    }
  }
  // The first refresh: the input console claims the keys.
  root->WindowStateChanged();

  std::int32_t time = 0;
  std::int32_t elements = 1;
  for (std::size_t step = 0; step < kMaxSteps && !input.empty(); ++step) {
    switch (TakeByte(input) % 5) {
      case 0:
        controller.fVariables["out"] = TakeText(input);
        root->WindowStateChanged();
        break;
      case 1:
        controller.fVariables["arr[" + std::to_string(elements) + "]"] = TakeText(input);
        controller.fVariables["arr.n"] = std::to_string(++elements);
        root->WindowStateChanged();
        break;
      case 2: {
        static const char* const kCounts[] = {"-1", "0", "2147483647", "70000", "nan", "0x10", "-2147483648", "3"};
        controller.fVariables["arr.n"] = kCounts[TakeByte(input) % 8];
        root->WindowStateChanged();
        break;
      }
      case 3: {
        Wex::cKeyEvent key;
        key.fCharacter = TakeByte(input);
        if (const iref<Wex::iKeyHandler> handler = view->fKeyHandler) handler->KeyDown(view->Self(), key, false);
        break;
      }
      default:
        root->Draw(*fixture.bitmap, {0, 0, 32, 24});
        time += TakeByte(input) * 10;
        view->fScheduler->RunDueTasks(Wex::ToElementTime(Wex::GetMilliseconds()) + time);
        break;
    }
  }
  root->Draw(*fixture.bitmap, {0, 0, 32, 24});
  host->Close();
  controller.TakeCalls();
  return 0;
}
