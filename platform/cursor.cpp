#include "platform/cursor.h"

#include <glib-object.h>

#include <array>

namespace {

constexpr std::array<const char*, 13> kCursorNames = {
    "default",   "text",     "crosshair", "grabbing", "grab",      "pointer",     "w-resize",
    "e-resize",  "ew-resize", "n-resize", "s-resize", "ns-resize", "not-allowed",
};

struct SharedCursor {
  GObject parent;
  std::int32_t id;
};

struct SharedCursorClass {
  GObjectClass parentClass;
};

G_DEFINE_TYPE(SharedCursor, shared_cursor, G_TYPE_OBJECT)

void shared_cursor_class_init(SharedCursorClass*) {}
void shared_cursor_init(SharedCursor* cursor) { cursor->id = -1; }

SharedCursor* AsSharedCursor(GObject* object) {
  if (object == nullptr || !G_TYPE_CHECK_INSTANCE_TYPE(object, shared_cursor_get_type())) return nullptr;
  return reinterpret_cast<SharedCursor*>(object);
}

}  // namespace

namespace Wex {

GObject* GetNSCursor(std::int32_t cursorId) {
  if (cursorId < 0 || cursorId >= static_cast<std::int32_t>(kCursorNames.size())) return nullptr;
  // Made once, on first use from any thread, and kept for the program's life.
  static const std::array<GObject*, kCursorNames.size()> cursors = [] {
    std::array<GObject*, kCursorNames.size()> made{};
    for (std::size_t i = 0; i < made.size(); ++i) {
      auto* cursor = static_cast<SharedCursor*>(g_object_new(shared_cursor_get_type(), nullptr));
      cursor->id = static_cast<std::int32_t>(i);
      made[i] = G_OBJECT(cursor);
    }
    return made;
  }();
  return cursors[static_cast<std::size_t>(cursorId)];
}

}  // namespace Wex

namespace Platform {

std::int32_t GetCursorId(GObject* object) {
  const SharedCursor* cursor = AsSharedCursor(object);
  return cursor != nullptr ? cursor->id : -1;
}

const char* GetCursorName(GObject* object) {
  const SharedCursor* cursor = AsSharedCursor(object);
  return cursor != nullptr ? kCursorNames[static_cast<std::size_t>(cursor->id)] : nullptr;
}

}  // namespace Platform
