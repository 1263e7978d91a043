#pragma once

// The fixture of the view tests: a root view of 200 x 100 over the recording controller (with a
// resource registry over a test bundle), hosted by a GUI root over the recording native view.
// Trees are built from description text; the root draws into a bitmap whose pixels are read
// back; presses, right presses and moves reach the tree as mouse events through the GUI root's
// handler interfaces, as the native view sends them, and drags, releases and cancels reach the
// tracker that the native view tracks with.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/key_value.h"
#include "base/png.h"
#include "gui/bitmap_context.h"
#include "gui/resources/canvas.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/root.h"
#include "gui/tests/pixels.h"
#include "gui/tests/recording_view.h"
#include "raster/solid.h"
#include "velto/root_view.h"
#include "velto/testing/recording_controller.h"
#include "velto/views/view.h"
#include "velto/views/view_construction.h"

namespace VeltoTest {

using Log = std::vector<std::string>;

// Logs "name code" for every change it hears, and runs its reaction at the first hint change.
class rcListener : public Wex::rc, public Velto::iViewListener {
 public:
  rcListener(std::string name, Log& log) : fName(std::move(name)), fLog(&log) {}
  void ViewChanged(ref<Wex::rcGUIElement>, std::int32_t code) override {
    fLog->push_back(fName + " " + std::to_string(code));
    if (code == 4 && fOnHint) std::exchange(fOnHint, {})();
  }

  std::function<void()> fOnHint;

 private:
  std::string fName;
  Log* fLog;
};

// "left,top,right,bottom".
inline std::string RectText(const Wex::cRect& r) {
  return std::to_string(r.fLeft) + "," + std::to_string(r.fTop) + "," + std::to_string(r.fRight) + "," +
         std::to_string(r.fBottom);
}

class ViewTest : public ::testing::Test {
 protected:
  ViewTest() { fHost->SetRootElement(fRoot); }
  ~ViewTest() override { fHost->Close(); }

  // Reads a root description.
  void Build(std::string_view text) { fRoot->ReadContents(Wex::ParseKeyValueMap(text)); }
  // Makes the view of one description item in the parent (the root when none is given).
  ref<Wex::rcGUIElement> Make(std::string_view text, Wex::rcGUIContainer* parent = nullptr, bool hidden = false) {
    return Velto::MakeViewFromDescription(*fRoot, Wex::ParseKeyValueMap(text), parent != nullptr ? *parent : *fRoot,
                                          hidden);
  }
  // The message of what the call throws; empty when it throws nothing.
  template <class F>
  static std::string ErrorOf(F&& call) {
    try {
      call();
    } catch (const std::exception& e) {
      return e.what();
    }
    return {};
  }
  // Empties the root and makes the view of the description item in it, as the class asked for.
  template <class T>
  T& Remake(const std::string& text) {
    fRoot->RemoveAllChildren();
    return dynamic_cast<T&>(*Make(text));
  }
  // The root's child at the index, as the class asked for (null when it is of another class).
  template <class T = Wex::rcGUIElement>
  static T* ChildOf(const Wex::rcGUIContainer& container, std::int64_t index) {
    return dynamic_cast<T*>(container.GetChild(index).Get());
  }

  // A bundle picture of one premultiplied colour.
  void WritePicture(std::string_view name, std::int32_t width, std::int32_t height, std::uint32_t color) {
    const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, color);
    fBundle.WriteResource(name, "png", QorPNG::WritePremultipliedARGB(pixels.data(), width, height, width));
  }

