#include "velto/velto_view.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "velto/auto_exec.h"
#include "velto/tests/root_fixture.h"

namespace VeltoTest {
namespace {

// A transform container that notes each opacity that it shows, once per change.
class rcRecordingContainer : public Velto::rcTransformContainer {
 public:
  using rcTransformContainer::rcTransformContainer;
  void InvalidateRect(const Wex::cRect& r) override {
    if (GetOpacity() != fLast) fOpacities.push_back(fLast = GetOpacity());
    rcTransformContainer::InvalidateRect(r);
  }

  std::vector<double> fOpacities;

 private:
  double fLast = 1.0;
};

class VeltoViewTest : public RootTest {
 protected:
  VeltoViewTest() {
    fView->fBounds = {0, 0, 100, 60};
    Host(fVelto);
  }

  // From its values to fully shown, or back with a negative step.
  static Velto::cTransitionSpec Transition(double step) {
    return {.fPhaseStep = step, .fOpacity = 0.0, .fScale = 0.5, .fOffset = {10, -20}, .fRotation = 1.0,
            .fOffsetCurve = 0.3, .fScaleCurve = 0.8};
  }
  // The content's opacity and transform.
  std::array<double, 7> Last() const {
    const QorRaster::Transform& t = fContent->GetTransform();
    return {fContent->GetOpacity(), t.a, t.b, t.c, t.d, t.e, t.f};
  }
  static std::array<double, 7> Shown(const Velto::cTransitionSpec* t) {
    if (t == nullptr) return {1, 1, 0, 0, 0, 1, 0};
    const QorRaster::Transform m = Velto::MakeAnimationTransform({50, 30}, t->fOffset, t->fScale, t->fRotation);
    return {t->fOpacity, m.a, m.b, m.c, m.d, m.e, m.f};
  }
  // Runs up to `limit` ticks, each of which leaves the content with finite values.
  int RunTicks(int limit) {
    int count = 0;
    while (count < limit && RunNextTask()) {
      ++count;
      for (const double v : Last()) EXPECT_TRUE(std::isfinite(v));
    }
    return count;
  }

