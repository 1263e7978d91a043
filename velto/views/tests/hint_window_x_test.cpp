// The hint window on a private X display: views schedule, show and hide their hints, whose tasks
// the tests run at chosen times.
#include "velto/views/hint_window.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/clock.h"
#include "gui/tests/x_harness.h"
#include "platform/front_process.h"
#include "velto/testing/test_control.h"
#include "velto/views/tests/view_fixture.h"
#include "velto/views/view.h"

// Last: X11's macros (None, Status) clash with names of the headers above.
#include <gdk/gdkx.h>

namespace VeltoTest {
namespace {

bool gFront = true;

std::int32_t Now() { return Wex::ToElementTime(Wex::GetMilliseconds()); }

// The host's window, shown unless a test hides it.
class rcHostWindow : public GuiTest::rcFakeWindow {
 public:
  using rcFakeWindow::rcFakeWindow;
  bool IsVisible() override { return fVisible; }
  bool fVisible = true;
};

// Logs the ids of its timers and counts its drawings.
class rcLoggedHintWindow : public Velto::rcHintWindow {
 public:
  using rcHintWindow::rcHintWindow;
  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t due, std::int32_t now, std::uint32_t id) override {
    fTimers.push_back(id);
    rcHintWindow::OnTimer(scheduler, due, now, id);
  }
  void Draw(const iref<Wex::iGUIView>& host, Wex::rcGraphicsContext& context, const Wex::cRect& update) override {
    ++fDraws;
    rcHintWindow::Draw(host, context, update);
  }
  std::vector<std::uint32_t> fTimers;
  int fDraws = 0;
};

class HintTest : public ViewTest {
 protected:
  HintTest() {
    fView->fWindow = fHostWindow;
    fRoot->SetHintWindow(fHint);
    gFront = true;
  }
  ~HintTest() override {
    fHint->Close();
    Platform::SetFrontProcessQuery(fQuery);
  }

  Velto::rcView& View(std::int64_t index) { return *ChildOf<Velto::rcView>(*fRoot, index); }
  ref<Wex::rcGUIElement> Ref(std::int64_t index) { return fRoot->GetChild(index); }
  void RunAt(std::int32_t time) { fHint->GetScheduler()->RunDueTasks(time); }
  std::string Shown() {
    const Wex::cPoint p = fHint->GetPoint();
    return fHint->IsShown() && fHint->IsVisible()
               ? std::to_string(p.fX) + "," + std::to_string(p.fY) + " " + std::string(fHint->GetText()->GetText())
               : "none";
  }

