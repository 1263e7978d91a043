#include "velto/views/group_view.h"

#include <gtest/gtest.h>

#include <string>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

class GroupViewTest : public ViewTest {
 protected:
  void Refresh(const char* vis, const char* ox, const char* oy, const char* items = "") {
    fController.fVariables = {{"vis", vis}, {"ox", ox}, {"oy", oy}, {"ix", "1"}, {"items", items}};
    fRoot->WindowStateChanged();
  }
  // Each child's left and top in the group, "h" for a hidden one.
  static std::string Places(const Wex::rcGUIContainer& group) {
    std::string places;
    for (std::int64_t i = 0; i < group.GetChildCount(); ++i) {
      const ref<Wex::rcGUIElement> child = group.GetChild(i);
      places += (i > 0 ? " " : "") + std::to_string(child->GetRect().fLeft) + "," +
                std::to_string(child->GetRect().fTop) + (child->IsVisible() ? "" : "h");
    }
    return places;
  }
};

TEST_F(GroupViewTest, ShowsAndMovesItsChildrenByTheVariables) {
  const ref<Wex::rcGUIElement> view =
      Make("type: group, bounds: { 10, 10, 100, 50 }, visibility: \"vis\", offset: { ox, \"oy\" }, views: {"
           "{ type: rectangle, bounds: { 1, 2, 5, 5 } }, { type: group, offset: { ix, ix }, autoRefresh: x,"
           "views: { { type: rectangle, bounds: { 3, 4, 1, 1 } } } } }");
  const auto& group = static_cast<Velto::rcGroupView&>(*view);
  const ref<Wex::rcGUIElement> inner = static_cast<Velto::rcGroupView&>(*group.GetChild(1)).GetChild(0);
  const struct {
    const char *vis, *ox, *oy, *places;
    std::int32_t innerLeft;  // in the window: the group's 10, the outer offset, 3 and the inner 1
  } cases[] = {
      {"TRUE", "10", "5", "11,7 10,5", 24},  {"true", "10", "5", "11,7 10,5", 24},  // moved once
      {"True", "7", "5", "8,7 7,5", 21},     {"1", "0x10", "abc", "17,2h 16,0h", 30},
      {"yes", "010", "", "9,2h 8,0h", 22},   {"", "8", "", "9,2h 8,0h", 22},
      // Window coordinates wrap around.
      {"true", "2147483647", "0", "2147483647,2 2147483647,0", -2147483635},
      {"true", "-2147483648", "0", "-2147483648,2 -2147483648,0", -2147483634},
      {"true", "0", "0", "0,2 0,0", 14},  // the pixel lost to the limit stays lost
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.vis) + "/" + c.ox + "/" + c.oy);
    Refresh(c.vis, c.ox, c.oy);
    EXPECT_EQ(Places(group), c.places);
    EXPECT_EQ(inner->GetWindowRect().fLeft, c.innerLeft);
  }
}

TEST_F(GroupViewTest, RefusesOffsetsOfOtherThanTwoNamesAndChildrenThatCannotBeMade) {
  const char* const cases[][2] = {
      {"offset: ox", "Invalid offset: ox"},
      {"offset: { a, b, c }", "Invalid offset: { a, b, c }"},
      {"offset: \"\"", "Invalid offset: \"\""},
      {"views: { { type: rectangle }, { type: nope } }", "Unrecognized view type : \"nope\""},
      {"varExpansion: true, autoRefresh: \"\"", "Invalid number: \"\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] { Make(std::string("type: group, ") + c[0]); }), c[1]);
    EXPECT_EQ(fRoot->GetChildCount(), 0);
  }
}

TEST_F(GroupViewTest, AnExpandingGroupRebuildsItsChildrenWhenTheirExpansionChanges) {
  const ref<Wex::rcGUIElement> view =
      Make("type: group, varExpansion: TRUE, visibility: vis, offset: { ox, oy }, views: { [var]items[/var] }");
  const auto& group = static_cast<Velto::rcGroupView&>(*view);
  const char* const one = "{ type: rectangle, bounds: { 1, 1, 2, 2 } }";
  const char* const two = "{ type: rectangle, bounds: { 5, 5, 1, 1 } }, { type: rectangle, bounds: { 6, 6, 1, 1 } }";
  EXPECT_EQ(group.GetChildCount(), 0);
  const struct {
    const char *items, *vis, *ox;
    bool kept;  // the first child is the one of the refresh before
    const char* places;
  } cases[] = {
      {one, "true", "0", false, "1,1"},          {one, "true", "4", true, "5,1"},
      {two, "true", "4", false, "9,5 10,6"},     {one, "false", "4", false, "5,1h"},
      {two, "false", "4", false, "9,5h 10,6h"},  // built hidden while the variable says so
      {two, "true", "4", true, "9,5 10,6"},      {"", "true", "4", false, ""},
  };
  ref<Wex::rcGUIElement> first;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.items) + "/" + c.vis + "/" + c.ox);
    Refresh(c.vis, c.ox, "0", c.items);
    EXPECT_EQ(Places(group), c.places);
    EXPECT_EQ(group.GetChildCount() > 0 && group.GetChild(0).Get() == first.Get(), c.kept);
    first = group.GetChildCount() > 0 ? group.GetChild(0) : nullptr;
  }

  // A failed rebuild keeps the children made before the error; they follow the whole offset.
  EXPECT_EQ(ErrorOf([&] { Refresh("true", "4", "0", "{ type: rectangle, bounds: { 1, 1, 2, 2 } }, { type: nope }"); }),
            "Unrecognized view type : \"nope\"");
  EXPECT_EQ(Places(group), "1,1");
  Refresh("true", "4", "0", "{ type: rectangle, bounds: { 1, 1, 2, 2 } }, { type: nope }");
  EXPECT_EQ(Places(group), "5,1");
  // Groups that expand into themselves end at the nesting limit.
  EXPECT_EQ(ErrorOf([&] { Refresh("true", "0", "0", "{ type: group, varExpansion: true, views: { [var]items[/var] } }"); }),
            "Views nested too deeply");
}

}  // namespace
}  // namespace VeltoTest
