// The window wrapper over a toolkit window, the program's windows and the native view in a host's
// window on a private X display, with element trees of recording elements and real input from
// xdotool.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/clock.h"
#include "gui/bitmap_context.h"
#include "gui/container.h"
#include "gui/embedded_view.h"
#include "gui/root.h"
#include "gui/tests/modal_driver.h"
#include "gui/tests/recording_content_view.h"
#include "gui/tests/x_harness.h"
#include "gui/window.h"

// Last: X11's macros (None, Status) clash with names of the headers above.
#include <gdk/gdkx.h>

namespace {

using GuiTest::RunUntil;
using GuiTest::Xdotool;
using Log = std::vector<std::string>;
using Wex::cPoint;
using Wex::cRect;
using Wex::rcExtWindow;

// Every test ends by releasing the wrapper before destroying the window, which the wrapper must
// not have destroyed.
class ExtWindowOnX : public ::testing::Test {
 protected:
  void TearDown() override {
    fWrapper = nullptr;
    gtk_widget_destroy(fWindow);
    RunUntil([] { return true; });
  }

  GtkWidget* fWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  ref<rcExtWindow> fWrapper{new rcExtWindow(GTK_WINDOW(fWindow))};
};

TEST_F(ExtWindowOnX, TitlesPassThroughLatin1) {
  EXPECT_EQ(fWrapper->GetTitle(), Wex::rcString::GetEmpty());
  fWrapper->SetTitle(Wex::MakeRCString("Gr\xf6\xdf" "e"));
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(fWindow)), "Gr\u00f6\u00dfe");
  EXPECT_EQ(fWrapper->GetTitle()->GetText(), "Gr\xf6\xdf" "e");
  gtk_window_set_title(GTK_WINDOW(fWindow), "1 \u20ac, 2 \U0001F600.");
  EXPECT_EQ(fWrapper->GetTitle()->GetText(), "1 _, 2 _.");
  fWrapper->SetTitle(nullptr);
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(fWindow)), "");
}

TEST_F(ExtWindowOnX, RectanglesBeyondX11ReachTheToolkitClamped) {
  // Positions to 16 bits, sizes to 1 .. 32767; the request is answered as given until the window
  // reports its geometry.
  const cRect beyond{-100000, 10, -99000, 10};
  fWrapper->SetContentRect(beyond);
  EXPECT_EQ(fWrapper->GetContentRect(), beyond);
  gint x = 0, y = 0;
  gtk_window_get_position(GTK_WINDOW(fWindow), &x, &y);
  EXPECT_TRUE(x == -32768 && y == 10) << x << "," << y;
  gtk_widget_show(fWindow);
  ASSERT_TRUE(RunUntil([&] { return fWrapper->GetContentRect() == cRect{-32768, 10, -31768, 11}; }));
  // A closed wrapper hears nothing of later moves.
  fWrapper->Close();
  gtk_window_move(GTK_WINDOW(fWindow), 0, 0);
  RunUntil([] { return true; });

  // The flip of y reads the height of the screen.
  GdkRectangle screen;
  gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &screen);
  EXPECT_EQ(Wex::FlipScreenY(100), screen.height - 100);
}

TEST_F(ExtWindowOnX, NestedDrawingSharesOneMeasuringContext) {
  const Wex::rcFont font("", 16);
  const ref<Wex::rcBitmapGraphicsContext> bitmap(new Wex::rcBitmapGraphicsContext(50, 20, 32, false));
  const std::int32_t width = bitmap->GetTextWidth(font, "Measured text");
  ASSERT_GT(width, 0);
  ref<Wex::rcGraphicsContext> outer = fWrapper->BeginDrawing();
  ref<Wex::rcGraphicsContext> inner = fWrapper->BeginDrawing();
  ASSERT_TRUE(outer && inner);
  EXPECT_EQ(cairo_get_target(outer->GetContext()), cairo_get_target(inner->GetContext()));
  outer = nullptr;
  EXPECT_EQ(inner->GetTextWidth(font, "Measured text"), width);
  // A new drawing needs a window.
  inner = nullptr;
  fWrapper->Close();
  EXPECT_FALSE(fWrapper->BeginDrawing());
}

// A decorated window whose close requests it counts itself.
class rcClosingWindow : public Wex::rcWindow, public Wex::iWindowEventHandler {
 public:
  using rcWindow::rcWindow;
  void AskSelf() { SetWindowEventHandler(iref<Wex::iWindowEventHandler>(this)); }
  void CloseRequested(const ref<Wex::rcWindow>& window) override { fRequests += window.Get() == this ? 1 : 100; }
  int fRequests = 0;
};

