// Expands arbitrary bytes as a text with macro tags. Expansion may reject the text with its
// FormatException messages and nothing else; a text without '[' comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/exceptions.h"
#include "velto/root_view.h"
#include "velto/text_macros.h"
#include "velto/testing/recording_controller.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Answers every variable and translation with one text that holds quotes, a backslash, brackets
// and a byte above 127, so that quoted insertion and case changes meet them.
class FixedAnswers : public VeltoTest::RecordingController {
 public:
  std::string GetVariable(Velto::rcRootView& root, const std::string& name) override {
    RecordingController::GetVariable(root, name);
    return "v\"a'l\\[/var]\xe9";
  }
  std::string GetText(Velto::rcRootView&, const std::string&) override { return "T[xlate]\xff"; }
};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FixedAnswers controller;
  static const ref<Velto::rcRootView> root(new Velto::rcRootView({0, 0, 100, 100}, &controller));
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const std::string expanded = Velto::ExpandTextMacros(*root, text);
    if (text.find('[') == std::string_view::npos) Check(expanded == text);
  } catch (const FormatException& e) {
    const std::string_view message = e.what();
    Check(StartsWith(message, "Unexpected meta tag: [/") || StartsWith(message, "Meta tags nested too deeply: [") ||
          StartsWith(message, "Meta tags expand to more than "));
  }
  controller.TakeCalls();
  return 0;
}
