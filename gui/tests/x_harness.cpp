#include "gui/tests/x_harness.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "base/clock.h"

namespace GuiTest {

namespace {

class GtkEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gdk_set_allowed_backends("x11");
    // No accessibility bus: the tests need none.
    g_setenv("NO_AT_BRIDGE", "1", TRUE);
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no X display";
  }
};
const ::testing::Environment* const gEnvironment = ::testing::AddGlobalTestEnvironment(new GtkEnvironment());

}  // namespace

HostWindow::HostWindow(int x, int y) : window(gtk_window_new(GTK_WINDOW_TOPLEVEL)), fixed(gtk_fixed_new()) {
  gtk_window_move(GTK_WINDOW(window), x, y);
  gtk_window_set_default_size(GTK_WINDOW(window), 300, 200);
  gtk_container_add(GTK_CONTAINER(window), fixed);
  gtk_widget_show_all(window);
}

HostWindow::~HostWindow() { gtk_widget_destroy(window); }

bool RunUntil(const std::function<bool()>& done, std::int64_t milliseconds) {
  const std::int64_t deadline = Wex::GetMilliseconds() + milliseconds;
  while (!done()) {
    if (Wex::GetMilliseconds() > deadline) return false;
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
  }
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
  return true;
}

void Xdotool(const std::vector<std::string>& arguments) {
  std::vector<gchar*> argv{const_cast<gchar*>("xdotool")};
  for (const std::string& argument : arguments) argv.push_back(const_cast<gchar*>(argument.c_str()));
  argv.push_back(nullptr);
  gint status = 0;
  GError* error = nullptr;
  const bool ran = g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr,
                                nullptr, &status, &error);
  if (error != nullptr) g_error_free(error);
  ASSERT_TRUE(ran && g_spawn_check_wait_status(status, nullptr)) << "xdotool " << arguments.front();
}

}  // namespace GuiTest
