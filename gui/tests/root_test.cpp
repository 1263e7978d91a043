#include "gui/root.h"

#include <gtest/gtest.h>

#include "gui/bitmap_context.h"
#include "gui/tests/tree_fixture.h"

namespace {

using GuiTest::Log;
using GuiTest::Rects;
using Wex::cPoint;
using Wex::cRect;

class Root : public GuiTest::TreeTest {
 protected:
  Wex::cMouseEvent Event(cPoint p, std::int64_t time = 0, Wex::cKeyModifiers m = {}) {
    return {fView->Self(), p, time, m, 1};
  }
  // A probe as the root element, with the log of its attaching taken.
  ref<GuiTest::rcProbe> RootProbe(const cRect& r = {}) {
    ref<GuiTest::rcProbe> e = Probe(r, "e");
    fRoot->SetRootElement(e);
    TakeLog();
    return e;
  }
};

TEST_F(Root, InstallsItsHandlerPartsInTheView) {
  EXPECT_EQ(fView->fDrawer.Get(), static_cast<Wex::iGUIElementDrawer*>(fRoot.Get()));
  EXPECT_EQ(fView->fClickHandler.Get(), static_cast<Wex::iMouseClickHandler*>(fRoot.Get()));
  EXPECT_EQ(fView->fMenuDisplayer.Get(), static_cast<Wex::iContextMenuDisplayer*>(fRoot.Get()));
  EXPECT_EQ(fView->fMovementHandler.Get(), static_cast<Wex::iMouseMovementHandler*>(fRoot.Get()));
  EXPECT_EQ(fView->fListener.Get(), static_cast<Wex::iGUIElementListener*>(fRoot.Get()));
  EXPECT_FALSE(fView->fKeyHandler);
  EXPECT_FALSE(fView->fTracker);
  EXPECT_EQ(fView->fDrawer.GetObject(), fRoot.Get());
}

TEST_F(Root, WithoutARootElementEventsAreNotHandled) {
  EXPECT_FALSE(fView->fClickHandler->MouseClick(fView->Self(), Event({1, 1}), 0, false, false));
  EXPECT_FALSE(fView->fMenuDisplayer->ShowContextMenu(fView->Self(), Event({1, 1})));
  EXPECT_FALSE(fView->fMenuDisplayer->CanDisplayContextMenu(fView->Self(), Event({1, 1})));
  fView->fMovementHandler->MouseEntered(fView->Self());
  fView->fMovementHandler->MouseMoved(fView->Self(), Event({1, 1}));
  fView->fListener->FrameChanged(fView->Self());
  ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(4, 4, false));
  fView->fDrawer->Draw(fView->Self(), *bitmap, {0, 0, 4, 4});
  EXPECT_TRUE(fView->fInvalidated.empty());
}

TEST_F(Root, OnlyPrimaryPressesReachTheTreeWithTheSecondaryFlagReplaced) {
  auto e = RootProbe();
  e->fHandles = true;
  EXPECT_FALSE(fRoot->MouseClick(fView->Self(), Event({3, 4}), 1, false, false));
  EXPECT_FALSE(fRoot->MouseClick(fView->Self(), Event({3, 4}), 2, true, false));
  EXPECT_TRUE(TakeLog().empty());

  Wex::cKeyModifiers modifiers{.fOption = true, .fSecondaryClick = false};
  EXPECT_TRUE(fRoot->MouseClick(fView->Self(), Event({3, 4}, 0x100000005LL, modifiers), 0, true, true));
  EXPECT_EQ(TakeLog(), (Log{"e:MouseDown 3,4"}));
  EXPECT_EQ(e->fLastTime, 5);
  EXPECT_TRUE(e->fLastModifiers.fSecondaryClick);
  EXPECT_TRUE(e->fLastModifiers.fOption);

  EXPECT_TRUE(fRoot->ShowContextMenu(fView->Self(), Event({6, 7})));
  EXPECT_EQ(TakeLog(), (Log{"e:ContextClick 6,7"}));
}

TEST_F(Root, ReplacingTheRootElementInvalidatesBothAndSizesTheNewOne) {
  auto first = Probe({5, 6, 10, 10}, "first");
  auto second = Probe({7, 8, 9, 9}, "second");
  fRoot->SetRootElement(first);
  EXPECT_EQ(first->GetRect(), (cRect{5, 6, 205, 106}));
  EXPECT_EQ(TakeInvalidated(), (Rects{{5, 6, 205, 106}}));
  fRoot->SetRootElement(second);
  EXPECT_EQ(second->GetRect(), (cRect{7, 8, 207, 108}));
  EXPECT_EQ(TakeInvalidated(), (Rects{{5, 6, 205, 106}, {7, 8, 207, 108}}));
  EXPECT_EQ(first->GetHost(), nullptr);
  EXPECT_EQ(second->GetHost(), fRoot.Get());
  EXPECT_EQ(TakeLog(), (Log{"first:Attached", "first:Detached", "second:Attached"}));
  EXPECT_EQ(fRoot->GetRootElement().Get(), second.Get());
}