  ref<rcRecordingContainer> fContent{new rcRecordingContainer({0, 0, 100, 60})};
  ref<Velto::rcVeltoView> fVelto{new Velto::rcVeltoView({0, 0, 100, 60}, &fController, "layout", fContent.Get())};
};

TEST_F(VeltoViewTest, TransitionsEndExactlyOnTheirValuesAndThenRefresh) {
  const Velto::cTransitionSpec open = Transition(0.05);
  const Velto::cTransitionSpec close = Transition(-0.05);
  std::vector<std::string> log;
  const ref<rcHintedView> hinted(new rcHintedView(log));
  fVelto->AddChild(hinted);
  fView->fInvalidated.clear();
  fVelto->StartTransition(&open, false);
  EXPECT_EQ(fView->fInvalidated, (std::vector<Wex::cRect>{{0, 0, 100, 60}}));  // the whole view redraws
  EXPECT_EQ(Last(), Shown(&open));
  EXPECT_GE(TimeToNextTask(), 50);
  EXPECT_EQ(RunTicks(100), 20);
  EXPECT_EQ(Last(), Shown(nullptr));
  EXPECT_EQ(log, (std::vector<std::string>{"refresh "}));

  fVelto->StartTransition(&close, false);
  EXPECT_EQ(Last(), Shown(nullptr));
  EXPECT_TRUE(fVelto->IsTransitionRunning());
  EXPECT_EQ(RunTicks(100), 20);
  EXPECT_FALSE(fVelto->IsTransitionRunning());
  EXPECT_EQ(Last(), Shown(&close));
  EXPECT_EQ(log.size(), 2u);

  // Without a transition the view jumps to fully shown, once.
  fView->fInvalidated.clear();
  fVelto->StartTransition(nullptr, false);
  EXPECT_EQ(fView->fInvalidated.size(), 1u);
  fVelto->StartTransition(nullptr, false);
  EXPECT_EQ(fView->fInvalidated.size(), 1u);
  EXPECT_EQ(Last(), Shown(nullptr));

  // An error of the refresh at the end is shown.
  fVelto->SetHintTemplate(*hinted, "[xlate]a[/xlate]");
  TakeCalls();
  fController.ThrowOn("GetText", FormatException("bad"));
  fController.fShowErrorResult = true;
  const Velto::cTransitionSpec quick = Transition(1.0);
  fVelto->StartTransition(&quick, true);
  EXPECT_EQ(RunTicks(100), 1);
  EXPECT_EQ(TakeCalls(), (Calls{{fVelto.Get(), "GetVariable", {"layout"}}, {fVelto.Get(), "GetText", {"a"}},
                                {fVelto.Get(), "ShowError", {"bad"}}}));
}

TEST_F(VeltoViewTest, AnInterruptedTransitionTurnsBackWithoutAJump) {
  for (const double curve : {0.5, 0.2, 0.0, 1.0, 2.0, -1.0}) {
    SCOPED_TRACE(curve);
    Velto::cTransitionSpec open = Transition(0.05);
    open.fOpacityCurve = open.fRotationCurve = curve;
    Velto::cTransitionSpec close = open;
    close.fPhaseStep = -0.05;
    close.fScale = 2.0;
    fVelto->StartTransition(nullptr, false);
    fVelto->StartTransition(&open, true);
    RunTicks(9);
    for (const Velto::cTransitionSpec* next : {&close, &open, &close}) {
      const std::array<double, 7> before = Last();
      fVelto->StartTransition(next, false);
      for (std::size_t i = 0; i < before.size(); ++i) EXPECT_NEAR(Last()[i], before[i], 1e-9) << i;
      RunTicks(3);
    }
    RunTicks(100);
    EXPECT_EQ(Last(), Shown(&close));
  }
}

TEST_F(VeltoViewTest, LayoutChangesLoadBetweenTheirTransitions) {
  // Each transition takes one tick and shows its own opacity at one end.
  for (const char* name : {"one", "two"}) {
    fBundle.WriteResource(name, "velto",
                          "{transitions: {open: {time: 0.05, opacity: 10}, close: {time: 0.05, opacity: 20},"
                          " swapOut: {time: 0.05, opacity: 30}, swapIn: {time: 0.05, opacity: 40}},"
                          " autoexecs: {{action: x, delay: 1e6}}}");
  }
  // Refreshes with the layout, or runs the transition ticks without a layout: the transitions
  // shown and the descriptions loaded meanwhile.
  const auto step = [this](const char* layout) {
    if (layout != nullptr) {
      fController.fVariables["layout"] = layout;
      fVelto->WindowStateChanged();
    }
    while (layout == nullptr && TimeToNextTask() != kNoTask && TimeToNextTask() < 10000) RunNextTask();
    std::string events;
    for (const double opacity : std::exchange(fContent->fOpacities, {})) {
      const long index = std::lround(opacity * 10.0);
      if (index > 0 && index < 5) events += std::array{"", " open", " close", " swapOut", " swapIn"}[index];
    }
    for (const Call& call : TakeCalls()) {
      if (call.fOperation == "LoadGUIDescription") events += " load " + call.fArguments[0];
    }
    return events;
  };
  // Each step: the layout (none for the ticks), the events, and whether a description is loaded.
  const std::tuple<const char*, const char*, bool> steps[] = {
      {"one", " open load one", true}, {nullptr, "", true},  {"one", "", true}, {"two", "", true},
      {nullptr, " swapOut swapIn load two", true}, {"", "", true}, {nullptr, " close", false}, {"", "", false},
      {"two", " open load two", true}, {nullptr, "", true},
      // Back to the shown layout during swap-out: swap-in without a load.
      {"one", "", true}, {"two", " swapIn", true}, {nullptr, "", true},
  };
  for (const auto& [layout, events, loaded] : steps) {
    EXPECT_EQ(step(layout), events) << (layout != nullptr ? layout : "ticks");
    EXPECT_EQ(fVelto->GetAutoExecs().empty(), !loaded);
  }
  // Without a content container a new layout loads at once.
  const ref<Velto::rcVeltoView> plain(new Velto::rcVeltoView({0, 0, 10, 10}, &fController, "layout", nullptr));
  fVelto->AddChild(plain);
  plain->WindowStateChanged();
  plain->WindowStateChanged();
  EXPECT_EQ(step(nullptr), " load two");
}

}  // namespace
}  // namespace VeltoTest
