#include "gui/content_view.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "gui/tests/recording_content_view.h"
#include "platform/cursor.h"

namespace {

using GuiTest::ContentView;
using Platform::ViewEvent;
using Platform::ViewEventKind;
using Log = std::vector<std::string>;

constexpr std::uint32_t kShift = Platform::kShiftKeyMask;
constexpr std::uint32_t kControl = Platform::kControlKeyMask;
constexpr std::uint32_t kOption = Platform::kAlternateKeyMask;
constexpr std::uint32_t kCommand = Platform::kCommandKeyMask;

ViewEvent Mouse(ViewEventKind kind, double x, double y, std::uint32_t buttons, std::int32_t button = 0,
                std::int32_t clicks = 1, std::uint32_t flags = 0) {
  ViewEvent e;
  e.kind = kind;
  e.locationInWindow = {x, y};
  e.pressedMouseButtons = buttons;
  e.buttonNumber = button;
  e.clickCount = clicks;
  e.modifierFlags = flags;
  return e;
}

ViewEvent Key(std::u32string characters, std::int32_t keyCode, bool repeat = false, std::uint32_t flags = 0) {
  ViewEvent e;
  e.kind = ViewEventKind::kKeyDown;
  e.characters = std::move(characters);
  e.keyCode = keyCode;
  e.isARepeat = repeat;
  e.modifierFlags = flags;
  return e;
}

ViewEvent Flags(std::uint32_t flags) {
  ViewEvent e;
  e.kind = ViewEventKind::kFlagsChanged;
  e.keyCode = 0x1032;
  e.modifierFlags = flags;
  return e;
}

// One content view with its recording owner, peer and handlers; events go in through the peer's
// sink, as the toolkit's glue hands them over.
struct Side {
  Side(const std::string& name, Log& log) : handlers(new GuiTest::rcRecordingHandlers(name, *owner, log)) {
    handlers->InstallIn(*owner);
    owner->SetKeyHandler(iref<Wex::iKeyHandler>(handlers));
    view = new ContentView({1, 2, 200, 100}, iref<Wex::iNativeView>(owner), iref<Platform::iContentViewPeer>(peer));
    owner->fContentView = view;
  }
  ~Side() { owner->Close(); }

  bool Send(const ViewEvent& e) const { return peer->fSink != nullptr && peer->fSink->DispatchEvent(e); }
  iref<Wex::iMouseTracker> Tracker() const { return iref<Wex::iMouseTracker>(handlers); }

  ref<GuiTest::rcContentViewOwner> owner{new GuiTest::rcContentViewOwner()};
  ref<GuiTest::rcRecordingPeer> peer{new GuiTest::rcRecordingPeer()};
  ref<GuiTest::rcRecordingHandlers> handlers;
  ref<ContentView> view;
};

class ContentViewTest : public ::testing::Test {
 protected:
  Log Take() { return std::exchange(fLog, {}); }

