// The layout editor and a bubble in a native view in a real window: the editor's drag is tracked by
// the native view, so Escape typed on the keyboard reaches it, and labels and pages are measured
// through the window.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "base/key_value.h"
#include "gui/embedded_view.h"
#include "gui/root.h"
#include "gui/tests/x_harness.h"
#include "platform/clipboard.h"
#include "velto/bubble_view.h"
#include "velto/layout_editor.h"
#include "velto/root_view.h"
#include "velto/testing/fixed_font.h"
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

// A root view and the layout editor above it in a native view at (20, 30) in a shown window.
class VeltoOnX : public ::testing::Test {
 protected:
  VeltoOnX() {
    fView->AttachToParentView(GTK_CONTAINER(fHost.fixed));
    fGui->SetRootElement(fTop);
    fTop->AddChild(fRoot);
    fTop->AddChild(fEditor);
    fRoot->SetLayoutEditor(fEditor);
    fController.fFonts["ten"] = iref<Velto::iFont>(new rcFixedFont(10, 12, 9));
  }
  ~VeltoOnX() override {
    fGui->Close();
    GuiTest::RunUntil([] { return true; });
  }
  ref<Wex::rcGUIElement> Make(const char* description) {
    return Velto::MakeViewFromDescription(*fRoot, Wex::ParseKeyValueMap(description), *fRoot, false);
  }

  GuiTest::HostWindow fHost{0, 0};
  ref<Wex::rcNativeView> fView{new Wex::rcNativeView({20, 30, 220, 130})};
  RecordingController fController;
  ref<Wex::rcGUIRoot> fGui{new Wex::rcGUIRoot(iref<Wex::iNativeView>(fView))};
  ref<rcTop> fTop{new rcTop({0, 0, 200, 100})};
  ref<Velto::rcRootView> fRoot{new Velto::rcRootView({0, 0, 200, 100}, &fController)};
  ref<Velto::rcLayoutEditor> fEditor = Velto::rcLayoutEditor::Create();
};

TEST_F(VeltoOnX, EscapeTypedDuringADragPutsTheViewBack) {
  const Platform::ClipboardWriter previous = Platform::SetClipboardWriter([](const std::string&) {});
  const ref<Wex::rcGUIElement> edited = Make("type: rectangle, bounds: { 50, 40, 60, 30 }, edit: one");
  ASSERT_TRUE(GuiTest::RunUntil([&] { return fView->GetPositionInWindow() == Wex::cPoint{20, 30}; }));
  GtkWidget* window = fHost.window;
  fView->Activate();
  GuiTest::Xdotool({"windowfocus", "--sync", std::to_string(gdk_x11_window_get_xid(gtk_widget_get_window(window)))});
  ASSERT_TRUE(GuiTest::RunUntil([&] { return gtk_window_has_toplevel_focus(GTK_WINDOW(window)); }));

  const Wex::cPoint origin = fRoot->LocalToScreen({0, 0});
  const auto moveTo = [&origin](int x, int y) {
    GuiTest::Xdotool({"mousemove", std::to_string(origin.fX + x), std::to_string(origin.fY + y)});
  };
  moveTo(46, 50);  // on the left bar
  ASSERT_TRUE(GuiTest::RunUntil([&] { return fEditor->IsMouseInside(); }));
  fTop->fInvalidated.clear();
  GuiTest::Xdotool({"mousedown", "1"});
  ASSERT_TRUE(GuiTest::RunUntil([&] { return fEditor->IsDragging(); }));
  // With a window the label is redrawn too: its bounds lie above the top bar.
  bool label = false;
  for (const Wex::cRect& r : fTop->fInvalidated) label = label || (r.fLeft == 50 && r.fTop < 34 && r.fRight > 52);
  EXPECT_TRUE(label);
  moveTo(66, 60);
  ASSERT_TRUE(GuiTest::RunUntil([&] { return edited->GetRect() == Wex::cRect{70, 50, 130, 80}; }));
  GuiTest::Xdotool({"key", "Escape"});
  ASSERT_TRUE(GuiTest::RunUntil([&] { return !fEditor->IsDragging(); }));
  EXPECT_EQ(edited->GetRect(), (Wex::cRect{50, 40, 110, 70}));
  GuiTest::Xdotool({"mouseup", "1"});
  GuiTest::RunUntil([] { return true; });
  EXPECT_EQ(edited->GetRect(), (Wex::cRect{50, 40, 110, 70}));
  moveTo(600, 500);
  Platform::SetClipboardWriter(previous);
}

TEST_F(VeltoOnX, ABubbleLaysItsPageOutWithTheWindowsMeasuringContext) {
  ASSERT_TRUE(GuiTest::RunUntil([&] { return static_cast<bool>(fView->GetWindow()); }));
  const ref<Wex::rcGUIElement> view = Make("type: bubble, style: { font: ten }, pages: { 'a b' }");
  const auto& bubble = dynamic_cast<Velto::rcBubbleView&>(*view);
  EXPECT_TRUE(bubble.GetState().fTokens.empty());
  fRoot->WindowStateChanged();  // before any drawing
  EXPECT_EQ(bubble.GetState().fTokens.size(), 2u);
  EXPECT_EQ(bubble.GetState().fRevealed, 2u);
}

}  // namespace
}  // namespace VeltoTest
