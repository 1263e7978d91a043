#include "gui/tests/modal_driver.h"

#include <gtest/gtest.h>
// After the test framework: X11 defines None.
#include <gdk/gdkx.h>

#include <utility>

#include "base/clock.h"
#include "gui/event_loop_timer.h"
#include "gui/tests/x_harness.h"
#include "platform/modal_run.h"

namespace GuiTest {

namespace {

std::int32_t Now() { return static_cast<std::int32_t>(Wex::GetMilliseconds()); }

// Gives up what waits for input that will not come: the innermost modal run and any shown menu.
void GiveUp() {
  if (GtkMenuShell* menu = FindShownMenu()) gtk_menu_shell_deactivate(menu);
  Platform::StopModalRun(kTimedOut);
}

// Runs xdotool; when it fails, the test fails and the run it should have answered ends.
void Input(const std::vector<std::string>& arguments) {
  Xdotool(arguments);
  if (::testing::Test::HasFatalFailure()) GiveUp();
}

class rcRepeatedStep : public Wex::rc, public Wex::iSchedulerCallback {
 public:
  explicit rcRepeatedStep(std::function<bool()> step) : fStep(std::move(step)), fDeadline(Now() + 5000) {}

  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t, std::int32_t now, std::uint32_t) override {
    if (fStep()) return;
    if (now - fDeadline > 0) {
      ADD_FAILURE() << "a step waited in vain";
      GiveUp();
      return;
    }
    scheduler.AddTask(now + 10, iref<Wex::iSchedulerCallback>(this), 0);
  }

 private:
  std::function<bool()> fStep;
  std::int32_t fDeadline;
};

Wex::rcScheduler& GetScheduler() {
  static const ref<Wex::rcScheduler> scheduler(new Wex::rcScheduler());
  static const ref<Wex::rcMacEventLoopTimer> timer = [] {
    ref<Wex::rcMacEventLoopTimer> t(new Wex::rcMacEventLoopTimer());
    t->SetCallback(iref<Wex::iMacEventLoopTimerCallback>(new Wex::rcSchedulerTimerCallback(scheduler)));
    t->Start();
    return t;
  }();
  return *scheduler;
}

// Waits until the X server shows the window, then gives it the focus.
void Focus(GtkWindow* window) {
  const std::string id = std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(GTK_WIDGET(window))));
  Input({"windowmap", "--sync", id});
  Input({"windowfocus", "--sync", id});
}

}  // namespace

void Repeat(std::function<bool()> step) {
  GetScheduler().AddTask(Now(), iref<Wex::iSchedulerCallback>(new rcRepeatedStep(std::move(step))), 0);
}

GtkWindow* FindShownWindow(GType type) {
  GList* windows = gtk_window_list_toplevels();
  GtkWindow* found = nullptr;
  for (GList* w = windows; w != nullptr && found == nullptr; w = w->next) {
    if (G_TYPE_CHECK_INSTANCE_TYPE(w->data, type) && gtk_widget_get_mapped(GTK_WIDGET(w->data))) {
      found = GTK_WINDOW(w->data);
    }
  }
  g_list_free(windows);
  return found;
}

GtkMenuShell* FindShownMenu() {
  GList* windows = gtk_window_list_toplevels();
  GtkMenuShell* found = nullptr;
  for (GList* w = windows; w != nullptr && found == nullptr; w = w->next) {
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(w->data));
    if (GTK_IS_MENU(child) && gtk_widget_get_mapped(child)) found = GTK_MENU_SHELL(child);
  }
  g_list_free(windows);
  return found;
}

void PressKeys(GtkWindow* window, const std::vector<std::string>& keys) {
  Focus(window);
  PressKeys(keys);
}

void PressKeys(const std::vector<std::string>& keys) {
  std::vector<std::string> arguments{"key", "--delay", "20"};
  arguments.insert(arguments.end(), keys.begin(), keys.end());
  Input(arguments);
}

void TypeText(GtkWindow* window, const std::string& text) {
  Focus(window);
  Input({"type", "--delay", "20", text});
}

std::vector<GtkWidget*> GetDescendants(GtkWidget* widget) {
  std::vector<GtkWidget*> found;
  if (!GTK_IS_CONTAINER(widget)) return found;
  gtk_container_forall(
      GTK_CONTAINER(widget),
      [](GtkWidget* child, gpointer data) {
        auto& list = *static_cast<std::vector<GtkWidget*>*>(data);
        list.push_back(child);
        const std::vector<GtkWidget*> below = GetDescendants(child);
        list.insert(list.end(), below.begin(), below.end());
      },
      &found);
  return found;
}

}  // namespace GuiTest
