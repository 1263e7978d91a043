#pragma once

// The program-wide shared cursors, one per cursor id. Each is a small GObject that carries its id
// and the name of the toolkit cursor that stands for it; the toolkit cursor itself needs a display
// and is made from that name by the view that first shows the cursor.

#include <cstdint>

typedef struct _GObject GObject;

namespace Wex {

// The shared cursor of an id from 0 (arrow) to 12 (disappearing item); null for any other id.
// The object lives for the program's life; holders retain it.
GObject* GetNSCursor(std::int32_t cursorId);

}  // namespace Wex

namespace Platform {

// The id of a shared cursor object, or -1 for any other object (null included).
std::int32_t GetCursorId(GObject* object);
// The toolkit's name for a shared cursor object, or null for any other object.
const char* GetCursorName(GObject* object);

}  // namespace Platform