  Log fLog;
  Side fA{"a", fLog};
};

struct Step {
  ViewEvent event;
  bool consumed;
  Log log;
  bool trackingAfter;
};

TEST_F(ContentViewTest, TracksFromThePressToTheLastRelease) {
  fA.handlers->fTrackOnClick = true;
  fA.handlers->fClickHandled = true;
  using enum ViewEventKind;
  const Step steps[] = {
      {Mouse(kMouseEntered, 5, 5, 0), false, {"a:MouseEntered", "a:MouseMoved 5,5 b0"}, false},
      // The press that starts tracking is the tracker's first event, still within the press.
      {Mouse(kMouseDown, 10, 10, 1), true, {"a:MouseClick 0 10,10 b1", "a:TrackMouse 10,10 b1"}, true},
      {Mouse(kMouseDragged, -50, 300, 1), true, {"a:TrackMouse -50,300 b1"}, true},
      // No exit while tracking; far-away points clamp; a right press is a secondary one.
      {Mouse(kMouseExited, -50, 300, 1), false, {}, true},
      {Mouse(kMouseDown, 1e12, -1e12, 3, 1), true, {"a:TrackMouse 1073741823,-1073741824 +2 b3"}, true},
      // A release with a button still held goes on tracking; the last one ends it, then the exit.
      {Mouse(kMouseUp, 20, 20, 2), true, {"a:TrackMouse 20,20 b2"}, true},
      {Mouse(kMouseUp, 20, 20, 0, 1), true, {"a:EndTracking 20,20 +2 b0", "a:MouseExited"}, false},
      // Drags outside tracking reach no handler.
      {Mouse(kMouseDragged, 20, 20, 1), false, {}, false},
      {Mouse(kMouseEntered, 30, 30, 0), false, {"a:MouseEntered", "a:MouseMoved 30,30 b0"}, false},
      {Mouse(kMouseDown, 30, 30, 1), true, {"a:MouseClick 0 30,30 b1", "a:TrackMouse 30,30 b1"}, true},
      // A plain move while tracking: the buttons came up unseen. The release sends its move, the
      // move its own.
      {Mouse(kMouseMoved, 31, 31, 0), false, {"a:EndTracking 31,31 b0", "a:MouseMoved 31,31 b0", "a:MouseMoved 31,31 b0"},
       false},
      {Mouse(kMouseDown, 40, 40, 1), true, {"a:MouseClick 0 40,40 b1", "a:TrackMouse 40,40 b1"}, true},
      // A drag whose grab is lost ends as a release of every button.
      {Mouse(kDragLost, 41, 41, 1), true, {"a:EndTracking 41,41 b0", "a:MouseMoved 41,41 b0"}, false},
      {Mouse(kDragLost, 41, 41, 0), false, {}, false},
      // A release outside tracking passes on, after its move.
      {Mouse(kMouseUp, 42, 42, 0), false, {"a:MouseMoved 42,42 b0"}, false},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    EXPECT_EQ(fA.Send(steps[i].event), steps[i].consumed) << i;
    EXPECT_EQ(Take(), steps[i].log) << i;
    EXPECT_EQ(static_cast<bool>(fA.owner->GetTracker()), steps[i].trackingAfter) << i;
  }
}

TEST_F(ContentViewTest, CancelsOnlyTheCurrentTracker) {
  Log otherLog;
  const Side other{"t2", otherLog};
  fA.Send(Mouse(ViewEventKind::kMouseEntered, 5, 5, 0));
  fA.owner->StartTracking(fA.Tracker(), {nullptr, {6, 7}, 0, {}, 1});
  EXPECT_EQ(Take(), (Log{"a:MouseEntered", "a:MouseMoved 5,5 b0", "a:TrackMouse 6,7 b1"}));

  // Starting the same tracker again cancels nothing; cancelling another one changes nothing.
  fA.owner->StartTracking(fA.Tracker(), {nullptr, {8, 9}, 0, {}, 1});
  fA.owner->CancelTracking(other.Tracker());
  EXPECT_EQ(Take(), (Log{"a:TrackMouse 8,9 b1"}));
  EXPECT_EQ(fA.owner->GetTracker().Get(), fA.Tracker().Get());

  // The pointer left meanwhile: the cancellation reports the exit.
  fA.Send(Mouse(ViewEventKind::kMouseExited, -1, 5, 1));
  fA.owner->CancelTracking(fA.Tracker());
  EXPECT_EQ(Take(), (Log{"a:CancelTracking", "a:MouseExited"}));
  EXPECT_FALSE(fA.owner->GetTracker());
  fA.owner->CancelTracking(fA.Tracker());
  EXPECT_TRUE(Take().empty());

  // Another tracker replaces the current one, which hears of it; the new one's host is this view.
  fA.owner->StartTracking(fA.Tracker(), {nullptr, {1, 1}, 0, {}, 1});
  fA.owner->StartTracking(other.Tracker(), {nullptr, {2, 2}, 0, {}, 1});
  EXPECT_EQ(Take(), (Log{"a:TrackMouse 1,1 b1", "a:CancelTracking"}));
  EXPECT_EQ(otherLog, (Log{"t2:(other host) TrackMouse 2,2 b1"}));
}

TEST_F(ContentViewTest, ClicksFallThroughToTheContextMenuAndThenToTheParent) {
  struct Row {
    std::int32_t button;
    std::uint32_t flags;
    std::uint32_t buttons;
    bool clickHandled;
    bool menuHandled;
    bool withClickHandler;
    bool consumed;
    Log log;
  };
  const Row rows[] = {
      {0, 0, 1, true, false, true, true, {"a:MouseClick 0 3,4 b1"}},
      {1, 0, 2, false, false, true, false, {"a:MouseClick 1 3,4 +2 b2 secondary", "a:ShowContextMenu 3,4 +2 b2"}},
      {1, 0, 2, false, true, true, true, {"a:MouseClick 1 3,4 +2 b2 secondary", "a:ShowContextMenu 3,4 +2 b2"}},
      // A control-click with the left button is secondary too; the click handler sees it first.
      {0, kControl, 1, false, true, true, true,
       {"a:MouseClick 0 3,4 +c2 b1 secondary", "a:ShowContextMenu 3,4 +c2 b1"}},
      {0, kControl, 1, true, true, true, true, {"a:MouseClick 0 3,4 +c2 b1 secondary"}},
      {2, kShift | kOption | kCommand, 4, false, true, true, false, {"a:MouseClick 2 3,4 +som b4"}},
      {0, 0, 1, true, true, false, false, {}},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    Log log;
    const Side side{"a", log};
    side.handlers->fClickHandled = row.clickHandled;
    side.handlers->fMenuHandled = row.menuHandled;
    if (!row.withClickHandler) side.owner->SetClickHandler(nullptr);
    EXPECT_EQ(side.Send(Mouse(ViewEventKind::kMouseDown, 3.9, 4.2, row.buttons, row.button, 1, row.flags)),
              row.consumed)
        << i;
    EXPECT_EQ(log, row.log) << i;
  }
}

TEST_F(ContentViewTest, EvenClickCountsAreDoubleClicks) {
  fA.handlers->fClickHandled = true;
  for (std::int32_t clicks = 1; clicks <= 5; ++clicks) {
    fA.Send(Mouse(ViewEventKind::kMouseDown, 1, 1, 1, 0, clicks));
    EXPECT_EQ(Take(), (Log{clicks % 2 == 0 ? "a:MouseClick 0 1,1 b1 double" : "a:MouseClick 0 1,1 b1"})) << clicks;
  }
}

TEST_F(ContentViewTest, AModifierChangeResendsTheLastMoveToTheViewThatReceivedIt) {
  const Side b{"b", fLog};
  fA.Send(Mouse(ViewEventKind::kMouseMoved, 7, 8, 0, 0, 1, kControl));
  EXPECT_EQ(Take(), (Log{"a:MouseEntered", "a:MouseMoved 7,8 +c2 b0"}));

  // The key record goes to the view with the focus, the move to the one under the pointer,
  // with the new flags and no secondary click.
  EXPECT_TRUE(b.Send(Flags(kShift)));
  EXPECT_EQ(Take(), (Log{"a:MouseMoved 7,8 +s b0", "b:KeyDown 0 -1 +s"}));
  b.view->reissueMouseMoved();
  EXPECT_TRUE(Take().empty());
  fA.view->reissueMouseMoved();
  EXPECT_EQ(Take(), (Log{"a:MouseMoved 7,8 +s b0"}));

  // Tracking takes the key record; a view without key handler passes it on. Starting to track
  // clears the record.
  b.owner->StartTracking(b.Tracker(), {nullptr, {0, 0}, 0, {}, 1});
  fA.view->reissueMouseMoved();
  EXPECT_EQ(Take(), (Log{"b:TrackMouse 0,0 b1"}));
  fA.Send(Mouse(ViewEventKind::kMouseMoved, 7, 8, 0));
  Take();
  b.handlers->fKeyHandled = false;
  EXPECT_FALSE(b.Send(Flags(kOption)));
  EXPECT_EQ(Take(), (Log{"a:MouseMoved 7,8 +o b0", "b:TrackKey 0 -1 +o"}));
  b.owner->CancelTracking(b.Tracker());
  b.owner->SetKeyHandler(nullptr);
  Take();
  EXPECT_FALSE(b.Send(Flags(0)));
  EXPECT_EQ(Take(), (Log{"a:MouseMoved 7,8 b0"}));

  // A released view is out of the record; it hears that it left its parent first.
  fA.view->Release();
  EXPECT_EQ(Take(), (Log{"a:HierarchyChanged"}));
  b.owner->SetKeyHandler(iref<Wex::iKeyHandler>(b.handlers));
  b.handlers->fKeyHandled = true;
  EXPECT_TRUE(b.Send(Flags(kCommand)));
  EXPECT_EQ(Take(), (Log{"b:KeyDown 0 -1 +m"}));
}

TEST_F(ContentViewTest, KeyCharactersAreSingleLatin1Bytes) {
  struct Row {
    std::u32string characters;
    bool repeat;
    std::uint32_t flags;
    std::string log;
  };
  const Row rows[] = {
      {U"a", false, kShift | kControl, "a:KeyDown 97 77 +cs"},
      {U"\u00e9", false, kOption, "a:KeyDown 233 77 +o"},
      {U"\u007f", false, 0, "a:KeyDown 8 77"},  // delete is delivered as backspace
      {U"\u0008", true, 0, "a:KeyDown 8 77 repeat"},
      {U"\u20ac", false, 0, "a:KeyDown 0 77"},
      {U"", false, kCommand, "a:KeyDown 0 77 +m"},
      {U"ab", false, 0, "a:KeyDown 0 77"},
      {U"a\u20ac", false, 0, "a:KeyDown 97 77"},  // the conversion stops before the euro sign
      {U"\u20aca", false, 0, "a:KeyDown 0 77"},
  };
  for (const Row& row : rows) {
    EXPECT_TRUE(fA.Send(Key(row.characters, 77, row.repeat, row.flags)));
    EXPECT_EQ(Take(), (Log{row.log}));
  }

  fA.handlers->fKeyHandled = false;
  EXPECT_FALSE(fA.Send(Key(U"a", 0x1026)));
  EXPECT_EQ(Take(), (Log{"a:KeyDown 97 4134"}));
  fA.owner->SetKeyHandler(nullptr);
  EXPECT_FALSE(fA.Send(Key(U"a", 0x1026)));
  EXPECT_TRUE(Take().empty());
  // While tracking the tracker takes every key, even without a key handler.
  fA.owner->StartTracking(fA.Tracker(), {nullptr, {0, 0}, 0, {}, 1});
  Take();
  fA.handlers->fKeyHandled = true;
  EXPECT_TRUE(fA.Send(Key(U"\u007f", 117)));
  EXPECT_EQ(Take(), (Log{"a:TrackKey 8 117"}));
}

TEST_F(ContentViewTest, EventTimesAreTheLow32BitsOfTheRoundedMilliseconds) {
  const struct {
    double timestamp;
    std::int64_t time;
  } rows[] = {
      {0.0004, 0},
      {0.0625, 63},
      {0.03125, 31},
      {1.0, 1000},
      {2147483.647, 2147483647},
      {2147483.648, -2147483648LL},
      {4294967.296, 0},
      {4294967.297, 1},
      {std::numeric_limits<double>::quiet_NaN(), 0},
      {1e300, 0},
  };
  for (const auto& row : rows) {
    ViewEvent move = Mouse(ViewEventKind::kMouseMoved, 0, 0, 0);
    move.timestamp = row.timestamp;
    fA.Send(move);
    EXPECT_EQ(fA.handlers->fLastMouse.fTime, row.time) << row.timestamp;
    ViewEvent key = Key(U"k", 1);
    key.timestamp = row.timestamp;
    fA.Send(key);
    EXPECT_EQ(fA.handlers->fLastKey.fTime, row.time) << row.timestamp;
  }
}

TEST_F(ContentViewTest, DrawsThroughTheDrawerAndForwardsViewNotifications) {
  EXPECT_EQ(fA.peer->fFrame.width, 200);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20);
  cairo_t* context = cairo_create(surface);
  Platform::iContentViewSink& sink = *fA.peer->fSink;
  sink.drawRect(context, {0.5, 1.25, 10.25, 5.0});
  sink.viewDidHide();
  sink.viewDidUnhide();
  sink.viewDidMoveToWindow();
  sink.viewDidMoveToSuperview();
  EXPECT_EQ(Take(), (Log{"a:Draw 0,1,11,7", "a:VisibilityChanged", "a:VisibilityChanged", "a:HierarchyChanged",
                         "a:HierarchyChanged"}));
  fA.owner->SetDrawer(nullptr);
  fA.owner->SetListener(nullptr);
  sink.drawRect(context, {0, 0, 1, 1});
  sink.viewDidHide();
  sink.viewDidMoveToWindow();
  EXPECT_TRUE(Take().empty());
  // The view held the context only for the call.
  EXPECT_EQ(cairo_get_reference_count(context), 1u);
  cairo_destroy(context);
  cairo_surface_destroy(surface);
}

