// Dialog resources, dialog items, modal dialogs and the text-edit dialog on a private X
// display, answered from inside.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/encoding.h"
#include "base/exceptions.h"
#include "base/files.h"
#include "gui/modal_dialog.h"
#include "gui/nib.h"
#include "gui/simple_text_edit.h"
#include "gui/tests/modal_driver.h"
#include "gui/tests/x_harness.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "platform/modal_run.h"

namespace {

using GuiTest::Repeat;
using Log = std::vector<std::string>;

std::string Fixture(const char* relative) {
  return Wex::ReadFileAsString(QorFiles::Path(Wex::UTF8ToWide(std::string(MAROVELL_SOURCE_DIR "/") + relative)));
}

// The message of the xExceptionWithRCString that the call throws, empty when it throws none.
std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Wex::xExceptionWithRCString& e) {
    return std::string(e.GetMessage()->GetText());
  }
  return {};
}

GtkWidget* FindTagged(GtkWidget* root, const char* id) {
  for (GtkWidget* widget : GuiTest::GetDescendants(root)) {
    if (g_strcmp0(gtk_buildable_get_name(GTK_BUILDABLE(widget)), id) == 0) return widget;
  }
  return nullptr;
}

int CountToplevels() {
  GList* windows = gtk_window_list_toplevels();
  const int count = static_cast<int>(g_list_length(windows));
  g_list_free(windows);
  return count;
}

// A handler that logs its calls and ends the run as told.
class rcLoggingHandler : public Wex::rc, public Wex::iDialogHandler {
 public:
  Log fLog;
  std::function<void(const iref<Wex::iDialog>&, std::int32_t)> fOnAction;

  void DialogOpening(const iref<Wex::iDialog>& dialog) override { fLog.push_back(dialog ? "opening" : "opening null"); }
  bool ItemAction(const iref<Wex::iDialog>& dialog, std::int32_t tag) override {
    fLog.push_back("action " + std::to_string(tag));
    if (fOnAction) fOnAction(dialog, tag);
    return true;
  }
  void DialogClosed(const iref<Wex::iDialog>& dialog) override { fLog.push_back(dialog ? "closed" : "closed null"); }
};

// A dialog over the same items that logs the item calls made through the interface.
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
    fBundle.WriteResource("Items", "ui", Fixture("gui/tests/dialog_items.ui"));
    fBundle.WriteResource("Accessory", "ui", Fixture("gui/tests/accessory.ui"));
    fBundle.WriteResource("KVSimpleTextEdit", "ui", Fixture("gui/ui/KVSimpleTextEdit.ui"));
  }

  ref<Wex::rcCocoaModalDialog> Open(const char* nib, const iref<Wex::iDialogHandler>& handler) {
    return ref<Wex::rcCocoaModalDialog>(new Wex::rcCocoaModalDialog(
        Wex::GetCurrentImageBundle(), Wex::MakeRCString(nib), Wex::MakeRCString("Dialog"), 0, handler));
  }

  ResourcesTest::TemporaryBundle fBundle;
  ref<rcLoggingHandler> fHandler{new rcLoggingHandler()};
};

TEST_F(DialogOnX, ResourcesThatCannotLoadGiveTheirErrorsAndLeaveNoWindow) {
  fBundle.WriteResource("Broken", "ui", "<interface><object class=\"GtkWindow\" id=\"window\"/><object class=\"NoSuchClass\"/>");
  fBundle.WriteResource("Malformed", "ui", "<interface><object");
  const int toplevels = CountToplevels();
  const std::vector<std::pair<const char*, std::string>> cases = {{"Missing", "Could not open dialog resource"},
                                                                  {"", "Could not open dialog resource"},
                                                                  {"Broken", "Could not open dialog resource"},
                                                                  {"Malformed", "Could not open dialog resource"},
                                                                  {"Accessory", "Missing window resource"}};
  for (const auto& [nib, error] : cases) EXPECT_EQ(ErrorOf([&] { Open(nib, nullptr); }), error) << nib;
  EXPECT_EQ(ErrorOf([&] { g_object_unref(Wex::LoadDialogView(*Wex::GetCurrentImageBundle(), Wex::MakeRCString("Items"))); }),
            "Missing view resource");
  EXPECT_EQ(CountToplevels(), toplevels);
}

