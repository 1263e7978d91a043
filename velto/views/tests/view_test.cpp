// The base view's listeners and hints, and the value model of the value views.
#include "velto/views/view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "velto/testing/test_control.h"
#include "velto/views/tests/view_fixture.h"
#include "velto/views/value_view.h"

namespace VeltoTest {
namespace {

using Log = std::vector<std::string>;

// Logs "name code" for every change it hears, and runs its reaction at the first change of the
// chosen code.
class rcListener : public Wex::rc, public Velto::iViewListener {
 public:
  rcListener(std::string name, Log& log) : fName(std::move(name)), fLog(&log) {}
  void ViewChanged(ref<Wex::rcGUIElement>, std::int32_t code) override {
    fLog->push_back(fName + " " + std::to_string(code));
    if (code == fReactTo && fReaction) std::exchange(fReaction, {})();
  }

  std::int32_t fReactTo = -1;
  std::function<void()> fReaction;

 private:
  std::string fName;
  Log* fLog;
};

// A base view whose value text the test sets.
class rcPlainView : public Velto::rcView {
 public:
  using rcView::rcView;
  using rcView::SetValueText;
  void Draw(Wex::rcGraphicsContext&, const Wex::cRect&) override {}
};

class BaseViewTest : public ViewTest {
 protected:
  ref<rcListener> Listen(Velto::rcView& view, const std::string& name) {
    const ref<rcListener> listener(new rcListener(name, fLog));
    view.AddListener(iref<Velto::iViewListener>(listener));
    return listener;
  }
  std::string Hint(Velto::rcView& view) { return std::string(view.GetHintText()->GetText()); }
};

TEST_F(BaseViewTest, ListenersHearEachChangeOnceInTheOrderAdded) {
  const ref<rcPlainView> view(new rcPlainView({5, 5, 25, 25}));
  fRoot->AddChild(view);
  std::vector<ref<rcListener>> listeners;
  std::vector<std::int64_t> capacities;
  for (int i = 0; i < 4; ++i) {
    listeners.push_back(Listen(*view, "L" + std::to_string(i)));
    capacities.push_back(view->GetListeners()->GetCapacity());
  }
  view->AddListener(iref<Velto::iViewListener>(listeners[0]));  // listed already: kept once, not told
  EXPECT_EQ(capacities, (std::vector<std::int64_t>{1, 2, 4, 4}));
  EXPECT_EQ(TakeLog(), (Log{"L0 0", "L1 0", "L2 0", "L3 0"}));

  view->MoveTo({5, 5});  // unchanged geometry reports nothing
  view->SetSize({0, 0, 20, 20});
  view->MoveTo({6, 5});
  view->SetSize({0, 0, 1, 1});
  view->StartTracking({0, 0}, 0, {});
  EXPECT_EQ(Wex::rcGUIElement::GetTrackedElement(), view);
  view->EndTracking();
  view->CancelTracking();
  Log expected;
  for (const char* code : {"1", "1", "3", "3", "3"}) {
    for (int i = 0; i < 4; ++i) expected.push_back("L" + std::to_string(i) + " " + code);
  }
  EXPECT_EQ(TakeLog(), expected);

  // A listener added during a notification hears it too, the list growing under it; a Detach
  // during it lets the rest hear it, and then the view tells nobody.
  const aref<Velto::ViewListenerList> list = view->GetListeners();
  listeners[0]->fReactTo = 4;
  listeners[0]->fReaction = [&] { listeners.push_back(Listen(*view, "L4")); };
  listeners[1]->fReactTo = 4;
  listeners[1]->fReaction = [&] { view->Detach(); };
  view->SetHint(Wex::MakeRCString("h"));
  view->SetHint(Wex::MakeRCString("i"));
  EXPECT_EQ(TakeLog(), (Log{"L0 4", "L4 0", "L1 4", "L2 4", "L3 4", "L4 4"}));
  EXPECT_EQ(list->GetCapacity(), 8);
  for (std::int64_t i = 0; i < 5; ++i) EXPECT_EQ(list[i].Get(), listeners[i].Get());
  EXPECT_FALSE(view->GetListeners());
}

TEST_F(BaseViewTest, HintsAreReportedWhenTheirTextOrKindChangesAndValueHintsShowTheValue) {
  const ref<rcPlainView> view(new rcPlainView(Wex::cRect()));
  const ref<rcTestControl> control(new rcTestControl());
  Listen(*view, "v");
  Listen(*control, "c");
  TakeLog();
  struct Case {
    bool fValueHint;
    const char* fStored;
    const char* fValueText;
    const char* fShown;
    bool fReported;
  };
  const Case cases[] = {
      {false, "a%", "v", "a%", true},     {false, "a%", "v", "a%", false},   {true, "a%", "v", "av", true},
      {true, "a%", "w", "aw", false},     {false, "a%", "v", "a%", true},    {true, "%%", "v", "%", true},
      {true, "%%%", "v", "%v", true},     {true, "1%%=%,%", "x", "1%=x,x", true},
      {true, "%", "", "", true},
  };
  for (const Case& c : cases) {
    view->SetValueText(Wex::MakeRCString(c.fValueText));
    const refString text = Wex::MakeRCString(c.fStored);
    c.fValueHint ? view->SetValueHint(text) : view->SetHint(text);
    EXPECT_EQ(Hint(*view), c.fShown) << c.fStored;
    EXPECT_EQ(TakeLog(), c.fReported ? Log{"v 4"} : Log()) << c.fStored;
  }
  // A value view's hint is a value hint whichever setter stored it.
  control->SetHint(Wex::MakeRCString("% and %%"));
  EXPECT_EQ(Hint(*control), "0.00 and %");
  control->SetValue(0.5);
  EXPECT_EQ(Hint(*control), "0.50 and %");
  EXPECT_EQ(TakeLog(), (Log{"c 4", "c 7"}));
}

TEST_F(BaseViewTest, TheValueModelClampsReportsAndRefusesNaN) {
  const ref<rcTestControl> control(new rcTestControl());
  Listen(*control, "c");
  TakeLog();
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  using Control = rcTestControl;
  struct Step {
    std::function<bool(Control&)> fCall;
    bool fChanged;
    Log fCodes;
    std::string fState;  // minimum maximum value default snap, and the value text
  };
  const Step steps[] = {
      {[](Control& c) { return c.SetRange(0, 1); }, false, {}, "0 1 0 0 off 0.00"},
      {[](Control& c) { return c.SetRange(0.5, 2); }, true, {"c 7", "c 8"}, "0.5 2 0.5 0.5 off 0.50"},
      {[](Control& c) { return c.SetRange(0, 1); }, true, {}, "0 1 0.5 0.5 off 0.50"},
      {[](Control& c) { return c.SetValue(5); }, true, {"c 7"}, "0 1 1 0.5 off 1.00"},
      {[](Control& c) { return c.SetValue(1); }, false, {}, "0 1 1 0.5 off 1.00"},
      {[](Control& c) { return c.SetValue(kNaN); }, false, {}, "0 1 1 0.5 off 1.00"},
      {[](Control& c) { return c.SetValue(-kInf); }, true, {"c 7"}, "0 1 0 0.5 off 0.00"},
      {[](Control& c) { return c.SetDefaultValue(kNaN); }, false, {}, "0 1 0 0.5 off 0.00"},
      {[](Control& c) { return c.SetDefaultValue(kInf); }, true, {"c 8"}, "0 1 0 1 off 0.00"},
      {[](Control& c) { return c.SetRange(kNaN, 1); }, false, {}, "0 1 0 1 off 0.00"},
      {[](Control& c) { return c.SetRange(0, kInf); }, false, {}, "0 1 0 1 off 0.00"},
      {[](Control& c) { return c.SetSnap(false, 3); }, false, {}, "0 1 0 1 off 0.00"},
      {[](Control& c) { return c.SetSnap(true, 3); }, true, {"c 9"}, "0 1 0 1 3 0.00"},
      {[](Control& c) { return c.SetSnap(true, 3); }, false, {}, "0 1 0 1 3 0.00"},
      {[](Control& c) { return c.SetSnap(false, 4); }, true, {"c 9"}, "0 1 0 1 off 0.00"},
      {[](Control& c) { return c.SetRange(2, 1); }, true, {"c 7"}, "2 1 1 1 off 1.00"},  // the maximum wins
      {[](Control& c) { return c.SetText(Wex::MakeRCString("t")); }, true, {"c 5"}, "2 1 1 1 off 1.00"},
      {[](Control& c) { return c.SetText(Wex::MakeRCString("t")); }, false, {}, "2 1 1 1 off 1.00"},
      {[](Control& c) { return c.SetColor({1, 2, 3}); }, true, {"c 2"}, "2 1 1 1 off 1.00"},
      {[](Control& c) { return c.SetColor({1, 2, 3}); }, false, {}, "2 1 1 1 off 1.00"},
  };
  const auto number = [](double v) {
    std::ostringstream out;
    out << v;
    return out.str();
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    EXPECT_EQ(steps[i].fCall(*control), steps[i].fChanged) << i;
    EXPECT_EQ(TakeLog(), steps[i].fCodes) << i;
    Control& c = *control;
    EXPECT_EQ(number(c.GetMinimum()) + " " + number(c.GetMaximum()) + " " + number(c.GetValue()) + " " +
                  number(c.GetDefaultValue()) + " " + (c.IsSnapEnabled() ? number(c.GetSnapValue()) : "off") + " " +
                  std::string(c.GetValueText()->GetText()),
              steps[i].fState)
        << i;
  }
  EXPECT_FALSE(control->IsTracking());
  control->StartTracking({0, 0}, 0, {});
  EXPECT_TRUE(control->IsTracking());
  control->EndTracking();
  EXPECT_FALSE(control->IsTracking());
}

}  // namespace
}  // namespace VeltoTest
