// Reads arbitrary bytes as the description of a root view over the recording controller, whose
// registry holds two small pictures ("white", opaque, and "grey", half transparent), a PNG file cut
// after its header ("cut"), the layout "main" (which nests itself through the variable "page"), the
// layouts "fan1" ... "fan3" (64 nested views in each show the next one, through variables of the
// same names) and the ORV source "knob", and whose variables hold opacities, scales, offsets and
// angles, finite and not, an ORV source, view descriptions, a page name and a text of 16 KB; its
// fonts "ten" (10 pixels a character) and "none" (0) are fixed. The root is hosted by a view that
// tracks the mouse as the platform's does, in a window that measures text through a small bitmap.
// The tree is refreshed, the mouse moves and presses over it, and a press that starts tracking
// drags with option and with shift and is released (the actions that views run show their alerts,
// menus, text edits and launches to stand-ins that answer at once, and their errors to the
// controller), and unless a view is wider or taller than 4096 pixels (a transformed view draws
// through a bitmap as large as itself) it is drawn into a 64 x 64 bitmap seven times, so that
// vector views run live, cache and draw their cache.
// Reading, refreshing, the mouse and drawing may fail only with the errors of descriptions,
// expressions, markup, pictures and resources; anything else that escapes, and any crash or
// sanitizer report, is a finding.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "base/key_value.h"
#include "base/png.h"
#include "gui/alert.h"
#include "gui/bitmap_context.h"
#include "gui/menu.h"
#include "gui/root.h"
#include "gui/simple_text_edit.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/tests/recording_view.h"
#include "platform/launch.h"
#include "velto/root_view.h"
#include "velto/testing/fixed_font.h"
#include "velto/testing/recording_controller.h"

namespace {

constexpr std::int32_t kMaxDrawnSide = 4096;
// "fan1" shows 64 + 64^2 + 64^3 views, more than one refresh may make; "fan2" and "fan3" show
// few enough to be fuzzed fast.
constexpr int kFanLevels = 3;
constexpr int kFanWidth = 64;

std::string Picture(std::int32_t width, std::int32_t height, std::uint32_t color) {
  const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, color);
  return QorPNG::WritePremultipliedARGB(pixels.data(), width, height, width);
}

struct Fixture {
  Fixture() {
    bundle.WriteResource("white", "png", Picture(6, 5, 0xFFFFFFFF));
    bundle.WriteResource("grey", "png", Picture(3, 4, 0x80404040));
    bundle.WriteResource("cut", "png", Picture(2, 2, 0xFF00FF00).substr(0, 20));
    bundle.WriteResource("main", "velto",
                         "transitions: { default: { time: 0.2 } }, views: { { type: rectangle, fill: red },"
                         "{ type: transformed, rotation: r, views: { { type: raster, image: white } } },"
                         "{ type: velto, bounds: { 2, 2, 20, 20 }, layoutVariable: page } }");
    for (int i = 1; i <= kFanLevels; ++i) {
      const std::string name = "fan" + std::to_string(i);
      std::string views;
      for (int k = 0; k < kFanWidth; ++k) views += "{ type: velto, layoutVariable: fan" + std::to_string(i + 1) + " }";
      bundle.WriteResource(name, "velto", "views: { " + views + " }");
    }
    bundle.WriteResource("knob", "orv", "fill #80FF0000; ellipse 8,8,{$w}; pen white; path svg: [M0 0 L$w 20]");
    controller.fVariables = {{"o", "40"},
                             {"s", "150"},
                             {"r", "30"},
                             {"x", "-7"},
                             {"y", "1e300"},
                             {"z", "nan"},
                             {"i", "2147483647"},
                             {"page", "main"},
                             {"p", "b"},
                             {"w", "12"},
                             {"src", "fill lime; rect 0,0,$w,{$w / 2}"},
                             {"items", "{ type: rectangle, fill: blue }, { type: vector, source: { wipe red } }"},
                             {"long", std::string(16384, 'x')}};
    for (int i = 1; i <= kFanLevels; ++i) controller.fVariables["fan" + std::to_string(i)] = "fan" + std::to_string(i);
    controller.fFonts = {{"ten", iref<Velto::iFont>(new VeltoTest::rcFixedFont(10, 12, 9, 0xFF0000FF))},
                         {"none", iref<Velto::iFont>(new VeltoTest::rcFixedFont(0, 0, 0))}};
    controller.fShowErrorResult = true;
    Wex::SetAlertRunner([](std::int32_t, std::int32_t, std::int32_t, const refString&, const refString&,
                           const ref<Wex::rcExtWindow>&) { return 1; });
    Wex::SetMenuPopUp([](Wex::rcMenu&, const ref<Wex::rcExtWindow>&, Wex::cPoint) { return 1; });
    Wex::SetSimpleTextEditRunner([](const ref<Wex::rcGUIRoot>&, const std::string&, std::string&) { return true; });
    Platform::SetLauncher([](const std::string&) {});
  }

