#pragma once

// A root view over the recording controller, hosted by a GUI root over the recording native view
// whose scheduler the tests run at chosen times, with views that log what the root asks of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "base/clock.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/root.h"
#include "gui/tests/recording_view.h"
#include "velto/root_view.h"
#include "velto/testing/recording_controller.h"
#include "velto/testing/test_control.h"
#include "velto/views/hint_window.h"
#include "velto/views/value_view.h"
#include "velto/views/view.h"

namespace VeltoTest {

// The message of what the call throws; empty when it throws nothing.
template <class F>
std::string ErrorOf(F&& call) {
  try {
    call();
  } catch (const std::exception& e) {
    return e.what();
  }
  return {};
}
// The actions performed among the calls, as "action params".
inline std::vector<std::string> Performed(const Calls& calls) {
  std::vector<std::string> actions;
  for (const Call& call : calls) {
    if (call.fOperation == "PerformAction") actions.push_back(call.fArguments[0] + " " + call.fArguments[1]);
  }
  return actions;
}

// A view that shows hints and logs its refreshes with its hint.
class rcHintedView : public Velto::rcView {
 public:
  rcHintedView(std::vector<std::string>& log) : rcView({}), fLog(&log) {}
  void Draw(Wex::rcGraphicsContext&, const Wex::cRect&) override {}
  void WindowStateChanged() override { fLog->push_back("refresh " + std::string(GetHintText()->GetText())); }

 private:
  std::vector<std::string>* fLog;
};

class RootTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (const ref<Wex::rcGUIElement> tracked = Wex::rcGUIElement::GetTrackedElement()) tracked->EndTracking();
    fHost->Close();
    fRoot->Detach();
  }

  void Host(const ref<Wex::rcGUIElement>& element) { fHost->SetRootElement(element); }
  // A control tagged for the root, which listens to it, bound to the variable unless it is empty.
  ref<rcTestControl> AddControl(const std::string& variable) {
    const ref<rcTestControl> control(new rcTestControl());
    control->SetListenerTag(Velto::kRootListenerTag);
    control->AddListener(iref<Velto::iViewListener>(fRoot));
    fRoot->AddChild(control);
    if (!variable.empty()) fRoot->AddValueBinding(control, variable);
    return control;
  }
  ref<GuiTest::rcProbe> AddProbe(Wex::rcGUIContainer& parent, const std::string& name) {
    const ref<GuiTest::rcProbe> probe(new GuiTest::rcProbe({0, 0, 10, 10}, name, fLog));
    parent.AddChild(probe);
    return probe;
  }
  // The milliseconds from the test's clock to the next task, or kNoTask when none is pending.
  static constexpr std::int32_t kNoTask = INT32_MIN;
  std::int32_t TimeToNextTask() const {
    std::int32_t delta = 0;
    return fView->fScheduler->GetTimeToNextTask(fNow, delta) ? delta : kNoTask;
  }
  // Moves the test's clock to the next task and runs what is due then; false when none is pending.
  bool RunNextTask() {
    const std::int32_t delta = TimeToNextTask();
    if (delta == kNoTask) return false;
    fNow = Wex::WrapAdd(fNow, std::max(delta, 0));
    fView->fScheduler->RunDueTasks(fNow);
    return true;
  }
  Calls TakeCalls() { return fController.TakeCalls(); }
  std::vector<std::string> TakeLog() { return std::exchange(fLog, {}); }
  Call At(const std::string& operation, std::vector<std::string> arguments = {}) {
    return {fRoot.Get(), operation, std::move(arguments)};
  }

  ResourcesTest::TemporaryBundle fBundle;
  Velto::rcResourceRegistry fRegistry{false, L"T"};
  RecordingController fController{&fRegistry};
  ref<GuiTest::rcRecordingView> fView{new GuiTest::rcRecordingView()};
  ref<Wex::rcGUIRoot> fHost{new Wex::rcGUIRoot(iref<Wex::iNativeView>(fView))};
  ref<Velto::rcRootView> fRoot{new Velto::rcRootView({0, 0, 200, 100}, &fController)};
  std::vector<std::string> fLog;
  std::int32_t fNow = Wex::ToElementTime(Wex::GetMilliseconds());
};

}  // namespace VeltoTest
