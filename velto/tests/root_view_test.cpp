#include "velto/root_view.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string_view>

#include "base/exceptions.h"
#include "velto/testing/view_stand_ins.h"
#include "velto/tests/root_fixture.h"

namespace VeltoTest {
namespace {

using Log = std::vector<std::string>;

TEST_F(RootTest, DragsOnBoundControlsWriteTheirVariable) {
  fController.fVariables = {{"gain", "0.1"}, {"mix", "0.5"}};
  fController.fReadOnly = {"mix"};
  const ref<rcTestControl> gain = AddControl("gain");
  const ref<rcTestControl> mix = AddControl("mix");
  const ref<rcTestControl> unbound = AddControl("");
  const ref<rcTestControl> untagged = AddControl("mix");
  untagged->SetListenerTag(0);
  Host(fRoot);

  fRoot->WindowStateChanged();
  EXPECT_EQ(mix->GetValue(), 0.5);
  EXPECT_TRUE(gain->fEnabled);
  EXPECT_FALSE(mix->fEnabled);
  EXPECT_EQ(TakeCalls().size(), 6u);  // TestVariable and GetVariable of each bound control
  gain->SetValue(0.3);                // not a drag: nothing is written
  fRoot->RefreshView(gain);           // 0.1 again, read in double precision
  TakeCalls();

  gain->StartTracking({1, 1}, 0, {});
  gain->SetValue(gain->GetValue() + 0.5);
  gain->SetValue(0.8);
  EXPECT_EQ(TakeCalls(), (Calls{At("SetVariableTracking", {"gain", "true"}), At("SetVariable", {"gain", "0.6", "true"}),
                                At("SetVariable", {"gain", "0.8", "true"})}));
  fRoot->WindowStateChanged();  // the tracked control keeps its value
  EXPECT_EQ(gain->GetValue(), 0.8);
  TakeCalls();
  fController.fVariables["gain"] = "0.25";  // the application corrects the value
  gain->EndTracking();
  EXPECT_EQ(gain->GetValue(), 0.25);
  EXPECT_EQ(TakeCalls(), (Calls{At("SetVariableTracking", {"gain", "false"}), At("TestVariable", {"gain"}),
                                At("GetVariable", {"gain"})}));

  // An untagged control is ignored; a tagged one without a binding gets an empty variable name.
  untagged->StartTracking({1, 1}, 0, {});
  untagged->SetValue(0.9);
  untagged->EndTracking();
  EXPECT_TRUE(TakeCalls().empty());
  unbound->StartTracking({1, 1}, 0, {});
  EXPECT_EQ(TakeCalls(), (Calls{At("SetVariableTracking", {"", "true"})}));
}

TEST_F(RootTest, HintsWithVariablesFollowEveryRefresh) {
  fController.fVariables = {{"x", "1"}};
  const ref<Velto::rcHintWindow> window = NewHintWindow();
  fRoot->SetHintWindow(window);
  const ref<rcHintedView> live(new rcHintedView({}, fLog));
  const ref<rcHintedView> fixed(new rcHintedView({}, fLog));
  const ref<rcHintedView> none(new rcHintedView({}, fLog));
  for (const auto& view : {live, fixed, none}) fRoot->AddChild(view);
  Velto::ReadHint(*fRoot, live, {{"hint", "\"x=[var]x[/var]\""}});
  Velto::ReadHint(*fRoot, fixed, {{"hint", "'[uppercase]x[/uppercase]=[xlate]a[/xlate]'"}});
  Velto::ReadHint(*fRoot, none, {{"tip", "x"}});
  EXPECT_EQ(live->GetHintWindow(), window);
  EXPECT_EQ(none->GetHintWindow(), nullptr);
  EXPECT_EQ(TakeCalls(), (Calls{At("GetText", {"a"})}));

  fRoot->WindowStateChanged();
  fController.fVariables["x"] = "2";
  fRoot->WindowStateChanged();
  fRoot->RefreshView(live);
  EXPECT_EQ(TakeLog(), (Log{"refresh x=1", "refresh X=a", "refresh ", "refresh x=2", "refresh X=a", "refresh ",
                            "refresh x=2"}));
  EXPECT_EQ(TakeCalls(), (Calls{At("GetVariable", {"x"}), At("GetVariable", {"x"}), At("GetVariable", {"x"})}));
}

TEST_F(RootTest, RefreshTimersRunWhileHosted) {
  const struct {
    const char* rate;
    std::int32_t interval;  // -1: no timer
  } cases[] = {
      {"30", 33},   {"20", 50},     {"", 33},         {"$ * 2", 17},    {"5000", 1},
      {"0", -1},    {"-5", -1},     {"1 / 0", -1},    {"0 / 0", -1},    {"1e-300", 1 << 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    const ref<Velto::rcRootView> root(new Velto::rcRootView({0, 0, 10, 10}, &fController));
    const ref<GuiTest::rcProbe> probe = AddProbe(*root, "p");
    root->ReadAutoRefresh(probe, {{"autoRefresh", c.rate}});
    fNow = Wex::ToElementTime(Wex::GetMilliseconds());
    Host(root);
    const std::int32_t delta = TimeToNextTask();
    if (c.interval < 0) {
      EXPECT_EQ(delta, kNoTask);
    } else {
      EXPECT_GE(delta, c.interval);
      EXPECT_LE(delta, c.interval + 1000);  // the attach took its own time
    }
    Host(nullptr);
    EXPECT_EQ(TimeToNextTask(), kNoTask);
  }
  TakeLog();

  // Re-armed from the time it ran; a refresh that fails goes on; detaching stops it.
  fController.ThrowOn("GetVariable", std::runtime_error("no"));
  const ref<rcTestControl> control = AddControl("gain");
  fRoot->ReadAutoRefresh(control, {{"autoRefresh", "30"}});
  fRoot->ReadAutoRefresh(control, {{"autoRefresh", "1000"}});  // the first timer stays
  const ref<GuiTest::rcProbe> probe = AddProbe(*fRoot, "p");
  Host(fRoot);
  fRoot->ReadAutoRefresh(probe, {{"autoRefresh", "20"}});  // starts with the next attach
  fNow = Wex::WrapAdd(fNow, TimeToNextTask() + 5);  // 5 ms late
  fView->fScheduler->RunDueTasks(fNow);
  EXPECT_EQ(TakeCalls(), (Calls{At("TestVariable", {"gain"}), At("GetVariable", {"gain"})}));
  EXPECT_EQ(TimeToNextTask(), 33);
  Host(nullptr);
  EXPECT_EQ(TimeToNextTask(), kNoTask);
  Host(fRoot);
  for (int i = 0; i < 2; ++i) RunNextTask();
  EXPECT_EQ(TakeLog(), (Log{"p:Attached", "p:Detached", "p:Attached", "p:WindowStateChanged"}));
}

// Removes itself from the root when refreshed, as a group rebuilding its children removes them.
class rcSelfRemover : public GuiTest::rcProbe {
 public:
  using rcProbe::rcProbe;
  void WindowStateChanged() override {
    rcProbe::WindowStateChanged();
    if (auto* root = dynamic_cast<Velto::rcRootView*>(GetParent())) root->RemoveChild(ref<Wex::rcGUIElement>(this));
  }
};

TEST_F(RootTest, ForgottenViewsAndEverythingBelowThemLoseTheirRecords) {
  const ref<Wex::rcGUIContainer> group(new Wex::rcGUIContainer({0, 0, 50, 50}));
  fRoot->AddChild(group);
  const ref<rcTestControl> inner(new rcTestControl({0, 0, 10, 10}, *fRoot));
  group->AddChild(inner);
  fRoot->AddValueBinding(inner, "inner");
  const ref<rcHintedView> hinted(new rcHintedView({}, fLog));
  group->AddChild(hinted);
  Velto::ReadHint(*fRoot, hinted, {{"hint", "[var]x[/var]"}});
  fRoot->ReadAutoRefresh(hinted, {{"autoRefresh", "30"}});
  const ref<rcSelfRemover> remover(new rcSelfRemover({}, "r", fLog));
  fRoot->AddChild(remover);
  fRoot->ReadAutoRefresh(remover, {{"autoRefresh", "100"}});
  Host(fRoot);
  TakeLog();

  ASSERT_TRUE(RunNextTask());  // the remover's refresh removes it: its timer does not come again
  EXPECT_EQ(TakeLog(), (Log{"r:WindowStateChanged", "r:Detached"}));
  EXPECT_EQ(fRoot->GetChildCount(), 1);
  fRoot->RemoveChild(group);
  EXPECT_EQ(TimeToNextTask(), kNoTask);
  TakeCalls();
  fRoot->WindowStateChanged();
  fRoot->AddChild(group);
  fRoot->WindowStateChanged();
  EXPECT_TRUE(TakeCalls().empty());

  // Removing every child, and detaching, forget everything too.
  for (const auto& remove : {+[](Velto::rcRootView& root) { root.RemoveAllChildren(); },
                             +[](Velto::rcRootView& root) { root.Detach(); }}) {
    const ref<rcTestControl> control = AddControl("gain");
    fRoot->ReadAutoRefresh(control, {{"autoRefresh", "30"}});
    Host(nullptr);
    Host(fRoot);
    remove(*fRoot);
    EXPECT_EQ(TimeToNextTask(), kNoTask);
    fRoot->AddChild(control);
    fRoot->WindowStateChanged();
    EXPECT_TRUE(TakeCalls().empty());
  }
}

struct ErrorCase {
  std::function<void(RecordingController&, std::string_view)> fThrow;
  const char* fShown;  // nullptr: nothing is shown
};

template <class E>
ErrorCase Throwing(E error, const char* shown) {
  return {[error](RecordingController& controller, std::string_view operation) { controller.ThrowOn(operation, error); },
          shown};
}

TEST_F(RootTest, TimerErrorsAreShown) {
  const ErrorCase cases[] = {
      Throwing(FormatException("Missing view type"), "Missing view type"),
      Throwing(Wex::xMacOSError(-43), "File not found (OS status -43)"),
      Throwing(Wex::xExceptionWithRCString("text"), "text"),
      Throwing(std::out_of_range("range"), "range"),
      Throwing(UserCancelledException(), nullptr),
      Throwing(42, nullptr),
      Throwing(Exception(""), nullptr),
  };
  fController.fShowErrorResult = true;
  for (const std::uint32_t timer : {Velto::kReloadTimer, Velto::kRefreshTimer}) {
    const char* operation = timer == Velto::kReloadTimer ? "ReloadResources" : "ReloadFromPlugIn";
    for (const ErrorCase& c : cases) {
      c.fThrow(fController, operation);
      fRoot->OnTimer(*fView->fScheduler, 0, 0, timer);
      Calls expected{At(operation)};
      if (c.fShown != nullptr) expected.push_back(At("ShowError", {c.fShown}));
      EXPECT_EQ(TakeCalls(), expected);
    }
  }
  // An error of the error display itself does not leave the timer either; other ids do nothing.
  fController.ThrowOn("ReloadResources", FormatException("x"));
  fController.ThrowOn("ShowError", std::runtime_error("display"));
  EXPECT_NO_THROW(fRoot->OnTimer(*fView->fScheduler, 0, 0, Velto::kReloadTimer));
  fRoot->OnTimer(*fView->fScheduler, 0, 0, Velto::kTransitionTimer);
  EXPECT_EQ(TakeCalls(), (Calls{At("ReloadResources"), At("ShowError", {"x"})}));
}

TEST_F(RootTest, RootHintGoesWhenTheMouseLeavesItsArea) {
  const ref<Velto::rcHintWindow> window = NewHintWindow();
  Host(fRoot);
  fRoot->MouseMoved({5, 5}, 0, {});  // no hint window: nothing to hide
  fRoot->SetHintWindow(window);
  fRoot->SetHintArea({10, 10, 50, 50});
  HiddenHints().clear();
  fRoot->MouseMoved({20, 30}, 0, {});
  EXPECT_TRUE(HiddenHints().empty());
  EXPECT_EQ(fRoot->GetLastMousePoint(), (Wex::cPoint{20, 30}));
  fRoot->MouseMoved({60, 30}, 0, {});
  EXPECT_EQ(fRoot->GetHintArea(), Wex::cRect());
  fRoot->SetHintArea({10, 10, 50, 50});
  fRoot->MouseExited(0);
  EXPECT_EQ(fRoot->GetHintArea(), Wex::cRect());
  EXPECT_EQ(HiddenHints(), (std::vector<const Wex::rcGUIElement*>{fRoot.Get(), fRoot.Get()}));
  fRoot->Detach();
  EXPECT_EQ(fRoot->GetHintWindow(), nullptr);
}

}  // namespace
}  // namespace VeltoTest
