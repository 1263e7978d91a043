#include "velto/views/group_view.h"

#include <gtest/gtest.h>

#include <string>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

class GroupViewTest : public ViewTest {
 protected:
  // Refreshes the root with the variables; answers each child's left and top ("h" when hidden).
  std::string Refresh(const Wex::rcGUIElement& view, const char* vis, const char* ox, const char* items = "") {
    fController.fVariables = {{"vis", vis}, {"ox", ox}, {"oy", "0"}, {"ix", "1"}, {"items", items}};
    fRoot->WindowStateChanged();
    std::string places;
    for (std::int64_t i = 0; const ref<Wex::rcGUIElement> child = Child(view, i); ++i) {
      const Wex::cRect& r = child->GetRect();
      places += " " + std::to_string(r.fLeft) + "," + std::to_string(r.fTop) + (child->IsVisible() ? "" : "h");
    }
    return places;
  }
  // The group's child at the index, none beyond the last.
  static ref<Wex::rcGUIElement> Child(const Wex::rcGUIElement& view, std::int64_t i) {
    const auto& group = static_cast<const Wex::rcGUIContainer&>(view);
    return i < group.GetChildCount() ? group.GetChild(i) : nullptr;
  }
};

TEST_F(GroupViewTest, ShowsAndMovesItsChildrenByTheVariables) {
  // The inner group reads no "autoRefresh" (x would fail) and adds its own offset.
  const ref<Wex::rcGUIElement> view =
      Make("type: group, bounds: { 10, 10, 100, 50 }, visibility: \"vis\", offset: { ox, \"oy\" }, views: {"
           "{ type: rectangle, bounds: { 1, 2, 5, 5 } }, { type: group, offset: { ix, ix }, autoRefresh: x,"
           "views: { { type: rectangle, bounds: { 3, 4, 1, 1 } } } } }");
  const ref<Wex::rcGUIElement> inner = Child(*Child(*view, 1), 0);
  const struct {
    const char *vis, *ox, *places;
    std::int32_t innerLeft;  // in the window: 10 for the group, the offset, 3 and 1 for the inner one
  } cases[] = {
      {"TRUE", "10", " 11,2 10,0", 24}, {"true", "10", " 11,2 10,0", 24},  // applied once
      {"True", "7", " 8,2 7,0", 21},    {"1", "0x10", " 17,2h 16,0h", 30},
      {"yes", "010", " 9,2h 8,0h", 22}, {"", "abc", " 1,2h 0,0h", 14},
      // Positions stop at the 32-bit limits; window coordinates wrap around.
      {"true", "2147483647", " 2147483647,2 2147483647,0", -2147483635},
      {"true", "-2147483648", " -2147483648,2 -2147483648,0", -2147483634},
      {"true", "0", " 0,2 0,0", 14},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Refresh(*view, c.vis, c.ox), c.places) << c.vis << "/" << c.ox;
    EXPECT_EQ(inner->GetWindowRect().fLeft, c.innerLeft) << c.vis << "/" << c.ox;
  }
  const char* const errors[][2] = {
      {"offset: ox", "Invalid offset: ox"}, {"offset: { a, b, c }", "Invalid offset: { a, b, c }"},
      {"views: { { type: rectangle }, { type: no } }", "Unrecognized view type : \"no\""},
      {"varExpansion: true, autoRefresh: \"\"", "Invalid number: \"\""}};
  for (const auto& c : errors) {
    EXPECT_EQ(ErrorOf([&] { Make(std::string("type: group, ") + c[0]); }), c[1]);
    EXPECT_EQ(fRoot->GetChildCount(), 1);
  }
}

TEST_F(GroupViewTest, AnExpandingGroupRebuildsItsChildrenWhenTheirExpansionChanges) {
  const ref<Wex::rcGUIElement> view =
      Make("type: group, varExpansion: TRUE, visibility: vis, offset: { ox, oy }, views: { [var]items[/var] }");
  const char* const one = "{ type: rectangle, bounds: { 1, 1, 2, 2 } }";
  const char* const two = "{ type: rectangle, bounds: { 5, 5, 1, 1 } }, { type: rectangle, bounds: { 6, 6, 1, 1 } }";
  const struct {
    const char *items, *vis, *ox, *places;
    bool kept;  // the first child is the one of the refresh before
  } cases[] = {
      {one, "true", "0", " 1,1", false},       {one, "true", "4", " 5,1", true},
      {two, "true", "4", " 9,5 10,6", false},  {one, "false", "4", " 5,1h", false},
      {two, "false", "4", " 9,5h 10,6h", false},  // built hidden while the variable says so
      {two, "true", "4", " 9,5 10,6", true},   {"", "true", "4", "", false},
  };
  ref<Wex::rcGUIElement> first;
  for (const auto& c : cases) {
    EXPECT_EQ(Refresh(*view, c.vis, c.ox, c.items), c.places) << c.items << "/" << c.vis;
    EXPECT_EQ(Child(*view, 0) && Child(*view, 0).Get() == first.Get(), c.kept) << c.items << "/" << c.vis;
    first = Child(*view, 0);
  }
  // A failed rebuild keeps the children made before the error, which then follow the whole offset.
  const char* const failing = "{ type: rectangle, bounds: { 1, 1, 2, 2 } }, { type: no }";
  EXPECT_EQ(ErrorOf([&] { Refresh(*view, "true", "4", failing); }), "Unrecognized view type : \"no\"");
  EXPECT_EQ(Refresh(*view, "true", "4", failing), " 5,1");
  // Groups that expand into themselves end at the nesting limit.
  const char* const itself = "{ type: group, varExpansion: true, views: { [var]items[/var] } }";
  EXPECT_EQ(ErrorOf([&] { Refresh(*view, "true", "0", itself); }), "Views nested too deeply");
}

}  // namespace
}  // namespace VeltoTest
