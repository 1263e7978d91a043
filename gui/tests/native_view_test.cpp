// The native view over a recording widget: its handlers, its close and a failed construction.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "gui/embedded_view.h"
#include "gui/tests/recording_content_view.h"
#include "platform/cursor.h"

namespace {

using Log = std::vector<std::string>;
using Wex::cPoint;
using Wex::cRect;

ref<GuiTest::rcRecordingPeer> gPeer;

class NativeView : public ::testing::Test {
 protected:
  NativeView() {
    gPeer = fPeer;
    fView = new Wex::rcNativeView({10, 20, 110, 70});
  }
  ~NativeView() override {
    fView->Close();
    Wex::SetContentViewPeerMaker(fPreviousMaker);
    gPeer = nullptr;
  }

  Log fLog;
  ref<GuiTest::rcRecordingPeer> fPeer{new GuiTest::rcRecordingPeer()};
  const Wex::ContentViewPeerMaker fPreviousMaker =
      Wex::SetContentViewPeerMaker([] { return iref<Platform::iContentViewPeer>(gPeer); });
  ref<Wex::rcNativeView> fView;
};

TEST_F(NativeView, HoldsEachHandlerOnceAndPassesEventsToThem) {
  const ref<GuiTest::rcRecordingHandlers> h(new GuiTest::rcRecordingHandlers("h", *fView, fLog));
  const std::int64_t references = h->GetReferenceCount();
  for (int i = 0; i < 2; ++i) {
    h->InstallIn(*fView);
    fView->SetKeyHandler(iref<Wex::iKeyHandler>(h));
  }
  EXPECT_EQ(h->GetReferenceCount(), references + 6);
  EXPECT_EQ(fView->GetContextMenuDisplayer().Get(), static_cast<Wex::iContextMenuDisplayer*>(h.Get()));
  EXPECT_EQ(fView->GetKeyHandler().Get(), static_cast<Wex::iKeyHandler*>(h.Get()));

  Platform::ViewEvent move;
  move.kind = Platform::ViewEventKind::kMouseMoved;
  move.locationInWindow = {3, 4};
  fPeer->fSink->DispatchEvent(move);
  fView->ReissueMouseMoved();
  fView->StartTracking(iref<Wex::iMouseTracker>(h), {nullptr, {5, 6}, 0, {}, 1});
  EXPECT_EQ(fView->GetTracker().Get(), static_cast<Wex::iMouseTracker*>(h.Get()));
  fView->CancelTracking(iref<Wex::iMouseTracker>(h));
  EXPECT_EQ(fLog, (Log{"h:MouseEntered", "h:MouseMoved 3,4 b0", "h:MouseMoved 3,4 b0", "h:TrackMouse 5,6 b1",
                       "h:CancelTracking"}));
  // Each move starts from the arrow; an empty cursor gives the parent's.
  EXPECT_EQ(Wex::GetArrowCursor()->GetObject(), Wex::GetNSCursor(0));
  fView->UseCursor(nullptr);
  EXPECT_EQ(fPeer->fCursors, (std::vector<GObject*>{Wex::GetNSCursor(0), nullptr}));
}

TEST_F(NativeView, ClosingDropsTheTimerTheHandlersAndThenTheWidget) {
  const ref<GuiTest::rcRecordingHandlers> h(new GuiTest::rcRecordingHandlers("h", *fView, fLog));
  const ref<GuiTest::rcProbe> task(new GuiTest::rcProbe({}, "task", fLog));
  const std::int64_t references = h->GetReferenceCount();
  h->InstallIn(*fView);
  fView->GetScheduler()->AddTask(0x7fffffff, iref<Wex::iSchedulerCallback>(task), 1);
  fView->Close();
  fView->Close();
  // The listener was gone when the widget left its parent, so it heard nothing of it.
  EXPECT_TRUE(fLog.empty());
  EXPECT_NE(fPeer->fRemovals, 0);
  EXPECT_EQ(fPeer->fSink, nullptr);
  EXPECT_EQ(h->GetReferenceCount(), references);
  EXPECT_EQ(task->GetReferenceCount(), 1);
  EXPECT_EQ(fView->GetReferenceCount(), 1);

  EXPECT_FALSE(fView->GetListener() || fView->GetDrawer() || fView->GetClickHandler() ||
               fView->GetContextMenuDisplayer() || fView->GetMovementHandler() || fView->GetKeyHandler() ||
               fView->GetTracker() || fView->GetScheduler() || fView->GetWindow());
  EXPECT_EQ(fView->GetPositionInWindow(), cPoint{});
  EXPECT_EQ(fView->GetContentRect(), cRect{});
}

TEST_F(NativeView, AFailedConstructionLeavesNothingBehind) {
  Wex::SetContentViewPeerMaker([]() -> iref<Platform::iContentViewPeer> { throw std::runtime_error("no widget"); });
  EXPECT_THROW(ref<Wex::rcNativeView>(new Wex::rcNativeView({})), std::runtime_error);
}

}  // namespace