TEST_F(Root, SettingTheCurrentRootElementAgainKeepsIt) {
  auto e = RootProbe({5, 6, 10, 10});
  TakeInvalidated();
  // The argument is the root's own field.
  fRoot->SetRootElement(fRoot->GetRootElement());
  EXPECT_EQ(fRoot->GetRootElement().Get(), e.Get());
  EXPECT_EQ(e->GetHost(), fRoot.Get());
  EXPECT_EQ(TakeInvalidated(), (Rects{{5, 6, 205, 106}, {5, 6, 205, 106}}));
  EXPECT_EQ(TakeLog(), (Log{"e:Detached", "e:Attached"}));
}

TEST_F(Root, CloseKeepsTheRootElementAliveWhileItDetaches) {
  // An element that lets go of itself as the root element when it leaves its host; nothing else
  // holds it.
  class rcSelfReleasing : public GuiTest::rcProbe {
   public:
    using rcProbe::rcProbe;
    void OnHostDetached(Wex::rcGUIRoot& host) override {
      rcProbe::OnHostDetached(host);
      if (host.GetRootElement().Get() == this) host.SetRootElement(nullptr);
    }
  };
  fRoot->SetRootElement(ref<rcSelfReleasing>(new rcSelfReleasing({}, "e", fLog)));
  TakeLog();
  fRoot->Close();
  EXPECT_FALSE(fRoot->GetRootElement());
  EXPECT_TRUE(fView->fClosed);
  const Log log = TakeLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "e:Detached");
}

TEST_F(Root, MovementWindowEventsAndDrawingReachTheRootElement) {
  auto e = RootProbe();
  fRoot->MouseEntered(fView->Self());
  fRoot->MouseMoved(fView->Self(), Event({9, 8}));
  fRoot->MouseExited(fView->Self());
  fRoot->TitleChanged(fView->Self());
  fRoot->VisibilityChanged(fView->Self());
  fRoot->ActivationChanged(fView->Self());
  fRoot->HierarchyChanged(fView->Self());
  EXPECT_EQ(TakeLog(), (Log{"e:MouseEntered", "e:MouseMoved 9,8", "e:MouseExited", "e:WindowStateChanged",
                            "e:WindowStateChanged", "e:WindowStateChanged", "e:WindowStateChanged"}));

  fView->fBounds = {0, 0, 320, 240};
  fRoot->FrameChanged(fView->Self());
  EXPECT_EQ(e->GetBounds(), (cRect{0, 0, 320, 240}));
  // Drawing passes the update rectangle.
  ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(4, 4, false));
  fView->fDrawer->Draw(fView->Self(), *bitmap, {1, 2, 3, 4});
  EXPECT_EQ(TakeLog(), (Log{"e:Draw 1,2,3,4"}));
}

TEST_F(Root, TrackingEventsGoToTheTrackedElement) {
  EXPECT_TRUE(fRoot->EndTracking(fView->TrackingHost(), Event({0, 0})));
  fRoot->TrackMouse(fView->TrackingHost(), Event({0, 0}));
  fRoot->CancelTracking(fView->TrackingHost());

  auto top = RootContainer();
  auto e = Probe({10, 20, 30, 40}, "e");
  top->AddChild(e);
  TakeLog();
  fRoot->StartTracking({3, 4}, -1, {});
  EXPECT_EQ(fView->fTrackingEvent.fTime, -1);
  EXPECT_EQ(fView->fTrackingEvent.fButtons, 1u);
  EXPECT_EQ(fView->fTrackingEvent.fPoint, (cPoint{3, 4}));

  e->StartTracking({0, 0}, 0, {});
  fRoot->TrackMouse(fView->TrackingHost(), Event({15, 25}));
  fRoot->CancelTracking(fView->TrackingHost());
  EXPECT_FALSE(Wex::rcGUIElement::GetTrackedElement());
  EXPECT_EQ(TakeLog(), (Log{"e:TrackMouse 5,5", "e:CancelTracking"}));
}

TEST_F(Root, CloseDetachesTheTreeAndReleasesTheView) {
  auto top = RootContainer();
  auto e = Probe({0, 0, 10, 10}, "e");
  top->AddChild(e);
  TakeLog();
  TakeInvalidated();
  fRoot->Close();
  EXPECT_TRUE(fView->fClosed);
  EXPECT_EQ(fRoot->GetNativeView(), nullptr);
  EXPECT_FALSE(fRoot->GetRootElement());
  EXPECT_EQ(top->GetChildCount(), 0);
  EXPECT_EQ(e->GetHost(), nullptr);
  EXPECT_EQ(TakeLog(), (Log{"e:Detached"}));
  EXPECT_TRUE(TakeInvalidated().empty());
  // The view no longer holds the root, nor the root the view.
  EXPECT_FALSE(fView->fDrawer);
  EXPECT_EQ(fView->GetReferenceCount(), 1);

  // After Close the root reaches no view.
  fRoot->StartTracking({0, 0}, 0, {});
  EXPECT_FALSE(fView->fTracker);
}

}  // namespace
