#pragma once

// Whether the program is the one that the user works in, so that its floating windows (hints)
// may show.

namespace Wex {

// True when one of the program's toplevel windows, popups excluded, is the active window; in a
// host that is the window that holds the editor. Main thread only.
bool IsFrontProcess();

}  // namespace Wex

namespace Platform {

using FrontProcessQuery = bool (*)();

// Installs the query that IsFrontProcess answers (null installs the default, which asks the
// toolkit) and answers the previous one. Without a window manager no window becomes active, so
// tests answer for it. Main thread only.
FrontProcessQuery SetFrontProcessQuery(FrontProcessQuery query);

}  // namespace Platform
