// The window wrapper over a toolkit window on a private X display.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "gui/bitmap_context.h"
#include "gui/ext_window.h"
#include "gui/tests/x_harness.h"

namespace {

using GuiTest::RunUntil;
using Wex::cRect;
using Wex::rcExtWindow;

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

TEST_F(ExtWindowOnX, TheRequestedRectangleIsAnsweredUntilTheWindowReportsItsOwn) {
  const cRect wanted{100, 50, 300, 250};
  fWrapper->SetContentRect(wanted);
  EXPECT_EQ(fWrapper->GetContentRect(), wanted);
  gtk_widget_show(fWindow);
  EXPECT_EQ(fWrapper->GetContentRect(), wanted);
  EXPECT_EQ(fWrapper->GetBounds(), (cRect{0, 0, 200, 200}));
  ASSERT_TRUE(RunUntil([&] { return gtk_widget_get_mapped(fWindow); }));
  RunUntil([] { return false; }, 300);
  EXPECT_EQ(fWrapper->GetContentRect(), wanted);

  // Moved by somebody else, the window answers where it is; rectangles beyond X11's 16 bits
  // reach the toolkit clamped, and a size of 0 becomes 1.
  gtk_window_move(GTK_WINDOW(fWindow), 30, 40);
  ASSERT_TRUE(RunUntil([&] { return fWrapper->GetContentRect().TopLeft() == Wex::cPoint{30, 40}; }));
  const cRect beyond{-100000, 10, -99000, 10};
  fWrapper->SetContentRect(beyond);
  EXPECT_EQ(fWrapper->GetContentRect(), beyond);
  gint x = 0;
  gint y = 0;
  gtk_window_get_position(GTK_WINDOW(fWindow), &x, &y);
  EXPECT_EQ(x, -32768);
  EXPECT_EQ(y, 10);
  ASSERT_TRUE(RunUntil([&] { return fWrapper->GetContentRect().Height() == 1; }));
  EXPECT_EQ(fWrapper->GetContentRect().Width(), 1000);
}

TEST_F(ExtWindowOnX, NestedDrawingSharesOneMeasuringContext) {
  const Wex::rcFont font("", 16);
  const ref<Wex::rcBitmapGraphicsContext> bitmap(new Wex::rcBitmapGraphicsContext(50, 20, 32, false));
  const std::int32_t width = bitmap->GetTextWidth(font, "Measured text");
  ASSERT_GT(width, 0);
  ref<Wex::rcGraphicsContext> outer = fWrapper->BeginDrawing();
  ref<Wex::rcGraphicsContext> inner = fWrapper->BeginDrawing();
  ASSERT_TRUE(outer && inner);
  EXPECT_NE(outer.Get(), inner.Get());
  EXPECT_EQ(cairo_get_target(outer->GetContext()), cairo_get_target(inner->GetContext()));
  EXPECT_EQ(outer->GetTextWidth(font, "Measured text"), width);
  outer = nullptr;
  EXPECT_EQ(inner->GetTextWidth(font, "Measured text"), width);
  // The drawing stays open while a context lives, even when the wrapper closes meanwhile; a
  // new drawing needs a window.
  fWrapper->Close();
  EXPECT_EQ(inner->GetTextWidth(font, "Measured text"), width);
  inner = nullptr;
  EXPECT_FALSE(fWrapper->BeginDrawing());
}

TEST_F(ExtWindowOnX, ClosingDropsTheWindowWithoutDestroyingIt) {
  g_object_ref(fWindow);
  const guint references = G_OBJECT(fWindow)->ref_count;
  rcExtWindow* holder = fWrapper.Get();
  fWrapper->AddBackReference(&holder);
  fWrapper = nullptr;
  EXPECT_EQ(holder, nullptr);
  EXPECT_EQ(G_OBJECT(fWindow)->ref_count, references - 1);
  EXPECT_FALSE(gtk_widget_in_destruction(fWindow));
  g_object_unref(fWindow);
}

TEST(ScreenOnX, TheFlipReadsTheHeightOfTheScreen) {
  GdkRectangle geometry;
  gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &geometry);
  ASSERT_GT(geometry.height, 0);
  EXPECT_EQ(Wex::FlipScreenY(0), geometry.height);
  EXPECT_EQ(Wex::FlipScreenY(100), geometry.height - 100);
}

}  // namespace