  // Draws the tree for the update rectangle into a new bitmap of the view's size, cleared to the
  // colour first. Of an opaque bitmap only the colour channels count (see Rgb).
  ref<Wex::rcOffscreenContext32> Draw(const Wex::cRect& update, std::uint32_t background, bool opaque = true) {
    const Wex::cRect size = fView->GetBounds();
    const ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(size.fRight, size.fBottom, opaque));
    {
      Velto::cContextCanvas canvas(*bitmap);
      QorRaster::SolidPaint clear(background);
      canvas.Render(clear);
    }
    fView->GetDrawer()->Draw(fView->Self(), *bitmap, update);
    return bitmap;
  }
  static std::uint32_t Rgb(Wex::rcOffscreenContext32& bitmap, int x, int y) {
    return GuiTest::Pixel(bitmap, x, y) & 0xFFFFFF;
  }
  // A root point and its colour (see Rgb).
  struct Sample {
    int x, y;
    std::uint32_t rgb;
  };
  // Draws the whole tree over the background and expects the samples' colours.
  void ExpectSamples(const std::vector<Sample>& samples, std::uint32_t background = 0xFF808080) {
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 100}, background);
    for (const Sample& s : samples) EXPECT_EQ(Rgb(*bitmap, s.x, s.y), s.rgb) << s.x << "," << s.y;
  }
  // A film of eight frames of one pixel, frame i of blue i.
  void WriteFilm(std::string_view name) { fBundle.WriteResource(name, "png", GuiTest::ColorsPNG(1, 8)); }
  // The rectangles invalidated since the last look, as RectText.
  Log TakeInvalidated() {
    Log rects;
    for (const Wex::cRect& r : std::exchange(fView->fInvalidated, {})) rects.push_back(RectText(r));
    return rects;
  }
  // Refreshes the tree; answers the rectangles that the refresh invalidated.
  Log Refresh() {
    fView->fInvalidated.clear();
    fRoot->WindowStateChanged();
    return TakeInvalidated();
  }
  // The time from now to the next task of the host view's scheduler; kNoTask without a task.
  static constexpr std::int32_t kNoTask = INT32_MIN;
  std::int32_t NextDue(std::int32_t now = 0) {
    std::int32_t due = 0;
    return fView->fScheduler->GetTimeToNextTask(now, due) ? due : kNoTask;
  }

  Wex::cMouseEvent Event(const Wex::cPoint& p, const Wex::cKeyModifiers& keys = {}, std::uint32_t buttons = 1) const {
    return {fView->Self(), p, fTime, keys, buttons};
  }
  // A press of the primary button, a press of the secondary one, and a move, at a view point.
  bool Press(const Wex::cPoint& p, const Wex::cKeyModifiers& keys = {}) {
    return fView->GetClickHandler()->MouseClick(fView->Self(), Event(p, keys), 0, false, false);
  }
  bool RightPress(const Wex::cPoint& p) {
    return fView->GetContextMenuDisplayer()->ShowContextMenu(fView->Self(), Event(p));
  }
  void Move(const Wex::cPoint& p) { fView->GetMovementHandler()->MouseMoved(fView->Self(), Event(p)); }
  // While a tracker tracks the mouse: a drag to a view point, the release there (which ends the
  // tracking) and a cancel.
  void Drag(const Wex::cPoint& p, const Wex::cKeyModifiers& keys = {}) {
    if (const iref<Wex::iMouseTracker> tracker = fView->fTracker) {
      tracker->TrackMouse(fView->TrackingHost(), Event(p, keys));
    }
  }
  void Release(const Wex::cPoint& p, const Wex::cKeyModifiers& keys = {}) {
    if (const iref<Wex::iMouseTracker> tracker = std::exchange(fView->fTracker, nullptr)) {
      tracker->EndTracking(fView->TrackingHost(), Event(p, keys, 0));
    }
  }
  // "s" shift, "o" option, "c" command, "x" the flag at index 2, "r" a secondary click.
  static Wex::cKeyModifiers Keys(std::string_view keys) {
    Wex::cKeyModifiers m;
    m.fShift = keys.find('s') != std::string_view::npos;
    m.fOption = keys.find('o') != std::string_view::npos;
    m.fCommand = keys.find('c') != std::string_view::npos;
    m.fUnused2 = keys.find('x') != std::string_view::npos;
    m.fSecondaryClick = keys.find('r') != std::string_view::npos;
    return m;
  }
  // Runs steps "x,y[keys]=value" separated by spaces: a press (not to be handled when the step
  // ends in "!"), then drags; after each the control's value is to be the step's. Then releases
  // at the last point.
  template <class Control>
  void RunValueSteps(Control& control, std::string_view steps) {
    Wex::cPoint p;
    for (std::size_t at = 0, end = 0; at < steps.size(); at = end + 1) {
      end = std::min(steps.find(' ', at), steps.size());
      const std::string step(steps.substr(at, end - at));
      std::size_t xEnd = 0;
      std::size_t yEnd = 0;
      p.fX = std::stoi(step, &xEnd);
      p.fY = std::stoi(step.substr(xEnd + 1), &yEnd);
      const std::size_t equals = step.find('=');
      const std::size_t keys = xEnd + 1 + yEnd;
      if (at == 0) {
        EXPECT_EQ(Press(p, Keys(step.substr(keys, equals - keys))), step.back() != '!') << step;
      } else {
        Drag(p, Keys(step.substr(keys, equals - keys)));
      }
      EXPECT_NEAR(control.GetValue(), std::stod(step.substr(equals + 1)), 1e-12) << step;
    }
    Release(p);
    EXPECT_FALSE(control.IsTracking());
  }
  void CancelTracking() {
    const iref<Wex::iMouseTracker> tracker = fView->fTracker;  // the view clears its own
    fView->CancelTracking(tracker);
  }

  // A listener of the view that logs its changes into the log of the probes.
  ref<rcListener> Listen(Velto::rcView& view, const std::string& name) {
    const ref<rcListener> listener(new rcListener(name, fLog));
    view.AddListener(iref<Velto::iViewListener>(listener));
    return listener;
  }

  Calls TakeCalls() { return fController.TakeCalls(); }
  // How many of the controller's calls since the last look were of the operation.
  int CountCalls(std::string_view operation) {
    const Calls calls = TakeCalls();
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.fOperation == operation; }));
  }
  Log TakeLog() { return std::exchange(fLog, {}); }
  Call At(const std::string& operation, std::vector<std::string> arguments = {}) const {
    return {fRoot.Get(), operation, std::move(arguments)};
  }

  ResourcesTest::TemporaryBundle fBundle;
  Velto::rcResourceRegistry fRegistry{false, L"T"};
  RecordingController fController{&fRegistry};
  ref<GuiTest::rcTrackingView> fView{new GuiTest::rcTrackingView()};
  ref<Wex::rcGUIRoot> fHost{new Wex::rcGUIRoot(iref<Wex::iNativeView>(fView))};
  ref<Velto::rcRootView> fRoot{new Velto::rcRootView({0, 0, 200, 100}, &fController)};
  // What the probes of the tests log.
  Log fLog;
  std::int64_t fTime = 1000;
};

}  // namespace VeltoTest
