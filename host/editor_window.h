#pragma once

#include <cstdint>

class PlugInController;

namespace Marovell {

// Opens the display and shows the controller's editor, width x height, in a window of its own
// that stands for the plug-in host's view, titled with the application's name and not
// resizable; runs the main loop until the window is closed or SIGINT or SIGTERM arrives, then
// closes the editor before the window goes. A signal ends the open dialogs, alerts, file
// choosers and menus as cancelled. Without a display, or when the editor cannot be
// opened, throws before any window shows.
void ShowEditorWindow(PlugInController& controller, int32_t width, int32_t height);

} // namespace Marovell
