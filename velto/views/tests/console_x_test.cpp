// An input console in the host's window on a private X display, typed into through the X server.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>

#include "base/key_value.h"
#include "gui/embedded_view.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/root.h"
#include "gui/tests/x_harness.h"
#include "velto/root_view.h"
#include "velto/testing/recording_controller.h"
#include "velto/views/console_view.h"

// Last: X11's macros (None, Status) clash with names of the headers above.
#include <gdk/gdkx.h>

namespace VeltoTest {
namespace {

using GuiTest::RunUntil;
using GuiTest::Xdotool;

TEST(ConsoleOnX, AnInputConsoleTakesTheKeysTypedIntoItsActiveWindow) {
  ResourcesTest::TemporaryBundle bundle;
  Velto::rcResourceRegistry registry{false, L"T"};
  RecordingController controller{&registry};
  GuiTest::HostWindow window(0, 0);
  const ref<Wex::rcNativeView> view(new Wex::rcNativeView({10, 10, 210, 110}));
  view->AttachToParentView(GTK_CONTAINER(window.fixed));
  const ref<Wex::rcGUIRoot> host(new Wex::rcGUIRoot(iref<Wex::iNativeView>(view)));
  const ref<Velto::rcRootView> root(new Velto::rcRootView({0, 0, 200, 100}, &controller));
  // The refresh timer starts with the root's host.
  root->ReadContents(Wex::ParseKeyValueMap(
      "{views: {{type: console, bounds: {0, 0, 200, 100}, dimensions: {20, 4}, inputVariable: in, autoRefresh: 50}}}"));
  host->SetRootElement(root);
  auto& console = dynamic_cast<Velto::rcConsoleView&>(*root->GetChild(0));

  // A refresh claims the keys; one after the window became active makes the console active.
  ASSERT_TRUE(RunUntil([&] { return view->GetKeyHandler().Get() == &console; }));
  EXPECT_TRUE(view->IsKeyWindow());
  Xdotool({"windowfocus", "--sync", std::to_string(gdk_x11_window_get_xid(gtk_widget_get_window(window.window)))});
  ASSERT_TRUE(RunUntil([&] { return console.IsInputActive(); }));

  Xdotool({"type", "ab"});
  Xdotool({"key", "BackSpace"});
  Xdotool({"type", "c"});
  Xdotool({"key", "Return"});
  ASSERT_TRUE(RunUntil([&] { return controller.fVariables["in"] == "ac\n"; }));
  EXPECT_EQ(console.GetRowText(0), "ac" + std::string(18, ' '));
  EXPECT_EQ(console.GetCursor(), (Wex::cPoint{0, 1}));
  // The keypad's Enter ends a line too; a forward delete types nothing.
  Xdotool({"key", "d", "Delete", "KP_Enter"});
  ASSERT_TRUE(RunUntil([&] { return controller.fVariables["in"] == "d\n"; }));
  EXPECT_EQ(console.GetRowText(1), "d" + std::string(19, ' '));
  host->Close();
  EXPECT_FALSE(view->GetKeyHandler());
}

}  // namespace
}  // namespace VeltoTest
