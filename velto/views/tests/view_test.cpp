// The base view's listeners and hints, and the value model of the value views.
#include "velto/views/view.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "velto/testing/test_control.h"
#include "velto/views/tests/view_fixture.h"
#include "velto/views/value_view.h"

namespace VeltoTest {
namespace {

// A base view whose value text the test sets.
class rcPlainView : public Velto::rcView {
 public:
  using rcView::rcView;
  using rcView::SetValueText;
  void Draw(Wex::rcGraphicsContext&, const Wex::cRect&) override {}
};

class BaseViewTest : public ViewTest {
 protected:
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
  listeners[0]->fOnHint = [&] { listeners.push_back(Listen(*view, "L4")); };
  listeners[1]->fOnHint = [&] { view->Detach(); };
  view->SetHint(Wex::MakeRCString("h"));
  view->SetHint(Wex::MakeRCString("i"));
  EXPECT_EQ(TakeLog(), (Log{"L0 4", "L4 0", "L1 4", "L2 4", "L3 4", "L4 4"}));
  EXPECT_EQ(list->GetCapacity(), 8);
  for (std::int64_t i = 0; i < 5; ++i) EXPECT_EQ(list[i].Get(), listeners[i].Get());
  EXPECT_FALSE(view->GetListeners());
}

TEST_F(BaseViewTest, HintsAreReportedWhenTheirTextOrKindChangesAndValueHintsShowTheValue) {
  const ref<rcPlainView> view(new rcPlainView(Wex::cRect()));
  Listen(*view, "v");
  TakeLog();
  // Kind (plain or value), stored text, value text, the hint shown, and whether code 4 came.
  const std::tuple<bool, const char*, const char*, const char*, bool> cases[] = {
      {false, "a%", "v", "a%", true}, {false, "a%", "v", "a%", false}, {true, "a%", "v", "av", true},
      {true, "a%", "w", "aw", false}, {false, "a%", "v", "a%", true},  {true, "%%", "v", "%", true},
      {true, "%%%", "v", "%v", true}, {true, "1%%=%,%", "x", "1%=x,x", true}, {true, "%", "", "", true},
  };
  for (const auto& [valueHint, stored, valueText, shown, reported] : cases) {
    view->SetValueText(Wex::MakeRCString(valueText));
    valueHint ? view->SetValueHint(Wex::MakeRCString(stored)) : view->SetHint(Wex::MakeRCString(stored));
    EXPECT_EQ(Hint(*view), shown) << stored;
    EXPECT_EQ(TakeLog(), reported ? Log{"v 4"} : Log()) << stored;
  }
}

// Value views: each step calls one operation ("range min max", "value v", "default v", "snap 0|1 v",
// "text t", "color r") and expects its answer and codes, then the state "min max value default
// snap value-text" (snap "off" when disabled). Their hint is a value hint whichever setter stored it.
TEST_F(BaseViewTest, TheValueModelClampsReportsAndRefusesNaN) {
  const ref<rcTestControl> control(new rcTestControl());
  Listen(*control, "c");
  TakeLog();
  const auto apply = [&control](std::istringstream in) {
    std::string operation, text, second;
    in >> operation >> text >> second;
    const double a = std::strtod(text.c_str(), nullptr);
    const double b = std::strtod(second.c_str(), nullptr);
    if (operation == "range") return control->SetRange(a, b);
    if (operation == "value") return control->SetValue(a);
    if (operation == "default") return control->SetDefaultValue(a);
    if (operation == "snap") return control->SetSnap(a != 0, b);
    if (operation == "text") return control->SetText(Wex::MakeRCString(text));
    return control->SetColor({static_cast<std::int32_t>(a), 0, 0});
  };
  const auto state = [&control] {
    std::ostringstream out;
    Velto::rcValueView& c = *control;
    out << c.GetMinimum() << " " << c.GetMaximum() << " " << c.GetValue() << " " << c.GetDefaultValue() << " ";
    (c.IsSnapEnabled() ? out << c.GetSnapValue() : out << "off") << " " << c.GetValueText()->GetText();
    return out.str();
  };
  const std::tuple<const char*, const char*, const char*> steps[] = {
      {"range 0 1", "false", "0 1 0 0 off 0.00"},         {"range 0.5 2", "true 7 8", "0.5 2 0.5 0.5 off 0.50"},
      {"range 0 1", "true", "0 1 0.5 0.5 off 0.50"},       {"value 5", "true 7", "0 1 1 0.5 off 1.00"},
      {"value 1", "false", "0 1 1 0.5 off 1.00"},          {"value nan", "false", "0 1 1 0.5 off 1.00"},
      {"value -inf", "true 7", "0 1 0 0.5 off 0.00"},      {"default nan", "false", "0 1 0 0.5 off 0.00"},
      {"default inf", "true 8", "0 1 0 1 off 0.00"},       {"range nan 1", "false", "0 1 0 1 off 0.00"},
      {"range 0 inf", "false", "0 1 0 1 off 0.00"},        {"snap 0 3", "false", "0 1 0 1 off 0.00"},
      {"snap 1 3", "true 9", "0 1 0 1 3 0.00"},            {"snap 1 3", "false", "0 1 0 1 3 0.00"},
      {"snap 0 4", "true 9", "0 1 0 1 off 0.00"},          {"range 2 1", "true 7", "2 1 1 1 off 1.00"},
      {"text t", "true 5", "2 1 1 1 off 1.00"},            {"text t", "false", "2 1 1 1 off 1.00"},
      {"color 1", "true 2", "2 1 1 1 off 1.00"},           {"color 1", "false", "2 1 1 1 off 1.00"},
  };
  for (const auto& [call, answer, expected] : steps) {
    std::string reported = apply(std::istringstream(call)) ? "true" : "false";
    for (const std::string& line : TakeLog()) reported += line.substr(1);
    EXPECT_EQ(reported, answer) << call;
    EXPECT_EQ(state(), expected) << call;
  }
  control->SetHint(Wex::MakeRCString("% and %%"));
  EXPECT_EQ(Hint(*control), "1.00 and %");
  control->StartTracking({0, 0}, 0, {});
  EXPECT_TRUE(control->IsTracking());
  control->EndTracking();
  EXPECT_FALSE(control->IsTracking());
}

}  // namespace
}  // namespace VeltoTest