TEST_F(DialogOnX, ItemsAreFoundByTagCheckedByKindAndSetWithoutActions) {
  const ref<Wex::rcCocoaModalDialog> modal = Open("Items", iref<Wex::iDialogHandler>(fHandler));
  Wex::CocoaDialog& items = static_cast<Wex::CocoaDialog&>(*modal->GetDialog());
  GtkWidget* window = items.GetView();

  // Radio groups go through the interface, with the sums in 64 bits.
  const ref<rcLoggingDialog> logging(new rcLoggingDialog(items.GetWindow(), window));
  logging->SetItemState(2, true);
  logging->SetItemState(3, true);
  EXPECT_EQ(logging->GetRadioGroup(1, 3), 1);
  EXPECT_EQ(logging->GetRadioGroup(1, 0), -1);
  logging->SetRadioGroup(1, 3, 5);
  EXPECT_EQ(logging->GetRadioGroup(1, 3), -1);
  logging->SetRadioGroup(1, 3, 2);
  logging->EnableItems(INT_MAX - 1, 5, true);
  EXPECT_EQ(logging->fLog, (Log{"set 2 on", "set 3 on", "get 1", "get 2", "set 1 off", "set 2 off", "set 3 off",
                                "get 1", "get 2", "get 3", "set 1 off", "set 2 off", "set 3 on",
                                "enable 2147483646", "enable 2147483647"}));
  EXPECT_EQ(items.GetRadioGroup(1, 3), 2);
  // A mixed state counts as on; a push button keeps a state of its own.
  gtk_toggle_button_set_inconsistent(GTK_TOGGLE_BUTTON(FindTagged(window, "tag-1")), TRUE);
  EXPECT_TRUE(items.GetItemState(1));
  items.SetItemState(5, true);
  EXPECT_TRUE(items.GetItemState(5));

  // Texts pass in ISO Latin-1; labels and buttons take texts too, other controls none.
  gtk_entry_set_text(GTK_ENTRY(FindTagged(window, "tag-4")), "Stra\u00dfe \u20ac");
  EXPECT_EQ(items.GetItemText(4)->GetText(), "Stra\xdf" "e _");
  items.SetItemText(5, Wex::MakeRCString("Go"));
  items.SetItemString(10, Wex::MakeRCString("Gr\xf6\xdf" "e"));
  EXPECT_EQ(items.GetItemText(5)->GetText(), "Go");
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(FindTagged(window, "tag-10"))), "Gr\u00f6\u00dfe");
  items.SetItemText(4, nullptr);
  EXPECT_FALSE(items.GetItemText(4));
  items.SetItemText(9, Wex::MakeRCString("ignored"));
  EXPECT_FALSE(items.GetItemString(9));
  items.SetItemTitle(5, Wex::MakeRCString("Save && E&xit_"));
  EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(FindTagged(window, "tag-5"))), "Save & Exit_");
  EXPECT_FALSE(gtk_button_get_use_underline(GTK_BUTTON(FindTagged(window, "tag-5"))));
  items.SetPopUpIndex(9, 1);
  EXPECT_EQ(items.GetPopUpIndex(9), 1);
  items.SetPopUpIndex(9, 2);
  EXPECT_EQ(items.GetPopUpIndex(9), -1);
  items.EnableItems(3, 2, false);
  EXPECT_FALSE(gtk_widget_get_sensitive(FindTagged(window, "tag-3")));
  EXPECT_FALSE(gtk_widget_get_sensitive(FindTagged(window, "tag-4")));
  EXPECT_TRUE(gtk_widget_get_sensitive(FindTagged(window, "tag-5")));
  // Nothing set from code was reported as an action.
  EXPECT_EQ(fHandler->fLog, Log{});

  const std::vector<std::pair<std::function<void()>, std::string>> errors = {
      {[&] { items.SetItemState(4, true); }, "Dialog item is of unexpected class"},
      {[&] { items.GetPopUpIndex(5); }, "Dialog item is of unexpected class"},
      {[&] { items.SetItemTitle(10, nullptr); }, "Dialog item is of unexpected class"},
      {[&] { items.EnableItem(6, true); }, "Dialog item is of unexpected class"},
      {[&] { items.SetItemText(99, nullptr); }, "Missing dialog item"},
      {[&] { items.SetFocusItem(0); }, "Missing dialog item"},
      {[&] { items.SetDefaultItem(8); }, ""}};
  for (const auto& [call, error] : errors) EXPECT_EQ(ErrorOf(call), error);

  // The user's actions report their tags, nested controls' too; untagged controls report none.
  for (const char* id : {"tag-5", "tag-8", "tag-99999999999"}) gtk_button_clicked(GTK_BUTTON(FindTagged(window, id)));
  g_signal_emit_by_name(FindTagged(window, "tag-4"), "activate");
  gtk_combo_box_set_active(GTK_COMBO_BOX(FindTagged(window, "tag-9")), 0);
  EXPECT_EQ(fHandler->fLog, (Log{"action 5", "action 8", "action 4", "action 9"}));
  // A closed dialog's controls reach no handler.
  GtkWidget* button = GTK_WIDGET(g_object_ref(FindTagged(window, "tag-5")));
  modal->Close();
  gtk_button_clicked(GTK_BUTTON(button));
  g_object_unref(button);
  EXPECT_EQ(fHandler->fLog.size(), 4u);
  EXPECT_EQ(modal->RunModal(nullptr), 0);
}

// Runs the text-edit dialog once, acting on its window when it shows.
std::int32_t RunEveryWayOut(rcLoggingHandler& handler, const ref<Wex::rcCocoaModalDialog>& dialog,
                            std::function<void(GtkWindow*)> act) {
  Repeat([act] {
    GtkWindow* window = GuiTest::FindShownWindow(GTK_TYPE_DIALOG);
    if (window == nullptr) return false;
    act(window);
    return true;
  });
  handler.fLog.clear();
  return dialog->RunModal(nullptr);
}

