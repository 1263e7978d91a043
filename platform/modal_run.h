#pragma once

// The modal runs of the main thread. A dialog, an alert or a file chooser runs in a nested loop
// of the default main context until it is stopped; runs nest, and a stop always ends the
// innermost one, whichever kind it is. Other nested loops (a pop-up menu's) run through here too,
// so that a program that is ending cancels them all. Timers and idle work of the default context
// (the 5 ms event-loop timer among them) go on during a run. Main thread only.

#include <cstdint>

typedef struct _GMainLoop GMainLoop;
typedef struct _GtkWindow GtkWindow;

namespace Platform {

// Makes the window modal (transient for the parent when one is given), shows and presents it,
// and iterates the default main context until StopModalRun ends this run; then hides the window
// and answers the code of the stop. A window destroyed during the run ends it with 0. A run that
// CancelModalRuns ends answers the cancel code, and so does every run after it, at once and
// without showing the window.
std::int32_t RunModalWindow(GtkWindow* window, GtkWindow* parent, std::int32_t cancelCode);

// Ends the innermost modal window's run with the code (the last stop before the run returns
// decides it); does nothing when no such run is active.
void StopModalRun(std::int32_t code);

// Runs the loop, a nested loop of the default main context, until it quits. False when
// CancelModalRuns ended it or came before it (the loop then does not run at all).
bool RunNestedLoop(GMainLoop* loop);

// For a program that is ending: ends every run and nested loop that is active, each modal window
// with its cancel code, and makes every later one end at once.
void CancelModalRuns();

}  // namespace Platform
