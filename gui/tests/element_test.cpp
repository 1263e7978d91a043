#include "gui/element.h"

#include <gtest/gtest.h>
#include <glib-object.h>

#include "base/clock.h"
#include "gui/bitmap_context.h"
#include "gui/simple_elements.h"
#include "gui/tests/pixels.h"
#include "gui/tests/tree_fixture.h"

namespace {

using GuiTest::Log;
using GuiTest::Rects;
using Wex::cPoint;
using Wex::cRect;

class Element : public GuiTest::TreeTest {};

TEST_F(Element, StartsWithItsRectangleAndLocalBounds) {
  auto e = Probe({10, 20, 50, 35}, "e");
  EXPECT_EQ(e->GetRect(), (cRect{10, 20, 50, 35}));
  EXPECT_EQ(e->GetWindowRect(), (cRect{10, 20, 50, 35}));
  EXPECT_EQ(e->GetBounds(), (cRect{0, 0, 40, 15}));
  EXPECT_TRUE(e->IsVisible());
  EXPECT_FALSE(e->IsMouseInside());
  EXPECT_EQ(e->FindElementAt({-100, 999}).Get(), e.Get());
}

TEST_F(Element, MovesAndResizesInvalidateOldAndNewPlaces) {
  const auto [top, box, e] = Nested("e");

  e->MoveTo({7, 6});
  EXPECT_EQ(TakeInvalidated(), (Rects{{35, 45, 45, 50}, {37, 46, 47, 51}}));
  EXPECT_EQ(e->GetWindowRect(), (cRect{37, 46, 47, 51}));

  // Bounds whose top-left is not 0 still size the rectangle by their right and bottom.
  e->SetSize({2, 3, 4, 8});
  EXPECT_EQ(e->GetRect(), (cRect{7, 6, 11, 14}));
  EXPECT_EQ(e->GetWindowRect(), (cRect{37, 46, 41, 54}));
  EXPECT_EQ(TakeInvalidated(), (Rects{{37, 46, 47, 51}, {37, 46, 41, 54}}));

  e->SetRect({7, 6, 11, 14});
  e->MoveTo({7, 6});
  e->SetSize({2, 3, 4, 8});
  EXPECT_TRUE(TakeInvalidated().empty());

  e->SetRect({0, 0, 3, 3});
  EXPECT_EQ(e->GetBounds(), (cRect{0, 0, 3, 3}));
  EXPECT_EQ(TakeInvalidated().size(), 4u);

  e->Hide();
  TakeInvalidated();
  e->MoveTo({50, 20});
  e->SetSize({0, 0, 9, 9});
  EXPECT_TRUE(TakeInvalidated().empty());
  EXPECT_EQ(e->GetWindowRect(), (cRect{80, 60, 89, 69}));
}

TEST_F(Element, InvalidateRectClipsToBoundsAndClimbsTheParents) {
  const auto [top, box, e] = Nested("e");

  e->InvalidateRect({-3, 2, 4, 100});
  e->InvalidateAll();
  e->InvalidateRect({20, 0, 30, 5});  // misses the element: an empty rectangle is passed on
  EXPECT_EQ(TakeInvalidated(), (Rects{{35, 47, 39, 50}, {35, 45, 45, 50}, {35, 45, 35, 45}}));

  box->Hide();
  TakeInvalidated();
  e->InvalidateAll();
  EXPECT_TRUE(TakeInvalidated().empty());

  // Without parent and host nothing is invalidated anywhere.
  auto loose = Probe({0, 0, 5, 5}, "loose");
  loose->InvalidateAll();
  loose->MoveTo({3, 3});
  EXPECT_TRUE(TakeInvalidated().empty());
}

TEST_F(Element, RootElementInvalidatesInWindowCoordinates) {
  auto e = Probe({4, 6, 10, 10}, "e");
  fRoot->SetRootElement(e);
  TakeInvalidated();
  EXPECT_EQ(e->GetRect(), (cRect{4, 6, 204, 106}));
  e->InvalidateRect({1, 1, 2, 2});
  EXPECT_EQ(TakeInvalidated(), (Rects{{5, 7, 6, 8}}));
  e->MoveTo({0, 0});
  EXPECT_EQ(TakeInvalidated(), (Rects{{4, 6, 204, 106}, {0, 0, 200, 100}}));
  EXPECT_EQ(e->GetWindowRect(), (cRect{0, 0, 200, 100}));
}

TEST_F(Element, HideAndShowInvalidateAndHidingSendsTheMouseOut) {
  auto top = RootContainer();
  auto e = Probe({10, 10, 20, 20}, "e");
  top->AddChild(e);
  top->MouseMoved({12, 12}, 0, {});
  TakeInvalidated();
  TakeLog();

  e->Hide();
  EXPECT_EQ(TakeLog(), (Log{"e:MouseExited"}));
  EXPECT_FALSE(e->IsMouseInside());
  EXPECT_EQ(TakeInvalidated(), (Rects{{10, 10, 20, 20}}));
  e->Hide();
  EXPECT_TRUE(TakeInvalidated().empty());
  e->Show();
  EXPECT_EQ(TakeInvalidated(), (Rects{{10, 10, 20, 20}}));
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(Element, CoordinateConversionsFollowTheWindowAndScreen) {
  const auto [top, box, e] = Nested("e");

  EXPECT_EQ(e->LocalToWindow({1, 2}), (cPoint{36, 47}));
  EXPECT_EQ(e->WindowToLocal({36, 47}), (cPoint{1, 2}));
  // No window yet: the content rectangle is the window rectangle, screen points are (0, 0).
  EXPECT_EQ(e->GetContentRect(), (cRect{35, 45, 45, 50}));
  EXPECT_EQ(e->LocalToScreen({1, 2}), (cPoint{}));

  fView->fWindow = ref<Wex::rcExtWindow>(new GuiTest::rcFakeWindow({300, 200, 900, 700}));
  fView->fOrigin = {8, 24};
  EXPECT_EQ(e->GetContentRect(), (cRect{43, 69, 53, 74}));
  EXPECT_EQ(e->LocalToScreen({1, 2}), (cPoint{344, 271}));

  // Without a host: as without a window.
  box->RemoveChild(e);
  EXPECT_EQ(e->GetContentRect(), e->GetWindowRect());
  EXPECT_EQ(e->LocalToScreen({1, 2}), (cPoint{}));
}

TEST_F(Element, MovementShowsTheCursorThroughTheHost) {
  auto top = RootContainer();
  auto e = Probe({0, 0, 10, 10}, "e");
  top->AddChild(e);
  e->MouseMoved({1, 1}, 0, {});
  EXPECT_TRUE(fView->fCursors.empty());

  ref<Wex::rcCocoaObject> cursor(new Wex::rcCocoaObject(G_OBJECT(g_object_new(G_TYPE_OBJECT, nullptr)), false));
  e->SetCursorForTest(cursor);
  e->MouseMoved({1, 1}, 0, {});
  ASSERT_EQ(fView->fCursors.size(), 1u);
  EXPECT_EQ(fView->fCursors[0].Get(), cursor.Get());

  top->RemoveChild(e);
  e->MouseMoved({1, 1}, 0, {});
  EXPECT_EQ(fView->fCursors.size(), 1u);
}

TEST_F(Element, TimersRunOnTheHostsSchedulerAndStayWithTheHost) {
  auto top = RootContainer();
  auto e = Probe({0, 0, 10, 10}, "e");
  top->AddChild(e);
  TakeLog();

  const std::int32_t now = Wex::ToElementTime(Wex::GetMilliseconds());
  e->StartTimer(1000, 7);
  e->StartTimerAt(now - 5, 8);
  e->StartTimerAt(now - 5, 9);
  EXPECT_TRUE(e->IsTimed());
  e->StopTimer(9);
  fView->fScheduler->RunDueTasks(now);
  EXPECT_EQ(TakeLog(), (Log{"e:OnTimer 8"}));
  fView->fScheduler->RunDueTasks(now + 2000);
  EXPECT_EQ(TakeLog(), (Log{"e:OnTimer 7"}));

  // Leaving the host drops every task; StopTimer afterwards finds timed cleared.
  e->StartTimer(10, 1);
  e->StartTimer(10, 2);
  ref<GuiTest::rcRecordingView> otherView(new GuiTest::rcRecordingView());
  ref<Wex::rcGUIRoot> other(new Wex::rcGUIRoot(iref<Wex::iNativeView>(otherView)));
  top->RemoveChild(e);
  EXPECT_FALSE(e->IsTimed());
  std::int32_t delta;
  EXPECT_FALSE(fView->fScheduler->GetTimeToNextTask(now, delta));

  e->StopTimer(1);
  EXPECT_FALSE(e->IsTimed());
  other->SetRootElement(e);
  e->StartTimer(0, 3);
  otherView->fScheduler->RunDueTasks(now + 100);
  EXPECT_EQ(TakeLog(), (Log{"e:Detached", "e:Attached", "e:OnTimer 3"}));
  other->Close();
}

TEST_F(Element, TimersWithoutAHostDoNothing) {
  auto e = Probe({0, 0, 10, 10}, "e");
  e->StartTimer(0, 1);
  e->StartTimerAt(0, 2);
  e->StopTimer(1);
  EXPECT_FALSE(e->IsTimed());

  // A host whose view is closed has no scheduler either.
  fRoot->SetRootElement(e);
  fRoot->Close();
  fRoot->SetRootElement(e);
  e->StartTimer(0, 1);
  EXPECT_FALSE(e->IsTimed());
  fRoot->SetRootElement(nullptr);
}

TEST_F(Element, TrackingGoesThroughTheHostInWindowCoordinates) {
  const auto [top, box, e] = Nested("e");
  auto other = Probe({20, 5, 30, 10}, "other");
  box->AddChild(other);
  TakeLog();

  e->StartTracking({2, 3}, -7, {.fShift = true});
  EXPECT_EQ(Wex::rcGUIElement::GetTrackedElement().Get(), e.Get());
  ASSERT_TRUE(fView->fTracker);
  EXPECT_EQ(fView->fTracker.Get(), fRoot->GetTracker().Get());
  const Wex::cMouseEvent& event = fView->fTrackingEvent;
  EXPECT_EQ(event.fPoint, (cPoint{37, 48}));
  EXPECT_EQ(event.fTime, -7);
  EXPECT_TRUE(event.fModifiers.fShift);
  EXPECT_EQ(event.fButtons, 1u);
  EXPECT_EQ(event.fElement.GetObject(), fView.Get());

  // The tracker receives view points; the element sees them locally.
  fView->fTracker->TrackMouse(fView->TrackingHost(), {nullptr, {40, 50}, 5, {}, 1});
  other->MouseUp({0, 0}, 0, {});
  EXPECT_EQ(Wex::rcGUIElement::GetTrackedElement().Get(), e.Get());
  EXPECT_TRUE(fView->fTracker->EndTracking(fView->TrackingHost(), {nullptr, {36, 46}, 6, {}, 0}));
  EXPECT_FALSE(Wex::rcGUIElement::GetTrackedElement());
  EXPECT_TRUE(fRoot->EndTracking(fView->TrackingHost(), {nullptr, {36, 46}, 6, {}, 0}));
  EXPECT_EQ(TakeLog(), (Log{"e:TrackMouse 5,5", "other:MouseUp 0,0", "e:MouseUp 1,1"}));
}

TEST_F(Element, LeavingTheHostCancelsItsTracking) {
  auto top = RootContainer();
  auto e = Probe({5, 5, 15, 10}, "e");
  auto other = Probe({20, 5, 30, 10}, "other");
  top->AddChild(e);
  top->AddChild(other);
  e->StartTracking({0, 0}, 0, {});
  TakeLog();

  top->RemoveChild(other);
  EXPECT_EQ(fView->fCancelRequests, 0);
  top->RemoveChild(e);
  EXPECT_EQ(fView->fCancelRequests, 1);
  EXPECT_FALSE(fView->fTracker);
  EXPECT_FALSE(Wex::rcGUIElement::GetTrackedElement());
  EXPECT_EQ(TakeLog(), (Log{"other:Detached", "e:CancelTracking", "e:Detached"}));
}

class rcRecordingDrawable : public Wex::rcDrawable {
 public:
  void DrawRect(Wex::rcGraphicsContext&, const cRect& clip, const cPoint& position) override {
    fClips.push_back(clip);
    fPositions.push_back(position);
  }
  std::vector<cRect> fClips;
  std::vector<cPoint> fPositions;
};

TEST_F(Element, SimpleElementsDrawTheUpdateRectangle) {
  ref<rcRecordingDrawable> drawable(new rcRecordingDrawable());
  ref<Wex::rcDrawableElement> image(new Wex::rcDrawableElement({0, 0, 50, 50}, drawable));
  ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(50, 50, false));
  image->Draw(*bitmap, {10, 20, 30, 40});
  EXPECT_EQ(drawable->fClips, (std::vector<cRect>{{10, 20, 30, 40}}));
  EXPECT_EQ(drawable->fPositions, (std::vector<cPoint>{{10, 20}}));

  ref<Wex::rcSolidColorElement> solid(new Wex::rcSolidColorElement({0, 0, 50, 50}, 0, 255, 0));
  solid->Draw(*bitmap, {1, 2, 4, 3});
  EXPECT_EQ(GuiTest::CountOther(*bitmap, {1, 2, 4, 3}, 0xFF00FF00u), 0);
  EXPECT_EQ(GuiTest::CountOther(*bitmap, {0, 0, 50, 50}, 0), 3);
}

}  // namespace
