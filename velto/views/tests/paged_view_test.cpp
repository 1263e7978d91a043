#include "velto/views/paged_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

using PagedViewTest = ViewTest;

TEST_F(PagedViewTest, ShowsThePageThatTheVariableNamesAndRefreshesEveryPage) {
  fController.fViews["probe"] = ref<Wex::rcGUIElement>(new GuiTest::rcProbe({0, 0, 5, 5}, "probe", fLog));
  // Pages in byte order; of the page named twice only the first list.
  const ref<Wex::rcGUIElement> view =
      Make("type: paged, index: \"page\", pages: { b: { { type: rectangle }, { type: rectangle } },"
           "a: { { type: rectangle } }, a: { { type: rectangle }, { type: rectangle } }, z: { { type: probe } } }");
  auto& paged = static_cast<Velto::rcPagedView&>(*view);
  const auto shown = [&paged] {
    std::string flags;
    for (std::int64_t i = 0; i < paged.GetChildCount(); ++i) flags += paged.GetChild(i)->IsVisible() ? "1" : "0";
    return flags;
  };
  EXPECT_EQ(shown(), "0000");
  TakeLog();
  const char* const cases[][2] = {{"a", "1000"},  {"b", "0110"}, {"b", "0110"}, {"c", "0000"}, {"z", "0001"},
                                  {"a ", "0000"}, {"a", "1000"}, {"", "0000"},  {"b", "0110"}};
  std::string before = "0000";
  for (const auto& c : cases) {
    fController.fVariables["page"] = c[0];
    EXPECT_EQ(Refresh().empty(), c[1] == before) << c[0];
    EXPECT_EQ(shown(), c[1]) << c[0];
    before = c[1];
    // The views of hidden pages are refreshed too.
    EXPECT_EQ(TakeLog(), Log{"probe:WindowStateChanged"});
  }
  // Detached, it holds no views, but it still follows the variable, also without a name.
  paged.Detach();
  fController.fVariables["page"] = "a";
  const ref<Wex::rcGUIElement> unnamed = Make("type: paged");
  TakeCalls();
  paged.WindowStateChanged();
  unnamed->WindowStateChanged();
  EXPECT_EQ(paged.GetCurrentPage() + shown(), "a");
  EXPECT_EQ(TakeCalls(), (Calls{At("GetVariable", {"page"}), At("GetVariable", {""})}));
  EXPECT_EQ(ErrorOf([&] { Make("type: paged, pages: { a: { { type: rectangle }, { type: no } } }"); }),
            "Unrecognized view type : \"no\"");
  EXPECT_EQ(fRoot->GetChildCount(), 2);
}

}  // namespace
}  // namespace VeltoTest
