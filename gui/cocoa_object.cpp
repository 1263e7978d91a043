#include "gui/cocoa_object.h"

#include <glib-object.h>

#include "platform/cursor.h"

namespace Wex {

rcCocoaObject::rcCocoaObject(GObject* object, bool retain) : fObject(object) {
  if (retain && fObject != nullptr) g_object_ref(fObject);
}

rcCocoaObject::~rcCocoaObject() {
  if (fObject != nullptr) g_object_unref(fObject);
}

ref<rcCocoaObject> GetArrowCursor() {
  // Kept for the life of the process.
  static const ref<rcCocoaObject> arrow(new rcCocoaObject(GetNSCursor(0), true));
  return arrow;
}

}  // namespace Wex
