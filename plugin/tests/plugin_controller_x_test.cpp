// The controller's editor on a native view in a window of the test's X display.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "base/rc_string.h"
#include "gui/alert.h"
#include "gui/embedded_view.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/tests/x_harness.h"
#include "plugin/plugin_controller.h"
#include "plugin/registry_access.h"

namespace {

TEST(PlugInControllerOnX, TheEditorGoesOnTheHostsViewAndComesOffItAgain) {
  ResourcesTest::TemporaryBundle bundle;
  bundle.WriteResource("P_strings", "txt", "");
  bundle.WriteResource("P_main", "velto", "bounds: { 0, 0, 60, 40 }, views: { { type: rectangle, fill: red } }");
  std::vector<std::string> alerts;
  const Wex::AlertRunner previous =
      Wex::SetAlertRunner([&alerts](std::int32_t style, std::int32_t buttons, std::int32_t defaultId,
                                    const refString& message, const refString& informative,
                                    const ref<Wex::rcExtWindow>& window) {
        alerts.push_back(std::to_string(style) + " " + std::to_string(buttons) + " " + std::to_string(defaultId) +
                         " " + std::string(message->GetText()) + " / " + std::string(informative->GetText()) +
                         (window ? " over" : ""));
        return 0;
      });
  std::ostringstream out, errors;
  {
    PlugInController controller({"P", 1, 0}, out, errors);
    GuiTest::HostWindow host(0, 0);
    const ref<Wex::rcNativeView> view(new Wex::rcNativeView({0, 0, 80, 50}));
    view->AttachToParentView(GTK_CONTAINER(host.fixed));
    controller.Initialize(iref<Wex::iNativeView>(view), {0, 0, 80, 50});
    const ref<Velto::rcRootView> root = controller.GetRootView();
    const ref<Velto::rcHintWindow> hints = root->GetHintWindow();
    ASSERT_TRUE(hints);
    EXPECT_FALSE(hints->IsShown());
    // The GUI root holds the editor container over the view.
    ASSERT_TRUE(view->GetDrawer());
    EXPECT_NE(root->GetHost(), nullptr);
    EXPECT_EQ(controller.GetEditorContainer()->GetHost(), root->GetHost());
    EXPECT_TRUE(GuiTest::RunUntil([&view] { return bool(view->GetWindow()); }));

    EXPECT_TRUE(controller.ShowError(*root, "Bad thing"));
    EXPECT_TRUE(controller.ShowError(*root, ""));
    EXPECT_EQ(alerts, (std::vector<std::string>{"4 0 0 P / Error: Bad thing over", "4 0 0 P / Error: Unexpected error over"}));
    EXPECT_EQ(errors.str(), "");

    controller.Close();
    EXPECT_FALSE(view->GetDrawer());
    EXPECT_FALSE(view->GetWindow());
    EXPECT_EQ(root->GetHost(), nullptr);
    EXPECT_EQ(hints->GetGtkWindow(), nullptr);
    EXPECT_FALSE(controller.GetRootView());
    // Without the editor on a view there is no display to show errors on.
    controller.ShowError(*root, "Later");
    EXPECT_EQ(errors.str(), "error: Later\n");
  }
  ReleaseResourceRegistry();
  Wex::SetAlertRunner(previous);
}

}  // namespace
