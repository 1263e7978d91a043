// The content view in a real window on an X display, driven by real input from xdotool: a
// GtkWindow holds a GtkFixed holding the view's widget; a recording owner holds the view, a real
// element-tree root over recording elements serves it, and recording handlers take the keys.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "gui/content_view.h"
#include "gui/container.h"
#include "gui/root.h"
#include "gui/tests/recording_content_view.h"
#include "gui/tests/x_harness.h"
#include "platform/clipboard.h"
#include "platform/cursor.h"
#include "platform/gtk_content_view_peer.h"

// Last: X11's macros (None, Status) clash with names of the headers above.
#include <gdk/gdkx.h>

namespace {

using GuiTest::ContentView;
using Log = std::vector<std::string>;
using Wex::cPoint;

using GuiTest::RunUntil;
using GuiTest::Xdotool;

// An element that logs presses with their modifiers and double-click flag, and may track the
// mouse from a press or throw from it.
class rcElement : public GuiTest::rcProbe {
 public:
  using rcProbe::rcProbe;
  void Draw(Wex::rcGraphicsContext&, const Wex::cRect&) override { ++fDraws; }
  bool MouseDown(const cPoint& p, std::int32_t time, bool doubleClick, const Wex::cKeyModifiers& m) override {
    Record("MouseDown " + std::to_string(p.fX) + "," + std::to_string(p.fY) +
           GuiTest::rcRecordingHandlers::Describe(m) + (doubleClick ? " double" : ""));
    if (fThrows) throw std::runtime_error("thrown by a press");
    if (fTracks) StartTracking(p, time, m);
    return true;
  }
  bool ContextClick(const cPoint& p, std::int32_t time, const Wex::cKeyModifiers& m) override {
    rcProbe::ContextClick(p, time, m);
    return true;
  }

  int fDraws = 0;
  bool fTracks = false;
  bool fThrows = false;
};

class ContentViewOnX : public ::testing::Test {
 protected:
  // The view lies at (20, 30) in the window, 200 by 100; "track" covers its left half less a
  // margin of 10 and shows the pointing hand, "plain" its right half likewise.
  void SetUp() override {
    fWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_move(GTK_WINDOW(fWindow), 0, 0);
    GtkWidget* fixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(fWindow), fixed);
    gtk_fixed_put(GTK_FIXED(fixed), fPeer->GetWidget(), 0, 0);
    fOwner->fBounds = {0, 0, 200, 100};
    fView = new ContentView({20, 30, 200, 100}, iref<Wex::iNativeView>(fOwner),
                            iref<Platform::iContentViewPeer>(fPeer));
    fOwner->fContentView = fView;
    fRoot = new Wex::rcGUIRoot(iref<Wex::iNativeView>(fOwner));
    fOwner->SetKeyHandler(iref<Wex::iKeyHandler>(fKeys));
    const ref<Wex::rcGUIContainer> top(new Wex::rcGUIContainer({}));
    fRoot->SetRootElement(top);
    top->AddChild(fTrack);
    top->AddChild(fPlain);
    fTrack->fTracks = true;
    fTrack->SetCursorForTest(ref<Wex::rcCocoaObject>(new Wex::rcCocoaObject(Wex::GetNSCursor(5), true)));
    gtk_widget_show_all(fWindow);
    ASSERT_TRUE(RunUntil([&] { return fTrack->fDraws > 0 && fPlain->fDraws > 0; }));
    gint x = 0;
    gint y = 0;
    gdk_window_get_origin(ViewWindow(), &x, &y);
    fOrigin = {x, y};
    EXPECT_EQ(fOrigin, (cPoint{20, 30}));
    gtk_widget_grab_focus(fPeer->GetWidget());
    Xdotool({"windowfocus", "--sync", std::to_string(gdk_x11_window_get_xid(gtk_widget_get_window(fWindow)))});
    ASSERT_TRUE(RunUntil([&] { return gtk_window_has_toplevel_focus(GTK_WINDOW(fWindow)); }));
    fLog.clear();
  }

  void TearDown() override {
    MoveTo({600, 500});
    fRoot->Close();
    gtk_widget_destroy(fWindow);
    RunUntil([] { return true; });
  }

