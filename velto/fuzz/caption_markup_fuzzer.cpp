// Lays arbitrary bytes out as the one page of a bubble: the first four bytes give its width,
// height, minimum and maximum height, the fifth its frame, corners and tail, the rest is the
// page. Fonts are fixed-advance fakes, the style set has frames, underlines, alignments and
// offsets, and the root view over the recording controller expands text macros (its variables
// hold markup). The layout may fail only with Exception (the markup's messages, text macros, the
// evaluator, layout rectangles); after it the bubble's outline, point tests, height fitting and
// word hit tests run over the result. Anything else that escapes, an empty token list after a
// layout, and any crash or sanitizer report are findings.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/exceptions.h"
#include "base/key_value.h"
#include "gui/bitmap_context.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/shapes.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "velto/bubble_state.h"
#include "velto/caption_markup.h"
#include "velto/root_view.h"
#include "velto/testing/fixed_font.h"
#include "velto/testing/recording_controller.h"

namespace {

constexpr const char* kStyles =
    "{ default: { font: ten }, b: { font: ten, frame: { color: red, stroke: 2, padding: 1, margin: 3 } },"
    "  i: { font: seven, underline: { color: blue, stroke: 1, offset: 2 }, align: center },"
    "  r: { font: ten, align: right, lineSpacing: 2, typingRate: 0.05, offset: { 1, -1 } },"
    "  z: { font: none, frame: { color: green, stroke: 0.5 } } }";

struct Fixture {
  Fixture() {
    controller.fFonts = {{"ten", iref<Velto::iFont>(new VeltoTest::rcFixedFont(10, 12, 9))},
                         {"seven", iref<Velto::iFont>(new VeltoTest::rcFixedFont(7, 20, 15))},
                         {"none", iref<Velto::iFont>(new VeltoTest::rcFixedFont(0, 0, 0))}};
    controller.fVariables = {{"v", "<b>bold</b> &amp; a-long-word <move bounds='{1,2,30,40}'>"}, {"n", "1e308"}};
    styles = ref<Velto::rcTextStyleSet>(new Velto::rcTextStyleSet(Wex::ParseKeyValueMap(kStyles), *root));
  }

  ResourcesTest::TemporaryBundle bundle;
  Velto::rcResourceRegistry registry{false, L"F"};
  VeltoTest::RecordingController controller{&registry};
  ref<Velto::rcRootView> root{new Velto::rcRootView({0, 0, 300, 300}, &controller)};
  ref<Velto::rcTextStyleSet> styles;
  ref<Wex::rcOffscreenContext32> context{new Wex::rcOffscreenContext32(1, 1, false)};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  if (size < 5) return 0;
  Velto::cBubbleState bubble;
  bubble.fBaseBounds = {3, 5, 3 + data[0], 5 + data[1]};
  bubble.fHeight = data[1];
  bubble.fMinHeight = data[2];
  bubble.fMaxHeight = data[3];
  bubble.fParentHeight = 200;
  const std::uint8_t shape = data[4];
  bubble.fFrame.fColor = shape & 1 ? 0xFF000000 : 0;
  bubble.fFrame.fWidth = (shape >> 1) & 3;
  bubble.fCorners = {static_cast<double>((shape >> 3) & 3) * 4, static_cast<double>((shape >> 4) & 1) * 6};
  bubble.fTailSize = {static_cast<double>((shape >> 5) & 1) * 5, static_cast<double>(shape >> 6) * 4};
  bubble.fTailPosition = data[0] * 3 / 4;
  bubble.fMargins = {1, 2, -3, -4};
  bubble.fPaddings = {4, 3, -2, -1};
  bubble.fRoot = fixture.root.Get();
  bubble.fDefaultStyle = fixture.styles->Find("default");
  bubble.fStyleSet = fixture.styles;
  bubble.fPages = {std::string(reinterpret_cast<const char*>(data) + 5, size - 5)};
  bubble.fCurrentPage = 0;
  try {
    Velto::ParseCaptionMarkup(bubble, *fixture.context);
    if (bubble.fTokens.empty()) std::abort();
  } catch (const Exception&) {
    // The markup's own errors, and those of text macros, expressions and layout rectangles.
  }
  const Wex::cRect& target = bubble.fTargetRect;
  const QorRaster::Path outline = bubble.GetOutlinePath(bubble.GetOutlineRect(target.Width(), target.Height()));
  bubble.fRevealed = bubble.fTokens.size();
  for (const Wex::cPoint p : {Wex::cPoint{10, 10}, Wex::cPoint{40, 20}, Wex::cPoint{3, 60}}) {
    Velto::HitTestPath(outline, p.fX, p.fY);
    bubble.ContainsPoint(p, target.Width(), target.Height());
    bubble.FindClickableToken(p);
  }
  bubble.FitHeight(target);
  fixture.controller.TakeCalls();
  return 0;
}
