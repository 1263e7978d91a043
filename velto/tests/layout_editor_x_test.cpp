// The layout editor in a native view in a real window: the drag is tracked by the native view, so
// Escape typed on the keyboard reaches the editor, and entries are measured through the window.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "base/key_value.h"
#include "gui/embedded_view.h"
#include "gui/root.h"
#include "gui/tests/x_harness.h"
#include "platform/clipboard.h"
#include "velto/layout_editor.h"
#include "velto/root_view.h"
#include "velto/testing/recording_controller.h"
#include "velto/views/view_construction.h"

// Last: X11's macros (None, Status) clash with names of the headers above.
#include <gdk/gdkx.h>

namespace VeltoTest {
namespace {

// The container above root view and editor: it keeps what is invalidated in it.
class rcTop : public Wex::rcGUIContainer {
 public:
  using rcGUIContainer::rcGUIContainer;
  void InvalidateRect(const Wex::cRect& r) override {
    fInvalidated.push_back(r);
    rcGUIContainer::InvalidateRect(r);
  }
  std::vector<Wex::cRect> fInvalidated;
};

TEST(LayoutEditorOnX, EscapeTypedDuringADragPutsTheViewBack) {
  const Platform::ClipboardWriter previous = Platform::SetClipboardWriter([](const std::string&) {});
  GuiTest::HostWindow host(0, 0);
  const ref<Wex::rcNativeView> view(new Wex::rcNativeView({20, 30, 220, 130}));
  view->AttachToParentView(GTK_CONTAINER(host.fixed));
  RecordingController controller;
  const ref<Wex::rcGUIRoot> gui(new Wex::rcGUIRoot(iref<Wex::iNativeView>(view)));
  const ref<rcTop> top(new rcTop({0, 0, 200, 100}));
  const ref<Velto::rcRootView> root(new Velto::rcRootView({0, 0, 200, 100}, &controller));
  const ref<Velto::rcLayoutEditor> editor = Velto::rcLayoutEditor::Create();
  gui->SetRootElement(top);
  top->AddChild(root);
  top->AddChild(editor);
  root->SetLayoutEditor(editor);
  const ref<Wex::rcGUIElement> edited = Velto::MakeViewFromDescription(
      *root, Wex::ParseKeyValueMap("type: rectangle, bounds: { 50, 40, 60, 30 }, edit: one"), *root, false);
  ASSERT_TRUE(GuiTest::RunUntil([&] { return view->GetPositionInWindow() == Wex::cPoint{20, 30}; }));
  GtkWidget* window = host.window;
  view->Activate();
  GuiTest::Xdotool({"windowfocus", "--sync", std::to_string(gdk_x11_window_get_xid(gtk_widget_get_window(window)))});
  ASSERT_TRUE(GuiTest::RunUntil([&] { return gtk_window_has_toplevel_focus(GTK_WINDOW(window)); }));

  const Wex::cPoint origin = root->LocalToScreen({0, 0});
  const auto moveTo = [&origin](int x, int y) {
    GuiTest::Xdotool({"mousemove", std::to_string(origin.fX + x), std::to_string(origin.fY + y)});
  };
  moveTo(46, 50);  // on the left bar
  ASSERT_TRUE(GuiTest::RunUntil([&] { return editor->IsMouseInside(); }));
  top->fInvalidated.clear();
  GuiTest::Xdotool({"mousedown", "1"});
  ASSERT_TRUE(GuiTest::RunUntil([&] { return editor->IsDragging(); }));
  // With a window the label is redrawn too: its bounds lie above the top bar.
  bool label = false;
  for (const Wex::cRect& r : top->fInvalidated) label = label || (r.fLeft == 50 && r.fTop < 34 && r.fRight > 52);
  EXPECT_TRUE(label);
  moveTo(66, 60);
  ASSERT_TRUE(GuiTest::RunUntil([&] { return edited->GetRect() == Wex::cRect{70, 50, 130, 80}; }));
  GuiTest::Xdotool({"key", "Escape"});
  ASSERT_TRUE(GuiTest::RunUntil([&] { return !editor->IsDragging(); }));
  EXPECT_EQ(edited->GetRect(), (Wex::cRect{50, 40, 110, 70}));
  GuiTest::Xdotool({"mouseup", "1"});
  GuiTest::RunUntil([] { return true; });
  EXPECT_EQ(edited->GetRect(), (Wex::cRect{50, 40, 110, 70}));
  moveTo(600, 500);
  gui->Close();
  GuiTest::RunUntil([] { return true; });
  Platform::SetClipboardWriter(previous);
}

}  // namespace
}  // namespace VeltoTest