  ResourcesTest::TemporaryBundle bundle;
  Velto::rcResourceRegistry registry{false, L"F"};
  VeltoTest::RecordingController controller{&registry};
  ref<Wex::rcOffscreenContext32> bitmap{new Wex::rcOffscreenContext32(64, 64, false)};
  // Text is measured through it (caption shortening, bubble pages).
  ref<Wex::rcExtWindow> window{new GuiTest::rcMeasuringWindow({0, 0, 64, 64})};
};

// A host view that tracks as the platform's view does, with drags and a release fed to its tracker.
class rcDraggedView : public GuiTest::rcTrackingView {
 public:
  // Drags the current tracker to each point with its keys, then releases it at the last one.
  void DragAndRelease(const std::vector<std::pair<Wex::cPoint, Wex::cKeyModifiers>>& drags) {
    for (const auto& drag : drags) {
      if (const iref<Wex::iMouseTracker> tracker = fTracker) {
        tracker->TrackMouse(TrackingHost(), {Self(), drag.first, 0, drag.second, 1});
      }
    }
    if (const iref<Wex::iMouseTracker> tracker = std::exchange(fTracker, nullptr)) {
      tracker->EndTracking(TrackingHost(), {Self(), drags.back().first, 0, {}, 0});
    }
  }
};

// Whether the element and every element below it are at most kMaxDrawnSide wide and high.
bool FitsDrawing(const Wex::rcGUIElement& element) {
  const Wex::cRect& b = element.GetBounds();
  if (b.fRight > kMaxDrawnSide || b.fBottom > kMaxDrawnSide) return false;
  const auto* container = dynamic_cast<const Wex::rcGUIContainer*>(&element);
  if (container == nullptr) return true;
  for (std::int64_t i = 0; i < container->GetChildCount(); ++i) {
    if (!FitsDrawing(*container->GetChild(i))) return false;
  }
  return true;
}

// Runs the step; the errors that descriptions may cause are expected.
template <class Step>
void Expecting(Step&& step) {
  try {
    step();
  } catch (const Exception&) {  // FormatException and the evaluator's errors
  } catch (const QorPNG::Exception&) {
  } catch (const Wex::xExceptionWithRCString&) {  // a resource that does not exist
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ref<rcDraggedView> view(new rcDraggedView());
  view->fBounds = {0, 0, 64, 64};
  view->fWindow = fixture.window;
  const ref<Wex::rcGUIRoot> host(new Wex::rcGUIRoot(iref<Wex::iNativeView>(view)));
  const ref<Velto::rcRootView> root(new Velto::rcRootView({0, 0, 64, 64}, &fixture.controller));
  Expecting([&] { root->ReadContents(Wex::ParseKeyValueMap(text)); });
  Expecting([&] { host->SetRootElement(root); });
  Expecting([&] { root->WindowStateChanged(); });
  Wex::cKeyModifiers shift;
  shift.fShift = true;
  Wex::cKeyModifiers option;
  option.fOption = true;
  for (const Wex::cPoint p : {Wex::cPoint{10, 12}, Wex::cPoint{40, 30}, Wex::cPoint{63, 1}}) {
    Expecting([&] { root->MouseMoved(p, 0, {}); });
    Expecting([&] { root->MouseDown(p, 0, false, shift); });
    Expecting([&] { view->DragAndRelease({{{p.fX + 5, p.fY - 40}, option}, {{p.fX - 30, p.fY + 3}, shift}}); });
    Expecting([&] { root->ContextClick(p, 0, {}); });
  }
  Expecting([&] { root->MouseExited(0); });
  if (FitsDrawing(*root)) {
    // A bubble lays its page out when it is first drawn: its markup errors leave the drawing.
    for (int i = 0; i < 7; ++i) Expecting([&] { root->Draw(*fixture.bitmap, {0, 0, 64, 64}); });
  }
  host->Close();
  fixture.controller.TakeCalls();
  // The fonts log what they draw; long captions would fill memory over the runs.
  for (const auto& font : fixture.controller.fFonts) dynamic_cast<VeltoTest::rcFixedFont&>(*font.second).fDrawn.clear();
  fixture.registry.Clear();
  return 0;
}
