#include "gui/events.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

// The modifiers are nine one-byte flags at fixed places: code that reads them by position (and the
// platform's event builder, which fills them by position) depends on the order.
TEST(KeyModifiers, NineFlagsInTheirFixedOrder) {
  using Wex::cKeyModifiers;
  EXPECT_EQ(sizeof(cKeyModifiers), 9u);
  EXPECT_EQ(offsetof(cKeyModifiers, fControl), 0u);
  EXPECT_EQ(offsetof(cKeyModifiers, fShift), 1u);
  EXPECT_EQ(offsetof(cKeyModifiers, fOption), 3u);
  EXPECT_EQ(offsetof(cKeyModifiers, fCommand), 4u);
  EXPECT_EQ(offsetof(cKeyModifiers, fSecondaryClick), 8u);
}

}  // namespace
