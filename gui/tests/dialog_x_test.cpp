// Dialog resources, dialog items, modal dialogs and the text-edit dialog on a private X
// display, answered from inside.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <climits>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gui/modal_dialog.h"
#include "gui/nib.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/simple_text_edit.h"
#include "gui/tests/modal_driver.h"
#include "gui/tests/x_harness.h"
#include "platform/modal_run.h"

namespace {

using GuiTest::ErrorOf;
using GuiTest::FindById;
using Log = std::vector<std::string>;
using Act = std::function<void(GtkWindow*)>;

void Click(GtkWindow* window, const char* id) { GuiTest::ClickById(GTK_WIDGET(window), id); }

// Acts on the dialog window once it shows.
void WhenShown(Act act) { GuiTest::WhenShown(GTK_TYPE_DIALOG, std::move(act)); }

// Logs its calls and ends the run with 10 + the tag for items 1 and 2, or with a fixed code.
class rcLoggingHandler : public Wex::rc, public Wex::iDialogHandler {
 public:
  Log fLog;
  std::int32_t fCode = 0;
  void DialogOpening(const iref<Wex::iDialog>&) override { fLog = {"opening"}; }
  bool ItemAction(const iref<Wex::iDialog>& dialog, std::int32_t tag) override {
    fLog.push_back("action " + std::to_string(tag));
    if (fCode != 0 || tag == 1 || tag == 2) dialog->EndModal(fCode != 0 ? fCode : 10 + tag);
    return true;
  }
  void DialogClosed(const iref<Wex::iDialog>&) override { fLog.push_back("closed"); }
};

// Logs the item calls that reach it through the interface.
class rcLoggingDialog : public Wex::CocoaDialog {
 public:
  using CocoaDialog::CocoaDialog;
  Log fLog;
  void SetItemState(std::int32_t tag, bool on) override {
    fLog.push_back("set " + std::to_string(tag) + (on ? " on" : " off"));
    CocoaDialog::SetItemState(tag, on);
  }
  bool GetItemState(std::int32_t tag) override {
    fLog.push_back("get " + std::to_string(tag));
    return CocoaDialog::GetItemState(tag);
  }
  void EnableItem(std::int32_t tag, bool) override { fLog.push_back("enable " + std::to_string(tag)); }
};

class DialogOnX : public ::testing::Test {
 protected:
  DialogOnX() {
    fBundle.WriteResource("Items", "ui", GuiTest::SourceFile("gui/tests/dialog_items.ui"));
    fBundle.WriteResource("Accessory", "ui", GuiTest::SourceFile("gui/tests/accessory.ui"));
    fBundle.WriteResource("KVSimpleTextEdit", "ui", GuiTest::SourceFile("gui/ui/KVSimpleTextEdit.ui"));
  }
  ref<Wex::rcCocoaModalDialog> Open(const char* nib, const iref<Wex::iDialogHandler>& handler) {
    return ref<Wex::rcCocoaModalDialog>(new Wex::rcCocoaModalDialog(
        Wex::GetCurrentImageBundle(), Wex::MakeRCString(nib), Wex::MakeRCString("Dialog"), 0, handler));
  }