TEST_F(ContentViewTest, EveryMoveStartsFromTheArrowCursor) {
  GObject* arrow = Wex::GetNSCursor(0);
  GObject* hand = Wex::GetNSCursor(5);
  const guint handReferences = hand->ref_count;
  fA.view->useCursor(hand);
  fA.view->useCursor(hand);
  EXPECT_EQ(hand->ref_count, handReferences + 1);
  fA.Send(Mouse(ViewEventKind::kMouseMoved, 1, 1, 0));
  fA.Send(Mouse(ViewEventKind::kMouseMoved, 2, 1, 0));
  // An element shows its cursor through the owner while it hears of the move.
  fA.owner->UseCursor(ref<Wex::rcCocoaObject>(new Wex::rcCocoaObject(hand, true)));
  fA.Send(Mouse(ViewEventKind::kMouseExited, -1, 1, 0));
  fA.view->useCursor(nullptr);
  EXPECT_EQ(fA.peer->fCursors, (std::vector<GObject*>{hand, arrow, hand, arrow, nullptr}));
  fA.owner->fCursors.clear();
  EXPECT_EQ(hand->ref_count, handReferences);
  fA.view->useCursor(hand);
  fA.view->Release();
  EXPECT_EQ(hand->ref_count, handReferences);
}

TEST_F(ContentViewTest, AReleasedViewHearsNothingAndLetsGoOfItsOwner) {
  fA.Send(Mouse(ViewEventKind::kMouseMoved, 1, 1, 0));
  fA.owner->StartTracking(fA.Tracker(), {nullptr, {0, 0}, 0, {}, 1});
  Take();
  fA.owner->Close();
  EXPECT_EQ(fA.peer->fRemovals, 1);
  EXPECT_EQ(fA.peer->fSink, nullptr);
  EXPECT_EQ(fA.owner->GetReferenceCount(), 1);
  EXPECT_EQ(fA.view->GetReferenceCount(), 1);
  // The tracker is not told.
  EXPECT_TRUE(Take().empty());

  // Even when called directly, nothing reaches a handler.
  ContentView& view = *fA.view;
  EXPECT_FALSE(view.DispatchEvent(Mouse(ViewEventKind::kMouseDown, 1, 1, 1)));
  EXPECT_FALSE(view.DispatchEvent(Mouse(ViewEventKind::kMouseUp, 1, 1, 0)));
  EXPECT_FALSE(view.DispatchEvent(Mouse(ViewEventKind::kMouseEntered, 1, 1, 0)));
  EXPECT_FALSE(view.DispatchEvent(Key(U"a", 1)));
  EXPECT_FALSE(view.DispatchEvent(Flags(kShift)));
  view.viewDidHide();
  view.reissueMouseMoved();
  view.Release();
  EXPECT_TRUE(Take().empty());
  EXPECT_FALSE(view.GetTracker());
}

}  // namespace
