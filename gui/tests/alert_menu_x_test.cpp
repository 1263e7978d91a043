// Alerts, pop-up menus and the modal-run stack on a private X display, answered from inside.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "base/clock.h"
#include "base/encoding.h"
#include "gui/alert.h"
#include "gui/menu.h"
#include "gui/tests/modal_driver.h"
#include "gui/tests/x_harness.h"
#include "platform/modal_run.h"

namespace {

using GuiTest::FindShownWindow;
using GuiTest::PressKeys;
using GuiTest::Repeat;

GtkWindow* ShownAlert() { return FindShownWindow(GTK_TYPE_MESSAGE_DIALOG); }

// A step that waits for the alert and then acts on it once.
std::function<bool()> OnAlert(std::function<void(GtkWindow*)> act) {
  return [act] {
    GtkWindow* alert = ShownAlert();
    if (alert == nullptr) return false;
    act(alert);
    return true;
  };
}

std::int32_t Alert(std::int32_t set, std::int32_t defaultId, const char* message = "Message") {
  return Wex::RunAlert(0, set, defaultId, Wex::MakeRCString(message), Wex::MakeRCString("Informative"), nullptr);
}

TEST(AlertOnX, KeysAndClicksAnswerTheButtonIds) {
  // Return presses the default button only.
  Repeat(OnAlert([](GtkWindow* alert) { PressKeys(alert, {"Return"}); }));
  EXPECT_EQ(Alert(4, 4), 4);
  // A stop outside any run does nothing, and does not reach the next run.
  Platform::StopModalRun(5);
  Repeat(OnAlert([](GtkWindow* alert) { PressKeys(alert, {"Return"}); }));
  EXPECT_EQ(Alert(0, 0), 0);
  // Escape presses Cancel when the set has it.
  Repeat(OnAlert([](GtkWindow* alert) { PressKeys(alert, {"Escape"}); }));
  EXPECT_EQ(Alert(1, 0), 1);
  // A click answers the button's id.
  Repeat(OnAlert([](GtkWindow* alert) {
    gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(GTK_DIALOG(alert), 6)));
  }));
  EXPECT_EQ(Alert(5, 2), 6);
}

TEST(AlertOnX, WithoutCancelEscapeAndCloseLeaveTheAlertAndReturnDoesNothingWithoutADefault) {
  std::int64_t pressed = 0;
  bool stayed = false;
  Repeat(OnAlert([&](GtkWindow* alert) {
    // Set 3 with default 0 has neither Cancel nor a default button.
    PressKeys(alert, {"Escape", "Return"});
    gtk_window_close(alert);
    pressed = Wex::GetMilliseconds();
    Repeat([&] {
      if (Wex::GetMilliseconds() - pressed < 300) return false;
      stayed = ShownAlert() != nullptr;
      gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(GTK_DIALOG(ShownAlert()), 3)));
      return true;
    });
  }));
  EXPECT_EQ(Alert(3, 0), 3);
  EXPECT_TRUE(stayed);
}

TEST(AlertOnX, TextsShowLiterallyAndTheStyleChoosesTheIcon) {
  const char* const texts[] = {"50% & <b>bold</b> %s%n", "Gr\xf6\xdf" "e"};
  std::vector<std::string> shown;
  std::vector<GtkMessageType> types;
  for (const std::int32_t style : {3, 4, 1}) {
    Repeat(OnAlert([&](GtkWindow* alert) {
      for (GtkWidget* widget : GuiTest::GetDescendants(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(alert)))) {
        if (GTK_IS_LABEL(widget) && gtk_widget_get_visible(widget)) shown.emplace_back(gtk_label_get_text(GTK_LABEL(widget)));
      }
      GtkMessageType type = GTK_MESSAGE_OTHER;
      g_object_get(alert, "message-type", &type, nullptr);
      types.push_back(type);
      Wex::RunAlert(0, 0, 0, Wex::MakeRCString("Nested"), nullptr, nullptr);
      gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(GTK_DIALOG(alert), 0)));
    }));
    // A nested alert answered first: the stop reaches the innermost run.
    Repeat([] {
      GList* windows = gtk_window_list_toplevels();
      GtkWindow* nested = nullptr;
      for (GList* w = windows; w != nullptr; w = w->next) {
        if (GTK_IS_MESSAGE_DIALOG(w->data) && gtk_widget_get_mapped(GTK_WIDGET(w->data))) {
          gchar* text = nullptr;
          g_object_get(w->data, "text", &text, nullptr);
          if (g_strcmp0(text, "Nested") == 0) nested = GTK_WINDOW(w->data);
          g_free(text);
        }
      }
      g_list_free(windows);
      if (nested == nullptr) return false;
      Platform::StopModalRun(0);
      return true;
    });
    EXPECT_EQ(Wex::RunAlert(style, 0, 0, Wex::MakeRCString(texts[0]), Wex::MakeRCString(texts[1]), nullptr), 0);
  }
  EXPECT_EQ(shown.size(), 6u);
  for (std::size_t i = 0; i + 1 < shown.size(); i += 2) {
    EXPECT_EQ(shown[i], texts[0]);
    EXPECT_EQ(shown[i + 1], "Gr\u00f6\u00dfe");
  }
  EXPECT_EQ(types, (std::vector<GtkMessageType>{GTK_MESSAGE_INFO, GTK_MESSAGE_ERROR, GTK_MESSAGE_WARNING}));
}

