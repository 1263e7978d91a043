#pragma once

// The modal runs of the main thread. A dialog, an alert or a file chooser runs in a nested loop
// of the default main context until it is stopped; runs nest, and a stop always ends the
// innermost one, whichever kind it is. Timers and idle work of the default context (the 5 ms
// event-loop timer among them) go on during a run. Main thread only.

#include <cstdint>

typedef struct _GtkWindow GtkWindow;

namespace Platform {

// Makes the window modal (transient for the parent when one is given), shows and presents it,
// and iterates the default main context until StopModalRun ends this run; then hides the window
// and answers the code of the stop. A window destroyed during the run ends it with 0.
std::int32_t RunModalWindow(GtkWindow* window, GtkWindow* parent);

// Ends the innermost run with the code (the last stop before the run returns decides it); does
// nothing when no run is active.
void StopModalRun(std::int32_t code);

}  // namespace Platform