  ResourcesTest::TemporaryBundle fBundle;
  ref<rcLoggingHandler> fHandler{new rcLoggingHandler()};
};

TEST_F(DialogOnX, ResourcesThatCannotLoadGiveTheirErrorsAndLeaveNoWindow) {
  fBundle.WriteResource("Broken", "ui", "<interface><object class=\"GtkWindow\" id=\"window\"/><object class=\"No\"/>");
  fBundle.WriteResource("Truncated", "ui", "<interface><object");
  const guint windows = GuiTest::CountToplevels();
  const std::pair<const char*, std::string> cases[] = {
      {"Missing", "Could not open dialog resource"}, {"", "Could not open dialog resource"},
      {"Broken", "Could not open dialog resource"},  {"Truncated", "Could not open dialog resource"},
      {"Accessory", "Missing window resource"}};
  for (const auto& c : cases) EXPECT_EQ(ErrorOf([&] { Open(c.first, nullptr); }), c.second) << c.first;
  EXPECT_EQ(ErrorOf([] { Wex::LoadDialogView(*Wex::GetCurrentImageBundle(), Wex::MakeRCString("Items")); }),
            "Missing view resource");
  EXPECT_EQ(GuiTest::CountToplevels(), windows);
}

TEST_F(DialogOnX, ItemsAreFoundByTagCheckedByKindAndSetWithoutActions) {
  const ref<Wex::rcCocoaModalDialog> modal = Open("Items", iref<Wex::iDialogHandler>(fHandler));
  Wex::CocoaDialog& items = static_cast<Wex::CocoaDialog&>(*modal->GetDialog());
  GtkWidget* view = items.GetView();
  // Radio groups and ranges call through the interface, with the sums in 64 bits.
  const ref<rcLoggingDialog> logging(new rcLoggingDialog(items.GetWindow(), view));
  logging->SetItemState(2, true);
  logging->SetItemState(3, true);
  EXPECT_EQ(logging->GetRadioGroup(1, 3), 1);
  EXPECT_EQ(logging->GetRadioGroup(1, 0), -1);
  logging->SetRadioGroup(1, 3, 5);
  EXPECT_EQ(logging->GetRadioGroup(1, 3), -1);
  logging->EnableItems(INT_MAX - 1, 5, true);
  EXPECT_EQ(logging->fLog, (Log{"set 2 on", "set 3 on", "get 1", "get 2", "set 1 off", "set 2 off", "set 3 off",
                                "get 1", "get 2", "get 3", "enable 2147483646", "enable 2147483647"}));
  // A mixed state counts as on; a push button keeps a state of its own.
  gtk_toggle_button_set_inconsistent(GTK_TOGGLE_BUTTON(FindById(view, "tag-3")), TRUE);
  items.SetItemState(5, true);
  EXPECT_EQ(items.GetRadioGroup(3, 3), 0);
  EXPECT_TRUE(items.GetItemState(5));
  // Texts pass in ISO Latin-1 to entries, labels and buttons, and to no other control.
  gtk_entry_set_text(GTK_ENTRY(FindById(view, "tag-4")), "Stra\u00dfe \u20ac");
  EXPECT_EQ(items.GetItemText(4)->GetText(), "Stra\xdf" "e _");
  items.SetItemText(5, Wex::MakeRCString("Go"));
  items.SetItemString(10, Wex::MakeRCString("Gr\xf6\xdf" "e"));
  items.SetItemText(9, Wex::MakeRCString("ignored"));
  EXPECT_EQ(items.GetItemText(5)->GetText(), "Go");
  EXPECT_EQ(items.GetItemString(10)->GetText(), "Gr\xf6\xdf" "e");
  EXPECT_FALSE(items.GetItemText(9));
  items.SetItemTitle(5, Wex::MakeRCString("Save && E&xit_"));
  EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(FindById(view, "tag-5"))), "Save & Exit_");
  items.SetPopUpIndex(9, 1);
  EXPECT_EQ(items.GetPopUpIndex(9), 1);
  items.SetPopUpIndex(9, 2);
  EXPECT_EQ(items.GetPopUpIndex(9), -1);
  EXPECT_EQ(fHandler->fLog, Log{});

  const std::pair<std::function<void()>, std::string> errors[] = {
      {[&] { items.SetItemState(4, true); }, "Dialog item is of unexpected class"},
      {[&] { items.GetPopUpIndex(5); }, "Dialog item is of unexpected class"},
      {[&] { items.EnableItem(6, true); }, "Dialog item is of unexpected class"},
      {[&] { items.SetItemText(99, nullptr); }, "Missing dialog item"}};
  for (const auto& e : errors) EXPECT_EQ(ErrorOf(e.first), e.second);

  // The user's actions report their tags, nested controls' too; untagged controls report none,
  // and a closed dialog's controls nothing.
  for (const char* id : {"tag-5", "tag-8", "tag-99999999999"}) GuiTest::ClickById(view, id);
  g_signal_emit_by_name(FindById(view, "tag-4"), "activate");
  GtkWidget* button = GTK_WIDGET(g_object_ref(FindById(view, "tag-5")));
  modal->Close();
  gtk_button_clicked(GTK_BUTTON(button));
  g_object_unref(button);
  EXPECT_EQ(fHandler->fLog, (Log{"action 5", "action 8", "action 4"}));
}

