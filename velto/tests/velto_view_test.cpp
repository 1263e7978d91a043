#include "velto/velto_view.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "base/exceptions.h"
#include "velto/testing/view_stand_ins.h"
#include "velto/tests/root_fixture.h"

namespace VeltoTest {
namespace {

using Log = std::vector<std::string>;

class VeltoViewTest : public RootTest {
 protected:
  VeltoViewTest() {
    fView->fBounds = {0, 0, 100, 60};
    Host(fVelto);
    TransformCalls().clear();
  }

  // A transition from its values to fully shown, or back with `reverse`.
  static Velto::cTransitionSpec Transition(bool reverse) {
    Velto::cTransitionSpec t;
    t.fPhaseStep = reverse ? -0.05 : 0.05;
    t.fOpacity = 0.0;
    t.fScale = 0.5;
    t.fOffset = {10, -20};
    t.fRotation = 1.0;
    t.fOffsetCurve = 0.3;
    t.fScaleCurve = 0.8;
    return t;
  }
  static QorRaster::Transform TransformOf(const Velto::cTransitionSpec& t) {
    return Velto::MakeAnimationTransform({50, 30}, t.fOffset, t.fScale, t.fRotation);
  }
  // Runs the transition's ticks; answers how many ran.
  int RunTicks(int limit) {
    int count = 0;
    while (count < limit && RunNextTask()) ++count;
    return count;
  }
  static std::array<double, 7> Values(const TransformCall& call) {
    const QorRaster::Transform& t = call.fTransform;
    return {call.fOpacity, t.a, t.b, t.c, t.d, t.e, t.f};
  }
  static const TransformCall& Last() { return TransformCalls().back(); }

  ref<Velto::rcTransformContainer> fContent{new Velto::rcTransformContainer({0, 0, 100, 60})};
  ref<Velto::rcVeltoView> fVelto{new Velto::rcVeltoView({0, 0, 100, 60}, &fController, "layout", fContent.Get())};
};

TEST_F(VeltoViewTest, TransitionsEndExactlyOnTheirValuesAndThenRefresh) {
  const Velto::cTransitionSpec open = Transition(false);
  const Velto::cTransitionSpec close = Transition(true);
  AddProbe(*fVelto, "p");
  TakeLog();

  fView->fInvalidated.clear();
  fVelto->StartTransition(&open, false);
  EXPECT_EQ(fView->fInvalidated, (std::vector<Wex::cRect>{{0, 0, 100, 60}}));  // the whole view redraws
  EXPECT_TRUE(fVelto->IsTransitionRunning());
  EXPECT_EQ(Last().fOpacity, 0.0);
  EXPECT_EQ(Last().fTransform, TransformOf(open));
  EXPECT_GE(TimeToNextTask(), 50);
  EXPECT_LE(TimeToNextTask(), 60);
  EXPECT_EQ(RunTicks(100), 20);
  EXPECT_EQ(TransformCalls().size(), 21u);
  EXPECT_EQ(Last().fContainer, fContent.Get());
  EXPECT_EQ(Last().fOpacity, 1.0);
  EXPECT_EQ(Last().fTransform, QorRaster::Transform());
  EXPECT_FALSE(fVelto->IsTransitionRunning());
  EXPECT_EQ(TakeLog(), (Log{"p:WindowStateChanged"}));

  fVelto->StartTransition(&close, false);
  EXPECT_EQ(Last().fTransform, QorRaster::Transform());
  EXPECT_EQ(RunTicks(100), 20);
  EXPECT_EQ(Last().fOpacity, 0.0);
  EXPECT_EQ(Last().fTransform, TransformOf(close));
  EXPECT_EQ(fVelto->GetPhase(), 0.0);
  EXPECT_EQ(TakeLog(), (Log{"p:WindowStateChanged"}));

  // Without a transition the view jumps to fully shown, once.
  fVelto->StartTransition(nullptr, false);
  fVelto->StartTransition(nullptr, false);
  EXPECT_EQ(TransformCalls().size(), 43u);
  EXPECT_EQ(Last().fOpacity, 1.0);
  EXPECT_EQ(Last().fTransform, QorRaster::Transform());
}

TEST_F(VeltoViewTest, AnInterruptedTransitionTurnsBackWithoutAJump) {
  for (const double curve : {0.5, 0.2, 0.0, 1.0, 2.0, -1.0}) {
    SCOPED_TRACE(curve);
    Velto::cTransitionSpec open = Transition(false);
    open.fOpacityCurve = open.fRotationCurve = curve;
    Velto::cTransitionSpec close = open;
    close.fPhaseStep = -0.05;
    close.fScale = 2.0;
    fVelto->StartTransition(nullptr, false);
    fVelto->StartTransition(&open, true);
    RunTicks(9);
    for (const Velto::cTransitionSpec* next : {&close, &open, &close}) {
      const TransformCall before = Last();
      fVelto->StartTransition(next, false);
      const std::array<double, 7> after = Values(Last());
      for (std::size_t i = 0; i < after.size(); ++i) EXPECT_NEAR(after[i], Values(before)[i], 1e-9) << i;
      RunTicks(3);
    }
    RunTicks(100);
    EXPECT_EQ(Last().fOpacity, 0.0);
    EXPECT_EQ(Last().fTransform, TransformOf(close));
    for (const TransformCall& call : TransformCalls()) {
      for (const double v : Values(call)) ASSERT_TRUE(std::isfinite(v));
    }
    TransformCalls().clear();
  }
}

TEST_F(VeltoViewTest, TheRefreshAtTheEndShowsItsErrors) {
  std::vector<std::string> log;
  const ref<rcHintedView> hinted(new rcHintedView({}, log));
  fVelto->AddChild(hinted);
  fVelto->SetHintTemplate(*hinted, "[var]x[/var]");
  fController.ThrowOn("GetVariable", FormatException("bad"));
  fController.fShowErrorResult = true;
  Velto::cTransitionSpec quick = Transition(false);
  quick.fPhaseStep = 1.0;
  quick.fRestart = true;
  fVelto->StartTransition(&quick, false);
  EXPECT_EQ(RunTicks(100), 1);
  EXPECT_EQ(fController.TakeCalls(), (Calls{{fVelto.Get(), "GetVariable", {"x"}}, {fVelto.Get(), "ShowError", {"bad"}}}));
}

}  // namespace
}  // namespace VeltoTest