  GdkWindow* ViewWindow() const { return gtk_widget_get_window(fPeer->GetWidget()); }
  GdkCursor* DisplayCursor(std::int32_t id) const {
    return Platform::GetDisplayCursor(Wex::GetNSCursor(id), gdk_window_get_display(ViewWindow()));
  }
  // Moves the pointer to a point of the view.
  void MoveTo(const cPoint& p) {
    Xdotool({"mousemove", std::to_string(fOrigin.fX + p.fX), std::to_string(fOrigin.fY + p.fY)});
  }
  // Waits for the log to reach the expected length, then compares it.
  void Expect(const Log& expected) {
    RunUntil([&] { return fLog.size() >= expected.size(); });
    EXPECT_EQ(std::exchange(fLog, {}), expected);
  }

  Log fLog;
  GtkWidget* fWindow = nullptr;
  cPoint fOrigin;
  ref<GuiTest::rcContentViewOwner> fOwner{new GuiTest::rcContentViewOwner()};
  ref<Platform::GtkContentViewPeer> fPeer{new Platform::GtkContentViewPeer()};
  ref<ContentView> fView;
  ref<Wex::rcGUIRoot> fRoot;
  ref<GuiTest::rcRecordingHandlers> fKeys{new GuiTest::rcRecordingHandlers("keys", *fOwner, fLog)};
  ref<rcElement> fTrack{new rcElement({10, 10, 90, 90}, "track", fLog)};
  ref<rcElement> fPlain{new rcElement({110, 10, 190, 90}, "plain", fLog)};
};

TEST_F(ContentViewOnX, MovesClicksAndTheElementsCursor) {
  // The entry and the move each send a move.
  MoveTo({50, 50});
  Expect({"track:MouseEntered", "track:MouseMoved 40,40", "track:MouseMoved 40,40"});
  EXPECT_EQ(gdk_window_get_cursor(ViewWindow()), DisplayCursor(5));
  MoveTo({150, 50});
  Expect({"track:MouseExited", "plain:MouseEntered", "plain:MouseMoved 40,40"});
  EXPECT_EQ(gdk_window_get_cursor(ViewWindow()), DisplayCursor(0));

  // Each release sends one move.
  Xdotool({"click", "1"});
  Expect({"plain:MouseDown 40,40", "plain:MouseMoved 40,40"});
  MoveTo({160, 50});
  Xdotool({"click", "--repeat", "2", "--delay", "80", "1"});
  Expect({"plain:MouseMoved 50,40", "plain:MouseDown 50,40", "plain:MouseMoved 50,40", "plain:MouseDown 50,40 double",
          "plain:MouseMoved 50,40"});
  Xdotool({"click", "3"});
  Expect({"plain:ContextClick 50,40", "plain:MouseMoved 50,40"});

  // Control goes to the key handler and re-sends the move; the click with it is secondary.
  MoveTo({170, 50});
  Xdotool({"keydown", "ctrl", "click", "1", "keyup", "ctrl"});
  Expect({"plain:MouseMoved 60,40", "plain:MouseMoved 60,40", "keys:KeyDown 0 -1 +c", "plain:MouseDown 60,40 +c2",
          "plain:MouseMoved 60,40", "plain:MouseMoved 60,40", "keys:KeyDown 0 -1"});
  EXPECT_TRUE(fKeys->fLastKey.fModifiers == Wex::cKeyModifiers{});

  MoveTo({600, 500});
  Expect({"plain:MouseExited"});
}

TEST_F(ContentViewOnX, TracksADragOutsideTheWindow) {
  MoveTo({50, 50});
  Expect({"track:MouseEntered", "track:MouseMoved 40,40", "track:MouseMoved 40,40"});
  Xdotool({"mousedown", "1"});
  Expect({"track:MouseDown 40,40", "track:TrackMouse 40,40"});
  EXPECT_TRUE(fOwner->GetTracker());
  MoveTo({60, 70});
  Expect({"track:TrackMouse 50,60"});
  MoveTo({500, -20});
  Expect({"track:TrackMouse 490,-30"});
  // The pointer left the view during the drag: after the release comes the exit, not a move.
  Xdotool({"mouseup", "1"});
  Expect({"track:MouseUp 490,-30", "track:MouseExited"});
  EXPECT_FALSE(fOwner->GetTracker());
  EXPECT_FALSE(Wex::rcGUIElement::GetTrackedElement());
}