class MenuOnX : public ::testing::Test {
 protected:
  MenuOnX() {
    fMenu->InsertItem(0, false, false, *Wex::WideToUTF16(L"&Disabled"), 5);
    fMenu->InsertItem(1, true, true, *Wex::WideToUTF16(L"Mar&ked"), 6);
    fMenu->InsertSeparator(2);
    fMenu->InsertItem(3, true, false, *Wex::WideToUTF16(L"Plain"), 7);
  }
  void TearDown() override { gtk_widget_destroy(fWindow); }

  // Pops the menu up from a task and presses the keys once it shows; answers the choice.
  std::int32_t Choose(const std::vector<std::string>& keys) {
    std::int32_t chosen = -1;
    Repeat([&] {
      if (GuiTest::FindShownMenu() == nullptr) return false;
      PressKeys(keys);
      return true;
    });
    Repeat([&] {
      chosen = fMenu->PopUp(fWrapper, {40, 60});
      return true;
    });
    EXPECT_TRUE(GuiTest::RunUntil([&] { return chosen != -1; }));
    return chosen;
  }

  GtkWidget* fWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  ref<Wex::rcExtWindow> fWrapper{new Wex::rcExtWindow(GTK_WINDOW(fWindow))};
  ref<Wex::rcMenu> fMenu{new Wex::rcMenu()};
};

TEST_F(MenuOnX, KeysChooseEnabledItemsOnlyAndEscapeChoosesNothing) {
  gtk_widget_show(fWindow);
  ASSERT_TRUE(GuiTest::RunUntil([&] { return gtk_widget_get_mapped(fWindow); }));
  // The disabled first item is skipped: Down reaches the marked one.
  EXPECT_EQ(Choose({"Down", "Return"}), 6);
  EXPECT_EQ(Choose({"Escape"}), 0);
  // A second pop-up at the same point answers the new choice, never the old one.
  EXPECT_EQ(Choose({"Down", "Down", "Return"}), 7);
  EXPECT_EQ(Choose({"Escape"}), 0);
}

TEST_F(MenuOnX, TheShownItemsCarryTitlesChecksAndStates) {
  std::vector<std::string> seen;
  Repeat([&] {
    GtkMenuShell* shown = GuiTest::FindShownMenu();
    if (shown == nullptr) return false;
    GList* items = gtk_container_get_children(GTK_CONTAINER(shown));
    for (GList* i = items; i != nullptr; i = i->next) {
      GtkWidget* item = GTK_WIDGET(i->data);
      std::string line = GTK_IS_SEPARATOR_MENU_ITEM(item) ? "-" : gtk_menu_item_get_label(GTK_MENU_ITEM(item));
      if (GTK_IS_CHECK_MENU_ITEM(item)) line += gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(item)) ? " [x]" : " [ ]";
      if (!gtk_widget_get_sensitive(item)) line += " (off)";
      seen.push_back(line);
    }
    g_list_free(items);
    gtk_menu_shell_deactivate(shown);
    return true;
  });
  // Without a window the menu opens over the screen.
  EXPECT_EQ(fMenu->PopUp(nullptr, {10, 10}), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"Disabled (off)", "Marked [x]", "-", "Plain"}));
}

}  // namespace
