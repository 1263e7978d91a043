#include "gui/tests/modal_driver.h"

#include <gtest/gtest.h>
// After the test framework: X11 defines None.
#include <gdk/gdkx.h>

#include <utility>

#include "base/clock.h"
#include "base/encoding.h"
#include "base/exceptions.h"
#include "base/files.h"
#include "gui/event_loop_timer.h"
#include "gui/tests/x_harness.h"
#include "platform/modal_run.h"

namespace GuiTest {

namespace {

std::int32_t Now() { return static_cast<std::int32_t>(Wex::GetMilliseconds()); }

// Gives up what waits for input that will not come: the innermost modal run and any shown menu.
void GiveUp() {
  if (GtkMenuShell* menu = FindShownMenu()) gtk_menu_shell_deactivate(menu);
  Platform::StopModalRun(-100);
}

class rcRepeatedStep : public Wex::rc, public Wex::iSchedulerCallback {
 public:
  explicit rcRepeatedStep(std::function<bool()> step) : fStep(std::move(step)), fDeadline(Now() + 5000) {}

  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t, std::int32_t now, std::uint32_t) override {
    if (fStep()) return;
    if (now - fDeadline > 0) {
      ADD_FAILURE() << "a step waited in vain";
      return GiveUp();
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

template <class Found, class Test>
Found* FindToplevel(Test test) {
  GList* windows = gtk_window_list_toplevels();
  Found* found = nullptr;
  for (GList* w = windows; w != nullptr && found == nullptr; w = w->next) found = test(GTK_WINDOW(w->data));
  g_list_free(windows);
  return found;
}

}  // namespace

void Repeat(std::function<bool()> step) {
  GetScheduler().AddTask(Now(), iref<Wex::iSchedulerCallback>(new rcRepeatedStep(std::move(step))), 0);
}

void WhenShown(GType type, std::function<void(GtkWindow*)> act) {
  Repeat([type, act = std::move(act)] {
    GtkWindow* window = FindShownWindow(type);
    if (window != nullptr) act(window);
    return window != nullptr;
  });
}

void After(std::int64_t milliseconds, std::function<void()> act) {
  Repeat([act = std::move(act), until = Wex::GetMilliseconds() + milliseconds] {
    if (Wex::GetMilliseconds() < until) return false;
    act();
    return true;
  });
}

GtkWindow* FindShownWindow(GType type) {
  return FindToplevel<GtkWindow>([type](GtkWindow* w) {
    return G_TYPE_CHECK_INSTANCE_TYPE(w, type) && gtk_widget_get_mapped(GTK_WIDGET(w)) ? w : nullptr;
  });
}

GtkMenuShell* FindShownMenu() {
  return FindToplevel<GtkMenuShell>([](GtkWindow* w) {
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(w));
    return GTK_IS_MENU(child) && gtk_widget_get_mapped(child) ? GTK_MENU_SHELL(child) : nullptr;
  });
}

guint CountToplevels() {
  GList* windows = gtk_window_list_toplevels();
  const guint count = g_list_length(windows);
  g_list_free(windows);
  return count;
}

void Input(GtkWindow* window, const std::vector<std::string>& arguments) {
  std::vector<std::vector<std::string>> commands;
  if (window != nullptr) {
    // The X server must show the window before it can take the focus.
    const std::string id = std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(GTK_WIDGET(window))));
    commands = {{"windowmap", "--sync", id}, {"windowfocus", "--sync", id}};
  }
  commands.push_back(arguments);
  commands.back().insert(commands.back().begin() + 1, {"--delay", "20"});
  for (const auto& command : commands) {
    Xdotool(command);
    // A run that waits for the input ends when the input fails.
    if (::testing::Test::HasFatalFailure()) return GiveUp();
  }
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

GtkWidget* FindById(GtkWidget* root, const char* id) {
  for (GtkWidget* widget : GetDescendants(root)) {
    if (g_strcmp0(gtk_buildable_get_name(GTK_BUILDABLE(widget)), id) == 0) return widget;
  }
  return nullptr;
}

void ClickById(GtkWidget* root, const char* id) { gtk_button_clicked(GTK_BUTTON(FindById(root, id))); }

std::string SourceFile(const std::string& relative) {
  return Wex::ReadFileAsString(QorFiles::Path(Wex::UTF8ToWide(MAROVELL_SOURCE_DIR "/" + relative)));
}

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Wex::xExceptionWithRCString& e) {
    return std::string(e.GetMessage()->GetText());
  }
  return {};
}

}  // namespace GuiTest
