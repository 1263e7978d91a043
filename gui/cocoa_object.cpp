#include "gui/cocoa_object.h"

#include <glib-object.h>

namespace Wex {

rcCocoaObject::rcCocoaObject(GObject* object, bool retain) : fObject(object) {
  if (retain && fObject != nullptr) g_object_ref(fObject);
}

rcCocoaObject::~rcCocoaObject() {
  if (fObject != nullptr) g_object_unref(fObject);
}

}  // namespace Wex
