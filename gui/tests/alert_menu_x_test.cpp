// Alerts and pop-up menus on a private X display, answered from inside.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "base/encoding.h"
#include "gui/alert.h"
#include "gui/menu.h"
#include "gui/tests/modal_driver.h"
#include "gui/tests/x_harness.h"
#include "platform/modal_run.h"

namespace {

using GuiTest::Input;
using GuiTest::Repeat;
using Act = std::function<void(GtkDialog*)>;

void Press(GtkDialog* alert, std::int32_t id) {
  gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(alert, id)));
}

// Shows an alert and acts on it once it shows.
std::int32_t Alert(std::int32_t style, std::int32_t set, std::int32_t defaultId, const char* message, Act act) {
  GuiTest::WhenShown(GTK_TYPE_MESSAGE_DIALOG, [act](GtkWindow* alert) { act(GTK_DIALOG(alert)); });
  return Wex::RunAlert(style, set, defaultId, Wex::MakeRCString(message), Wex::MakeRCString("Gr\xf6\xdf" "e"), nullptr);
}

TEST(AlertOnX, KeysAndClicksAnswerTheButtonIds) {
  const auto keys = [](std::vector<std::string> k) {
    k.insert(k.begin(), "key");
    return [k](GtkDialog* alert) { Input(GTK_WINDOW(alert), k); };
  };
  // A stop outside any run does nothing, and does not reach the next run.
  Platform::StopModalRun(5);
  const struct {
    std::int32_t set, defaultId;
    Act act;
    std::int32_t pressed;
  } cases[] = {{4, 4, keys({"Return"}), 4},
               {0, 0, keys({"Return"}), 0},
               {1, 0, keys({"Escape"}), 1},
               {5, 2, [](GtkDialog* alert) { Press(alert, 6); }, 6},
               // Without Cancel and a default button, Escape, Return and the close box do nothing.
               {3, 0,
                [&](GtkDialog* alert) {
                  keys({"Escape", "Return"})(alert);
                  gtk_window_close(GTK_WINDOW(alert));
                  GuiTest::After(300, [alert] { Press(alert, 3); });
                },
                3}};
  for (const auto& c : cases) EXPECT_EQ(Alert(0, c.set, c.defaultId, "Message", c.act), c.pressed) << c.set;
}

TEST(AlertOnX, TextsShowLiterallyAndTheStyleChoosesTheKind) {
  const char* const message = "50% & <b>bold</b> %s%n";
  for (const auto& [style, type] : {std::pair{3, GTK_MESSAGE_INFO}, {4, GTK_MESSAGE_ERROR}, {1, GTK_MESSAGE_WARNING}}) {
    std::vector<std::string> shown;
    GtkMessageType shownType = GTK_MESSAGE_OTHER;
    EXPECT_EQ(Alert(style, 0, 0, message,
                    [&](GtkDialog* alert) {
                      GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(alert));
                      for (GtkWidget* w : GuiTest::GetDescendants(area)) {
                        if (GTK_IS_LABEL(w) && gtk_widget_get_visible(w)) {
                          shown.emplace_back(gtk_label_get_text(GTK_LABEL(w)));
                        }
                      }
                      g_object_get(alert, "message-type", &shownType, nullptr);
                      Press(alert, 0);
                    }),
              0);
    EXPECT_EQ(shown, (std::vector<std::string>{message, "Gr\u00f6\u00dfe"}));
    EXPECT_EQ(shownType, type);
  }
}

TEST(MenuOnX, KeysChooseEnabledItemsOnlyAndTheItemsShowAsInserted) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_widget_show(window);
  const ref<Wex::rcExtWindow> wrapper(new Wex::rcExtWindow(GTK_WINDOW(window)));
  const ref<Wex::rcMenu> menu(new Wex::rcMenu());
  menu->InsertItem(0, false, false, *Wex::WideToUTF16(L"&Disabled"), 5);
  menu->InsertItem(1, true, true, *Wex::WideToUTF16(L"Mar&ked"), 6);
  menu->InsertSeparator(2);
  menu->InsertItem(3, true, false, *Wex::WideToUTF16(L"Plain"), 7);
  std::vector<std::string> seen;
  // Pops the menu up from a task (over the window, or the screen) and presses the keys once it shows.
  const auto choose = [&](const ref<Wex::rcExtWindow>& over, std::vector<std::string> keys) {
    std::int32_t chosen = -1;
    Repeat([&] {
      GtkMenuShell* shown = GuiTest::FindShownMenu();
      if (shown == nullptr) return false;
      seen.clear();
      for (GtkWidget* item : GuiTest::GetDescendants(GTK_WIDGET(shown))) {
        if (!GTK_IS_MENU_ITEM(item)) continue;
        std::string line = GTK_IS_SEPARATOR_MENU_ITEM(item) ? "-" : gtk_menu_item_get_label(GTK_MENU_ITEM(item));
        if (GTK_IS_CHECK_MENU_ITEM(item)) {
          line += gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(item)) ? " [x]" : " [ ]";
        }
        seen.push_back(line + (gtk_widget_get_sensitive(item) ? "" : " (off)"));
      }
      keys.insert(keys.begin(), "key");
      Input(nullptr, keys);
      return true;
    });
    Repeat([&] {
      chosen = menu->PopUp(over, {40, 60});
      return true;
    });
    EXPECT_TRUE(GuiTest::RunUntil([&] { return chosen != -1; }));
    return chosen;
  };
  // The disabled first item is skipped: Down reaches the marked one. A second pop-up at the same
  // point answers the new choice, never the old one.
  EXPECT_EQ(choose(wrapper, {"Down", "Return"}), 6);
  EXPECT_EQ(seen, (std::vector<std::string>{"Disabled (off)", "Marked [x]", "-", "Plain"}));
  EXPECT_EQ(choose(wrapper, {"Escape"}), 0);
  EXPECT_EQ(choose(nullptr, {"Down", "Down", "Return"}), 7);
  EXPECT_EQ(choose(wrapper, {"Escape"}), 0);
  gtk_widget_destroy(window);
}

}  // namespace
