#include "gui/menu.h"

#include <gtk/gtk.h>

#include <utility>

#include "platform/modal_run.h"

namespace Wex {

namespace {

template <class Unit>
aref<rcVector<Unit>> StripMarks(const rcVector<Unit>& text) {
  aref<rcVector<Unit>> stripped(new rcVector<Unit>());
  const std::int64_t n = text.GetSize();
  for (std::int64_t i = 0; i < n; ++i) {
    if (text[i] != Unit('&')) {
      stripped->Append(text[i]);
    } else if (i < n - 1 && text[i + 1] == Unit('&')) {
      stripped->Append(text[i]);
      ++i;
    }
  }
  return stripped;
}

constexpr const char* kTagKey = "marovell-menu-tag";

GtkWidget* MakeToolkitItem(const cMenuItem& item, comkelvane_brimlib_20150413151123_MenuItemTarget& target) {
  if (item.fSeparator) return gtk_separator_menu_item_new();
  // Plain items for unmarked entries: an inactive check item draws an empty box in some themes.
  GtkWidget* widget = item.fMarked ? gtk_check_menu_item_new_with_label(item.fTitle.c_str())
                                   : gtk_menu_item_new_with_label(item.fTitle.c_str());
  gtk_widget_set_sensitive(widget, item.fEnabled);
  // Setting the check emits "activate": it comes before the choice is listened to.
  if (item.fMarked) gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(widget), TRUE);
  g_object_set_data(G_OBJECT(widget), kTagKey, GINT_TO_POINTER(item.fTag));
  g_signal_connect(widget, "activate", G_CALLBACK(+[](GtkMenuItem* chosen, gpointer target) {
                     try {
                       static_cast<comkelvane_brimlib_20150413151123_MenuItemTarget*>(target)->selectMenu(
                           GPOINTER_TO_INT(g_object_get_data(G_OBJECT(chosen), kTagKey)));
                     } catch (...) {
                     }
                   }),
                   &target);
  return widget;
}

// Shows a toolkit menu of the items and iterates the default main context until it closes.
std::int32_t PopUpToolkitMenu(rcMenu& menu, const ref<rcExtWindow>& window, cPoint point) {
  // The target outlives the menu when a task releases the menu while it is shown.
  const ref<comkelvane_brimlib_20150413151123_MenuItemTarget> held(&menu.GetTarget());
  comkelvane_brimlib_20150413151123_MenuItemTarget& target = *held;
  target.resetSelectedTag();
  if (gdk_display_get_default() == nullptr) return 0;

  GtkWidget* shown = GTK_WIDGET(g_object_ref_sink(gtk_menu_new()));
  for (const cMenuItem& item : menu.GetItems()) {
    GtkWidget* widget = MakeToolkitItem(item, target);
    gtk_widget_show(widget);
    gtk_menu_shell_append(GTK_MENU_SHELL(shown), widget);
  }
  // "deactivate" comes before the chosen item's "activate": the loop ends from an idle call
  // after both.
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  const gulong deactivateHandler = g_signal_connect(
      shown, "deactivate", G_CALLBACK(+[](GtkMenuShell*, gpointer loop) {
        try {
          g_idle_add_full(
              G_PRIORITY_DEFAULT_IDLE,
              [](gpointer loop) {
                g_main_loop_quit(static_cast<GMainLoop*>(loop));
                return G_SOURCE_REMOVE;
              },
              g_main_loop_ref(static_cast<GMainLoop*>(loop)), reinterpret_cast<GDestroyNotify>(g_main_loop_unref));
        } catch (...) {
        }
      }),
      loop);

  // The point is in screen coordinates, y downward like the toolkit's: it needs no flip, only
  // the origin of the window over which the menu opens.
  GdkWindow* over = window && window->GetGtkWindow() != nullptr
                        ? gtk_widget_get_window(GTK_WIDGET(window->GetGtkWindow()))
                        : nullptr;
  gint originX = 0;
  gint originY = 0;
  if (over != nullptr) {
    gdk_window_get_origin(over, &originX, &originY);
  } else {
    over = gdk_get_default_root_window();
  }
  const GdkRectangle at{WrapSub(WrapSub(point.fX, 1), originX), WrapSub(point.fY, originY), 1, 1};
  // The click that asked for the menu, when there is one; from a timer task there is none, and
  // the menu takes the seat's pointer and keys.
  GdkEvent* trigger = gtk_get_current_event();
  gtk_menu_popup_at_rect(GTK_MENU(shown), over, &at, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, trigger);
  if (trigger != nullptr) gdk_event_free(trigger);
  // A menu that could not take the pointer and keys is not shown and never closes; one that the
  // program's end cancels chooses nothing.
  if (gtk_widget_get_visible(shown) && !Platform::RunNestedLoop(loop)) target.resetSelectedTag();

  g_signal_handler_disconnect(shown, deactivateHandler);
  gtk_widget_destroy(shown);
  g_object_unref(shown);
  g_main_loop_unref(loop);
  return target.selectedTag();
}

MenuPopUp& GetPopUp() {
  static MenuPopUp popUp = PopUpToolkitMenu;
  return popUp;
}

}  // namespace

aref<rcVector<UniChar>> StripMnemonics(const rcVector<UniChar>& label) { return StripMarks(label); }
aref<rcVector<char>> StripMnemonics(const rcVector<char>& title) { return StripMarks(title); }

rcMenu::rcMenu() : fTarget(new comkelvane_brimlib_20150413151123_MenuItemTarget()) {}

void rcMenu::InsertItem(std::int32_t index, bool enabled, bool marked, const rcVector<UniChar>& label,
                        std::int32_t tag) {
  InsertItemWithTitle(index, enabled, marked, *CreateCFString(*StripMnemonics(label)), tag);
}

void rcMenu::InsertItemWithTitle(std::int32_t index, bool enabled, bool marked, const rcMacCFObject& title,
                                 std::int32_t tag) {
  const auto* text = title.GetObjectAs<Platform::rcCFString>();
  Insert(index, {false, enabled, marked, text != nullptr ? text->GetUTF8() : std::string(), tag});
}

void rcMenu::InsertSeparator(std::int32_t index) { Insert(index, {true, true, false, {}, 0}); }

void rcMenu::Insert(std::int32_t index, cMenuItem item) {
  const bool inside = index >= 0 && index <= GetItemCount();
  fItems.insert(inside ? fItems.begin() + index : fItems.end(), std::move(item));
}

std::int32_t rcMenu::PopUp(const ref<rcExtWindow>& window, cPoint point) {
  // The function stays alive for its call even when it installs another.
  const MenuPopUp popUp = GetPopUp();
  return popUp(*this, window, point);
}

MenuPopUp SetMenuPopUp(MenuPopUp popUp) {
  return std::exchange(GetPopUp(), popUp ? std::move(popUp) : MenuPopUp(PopUpToolkitMenu));
}

}  // namespace Wex
