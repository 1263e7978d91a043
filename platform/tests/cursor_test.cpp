#include "platform/cursor.h"

#include <glib-object.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(SharedCursors, EachIdHasOneLastingObjectWithItsName) {
  const char* names[] = {"default",  "text",     "crosshair", "grabbing", "grab",
                         "pointer",  "w-resize", "e-resize",  "ew-resize", "n-resize",
                         "s-resize", "ns-resize", "not-allowed"};
  for (std::int32_t id = 0; id < 13; ++id) {
    GObject* cursor = Wex::GetNSCursor(id);
    ASSERT_NE(cursor, nullptr) << id;
    EXPECT_EQ(Wex::GetNSCursor(id), cursor) << id;
    EXPECT_EQ(Platform::GetCursorId(cursor), id);
    EXPECT_STREQ(Platform::GetCursorName(cursor), names[id]);
  }
  EXPECT_NE(Wex::GetNSCursor(0), Wex::GetNSCursor(1));
}

TEST(SharedCursors, OtherIdsAndObjectsAreNone) {
  for (std::int32_t id : {-1, 13, 1000, INT32_MIN, INT32_MAX}) EXPECT_EQ(Wex::GetNSCursor(id), nullptr) << id;
  EXPECT_EQ(Platform::GetCursorId(nullptr), -1);
  EXPECT_EQ(Platform::GetCursorName(nullptr), nullptr);
  GObject* plain = G_OBJECT(g_object_new(G_TYPE_OBJECT, nullptr));
  EXPECT_EQ(Platform::GetCursorId(plain), -1);
  EXPECT_EQ(Platform::GetCursorName(plain), nullptr);
  g_object_unref(plain);
}

}  // namespace