TEST_F(DialogOnX, EveryWayOutOfTheModalRunReachesTheHandler) {
  const ref<Wex::rcCocoaModalDialog> dialog = Open("KVSimpleTextEdit", iref<Wex::iDialogHandler>(fHandler));
  const auto keys = [](const char* key) { return [key](GtkWindow* w) { GuiTest::Input(w, {"key", key}); }; };
  const struct {
    Act act;
    std::int32_t handlerCode, code;  // the code that the handler ends the run with, 0 for 10 + the tag
    Log log;
  } ways[] = {{[](GtkWindow* w) { Click(w, "tag-1"); }, 0, 11, {"opening", "action 1", "closed"}},
              // Return in the entry reports the entry, then presses the default button.
              {keys("Return"), 0, 11, {"opening", "action 4", "action 1", "closed"}},
              {keys("Escape"), 0, 12, {"opening", "action 2", "closed"}},
              {[](GtkWindow* w) { gtk_window_close(w); }, 0, 12, {"opening", "action 2", "closed"}},
              {[](GtkWindow* w) { Click(w, "tag-2"); }, 7, 7, {"opening", "action 2", "closed"}}};
  for (const auto& way : ways) {
    fHandler->fCode = way.handlerCode;
    WhenShown(way.act);
    EXPECT_EQ(dialog->RunModal(nullptr), way.code) << way.log[1];
    EXPECT_EQ(fHandler->fLog, way.log);
  }

  // Without a handler the close box leaves the window open.
  const ref<Wex::rcCocoaModalDialog> bare = Open("KVSimpleTextEdit", nullptr);
  bool stayed = false;
  WhenShown([&stayed](GtkWindow* w) {
    gtk_window_close(w);
    GuiTest::After(200, [&stayed] {
      stayed = GuiTest::FindShownWindow(GTK_TYPE_DIALOG) != nullptr;
      Platform::StopModalRun(3);
    });
  });
  EXPECT_EQ(bare->RunModal(nullptr), 3);
  EXPECT_TRUE(stayed);
}

TEST_F(DialogOnX, TheTextEditDialogAnswersTheTypedTextOnlyWhenConfirmed) {
  std::string prompt;
  std::string text = "old";
  WhenShown([&prompt](GtkWindow* w) {
    prompt = gtk_label_get_text(GTK_LABEL(FindById(GTK_WIDGET(w), "tag-3")));
    GuiTest::Input(w, {"key", "ctrl+a"});
    GuiTest::Input(w, {"type", "new text"});
    GuiTest::Input(w, {"key", "Return"});
  });
  EXPECT_TRUE(Wex::RunSimpleTextEditDialog(nullptr, "Name \xe9:", text));
  EXPECT_EQ(text, "new text");
  EXPECT_EQ(prompt, "Name \u00e9:");
  // Escape, Cancel and the close box leave the text as it was, edited or not.
  const Act cancels[] = {[](GtkWindow* w) { GuiTest::Input(w, {"key", "Escape"}); },
                         [](GtkWindow* w) { Click(w, "tag-2"); }, [](GtkWindow* w) { gtk_window_close(w); }};
  for (const Act& cancel : cancels) {
    WhenShown([cancel](GtkWindow* w) {
      gtk_entry_set_text(GTK_ENTRY(FindById(GTK_WIDGET(w), "tag-4")), "edited");
      cancel(w);
    });
    EXPECT_FALSE(Wex::RunSimpleTextEditDialog(nullptr, "Name:", text));
    EXPECT_EQ(text, "new text");
  }
  const ResourcesTest::TemporaryBundle without;
  EXPECT_EQ(ErrorOf([&] { Wex::RunSimpleTextEditDialog(nullptr, "Name:", text); }), "Could not open dialog resource");
  EXPECT_EQ(text, "new text");
}

}  // namespace
