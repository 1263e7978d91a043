// The window wrapper without a display: the screen-rectangle conversions, and the back-references
// of wrappers over no window.

#include <gtest/gtest.h>

#include "gui/ext_window.h"

namespace {

using Wex::cRect;
using Wex::rcExtWindow;

TEST(ExtWindow, ScreenRectanglesFlipAgainstTheScreenHeight) {
  struct Case {
    cRect topLeft;
    std::int32_t screenHeight;
    Platform::Rect flipped;
  };
  const Case cases[] = {
      {{100, 50, 300, 250}, 900, {100, 650, 200, 200}},
      {{0, 0, 16777217, 1}, 0, {0, -1, 16777216, 1}},  // through single precision
  };
  for (const Case& c : cases) {
    const Platform::Rect flipped = Wex::ToFlippedScreenRect(c.topLeft, c.screenHeight);
    EXPECT_EQ(flipped.x, c.flipped.x);
    EXPECT_EQ(flipped.y, c.flipped.y);
    EXPECT_EQ(flipped.width, c.flipped.width);
    EXPECT_EQ(flipped.height, c.flipped.height);
  }
  EXPECT_EQ(Wex::FromFlippedScreenRect({100, 650, 200, 200}, 900), (cRect{100, 50, 300, 250}));
  // The origin is cut toward zero, the far edges rounded up.
  EXPECT_EQ(Wex::FromFlippedScreenRect({10.5, 20.75, 5.25, 3.5}, 900), (cRect{10, 875, 16, 880}));
  EXPECT_EQ(Wex::FlipScreenY(50, 900), 850);
}

TEST(ExtWindow, ClosingWritesNullIntoTheEnteredHolders) {
  rcExtWindow* first = nullptr;
  rcExtWindow* second = nullptr;
  rcExtWindow* removed = nullptr;
  rcExtWindow* twice = nullptr;
  rcExtWindow* other = nullptr;
  {
    const ref<rcExtWindow> window(new rcExtWindow(nullptr));
    first = second = removed = twice = window.Get();
    window->AddBackReference(&first);
    window->AddBackReference(&twice);
    window->AddBackReference(&removed);
    window->AddBackReference(&second);
    window->AddBackReference(&twice);
    window->RemoveBackReference(&removed);
    // One removal takes one entry; an address never entered changes nothing.
    window->RemoveBackReference(&twice);
    window->RemoveBackReference(&other);
    window->Close();
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(twice, nullptr);
    EXPECT_EQ(removed, window.Get());

    // Entered after a close, a holder is nulled by the next close (the destructor's).
    removed = window.Get();
    window->AddBackReference(&removed);
  }
  EXPECT_EQ(removed, nullptr);
}

}  // namespace