  const Wex::cRGBColor fWhite{255, 255, 255};
  const Wex::cRGBColor fBlack{0, 0, 0};
  ref<rcHostWindow> fHostWindow{new rcHostWindow({100, 200, 400, 300})};
  ref<rcLoggedHintWindow> fHint{new rcLoggedHintWindow(6, 16, &fWhite, {2, 12}, &fBlack, Velto::gDefaultFont())};
  Platform::FrontProcessQuery fQuery = Platform::SetFrontProcessQuery(+[] { return gFront; });
  const std::int32_t fStart = Now();
};

TEST_F(HintTest, AHintShowsASecondAfterTheFirstMoveBelowTheLastPointAndStaysPut) {
  Build("{views: {{type: click, bounds: {10, 10, 40, 40}, hint: Hello}, {type: click, bounds: {60, 10, 40, 40},"
        " hint: Other}, {type: click, bounds: {110, 10, 40, 40}, hint: ''}}}");
  Move({20, 20});
  const std::int32_t due = fHint->GetPendingDueTime();
  EXPECT_TRUE(fHint->IsPending() && due - fStart >= 1000 && due - Now() <= 1000);
  Move({30, 25});
  EXPECT_EQ(fHint->GetPendingDueTime(), due);  // moves never put the show off
  RunAt(due - 1);
  EXPECT_EQ(Shown(), "none");
  RunAt(due);
  EXPECT_EQ(Shown(), "130,247 Hello");
  EXPECT_EQ(fHint->GetContentRect().TopLeft(), (Wex::cPoint{130, 247}));
  Move({35, 30});
  EXPECT_EQ(Shown(), "130,247 Hello");

  // Of two views scheduled in turn the earlier due time wins, with the later view's owner, point
  // and text; an earlier one moves the show earlier.
  Move({55, 30});  // leaving hides
  EXPECT_EQ(Shown(), "none");
  View(0).ScheduleHint({1, 1}, 1000);
  const std::int32_t first = fHint->GetPendingDueTime();
  View(1).ScheduleHint({2, 2}, 1000);
  EXPECT_EQ(fHint->GetPendingDueTime(), first);
  EXPECT_EQ(fHint->GetOwner(), Ref(1));
  View(1).ScheduleHint({3, 3}, 10);
  EXPECT_LT(fHint->GetPendingDueTime() - first, 0);
  RunAt(first);
  EXPECT_EQ(Shown(), "163,235 Other");

  // Only the owner hides its hint; a view with an empty hint hides the hint of its window.
  fHint->HideHint(Ref(0));
  EXPECT_EQ(fHint->GetOwner(), Ref(1));
  View(2).MouseMoved({5, 5}, 0, {});
  EXPECT_EQ(Shown(), "none");
  EXPECT_FALSE(fHint->GetOwner());
}

TEST_F(HintTest, AHintGoesWhenItsViewCanNoLongerShowIt) {
  Build("{views: {{type: click, bounds: {10, 10, 40, 40}, hint: Hello}}}");
  const ref<rcTestControl> control(new rcTestControl({60, 10, 100, 50}));
  fRoot->AddChild(control);
  control->SetHintWindow(fHint);
  control->SetValueHint(Wex::MakeRCString("v=%"));
  // Shown three times in a row, the hint has one watch, which keeps it unless its view can no
  // longer show it; nor does a show wait then.
  for (const std::string change : {"nothing", "background", "hidden", "detached"}) {
    for (int i = 0; i < 3; ++i) fHint->ShowHint(Ref(0), {1, 2}, Wex::MakeRCString("x"));
    gFront = change != "background";
    fHostWindow->fVisible = change != "hidden";
    if (change == "detached") View(0).Detach();
    fHint->fTimers.clear();
    RunAt(Wex::WrapAdd(Now(), Velto::rcHintWindow::kWatchInterval));
    EXPECT_EQ(fHint->fTimers, std::vector<std::uint32_t>{Velto::rcHintWindow::kWatchTimer}) << change;
    EXPECT_EQ(Shown(), change == "nothing" ? "1,2 x" : "none") << change;
    fHint->HideAnyHint();
    control->ScheduleHint({0, 0}, 0);
    EXPECT_EQ(fHint->IsPending(), change != "background" && change != "hidden") << change;
    fHint->HideHint(control);
  }
  gFront = true;
  fHostWindow->fVisible = true;

  // A value view shows its hint at once, which follows its value; a press hides any hint.
  control->ShowHintNow({1, 2});
  EXPECT_EQ(Shown(), "161,234 v=0.00");
  control->SetValue(0.5);
  EXPECT_EQ(Shown(), "161,234 v=0.50");
  control->MouseDown({1, 1}, 0, false, {});
  EXPECT_EQ(Shown(), "none");

  // Reset while a show is pending: nothing shows, and nothing is measured or drawn later.
  control->ScheduleHint({0, 0}, 10);
  const ref<Wex::rcScheduler> scheduler = fHint->GetScheduler();
  fHint->Close();
  std::int32_t delta = 0;
  EXPECT_FALSE(fHint->IsPending() || scheduler->GetTimeToNextTask(Now(), delta));
  fHint->ShowHint(control, {0, 0}, Wex::MakeRCString("after"));
  fHint->UpdateShownText(control, Wex::MakeRCString("later"));
  const ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(8, 8, true));
  for (int i = 0; i < 64; ++i) GuiTest::SetPixel(*bitmap, i % 8, i / 8, 0xFF123456);
  fHint->Draw(nullptr, *bitmap, {0, 0, 8, 8});
  EXPECT_EQ(GuiTest::CountOther(*bitmap, {0, 0, 8, 8}, 0xFF123456), 0);
  fHint->HideAnyHint();
}

TEST_F(HintTest, TheHintPopupIsDrawnAndNeverBecomesActive) {
  const Wex::cRGBColor green{10, 200, 30};
  const ref<rcLoggedHintWindow> hint(new rcLoggedHintWindow(6, 16, &green, {2, 12}, &fBlack, Velto::gDefaultFont()));
  Platform::SetFrontProcessQuery(nullptr);
  EXPECT_FALSE(Wex::IsFrontProcess());
  hint->ShowHint(fRoot, {30, 40}, Wex::MakeRCString("Hi"));
  GtkWidget* widget = GTK_WIDGET(hint->GetGtkWindow());
  ASSERT_TRUE(GuiTest::RunUntil([&] { return hint->fDraws > 0; }));
  const Wex::cRect r = hint->GetContentRect();
  EXPECT_EQ(r.TopLeft(), (Wex::cPoint{30, 40}));
  EXPECT_EQ(r.Height(), 16);
  GdkPixbuf* pixels = gdk_pixbuf_get_from_window(gtk_widget_get_window(widget), 0, 0, r.Width(), r.Height());
  ASSERT_NE(pixels, nullptr);
  const guchar* corner = gdk_pixbuf_get_pixels(pixels) + (r.Width() - 1) * gdk_pixbuf_get_n_channels(pixels);
  EXPECT_EQ((std::vector<int>{corner[0], corner[1], corner[2]}), (std::vector<int>{10, 200, 30}));
  g_object_unref(pixels);
  EXPECT_FALSE(hint->IsKeyWindow() || Wex::IsFrontProcess());

  // A focused toplevel window makes the program the front process.
  GuiTest::HostWindow host(0, 0);
  ASSERT_TRUE(GuiTest::RunUntil([&] { return gtk_widget_get_mapped(host.window); }));
  const std::string xid = std::to_string(gdk_x11_window_get_xid(gtk_widget_get_window(host.window)));
  GuiTest::Xdotool({"windowfocus", "--sync", xid});
  ASSERT_TRUE(GuiTest::RunUntil([&] { return gtk_window_is_active(GTK_WINDOW(host.window)); }));
  EXPECT_TRUE(Wex::IsFrontProcess());
  hint->Close();
}

}  // namespace
}  // namespace VeltoTest
