#include "gui/alert.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "gui/toolkit_text.h"
#include "platform/modal_run.h"

namespace Wex {

namespace {

constexpr std::int32_t kCancelId = 1;
// What an alert that no button ended answers.
constexpr std::int32_t kNoButton = -1;
constexpr const char* kButtonTitles[] = {"OK", "Cancel", "Retry", "Yes", "No", "Abort", "Ignore"};
constexpr std::int32_t kButtonSets[][4] = {{0, -1}, {0, 1, -1}, {2, 1, -1}, {3, 4, -1}, {3, 4, 1, -1}, {5, 2, 6, -1}};

GtkMessageType ToMessageType(std::int32_t style) {
  if (style == 3) return GTK_MESSAGE_INFO;
  if (style == 4) return GTK_MESSAGE_ERROR;
  return GTK_MESSAGE_WARNING;
}

std::int32_t RunToolkitAlert(std::int32_t style, std::int32_t buttonSet, std::int32_t defaultId,
                             const refString& message, const refString& informative, const ref<rcExtWindow>& window) {
  const std::vector<cAlertButton> buttons = GetAlertButtons(buttonSet, defaultId);
  GtkWindow* parent = window ? window->GetGtkWindow() : nullptr;
  // The texts go through "%s": never a format, never markup.
  GtkWidget* alert = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, ToMessageType(style), GTK_BUTTONS_NONE, "%s",
                                            ToToolkitText(message).c_str());
  if (informative && !informative->GetText().empty()) {
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(alert), "%s", ToToolkitText(informative).c_str());
  }
  // The first button is the rightmost, and the action area runs from left to right. No button
  // takes the focus, so Return presses the default button and nothing else.
  for (auto button = buttons.rbegin(); button != buttons.rend(); ++button) {
    gtk_widget_set_can_focus(gtk_dialog_add_button(GTK_DIALOG(alert), button->fTitle, button->fId), FALSE);
    if (button->fReturnKey) gtk_dialog_set_default_response(GTK_DIALOG(alert), button->fId);
  }
  const bool hasCancel =
      std::any_of(buttons.begin(), buttons.end(), [](const cAlertButton& b) { return b.fId == kCancelId; });
  g_signal_connect(alert, "response", G_CALLBACK(+[](GtkDialog*, gint response, gpointer hasCancel) {
                     if (response >= 0) {
                       Platform::StopModalRun(response);
                     } else if (response == GTK_RESPONSE_DELETE_EVENT && GPOINTER_TO_INT(hasCancel) != 0) {
                       Platform::StopModalRun(kCancelId);
                     }
                   }),
                   GINT_TO_POINTER(hasCancel));
  // The alert closes only through its run; GTK never destroys it.
  g_signal_connect(alert, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer) { return TRUE; }), nullptr);
  const std::int32_t pressed = Platform::RunModalWindow(GTK_WINDOW(alert), parent, kNoButton);
  gtk_widget_destroy(alert);
  return pressed;
}

AlertRunner& GetRunner() {
  static AlertRunner runner = RunToolkitAlert;
  return runner;
}

}  // namespace

bool operator==(const cAlertButton& a, const cAlertButton& b) {
  return a.fId == b.fId && std::strcmp(a.fTitle, b.fTitle) == 0 && a.fReturnKey == b.fReturnKey;
}

std::vector<cAlertButton> GetAlertButtons(std::int32_t buttonSet, std::int32_t defaultId) {
  if (buttonSet < 0 || buttonSet >= static_cast<std::int32_t>(std::size(kButtonSets))) buttonSet = 0;
  std::vector<cAlertButton> buttons;
  for (const std::int32_t* id = kButtonSets[buttonSet]; *id >= 0; ++id) {
    buttons.push_back({*id, kButtonTitles[*id], *id == defaultId});
  }
  return buttons;
}

std::int32_t RunAlert(std::int32_t style, std::int32_t buttonSet, std::int32_t defaultId, const refString& message,
                      const refString& informative, const ref<rcExtWindow>& window) {
  // The runner stays alive for its call even when it installs another.
  const AlertRunner runner = GetRunner();
  return runner(style, buttonSet, defaultId, message, informative, window);
}

AlertRunner SetAlertRunner(AlertRunner runner) {
  return std::exchange(GetRunner(), runner ? std::move(runner) : AlertRunner(RunToolkitAlert));
}

}  // namespace Wex