TEST_F(ContentViewOnX, KeysReachTheKeyHandler) {
  GdkKeymapKey* keys = nullptr;
  gint count = 0;
  ASSERT_TRUE(gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()), GDK_KEY_a,
                                                &keys, &count));
  const std::int32_t keyCodeOfA = 0x1000 + static_cast<std::int32_t>(keys[0].keycode);
  g_free(keys);
  Xdotool({"key", "Left", "BackSpace", "a", "shift"});
  Expect({"keys:KeyDown 0 123", "keys:KeyDown 8 51", "keys:KeyDown 97 " + std::to_string(keyCodeOfA),
          "keys:KeyDown 0 -1 +s", "keys:KeyDown 0 -1"});
}

TEST_F(ContentViewOnX, AnExceptionOfAHandlerStaysInTheView) {
  fPlain->fThrows = true;
  MoveTo({150, 50});
  Xdotool({"click", "1"});
  // The press counts as consumed; the release goes its normal way.
  Expect({"plain:MouseEntered", "plain:MouseMoved 40,40", "plain:MouseMoved 40,40", "plain:MouseDown 40,40",
          "plain:MouseMoved 40,40"});
}

TEST_F(ContentViewOnX, DestroyingTheWidgetReleasesTheView) {
  const ref<GuiTest::rcRecordingHandlers> listener(new GuiTest::rcRecordingHandlers("view", *fOwner, fLog));
  fOwner->SetListener(iref<Wex::iGUIElementListener>(listener));
  const std::int64_t references = fOwner->GetReferenceCount();
  gtk_widget_hide(fPeer->GetWidget());
  gtk_widget_show(fPeer->GetWidget());
  gtk_widget_destroy(fWindow);
  fWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  // The widget loses the keyboard focus, leaves its parent, then goes: the view no longer holds its
  // owner.
  EXPECT_EQ(std::exchange(fLog, {}), (Log{"view:ActivationChanged", "view:VisibilityChanged", "view:VisibilityChanged",
                                          "view:HierarchyChanged", "view:HierarchyChanged"}));
  EXPECT_EQ(fOwner->GetReferenceCount(), references - 1);
}

TEST(ClipboardOnX, TheTextIsPutOnTheClipboardSelectionAsUTF8) {
  Wex::PutClipboardText("{ 1, 2, Gr\xf6\xdf" "e }");
  gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "{ 1, 2, Gr\u00f6\u00dfe }");
  g_free(text);
}

TEST(CursorsOnX, EachSharedCursorHasOneToolkitCursorPerDisplay) {
  GdkDisplay* display = gdk_display_get_default();
  for (std::int32_t id = 0; id < 13; ++id) {
    GdkCursor* cursor = Platform::GetDisplayCursor(Wex::GetNSCursor(id), display);
    ASSERT_TRUE(GDK_IS_CURSOR(cursor)) << id;
    EXPECT_EQ(gdk_cursor_get_display(cursor), display) << id;
    EXPECT_EQ(Platform::GetDisplayCursor(Wex::GetNSCursor(id), display), cursor) << id;
  }
  EXPECT_NE(Platform::GetDisplayCursor(Wex::GetNSCursor(0), display),
            Platform::GetDisplayCursor(Wex::GetNSCursor(1), display));
  GdkCursor* plain = gdk_cursor_new_for_display(display, GDK_WATCH);
  EXPECT_EQ(Platform::GetDisplayCursor(G_OBJECT(plain), display), plain);
  g_object_unref(plain);
  GObject* other = G_OBJECT(g_object_new(G_TYPE_OBJECT, nullptr));
  EXPECT_EQ(Platform::GetDisplayCursor(other, display), nullptr);
  g_object_unref(other);
  EXPECT_EQ(Platform::GetDisplayCursor(nullptr, display), nullptr);
  EXPECT_EQ(Platform::GetDisplayCursor(Wex::GetNSCursor(0), nullptr), nullptr);
}

}  // namespace
