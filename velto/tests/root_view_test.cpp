#include "velto/root_view.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string_view>

#include "base/exceptions.h"
#include "gui/alert.h"
#include "gui/menu.h"
#include "velto/popup_menu.h"
#include "velto/tests/root_fixture.h"

namespace VeltoTest {
namespace {

using Log = std::vector<std::string>;

TEST_F(RootTest, DragsOnBoundControlsWriteTheirVariable) {
  fController.fVariables = {{"gain", "0.3"}, {"mix", "0.5"}};
  fController.fReadOnly = {"mix"};
  const ref<rcTestControl> gain = AddControl("gain"), mix = AddControl("mix"), unbound = AddControl(""),
                           untagged = AddControl("mix");
  untagged->SetListenerTag(0);
  Host(fRoot);
  fRoot->WindowStateChanged();
  EXPECT_EQ(mix->GetValue(), 0.5);
  EXPECT_TRUE(gain->IsEnabled());
  EXPECT_FALSE(mix->IsEnabled());
  gain->SetValue(0.2);  // not a drag: nothing is written
  fController.fVariables["gain"] = "0.1";
  fRoot->RefreshView(gain);  // read in double precision: the drag below writes no float noise
  EXPECT_EQ(TakeCalls().size(), 8u);

  gain->StartTracking({1, 1}, 0, {});
  gain->SetValue(gain->GetValue() + 0.5);
  gain->SetValue(0.8);
  fRoot->WindowStateChanged();  // the tracked control keeps its value
  EXPECT_EQ(gain->GetValue(), 0.8);
  fController.fVariables["gain"] = "0.25";  // the application corrects the value
  gain->EndTracking();
  EXPECT_EQ(gain->GetValue(), 0.25);
  const Calls calls = TakeCalls();
  ASSERT_EQ(calls.size(), 12u);
  EXPECT_EQ(Calls(calls.begin(), calls.begin() + 3),
            (Calls{At("SetVariableTracking", {"gain", "true"}), At("SetVariable", {"gain", "0.6", "true"}),
                   At("SetVariable", {"gain", "0.8", "true"})}));
  EXPECT_EQ(Calls(calls.end() - 3, calls.end()), (Calls{At("SetVariableTracking", {"gain", "false"}),
                                                        At("TestVariable", {"gain"}), At("GetVariable", {"gain"})}));

  // An untagged control is ignored; a tagged one without a binding gets an empty variable name.
  untagged->StartTracking({1, 1}, 0, {});
  untagged->SetValue(0.9);
  untagged->EndTracking();
  unbound->StartTracking({1, 1}, 0, {});
  unbound->EndTracking();  // and it stays unbound
  fRoot->RefreshView(unbound);
  EXPECT_EQ(TakeCalls(), (Calls{At("SetVariableTracking", {"", "true"}), At("SetVariableTracking", {"", "false"}),
                                At("TestVariable", {""}), At("GetVariable", {""})}));
}

TEST_F(RootTest, HintsWithVariablesFollowEveryRefresh) {
  fController.fVariables = {{"x", "1"}};
  const ref<rcHintedView> live(new rcHintedView(fLog)), fixed(new rcHintedView(fLog)), none(new rcHintedView(fLog));
  for (const auto& view : {live, fixed, none}) fRoot->AddChild(view);
  Velto::ReadHint(*fRoot, live, {{"hint", "\"x=[var]x[/var]\""}});
  Velto::ReadHint(*fRoot, fixed, {{"hint", "'[uppercase]x[/uppercase]=[xlate]a[/xlate]'"}});
  Velto::ReadHint(*fRoot, none, {{"tip", "x"}});
  fRoot->WindowStateChanged();
  fController.fVariables["x"] = "2";
  fRoot->WindowStateChanged();
  fRoot->RefreshView(live);
  EXPECT_EQ(TakeLog(), (Log{"refresh x=1", "refresh X=a", "refresh ", "refresh x=2", "refresh X=a", "refresh ",
                            "refresh x=2"}));
  EXPECT_EQ(TakeCalls(), (Calls{At("GetText", {"a"}), At("GetVariable", {"x"}), At("GetVariable", {"x"}),
                                At("GetVariable", {"x"})}));
}

TEST_F(RootTest, RefreshTimersRunWhileHosted) {
  const std::pair<const char*, std::int32_t> rates[] = {
      {"30", 33}, {"", 33},       {"$ * 2", 17},     {"5000", 1},      {"1e-300", 1 << 30},
      {"0", -1},  {"-5", -1},     {"1 / 0", -1},     {"0 / 0", -1},
  };
  for (const auto& [rate, interval] : rates) {
    const ref<Velto::rcRootView> root(new Velto::rcRootView({0, 0, 10, 10}, &fController));
    root->ReadAutoRefresh(AddProbe(*root, "q"), {{"autoRefresh", rate}});
    fNow = Wex::ToElementTime(Wex::GetMilliseconds());
    Host(root);
    const std::int32_t delta = TimeToNextTask();
    EXPECT_TRUE(interval < 0 ? delta == kNoTask : delta >= interval && delta < interval + 1000) << rate << delta;
    Host(nullptr);
    EXPECT_EQ(TimeToNextTask(), kNoTask);
  }
  TakeLog();

  // Re-armed from the time it ran; a refresh that fails goes on; a timer added while hosted
  // starts with the next attach.
  fController.ThrowOn("GetVariable", std::runtime_error("no"));
  const ref<rcTestControl> control = AddControl("gain");
  fRoot->ReadAutoRefresh(control, {{"autoRefresh", "30"}});
  fRoot->ReadAutoRefresh(control, {{"autoRefresh", "1000"}});  // the first timer stays
  const ref<GuiTest::rcProbe> probe = AddProbe(*fRoot, "p");
  Host(fRoot);
  fRoot->ReadAutoRefresh(probe, {{"autoRefresh", "20"}});
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

// Removes itself from the root when refreshed, as a group that rebuilds its children does.
class rcSelfRemover : public GuiTest::rcProbe {
 public:
  using rcProbe::rcProbe;
  void WindowStateChanged() override {
    rcProbe::WindowStateChanged();
    static_cast<Velto::rcRootView*>(GetParent())->RemoveChild(ref<Wex::rcGUIElement>(this));
  }
};

TEST_F(RootTest, ForgottenViewsAndEverythingBelowThemLoseTheirRecords) {
  const ref<Wex::rcGUIContainer> group(new Wex::rcGUIContainer({0, 0, 50, 50}));
  fRoot->AddChild(group);
  const ref<rcTestControl> inner(new rcTestControl());
  const ref<rcHintedView> hinted(new rcHintedView(fLog));
  group->AddChild(inner);
  group->AddChild(hinted);
  fRoot->AddValueBinding(inner, "inner");
  Velto::ReadHint(*fRoot, hinted, {{"hint", "[var]x[/var]"}});
  fRoot->ReadAutoRefresh(hinted, {{"autoRefresh", "30"}});
  const ref<rcSelfRemover> remover(new rcSelfRemover({}, "r", fLog));
  fRoot->AddChild(remover);
  fRoot->ReadAutoRefresh(remover, {{"autoRefresh", "100"}});
  Host(fRoot);
  TakeLog();
  ASSERT_TRUE(RunNextTask());  // the remover's refresh removes it: its timer does not come again
  EXPECT_EQ(TakeLog(), (Log{"r:WindowStateChanged", "r:Detached"}));
  fRoot->RemoveChild(group);
  EXPECT_EQ(TimeToNextTask(), kNoTask);
  fRoot->AddChild(group);
  TakeCalls();
  fRoot->WindowStateChanged();
  EXPECT_TRUE(TakeCalls().empty());

  // Removing every child, and detaching, forget everything too.
  for (void (*remove)(Velto::rcRootView&) : {+[](Velto::rcRootView& root) { root.RemoveAllChildren(); },
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

TEST_F(RootTest, TimerErrorsAreShown) {
  using Throw = std::function<void(RecordingController&, std::string_view)>;
  const auto throwing = [](auto error) -> Throw {
    return [error](RecordingController& c, std::string_view operation) { c.ThrowOn(operation, error); };
  };
  const std::pair<Throw, const char*> cases[] = {
      {throwing(FormatException("Missing view type")), "Missing view type"},
      {throwing(Wex::xMacOSError(-43)), "File not found (OS status -43)"},
      {throwing(Wex::xExceptionWithRCString("text")), "text"}, {throwing(std::out_of_range("range")), "range"},
      {throwing(UserCancelledException()), nullptr}, {throwing(42), nullptr}, {throwing(Exception("")), nullptr},
  };
  fController.fShowErrorResult = true;
  for (const std::uint32_t timer : {Velto::kReloadTimer, Velto::kRefreshTimer}) {
    const char* operation = timer == Velto::kReloadTimer ? "ReloadResources" : "ReloadFromPlugIn";
    for (const auto& [arm, shown] : cases) {
      arm(fController, operation);
      fRoot->OnTimer(*fView->fScheduler, 0, 0, timer);
      Calls expected{At(operation)};
      if (shown != nullptr) expected.push_back(At("ShowError", {shown}));
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

TEST_F(RootTest, ErrorAlertsAndPopUpMenusShowOverTheRootsWindow) {
  fView->fWindow = ref<Wex::rcExtWindow>(new GuiTest::rcFakeWindow({100, 200, 400, 300}));
  Host(fRoot);
  Log shown;
  const Wex::AlertRunner previousAlert = Wex::SetAlertRunner(
      [&](std::int32_t style, std::int32_t buttons, std::int32_t defaultId, const refString& title,
          const refString& message, const ref<Wex::rcExtWindow>& window) {
        shown.push_back(std::to_string(style) + std::to_string(buttons) + std::to_string(defaultId) + " " +
                        std::string(title->GetText()) + ": " + std::string(message->GetText()) +
                        (window == fView->fWindow ? "" : " elsewhere"));
        return 0;
      });
  // A long message shows cut to 300 bytes, the last three "...".
  const std::string longMessage = "Long: " + std::string(1000, 'x');
  fController.fShowErrorResult = true;
  fRoot->ShowError("shown by the application");
  fController.fShowErrorResult = false;
  fRoot->ShowError("Bad");
  fRoot->ShowError("");
  fRoot->ShowError(longMessage);
  fController.ThrowOn("ReloadResources", UserCancelledException());
  fRoot->OnTimer(*fView->fScheduler, 0, 0, Velto::kReloadTimer);
  Wex::SetAlertRunner(previousAlert);
  EXPECT_EQ(shown, (Log{"400 Error: Bad", "400 Error: Unexpected error!",
                        "400 Error: " + longMessage.substr(0, 297) + "..."}));

  std::vector<Wex::cPoint> points;
  const Wex::MenuPopUp previousMenu =
      Wex::SetMenuPopUp([&](Wex::rcMenu&, const ref<Wex::rcExtWindow>& window, Wex::cPoint p) {
        points.push_back(p);
        return window == fView->fWindow ? 2 : -1;
      });
  const ref<GuiTest::rcProbe> probe = AddProbe(*fRoot, "p");
  probe->MoveTo({10, 20});
  Velto::gActionOrigin = {500, 600};
  const ref<Wex::rcMenu> menu(new Wex::rcMenu());
  EXPECT_EQ(Velto::ShowPopupMenu(*probe, menu, false, {3, 4}), 2);
  EXPECT_EQ(Velto::ShowPopupMenu(*probe, menu, true, {3, 4}), 2);
  Wex::SetMenuPopUp(previousMenu);
  EXPECT_EQ(points, (std::vector<Wex::cPoint>{{113, 224}, {503, 604}}));
}

}  // namespace
}  // namespace VeltoTest
