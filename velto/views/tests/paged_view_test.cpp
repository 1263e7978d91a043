#include "velto/views/paged_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

using PagedViewTest = ViewTest;

TEST_F(PagedViewTest, ShowsThePageThatTheVariableNamesAndRefreshesEveryPage) {
  // A view of page "z" that logs its refreshes.
  fController.fViews["probe"] = ref<Wex::rcGUIElement>(new GuiTest::rcProbe({0, 0, 5, 5}, "probe", fLog));
  const ref<Wex::rcGUIElement> view =
      Make("type: paged, index: \"page\", pages: { b: { { type: rectangle }, { type: rectangle } },"
           "a: { { type: rectangle } }, a: { { type: rectangle }, { type: rectangle } }, z: { { type: probe } } }");
  auto& paged = static_cast<Velto::rcPagedView&>(*view);
  // Pages in byte order; of the page named twice only the first list.
  const auto shown = [&paged] {
    std::string flags;
    for (std::int64_t i = 0; i < paged.GetChildCount(); ++i) flags += paged.GetChild(i)->IsVisible() ? "1" : "0";
    return flags;
  };
  EXPECT_EQ(shown(), "0000");
  const struct {
    const char *page, *shown;
    bool invalidates;
  } cases[] = {
      {"a", "1000", true},  {"b", "0110", true}, {"b", "0110", false}, {"c", "0000", true}, {"z", "0001", true},
      {"a ", "0000", true}, {"a", "1000", true}, {"", "0000", true},   {"b", "0110", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    fController.fVariables["page"] = c.page;
    fView->fInvalidated.clear();
    TakeLog();
    fRoot->WindowStateChanged();
    EXPECT_EQ(shown(), c.shown);
    EXPECT_EQ(!fView->fInvalidated.empty(), c.invalidates);
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"probe:WindowStateChanged"});
  }

  // Detached, it holds no views, but it still follows the variable.
  paged.Detach();
  fController.fVariables["page"] = "a";
  TakeCalls();
  paged.WindowStateChanged();
  EXPECT_EQ(shown(), "");
  EXPECT_EQ(paged.GetCurrentPage(), "a");
  EXPECT_EQ(TakeCalls(), Calls{At("GetVariable", {"page"})});
}

TEST_F(PagedViewTest, ReadsEvenAnEmptyNameAndFailsWithItsViews) {
  const ref<Wex::rcGUIElement> empty = Make("type: paged");
  TakeCalls();
  empty->WindowStateChanged();
  EXPECT_EQ(TakeCalls(), Calls{At("GetVariable", {""})});
  EXPECT_EQ(ErrorOf([&] { Make("type: paged, pages: { a: { { type: rectangle }, { type: nope } } }"); }),
            "Unrecognized view type : \"nope\"");
  EXPECT_EQ(fRoot->GetChildCount(), 1);
}

}  // namespace
}  // namespace VeltoTest
