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
using Wex::cMenuItem;

TEST(StripMnemonics, DropsSingleMarksAndHalvesDoubledOnesInBothForms) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"&File", "File"}, {"Save && Exit", "Save & Exit"}, {"Tail&", "Tail"}, {"&&&x", "&x"}, {"A&B&C", "ABC"}, {"", ""}};
  for (const auto& [input, expected] : cases) {
    const Wex::rcVector<char> bytes(input.data(), static_cast<std::int64_t>(input.size()));
    const aref<Wex::rcVector<char>> title = Wex::StripMnemonics(bytes);
    EXPECT_EQ(std::string(title->GetData(), title->GetSize()), expected) << input;
    EXPECT_EQ(title->GetData()[title->GetSize()], '\0') << input;

    const ref<Wex::rcVector<UniChar>> units = Wex::WideToUTF16(Wex::Latin1ToWide(input));
    const aref<Wex::rcVector<UniChar>> label = Wex::StripMnemonics(*units);
    EXPECT_EQ(Wex::ToRCString(*label)->GetText(), expected) << input;
    EXPECT_EQ(label->GetData()[label->GetSize()], u'\0') << input;
  }
}

TEST(AlertButtons, FollowTheSetAndPutReturnOnTheDefaultOnly) {
  const cAlertButton ok{0, "OK", false};
  const cAlertButton cancel{1, "Cancel", false};
  const struct {
    std::int32_t set;
    std::int32_t defaultId;
    std::vector<cAlertButton> buttons;
  } cases[] = {
      {4, 1, {{3, "Yes", false}, {4, "No", false}, {1, "Cancel", true}}},
      {1, 5, {ok, cancel}},
      {0, 0, {{0, "OK", true}}},
      {9, 3, {ok}},
      {-1, 0, {{0, "OK", true}}},
      {2, 2, {{2, "Retry", true}, cancel}},
      {3, 4, {{3, "Yes", false}, {4, "No", true}}},
      {5, 6, {{5, "Abort", false}, {2, "Retry", false}, {6, "Ignore", true}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Wex::GetAlertButtons(c.set, c.defaultId), c.buttons) << c.set;
}

TEST(AlertRunner, AReplacementReceivesTheArgumentsAndAnswersForTheAlert) {
  std::vector<std::string> calls;
  const ref<Wex::rcExtWindow> window(new Wex::rcExtWindow(nullptr));
  const Wex::AlertRunner previous =
      Wex::SetAlertRunner([&](std::int32_t style, std::int32_t set, std::int32_t defaultId, const refString& message,
                              const refString& informative, const ref<Wex::rcExtWindow>& parent) {
        calls.push_back(std::to_string(style) + " " + std::to_string(set) + " " + std::to_string(defaultId) + " " +
                        std::string(message->GetText()) + "|" + (informative ? "text" : "null") + "|" +
                        (parent == window ? "window" : "other"));
        return 3;
      });
  EXPECT_EQ(Wex::RunAlert(4, 3, 4, Wex::MakeRCString("Error: x"), nullptr, window), 3);
  EXPECT_EQ(calls, std::vector<std::string>{"4 3 4 Error: x|null|window"});
  Wex::SetAlertRunner(previous);
}

TEST(Menu, ItemsKeepTheirOrderAndAReplacementAnswersThePopUp) {
  const ref<Wex::rcMenu> menu(new Wex::rcMenu());
  menu->InsertItem(0, true, false, *Wex::WideToUTF16(L"&Copy"), 10);
  menu->InsertItem(0, false, true, *Wex::WideToUTF16(L"Save && E\u00e9\xd800"), 20);
  menu->InsertSeparator(1);
  // Indexes outside 0 .. count append.
  menu->InsertItem(-1, true, true, *Wex::WideToUTF16(L"Last"), 30);
  menu->InsertItem(99, true, false, *Wex::WideToUTF16(L""), 40);
  menu->InsertItem(menu->GetItemCount(), true, false, *Wex::WideToUTF16(L"End"), 50);
  EXPECT_EQ(menu->GetItemCount(), 6);
  const std::vector<cMenuItem> expected = {{false, false, true, "Save & E\u00e9\ufffd", 20},
                                           {true, true, false, "", 0},
                                           {false, true, false, "Copy", 10},
                                           {false, true, true, "Last", 30},
                                           {false, true, false, "", 40},
                                           {false, true, false, "End", 50}};
  EXPECT_EQ(menu->GetItems(), expected);

  std::vector<std::int32_t> points;
  const Wex::MenuPopUp previous = Wex::SetMenuPopUp([&](Wex::rcMenu& shown, const ref<Wex::rcExtWindow>& window,
                                                        Wex::cPoint at) {
    EXPECT_EQ(&shown, menu.Get());
    EXPECT_FALSE(window);
    points.insert(points.end(), {at.fX, at.fY});
    return shown.GetItems()[points.size() / 2].fTag;
  });
  EXPECT_EQ(menu->PopUp(nullptr, {5, -7}), 0);
  EXPECT_EQ(menu->PopUp(nullptr, {8, 9}), 10);
  EXPECT_EQ(points, (std::vector<std::int32_t>{5, -7, 8, 9}));
  Wex::SetMenuPopUp(previous);
}

TEST(ItemTags, AreReadFromIdsOfTheFormTagN) {
  const std::vector<std::pair<std::string, std::optional<std::int32_t>>> cases = {
      {"tag-1", 1},          {"tag--7", -7},         {"tag-2147483647", 2147483647}, {"tag--2147483648", INT32_MIN},
      {"tag-007", 7},        {"tag-", std::nullopt}, {"tag-x", std::nullopt},         {"tag-99999999999", std::nullopt},
      {"tag-2147483648", std::nullopt}, {"tag-1x", std::nullopt}, {"tag-+1", std::nullopt}, {"tag- 1", std::nullopt},
      {"Tag-1", std::nullopt}, {"1", std::nullopt},    {"", std::nullopt},              {"window", std::nullopt}};
  for (const auto& [id, tag] : cases) EXPECT_EQ(Wex::ParseItemTag(id), tag) << id;
}

// A dialog that records what its handler asks of it, holding item 4's text.
class rcRecordingDialog : public Wex::rc, public Wex::iDialog {
 public:
  std::vector<std::string> fLog;
  std::string fField;

  void EndModal(std::int32_t code) override { Log("end " + std::to_string(code)); }
  ref<Wex::rcExtWindow> GetWindow() override { return nullptr; }
  void SetItemState(std::int32_t, bool) override { Log("state"); }
  bool GetItemState(std::int32_t) override { return false; }
  void SetRadioGroup(std::int32_t, std::int32_t, std::int32_t) override { Log("radio"); }
  std::int32_t GetRadioGroup(std::int32_t, std::int32_t) override { return -1; }
  void SetPopUpIndex(std::int32_t, std::int32_t) override { Log("pop-up"); }
  std::int32_t GetPopUpIndex(std::int32_t) override { return -1; }
  void SetItemText(std::int32_t tag, const refString& text) override {
    Log("text " + std::to_string(tag) + " " + std::string(text->GetText()));
    if (tag == 4) fField = text->GetText();
  }
  refString GetItemText(std::int32_t tag) override {
    Log("get " + std::to_string(tag));
    return fField.empty() ? nullptr : Wex::MakeRCString(fField);
  }
  void SetItemString(std::int32_t tag, const refString& text) override {
    Log("string " + std::to_string(tag) + " " + std::string(text->GetText()));
  }
  refString GetItemString(std::int32_t) override { return nullptr; }
  void EnableItem(std::int32_t, bool) override { Log("enable"); }
  void EnableItems(std::int32_t, std::int32_t, bool) override { Log("enable"); }
  void SetItemTitle(std::int32_t, const refString&) override { Log("title"); }
  void SetFocusItem(std::int32_t tag) override { Log("focus " + std::to_string(tag)); }
  void SetDefaultItem(std::int32_t) override { Log("default"); }

 private:
  void Log(std::string line) { fLog.push_back(std::move(line)); }
};

TEST(SimpleTextEditHandler, FillsTheItemsEndsOnOneAndTwoAndReadsTheTextBack) {
  const ref<rcRecordingDialog> dialog(new rcRecordingDialog());
  const iref<Wex::iDialog> asDialog(dialog);
  // The texts count up to their first NUL.
  const ref<Wex::SimpleTextEditHandler> handler(
      new Wex::SimpleTextEditHandler(std::string("Name:\0hidden", 12), std::string("Gr\xf6\xdf" "e\0x", 7)));
  handler->DialogOpening(asDialog);
  std::vector<bool> handled;
  for (const std::int32_t tag : {3, 1, 2, 0, 4}) handled.push_back(handler->ItemAction(asDialog, tag));
  EXPECT_EQ(handled, (std::vector<bool>{false, true, true, false, false}));
  dialog->fField = "edited";
  handler->DialogClosed(asDialog);
  EXPECT_EQ(handler->GetText(), "edited");
  dialog->fField.clear();
  handler->DialogClosed(asDialog);
  EXPECT_EQ(handler->GetText(), "");
  EXPECT_EQ(dialog->fLog, (std::vector<std::string>{"string 3 Name:", "text 4 Gr\xf6\xdf" "e", "focus 4", "end 1",
                                                    "end 0", "get 4", "get 4"}));
}

TEST(SimpleTextEditRunner, AReplacementReceivesTheArgumentsAndAnswersText) {
  std::vector<std::string> prompts;
  const Wex::SimpleTextEditRunner previous =
      Wex::SetSimpleTextEditRunner([&](const ref<Wex::rcGUIRoot>& host, const std::string& prompt, std::string& text) {
        EXPECT_FALSE(host);
        prompts.push_back(prompt + "|" + text);
        text = "typed";
        return prompt == "OK?";
      });
  std::string text = "before";
  EXPECT_TRUE(Wex::RunSimpleTextEditDialog(nullptr, "OK?", text));
  EXPECT_EQ(text, "typed");
  EXPECT_FALSE(Wex::RunSimpleTextEditDialog(nullptr, "Cancel?", text));
  EXPECT_EQ(prompts, (std::vector<std::string>{"OK?|before", "Cancel?|typed"}));
  Wex::SetSimpleTextEditRunner(previous);
}

}  // namespace