class WindowsOnX : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const ref<Wex::rcGUIRoot>& root : fRoots) root->Close();
    RunUntil([] { return true; });
  }

  // A root over the view whose element "name" lies at r.
  ref<GuiTest::rcProbe> Tree(Wex::iNativeView& view, Wex::rc& object, const std::string& name, const cRect& r) {
    const ref<Wex::rcGUIRoot> root(new Wex::rcGUIRoot(iref<Wex::iNativeView>(&object, &view)));
    const ref<Wex::rcGUIContainer> top(new Wex::rcGUIContainer({}));
    const ref<GuiTest::rcProbe> probe(new GuiTest::rcProbe(r, name, fLog));
    probe->fHandles = true;
    root->SetRootElement(top);
    top->AddChild(probe);
    fRoots.push_back(root);
    return probe;
  }
  int Count(const std::string& entry) const { return static_cast<int>(std::count(fLog.begin(), fLog.end(), entry)); }

  Log fLog;
  std::vector<ref<Wex::rcGUIRoot>> fRoots;
};

TEST_F(WindowsOnX, AWindowTellsItsListenerAndNeverClosesItself) {
  const ref<rcClosingWindow> window(new rcClosingWindow({100, 50, 300, 250}, 1, 0, false));
  const ref<GuiTest::rcRecordingHandlers> listener(new GuiTest::rcRecordingHandlers("w", *window, fLog));
  window->SetListener(iref<Wex::iGUIElementListener>(listener));
  window->AskSelf();
  EXPECT_FALSE(window->IsVisible());
  EXPECT_EQ(window->GetPositionInWindow(), cPoint{});
  EXPECT_EQ(window->GetWindow().Get(), window.Get());
  window->SetTitle(Wex::MakeRCString("Title"));
  window->SetTitle(Wex::MakeRCString("Title"));
  window->Show();
  window->Show();
  ASSERT_TRUE(RunUntil([&] { return Count("w:FrameChanged") == 1; }));
  EXPECT_EQ(window->GetContentRect(), (cRect{100, 50, 300, 250}));

  // Answered at once, and after the window system has moved and resized the window (it may
  // report the move and the resize apart).
  window->SetContentRect({150, 60, 450, 260});
  EXPECT_EQ(window->GetContentRect(), (cRect{150, 60, 450, 260}));
  ASSERT_TRUE(RunUntil(
      [&] { return Count("w:FrameChanged") >= 2 && window->GetContentRect() == cRect{150, 60, 450, 260}; }));

  gtk_window_close(GTK_WINDOW(window->GetGtkWindow()));
  RunUntil([] { return true; });
  EXPECT_EQ(window->fRequests, 1);
  EXPECT_TRUE(window->IsVisible());
  window->Hide();
  window->Hide();
  EXPECT_FALSE(window->IsVisible());
  EXPECT_EQ(Count("w:TitleChanged"), 1);
  EXPECT_EQ(Count("w:VisibilityChanged"), 2);

  // Nothing reaches a closed window, not even a move that was on its way.
  const int frames = Count("w:FrameChanged");
  window->SetContentRect({0, 0, 10, 10});
  window->Close();
  RunUntil([] { return true; });
  EXPECT_FALSE(window->GetGtkWindow() || window->GetScheduler() || window->GetListener());
  EXPECT_EQ(Count("w:FrameChanged"), frames);
}

TEST_F(WindowsOnX, AFailedConstructionDestroysTheWindowItMade) {
  const Wex::ContentViewPeerMaker maker = Wex::SetContentViewPeerMaker(
      []() -> iref<Platform::iContentViewPeer> { throw std::runtime_error("no widget"); });
  const guint windows = GuiTest::CountToplevels();
  EXPECT_THROW(ref<Wex::rcWindow>(new Wex::rcWindow({0, 0, 10, 10}, 1, 0, false)), std::runtime_error);
  EXPECT_EQ(GuiTest::CountToplevels(), windows);
  Wex::SetContentViewPeerMaker(maker);
}