TEST_F(DialogOnX, EveryWayOutOfTheModalRunReachesTheHandler) {
  fHandler->fOnAction = [](const iref<Wex::iDialog>& dialog, std::int32_t tag) {
    if (tag == 1 || tag == 2) dialog->EndModal(10 + tag);
  };
  const ref<Wex::rcCocoaModalDialog> dialog = Open("KVSimpleTextEdit", iref<Wex::iDialogHandler>(fHandler));
  const struct {
    std::function<void(GtkWindow*)> act;
    std::int32_t code;
    Log log;
  } ways[] = {
      {[](GtkWindow* w) { gtk_button_clicked(GTK_BUTTON(FindTagged(GTK_WIDGET(w), "tag-1"))); }, 11,
       {"opening", "action 1", "closed"}},
      // Return in the entry reports the entry, then presses the default button.
      {[](GtkWindow* w) { GuiTest::PressKeys(w, {"Return"}); }, 11, {"opening", "action 4", "action 1", "closed"}},
      {[](GtkWindow* w) { GuiTest::PressKeys(w, {"Escape"}); }, 12, {"opening", "action 2", "closed"}},
      {[](GtkWindow* w) { gtk_window_close(w); }, 12, {"opening", "action 2", "closed"}},
  };
  for (const auto& way : ways) {
    EXPECT_EQ(RunEveryWayOut(*fHandler, dialog, way.act), way.code);
    EXPECT_EQ(fHandler->fLog, way.log);
  }
  fHandler->fOnAction = [](const iref<Wex::iDialog>& dialog, std::int32_t) { dialog->EndModal(7); };
  EXPECT_EQ(RunEveryWayOut(*fHandler, dialog, [](GtkWindow* w) { gtk_button_clicked(GTK_BUTTON(FindTagged(GTK_WIDGET(w), "tag-2"))); }), 7);
  EXPECT_EQ(fHandler->fLog, (Log{"opening", "action 2", "closed"}));
}

TEST_F(DialogOnX, WithoutAHandlerTheCloseBoxLeavesTheWindowOpen) {
  const ref<Wex::rcCocoaModalDialog> dialog = Open("KVSimpleTextEdit", nullptr);
  bool stayed = false;
  Repeat([&] {
    GtkWindow* window = GuiTest::FindShownWindow(GTK_TYPE_DIALOG);
    if (window == nullptr) return false;
    gtk_window_close(window);
    const std::int64_t closed = Wex::GetMilliseconds();
    Repeat([&stayed, closed] {
      if (Wex::GetMilliseconds() - closed < 200) return false;
      stayed = GuiTest::FindShownWindow(GTK_TYPE_DIALOG) != nullptr;
      Platform::StopModalRun(3);
      return true;
    });
    return true;
  });
  EXPECT_EQ(dialog->RunModal(nullptr), 3);
  EXPECT_TRUE(stayed);
}

TEST_F(DialogOnX, TheTextEditDialogAnswersTheTypedTextOnlyWhenConfirmed) {
  std::string prompt;
  std::string text = "old";
  Repeat([&] {
    GtkWindow* window = GuiTest::FindShownWindow(GTK_TYPE_DIALOG);
    if (window == nullptr) return false;
    prompt = gtk_label_get_text(GTK_LABEL(FindTagged(GTK_WIDGET(window), "tag-3")));
    GuiTest::PressKeys(window, {"ctrl+a"});
    GuiTest::TypeText(window, "new text");
    GuiTest::PressKeys(window, {"Return"});
    return true;
  });
  EXPECT_TRUE(Wex::RunSimpleTextEditDialog(nullptr, "Name \xe9:", text));
  EXPECT_EQ(text, "new text");
  EXPECT_EQ(prompt, "Name \u00e9:");

  // Escape, Cancel and the close box leave the text as it was, edited or not.
  const std::function<void(GtkWindow*)> cancels[] = {
      [](GtkWindow* w) { GuiTest::PressKeys(w, {"Escape"}); },
      [](GtkWindow* w) { gtk_button_clicked(GTK_BUTTON(FindTagged(GTK_WIDGET(w), "tag-2"))); },
      [](GtkWindow* w) { gtk_window_close(w); }};
  for (const auto& cancel : cancels) {
    Repeat([&] {
      GtkWindow* window = GuiTest::FindShownWindow(GTK_TYPE_DIALOG);
      if (window == nullptr) return false;
      gtk_entry_set_text(GTK_ENTRY(FindTagged(GTK_WIDGET(window), "tag-4")), "edited");
      cancel(window);
      return true;
    });
    EXPECT_FALSE(Wex::RunSimpleTextEditDialog(nullptr, "Name:", text));
    EXPECT_EQ(text, "new text");
  }
  {
    const ResourcesTest::TemporaryBundle without;
    EXPECT_EQ(ErrorOf([&] { Wex::RunSimpleTextEditDialog(nullptr, "Name:", text); }), "Could not open dialog resource");
  }
  EXPECT_EQ(text, "new text");
}

}  // namespace
