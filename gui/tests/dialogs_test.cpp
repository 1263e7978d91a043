// Alerts, menus and dialogs without a display: the pure parts and the replaceable entry points.

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "gui/alert.h"
#include "gui/dialog.h"
#include "gui/menu.h"
#include "gui/simple_text_edit.h"

namespace {

using Wex::cAlertButton;

TEST(StripMnemonics, DropsSingleMarksAndHalvesDoubledOnesInBothForms) {
  const std::pair<std::string, std::string> cases[] = {
      {"&File", "File"}, {"Save && Exit", "Save & Exit"}, {"Tail&", "Tail"}, {"&&&x", "&x"}, {"A&B&C", "ABC"}, {"", ""}};
  for (const auto& [input, expected] : cases) {
    const aref<Wex::rcVector<char>> title =
        Wex::StripMnemonics(Wex::rcVector<char>(input.data(), static_cast<std::int64_t>(input.size())));
    EXPECT_EQ(std::string(title->GetData(), title->GetSize() + 1), expected + '\0') << input;
    const aref<Wex::rcVector<UniChar>> label = Wex::StripMnemonics(*Wex::WideToUTF16(Wex::Latin1ToWide(input)));
    EXPECT_EQ(Wex::ToRCString(*label)->GetText(), expected) << input;
    EXPECT_EQ(label->GetData()[label->GetSize()], u'\0') << input;
  }
}

TEST(AlertButtons, FollowTheSetAndPutReturnOnTheDefaultOnly) {
  const struct {
    std::int32_t set, defaultId;
    std::vector<cAlertButton> buttons;
  } cases[] = {{4, 1, {{3, "Yes", false}, {4, "No", false}, {1, "Cancel", true}}},
               {1, 5, {{0, "OK", false}, {1, "Cancel", false}}},
               {0, 0, {{0, "OK", true}}},
               {9, 3, {{0, "OK", false}}},
               {-1, 0, {{0, "OK", true}}},
               {2, 2, {{2, "Retry", true}, {1, "Cancel", false}}},
               {5, 6, {{5, "Abort", false}, {2, "Retry", false}, {6, "Ignore", true}}}};
  for (const auto& c : cases) EXPECT_EQ(Wex::GetAlertButtons(c.set, c.defaultId), c.buttons) << c.set;
}

TEST(ItemTags, AreReadFromIdsOfTheFormTagN) {
  const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
      {"tag-1", 1}, {"tag--7", -7}, {"tag-2147483647", INT32_MAX}, {"tag--2147483648", INT32_MIN}, {"tag-007", 7},
      {"tag-", {}}, {"tag-x", {}},  {"tag-99999999999", {}},       {"tag-2147483648", {}},       {"tag-1x", {}},
      {"tag-+1", {}}, {"Tag-1", {}}, {"1", {}},                    {"", {}}};
  for (const auto& [id, tag] : cases) EXPECT_EQ(Wex::ParseItemTag(id), tag) << id;
}

TEST(EntryPoints, ReplacementsReceiveTheArgumentsAndAnswerWithoutShowingAnything) {
  std::vector<std::string> calls;
  const Wex::AlertRunner alerts = Wex::SetAlertRunner(
      [&](std::int32_t style, std::int32_t set, std::int32_t defaultId, const refString& message,
          const refString& informative, const ref<Wex::rcExtWindow>& window) {
        calls.push_back("alert " + std::to_string(style) + std::to_string(set) + std::to_string(defaultId) + " " +
                        std::string(message->GetText()) + (informative || window ? " more" : ""));
        return 3;
      });
  const Wex::MenuPopUp menus = Wex::SetMenuPopUp([&](Wex::rcMenu& menu, const ref<Wex::rcExtWindow>&, Wex::cPoint at) {
    calls.push_back("menu " + std::to_string(at.fX) + "," + std::to_string(at.fY));
    return menu.GetItems().back().fTag;
  });
  const Wex::SimpleTextEditRunner edits =
      Wex::SetSimpleTextEditRunner([&](const ref<Wex::rcGUIRoot>&, const std::string& prompt, std::string& text) {
        calls.push_back("edit " + prompt + " " + text);
        text = "typed";
        return true;
      });

  EXPECT_EQ(Wex::RunAlert(4, 3, 4, Wex::MakeRCString("Error: x"), nullptr, nullptr), 3);
  // Items keep their order; indexes outside 0 .. count append; labels lose their marks.
  const ref<Wex::rcMenu> menu(new Wex::rcMenu());
  menu->InsertItem(0, true, false, *Wex::WideToUTF16(L"&Copy"), 10);
  menu->InsertItem(0, false, true, *Wex::WideToUTF16(L"Save && E\u00e9\xd800"), 20);
  menu->InsertSeparator(1);
  menu->InsertItem(-1, true, true, *Wex::WideToUTF16(L"Last"), 30);
  menu->InsertItem(menu->GetItemCount(), true, false, *Wex::WideToUTF16(L""), 40);
  menu->InsertItem(99, true, false, *Wex::WideToUTF16(L"End"), 50);
  EXPECT_EQ(menu->GetItems(), (std::vector<Wex::cMenuItem>{{false, false, true, "Save & E\u00e9\ufffd", 20},
                                                           {true, true, false, "", 0},
                                                           {false, true, false, "Copy", 10},
                                                           {false, true, true, "Last", 30},
                                                           {false, true, false, "", 40},
                                                           {false, true, false, "End", 50}}));
  EXPECT_EQ(menu->PopUp(nullptr, {5, -7}), 50);
  std::string text = "before";
  EXPECT_TRUE(Wex::RunSimpleTextEditDialog(nullptr, "Name:", text));
  EXPECT_EQ(text, "typed");
  EXPECT_EQ(calls, (std::vector<std::string>{"alert 434 Error: x", "menu 5,-7", "edit Name: before"}));

  Wex::SetAlertRunner(alerts);
  Wex::SetMenuPopUp(menus);
  Wex::SetSimpleTextEditRunner(edits);
}

}  // namespace
