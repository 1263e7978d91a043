#pragma once

// Holder of one toolkit object (a GObject such as a cursor).

#include "base/rc.h"

typedef struct _GObject GObject;

namespace Wex {

class rcCocoaObject : public rc {
 public:
  // Takes over one reference of the object; with retain, adds one of its own instead.
  rcCocoaObject(GObject* object, bool retain);
  rcCocoaObject(const rcCocoaObject&) = delete;
  rcCocoaObject& operator=(const rcCocoaObject&) = delete;
  ~rcCocoaObject() override;

  GObject* GetObject() const { return fObject; }

 private:
  GObject* fObject;
};

// The program-wide holder of the arrow cursor, made on the first call; each call answers a new
// reference to it.
ref<rcCocoaObject> GetArrowCursor();

}  // namespace Wex
