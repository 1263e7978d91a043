#include "velto/auto_exec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "gui/alert.h"
#include "velto/root_view.h"
#include "velto/tests/root_fixture.h"
#include "velto/velto_view.h"

namespace VeltoTest {
namespace {

using Log = std::vector<std::string>;

class AutoExecTest : public RootTest {
 protected:
  void Describe(const std::string& name, const std::string& text) { fBundle.WriteResource(name, "velto", text); }
  // Moves the test's clock (to the real one, to which attaching and loading schedule, without a
  // delta) and runs what is due then: the actions performed since the last look, with params.
  Log RunAt(std::int32_t delta = 0) {
    fNow = delta != 0 ? Wex::WrapAdd(fNow, delta) : Wex::ToElementTime(Wex::GetMilliseconds());
    fView->fScheduler->RunDueTasks(fNow);
    return Performed(TakeCalls());
  }
};

TEST_F(AutoExecTest, AutomaticActionsRunOnceOrAtTheirPeriodWhileHosted) {
  Describe("a", "{autoexecs: {{action: once}, {action: 'rep', params: {p}, delay: 0.1, repeat: 0.25},"
                " {action: never, delay: 1000}}}");
  Velto::ReadAutoExecs(*fRoot, "a");
  EXPECT_EQ(TakeCalls(), (Calls{At("LoadGUIDescription", {"a"})}));
  Host(fRoot);
  EXPECT_EQ(RunAt(), (Log{"once "}));
  const std::int32_t first = TimeToNextTask();
  EXPECT_TRUE(first > 0 && first <= 100) << first;
  EXPECT_EQ(RunAt(first), (Log{"rep {p}"}));
  EXPECT_EQ(TimeToNextTask(), 250);
  EXPECT_EQ(RunAt(257), (Log{"rep {p}"}));  // late: the period runs from the run
  EXPECT_EQ(TimeToNextTask(), 250);
  Host(nullptr);
  EXPECT_EQ(TimeToNextTask(), kNoTask);
  Host(fRoot);
  EXPECT_EQ(RunAt(), (Log{"once "}));

  // A new load replaces every action; one without delay runs at once in a hosted view. The old
  // repeating action does not come back, also when its own run caused the load.
  Describe("b", "{autoexecs: {{action: alert, delay: 0.05, repeat: 0.1}}}");
  Describe("c", "{autoexecs: {{action: c1}}}");
  const Wex::AlertRunner previous = Wex::SetAlertRunner(
      [this](std::int32_t, std::int32_t, std::int32_t, const refString&, const refString&,
             const ref<Wex::rcExtWindow>&) {
        Velto::ReadAutoExecs(*fRoot, "c");
        return 0;
      });
  Velto::ReadAutoExecs(*fRoot, "b");
  EXPECT_EQ(RunAt(100), (Log{"c1 "}));
  Wex::SetAlertRunner(previous);
  EXPECT_EQ(TimeToNextTask(), kNoTask);
  Velto::ReadAutoExecs(*fRoot, "");
  EXPECT_TRUE(fRoot->GetAutoExecs().empty());
}

TEST_F(AutoExecTest, DelaysAndPeriodsAreBoundedAndErrorsLeave) {
  Describe("t", "{autoexecs: {{action: neg, delay: -1, repeat: -0.5}, {delay: 0/0, repeat: 1e300},"
                " {delay: 1.5, repeat: $+0.25}, {delay: 0.0004, repeat: -1e300}, {delay: 1e300 * 1e300}}}");
  Velto::ReadAutoExecs(*fRoot, "t");
  std::vector<std::pair<std::int32_t, std::int32_t>> times;
  for (const auto& autoExec : fRoot->GetAutoExecs()) times.emplace_back(autoExec->GetDelay(), autoExec->GetRepeat());
  EXPECT_EQ(times, (std::vector<std::pair<std::int32_t, std::int32_t>>{
                       {0, 0}, {0, 1 << 30}, {1500, 250}, {0, 0}, {1 << 30, 0}}));
  Host(fRoot);  // the negative period runs once: nothing comes back in the past
  EXPECT_EQ(RunAt(), (Log{"neg ", " ", " "}));
  EXPECT_TRUE(TimeToNextTask() > 1400 && TimeToNextTask() <= 1500);

  Describe("bad", "{autoexecs: {{action: one}, {delay: 1 +}}}");
  EXPECT_THROW(Velto::ReadAutoExecs(*fRoot, "bad"), Exception);
  EXPECT_EQ(fRoot->GetAutoExecs().size(), 1u);  // what was built stays
  EXPECT_THROW(Velto::ReadAutoExecs(*fRoot, "missing"), Wex::xExceptionWithRCString);
  EXPECT_TRUE(fRoot->GetAutoExecs().empty());
}

TEST_F(AutoExecTest, NestedViewsLoadSixteenDeepAtMost) {
  Describe("n", "{autoexecs: {{action: loaded}}}");
  std::vector<ref<Velto::rcVeltoView>> chain;
  Wex::rcGUIContainer* parent = fRoot.Get();
  for (int i = 0; i <= Velto::kMaxVeltoViewNesting; ++i) {
    chain.emplace_back(new Velto::rcVeltoView({}, &fController, i == Velto::kMaxVeltoViewNesting ? "L" : "", nullptr));
    parent->AddChild(chain.back());
    parent = chain.back().Get();
  }
  Host(fRoot);
  // A layout that nests itself fails in the refresh that loads it too deep.
  fController.fVariables["L"] = "n";
  try {
    fRoot->WindowStateChanged();
    ADD_FAILURE() << "loaded";
  } catch (const FormatException& e) {
    EXPECT_STREQ(e.what(), "Velto views nested too deeply");
  }
  EXPECT_EQ(RunAt(), Log());
  Velto::ReadAutoExecs(*chain[Velto::kMaxVeltoViewNesting - 1], "n");
  EXPECT_EQ(RunAt(), (Log{"loaded "}));
}

TEST_F(AutoExecTest, ARefreshThatMakesTooManyViewsLeavesTheNestedViewEmptyForGood) {
  // d1 ... d9 hold four nested views each, which show the next one; d10 a rectangle: 4^9 views.
  for (int i = 1; i <= 10; ++i) {
    const std::string name = "d" + std::to_string(i);
    const std::string next = "{ type: velto, layoutVariable: d" + std::to_string(i + 1) + " }";
    Describe(name, "views: { " + (i < 10 ? next + next + next + next : "{ type: rectangle }") + " }");
    fController.fVariables[name] = name;
  }
  Describe("main", "views: { { type: velto, layoutVariable: d1 } }");
  Velto::ReadAutoExecs(*fRoot, "main");
  Host(fRoot);
  const auto& container = dynamic_cast<Wex::rcGUIContainer&>(*fRoot->GetChild(0));
  const auto& nested = dynamic_cast<Velto::rcVeltoView&>(*container.GetChild(0));
  EXPECT_EQ(ErrorOf([&] { fRoot->WindowStateChanged(); }), "Too many views");
  EXPECT_EQ(nested.GetChildCount(), 0);
  TakeCalls();
  EXPECT_EQ(ErrorOf([&] { fRoot->WindowStateChanged(); }), "");
  EXPECT_EQ(nested.GetChildCount(), 0);
  const Calls calls = TakeCalls();
  EXPECT_FALSE(std::any_of(calls.begin(), calls.end(),
                           [](const Call& call) { return call.fOperation == "LoadGUIDescription"; }));
  fController.fVariables["d1"] = "d10";
  fRoot->WindowStateChanged();
  EXPECT_EQ(nested.GetChildCount(), 1);
}

}  // namespace
}  // namespace VeltoTest