TEST_F(WindowsOnX, AHintLetsClicksThroughToTheWindowBeneath) {
  const ref<Wex::rcWindow> window(new Wex::rcWindow({0, 0, 300, 200}, 1, 0, false));
  const ref<GuiTest::rcProbe> probe = Tree(*window, *window, "e", {20, 30, 200, 150});
  window->Show();
  ASSERT_TRUE(RunUntil([&] { return Count("e:Draw 0,0,180,120") > 0; }));
  Xdotool({"windowfocus", "--sync", std::to_string(gdk_x11_window_get_xid(gtk_widget_get_window(
                                        GTK_WIDGET(window->GetGtkWindow()))))});
  ASSERT_TRUE(RunUntil([&] { return window->IsKeyWindow(); }));
  Xdotool({"mousemove", "45", "45"});
  ASSERT_TRUE(RunUntil([&] { return Count("e:MouseMoved 25,15") > 0; }));

  const ref<Wex::rcWindow> hint(new Wex::rcWindow({40, 40, 50, 50}, 0, 16, false));
  hint->SetAlphaValue(0.8f);
  hint->Show();
  ASSERT_TRUE(RunUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(hint->GetGtkWindow())); }));
  RunUntil([] { return false; }, 200);
  Xdotool({"click", "1"});
  ASSERT_TRUE(RunUntil([&] { return Count("e:MouseDown 25,15") > 0; }));
  EXPECT_EQ(Count("e:MouseExited"), 0);
  EXPECT_FALSE(hint->IsKeyWindow());
  EXPECT_TRUE(window->IsKeyWindow());
  hint->Close();

  // A resize of the window resizes its root element.
  window->SetContentRect({0, 0, 400, 250});
  ASSERT_TRUE(RunUntil([&] { return fRoots[0]->GetRootElement()->GetBounds() == cRect{0, 0, 400, 250}; }));
}

TEST_F(WindowsOnX, ANativeViewInTheHostsWindow) {
  const ref<Wex::rcNativeView> view(new Wex::rcNativeView({20, 30, 220, 130}));
  const ref<GuiTest::rcProbe> probe = Tree(*view, *view, "e", {10, 10, 110, 60});
  // Its timer runs before the view is in any window.
  view->GetScheduler()->AddTask(static_cast<std::int32_t>(Wex::GetMilliseconds()),
                                iref<Wex::iSchedulerCallback>(probe), 7);
  ASSERT_TRUE(RunUntil([&] { return Count("e:OnTimer 7") == 1; }));
  EXPECT_FALSE(view->GetWindow());

  GuiTest::HostWindow host(0, 0);
  view->AttachToParentView(GTK_CONTAINER(host.fixed));
  ASSERT_TRUE(RunUntil([&] { return view->GetPositionInWindow() == cPoint{20, 30}; }));
  GList* children = gtk_container_get_children(GTK_CONTAINER(host.fixed));
  GtkWidget* widget = GTK_WIDGET(children->data);
  g_list_free(children);
  // A negative size asks for none (0, which the toolkit keeps as its least, 1), not for the
  // widget's natural size.
  view->SetContentRect({20, 30, 10, 130});
  gint width = -1;
  gtk_widget_get_size_request(widget, &width, nullptr);
  EXPECT_EQ(width, 1);
  view->SetContentRect({20, 30, 220, 130});
  const ref<Wex::rcExtWindow> first = view->GetWindow();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->GetGtkWindow(), GTK_WINDOW(host.window));
  EXPECT_EQ(view->GetWindow(), first);
  EXPECT_EQ(probe->LocalToScreen({5, 6}), (cPoint{35, 46}));
  Xdotool({"mousemove", "35", "46", "click", "1"});
  ASSERT_TRUE(RunUntil([&] { return Count("e:MouseDown 5,6") == 1; }));
  view->Activate();
  EXPECT_TRUE(view->IsKeyWindow());

  const int notifications = Count("e:WindowStateChanged");
  view->Hide();
  EXPECT_TRUE(view->IsVisible());
  view->Show();
  EXPECT_FALSE(view->IsVisible());
  // Hiding also takes the keyboard focus from the view.
  EXPECT_EQ(Count("e:WindowStateChanged"), notifications + 3);

  // The host moves the view into another window: the first wrapper no longer holds the cache.
  GuiTest::HostWindow other(400, 0);
  gtk_container_remove(GTK_CONTAINER(host.fixed), widget);
  gtk_fixed_put(GTK_FIXED(other.fixed), widget, 0, 0);
  const ref<Wex::rcExtWindow> second = view->GetWindow();
  EXPECT_EQ(second->GetGtkWindow(), GTK_WINDOW(other.window));
  first->Close();
  EXPECT_EQ(view->GetWindow(), second);

  fRoots[0]->Close();
  EXPECT_EQ(gtk_container_get_children(GTK_CONTAINER(other.fixed)), nullptr);
  EXPECT_FALSE(view->GetWindow());
}

}  // namespace
